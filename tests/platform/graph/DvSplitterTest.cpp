#include "platform/graph/DvSplitter.h"
#include "SplitterCollector.h"
#include "platform/graph/AviRiffParser.h"
#include "platform/graph/ClassRegistry.h"
#include "platform/graph/MediaGuids.h"
#include "support/TestMedia.h"

#include <QFile>
#include <QProcess>

#include <gtest/gtest.h>

#include <cstring>

namespace
{
// Offers one interleaved DV type and delivers what the test hands it on the test's thread.
class DvFrameSource : public Filter
{
  public:
    explicit DvFrameSource(MediaType type) : Filter(GUID_NULL, "DV frames")
    {
        out_ = AddPin<Out>(*this, std::move(type));
    }
    OutputPin &Output() const { return *out_; }

  private:
    class Out : public OutputPin
    {
      public:
        Out(Filter &owner, MediaType type) : OutputPin(owner, "Output"), type_(std::move(type)) {}
        std::vector<MediaType> MediaTypes() const override { return {type_}; }
        HRESULT CheckMediaType(const MediaType &type) const override
        {
            return MediaTypeMatches(type, type_) ? S_OK : VFW_E_TYPE_NOT_ACCEPTED;
        }

      private:
        MediaType type_;
    };
    Out *out_;
};

QByteArray FfmpegAudio(const QString &path)
{
    QProcess ffmpeg;
    ffmpeg.start("ffmpeg", {"-v", "error", "-i", path, "-map", "0:a:0", "-f", "s16le", "-"});
    if (!ffmpeg.waitForFinished(60000) || ffmpeg.exitCode() != 0)
        return {};
    return ffmpeg.readAllStandardOutput();
}
} // namespace

// The frames of a type-1 DV AVI through the splitter: every frame on the DV video pin, and on the
// PCM pin the same sound FFmpeg decodes from the file.
TEST(DvSplitter, SplitsInterleavedFramesIntoPictureAndSound)
{
    struct Case {
        const char *file;
        int height;
    } cases[] = {{"dv_pal_16x9_type1.avi", 576}, {"dv_ntsc_4x3_type1.avi", 480}};
    for (const Case &c : cases) {
        SCOPED_TRACE(c.file);
        const QString path = TestMedia::Path(c.file);
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::ReadOnly));
        const QByteArray bytes = file.readAll();
        AviRiffParser avi;
        ASSERT_TRUE(
            avi.Open(bytes.size(), [&](std::uint64_t offset, std::uint32_t length, std::uint8_t *out) {
                if (offset > std::uint64_t(bytes.size()) || length > bytes.size() - offset)
                    return false;
                std::memcpy(out, bytes.constData() + offset, length);
                return true;
            }));
        const AviRiffParser::Stream &stream = avi.Streams().at(0);
        MediaType type;
        type.majortype = MEDIATYPE_Interleaved;
        type.subtype = MEDIASUBTYPE_dvsd;
        type.formattype = FORMAT_DvInfo;
        type.format = stream.format;

        std::shared_ptr<Filter> splitter;
        ASSERT_EQ(ClassRegistry::Default().CreateInstance(CLSID_DVSplitter, splitter), S_OK);
        EXPECT_EQ(splitter->Name(), "DV Splitter");
        DvFrameSource source(type);
        SplitterCollector video, audio;
        ASSERT_EQ(source.Output().Connect(*static_cast<InputPin *>(splitter->GetPin(0))), S_OK);
        ASSERT_EQ(static_cast<OutputPin *>(splitter->GetPin(1))->Connect(video.Input()), S_OK);
        ASSERT_EQ(static_cast<OutputPin *>(splitter->GetPin(2))->Connect(audio.Input()), S_OK);

        MediaType videoType, audioType;
        ASSERT_EQ(splitter->GetPin(1)->ConnectionMediaType(videoType), S_OK);
        ASSERT_EQ(splitter->GetPin(2)->ConnectionMediaType(audioType), S_OK);
        VIDEOINFOHEADER info;
        ASSERT_TRUE(videoType.ReadFormat(info));
        EXPECT_EQ(videoType.subtype, MEDIASUBTYPE_dvsd);
        EXPECT_EQ(info.bmiHeader.biWidth, 720);
        EXPECT_EQ(info.bmiHeader.biHeight, c.height);
        WAVEFORMATEX wave;
        ASSERT_TRUE(audioType.ReadFormat(wave));
        EXPECT_EQ(wave.nSamplesPerSec, 48000u);
        EXPECT_EQ(wave.nChannels, 2);

        ASSERT_EQ(splitter->Pause(), S_OK);
        source.Output().DeliverNewSegment(0, INT64_MAX, 1.0);
        for (std::size_t i = 0; i < stream.chunks.size(); ++i) {
            std::vector<std::uint8_t> data;
            ASSERT_TRUE(avi.ReadChunk(stream.chunks[i], data));
            auto sample = std::make_shared<Sample>(data.size());
            std::memcpy(sample->Data(), data.data(), data.size());
            sample->SetActualLength(data.size());
            sample->SetTime(REFERENCE_TIME(i) * info.AvgTimePerFrame,
                            REFERENCE_TIME(i + 1) * info.AvgTimePerFrame);
            ASSERT_EQ(source.Output().Deliver(sample), S_OK);
        }
        source.Output().DeliverEndOfStream();
        const bool ended = video.WaitForEnd() && audio.WaitForEnd();
        ASSERT_EQ(splitter->Stop(), S_OK);
        ASSERT_TRUE(ended);

        EXPECT_EQ(video.Samples().size(), stream.chunks.size());
        QByteArray sound;
        REFERENCE_TIME lastStart = -1;
        for (const SamplePtr &s : audio.Samples()) {
            sound.append(reinterpret_cast<const char *>(s->Data()), qsizetype(s->ActualLength()));
            EXPECT_GT(s->Start(), lastStart);
            lastStart = s->Start();
        }
        const QByteArray expected = FfmpegAudio(path);
        ASSERT_FALSE(expected.isEmpty());
        EXPECT_EQ(sound.size(), expected.size());
        EXPECT_TRUE(sound == expected);
    }
}

// Only interleaved DV with its DVINFO block connects.
TEST(DvSplitter, AcceptsOnlyInterleavedDv)
{
    DvSplitter splitter;
    MediaType type;
    type.majortype = MEDIATYPE_Interleaved;
    type.subtype = MEDIASUBTYPE_dvsd;
    type.SetFormat(FORMAT_DvInfo, DVINFO{});
    EXPECT_EQ(splitter.GetPin(0)->CheckMediaType(type), S_OK);
    MediaType video = type;
    video.majortype = MEDIATYPE_Video;
    EXPECT_EQ(splitter.GetPin(0)->CheckMediaType(video), VFW_E_TYPE_NOT_ACCEPTED);
    MediaType noFormat = type;
    noFormat.format.clear();
    EXPECT_EQ(splitter.GetPin(0)->CheckMediaType(noFormat), VFW_E_TYPE_NOT_ACCEPTED);
}
