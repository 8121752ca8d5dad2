#include "WidestringAction.h"

void TWidestringAction::SetFromText(const QString &text)
{
    SetValue(text);
}

QString TWidestringAction::MacroArguments() const
{
    return QStringLiteral("(%1);").arg(QuotedText(value_));
}

QString TWidestringAction::ReadPreference(TPreferencesStore &store, const QString &defaultValue)
{
    return store.ReadString(ScriptName, defaultValue);
}

bool TWidestringAction::WritePreference(TPreferencesStore &store, const QString &value)
{
    return store.WriteString(ScriptName, value);
}

QString TWidestringAction::FromScriptArguments(const QVariantList &arguments) const
{
    return arguments.value(0).toString();
}
