#include "platform/graph/AviSplitter.h"
#include "SplitterCollector.h"
#include "platform/graph/AsyncFileSource.h"
#include "platform/graph/ClassRegistry.h"
#include "platform/graph/MediaGuids.h"
#include "support/TestMedia.h"

#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace
{
struct Chain {
    std::shared_ptr<Filter> source;
    std::shared_ptr<Filter> splitter;
};

// A file source loaded with `path` and connected to an AVI splitter, both made by class id.
Chain ConnectedPath(const QString &path)
{
    Chain chain;
    auto &registry = ClassRegistry::Default();
    EXPECT_EQ(registry.CreateInstance(CLSID_AsyncReader, chain.source), S_OK);
    EXPECT_EQ(registry.CreateInstance(CLSID_AviSplitter, chain.splitter), S_OK);
    EXPECT_EQ(chain.source->Query<FileSourceFilter>()->Load(path.toStdString(), nullptr), S_OK);
    auto *out = static_cast<OutputPin *>(chain.source->GetPin(0));
    EXPECT_EQ(out->Connect(*static_cast<InputPin *>(chain.splitter->GetPin(0))), S_OK);
    return chain;
}

Chain Connected(const char *file)
{
    return ConnectedPath(TestMedia::Path(file));
}
} // namespace

// Type-1 DV comes out as one interleaved pin; type-2 DV as a DV video pin and a PCM audio pin.
TEST(AviSplitter, OffersAPinPerStream)
{
    struct Case {
        const char *file;
        std::vector<std::pair<Guid, Guid>> pins; // major type, format type
    } cases[] = {
        {"dv_pal_16x9_type1.avi", {{MEDIATYPE_Interleaved, FORMAT_DvInfo}}},
        {"dv_ntsc_4x3_type1.avi", {{MEDIATYPE_Interleaved, FORMAT_DvInfo}}},
        {"dv_pal_16x9_type2.avi",
         {{MEDIATYPE_Video, FORMAT_VideoInfo}, {MEDIATYPE_Audio, FORMAT_WaveFormatEx}}},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.file);
        const Chain chain = Connected(c.file);
        ASSERT_EQ(chain.splitter->PinCount(), 1 + c.pins.size());
        for (std::size_t i = 0; i < c.pins.size(); ++i) {
            const MediaType type = chain.splitter->GetPin(1 + i)->MediaTypes().at(0);
            EXPECT_EQ(type.majortype, c.pins[i].first);
            EXPECT_EQ(type.formattype, c.pins[i].second);
            EXPECT_TRUE(IsCompleteMediaType(type));
            if (type.majortype != MEDIATYPE_Audio)
                EXPECT_EQ(type.subtype, MEDIASUBTYPE_dvsd);
            else
                EXPECT_EQ(type.subtype, MEDIASUBTYPE_PCM);
        }
    }
    // Not an AVI: the connection is refused.
    std::shared_ptr<Filter> source, splitter;
    ASSERT_EQ(ClassRegistry::Default().CreateInstance(CLSID_AsyncReader, source), S_OK);
    ASSERT_EQ(ClassRegistry::Default().CreateInstance(CLSID_AviSplitter, splitter), S_OK);
    ASSERT_EQ(
        source->Query<FileSourceFilter>()->Load(TestMedia::Path("dv_pal_16x9.dv").toStdString(), nullptr),
        S_OK);
    EXPECT_FALSE(SUCCEEDED(
        static_cast<OutputPin *>(source->GetPin(0))->Connect(*static_cast<InputPin *>(splitter->GetPin(0)))));
    EXPECT_EQ(splitter->PinCount(), 1u);
}

