#include "SplitterCollector.h"
#include "platform/graph/AsyncFileSource.h"
#include "platform/graph/AvformatFileSplitter.h"
#include "platform/graph/ClassRegistry.h"
#include "platform/graph/MediaGuids.h"
#include "support/TestMedia.h"

#include <gtest/gtest.h>

// Each splitter opens its containers behind the byte-stream source and offers their streams;
// other containers are refused at the connection.
TEST(AvformatFileSplitter, OpensItsContainersBehindTheFileSource)
{
    struct Case {
        Guid splitter;
        const char *name;
        const char *file;
        std::vector<Guid> streams; // major types; empty: the connection is refused
    } cases[] = {
        {CLSID_MPEG2Splitter, "MPEG-2 Splitter", "mpeg2_mp2.mpg", {MEDIATYPE_Video, MEDIATYPE_Audio}},
        {CLSID_MPEG2Splitter, "MPEG-2 Splitter", "mpeg2_mp2.ts", {MEDIATYPE_Video, MEDIATYPE_Audio}},
        {CLSID_MPEG2Splitter, "MPEG-2 Splitter", "tone_1khz.wav", {}},
        {CLSID_MPEG1Splitter, "MPEG-I Stream Splitter", "mpeg2_mp2.mpg", {MEDIATYPE_Video, MEDIATYPE_Audio}},
        {CLSID_MPEG1Splitter, "MPEG-I Stream Splitter", "mpeg2_mp2.ts", {}},
        {CLSID_WAVEParser, "Wave Parser", "tone_1khz.wav", {MEDIATYPE_Audio}},
        {CLSID_WAVEParser, "Wave Parser", "dv_pal_16x9_type1.avi", {}},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(std::string(c.name) + " " + c.file);
        std::shared_ptr<Filter> source, splitter;
        ASSERT_EQ(ClassRegistry::Default().CreateInstance(CLSID_AsyncReader, source), S_OK);
        ASSERT_EQ(ClassRegistry::Default().CreateInstance(c.splitter, splitter), S_OK);
        EXPECT_EQ(splitter->Name(), c.name);
        ASSERT_EQ(source->Query<FileSourceFilter>()->Load(TestMedia::Path(c.file).toStdString(), nullptr),
                  S_OK);
        const HRESULT hr = static_cast<OutputPin *>(source->GetPin(0))
                               ->Connect(*static_cast<InputPin *>(splitter->GetPin(0)));
        EXPECT_EQ(SUCCEEDED(hr), !c.streams.empty());
        ASSERT_EQ(splitter->PinCount(), 1 + (SUCCEEDED(hr) ? c.streams.size() : 0));
        for (std::size_t i = 0; SUCCEEDED(hr) && i < c.streams.size(); ++i)
            EXPECT_EQ(splitter->GetPin(1 + i)->MediaTypes().at(0).majortype, c.streams[i]);
    }
}

// The wave file's sound arrives whole: one second of 16-bit PCM.
TEST(AvformatFileSplitter, DeliversTheWaveFile)
{
    std::shared_ptr<Filter> source, splitter;
    ASSERT_EQ(ClassRegistry::Default().CreateInstance(CLSID_AsyncReader, source), S_OK);
    ASSERT_EQ(ClassRegistry::Default().CreateInstance(CLSID_WAVEParser, splitter), S_OK);
    ASSERT_EQ(
        source->Query<FileSourceFilter>()->Load(TestMedia::Path("tone_1khz.wav").toStdString(), nullptr),
        S_OK);
    ASSERT_EQ(
        static_cast<OutputPin *>(source->GetPin(0))->Connect(*static_cast<InputPin *>(splitter->GetPin(0))),
        S_OK);
    SplitterCollector sound;
    ASSERT_EQ(static_cast<OutputPin *>(splitter->GetPin(1))->Connect(sound.Input()), S_OK);
    MediaType type;
    ASSERT_EQ(splitter->GetPin(1)->ConnectionMediaType(type), S_OK);
    WAVEFORMATEX wave;
    ASSERT_TRUE(type.ReadFormat(wave));
    ASSERT_EQ(splitter->Pause(), S_OK);
    const bool ended = sound.WaitForEnd();
    ASSERT_EQ(splitter->Stop(), S_OK);
    ASSERT_TRUE(ended);
    std::size_t bytes = 0;
    for (const SamplePtr &s : sound.Samples())
        bytes += s->ActualLength();
    REFERENCE_TIME duration = 0;
    ASSERT_EQ(splitter->Query<MediaSeeking>()->GetDuration(duration), S_OK);
    EXPECT_EQ(bytes, std::size_t(double(duration) / 1e7 * wave.nAvgBytesPerSec + 0.5));
}
