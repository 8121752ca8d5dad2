#pragma once

#include <QImage>

#include <cstdint>
#include <vector>

// A packed device-independent bitmap (header, colour table, pixels) as the renderer returns its
// current picture, read into an image of the same size and pixel format. Uncompressed 24- and
// 32-bit rows are copied straight across; other layouts go through a BMP file stream.
// A null image means the block is not a bitmap.
QImage ImageFromPackedDib(std::vector<uint8_t> dib);
