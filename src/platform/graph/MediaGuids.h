#pragma once

#include "platform/core/Guid.h"

// Major types, subtypes, format types, time formats and pin categories, with the values the
// platform defines for them.
namespace MediaGuids
{

constexpr Guid Make(uint32_t d1, uint16_t d2, uint16_t d3, std::array<uint8_t, 8> d4)
{
    return Guid{d1, d2, d3, d4};
}
// {xxxxxxxx-0000-0010-8000-00AA00389B71}: the FOURCC and wave-tag family.
constexpr Guid FourCC(uint32_t code)
{
    return Guid::FromFourCC(code);
}
constexpr uint32_t Code(const char (&c)[5])
{
    return uint32_t(uint8_t(c[0])) | uint32_t(uint8_t(c[1])) << 8 | uint32_t(uint8_t(c[2])) << 16 |
           uint32_t(uint8_t(c[3])) << 24;
}
// {E436EBxx-524F-11CE-9F53-0020AF0BA770}: the classic stream and subtype family.
constexpr Guid Classic(uint32_t d1)
{
    return Make(d1, 0x524F, 0x11CE, {0x9F, 0x53, 0x00, 0x20, 0xAF, 0x0B, 0xA7, 0x70});
}
// {E06D80xx-DB46-11CF-B4D1-00805F6CBBEA}: the MPEG-2 family.
constexpr Guid Mpeg2(uint32_t d1)
{
    return Make(d1, 0xDB46, 0x11CF, {0xB4, 0xD1, 0x00, 0x80, 0x5F, 0x6C, 0xBB, 0xEA});
}
// {05589F8x-C356-11CE-BF01-00AA0055595A}: the classic format-block family.
constexpr Guid ClassicFormat(uint32_t d1)
{
    return Make(d1, 0xC356, 0x11CE, {0xBF, 0x01, 0x00, 0xAA, 0x00, 0x55, 0x59, 0x5A});
}

} // namespace MediaGuids

inline constexpr Guid MEDIATYPE_Video = MediaGuids::FourCC(MediaGuids::Code("vids"));
inline constexpr Guid MEDIATYPE_Audio = MediaGuids::FourCC(MediaGuids::Code("auds"));
inline constexpr Guid MEDIATYPE_Interleaved = MediaGuids::FourCC(MediaGuids::Code("iavs"));
inline constexpr Guid MEDIATYPE_Text = MediaGuids::FourCC(MediaGuids::Code("txts"));
inline constexpr Guid MEDIATYPE_Stream = MediaGuids::Classic(0xE436EB83);

inline constexpr Guid MEDIASUBTYPE_RGB8 = MediaGuids::Classic(0xE436EB7A);
inline constexpr Guid MEDIASUBTYPE_RGB565 = MediaGuids::Classic(0xE436EB7B);
inline constexpr Guid MEDIASUBTYPE_RGB555 = MediaGuids::Classic(0xE436EB7C);
inline constexpr Guid MEDIASUBTYPE_RGB24 = MediaGuids::Classic(0xE436EB7D);
inline constexpr Guid MEDIASUBTYPE_RGB32 = MediaGuids::Classic(0xE436EB7E);
inline constexpr Guid MEDIASUBTYPE_ARGB32 =
    MediaGuids::Make(0x773C9AC0, 0x3274, 0x11D0, {0xB7, 0x24, 0x00, 0xAA, 0x00, 0x6C, 0x1A, 0x01});
inline constexpr Guid MEDIASUBTYPE_MPEG1Packet = MediaGuids::Classic(0xE436EB80);
inline constexpr Guid MEDIASUBTYPE_MPEG1Payload = MediaGuids::Classic(0xE436EB81);
inline constexpr Guid MEDIASUBTYPE_MPEG1System = MediaGuids::Classic(0xE436EB84);
inline constexpr Guid MEDIASUBTYPE_MPEG1VideoCD = MediaGuids::Classic(0xE436EB85);
inline constexpr Guid MEDIASUBTYPE_MPEG1Video = MediaGuids::Classic(0xE436EB86);
inline constexpr Guid MEDIASUBTYPE_MPEG1Audio = MediaGuids::Classic(0xE436EB87);
inline constexpr Guid MEDIASUBTYPE_Avi = MediaGuids::Classic(0xE436EB88);
inline constexpr Guid MEDIASUBTYPE_WAVE = MediaGuids::Classic(0xE436EB8B);
inline constexpr Guid MEDIASUBTYPE_Asf =
    MediaGuids::Make(0x3DB80F90, 0x9412, 0x11D1, {0xAD, 0xED, 0x00, 0x00, 0xF8, 0x75, 0x4B, 0x99});
