#include "PointAction.h"

#include "ParenthesizedFields.h"

void TPointAction::SetFromText(const QString &text)
{
    if (const std::optional<QList<int>> fields = ParenthesizedFields(text, 2))
        SetValue(fields->at(0), fields->at(1));
}

QString TPointAction::MacroArguments() const
{
    return QStringLiteral("(%1,%2);").arg(value_.x()).arg(value_.y());
}

QPoint TPointAction::ReadPreference(TPreferencesStore &store, const QPoint &defaultValue)
{
    return store.ReadPoint(ScriptName, defaultValue);
}

bool TPointAction::WritePreference(TPreferencesStore &store, const QPoint &value)
{
    return store.WritePoint(ScriptName, value);
}

QPoint TPointAction::FromScriptArguments(const QVariantList &arguments) const
{
    return QPoint(arguments.value(0).toInt(), arguments.value(1).toInt());
}
