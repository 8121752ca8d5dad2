#include "CodecMediaType.h"

#include "MediaGuids.h"
#include "NameGuid.h"

#include <algorithm>
#include <cstddef>
#include <map>

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavutil/channel_layout.h>
#include <libavutil/mem.h>
}

namespace
{

struct Mapping {
    AVCodecID codec;
    Guid subtype;
    Guid format;
};

Guid Four(const char (&code)[5])
{
    return MediaGuids::FourCC(MediaGuids::Code(code));
}

// Known codecs; for a codec listed twice, FromParameters picks by the shape of its extradata.
const std::vector<Mapping> &Table()
{
    static const std::vector<Mapping> table = {
        {AV_CODEC_ID_H264, MEDIASUBTYPE_AVC1, FORMAT_MPEG2Video},
        {AV_CODEC_ID_H264, MEDIASUBTYPE_H264, FORMAT_VideoInfo2},
        {AV_CODEC_ID_MPEG2VIDEO, MEDIASUBTYPE_MPEG2_VIDEO, FORMAT_MPEG2Video},
        {AV_CODEC_ID_MPEG1VIDEO, MEDIASUBTYPE_MPEG1Payload, FORMAT_MPEGVideo},
        {AV_CODEC_ID_DVVIDEO, MEDIASUBTYPE_dvsd, FORMAT_VideoInfo},
        {AV_CODEC_ID_HEVC, Four("HEVC"), FORMAT_VideoInfo2},
        {AV_CODEC_ID_MPEG4, Four("MP4V"), FORMAT_VideoInfo2},
        {AV_CODEC_ID_MJPEG, Four("MJPG"), FORMAT_VideoInfo2},
        {AV_CODEC_ID_VP8, Four("VP80"), FORMAT_VideoInfo2},
        {AV_CODEC_ID_VP9, Four("VP90"), FORMAT_VideoInfo2},
        {AV_CODEC_ID_AV1, Four("AV01"), FORMAT_VideoInfo2},
        {AV_CODEC_ID_WMV1, Four("WMV1"), FORMAT_VideoInfo2},
        {AV_CODEC_ID_WMV2, Four("WMV2"), FORMAT_VideoInfo2},
        {AV_CODEC_ID_WMV3, Four("WMV3"), FORMAT_VideoInfo2},
        {AV_CODEC_ID_VC1, Four("WVC1"), FORMAT_VideoInfo2},
        {AV_CODEC_ID_MSMPEG4V3, Four("DIV3"), FORMAT_VideoInfo2},
        {AV_CODEC_ID_THEORA, Four("THEO"), FORMAT_VideoInfo2},
        {AV_CODEC_ID_FFV1, Four("FFV1"), FORMAT_VideoInfo2},
        {AV_CODEC_ID_HUFFYUV, Four("HFYU"), FORMAT_VideoInfo2},
        {AV_CODEC_ID_AAC, MediaGuids::FourCC(0x00FF), FORMAT_WaveFormatEx},
        {AV_CODEC_ID_MP3, MediaGuids::FourCC(0x0055), FORMAT_WaveFormatEx},
        {AV_CODEC_ID_MP2, MEDIASUBTYPE_MPEG1AudioPayload, FORMAT_WaveFormatEx},
        {AV_CODEC_ID_MP1, MEDIASUBTYPE_MPEG1Audio, FORMAT_WaveFormatEx},
        {AV_CODEC_ID_AC3, MEDIASUBTYPE_DOLBY_AC3, FORMAT_WaveFormatEx},
        {AV_CODEC_ID_PCM_S16LE, MEDIASUBTYPE_PCM, FORMAT_WaveFormatEx},
        {AV_CODEC_ID_PCM_U8, MEDIASUBTYPE_PCM, FORMAT_WaveFormatEx},
        {AV_CODEC_ID_PCM_S24LE, MEDIASUBTYPE_PCM, FORMAT_WaveFormatEx},
        {AV_CODEC_ID_PCM_S32LE, MEDIASUBTYPE_PCM, FORMAT_WaveFormatEx},
        {AV_CODEC_ID_PCM_F32LE, MEDIASUBTYPE_IEEE_FLOAT, FORMAT_WaveFormatEx},
        {AV_CODEC_ID_PCM_ALAW, MediaGuids::FourCC(0x0006), FORMAT_WaveFormatEx},
        {AV_CODEC_ID_PCM_MULAW, MediaGuids::FourCC(0x0007), FORMAT_WaveFormatEx},
        {AV_CODEC_ID_ADPCM_MS, MediaGuids::FourCC(0x0002), FORMAT_WaveFormatEx},
        {AV_CODEC_ID_ADPCM_IMA_WAV, MediaGuids::FourCC(0x0011), FORMAT_WaveFormatEx},
        {AV_CODEC_ID_WMAV1, MediaGuids::FourCC(0x0160), FORMAT_WaveFormatEx},
        {AV_CODEC_ID_WMAV2, MediaGuids::FourCC(0x0161), FORMAT_WaveFormatEx},
        {AV_CODEC_ID_WMAPRO, MediaGuids::FourCC(0x0162), FORMAT_WaveFormatEx},
        {AV_CODEC_ID_FLAC, MediaGuids::FourCC(0xF1AC), FORMAT_WaveFormatEx},
    };
    return table;
}

Guid NamedSubtype(AVCodecID codec)
{
    return NameGuid("kestrin.codec", avcodec_get_name(codec));
}

Guid DefaultFormat(AVMediaType type)
{
    return type == AVMEDIA_TYPE_VIDEO ? FORMAT_VideoInfo2 : FORMAT_WaveFormatEx;
}

// The codec of a subtype made from a codec's name.
AVCodecID NamedCodec(const Guid &subtype)
{
    static const std::map<Guid, AVCodecID> named = [] {
        std::map<Guid, AVCodecID> made;
        for (const AVCodecDescriptor *d = avcodec_descriptor_next(nullptr); d; d = avcodec_descriptor_next(d))
            made.emplace(NamedSubtype(d->id), d->id);
        return made;
    }();
    auto found = named.find(subtype);
    return found == named.end() ? AV_CODEC_ID_NONE : found->second;
}

AVCodecID PcmCodec(int bits, bool isFloat)
{
    if (isFloat)
        return AV_CODEC_ID_PCM_F32LE;
    switch (bits) {
    case 8:
        return AV_CODEC_ID_PCM_U8;
    case 24:
        return AV_CODEC_ID_PCM_S24LE;
    case 32:
        return AV_CODEC_ID_PCM_S32LE;
    default:
        return AV_CODEC_ID_PCM_S16LE;
    }
}

bool IsAvcC(const AVCodecParameters &codec)
{
    return codec.codec_id == AV_CODEC_ID_H264 && codec.extradata_size >= 7 && codec.extradata[0] == 1;
}

std::vector<uint8_t> Extradata(const AVCodecParameters &codec)
{
    return std::vector<uint8_t>(codec.extradata, codec.extradata + std::max(codec.extradata_size, 0));
}

// A block whose last field is a variable-length array, which `extra` fills from `offset` on.
template <class T>
void SetTailedFormat(MediaType &type, const Guid &format, const T &block, size_t offset,
                     const std::vector<uint8_t> &extra)
{
    type.SetFormat(format, block);
    type.format.resize(offset);
    type.format.insert(type.format.end(), extra.begin(), extra.end());
}

VIDEOINFOHEADER2 VideoHeader(const AVCodecParameters &codec, const Guid &subtype, AVRational frameRate,
                             AVRational sampleAspect)
{
    VIDEOINFOHEADER2 vih;
    vih.rcSource = vih.rcTarget = RECT{0, 0, codec.width, codec.height};
    vih.dwBitRate = uint32_t(std::clamp<int64_t>(codec.bit_rate, 0, UINT32_MAX));
    if (frameRate.num > 0 && frameRate.den > 0)
        vih.AvgTimePerFrame = av_rescale(10'000'000, frameRate.den, frameRate.num);
    if (sampleAspect.num <= 0 || sampleAspect.den <= 0)
        sampleAspect = AVRational{1, 1};
    int x = 0, y = 0;
    av_reduce(&x, &y, int64_t(codec.width) * sampleAspect.num, int64_t(codec.height) * sampleAspect.den,
              1 << 30);
    vih.dwPictAspectRatioX = uint32_t(x);
    vih.dwPictAspectRatioY = uint32_t(y);
    const bool interlaced =
        codec.field_order != AV_FIELD_PROGRESSIVE && codec.field_order != AV_FIELD_UNKNOWN;
    vih.dwInterlaceFlags = interlaced ? 0x1 : 0x0;
    auto &bmi = vih.bmiHeader;
    bmi.biWidth = codec.width;
    bmi.biHeight = codec.height;
    bmi.biBitCount = uint16_t(codec.bits_per_coded_sample > 0 ? codec.bits_per_coded_sample : 24);
    bmi.biCompression = subtype.IsFourCC() ? subtype.Data1 : 0;
    bmi.biSizeImage = uint32_t(codec.width * codec.height * bmi.biBitCount / 8);
    return vih;
}

VIDEOINFOHEADER ShortVideoHeader(const VIDEOINFOHEADER2 &vih2)
{
    VIDEOINFOHEADER vih;
    vih.rcSource = vih2.rcSource;
    vih.rcTarget = vih2.rcTarget;
    vih.dwBitRate = vih2.dwBitRate;
    vih.AvgTimePerFrame = vih2.AvgTimePerFrame;
    vih.bmiHeader = vih2.bmiHeader;
    return vih;
}

void FillVideo(const AVCodecParameters &codec, const Mapping &map, AVRational frameRate,
               AVRational sampleAspect, MediaType &type)
{
    const VIDEOINFOHEADER2 vih2 = VideoHeader(codec, map.subtype, frameRate, sampleAspect);
    const std::vector<uint8_t> extra = Extradata(codec);
    if (map.format == FORMAT_MPEG2Video) {
        MPEG2VIDEOINFO info;
        info.hdr = vih2;
        info.cbSequenceHeader = uint32_t(extra.size());
        info.dwProfile = uint32_t(std::max(codec.profile, 0));
        info.dwLevel = uint32_t(std::max(codec.level, 0));
        info.dwFlags = IsAvcC(codec) ? (extra[4] & 3) + 1 : 0;
        SetTailedFormat(type, map.format, info, offsetof(MPEG2VIDEOINFO, dwSequenceHeader), extra);
    } else if (map.format == FORMAT_MPEGVideo) {
        MPEG1VIDEOINFO info;
        info.hdr = ShortVideoHeader(vih2);
        info.cbSequenceHeader = uint32_t(extra.size());
        SetTailedFormat(type, map.format, info, offsetof(MPEG1VIDEOINFO, bSequenceHeader), extra);
    } else if (map.format == FORMAT_VideoInfo) {
        type.SetFormat(map.format, ShortVideoHeader(vih2), extra);
    } else {
        type.SetFormat(map.format, vih2, extra);
    }
    type.bTemporalCompression = true;
}

void FillAudio(const AVCodecParameters &codec, const Mapping &map, MediaType &type)
{
    WAVEFORMATEX wfx;
    wfx.wFormatTag = uint16_t(map.subtype.IsFourCC() && map.subtype.Data1 <= 0xFFFF ? map.subtype.Data1 : 0);
    wfx.nChannels = uint16_t(codec.ch_layout.nb_channels);
    wfx.nSamplesPerSec = uint32_t(codec.sample_rate);
    int bits = codec.bits_per_coded_sample;
    if (bits <= 0)
        bits = av_get_bits_per_sample(codec.codec_id);
    wfx.wBitsPerSample = uint16_t(bits);
    wfx.nBlockAlign =
        uint16_t(codec.block_align > 0 ? codec.block_align : std::max(1, wfx.nChannels * bits / 8));
    const bool pcm = bits > 0 && av_get_bits_per_sample(codec.codec_id) == bits;
    wfx.nAvgBytesPerSec = pcm ? wfx.nSamplesPerSec * wfx.nBlockAlign
                              : uint32_t(std::clamp<int64_t>(codec.bit_rate / 8, 0, UINT32_MAX));
    const std::vector<uint8_t> extra = Extradata(codec);
    wfx.cbSize = uint16_t(std::min<size_t>(extra.size(), UINT16_MAX));
    type.SetFormat(map.format, wfx, std::vector<uint8_t>(extra.begin(), extra.begin() + wfx.cbSize));
    type.bFixedSizeSamples = pcm;
    type.lSampleSize = pcm ? wfx.nBlockAlign : 0;
}

// The variable tail of a format block: codec data after the fixed part.
std::vector<uint8_t> FormatTail(const MediaType &type, size_t offset, size_t declared)
{
    if (type.format.size() <= offset)
        return {};
    const size_t available = type.format.size() - offset;
    return std::vector<uint8_t>(type.format.begin() + offset,
                                type.format.begin() + offset + std::min(available, declared));
}

bool ReadVideo(const MediaType &type, BITMAPINFOHEADER &bmi, std::vector<uint8_t> &extra)
{
    if (type.formattype == FORMAT_VideoInfo2) {
        VIDEOINFOHEADER2 vih;
        if (!type.ReadFormat(vih))
            return false;
        bmi = vih.bmiHeader;
        extra = FormatTail(type, sizeof vih, SIZE_MAX);
    } else if (type.formattype == FORMAT_MPEG2Video) {
        MPEG2VIDEOINFO info;
        if (!type.ReadFormat(info))
            return false;
        bmi = info.hdr.bmiHeader;
        extra = FormatTail(type, offsetof(MPEG2VIDEOINFO, dwSequenceHeader), info.cbSequenceHeader);
    } else if (type.formattype == FORMAT_MPEGVideo) {
        MPEG1VIDEOINFO info;
        if (!type.ReadFormat(info))
            return false;
        bmi = info.hdr.bmiHeader;
        extra = FormatTail(type, offsetof(MPEG1VIDEOINFO, bSequenceHeader), info.cbSequenceHeader);
    } else if (type.formattype == FORMAT_VideoInfo) {
        VIDEOINFOHEADER vih;
        if (!type.ReadFormat(vih))
            return false;
        bmi = vih.bmiHeader;
        extra = FormatTail(type, sizeof vih, SIZE_MAX);
    } else {
        return false;
    }
    return true;
}

void SetExtradata(AVCodecParameters &codec, const std::vector<uint8_t> &extra)
{
    av_freep(&codec.extradata);
    codec.extradata_size = 0;
    if (extra.empty())
        return;
    codec.extradata = static_cast<uint8_t *>(av_mallocz(extra.size() + AV_INPUT_BUFFER_PADDING_SIZE));
    if (!codec.extradata)
        return;
    std::copy(extra.begin(), extra.end(), codec.extradata);
    codec.extradata_size = int(extra.size());
}

} // namespace