inline constexpr Guid MEDIASUBTYPE_MPEG2_PROGRAM = MediaGuids::Mpeg2(0xE06D8022);
inline constexpr Guid MEDIASUBTYPE_MPEG2_TRANSPORT = MediaGuids::Mpeg2(0xE06D8023);
inline constexpr Guid MEDIASUBTYPE_MPEG2_VIDEO = MediaGuids::Mpeg2(0xE06D8026);
inline constexpr Guid MEDIASUBTYPE_MPEG2_AUDIO = MediaGuids::Mpeg2(0xE06D802B);
inline constexpr Guid MEDIASUBTYPE_DOLBY_AC3 = MediaGuids::Mpeg2(0xE06D802C);
inline constexpr Guid MEDIASUBTYPE_dvsd = MediaGuids::FourCC(MediaGuids::Code("dvsd"));
inline constexpr Guid MEDIASUBTYPE_dvhd = MediaGuids::FourCC(MediaGuids::Code("dvhd"));
inline constexpr Guid MEDIASUBTYPE_dvsl = MediaGuids::FourCC(MediaGuids::Code("dvsl"));
inline constexpr Guid MEDIASUBTYPE_dv25 = MediaGuids::FourCC(MediaGuids::Code("dv25"));
inline constexpr Guid MEDIASUBTYPE_H264 = MediaGuids::FourCC(MediaGuids::Code("H264"));
inline constexpr Guid MEDIASUBTYPE_AVC1 = MediaGuids::FourCC(MediaGuids::Code("AVC1"));
inline constexpr Guid MEDIASUBTYPE_YV12 = MediaGuids::FourCC(MediaGuids::Code("YV12"));
inline constexpr Guid MEDIASUBTYPE_YUY2 = MediaGuids::FourCC(MediaGuids::Code("YUY2"));
inline constexpr Guid MEDIASUBTYPE_NV12 = MediaGuids::FourCC(MediaGuids::Code("NV12"));
inline constexpr Guid MEDIASUBTYPE_PCM = MediaGuids::FourCC(0x0001);
inline constexpr Guid MEDIASUBTYPE_IEEE_FLOAT = MediaGuids::FourCC(0x0003);
inline constexpr Guid MEDIASUBTYPE_MPEG1AudioPayload = MediaGuids::FourCC(0x0050);

inline constexpr Guid FORMAT_None =
    MediaGuids::Make(0x0F6417D6, 0xC318, 0x11D0, {0xA4, 0x3F, 0x00, 0xA0, 0xC9, 0x22, 0x31, 0x96});
inline constexpr Guid FORMAT_VideoInfo = MediaGuids::ClassicFormat(0x05589F80);
inline constexpr Guid FORMAT_WaveFormatEx = MediaGuids::ClassicFormat(0x05589F81);
inline constexpr Guid FORMAT_MPEGVideo = MediaGuids::ClassicFormat(0x05589F82);
inline constexpr Guid FORMAT_MPEGStreams = MediaGuids::ClassicFormat(0x05589F83);
inline constexpr Guid FORMAT_DvInfo = MediaGuids::ClassicFormat(0x05589F84);
inline constexpr Guid FORMAT_VideoInfo2 =
    MediaGuids::Make(0xF72A76A0, 0xEB0A, 0x11D0, {0xAC, 0xE4, 0x00, 0x00, 0xC0, 0xCC, 0x16, 0xBA});
inline constexpr Guid FORMAT_MPEG2Video = MediaGuids::Mpeg2(0xE06D80E3);

inline constexpr Guid TIME_FORMAT_MEDIA_TIME =
    MediaGuids::Make(0x7B785574, 0x8C82, 0x11CF, {0xBC, 0x0C, 0x00, 0xAA, 0x00, 0xAC, 0x74, 0xF6});
inline constexpr Guid TIME_FORMAT_FRAME =
    MediaGuids::Make(0x7B785570, 0x8C82, 0x11CF, {0xBC, 0x0C, 0x00, 0xAA, 0x00, 0xAC, 0x74, 0xF6});

inline constexpr Guid PIN_CATEGORY_CAPTURE =
    MediaGuids::Make(0xFB6C4281, 0x0353, 0x11D1, {0x90, 0x5F, 0x00, 0x00, 0xC0, 0xCC, 0x16, 0xBA});
inline constexpr Guid PIN_CATEGORY_PREVIEW =
    MediaGuids::Make(0xFB6C4282, 0x0353, 0x11D1, {0x90, 0x5F, 0x00, 0x00, 0xC0, 0xCC, 0x16, 0xBA});
