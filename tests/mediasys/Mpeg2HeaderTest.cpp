#include "media/Mpeg2Header.h"

#include <gtest/gtest.h>

#include <vector>

namespace
{

std::vector<uint8_t> SequenceHeader(int width, int height, int aspect, int rate)
{
    return {0x00,
            0x00,
            0x01,
            0xB3,
            uint8_t(width >> 4),
            uint8_t((width & 0x0F) << 4 | height >> 8),
            uint8_t(height & 0xFF),
            uint8_t(aspect << 4 | rate)};
}

} // namespace

TEST(Mpeg2Header, SizesAspectAndRate)
{
    struct Case {
        int width, height, aspect, rate;
        int aspectResult;
        double fps;
    } cases[] = {
        {720, 576, 2, 3, 0, 25},
        {1920, 1080, 3, 4, 1, 30000.0 / 1001},
        {3840, 2160, 3, 1, 1, 24000.0 / 1001},
        {352, 288, 1, 8, 2, 60},
        {4095, 4095, 4, 7, 2, 60000.0 / 1001},
        {720, 480, 2, 9, 0, 0},
        {720, 480, 15, 15, 2, 0},
        {720, 480, 2, 2, 0, 24},
        {720, 480, 2, 5, 0, 30},
        {720, 480, 2, 6, 0, 50},
    };
    for (const Case &c : cases) {
        const auto header = SequenceHeader(c.width, c.height, c.aspect, c.rate);
        ASSERT_TRUE(MpegHeaderValid(header.data(), header.size()));
        EXPECT_EQ(MpegWidth(header.data()), c.width);
        EXPECT_EQ(MpegHeight(header.data()), c.height);
        EXPECT_EQ(MpegAspect(header.data()), c.aspectResult);
        EXPECT_DOUBLE_EQ(MpegFrameRate(header.data()), c.fps);
    }
}

TEST(Mpeg2Header, InvalidStartsAndShortSamples)
{
    auto header = SequenceHeader(720, 576, 2, 3);
    EXPECT_FALSE(MpegHeaderValid(header.data(), 7));
    EXPECT_FALSE(MpegHeaderValid(nullptr, 0));
    const std::vector<std::pair<int, uint8_t>> damages = {
        {0, 0x01}, {2, 0x00}, {3, 0xB8}, {7, 0x03}, {7, 0x20}};
    for (const auto &[at, value] : damages) {
        auto damaged = header;
        damaged[at] = value;
        EXPECT_FALSE(MpegHeaderValid(damaged.data(), damaged.size())) << at;
    }
}
