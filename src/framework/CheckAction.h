#pragma once

#include "CustomAbstractAction.h"
#include "NopeAction.h"

#include <functional>

// A two-state action whose value is its Checked state. Its displayed caption, hint and image
// are always those of the current state. Executing it toggles it; every change of Checked
// through SetChecked is recorded and applied. UI thread only.
class TCheckAction : public TCustomAbstractAction
{
    Q_OBJECT
  public:
    using TPrepareBooleanEvent = std::function<bool(bool &aBoolean)>;

    explicit TCheckAction(QObject *owner);
    TCheckAction(const QString &internalId, TCustomKSActionList *list);

    bool Checked() const { return checked_; }
    // Stores the state (changed or not), records it while a macro is being recorded (never for
    // the action named "Script", whose handlers are not recorded either) and applies it.
    void SetChecked(bool checked);
    // Stores the state and shows it, without recording or applying.
    void SetPlainChecked(bool checked);
    void Toggle() { SetChecked(!checked_); }

    bool DefaultValue() const { return defaultValue_; }
    // Also sets Checked, without applying.
    void SetDefaultValue(bool value);

    const QString &TrueCaption() const { return trueCaption_; }
    const QString &FalseCaption() const { return falseCaption_; }
    const QString &TrueHint() const { return trueHint_; }
    const QString &FalseHint() const { return falseHint_; }
    int TrueImageIndex() const { return trueImageIndex_; }
    int FalseImageIndex() const { return falseImageIndex_; }
    void SetTrueCaption(const QString &caption);
    void SetFalseCaption(const QString &caption);
    void SetTrueHint(const QString &hint);
    void SetFalseHint(const QString &hint);
    void SetTrueImageIndex(int index);
    void SetFalseImageIndex(int index);

    TPrepareNopeEvent OnPrepare;
    TPrepareBooleanEvent OnDefault, BeforeSave;
    TApplyNopeEvent OnBeforeTrueApply, OnAfterTrueApply, OnBeforeFalseApply, OnAfterFalseApply;
    TPrepareNopeEvent InternalPrepare;
    TPrepareBooleanEvent InternalDefault, InternalBeforeSave;
    TApplyNopeEvent InternalTrueApply, InternalFalseApply;

    // Toggles unless a prepare event refuses.
    void DoExecute() override;
    // Runs the events of the current state, then shows that state's caption, hint and image.
    void Apply() override;
    // As a Boolean: "true", "vrai", "t", "v" or a non-zero integer set Checked.
    void SetFromText(const QString &text) override;
    // Declares "set<name>(Boolean)" for SetChecked and "<name>" for Toggle; true only when both
    // were accepted.
    bool RegisterInScript(TScriptRegistrar &engine) override;
    QString ScriptDeclaration() override;
    QString SwitchSyntax() override;
    bool LoadFromPrefs(TPreferencesStore &store) override;
    // The before-save events work on a copy of Checked: what they change is saved, not shown.
    bool SaveToPrefs(TPreferencesStore &store) override;

  private:
    void ShowState();

    bool checked_ = false;
    bool defaultValue_ = false;
    QString trueCaption_, falseCaption_, trueHint_, falseHint_;
    int trueImageIndex_ = -1;
    int falseImageIndex_ = -1;
};