bool CodecMediaType::FromParameters(const AVCodecParameters &codec, AVRational frameRate,
                                    AVRational sampleAspect, MediaType &type)
{
    if (codec.codec_type != AVMEDIA_TYPE_VIDEO && codec.codec_type != AVMEDIA_TYPE_AUDIO)
        return false;
    Mapping map{codec.codec_id, NamedSubtype(codec.codec_id), DefaultFormat(codec.codec_type)};
    for (const Mapping &known : Table())
        if (known.codec == codec.codec_id) {
            map = known;
            // H.264 with stored parameter sets is 'AVC1'; in start-code form 'H264'.
            if (codec.codec_id != AV_CODEC_ID_H264 || IsAvcC(codec) == (known.subtype == MEDIASUBTYPE_AVC1))
                break;
        }
    type = MediaType{};
    type.subtype = map.subtype;
    if (codec.codec_type == AVMEDIA_TYPE_VIDEO) {
        type.majortype = MEDIATYPE_Video;
        FillVideo(codec, map, frameRate, sampleAspect, type);
    } else {
        type.majortype = MEDIATYPE_Audio;
        FillAudio(codec, map, type);
    }
    return true;
}

std::vector<Guid> CodecMediaType::Subtypes(AVCodecID codec)
{
    std::vector<Guid> subtypes;
    for (const Mapping &known : Table())
        if (known.codec == codec &&
            std::find(subtypes.begin(), subtypes.end(), known.subtype) == subtypes.end())
            subtypes.push_back(known.subtype);
    if (subtypes.empty())
        subtypes.push_back(NamedSubtype(codec));
    return subtypes;
}

