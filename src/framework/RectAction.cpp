#include "RectAction.h"

#include "ParenthesizedFields.h"

void TRectAction::SetFromText(const QString &text)
{
    if (const std::optional<QList<int>> f = ParenthesizedFields(text, 4))
        SetValue(TRect{f->at(0), f->at(1), f->at(2), f->at(3)});
}

QString TRectAction::MacroArguments() const
{
    return QStringLiteral("(%1,%2,%3,%4);")
        .arg(value_.Left)
        .arg(value_.Right)
        .arg(value_.Top)
        .arg(value_.Bottom);
}

TRect TRectAction::ReadPreference(TPreferencesStore &store, const TRect &defaultValue)
{
    return store.ReadRect(ScriptName, defaultValue);
}

bool TRectAction::WritePreference(TPreferencesStore &store, const TRect &value)
{
    return store.WriteRect(ScriptName, value);
}

TRect TRectAction::FromScriptArguments(const QVariantList &arguments) const
{
    return TRect{arguments.value(0).toInt(), arguments.value(2).toInt(), arguments.value(1).toInt(),
                 arguments.value(3).toInt()};
}
