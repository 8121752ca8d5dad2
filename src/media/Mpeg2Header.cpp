#include "media/Mpeg2Header.h"

#include <iterator>

bool MpegHeaderValid(const uint8_t *data, size_t length)
{
    if (data == nullptr || length < 8)
        return false;
    const bool startCode = data[0] == 0x00 && data[1] == 0x00 && data[2] == 0x01 && data[3] == 0xB3;
    return startCode && (data[7] >> 4) != 0 && (data[7] & 0x0F) != 0;
}

int MpegWidth(const uint8_t *data)
{
    return data[4] << 4 | data[5] >> 4;
}

int MpegHeight(const uint8_t *data)
{
    return (data[5] & 0x0F) << 8 | data[6];
}

int MpegAspect(const uint8_t *data)
{
    switch (data[7] >> 4) {
    case 2:
        return 0;
    case 3:
        return 1;
    default:
        return 2;
    }
}

double MpegFrameRate(const uint8_t *data)
{
    static constexpr double Rates[] = {0, 24000.0 / 1001, 24, 25, 30000.0 / 1001, 30, 50, 60000.0 / 1001, 60};
    const unsigned code = data[7] & 0x0F;
    return code < std::size(Rates) ? Rates[code] : 0;
}
