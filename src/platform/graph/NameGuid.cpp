#include "NameGuid.h"

#include <cstring>

Guid NameGuid(std::string_view nameSpace, std::string_view name)
{
    // Two 64-bit FNV-1a lanes with different offsets give the 128 bits.
    uint64_t lanes[2] = {0xcbf29ce484222325ULL, 0x84222325cbf29ce4ULL};
    auto feed = [&](std::string_view text) {
        for (unsigned char c : text)
            for (uint64_t &lane : lanes) {
                lane ^= c;
                lane *= 0x100000001b3ULL;
            }
    };
    feed(nameSpace);
    feed(std::string_view("\0", 1));
    feed(name);
    uint8_t bytes[16];
    std::memcpy(bytes, lanes, sizeof bytes);
    bytes[6] = (bytes[6] & 0x0F) | 0x50; // version 5: name-based
    bytes[8] = (bytes[8] & 0x3F) | 0x80; // RFC 4122 variant
    Guid guid;
    guid.Data1 = uint32_t(bytes[0]) << 24 | uint32_t(bytes[1]) << 16 | uint32_t(bytes[2]) << 8 | bytes[3];
    guid.Data2 = uint16_t(bytes[4] << 8 | bytes[5]);
    guid.Data3 = uint16_t(bytes[6] << 8 | bytes[7]);
    std::memcpy(guid.Data4.data(), bytes + 8, 8);
    return guid;
}
