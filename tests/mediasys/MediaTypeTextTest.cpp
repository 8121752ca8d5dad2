#include "media/MediaTypeText.h"
#include "platform/graph/MediaGuids.h"

#include <gtest/gtest.h>

#include <QLocale>

namespace
{

// Restores the default locale a test changed.
class LocaleGuard
{
  public:
    explicit LocaleGuard(const QLocale &locale) { QLocale::setDefault(locale); }
    ~LocaleGuard() { QLocale::setDefault(previous); }

  private:
    QLocale previous;
};

VIDEOINFOHEADER VideoInfo(int width, int height, int64_t frameDuration, uint32_t compression = 0)
{
    VIDEOINFOHEADER vih;
    vih.bmiHeader.biWidth = width;
    vih.bmiHeader.biHeight = height;
    vih.bmiHeader.biBitCount = 24;
    vih.bmiHeader.biCompression = compression;
    vih.dwBitRate = 1234;
    vih.AvgTimePerFrame = frameDuration;
    return vih;
}

MediaType VideoInfo2Type(const Guid &subtype, uint32_t aspectX, uint32_t aspectY,
                         int64_t frameDuration = 400000)
{
    VIDEOINFOHEADER2 vih;
    vih.bmiHeader.biWidth = 720;
    vih.bmiHeader.biHeight = 576;
    vih.AvgTimePerFrame = frameDuration;
    vih.dwPictAspectRatioX = aspectX;
    vih.dwPictAspectRatioY = aspectY;
    MediaType mt;
    mt.majortype = MEDIATYPE_Video;
    mt.subtype = subtype;
    mt.SetFormat(FORMAT_VideoInfo2, vih);
    return mt;
}

MediaType Mpeg2Type(uint32_t aspectX, uint32_t aspectY)
{
    MPEG2VIDEOINFO info;
    info.hdr.bmiHeader.biWidth = 1920;
    info.hdr.bmiHeader.biHeight = 1080;
    info.hdr.AvgTimePerFrame = 417084;
    info.hdr.dwPictAspectRatioX = aspectX;
    info.hdr.dwPictAspectRatioY = aspectY;
    MediaType mt;
    mt.majortype = MEDIATYPE_Video;
    mt.subtype = MEDIASUBTYPE_MPEG2_VIDEO;
    mt.SetFormat(FORMAT_MPEG2Video, info);
    return mt;
}

MediaType AudioType(const Guid &subtype, uint16_t tag)
{
    WAVEFORMATEX wave;
    wave.wFormatTag = tag;
    MediaType mt;
    mt.majortype = MEDIATYPE_Audio;
    mt.subtype = subtype;
    mt.SetFormat(FORMAT_WaveFormatEx, wave);
    return mt;
}

} // namespace

TEST(DescribeVideoType, PictureAspectGivesCodeAndReducedSuffix)
{
    struct Case {
        uint32_t x, y;
        int code;
        int reducedX, reducedY;
        const char *description;
    } cases[] = {
        {4, 3, 0, 4, 3, "MPEG2 (4x3)"},
        {16, 9, 1, 16, 9, "MPEG2 (16x9)"},
        {64, 27, 3, 64, 27, "MPEG2 (64x27)"},
        {221, 100, 3, 22, 10, "MPEG2 (22x10)"},
        {185, 100, 3, 18, 10, "MPEG2 (18x10)"},
        {235, 100, 3, 24, 10, "MPEG2 (24x10)"},
        {12345, 1000, 3, 123, 10, "MPEG2 (123x10)"},
        {0, 0, 2, 0, 0, "MPEG2"},
    };
    for (const Case &c : cases) {
        const TVideoData data = DescribeVideoType(Mpeg2Type(c.x, c.y));
        SCOPED_TRACE(c.description);
        EXPECT_TRUE(data.Valid);
        EXPECT_EQ(data.AspectCode, c.code);
        EXPECT_EQ(data.AspectX, c.reducedX);
        EXPECT_EQ(data.AspectY, c.reducedY);
        EXPECT_EQ(data.Description, c.description);
    }
}

