#include "ParenthesizedFields.h"

#include "TextConversion.h"

std::optional<QList<int>> ParenthesizedFields(const QString &text, int count)
{
    const QString trimmed = text.trimmed();
    if (!trimmed.startsWith(QLatin1Char('(')) || !trimmed.endsWith(QLatin1Char(')')) || trimmed.size() < 2)
        return std::nullopt;
    QString rest = trimmed.mid(1, trimmed.size() - 2);
    QList<int> fields;
    for (int i = 0; i < count; ++i) {
        const bool last = i == count - 1;
        const qsizetype comma = last ? rest.size() : rest.indexOf(QLatin1Char(','));
        if (comma < 0)
            return std::nullopt;
        fields.append(TextToInteger(rest.left(comma).trimmed()).value_or(0));
        rest = rest.mid(comma + 1);
    }
    return fields;
}
