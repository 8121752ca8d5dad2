#pragma once

#include <QImage>

#include <cstdint>
#include <vector>

// Adaptive line interpolation for grabbed frames: on odd rows, pixels that are brighter or darker
// than both neighbours (combing) and have a combed horizontal neighbour are replaced by the average
// of the pixels above and below; everything else stays as captured. Works on 32-bit pixels
// (blue, green, red, fourth byte untouched); other formats pass through unchanged. The masks are
// kept between calls so no frame allocates. UI thread only.
class TDeinterlacer
{
  public:
    QImage Deinterlace(const QImage &input);

  private:
    void DetectCombing(const QImage &input);
    void KeepCombedRuns(int width, int height);
    void Interpolate(const QImage &input, QImage &output) const;

    std::vector<uint8_t> combMask_;
    std::vector<uint8_t> keepMask_;
};
