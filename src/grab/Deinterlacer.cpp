#include "Deinterlacer.h"

namespace
{

bool Is32Bit(const QImage &image)
{
    return image.depth() == 32;
}

// Signed product of how far the middle value stands out from its two neighbours.
inline int StandOut(int above, int middle, int below)
{
    return (above - middle) * (below - middle);
}

} // namespace

QImage TDeinterlacer::Deinterlace(const QImage &input)
{
    QImage output = input.copy();
    if (!Is32Bit(input) || input.height() < 3)
        return output;
    const size_t cells = size_t(input.width()) * size_t(input.height());
    combMask_.resize(cells);
    keepMask_.resize(cells);
    DetectCombing(input);
    KeepCombedRuns(input.width(), input.height());
    Interpolate(input, output);
    return output;
}

void TDeinterlacer::DetectCombing(const QImage &input)
{
    const int w = input.width();
    for (int y = 1; y < input.height() - 1; y += 2) {
        const uint8_t *a = input.constScanLine(y - 1);
        const uint8_t *c = input.constScanLine(y);
        const uint8_t *b = input.constScanLine(y + 1);
        uint8_t *mask = combMask_.data() + size_t(y) * size_t(w);
        for (int x = 0; x < w; ++x) {
            const int i = x * 4; // blue, green, red
            const int d = 3 * StandOut(a[i + 2], c[i + 2], b[i + 2]) +
                          6 * StandOut(a[i + 1], c[i + 1], b[i + 1]) + StandOut(a[i], c[i], b[i]);
            mask[x] = d > 2000 ? 1 : 0;
        }
    }
}

void TDeinterlacer::KeepCombedRuns(int width, int height)
{
    for (int y = 1; y < height - 1; y += 2) {
        const uint8_t *comb = combMask_.data() + size_t(y) * size_t(width);
        uint8_t *keep = keepMask_.data() + size_t(y) * size_t(width);
        for (int x = 0; x < width; ++x) {
            const bool left = x > 0 && comb[x - 1];
            const bool right = x + 1 < width && comb[x + 1];
            keep[x] = comb[x] && (left || right) ? 1 : 0;
        }
    }
}

void TDeinterlacer::Interpolate(const QImage &input, QImage &output) const
{
    const int w = input.width();
    for (int y = 1; y < input.height() - 1; y += 2) {
        const uint8_t *above = input.constScanLine(y - 1);
        const uint8_t *below = input.constScanLine(y + 1);
        uint8_t *row = output.scanLine(y);
        const uint8_t *keep = keepMask_.data() + size_t(y) * size_t(w);
        for (int x = 0; x < w; ++x) {
            if (!keep[x])
                continue;
            for (int ch = 0; ch < 3; ++ch)
                row[x * 4 + ch] = uint8_t((above[x * 4 + ch] + below[x * 4 + ch]) / 2);
        }
    }
}
