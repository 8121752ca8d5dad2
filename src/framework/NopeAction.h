#pragma once

#include "AbstractAction.h"

#include <functional>

using TPrepareNopeEvent = std::function<bool()>;
using TApplyNopeEvent = std::function<void()>;

// A command: it has no value; applying it is the command. UI thread only.
class TNopeAction : public TAbstractAction
{
    Q_OBJECT
  public:
    using TAbstractAction::TAbstractAction;

    TPrepareNopeEvent OnPrepare, BeforeSave;
    TApplyNopeEvent OnBeforeApply, OnAfterApply;
    TPrepareNopeEvent InternalPrepare, InternalBeforeSave;
    TApplyNopeEvent InternalApply;

    // Applies unless a prepare event refuses.
    void DoExecute() override;
    // Records the command while a macro is being recorded (when it has a script name), then
    // runs the apply events.
    void Apply() override;
    // The text is ignored: the command runs.
    void SetFromText(const QString &) override { Apply(); }
    bool RegisterInScript(TScriptRegistrar &engine) override;
    QString ScriptDeclaration() override;
    QString SwitchSyntax() override;
    // A command stores nothing; loading only applies it when ApplyWhenLoad is set.
    bool LoadFromPrefs(TPreferencesStore &store) override;
    bool SaveToPrefs(TPreferencesStore &store) override;
};
