#include "grab/Deinterlacer.h"

#include <gtest/gtest.h>

namespace
{

// A grey frame with a white "tooth" of `toothWidth` pixels starting at column 2 of row `row`.
QImage Frame(int width, int height, int row, int toothWidth, QImage::Format format = QImage::Format_RGB32)
{
    QImage image(width, height, format);
    image.fill(qRgb(100, 100, 100));
    for (int x = 2; x < 2 + toothWidth; ++x)
        image.setPixel(x, row, qRgb(250, 250, 250));
    return image;
}

} // namespace

TEST(Deinterlacer, CorrectsOnlyCombedRunsOfOddRows)
{
    struct Case {
        const char *what;
        QImage input;
        bool corrected;
    } cases[] = {
        {"tooth two pixels wide on an odd row", Frame(8, 6, 3, 2), true},
        {"tooth one pixel wide", Frame(8, 6, 3, 1), false},
        {"tooth on an even row", Frame(8, 6, 2, 3), false},
        {"tooth on the last row of an even-height frame", Frame(8, 6, 5, 3), false},
        {"24-bit frame", Frame(8, 6, 3, 3, QImage::Format_RGB888), false},
        {"frame two rows high", Frame(8, 2, 1, 3), false},
    };
    TDeinterlacer deinterlacer;
    for (const Case &c : cases) {
        const QImage output = deinterlacer.Deinterlace(c.input);
        ASSERT_EQ(output.size(), c.input.size()) << c.what;
        ASSERT_EQ(output.format(), c.input.format()) << c.what;
        if (c.corrected) {
            QImage expected = c.input.copy();
            expected.setPixel(2, 3, qRgb(100, 100, 100));
            expected.setPixel(3, 3, qRgb(100, 100, 100));
            EXPECT_EQ(output, expected) << c.what;
        } else {
            EXPECT_EQ(output, c.input) << c.what;
        }
    }
}

TEST(Deinterlacer, SmoothGradientAndTheFourthByteAreLeftAlone)
{
    QImage input(6, 5, QImage::Format_ARGB32);
    for (int y = 0; y < 5; ++y)
        for (int x = 0; x < 6; ++x)
            input.setPixel(x, y, qRgba(40 * y, 20 + 40 * y, 10 * y, 77));
    TDeinterlacer deinterlacer;
    EXPECT_EQ(deinterlacer.Deinterlace(input), input) << "odd rows equal to their neighbours' average";

    QImage combed = input.copy();
    for (int x = 0; x < 6; ++x)
        combed.setPixel(x, 1, qRgba(255, 255, 255, 12));
    const QImage output = deinterlacer.Deinterlace(combed);
    for (int x = 0; x < 6; ++x) {
        EXPECT_EQ(qRed(output.pixel(x, 1)), (0 + 80) / 2);
        EXPECT_EQ(qGreen(output.pixel(x, 1)), (20 + 100) / 2);
        EXPECT_EQ(qAlpha(output.pixel(x, 1)), 12) << "the fourth byte keeps the captured value";
    }
}
