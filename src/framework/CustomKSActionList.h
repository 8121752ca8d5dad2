#pragma once

#include "CustomAbstractAction.h"
#include "KSSwitch.h"
#include "ScriptRegistrar.h"

#include <QList>
#include <QObject>
#include <QPointer>

#include <functional>
#include <memory>

class TPreferencesStore;

// A list of typed actions (in order, with the image list their ImageIndex points into) that
// connects them to the program's shared services: the script engine, through which scripts call
// them; the command-line switch table; and the preferences store, which loads and saves a whole
// list at a time. UI thread only.
class TCustomKSActionList : public QObject
{
    Q_OBJECT
  public:
    using TListLoadEvent = std::function<bool(TPreferencesStore &gp)>;
    using TListSaveEvent = std::function<bool(TPreferencesStore &gp)>;

    ~TCustomKSActionList() override;

    const QList<TCustomAbstractAction *> &Actions() const { return actions_; }
    // The first action whose InternalId is exactly `internalId`, or none.
    TCustomAbstractAction *FindByInternalId(const QString &internalId) const;

    // Loads (saves) every action with IncludePrefs, in list order, in the store's current key,
    // then runs OnLoadFromPrefs (OnSaveToPrefs). False when any of them failed; the others
    // are still done.
    bool LoadFromPrefs(TPreferencesStore &store);
    bool SaveToPrefs(TPreferencesStore &store);

    // The script engine: at each compilation the list runs the compile handler it found on
    // the engine, then declares its actions' procedures, so hooked lists form a chain in hook
    // order behind the engine's own declarations. Unhooking (or destroying the list) takes the
    // list out of the chain; the last list hooked gives the engine back the handler it found.
    // The link is forgotten when the engine is destroyed.
    TScriptRegistrar *PascalScript() const { return pascalScript_; }
    void SetPascalScript(TScriptRegistrar *engine);

    // The command-line switch whose table holds this list's actions.
    TKSSwitch *Switch() const { return switch_; }
    void SetSwitch(TKSSwitch *newSwitch);

    TImageList Images;
    TListLoadEvent OnLoadFromPrefs;
    TListSaveEvent OnSaveToPrefs;

  protected:
    explicit TCustomKSActionList(QObject *owner);

  private:
    friend class TCustomAbstractAction; // keeps the list of its own membership in step
    void AddAction(TCustomAbstractAction *action);
    void RemoveAction(TCustomAbstractAction *action);
    void RegisterActions(TScriptRegistrar &engine);

    QList<TCustomAbstractAction *> actions_;
    struct CompileLink;
    QPointer<TScriptRegistrar> pascalScript_;
    std::shared_ptr<const int> hook_; // alive while this list is hooked to pascalScript_
    QPointer<TKSSwitch> switch_;
};
