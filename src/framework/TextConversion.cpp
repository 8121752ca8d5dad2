#include "TextConversion.h"

#include "platform/core/IntegerText.h"

#include <QStringView>

#include <cstdint>

namespace
{

std::optional<uint64_t> ParseDigits(QStringView digits, int base)
{
    if (digits.isEmpty())
        return std::nullopt;
    uint64_t value = 0;
    for (QChar c : digits) {
        const int digit = c.isDigit() ? c.digitValue()
                          : base == 16 && c.toLower() >= QLatin1Char('a') && c.toLower() <= QLatin1Char('f')
                              ? c.toLower().unicode() - 'a' + 10
                              : -1;
        if (digit < 0 || digit >= base)
            return std::nullopt;
        value = value * base + digit;
        if (value > 0xFFFFFFFFull)
            return std::nullopt;
    }
    return value;
}

} // namespace

std::optional<int> TextToInteger(const QString &text)
{
    QStringView rest(text);
    while (!rest.isEmpty() && rest.front().isSpace())
        rest = rest.mid(1);
    const IntegerText parts = IntegerText::Split(rest);
    const std::optional<uint64_t> magnitude = ParseDigits(parts.digits, parts.base);
    if (!magnitude)
        return std::nullopt;
    if (parts.base == 10 && *magnitude > (parts.negative ? 0x80000000ull : 0x7FFFFFFFull))
        return std::nullopt;
    const uint32_t bits = static_cast<uint32_t>(*magnitude);
    return static_cast<int>(parts.negative ? 0u - bits : bits);
}

bool TextToBoolean(const QString &text)
{
    const QString word = text.trimmed().toLower();
    if (word == QLatin1String("true") || word == QLatin1String("vrai") || word == QLatin1String("t") ||
        word == QLatin1String("v"))
        return true;
    const std::optional<int> number = TextToInteger(word);
    return number && *number != 0;
}