AVCodecID CodecMediaType::CodecId(const MediaType &type)
{
    if (type.subtype == MEDIASUBTYPE_PCM) {
        WAVEFORMATEX wfx;
        return PcmCodec(type.ReadFormat(wfx) ? wfx.wBitsPerSample : 16, false);
    }
    for (const Mapping &known : Table())
        if (known.subtype == type.subtype)
            return known.codec;
    for (const Guid &dv : {MEDIASUBTYPE_dvhd, MEDIASUBTYPE_dvsl, MEDIASUBTYPE_dv25})
        if (type.subtype == dv)
            return AV_CODEC_ID_DVVIDEO;
    if (type.subtype == MEDIASUBTYPE_MPEG2_AUDIO)
        return AV_CODEC_ID_MP2;
    return NamedCodec(type.subtype);
}

bool CodecMediaType::ToParameters(const MediaType &type, AVCodecParameters &codec)
{
    const AVCodecID id = CodecId(type);
    if (id == AV_CODEC_ID_NONE)
        return false;
    codec.codec_id = id;
    std::vector<uint8_t> extra;
    if (type.majortype == MEDIATYPE_Video) {
        BITMAPINFOHEADER bmi;
        if (!ReadVideo(type, bmi, extra))
            return false;
        codec.codec_type = AVMEDIA_TYPE_VIDEO;
        codec.width = bmi.biWidth;
        codec.height = std::abs(bmi.biHeight);
        codec.codec_tag = bmi.biCompression;
        codec.bits_per_coded_sample = bmi.biBitCount;
    } else if (type.majortype == MEDIATYPE_Audio) {
        WAVEFORMATEX wfx;
        if (type.formattype != FORMAT_WaveFormatEx || !type.ReadFormat(wfx))
            return false;
        codec.codec_type = AVMEDIA_TYPE_AUDIO;
        av_channel_layout_uninit(&codec.ch_layout);
        av_channel_layout_default(&codec.ch_layout, std::max<int>(wfx.nChannels, 1));
        codec.sample_rate = int(wfx.nSamplesPerSec);
        codec.block_align = wfx.nBlockAlign;
        codec.bits_per_coded_sample = wfx.wBitsPerSample;
        codec.bit_rate = int64_t(wfx.nAvgBytesPerSec) * 8;
        codec.codec_tag = wfx.wFormatTag;
        extra = FormatTail(type, sizeof wfx, wfx.cbSize);
    } else {
        return false;
    }
    SetExtradata(codec, extra);
    return true;
}
