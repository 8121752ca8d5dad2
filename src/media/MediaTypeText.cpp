#include "media/MediaTypeText.h"

#include "media/WaveFormatNames.h"
#include "platform/graph/MediaGuids.h"

#include <QLocale>
#include <cmath>
#include <optional>

namespace
{

constexpr Guid SubtypeRGB1 = MediaGuids::Classic(0xE436EB78);
constexpr Guid SubtypeRGB4 = MediaGuids::Classic(0xE436EB79);
constexpr Guid SubtypeDvdLpcm = MediaGuids::Mpeg2(0xE06D8032);

// The four FOURCC characters as they are (no "RGB" substitute).
QString FourChars(uint32_t code)
{
    QString text;
    for (int i = 0; i < 4; ++i)
        text += QChar(char16_t((code >> (8 * i)) & 0xFF));
    return text;
}

// The FOURCC of a FOURCC subtype, lower-cased; empty for other subtypes.
QString LowerFourCC(const Guid &subtype)
{
    return subtype.IsFourCC() ? FourChars(subtype.Data1).toLower() : QString();
}

// The values every recognizer copies from a video header and its bitmap header.
template <class Header> void TakeVideoHeader(TVideoData &data, const MediaType &mt, const Header &header)
{
    data.SubtypeName = SubtypeName(mt);
    data.Width = header.bmiHeader.biWidth;
    data.Height = header.bmiHeader.biHeight;
    data.BitCount = header.bmiHeader.biBitCount;
    data.BitRate = int32_t(header.dwBitRate);
    data.AvgTimePerFrame = header.AvgTimePerFrame;
}

bool TakeVideoInfo(TVideoData &data, const MediaType &mt)
{
    VIDEOINFOHEADER header;
    if (!mt.ReadFormat(header))
        return false;
    TakeVideoHeader(data, mt, header);
    return true;
}

bool TakeVideoInfo2(TVideoData &data, const MediaType &mt, bool withAspect)
{
    VIDEOINFOHEADER2 header;
    if (!mt.ReadFormat(header))
        return false;
    TakeVideoHeader(data, mt, header);
    if (withAspect) {
        data.AspectX = int32_t(header.dwPictAspectRatioX);
        data.AspectY = int32_t(header.dwPictAspectRatioY);
    }
    return true;
}

bool TakeMpeg2VideoInfo(TVideoData &data, const MediaType &mt)
{
    MPEG2VIDEOINFO info;
    if (!mt.ReadFormat(info))
        return false;
    TakeVideoHeader(data, mt, info.hdr);
    data.AspectX = int32_t(info.hdr.dwPictAspectRatioX);
    data.AspectY = int32_t(info.hdr.dwPictAspectRatioY);
    return true;
}

bool TakeMpeg1VideoInfo(TVideoData &data, const MediaType &mt)
{
    MPEG1VIDEOINFO info;
    if (!mt.ReadFormat(info))
        return false;
    TakeVideoHeader(data, mt, info.hdr);
    return true;
}

// The recognizers in their order of precedence; the first whose format fits fills the record.
bool Recognize(TVideoData &data, const MediaType &mt)
{
    const Guid &format = mt.formattype;
    const QString fourcc = LowerFourCC(mt.subtype);
    if (mt.subtype == MEDIASUBTYPE_dvsd && format == FORMAT_VideoInfo && TakeVideoInfo(data, mt))
        return true;
    if ((fourcc == "dvsd" || fourcc == "dvcp") && format == FORMAT_VideoInfo2 &&
        TakeVideoInfo2(data, mt, false))
        return true;
    if (format == FORMAT_MPEG2Video && TakeMpeg2VideoInfo(data, mt))
        return true;
    if (format == FORMAT_VideoInfo && TakeVideoInfo(data, mt))
        return true;
    if (format == FORMAT_VideoInfo2 && TakeVideoInfo2(data, mt, true))
        return true;
    return format == FORMAT_MPEGVideo && TakeMpeg1VideoInfo(data, mt);
}

uint8_t AspectCodeOf(int64_t x, int64_t y)
{
    if (x <= 0 && y <= 0)
        return 2;
    if (x * 3 == y * 4)
        return 0;
    if (x * 9 == y * 16)
        return 1;
    return 3;
}

// Frames per second rounded to two decimals, shortest form, with the locale's separator.
QString FpsText(double fps)
{
    const double rounded = std::nearbyint(fps * 100) / 100;
    QLocale locale;
    locale.setNumberOptions(QLocale::OmitGroupSeparator);
    return locale.toString(rounded, 'f', QLocale::FloatingPointShortest);
}

void Finish(TVideoData &data)
{
    data.AspectCode = AspectCodeOf(data.AspectX, data.AspectY);
    data.PictureAspectX = data.AspectX;
    data.PictureAspectY = data.AspectY;
    if (data.AspectCode == 3) {
        while (data.AspectX > 99 && data.AspectY > 99) {
            data.AspectX = int32_t(std::nearbyint(data.AspectX / 10.0));
            data.AspectY = int32_t(std::nearbyint(data.AspectY / 10.0));
        }
    }
    static const QString Suffixes[] = {" (4x3)", " (16x9)", QString()};
    data.Description =
        data.SubtypeName + (data.AspectCode < 3 ? Suffixes[data.AspectCode]
                                                : QString(" (%1x%2)").arg(data.AspectX).arg(data.AspectY));
    data.Fps = data.AvgTimePerFrame > 0 ? 10'000'000.0 / double(data.AvgTimePerFrame) : 0;
    data.SizeText = QString("%1x%2").arg(data.Width).arg(data.Height);
    if (data.Fps > 0)
        data.SizeText += " - " + FpsText(data.Fps) + " fps";
}

std::optional<QString> RgbSubtypeName(const Guid &subtype)
{
    static const std::pair<Guid, const char *> Names[] = {
        {MEDIASUBTYPE_RGB24, "RGB24"},  {MEDIASUBTYPE_RGB32, "RGB32"}, {SubtypeRGB1, "RGB1"},
        {SubtypeRGB4, "RGB4"},          {MEDIASUBTYPE_RGB8, "RGB8"},   {MEDIASUBTYPE_RGB565, "RGB565"},
        {MEDIASUBTYPE_RGB555, "RGB555"}};
    for (const auto &[guid, name] : Names)
        if (guid == subtype)
            return QString(name);
    return std::nullopt;
}

QString CompressionName(const MediaType &mt)
{
    VIDEOINFOHEADER info;
    VIDEOINFOHEADER2 info2;
    if (mt.formattype == FORMAT_VideoInfo)
        return mt.ReadFormat(info) ? FourChars(info.bmiHeader.biCompression) : QString();
    if (mt.formattype == FORMAT_VideoInfo2)
        return mt.ReadFormat(info2) ? FourChars(info2.bmiHeader.biCompression) : QString();
    return mt.formattype == FORMAT_MPEGVideo ? "MPEG1" : "MPEG2";
}

QString AudioNameBySubtype(const Guid &subtype)
{
    static const std::pair<Guid, const char *> Names[] = {{MEDIASUBTYPE_MPEG2_AUDIO, "MPEG2"},
                                                          {MEDIASUBTYPE_DOLBY_AC3, "DOLBY AC3"},
                                                          {SubtypeDvdLpcm, "LPCM"},
                                                          {MEDIASUBTYPE_MPEG1Packet, "MPEG1Packet"},
                                                          {MEDIASUBTYPE_MPEG1Payload, "MPEG1Payload"},
                                                          {MEDIASUBTYPE_MPEG1Audio, "MPEG1"}};
    for (const auto &[guid, name] : Names)
        if (guid == subtype)
            return QString(name);
    return subtype.IsFourCC() ? FourCCText(subtype.Data1) : QString();
}

} // namespace

