#include "IntegerAction.h"

#include "TextConversion.h"

void TIntegerAction::SetFromText(const QString &text)
{
    SetValue(TextToInteger(text).value_or(-1));
}

QString TIntegerAction::MacroArguments() const
{
    return QStringLiteral("(%1);").arg(value_);
}

int TIntegerAction::ReadPreference(TPreferencesStore &store, const int &defaultValue)
{
    return store.ReadInteger(ScriptName, defaultValue);
}

bool TIntegerAction::WritePreference(TPreferencesStore &store, const int &value)
{
    return store.WriteInteger(ScriptName, value);
}

int TIntegerAction::FromScriptArguments(const QVariantList &arguments) const
{
    return arguments.value(0).toInt();
}
