#include "IntegerText.h"

IntegerText IntegerText::Split(QStringView text)
{
    IntegerText parts;
    if (text.startsWith(QLatin1Char('-')) || text.startsWith(QLatin1Char('+'))) {
        parts.negative = text.front() == QLatin1Char('-');
        text = text.mid(1);
    }
    if (text.startsWith(QLatin1Char('$'))) {
        parts.base = 16;
        text = text.mid(1);
    } else if (text.startsWith(QLatin1String("0x"), Qt::CaseInsensitive)) {
        parts.base = 16;
        text = text.mid(2);
    }
    parts.digits = text;
    return parts;
}
