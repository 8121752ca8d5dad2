#include "platform/graph/VideoMixer.h"

#include <QPainter>

#include <gtest/gtest.h>

#include <cstring>

namespace
{

// A 4 x 2 picture whose every pixel is distinct, so flips are visible pixel by pixel.
QImage Picture()
{
    QImage image(4, 2, QImage::Format_RGB32);
    for (int y = 0; y < 2; ++y)
        for (int x = 0; x < 4; ++x)
            image.setPixel(x, y, qRgb(x * 60, y * 200, 10));
    return image;
}

VMR9AlphaBitmap Block(const QImage &bitmap, float alpha, uint32_t key)
{
    VMR9AlphaBitmap block;
    block.dwFlags = VMR9AlphaBitmap_hDC | VMR9AlphaBitmap_SrcColorKey | VMR9AlphaBitmap_FilterMode;
    block.hdc = &bitmap;
    block.rSrc = {0, 0, bitmap.width(), bitmap.height()};
    block.rDest = {0, 0, 1, 1};
    block.fAlpha = alpha;
    block.clrSrcKey = key;
    return block;
}

} // namespace

TEST(VideoMixer, OutputRectangleSwapsFlipThePictureNeverItsSize)
{
    const QImage picture = Picture();
    struct Case {
        NORMALIZEDRECT rect;
        bool h, v;
    } cases[] = {{{0, 0, 1, 1}, false, false},
                 {{1, 0, 0, 1}, true, false},
                 {{0, 1, 1, 0}, false, true},
                 {{1, 1, 0, 0}, true, true}};
    for (const Case &c : cases) {
        VideoMixer mixer;
        ASSERT_EQ(mixer.SetOutputRect(0, c.rect), S_OK);
        const QImage composed = mixer.Compose(picture);
        EXPECT_EQ(composed.size(), picture.size());
        EXPECT_EQ(composed, picture.mirrored(c.h, c.v)) << c.h << c.v;
    }
    VideoMixer mixer;
    EXPECT_EQ(mixer.SetOutputRect(1, {}), E_INVALIDARG);
}

TEST(VideoMixer, AlphaBitmapBlendsItsNonKeyPixelsAtTheGivenAlpha)
{
    QImage picture(8, 8, QImage::Format_RGB32);
    picture.fill(qRgb(0, 0, 200));
    QImage inlay(8, 8, QImage::Format_RGB32);
    inlay.fill(qRgb(255, 0, 255)); // the colour key
    inlay.setPixel(2, 3, qRgb(255, 255, 255));
    VideoMixer mixer;
    ASSERT_EQ(mixer.SetAlphaBitmap(Block(inlay, 0.5f, 0xFF00FF)), S_OK);
    inlay.fill(Qt::black); // the mixer copied the bitmap when it was set
    const QImage composed = mixer.Compose(picture);
    EXPECT_EQ(composed.pixel(2, 3), qRgb(127, 127, 227));
    EXPECT_EQ(composed.pixel(0, 0), qRgb(0, 0, 200)) << "key pixels are not drawn";

    VMR9AlphaBitmap off;
    off.dwFlags = VMR9AlphaBitmap_Disable;
    ASSERT_EQ(mixer.SetAlphaBitmap(off), S_OK);
    EXPECT_EQ(mixer.Compose(picture), picture);
}

TEST(VideoMixer, BitmapIsStretchedOverItsDestinationWithPointFiltering)
{
    QImage picture(8, 4, QImage::Format_RGB32);
    picture.fill(Qt::black);
    QImage inlay(2, 1, QImage::Format_RGB32);
    inlay.setPixel(0, 0, qRgb(255, 0, 0));
    inlay.setPixel(1, 0, qRgb(0, 255, 0));
    VideoMixer mixer;
    VMR9AlphaBitmap block = Block(inlay, 1.0f, 0xFF00FF);
    block.rDest = {0.5f, 0.5f, 1.0f, 1.0f};
    ASSERT_EQ(mixer.SetAlphaBitmap(block), S_OK);
    const QImage composed = mixer.Compose(picture);
    EXPECT_EQ(composed.pixel(3, 3), qRgb(0, 0, 0));
    EXPECT_EQ(composed.pixel(4, 2), qRgb(255, 0, 0));
    EXPECT_EQ(composed.pixel(5, 3), qRgb(255, 0, 0));
    EXPECT_EQ(composed.pixel(6, 2), qRgb(0, 255, 0));
    EXPECT_EQ(composed.pixel(7, 3), qRgb(0, 255, 0));
    EXPECT_EQ(composed.pixel(7, 1), qRgb(0, 0, 0));

    block.rSrc = {0, 0, 3, 1}; // outside the bitmap
    EXPECT_EQ(mixer.SetAlphaBitmap(block), E_INVALIDARG);
    block.hdc = nullptr;
    EXPECT_EQ(mixer.SetAlphaBitmap(block), E_INVALIDARG);
}

TEST(VideoMixer, PackedDibHasTheHeaderThenTopDownRows)
{
    const QImage picture = Picture();
    const std::vector<uint8_t> dib = VideoMixer::PackedDib(picture);
    BITMAPINFOHEADER header;
    ASSERT_EQ(dib.size(), sizeof header + 4 * 2 * 4);
    std::memcpy(&header, dib.data(), sizeof header);
    EXPECT_EQ(header.biSize, 40u);
    EXPECT_EQ(header.biWidth, 4);
    EXPECT_EQ(header.biHeight, -2);
    EXPECT_EQ(header.biBitCount, 32);
    EXPECT_EQ(header.biCompression, 0u);
    EXPECT_EQ(header.biSizeImage, 32u);
    const uint8_t *secondRow = dib.data() + sizeof header + 4 * 4; // pixel 1 of the picture's last row
    EXPECT_EQ(secondRow[4 + 0], 10);                               // blue
    EXPECT_EQ(secondRow[4 + 1], 200);                              // green
    EXPECT_EQ(secondRow[4 + 2], 60);                               // red
}
