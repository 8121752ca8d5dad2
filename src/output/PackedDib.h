#pragma once

#include <QByteArray>
#include <QImage>

#include <cstdint>
#include <vector>

// A packed device-independent bitmap (header, colour table, pixels) as the renderer returns its
// current picture, read into an image of the same size and pixel format. Uncompressed 24- and
// 32-bit rows are copied straight across; other layouts go through a BMP file stream.
// A null image means the block is not a bitmap.
QImage ImageFromPackedDib(std::vector<uint8_t> dib);

// The 14-byte header that makes a packed bitmap a BMP file: "BM", the file's size, two reserved
// zeros and the offset of the pixels, little-endian.
QByteArray BmpFileHeader(uint32_t fileSize, uint32_t pixelOffset);
