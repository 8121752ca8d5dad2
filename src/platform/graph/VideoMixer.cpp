#include "VideoMixer.h"

#include <algorithm>
#include <cmath>
#include <cstring>

namespace
{

QRgb FromColorRef(uint32_t bgr)
{
    return qRgb(int(bgr & 0xFF), int(bgr >> 8 & 0xFF), int(bgr >> 16 & 0xFF));
}

inline uint32_t BlendChannel(uint32_t over, uint32_t under, int alpha256)
{
    return (over * uint32_t(alpha256) + under * uint32_t(256 - alpha256)) >> 8;
}

} // namespace

HRESULT VideoMixer::SetAlphaBitmap(const VMR9AlphaBitmap &block)
{
    if (block.dwFlags & VMR9AlphaBitmap_Disable) {
        bitmap_.reset();
        return S_OK;
    }
    if (!(block.dwFlags & VMR9AlphaBitmap_hDC) || !block.hdc || block.hdc->isNull())
        return E_INVALIDARG;
    const QRect source(block.rSrc.left, block.rSrc.top, block.rSrc.right - block.rSrc.left,
                       block.rSrc.bottom - block.rSrc.top);
    if (source.isEmpty() || !block.hdc->rect().contains(source))
        return E_INVALIDARG;
    const float alpha = std::clamp(block.fAlpha, 0.0f, 1.0f);
    Bitmap bitmap{block.hdc->copy(source).convertToFormat(QImage::Format_RGB32), block.rDest,
                  int(std::lround(alpha * 256.0f)), std::nullopt};
    if (block.dwFlags & VMR9AlphaBitmap_SrcColorKey)
        bitmap.colorKey = FromColorRef(block.clrSrcKey);
    bitmap_ = std::move(bitmap);
    return S_OK;
}

HRESULT VideoMixer::SetOutputRect(uint32_t stream, const NORMALIZEDRECT &rect)
{
    if (stream != 0)
        return E_INVALIDARG;
    outputRect_ = rect;
    return S_OK;
}

QImage VideoMixer::Compose(const QImage &picture) const
{
    const bool flipH = outputRect_.left > outputRect_.right;
    const bool flipV = outputRect_.top > outputRect_.bottom;
    if (!flipH && !flipV && !bitmap_)
        return picture; // shared, not copied
    QImage composed = picture.convertToFormat(QImage::Format_RGB32);
    if (flipH || flipV)
        composed = composed.mirrored(flipH, flipV);
    if (bitmap_)
        BlendBitmap(composed);
    return composed;
}

void VideoMixer::BlendBitmap(QImage &target) const
{
    // Point filtering: every target pixel of the destination rectangle takes the nearest bitmap pixel.
    const Bitmap &b = *bitmap_;
    const int w = target.width(), h = target.height();
    const int x0 = std::clamp(int(std::lround(b.dest.left * w)), 0, w);
    const int x1 = std::clamp(int(std::lround(b.dest.right * w)), 0, w);
    const int y0 = std::clamp(int(std::lround(b.dest.top * h)), 0, h);
    const int y1 = std::clamp(int(std::lround(b.dest.bottom * h)), 0, h);
    if (x1 <= x0 || y1 <= y0 || b.alpha256 == 0)
        return;
    const int bw = b.image.width(), bh = b.image.height();
    for (int y = y0; y < y1; ++y) {
        auto *row = reinterpret_cast<QRgb *>(target.scanLine(y));
        const auto *src =
            reinterpret_cast<const QRgb *>(b.image.constScanLine(int(int64_t(y - y0) * bh / (y1 - y0))));
        for (int x = x0; x < x1; ++x) {
            const QRgb over = src[int64_t(x - x0) * bw / (x1 - x0)] | 0xFF000000u;
            if (b.colorKey && over == *b.colorKey)
                continue;
            const QRgb under = row[x];
            row[x] = qRgb(int(BlendChannel(qRed(over), qRed(under), b.alpha256)),
                          int(BlendChannel(qGreen(over), qGreen(under), b.alpha256)),
                          int(BlendChannel(qBlue(over), qBlue(under), b.alpha256)));
        }
    }
}

std::vector<uint8_t> VideoMixer::PackedDib(const QImage &image)
{
    const QImage rgb = image.convertToFormat(QImage::Format_RGB32);
    BITMAPINFOHEADER header;
    header.biWidth = rgb.width();
    header.biHeight = -rgb.height(); // negative: the first row comes first
    header.biBitCount = 32;
    const size_t rowBytes = size_t(rgb.width()) * 4;
    header.biSizeImage = uint32_t(rowBytes * size_t(rgb.height()));
    std::vector<uint8_t> dib(sizeof header + header.biSizeImage);
    std::memcpy(dib.data(), &header, sizeof header);
    uint8_t *out = dib.data() + sizeof header;
    for (int y = 0; y < rgb.height(); ++y, out += rowBytes)
        std::memcpy(out, rgb.constScanLine(y), rowBytes); // RGB32 in memory is B, G, R, X: the DIB's order
    return dib;
}
