#pragma once

#include "MediaType.h"
#include "platform/core/Result.h"

#include <QImage>

#include <optional>
#include <vector>

// What the windowless renderer's mixer composes: the current picture at its native size, placed
// through the output rectangle of stream 0 (whose 1.0/0.0 swaps flip it), with one alpha bitmap
// blended over it. The same composition is drawn on screen and returned as the current image, so a
// grab holds exactly what the user sees.

// A rectangle in the composition's normalised space: (0, 0) top left, (1, 1) bottom right.
struct NORMALIZEDRECT {
    float left = 0, top = 0, right = 1, bottom = 1;
    friend bool operator==(const NORMALIZEDRECT &, const NORMALIZEDRECT &) = default;
};

inline constexpr uint32_t VMR9AlphaBitmap_Disable = 0x01;
inline constexpr uint32_t VMR9AlphaBitmap_hDC = 0x02;
inline constexpr uint32_t VMR9AlphaBitmap_EntireDDS = 0x04;
inline constexpr uint32_t VMR9AlphaBitmap_SrcColorKey = 0x08;
inline constexpr uint32_t VMR9AlphaBitmap_SrcRect = 0x10;
inline constexpr uint32_t VMR9AlphaBitmap_FilterMode = 0x20;

// The alpha bitmap handed to the mixer. `hdc` stands for the device context of the bitmap's
// canvas: the mixer copies the image when the block is set, so the caller may redraw it afterwards.
struct VMR9AlphaBitmap {
    uint32_t dwFlags = 0;
    const QImage *hdc = nullptr;
    const void *pDDS = nullptr;
    RECT rSrc;
    NORMALIZEDRECT rDest;
    float fAlpha = 1.0f;
    uint32_t clrSrcKey = 0; // 0x00BBGGRR
    uint32_t dwFilterMode = 0;
};

class VideoMixer
{
  public:
    // UI thread. Sets or (with VMR9AlphaBitmap_Disable) removes the alpha bitmap; E_INVALIDARG
    // for a block without a bitmap or with a source rectangle outside it.
    HRESULT SetAlphaBitmap(const VMR9AlphaBitmap &block);
    // UI thread. Only stream 0 exists; left > right flips horizontally, top > bottom vertically.
    HRESULT SetOutputRect(uint32_t stream, const NORMALIZEDRECT &rect);
    const NORMALIZEDRECT &OutputRect() const { return outputRect_; }
    bool HasAlphaBitmap() const { return bitmap_.has_value(); }

    // The composed picture at the native size of `picture` (32-bit RGB).
    QImage Compose(const QImage &picture) const;

    // A packed device-independent bitmap of `image`: BITMAPINFOHEADER (32 bits, top-down rows),
    // then the pixels.
    static std::vector<uint8_t> PackedDib(const QImage &image);

  private:
    struct Bitmap {
        QImage image; // the source rectangle, copied when set
        NORMALIZEDRECT dest;
        int alpha256;                 // 0..256
        std::optional<QRgb> colorKey; // pixels of this colour are not drawn
    };
    void BlendBitmap(QImage &target) const;

    NORMALIZEDRECT outputRect_;
    std::optional<Bitmap> bitmap_;
};