TVideoData DescribeVideoType(const MediaType &mt)
{
    TVideoData data;
    if (!Recognize(data, mt))
        return data;
    data.Valid = true;
    Finish(data);
    return data;
}

QString SubtypeName(const MediaType &mt)
{
    const QString fourcc = LowerFourCC(mt.subtype);
    if (fourcc == "dvcp")
        return "DV Type 1";
    if (fourcc == "dvsd")
        return "DV Type 2";
    if (mt.subtype.IsFourCC())
        return FourChars(mt.subtype.Data1);
    if (auto name = RgbSubtypeName(mt.subtype))
        return *name;
    return CompressionName(mt);
}

QString FourCCText(uint32_t code)
{
    for (int i = 0; i < 4; ++i)
        if (((code >> (8 * i)) & 0xFF) < 0x20)
            return "RGB";
    return FourChars(code);
}

QString AudioSubtypeName(const MediaType &mt)
{
    if (mt.majortype != MEDIATYPE_Audio)
        return {};
    QString name = AudioNameBySubtype(mt.subtype);
    WAVEFORMATEX wave;
    if (mt.formattype == FORMAT_WaveFormatEx && mt.ReadFormat(wave) && wave.wFormatTag != 0) {
        const QString tagName = WaveFormatName(wave.wFormatTag).left(4);
        if (!tagName.isEmpty())
            name = tagName;
    }
    return name;
}
