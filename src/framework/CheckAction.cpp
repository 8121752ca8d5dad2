#include "CheckAction.h"

#include "MacroRecorder.h"
#include "PreferencesStore.h"
#include "ScriptRegistrar.h"
#include "TextConversion.h"

#include <QPointer>

namespace
{

// The two-state action that shows the script window: opening and closing that window is not
// part of a macro.
const QString KScriptWindowName = QStringLiteral("Script");

} // namespace

TCheckAction::TCheckAction(QObject *owner) : TCustomAbstractAction(owner)
{
    // Qt flips a checkable action by itself when triggered; DoExecute puts the state back
    // before deciding, so the state only changes through SetChecked.
    setCheckable(true);
}

TCheckAction::TCheckAction(const QString &internalId, TCustomKSActionList *list)
    : TCustomAbstractAction(internalId, list)
{
    setCheckable(true);
}

void TCheckAction::SetChecked(bool checked)
{
    SetPlainChecked(checked);
    const bool silent = ScriptName == KScriptWindowName;
    TMacroRecording recording(QStringLiteral("set%1(%2);").arg(ScriptName, checked ? "True" : "False"),
                              silent ? TMacroRecording::Line::Suppress : TMacroRecording::Line::Write);
    Apply();
}

void TCheckAction::SetPlainChecked(bool checked)
{
    checked_ = checked;
    setChecked(checked);
}

void TCheckAction::SetDefaultValue(bool value)
{
    defaultValue_ = value;
    SetPlainChecked(value);
    ShowState();
}

void TCheckAction::SetTrueCaption(const QString &caption)
{
    trueCaption_ = caption;
    ShowState();
}

void TCheckAction::SetFalseCaption(const QString &caption)
{
    falseCaption_ = caption;
    ShowState();
}

void TCheckAction::SetTrueHint(const QString &hint)
{
    trueHint_ = hint;
    ShowState();
}

void TCheckAction::SetFalseHint(const QString &hint)
{
    falseHint_ = hint;
    ShowState();
}

void TCheckAction::SetTrueImageIndex(int index)
{
    trueImageIndex_ = index;
    ShowState();
}

void TCheckAction::SetFalseImageIndex(int index)
{
    falseImageIndex_ = index;
    ShowState();
}

void TCheckAction::ShowState()
{
    SetCaption(checked_ ? trueCaption_ : falseCaption_);
    SetHint(checked_ ? trueHint_ : falseHint_);
    SetImageIndex(checked_ ? trueImageIndex_ : falseImageIndex_);
}

void TCheckAction::DoExecute()
{
    setChecked(checked_);
    if (OnPrepare && !OnPrepare())
        return;
    if (InternalPrepare && !InternalPrepare())
        return;
    Toggle();
}

void TCheckAction::Apply()
{
    const auto run = [](const TApplyNopeEvent &event) {
        if (event)
            event();
    };
    if (checked_) {
        run(OnBeforeTrueApply);
        run(InternalTrueApply);
        run(OnAfterTrueApply);
    } else {
        run(OnBeforeFalseApply);
        run(InternalFalseApply);
        run(OnAfterFalseApply);
    }
    ShowState();
}

void TCheckAction::SetFromText(const QString &text)
{
    SetChecked(TextToBoolean(text));
}

bool TCheckAction::RegisterInScript(TScriptRegistrar &engine)
{
    QPointer<TCheckAction> self(this);
    const bool setAccepted =
        engine.DeclareRoutine(QStringLiteral("procedure set%1(const aBoolean:Boolean);").arg(ScriptName),
                              [self](const QVariantList &arguments) {
                                  if (self)
                                      self->SetChecked(arguments.value(0).toBool());
                              });
    const bool toggleAccepted =
        engine.DeclareRoutine(QStringLiteral("procedure %1;").arg(ScriptName), [self](const QVariantList &) {
            if (self)
                self->Toggle();
        });
    return setAccepted && toggleAccepted;
}

QString TCheckAction::ScriptDeclaration()
{
    return QStringLiteral("procedure set%1(const %2:Boolean);\r\nprocedure %1;")
        .arg(ScriptName, VariablesOr(QStringLiteral("fisTrue")));
}

QString TCheckAction::SwitchSyntax()
{
    return QStringLiteral("/%1 +%1 -%1").arg(Switch);
}

bool TCheckAction::LoadFromPrefs(TPreferencesStore &store)
{
    try {
        if (OnDefault)
            OnDefault(defaultValue_);
        if (InternalDefault)
            InternalDefault(defaultValue_);
        SetPlainChecked(store.ReadBool(ScriptName, defaultValue_));
        ShowState();
        if (ApplyWhenLoad)
            Apply();
        return true;
    } catch (...) {
        return false;
    }
}

bool TCheckAction::SaveToPrefs(TPreferencesStore &store)
{
    try {
        bool saved = checked_;
        if (BeforeSave)
            BeforeSave(saved);
        if (InternalBeforeSave)
            InternalBeforeSave(saved);
        return store.WriteBool(ScriptName, saved);
    } catch (...) {
        return false;
    }
}
