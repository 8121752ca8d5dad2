#include "grab/SnapshotScaler.h"

#include <gtest/gtest.h>

TEST(SnapshotScaler, OutputSizeShrinksOneDimensionToTheDisplayAspect)
{
    const struct {
        QSize captured, aspect, output;
    } cases[] = {
        {{720, 576}, {16, 9}, {720, 405}},    {{720, 576}, {4, 3}, {720, 540}},
        {{720, 576}, {720, 576}, {720, 576}}, // forced to the stored size
        {{720, 576}, {0, 0}, {720, 576}},     // aspect not known yet
        {{720, 576}, {-4, 3}, {720, 576}},    {{720, 480}, {4, 3}, {640, 480}},
        {{1440, 1080}, {16, 9}, {1440, 810}}, {{0, 0}, {16, 9}, {0, 0}},
    };
    for (const auto &c : cases)
        EXPECT_EQ(SnapshotScaler::OutputSize(c.captured, c.aspect), c.output)
            << c.captured.width() << "x" << c.captured.height() << " at " << c.aspect.width() << ":"
            << c.aspect.height();
}

TEST(SnapshotScaler, StretchKeepsTheWholePictureIn24Bits)
{
    // Left half red, right half blue, a green bottom row: nothing may be cropped away.
    QImage frame(720, 576, QImage::Format_RGB32);
    frame.fill(qRgb(255, 0, 0));
    for (int y = 0; y < 576; ++y)
        for (int x = 360; x < 720; ++x)
            frame.setPixel(x, y, qRgb(0, 0, 255));
    for (int y = 568; y < 576; ++y)
        for (int x = 0; x < 720; ++x)
            frame.setPixel(x, y, qRgb(0, 255, 0));

    const QImage snapshot = SnapshotScaler::Stretch(frame, {16, 9});
    ASSERT_EQ(snapshot.size(), QSize(720, 405));
    EXPECT_EQ(snapshot.format(), QImage::Format_RGB888);
    EXPECT_EQ(snapshot.pixel(10, 200), qRgb(255, 0, 0));
    EXPECT_EQ(snapshot.pixel(710, 200), qRgb(0, 0, 255));
    EXPECT_GT(qGreen(snapshot.pixel(100, 403)), 200) << "the bottom rows survive the stretch";

    EXPECT_EQ(SnapshotScaler::Stretch(frame, {720, 576}), frame.convertToFormat(QImage::Format_RGB888))
        << "the stored size copies the frame exactly";
    EXPECT_TRUE(SnapshotScaler::Stretch(QImage(), {16, 9}).isNull());
}
