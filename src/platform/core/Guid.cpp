#include "Guid.h"

#include <cstdio>
#include <cstring>

namespace
{

int HexValue(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

// Reads `digits` hexadecimal digits from text at pos; false on any other character.
bool ReadHex(std::string_view text, size_t &pos, int digits, uint64_t &value)
{
    value = 0;
    for (int i = 0; i < digits; ++i, ++pos) {
        if (pos >= text.size())
            return false;
        int v = HexValue(text[pos]);
        if (v < 0)
            return false;
        value = value << 4 | uint64_t(v);
    }
    return true;
}

bool Expect(std::string_view text, size_t &pos, char c)
{
    if (pos >= text.size() || text[pos] != c)
        return false;
    ++pos;
    return true;
}

} // namespace

std::optional<Guid> Guid::FromString(std::string_view text)
{
    bool braced = !text.empty() && text.front() == '{';
    if (braced) {
        if (text.back() != '}')
            return std::nullopt;
        text = text.substr(1, text.size() - 2);
    }
    if (text.size() != 36)
        return std::nullopt;
    Guid g;
    size_t pos = 0;
    uint64_t v;
    if (!ReadHex(text, pos, 8, v))
        return std::nullopt;
    g.Data1 = uint32_t(v);
    if (!Expect(text, pos, '-') || !ReadHex(text, pos, 4, v))
        return std::nullopt;
    g.Data2 = uint16_t(v);
    if (!Expect(text, pos, '-') || !ReadHex(text, pos, 4, v))
        return std::nullopt;
    g.Data3 = uint16_t(v);
    if (!Expect(text, pos, '-'))
        return std::nullopt;
    for (int i = 0; i < 8; ++i) {
        if (i == 2 && !Expect(text, pos, '-'))
            return std::nullopt;
        if (!ReadHex(text, pos, 2, v))
            return std::nullopt;
        g.Data4[size_t(i)] = uint8_t(v);
    }
    return g;
}

Guid Guid::FromFourCC(std::string_view fourChars)
{
    uint32_t code = 0;
    for (size_t i = 0; i < 4; ++i)
        code |= uint32_t(uint8_t(i < fourChars.size() ? fourChars[i] : ' ')) << (8 * i);
    return FromFourCC(code);
}

bool Guid::IsFourCC() const
{
    return FromFourCC(Data1) == *this;
}

std::string Guid::ToString() const
{
    char buf[40];
    std::snprintf(buf, sizeof buf, "{%08X-%04X-%04X-%02X%02X-%02X%02X%02X%02X%02X%02X}", Data1, Data2, Data3,
                  Data4[0], Data4[1], Data4[2], Data4[3], Data4[4], Data4[5], Data4[6], Data4[7]);
    return buf;
}

size_t std::hash<Guid>::operator()(const Guid &g) const noexcept
{
    uint64_t a, b;
    std::memcpy(&a, &g, 8);
    std::memcpy(&b, reinterpret_cast<const char *>(&g) + 8, 8);
    return size_t(a * 0x9E3779B97F4A7C15ull ^ (b + 0x632BE59BD9B4E019ull + (a << 6)));
}