// Every frame is delivered once in order; after a seek the stream restarts at the frame at or
// before the target, in a segment that starts at the target.
TEST(AviSplitter, DeliversTheFramesAndSeeksToTheFrameBeforeTheTarget)
{
    const Chain chain = Connected("dv_pal_16x9_type2.avi");
    SplitterCollector video, audio;
    ASSERT_EQ(static_cast<OutputPin *>(chain.splitter->GetPin(1))->Connect(video.Input()), S_OK);
    ASSERT_EQ(static_cast<OutputPin *>(chain.splitter->GetPin(2))->Connect(audio.Input()), S_OK);
    auto *seeking = chain.splitter->Query<MediaSeeking>();
    ASSERT_TRUE(seeking);
    REFERENCE_TIME duration = 0;
    ASSERT_EQ(seeking->GetDuration(duration), S_OK);
    EXPECT_EQ(duration, 20'000'000);

    ASSERT_EQ(chain.splitter->Pause(), S_OK);
    ASSERT_TRUE(video.WaitForEnd());
    ASSERT_TRUE(audio.WaitForEnd());
    const std::vector<SamplePtr> frames = video.Samples();
    ASSERT_EQ(frames.size(), 50u);
    for (std::size_t i = 0; i < frames.size(); ++i) {
        EXPECT_EQ(frames[i]->Start(), REFERENCE_TIME(i) * 400'000);
        EXPECT_EQ(frames[i]->ActualLength(), 144000u);
    }
    EXPECT_FALSE(audio.Samples().empty());

    video.Clear();
    audio.Clear();
    REFERENCE_TIME target = 10'300'000; // between frames 25 and 26
    ASSERT_EQ(
        seeking->SetPositions(&target, AM_SEEKING_AbsolutePositioning, nullptr, AM_SEEKING_NoPositioning),
        S_OK);
    ASSERT_TRUE(video.WaitForEnd());
    ASSERT_TRUE(audio.WaitForEnd());
    EXPECT_EQ(video.Input().SegmentStart(), target);
    const std::vector<SamplePtr> after = video.Samples();
    ASSERT_EQ(after.size(), 25u);
    EXPECT_EQ(after.front()->Start(), 10'000'000 - target);
    EXPECT_TRUE(after.front()->IsSyncPoint());
    ASSERT_FALSE(audio.Samples().empty());
    EXPECT_LE(audio.Samples().front()->Start(), after.front()->Start());
    EXPECT_GT(audio.Samples().front()->Stop(), after.front()->Start());
    ASSERT_EQ(chain.splitter->Stop(), S_OK);
}

// With a key frame every tenth picture, a seek between key frames starts at the key frame before
// the target: its picture comes first, at a negative time in the segment that starts at the target.
TEST(AviSplitter, SeeksToTheKeyFrameBeforeTheTarget)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString path = dir.filePath("gop10.avi");
    QProcess ffmpeg;
    ffmpeg.start("ffmpeg", {"-v", "error", "-f", "lavfi", "-i", "testsrc=size=64x48:rate=25", "-t", "2",
                            "-c:v", "mpeg4", "-g", "10", path});
    ASSERT_TRUE(ffmpeg.waitForFinished(60000));
    ASSERT_EQ(ffmpeg.exitCode(), 0);

    const Chain chain = ConnectedPath(path);
    ASSERT_EQ(chain.splitter->PinCount(), 2u);
    SplitterCollector video;
    ASSERT_EQ(static_cast<OutputPin *>(chain.splitter->GetPin(1))->Connect(video.Input()), S_OK);
    REFERENCE_TIME target = 13'000'000; // picture 32; key frames at 30 and 40
    auto *seeking = chain.splitter->Query<MediaSeeking>();
    ASSERT_EQ(
        seeking->SetPositions(&target, AM_SEEKING_AbsolutePositioning, nullptr, AM_SEEKING_NoPositioning),
        S_OK);
    ASSERT_EQ(chain.splitter->Pause(), S_OK);
    ASSERT_TRUE(video.WaitForEnd());
    ASSERT_EQ(chain.splitter->Stop(), S_OK);
    EXPECT_EQ(video.Input().SegmentStart(), target);
    const std::vector<SamplePtr> frames = video.Samples();
    ASSERT_EQ(frames.size(), 20u);
    EXPECT_EQ(frames[0]->Start(), 12'000'000 - target);
    for (std::size_t i = 0; i < frames.size(); ++i)
        EXPECT_EQ(frames[i]->IsSyncPoint(), i % 10 == 0) << i;
}
