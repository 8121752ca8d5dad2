#include "NopeAction.h"

#include "MacroRecorder.h"
#include "ScriptRegistrar.h"

#include <QPointer>

#include <optional>

void TNopeAction::DoExecute()
{
    if (OnPrepare && !OnPrepare())
        return;
    if (InternalPrepare && !InternalPrepare())
        return;
    Apply();
}

void TNopeAction::Apply()
{
    std::optional<TMacroRecording> recording;
    if (!ScriptName.isEmpty())
        recording.emplace(ScriptName + QLatin1Char(';'));
    if (OnBeforeApply)
        OnBeforeApply();
    if (InternalApply)
        InternalApply();
    if (OnAfterApply)
        OnAfterApply();
}

bool TNopeAction::RegisterInScript(TScriptRegistrar &engine)
{
    if (ScriptName.isEmpty())
        return true;
    QPointer<TNopeAction> self(this);
    return engine.DeclareRoutine(ScriptDeclaration(), [self](const QVariantList &) {
        if (self)
            self->Apply();
    });
}

QString TNopeAction::ScriptDeclaration()
{
    return ScriptName.isEmpty() ? QString() : QStringLiteral("procedure %1;").arg(ScriptName);
}

QString TNopeAction::SwitchSyntax()
{
    return QLatin1Char('/') + Switch;
}

bool TNopeAction::LoadFromPrefs(TPreferencesStore &)
{
    try {
        if (ApplyWhenLoad)
            Apply();
        return true;
    } catch (...) {
        return false;
    }
}

bool TNopeAction::SaveToPrefs(TPreferencesStore &)
{
    try {
        if (BeforeSave)
            BeforeSave();
        if (InternalBeforeSave)
            InternalBeforeSave();
        return true;
    } catch (...) {
        return false;
    }
}
