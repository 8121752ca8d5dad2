#include "platform/graph/DvSplitter.h"
#include "SplitterCollector.h"
#include "platform/graph/AsyncFileSource.h"
#include "platform/graph/AviSplitter.h"
#include "platform/graph/ClassRegistry.h"
#include "platform/graph/MediaGuids.h"
#include "support/TestMedia.h"

#include <QFile>
#include <QProcess>

#include <gtest/gtest.h>

#include <cstring>

namespace
{
QByteArray FfmpegAudio(const QString &path)
{
    QProcess ffmpeg;
    ffmpeg.start("ffmpeg", {"-v", "error", "-i", path, "-map", "0:a:0", "-f", "s16le", "-"});
    if (!ffmpeg.waitForFinished(60000) || ffmpeg.exitCode() != 0)
        return {};
    return ffmpeg.readAllStandardOutput();
}
} // namespace

// A type-1 DV AVI through the file source, the AVI splitter and the DV splitter: every frame on the DV video
// pin, and on the PCM pin the same sound FFmpeg decodes from the file.
TEST(DvSplitter, SplitsInterleavedFramesIntoPictureAndSound)
{
    struct Case {
        const char *file;
        int height;
        std::size_t frames;
    } cases[] = {{"dv_pal_16x9_type1.avi", 576, 50}, {"dv_ntsc_4x3_type1.avi", 480, 60}};
    for (const Case &c : cases) {
        SCOPED_TRACE(c.file);
        const QString path = TestMedia::Path(c.file);
        std::shared_ptr<Filter> source, avi;
        auto &registry = ClassRegistry::Default();
        ASSERT_EQ(registry.CreateInstance(CLSID_AsyncReader, source), S_OK);
        ASSERT_EQ(registry.CreateInstance(CLSID_AviSplitter, avi), S_OK);
        ASSERT_EQ(source->Query<FileSourceFilter>()->Load(path.toStdString(), nullptr), S_OK);
        ASSERT_EQ(
            static_cast<OutputPin *>(source->GetPin(0))->Connect(*static_cast<InputPin *>(avi->GetPin(0))),
            S_OK);
        ASSERT_EQ(avi->PinCount(), 2u);
        EXPECT_EQ(avi->GetPin(1)->MediaTypes().at(0).majortype, MEDIATYPE_Interleaved);
        std::shared_ptr<Filter> splitter;
        ASSERT_EQ(registry.CreateInstance(CLSID_DVSplitter, splitter), S_OK);
        EXPECT_EQ(splitter->Name(), "DV Splitter");
        SplitterCollector video, audio;
        ASSERT_EQ(
            static_cast<OutputPin *>(avi->GetPin(1))->Connect(*static_cast<InputPin *>(splitter->GetPin(0))),
            S_OK);
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
        ASSERT_EQ(avi->Pause(), S_OK);
        const bool ended = video.WaitForEnd() && audio.WaitForEnd();
        ASSERT_EQ(splitter->Stop(), S_OK);
        ASSERT_EQ(avi->Stop(), S_OK);
        ASSERT_TRUE(ended);

        EXPECT_EQ(video.Samples().size(), c.frames);
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
