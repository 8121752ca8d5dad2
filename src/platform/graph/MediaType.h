#pragma once

#include "MediaGuids.h"
#include "platform/core/Guid.h"

#include <cstdint>
#include <cstring>
#include <type_traits>
#include <vector>

// The format blocks of media types in the platform's published little-endian layouts, so code
// that describes a media type reads plain copies of them. The host is little-endian.
using REFERENCE_TIME = int64_t; // 100-nanosecond units

struct RECT {
    int32_t left = 0, top = 0, right = 0, bottom = 0;
};

struct BITMAPINFOHEADER {
    uint32_t biSize = sizeof(BITMAPINFOHEADER);
    int32_t biWidth = 0;
    int32_t biHeight = 0; // positive: bottom-up rows; negative: top-down
    uint16_t biPlanes = 1;
    uint16_t biBitCount = 0;
    uint32_t biCompression = 0; // 0 = BI_RGB, else a FOURCC
    uint32_t biSizeImage = 0;
    int32_t biXPelsPerMeter = 0;
    int32_t biYPelsPerMeter = 0;
    uint32_t biClrUsed = 0;
    uint32_t biClrImportant = 0;
};

struct VIDEOINFOHEADER {
    RECT rcSource;
    RECT rcTarget;
    uint32_t dwBitRate = 0;
    uint32_t dwBitErrorRate = 0;
    REFERENCE_TIME AvgTimePerFrame = 0;
    BITMAPINFOHEADER bmiHeader;
};

struct VIDEOINFOHEADER2 {
    RECT rcSource;
    RECT rcTarget;
    uint32_t dwBitRate = 0;
    uint32_t dwBitErrorRate = 0;
    REFERENCE_TIME AvgTimePerFrame = 0;
    uint32_t dwInterlaceFlags = 0;
    uint32_t dwCopyProtectFlags = 0;
    uint32_t dwPictAspectRatioX = 0;
    uint32_t dwPictAspectRatioY = 0;
    uint32_t dwControlFlags = 0;
    uint32_t dwReserved2 = 0;
    BITMAPINFOHEADER bmiHeader;
};

struct MPEG1VIDEOINFO {
    VIDEOINFOHEADER hdr;
    uint32_t dwStartTimeCode = 0;
    uint32_t cbSequenceHeader = 0;
    uint8_t bSequenceHeader[1] = {}; // the sequence header continues past the structure
};

struct MPEG2VIDEOINFO {
    VIDEOINFOHEADER2 hdr;
    uint32_t dwStartTimeCode = 0;
    uint32_t cbSequenceHeader = 0;
    uint32_t dwProfile = 0;
    uint32_t dwLevel = 0;
    uint32_t dwFlags = 0;
    uint32_t dwSequenceHeader[1] = {}; // the sequence header continues past the structure
};

#pragma pack(push, 1)
struct WAVEFORMATEX {
    uint16_t wFormatTag = 0;
    uint16_t nChannels = 0;
    uint32_t nSamplesPerSec = 0;
    uint32_t nAvgBytesPerSec = 0;
    uint16_t nBlockAlign = 0;
    uint16_t wBitsPerSample = 0;
    uint16_t cbSize = 0; // bytes of codec data following the structure
};
#pragma pack(pop)

// The DV stream's source and control packs of audio and video, as a DV splitter reports them.
struct DVINFO {
    uint32_t dwDVAAuxSrc = 0;
    uint32_t dwDVAAuxCtl = 0;
    uint32_t dwDVAAuxSrc1 = 0;
    uint32_t dwDVAAuxCtl1 = 0;
    uint32_t dwDVVAuxSrc = 0;
    uint32_t dwDVVAuxCtl = 0;
    uint32_t dwDVReserved[2] = {};
};

static_assert(sizeof(RECT) == 16 && sizeof(BITMAPINFOHEADER) == 40);
static_assert(sizeof(VIDEOINFOHEADER) == 88 && sizeof(VIDEOINFOHEADER2) == 112);
static_assert(sizeof(MPEG1VIDEOINFO) == 104 && sizeof(MPEG2VIDEOINFO) == 136);
static_assert(sizeof(WAVEFORMATEX) == 18 && sizeof(DVINFO) == 32);

inline constexpr uint16_t WAVE_FORMAT_PCM = 0x0001;
inline constexpr uint16_t WAVE_FORMAT_IEEE_FLOAT = 0x0003;

// A media type: major type, subtype, format type and a format block holding one of the layouts
// above (possibly followed by extra bytes, e.g. codec data after WAVEFORMATEX).
struct MediaType {
    Guid majortype;
    Guid subtype;
    bool bFixedSizeSamples = false;
    bool bTemporalCompression = false;
    uint32_t lSampleSize = 0;
    Guid formattype;
    std::vector<uint8_t> format;

    // A copy of the format block as T when the block holds at least sizeof(T) bytes.
    template <class T> bool ReadFormat(T &out) const
    {
        static_assert(std::is_trivially_copyable_v<T>);
        if (format.size() < sizeof(T))
            return false;
        std::memcpy(&out, format.data(), sizeof(T));
        return true;
    }

    // Replaces the format block with the bytes of `block`, followed by `extra` bytes.
    template <class T>
    void SetFormat(const Guid &type, const T &block, const std::vector<uint8_t> &extra = {})
    {
        static_assert(std::is_trivially_copyable_v<T>);
        formattype = type;
        format.resize(sizeof(T));
        std::memcpy(format.data(), &block, sizeof(T));
        format.insert(format.end(), extra.begin(), extra.end());
    }

    friend bool operator==(const MediaType &, const MediaType &) = default;
};

// The bitmap header of a video type described by VIDEOINFOHEADER or VIDEOINFOHEADER2; false for
// other format blocks or one too short.
inline bool ReadBitmapHeader(const MediaType &type, BITMAPINFOHEADER &bmi)
{
    VIDEOINFOHEADER2 vih2;
    VIDEOINFOHEADER vih;
    if (type.formattype == FORMAT_VideoInfo2 && type.ReadFormat(vih2))
        bmi = vih2.bmiHeader;
    else if (type.formattype == FORMAT_VideoInfo && type.ReadFormat(vih))
        bmi = vih.bmiHeader;
    else
        return false;
    return true;
}
