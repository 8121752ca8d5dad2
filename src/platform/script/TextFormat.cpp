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

[[noreturn]] void ThrowMismatch(const Specifier &spec)
{
    throw Error(
        QStringLiteral("Format specifier '%1' invalid or incompatible with its argument").arg(spec.text));
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

QString FormatInteger(const Specifier &spec, const FormatArgument &argument)
{
    if (argument.kind != FormatArgument::Integer)
        ThrowMismatch(spec);
    const QChar type = spec.type.toLower();
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
    if (spec.precision > digits.size())
        digits = digits.rightJustified(spec.precision, QLatin1Char('0'));
    return negative ? QLatin1Char('-') + digits : digits;
}

QString FormatFloat(const Specifier &spec, const FormatArgument &argument)
{
    if (argument.kind != FormatArgument::Float)
        ThrowMismatch(spec);
    const double value = argument.real;
    if (!std::isfinite(value))
        return Special(value);
    const QChar type = spec.type.toLower();
    if (type == QLatin1Char('e'))
        return Scientific(value, spec.precision < 0 ? 15 : std::clamp(spec.precision, 1, 18), false, 3);
    if (type == QLatin1Char('g'))
        return FloatToText(value, spec.precision < 0 ? 15 : std::clamp(spec.precision, 1, 18));
    const QString fixed = QString::number(value, 'f', spec.precision < 0 ? 2 : std::min(spec.precision, 18));
    return type == QLatin1Char('f') ? fixed : WithThousands(fixed);
}

QString FormatOne(const Specifier &spec, const FormatArgument &argument)
{
    const QChar type = spec.type.toLower();
    if (type == QLatin1Char('d') || type == QLatin1Char('u') || type == QLatin1Char('x'))
        return FormatInteger(spec, argument);
    if (type == QLatin1Char('e') || type == QLatin1Char('f') || type == QLatin1Char('g') ||
        type == QLatin1Char('n') || type == QLatin1Char('m'))
        return FormatFloat(spec, argument);
    if (type == QLatin1Char('s')) {
        if (argument.kind != FormatArgument::Text)
            ThrowMismatch(spec);
        return spec.precision >= 0 ? argument.text.left(spec.precision) : argument.text;
    }
    ThrowMismatch(spec);
}

// Reads "*" (an integer argument) or decimal digits; -1 when there are none.
int ReadCount(const QString &format, qsizetype &i, const std::vector<FormatArgument> &arguments, size_t &next,
              const Specifier &spec)
{
    if (i < format.size() && format[i] == QLatin1Char('*')) {
        ++i;
        if (next >= arguments.size() || arguments[next].kind != FormatArgument::Integer)
            ThrowMismatch(spec);
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
        Specifier spec;
        spec.text = format.mid(start, 1);
        int number = ReadCount(format, i, arguments, next, spec);
        if (i < format.size() && format[i] == QLatin1Char(':')) {
            next = size_t(std::max(number, 0));
            ++i;
            number = -1;
        }
        if (number < 0 && i < format.size() && format[i] == QLatin1Char('-')) {
            spec.leftAligned = true;
            ++i;
        }
        spec.width = number >= 0 ? number : ReadCount(format, i, arguments, next, spec);
        if (i < format.size() && format[i] == QLatin1Char('.')) {
            ++i;
            spec.precision = std::max(ReadCount(format, i, arguments, next, spec), 0);
        }
        spec.text = format.mid(start, i - start + 1);
        if (i >= format.size())
            throw Error(QStringLiteral("Format '%1' is incomplete").arg(spec.text));
        spec.type = format[i];
        if (next >= arguments.size())
            throw Error(QStringLiteral("Format '%1' has no argument left").arg(spec.text));
        const QString text = FormatOne(spec, arguments[next++]);
        out += spec.leftAligned ? text.leftJustified(spec.width) : text.rightJustified(spec.width);
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
