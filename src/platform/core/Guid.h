#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

// A 128-bit class or type identifier in the platform's layout (Data1..Data4), written as text in
// brace form with upper-case hexadecimal digits: {XXXXXXXX-XXXX-XXXX-XXXX-XXXXXXXXXXXX}.
struct Guid {
    uint32_t Data1 = 0;
    uint16_t Data2 = 0;
    uint16_t Data3 = 0;
    std::array<uint8_t, 8> Data4{};

    // Parses the brace form (the braces may be left out; hexadecimal digits in either case).
    static std::optional<Guid> FromString(std::string_view text);
    // The media subtype for a FOURCC code: {xxxxxxxx-0000-0010-8000-00AA00389B71}.
    static constexpr Guid FromFourCC(uint32_t fourcc)
    {
        return Guid{fourcc, 0x0000, 0x0010, {0x80, 0x00, 0x00, 0xAA, 0x00, 0x38, 0x9B, 0x71}};
    }
    static Guid FromFourCC(std::string_view fourChars);

    std::string ToString() const;
    bool IsNull() const { return *this == Guid{}; }
    // True when this GUID has the FOURCC base layout; its code is then Data1.
    bool IsFourCC() const;

    friend bool operator==(const Guid &, const Guid &) = default;
    friend auto operator<=>(const Guid &, const Guid &) = default;
};

inline constexpr Guid GUID_NULL{};

template <> struct std::hash<Guid> {
    size_t operator()(const Guid &g) const noexcept;
};
