#include "BooleanAction.h"

#include "TextConversion.h"

void TBooleanAction::SetFromText(const QString &text)
{
    SetValue(TextToBoolean(text));
}

QString TBooleanAction::MacroArguments() const
{
    return QStringLiteral("(%1);").arg(BooleanText(value_));
}

bool TBooleanAction::ReadPreference(TPreferencesStore &store, const bool &defaultValue)
{
    return store.ReadBool(ScriptName, defaultValue);
}

bool TBooleanAction::WritePreference(TPreferencesStore &store, const bool &value)
{
    return store.WriteBool(ScriptName, value);
}

bool TBooleanAction::FromScriptArguments(const QVariantList &arguments) const
{
    return arguments.value(0).toBool();
}
