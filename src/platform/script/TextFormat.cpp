#include "TextFormat.h"

#include "Error.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace Script
{

namespace
{

struct Specifier {
    QString text; // as written, for messages
    bool leftAligned = false;
    int width = -1;
    int precision = -1;
    QChar type;
};

[[noreturn]] void ThrowMismatch(const Specifier &specifier)
{
    throw Error(QStringLiteral("Format specifier '%1' invalid or incompatible with its argument")
                    .arg(specifier.text));
}

// Digits and exponent of `value` rounded to `digits` significant digits: value = 0.d1d2... * 10^(exponent+1).
QString Digits(double value, int digits, int &exponent)
{
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "%.*e", digits - 1, std::fabs(value));
    QString mantissa = QString::fromLatin1(buffer);
    const qsizetype e = mantissa.indexOf(QLatin1Char('e'));
    exponent = mantissa.mid(e + 1).toInt();
    mantissa.truncate(e);
    mantissa.remove(QLatin1Char('.'));
    return mantissa;
}

QString Scientific(double value, int precision, bool trimZeros, int minExponentDigits)
{
    int exponent = 0;
    QString digits = Digits(value, precision, exponent);
    if (trimZeros)
        while (digits.size() > 1 && digits.endsWith(QLatin1Char('0')))
            digits.chop(1);
    QString text = value < 0 ? QStringLiteral("-") : QString();
    text += digits[0];
    if (digits.size() > 1)
        text += QLatin1Char('.') + digits.mid(1);
    text += QLatin1Char('E');
    if (exponent < 0 || minExponentDigits > 1)
        text += exponent < 0 ? QLatin1Char('-') : QLatin1Char('+');
    text += QString::number(std::abs(exponent)).rightJustified(minExponentDigits, QLatin1Char('0'));
    return text;
}

QString Special(double value)
{
    if (std::isnan(value))
        return QStringLiteral("NAN");
    return value < 0 ? QStringLiteral("-INF") : QStringLiteral("INF");
}

QString WithThousands(const QString &fixed)
{
    const bool negative = fixed.startsWith(QLatin1Char('-'));
    const qsizetype dot = fixed.indexOf(QLatin1Char('.'));
    QString whole = fixed.mid(negative ? 1 : 0, (dot < 0 ? fixed.size() : dot) - (negative ? 1 : 0));
    for (qsizetype i = whole.size() - 3; i > 0; i -= 3)
        whole.insert(i, QLatin1Char(','));
    return (negative ? QStringLiteral("-") : QString()) + whole + (dot < 0 ? QString() : fixed.mid(dot));
}

QString FormatInteger(const Specifier &specifier, const FormatArgument &argument)
{
    if (argument.kind != FormatArgument::Integer)
        ThrowMismatch(specifier);
    const QChar type = specifier.type.toLower();
    QString digits;
    bool negative = false;
    if (type == QLatin1Char('x')) {
        const bool fits32 = argument.integer >= INT32_MIN && argument.integer <= UINT32_MAX;
        const uint64_t bits = fits32 ? uint64_t(uint32_t(argument.integer)) : uint64_t(argument.integer);
        digits = QString::number(bits, 16).toUpper();
    } else if (type == QLatin1Char('u')) {
        const bool fits32 = argument.integer >= INT32_MIN && argument.integer <= UINT32_MAX;
        digits = QString::number(fits32 ? uint64_t(uint32_t(argument.integer)) : uint64_t(argument.integer));
    } else {
        negative = argument.integer < 0;
        digits = QString::number(negative ? 0 - uint64_t(argument.integer) : uint64_t(argument.integer));
    }
    if (specifier.precision > digits.size())
        digits = digits.rightJustified(specifier.precision, QLatin1Char('0'));
    return negative ? QLatin1Char('-') + digits : digits;
}

QString FormatFloat(const Specifier &specifier, const FormatArgument &argument)
{
    if (argument.kind != FormatArgument::Float)
        ThrowMismatch(specifier);
    const double value = argument.real;
    if (!std::isfinite(value))
        return Special(value);
    const QChar type = specifier.type.toLower();
    if (type == QLatin1Char('e'))
        return Scientific(value, specifier.precision < 0 ? 15 : std::clamp(specifier.precision, 1, 18), false,
                          3);
    if (type == QLatin1Char('g'))
        return FloatToText(value, specifier.precision < 0 ? 15 : std::clamp(specifier.precision, 1, 18));
    const QString fixed =
        QString::number(value, 'f', specifier.precision < 0 ? 2 : std::min(specifier.precision, 18));
    return type == QLatin1Char('f') ? fixed : WithThousands(fixed);
}

QString FormatOne(const Specifier &specifier, const FormatArgument &argument)
{
    const QChar type = specifier.type.toLower();
    if (type == QLatin1Char('d') || type == QLatin1Char('u') || type == QLatin1Char('x'))
        return FormatInteger(specifier, argument);
    if (type == QLatin1Char('e') || type == QLatin1Char('f') || type == QLatin1Char('g') ||
        type == QLatin1Char('n') || type == QLatin1Char('m'))
        return FormatFloat(specifier, argument);
    if (type == QLatin1Char('s')) {
        if (argument.kind != FormatArgument::Text)
            ThrowMismatch(specifier);
        return specifier.precision >= 0 ? argument.text.left(specifier.precision) : argument.text;
    }
    ThrowMismatch(specifier);
}

// Reads "*" (an integer argument) or decimal digits; -1 when there are none.
int ReadCount(const QString &format, qsizetype &i, const std::vector<FormatArgument> &arguments, size_t &next,
              const Specifier &specifier)
{
    if (i < format.size() && format[i] == QLatin1Char('*')) {
        ++i;
        if (next >= arguments.size() || arguments[next].kind != FormatArgument::Integer)
            ThrowMismatch(specifier);
        return int(std::clamp<int64_t>(arguments[next++].integer, -1, 1 << 20));
    }
    int count = -1;
    while (i < format.size() && format[i].isDigit())
        count = std::min((count < 0 ? 0 : count) * 10 + format[i++].digitValue(), 1 << 20);
    return count;
}

} // namespace

