#include "ColorAction.h"

#include "TextConversion.h"

void TColorAction::SetFromText(const QString &text)
{
    TColor color = 0;
    if (IdentToColor(text.trimmed(), color)) {
        SetValue(color);
    } else if (const std::optional<int> number = TextToInteger(text)) {
        SetValue(static_cast<TColor>(*number));
    }
}

QString TColorAction::MacroArguments() const
{
    return QStringLiteral("($%1);").arg(
        QString::number(value_, 16).toUpper().rightJustified(6, QLatin1Char('0')));
}

TColor TColorAction::ReadPreference(TPreferencesStore &store, const TColor &defaultValue)
{
    return static_cast<TColor>(store.ReadInteger(ScriptName, static_cast<int>(defaultValue)));
}

bool TColorAction::WritePreference(TPreferencesStore &store, const TColor &value)
{
    return store.WriteInteger(ScriptName, static_cast<int>(value));
}

TColor TColorAction::FromScriptArguments(const QVariantList &arguments) const
{
    return static_cast<TColor>(arguments.value(0).toLongLong());
}
