#include "media/WaveFormatNames.h"

#include <gtest/gtest.h>

TEST(WaveFormatName, NamedTagsAndGaps)
{
    struct Case {
        uint16_t tag;
        const char *name;
    } cases[] = {
        {0x0001, "PCM"},
        {0x0009, "DRM"},
        {0x0050, "MPEG Audio"},
        {0x0059, "LUCENT G.723"},
        {0x0088, "ISIAUDIO "},
        {0x1401, "ISIAUDIO"},
        {0x00FF, "AAC"},
        {0x0162, "WMA_Pro"},
        {0x1103, "LH_SBC"},
        {0x2002, "14_4"},
        {0x676F, "OGG_VORBIS1+"},
        {0x7A22, "GSM_AMR"},
        {0x0000, ""},
        {0x000A, ""},
        {0x0087, ""},
        {0x7A23, ""},
        {0xFFFE, ""},
        {0xFFFF, ""},
    };
    for (const Case &c : cases)
        EXPECT_EQ(WaveFormatName(c.tag), c.name) << std::hex << c.tag;
}

TEST(WaveFormatName, HoldsTheWholeTable)
{
    int named = 0;
    for (uint32_t tag = 0; tag <= 0xFFFF; ++tag)
        named += !WaveFormatName(uint16_t(tag)).isEmpty();
    EXPECT_EQ(named, 144);
}