QString FormatText(const QString &format, const std::vector<FormatArgument> &arguments)
{
    QString out;
    size_t next = 0;
    for (qsizetype i = 0; i < format.size(); ++i) {
        if (format[i] != QLatin1Char('%')) {
            out += format[i];
            continue;
        }
        const qsizetype start = i++;
        if (i < format.size() && format[i] == QLatin1Char('%')) {
            out += QLatin1Char('%');
            continue;
        }
        Specifier specifier;
        specifier.text = format.mid(start, 1);
        int number = ReadCount(format, i, arguments, next, specifier);
        if (i < format.size() && format[i] == QLatin1Char(':')) {
            next = size_t(std::max(number, 0));
            ++i;
            number = -1;
        }
        if (number < 0 && i < format.size() && format[i] == QLatin1Char('-')) {
            specifier.leftAligned = true;
            ++i;
        }
        specifier.width = number >= 0 ? number : ReadCount(format, i, arguments, next, specifier);
        if (i < format.size() && format[i] == QLatin1Char('.')) {
            ++i;
            specifier.precision = std::max(ReadCount(format, i, arguments, next, specifier), 0);
        }
        specifier.text = format.mid(start, i - start + 1);
        if (i >= format.size())
            throw Error(QStringLiteral("Format '%1' is incomplete").arg(specifier.text));
        specifier.type = format[i];
        if (next >= arguments.size())
            throw Error(QStringLiteral("Format '%1' has no argument left").arg(specifier.text));
        const QString text = FormatOne(specifier, arguments[next++]);
        out += specifier.leftAligned ? text.leftJustified(specifier.width)
                                     : text.rightJustified(specifier.width);
    }
    return out;
}

QString FloatToText(double value, int precision)
{
    if (!std::isfinite(value))
        return Special(value);
    if (value == 0)
        return QStringLiteral("0");
    int exponent = 0;
    QString digits = Digits(value, precision, exponent);
    if (exponent < -5 || exponent >= precision)
        return Scientific(value, precision, true, 1);
    while (digits.size() > 1 && digits.endsWith(QLatin1Char('0')))
        digits.chop(1);
    QString text;
    if (exponent < 0) {
        text = QStringLiteral("0.") + QString(-exponent - 1, QLatin1Char('0')) + digits;
    } else if (digits.size() > exponent + 1) {
        text = digits.left(exponent + 1) + QLatin1Char('.') + digits.mid(exponent + 1);
    } else {
        text = digits + QString(exponent + 1 - digits.size(), QLatin1Char('0'));
    }
    return value < 0 ? QLatin1Char('-') + text : text;
}

} // namespace Script
