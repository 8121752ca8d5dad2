#include "DoubleAction.h"

#include <QLocale>

void TDoubleAction::SetFromText(const QString &text)
{
    bool ok = false;
    const double value = QLocale().toDouble(text.trimmed(), &ok);
    SetValue(ok ? value : 0.0);
}

QString TDoubleAction::MacroArguments() const
{
    return QStringLiteral("(%1);").arg(QString::number(value_, 'g', 15));
}

double TDoubleAction::ReadPreference(TPreferencesStore &store, const double &defaultValue)
{
    return store.ReadFloat(ScriptName, defaultValue);
}

bool TDoubleAction::WritePreference(TPreferencesStore &store, const double &value)
{
    return store.WriteFloat(ScriptName, value);
}

double TDoubleAction::FromScriptArguments(const QVariantList &arguments) const
{
    return arguments.value(0).toDouble();
}
