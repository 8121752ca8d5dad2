#include "support/MediaFacts.h"
#include "support/TestMedia.h"

#include "platform/graph/CodecMediaType.h"
#include "platform/graph/Graph.h"
#include "platform/graph/MediaGuids.h"

#include <gtest/gtest.h>

extern "C" {
#include <libavcodec/avcodec.h>
}

#include <numeric>

namespace
{

struct ClipType {
    MediaFacts::ClipFacts clip;
    Guid subtype;
    Guid format;
};

std::ostream &operator<<(std::ostream &out, const ClipType &c)
{
    return out << c.clip.file;
}

// The picture header of any of the video format blocks.
VIDEOINFOHEADER2 PictureOf(const MediaType &type)
{
    VIDEOINFOHEADER2 vih2;
    VIDEOINFOHEADER vih;
    MPEG1VIDEOINFO mpeg1;
    if (type.formattype == FORMAT_VideoInfo2 || type.formattype == FORMAT_MPEG2Video) {
        type.ReadFormat(vih2);
        return vih2;
    }
    if (type.formattype == FORMAT_MPEGVideo && type.ReadFormat(mpeg1))
        vih = mpeg1.hdr;
    else
        type.ReadFormat(vih);
    vih2.AvgTimePerFrame = vih.AvgTimePerFrame;
    vih2.bmiHeader = vih.bmiHeader;
    return vih2;
}

} // namespace

// The source offers each stream with the type a splitter gives it, filled from the stream.
class SourceTypes : public ::testing::TestWithParam<ClipType>
{
};

TEST_P(SourceTypes, DescribeTheStreamsAndRebuildTheirCodecParameters)
{
    const ClipType c = GetParam();
    Graph graph;
    FilterPtr source;
    ASSERT_EQ(graph.AddSourceFilter(TestMedia::Path(c.clip.file).toStdString(), "", source), S_OK);
    int audioIndex = 0;
    for (Pin *pin : source->Pins()) {
        const MediaType type = pin->MediaTypes().at(0);
        const AVCodecParameters *given = static_cast<OutputPin *>(pin)->CodecParameters();
        ASSERT_NE(given, nullptr);
        AVCodecParameters *rebuilt = avcodec_parameters_alloc();
        ASSERT_TRUE(CodecMediaType::ToParameters(type, *rebuilt));
        EXPECT_EQ(rebuilt->codec_id, given->codec_id);
        EXPECT_EQ(std::vector<uint8_t>(rebuilt->extradata, rebuilt->extradata + rebuilt->extradata_size),
                  std::vector<uint8_t>(given->extradata, given->extradata + given->extradata_size));
        if (type.majortype == MEDIATYPE_Video) {
            const MediaFacts::VideoFacts &video = *c.clip.video;
            EXPECT_EQ(avcodec_get_name(given->codec_id), std::string(video.codec));
            EXPECT_EQ(type.subtype, c.subtype);
            EXPECT_EQ(type.formattype, c.format);
            const VIDEOINFOHEADER2 picture = PictureOf(type);
            EXPECT_EQ(picture.bmiHeader.biWidth, video.width);
            EXPECT_EQ(picture.bmiHeader.biHeight, video.height);
            EXPECT_EQ(picture.AvgTimePerFrame,
                      (20'000'000LL * video.frameRate.den / video.frameRate.num + 1) / 2);
            if (c.format != FORMAT_VideoInfo) {
                const uint32_t g = std::gcd(picture.dwPictAspectRatioX, picture.dwPictAspectRatioY);
                EXPECT_EQ(picture.dwPictAspectRatioX / g, uint32_t(video.displayAspect.num));
                EXPECT_EQ(picture.dwPictAspectRatioY / g, uint32_t(video.displayAspect.den));
            }
            EXPECT_EQ(rebuilt->width, video.width);
            EXPECT_EQ(rebuilt->height, video.height);
        } else {
            const MediaFacts::AudioFacts &audio = *c.clip.audio.at(audioIndex++);
            EXPECT_EQ(avcodec_get_name(given->codec_id), std::string(audio.codec));
            WAVEFORMATEX wfx;
            ASSERT_EQ(type.formattype, FORMAT_WaveFormatEx);
            ASSERT_TRUE(type.ReadFormat(wfx));
            EXPECT_EQ(wfx.nChannels, audio.channels);
            EXPECT_EQ(wfx.nSamplesPerSec, uint32_t(audio.sampleRate));
            EXPECT_EQ(wfx.cbSize, given->extradata_size);
            EXPECT_EQ(type.format.size(), sizeof(WAVEFORMATEX) + wfx.cbSize);
            EXPECT_EQ(rebuilt->ch_layout.nb_channels, audio.channels);
        }
        avcodec_parameters_free(&rebuilt);
    }
}