TEST(DescribeVideoType, SizeTextShowsRoundedRateWithLocaleSeparator)
{
    struct Case {
        int64_t frameDuration;
        const char *english, *german;
        double fps;
    } cases[] = {
        {400000, "720x576 - 25 fps", "720x576 - 25 fps", 25},
        {333667, "720x576 - 29.97 fps", "720x576 - 29,97 fps", 10'000'000.0 / 333667},
        {417084, "720x576 - 23.98 fps", "720x576 - 23,98 fps", 10'000'000.0 / 417084},
        {0, "720x576", "720x576", 0},
        {-5, "720x576", "720x576", 0},
    };
    for (const Case &c : cases) {
        MediaType mt;
        mt.subtype = MEDIASUBTYPE_RGB24;
        mt.SetFormat(FORMAT_VideoInfo, VideoInfo(720, 576, c.frameDuration));
        {
            LocaleGuard locale(QLocale(QLocale::English, QLocale::UnitedStates));
            const TVideoData data = DescribeVideoType(mt);
            EXPECT_EQ(data.SizeText, c.english);
            EXPECT_DOUBLE_EQ(data.Fps, c.fps);
        }
        LocaleGuard locale(QLocale(QLocale::German, QLocale::Germany));
        EXPECT_EQ(DescribeVideoType(mt).SizeText, c.german);
    }
}

TEST(DescribeVideoType, RecognizersTakeTheirHeadersInOrder)
{
    // VIDEOINFOHEADER: no picture aspect, description is the subtype name.
    MediaType rgb;
    rgb.subtype = MEDIASUBTYPE_RGB32;
    rgb.SetFormat(FORMAT_VideoInfo, VideoInfo(640, 480, 400000));
    TVideoData data = DescribeVideoType(rgb);
    EXPECT_TRUE(data.Valid);
    EXPECT_EQ(data.Width, 640);
    EXPECT_EQ(data.Height, 480);
    EXPECT_EQ(data.BitCount, 24);
    EXPECT_EQ(data.BitRate, 1234);
    EXPECT_EQ(data.AvgTimePerFrame, 400000);
    EXPECT_EQ(data.AspectCode, 2);
    EXPECT_EQ(data.Description, "RGB32");

    // A 'dvsd' stream in VIDEOINFOHEADER2 ignores the header's picture aspect.
    data = DescribeVideoType(VideoInfo2Type(MEDIASUBTYPE_dvsd, 16, 9));
    EXPECT_EQ(data.AspectCode, 2);
    EXPECT_EQ(data.Description, "DV Type 2");
    data = DescribeVideoType(VideoInfo2Type(Guid::FromFourCC("DVCP"), 16, 9));
    EXPECT_EQ(data.Description, "DV Type 1");

    // Any other VIDEOINFOHEADER2 carries its aspect.
    data = DescribeVideoType(VideoInfo2Type(MEDIASUBTYPE_H264, 16, 9));
    EXPECT_EQ(data.AspectCode, 1);
    EXPECT_EQ(data.Description, "H264 (16x9)");

    MPEG1VIDEOINFO mpeg1;
    mpeg1.hdr = VideoInfo(352, 288, 400000);
    MediaType m1;
    m1.subtype = MEDIASUBTYPE_MPEG1Payload;
    m1.SetFormat(FORMAT_MPEGVideo, mpeg1);
    data = DescribeVideoType(m1);
    EXPECT_TRUE(data.Valid);
    EXPECT_EQ(data.Width, 352);
    EXPECT_EQ(data.Description, "MPEG1");
}

TEST(DescribeVideoType, ShortOrForeignFormatBlocksAreNotValid)
{
    MediaType shortBlock = VideoInfo2Type(MEDIASUBTYPE_H264, 16, 9);
    shortBlock.format.resize(111);
    MediaType noBlock = shortBlock;
    noBlock.format.clear();
    MediaType shortMpeg2 = Mpeg2Type(16, 9);
    shortMpeg2.format.resize(135);
    MediaType audio = AudioType(Guid::FromFourCC(uint32_t(1)), 1);
    for (const MediaType &mt : {shortBlock, noBlock, shortMpeg2, audio}) {
        const TVideoData data = DescribeVideoType(mt);
        EXPECT_FALSE(data.Valid);
        EXPECT_EQ(data.Width, 0);
        EXPECT_TRUE(data.Description.isEmpty());
        EXPECT_TRUE(data.SizeText.isEmpty());
    }
}

