#include "PackedDib.h"

#include "platform/graph/MediaType.h"

#include <cstring>

namespace
{

constexpr uint32_t FileHeaderSize = 14;

QImage FromBmpStream(const std::vector<uint8_t> &dib, const BITMAPINFOHEADER &header)
{
    const uint32_t palette = header.biClrUsed         ? header.biClrUsed
                             : header.biBitCount <= 8 ? (1u << header.biBitCount)
                                                      : 0;
    const uint64_t fileSize =
        uint64_t(FileHeaderSize) + header.biSize + 4ull * header.biClrUsed + header.biSizeImage;
    const uint64_t offset = uint64_t(FileHeaderSize) + header.biSize + 4ull * palette;
    if (fileSize > uint64_t(FileHeaderSize) + dib.size() || offset > fileSize)
        return {};
    QByteArray file = BmpFileHeader(uint32_t(fileSize), uint32_t(offset));
    file.reserve(qsizetype(fileSize));
    file.append(reinterpret_cast<const char *>(dib.data()), qsizetype(fileSize - FileHeaderSize));
    QImage image;
    image.loadFromData(file, "BMP");
    return image;
}

// Rows are 4-byte aligned; a positive height stores the bottom row first. Top-down 32-bit rows
// are the image's own: it takes the block over instead of copying it.
QImage FromRgbRows(std::vector<uint8_t> &&dib, const BITMAPINFOHEADER &header)
{
    const int width = header.biWidth;
    const int height = header.biHeight < 0 ? -header.biHeight : header.biHeight;
    const size_t bytesPerPixel = header.biBitCount / 8u;
    const size_t rowBytes = (size_t(width) * bytesPerPixel + 3) & ~size_t(3);
    if (width <= 0 || height <= 0 || size_t(height) > (dib.size() - header.biSize) / rowBytes)
        return {};
    const QImage::Format format = bytesPerPixel == 4 ? QImage::Format_RGB32 : QImage::Format_BGR888;
    if (header.biHeight < 0 && bytesPerPixel == 4) {
        auto *owner = new std::vector<uint8_t>(std::move(dib));
        return QImage(
            owner->data() + header.biSize, width, height, qsizetype(rowBytes), format,
            [](void *block) { delete static_cast<std::vector<uint8_t> *>(block); }, owner);
    }
    QImage image(width, height, format);
    if (image.isNull())
        return {};
    const uint8_t *pixels = dib.data() + header.biSize;
    for (int y = 0; y < height; ++y) {
        const int stored = header.biHeight < 0 ? y : height - 1 - y;
        std::memcpy(image.scanLine(y), pixels + size_t(stored) * rowBytes, size_t(width) * bytesPerPixel);
    }
    return image;
}

} // namespace

QImage ImageFromPackedDib(std::vector<uint8_t> dib)
{
    BITMAPINFOHEADER header;
    if (dib.size() < sizeof header)
        return {};
    std::memcpy(&header, dib.data(), sizeof header);
    if (header.biSize < sizeof header || header.biSize > dib.size())
        return {};
    const bool plainRows = header.biCompression == 0 && header.biClrUsed == 0 &&
                           (header.biBitCount == 24 || header.biBitCount == 32);
    return plainRows ? FromRgbRows(std::move(dib), header) : FromBmpStream(dib, header);
}

QByteArray BmpFileHeader(uint32_t fileSize, uint32_t pixelOffset)
{
    QByteArray header("BM", 2);
    for (const uint32_t field : {fileSize, 0u, pixelOffset}) // the reserved words as one zero
        for (int shift = 0; shift < 32; shift += 8)
            header.append(char((field >> shift) & 0xFF));
    return header;
}
