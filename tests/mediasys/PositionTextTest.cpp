#include "media/PositionText.h"

#include <gtest/gtest.h>

TEST(PositionText, RoundsToFramesAndCarriesIntoSeconds)
{
    struct Case {
        int64_t position, frameDuration;
        const char *text;
    } cases[] = {
        {12'345'678'901, 400'000, "0:20:34:14"},
        {169'836'503, 333'667, "0:00:17:00"}, // within half a frame of 17 s
        {15'000'000, 0, "0:00:01:500"},       // no frame duration: milliseconds
        {0, 400'000, "0:00:00:00"},
        {36'000'000'000 + 590'000'000 + 9'600'000, 400'000, "1:00:59:24"},
        {35'999'900'000, 400'000, "1:00:00:00"}, // the carry reaches the hours
        {10 * 36'000'000'000LL, 400'000, "10:00:00:00"},
    };
    for (const Case &c : cases)
        EXPECT_EQ(PositionText(c.position, c.frameDuration), c.text) << c.position;
}

TEST(ParsePositionText, ReadsPartsFromTheRight)
{
    struct Case {
        const char *text;
        int64_t frameDuration, position;
    } cases[] = {
        {"1:02:03:04", 400'000, 37'231'600'000},
        {"12:02:03:04", 400'000, 12 * 36'000'000'000LL + 1'230'000'000 + 1'600'000},
        {"1:02:03:xx", 400'000, 37'230'000'000},
        {"", 400'000, 0},
        {"7", 400'000, 0},
        {"a:bc:de:fg", 400'000, 0},
    };
    for (const Case &c : cases)
        EXPECT_EQ(ParsePositionText(c.text, c.frameDuration), c.position) << c.text;
}

TEST(ParsePositionText, RoundTripsPositionText)
{
    for (int64_t frame : {0, 1, 24, 25, 1234, 90'000}) {
        const int64_t position = frame * 400'000;
        EXPECT_EQ(ParsePositionText(PositionText(position, 400'000), 400'000), position);
    }
}