TEST(SubtypeName, FourCCRgbAndFormatFallbacks)
{
    MediaType mt;
    mt.subtype = Guid::FromFourCC("DvSd");
    EXPECT_EQ(SubtypeName(mt), "DV Type 2");
    mt.subtype = MEDIASUBTYPE_YUY2;
    EXPECT_EQ(SubtypeName(mt), "YUY2");
    mt.subtype = MEDIASUBTYPE_RGB565;
    EXPECT_EQ(SubtypeName(mt), "RGB565");
    mt.subtype = MediaGuids::Classic(0xE436EB78);
    EXPECT_EQ(SubtypeName(mt), "RGB1");

    mt.subtype = MediaGuids::Make(0x12345678, 1, 2, {});
    mt.SetFormat(FORMAT_VideoInfo, VideoInfo(1, 1, 0, MediaGuids::Code("XVID")));
    EXPECT_EQ(SubtypeName(mt), "XVID");
    mt.format.resize(10); // unreadable block: nothing read
    EXPECT_EQ(SubtypeName(mt), "");
    mt.formattype = FORMAT_MPEGVideo;
    EXPECT_EQ(SubtypeName(mt), "MPEG1");
    mt.formattype = FORMAT_None;
    EXPECT_EQ(SubtypeName(mt), "MPEG2");
}

TEST(FourCCText, ControlBytesGiveRgb)
{
    EXPECT_EQ(FourCCText(MediaGuids::Code("MJPG")), "MJPG");
    EXPECT_EQ(FourCCText(0), "RGB");
    EXPECT_EQ(FourCCText(0x20202020), "    ");
    EXPECT_EQ(FourCCText(0x1F414141), "RGB");
    EXPECT_EQ(FourCCText(0x41414100), "RGB");
}

TEST(AudioSubtypeName, SubtypeThenTruncatedTagName)
{
    const Guid waveTag = Guid::FromFourCC(uint32_t(0x0001));
    struct Case {
        Guid subtype;
        uint16_t tag;
        const char *name;
    } cases[] = {
        {waveTag, 0x0001, "PCM"},
        {Guid::FromFourCC(uint32_t(0x0055)), 0x0055, "MP3"},
        {Guid::FromFourCC(uint32_t(0x0161)), 0x0161, "WMA"},
        {MEDIASUBTYPE_DOLBY_AC3, 0x2000, "AC3"},
        {MEDIASUBTYPE_DOLBY_AC3, 0, "DOLBY AC3"},
        {waveTag, 0x0003, "IEEE"},
        {waveTag, 0x0088, "ISIA"},
        {MEDIASUBTYPE_MPEG1Audio, 0x0050, "MPEG"},
        {MEDIASUBTYPE_MPEG1Audio, 0x0777, "MPEG1"},
        {waveTag, 0x0777, "RGB"},
        {MEDIASUBTYPE_MPEG2_AUDIO, 0, "MPEG2"},
        {MediaGuids::Mpeg2(0xE06D8032), 0, "LPCM"},
        {MEDIASUBTYPE_MPEG1Packet, 0, "MPEG1Packet"},
        {Guid::FromFourCC("mp4a"), 0, "mp4a"},
        {MediaGuids::Make(1, 2, 3, {}), 0, ""},
    };
    for (const Case &c : cases)
        EXPECT_EQ(AudioSubtypeName(AudioType(c.subtype, c.tag)), c.name) << c.name;

    MediaType notAudio = AudioType(waveTag, 0x0001);
    notAudio.majortype = MEDIATYPE_Video;
    EXPECT_EQ(AudioSubtypeName(notAudio), "");
    MediaType shortBlock = AudioType(MEDIASUBTYPE_DOLBY_AC3, 0x0001);
    shortBlock.format.resize(17);
    EXPECT_EQ(AudioSubtypeName(shortBlock), "DOLBY AC3");
}
