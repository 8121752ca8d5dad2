#include "output/PackedDib.h"

#include "platform/graph/MediaType.h"
#include "platform/graph/VideoMixer.h"

#include <QBuffer>

#include <gtest/gtest.h>

#include <cstring>

namespace
{

// 3 x 2: an odd width, so 24-bit rows carry padding.
QImage Picture()
{
    QImage picture(3, 2, QImage::Format_RGB32);
    const QRgb colours[] = {qRgb(255, 0, 0),  qRgb(0, 255, 0),    qRgb(0, 0, 255),
                            qRgb(10, 20, 30), qRgb(200, 100, 50), qRgb(1, 2, 3)};
    for (int i = 0; i < 6; ++i)
        picture.setPixel(i % 3, i / 3, colours[i]);
    return picture;
}

// A BMP file without its 14-byte file header is a packed bitmap.
std::vector<uint8_t> DibOfBmpFile(const QImage &image)
{
    QByteArray file;
    QBuffer buffer(&file);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "BMP");
    return {file.begin() + 14, file.end()};
}

// The renderer's rows the other way up, bottom row first.
std::vector<uint8_t> BottomUp(std::vector<uint8_t> dib)
{
    BITMAPINFOHEADER header;
    std::memcpy(&header, dib.data(), sizeof header);
    header.biHeight = -header.biHeight;
    const size_t rowBytes = size_t(header.biWidth) * 4;
    std::vector<uint8_t> rows(dib.begin() + sizeof header, dib.end());
    for (int y = 0; y < header.biHeight; ++y)
        std::memcpy(dib.data() + sizeof header + size_t(y) * rowBytes,
                    rows.data() + size_t(header.biHeight - 1 - y) * rowBytes, rowBytes);
    std::memcpy(dib.data(), &header, sizeof header);
    return dib;
}

} // namespace

TEST(PackedDib, EveryLayoutGivesThePicture)
{
    const QImage picture = Picture();
    const struct {
        const char *name;
        std::vector<uint8_t> dib;
    } cases[] = {
        {"32-bit top-down, as the renderer returns it", VideoMixer::PackedDib(picture)},
        {"32-bit bottom-up", BottomUp(VideoMixer::PackedDib(picture))},
        {"24-bit with padded rows", DibOfBmpFile(picture.convertToFormat(QImage::Format_RGB888))},
        {"8-bit with a colour table", DibOfBmpFile(picture.convertToFormat(QImage::Format_Indexed8))},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        const QImage image = ImageFromPackedDib(c.dib);
        ASSERT_EQ(image.size(), picture.size());
        for (int y = 0; y < 2; ++y)
            for (int x = 0; x < 3; ++x)
                EXPECT_EQ(QColor(image.pixel(x, y)), QColor(picture.pixel(x, y))) << x << "," << y;
    }
}

TEST(PackedDib, DamagedBlocksGiveNoImage)
{
    const std::vector<uint8_t> whole = VideoMixer::PackedDib(Picture());
    std::vector<uint8_t> truncated(whole.begin(), whole.end() - 1);
    std::vector<uint8_t> headerOnly(whole.begin(), whole.begin() + sizeof(BITMAPINFOHEADER));
    std::vector<uint8_t> hugeHeader = whole;
    hugeHeader[0] = 0xFF; // biSize beyond the block
    std::vector<uint8_t> hugeWidth = whole;
    hugeWidth[7] = 0x7F; // biWidth near 2^31
    std::vector<uint8_t> truncatedPalette = DibOfBmpFile(Picture().convertToFormat(QImage::Format_Indexed8));
    truncatedPalette.resize(truncatedPalette.size() - 1);
    for (const auto *dib : {&truncated, &headerOnly, &hugeHeader, &hugeWidth, &truncatedPalette})
        EXPECT_TRUE(ImageFromPackedDib(*dib).isNull());
    EXPECT_TRUE(ImageFromPackedDib({}).isNull());
}
