#pragma once

#include "ShortCut.h"

#include <QAction>
#include <QIcon>
#include <QList>
#include <QPointer>
#include <QStringList>

#include <functional>

class TCustomKSActionList;
class TPreferencesStore;
class TScriptRegistrar;

// The images of an action list; an action's ImageIndex points into it.
using TImageList = QList<QIcon>;

// The root of the typed actions: a QAction that also carries a script name, a command-line
// switch, an internal identifier, help texts and the preference flags, and that every route
// (menu, shortcut, switch, script, macro, stored preference) ends in through Apply. Owned by the
// QObject parent given at creation; belongs to at most one action list. UI thread only.
class TCustomAbstractAction : public QAction
{
    Q_OBJECT
  public:
    using TImageChangedEvent = std::function<void(const TImageList *images, int imageIndex)>;

    // An action owned by `owner`; IncludePrefs on, no image, empty comments.
    explicit TCustomAbstractAction(QObject *owner);
    // An action a manager creates in code: owned by and listed in `list`, found there by
    // `internalId`, in the "internal" category.
    TCustomAbstractAction(const QString &internalId, TCustomKSActionList *list);
    ~TCustomAbstractAction() override;

    // The name; ScriptName, Caption and InternalId follow a rename while they still hold the
    // defaults derived from the old name (the name without its two-letter type prefix, and the
    // whole name). A name taken by another component of the owner gets 2, 3, ... appended.
    QString Name() const { return objectName(); }
    void SetName(const QString &name);

    QString Caption() const { return text(); }
    void SetCaption(const QString &caption) { setText(caption); }
    QString Hint() const { return statusTip(); }
    void SetHint(const QString &hint);

    TShortCut ShortCut() const { return shortCut_; }
    void SetShortCut(TShortCut shortCut);
    // Further shortcuts, as texts ("Alt+P"), that execute the action too.
    const QStringList &SecondaryShortcuts() const { return secondaryShortcuts_; }
    void SetSecondaryShortcuts(const QStringList &shortCuts);

    int ImageIndex() const { return imageIndex_; }
    void SetImageIndex(int index);

    TCustomKSActionList *ActionList() const;
    void SetActionList(TCustomKSActionList *list);

    // Name of the script procedure(s) and of the stored preference; empty: no procedure.
    QString ScriptName;
    // Command-line switch; empty: none.
    QString Switch;
    QString InternalId;
    QString Category;
    bool ApplyWhenLoad = false;
    bool IncludePrefs = true;
    // Explanation and parameter names shown in the help window.
    QStringList Comments;
    QString Variables;
    TImageChangedEvent OnImageChanged;

    // Declares the action's script procedures; false when the engine refused one.
    virtual bool RegisterInScript(TScriptRegistrar &engine) = 0;
    // What a menu entry, button or shortcut runs.
    virtual void DoExecute() = 0;
    // The procedures the action provides to scripts, as declaration text.
    virtual QString ScriptDeclaration() = 0;
    // The action's command-line syntax.
    virtual QString SwitchSyntax() = 0;
    // Sets the value from a command-line text.
    virtual void SetFromText(const QString &text) = 0;
    // Runs the apply events with the current value.
    virtual void Apply() = 0;
    // Reads the value named ScriptName in the store's current key; false when that failed.
    virtual bool LoadFromPrefs(TPreferencesStore &store) = 0;
    // Writes the value named ScriptName in the store's current key; false when that failed.
    virtual bool SaveToPrefs(TPreferencesStore &store) = 0;

  protected:
    // Variables, first set to `fallback` when it is empty.
    QString VariablesOr(const QString &fallback);

  private:
    void UpdateKeySequences();
    bool NameTaken(const QString &candidate) const;

    TShortCut shortCut_ = 0;
    QStringList secondaryShortcuts_;
    int imageIndex_ = -1;
    QPointer<TCustomKSActionList> actionList_;
};