namespace
{

using namespace MediaFacts;
const ClipType ClipTypes[] = {
    {H264Aac, MEDIASUBTYPE_AVC1, FORMAT_MPEG2Video},
    {Mpeg2Ps, MEDIASUBTYPE_MPEG2_VIDEO, FORMAT_MPEG2Video},
    {Mpeg2Ts, MEDIASUBTYPE_MPEG2_VIDEO, FORMAT_MPEG2Video},
    {DvPal, MEDIASUBTYPE_dvsd, FORMAT_VideoInfo},
    {DvNtscType2, MEDIASUBTYPE_dvsd, FORMAT_VideoInfo},
    {H264VorbisMkv, MEDIASUBTYPE_AVC1, FORMAT_MPEG2Video},
    {Wmv2Asf, MediaGuids::FourCC(MediaGuids::Code("WMV2")), FORMAT_VideoInfo2},
    {ToneWav, GUID_NULL, GUID_NULL},
};

} // namespace

INSTANTIATE_TEST_SUITE_P(Clips, SourceTypes, ::testing::ValuesIn(ClipTypes), [](const auto &info) {
    std::string name = info.param.clip.file;
    for (char &ch : name)
        if (!isalnum(static_cast<unsigned char>(ch)))
            ch = '_';
    return name;
});

TEST(CodecMediaType, AvcStoredFormGivesTheNalLengthSizeAndStartCodeFormAnotherSubtype)
{
    AVCodecParameters *codec = avcodec_parameters_alloc();
    codec->codec_type = AVMEDIA_TYPE_VIDEO;
    codec->codec_id = AV_CODEC_ID_H264;
    codec->width = 64;
    codec->height = 48;
    const uint8_t avcC[] = {1, 0x64, 0, 0x1F, 0xFF, 0xE1, 0, 0};
    codec->extradata = static_cast<uint8_t *>(av_mallocz(sizeof avcC + AV_INPUT_BUFFER_PADDING_SIZE));
    std::copy(std::begin(avcC), std::end(avcC), codec->extradata);
    codec->extradata_size = sizeof avcC;
    MediaType type;
    ASSERT_TRUE(CodecMediaType::FromParameters(*codec, {25, 1}, {0, 1}, type));
    EXPECT_EQ(type.subtype, MEDIASUBTYPE_AVC1);
    MPEG2VIDEOINFO info;
    ASSERT_TRUE(type.ReadFormat(info));
    EXPECT_EQ(info.dwFlags, 4u);
    EXPECT_EQ(info.cbSequenceHeader, sizeof avcC);
    EXPECT_EQ(type.format.size(), offsetof(MPEG2VIDEOINFO, dwSequenceHeader) + sizeof avcC);

    codec->extradata[0] = 0; // start codes
    ASSERT_TRUE(CodecMediaType::FromParameters(*codec, {25, 1}, {0, 1}, type));
    EXPECT_EQ(type.subtype, MEDIASUBTYPE_H264);
    EXPECT_EQ(type.formattype, FORMAT_VideoInfo2);
    EXPECT_EQ(CodecMediaType::CodecId(type), AV_CODEC_ID_H264);
    avcodec_parameters_free(&codec);

    MediaType unknown;
    unknown.majortype = MEDIATYPE_Video;
    unknown.subtype = MediaGuids::FourCC(MediaGuids::Code("ZZZZ"));
    EXPECT_EQ(CodecMediaType::CodecId(unknown), AV_CODEC_ID_NONE);
}
