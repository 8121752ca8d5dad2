#include "framework/IniPreferencesMan.h"
#include "media/DVMan.h"
#include "media/DecoderLinks.h"
#include "media/FilterQueries.h"
#include "media/FrameData.h"
#include "media/GraphWalks.h"
#include "media/GrapheMan.h"
#include "media/StreamMessages.h"
#include "platform/graph/ClassRegistry.h"
#include "platform/graph/FileSourceFilter.h"
#include "platform/graph/LavSplitterSource.h"
#include "platform/graph/NullAudioRenderer.h"
#include "platform/graph/NullVideoRenderer.h"
#include "support/MediaFacts.h"
#include "support/QStringPrinter.h"
#include "support/TestMedia.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace
{

const Guid ClassA = *Guid::FromString("{11111111-2222-3333-4444-555555555555}");
const Guid ClassB = *Guid::FromString("{AAAAAAAA-BBBB-CCCC-DDDD-EEEEEEEEEEEE}");

MediaTypeKey Key(const Guid &subtype, const Guid &format = FORMAT_VideoInfo2)
{
    return {MEDIATYPE_Video, subtype, format};
}

// A graph manager holding a file source whose streams go through decoders to null renderers.
struct ManagedGraph {
    TGrapheMan manager;
    FilterPtr source;
    std::shared_ptr<NullVideoRenderer> video = std::make_shared<NullVideoRenderer>();

    explicit ManagedGraph(const char *file)
    {
        Graph &graph = *manager.GraphBuilder;
        EXPECT_EQ(graph.AddFilterByClass(CLSID_LAVSplitterSource, "Source", source), S_OK);
        EXPECT_EQ(source->Query<FileSourceFilter>()->Load(TestMedia::Path(file).toStdString(), nullptr),
                  S_OK);
        graph.AddFilter(video, "Video");
        EXPECT_EQ(graph.Connect(*source->GetPin(0), *video->GetPin(0)), S_OK);
    }
    Filter *Decoder() const { return &video->GetPin(0)->ConnectedTo()->Owner(); }
};

} // namespace

TEST(FilterRecs, FindOrAddMatchesAllThreeFields)
{
    TFilterRecs recs;
    EXPECT_EQ(recs.Count(), 2u) << "the two sentinels";
    EXPECT_EQ(recs.NoVideoDecoder()->Name, QStringLiteral("No Video Decoder"));
    TFilterRec *a = recs.FindOrAdd(ClassA, "Decoder", false);
    EXPECT_EQ(recs.FindOrAdd(ClassA, "Decoder", false), a);
    EXPECT_NE(recs.FindOrAdd(ClassA, "decoder", false), a) << "names compare with case";
    EXPECT_NE(recs.FindOrAdd(ClassA, "Decoder", true), a);
    EXPECT_EQ(recs.Count(), 5u);
    EXPECT_EQ(recs.FindOrAdd(GUID_NULL, "No Video Decoder", false), recs.NoVideoDecoder());
}

// A private record whose library is missing falls back to the class registry.
TEST(FilterRecs, CreateFilterFallsBackToTheRegistry)
{
    TFilterRecs recs;
    const TFilterRec *lav = recs.FindOrAdd(CLSID_LAVSplitterSource, "LAV Splitter Source", true);
    EXPECT_NE(CreateFilter(*lav), nullptr);
    EXPECT_EQ(CreateFilter(*recs.FindOrAdd(ClassA, "Nowhere", false)), nullptr);
}

TEST(DecoderLinks, MatchOnAllThreeGuids)
{
    TDecoderLinks links;
    TFilterRecs recs;
    TFilterRec *a = recs.FindOrAdd(ClassA, "A", false), *b = recs.FindOrAdd(ClassB, "B", false);
    links.SetDecoder(Key(MEDIASUBTYPE_H264), a);
    links.SetDecoder(Key(MEDIASUBTYPE_H264, FORMAT_MPEG2Video), b);
    EXPECT_EQ(links.GetDecoder(Key(MEDIASUBTYPE_H264)), a);
    EXPECT_EQ(links.GetDecoder(Key(MEDIASUBTYPE_H264, FORMAT_MPEG2Video)), b);
    links.SetDecoder(Key(MEDIASUBTYPE_H264), b);
    EXPECT_EQ(links.Links().size(), 2u);
    links.Forget(Key(MEDIASUBTYPE_H264));
    EXPECT_EQ(links.IndexOf(Key(MEDIASUBTYPE_H264)), -1);
    EXPECT_EQ(links.GetDecoder(Key(MEDIASUBTYPE_H264, FORMAT_MPEG2Video)), b);
}

// Three links saved, then one: dc0 is rewritten, dc1 and dc2 stay and load again; a subkey with a
// broken GUID is skipped.
TEST(DecoderLinks, RoundTripThroughThePreferences)
{
    QTemporaryDir dir;
    const QString ini = dir.filePath("Kestrin.ini");
    TFilterRec *a = FilterRecs().FindOrAdd(ClassA, "Decoder A", false);
    TFilterRec *b = FilterRecs().FindOrAdd(ClassB, "Decoder B", true);
    {
        TDecoderLinks three;
        three.SetDecoder(Key(MEDIASUBTYPE_H264), a);
        three.SetDecoder(Key(MEDIASUBTYPE_YV12), b);
        three.SetDecoder(Key(MEDIASUBTYPE_NV12), a);
        TIniPreferencesMan prefs(ini);
        ASSERT_TRUE(prefs.OpenKey("VideoDecoders", true));
        three.SaveLinks(prefs);
    }
    {
        TDecoderLinks one;
        one.SetDecoder(Key(MEDIASUBTYPE_YUY2), b);
        TIniPreferencesMan prefs(ini);
        ASSERT_TRUE(prefs.OpenKey("VideoDecoders", true));
        one.SaveLinks(prefs);
        ASSERT_TRUE(prefs.OpenKey("dc9", true));
        prefs.WriteString("majortype", "{not a guid}");
    }
    TDecoderLinks loaded;
    TIniPreferencesMan prefs(ini);
    ASSERT_TRUE(prefs.OpenKey("VideoDecoders", false));
    loaded.LoadLinks(prefs);
    ASSERT_EQ(loaded.Links().size(), 3u);
    EXPECT_EQ(loaded.GetDecoder(Key(MEDIASUBTYPE_YUY2)), b) << "dc0 rewritten";
    EXPECT_EQ(loaded.GetDecoder(Key(MEDIASUBTYPE_YV12)), b) << "dc1 kept";
    EXPECT_EQ(loaded.GetDecoder(Key(MEDIASUBTYPE_NV12)), a) << "dc2 kept";
    EXPECT_EQ(loaded.GetDecoder(Key(MEDIASUBTYPE_H264)), nullptr);
}

// Between a renderer and the filter feeding its decoder: RemoveBetween takes the decoder out and
// leaves both ends in the graph, disconnected; RemoveChainBetween follows inputs only.
TEST(GraphWalks, RemoveBetweenTakesOutTheDecoder)
{
    ManagedGraph g(MediaFacts::H264Aac.file);
    Graph &graph = *g.manager.GraphBuilder;
    Filter *decoder = g.Decoder();
    ASSERT_NE(decoder, g.source.get());
    EXPECT_TRUE(IsDownstreamOf(g.video.get(), g.source.get()));
    EXPECT_TRUE(IsDownstreamOf(g.video.get(), decoder));
    EXPECT_FALSE(IsDownstreamOf(g.source.get(), g.video.get()));
    EXPECT_FALSE(IsDownstreamOf(nullptr, g.source.get()));

    EXPECT_TRUE(RemoveBetween(g.video.get(), g.source.get(), graph));
    EXPECT_EQ(graph.Filters().size(), 2u);
    EXPECT_FALSE(AnyPinConnected(g.video.get()));
    EXPECT_FALSE(g.source->GetPin(0)->IsConnected());
}

TEST(GraphWalks, RemoveChainBetweenAndDirectConnections)
{
    ManagedGraph g(MediaFacts::H264Aac.file);
    Graph &graph = *g.manager.GraphBuilder;
    Filter *decoder = g.Decoder();
    EXPECT_TRUE(RemoveChainBetween(g.video.get(), g.source.get(), graph));
    EXPECT_EQ(graph.Filters().size(), 2u);

    // A renderer fed straight by the filter: only disconnected.
    auto direct = std::make_shared<NullVideoRenderer>();
    ASSERT_EQ(graph.Connect(*g.source->GetPin(0), *g.video->GetPin(0)), S_OK);
    decoder = g.Decoder();
    EXPECT_TRUE(RemoveBetween(g.video.get(), decoder, graph));
    EXPECT_EQ(graph.Filters().size(), 3u);
    EXPECT_TRUE(g.source->GetPin(0)->IsConnected()) << "nothing upstream of the decoder touched";
}

// Pruning keeps filters with one connected pin and removes those with none, from the last.
TEST(GrapheMan, RemoveUnconnectedFiltersAndStates)
{
    ManagedGraph g(MediaFacts::H264Aac.file); // the source's audio pin stays unconnected
    Graph &graph = *g.manager.GraphBuilder;
    graph.AddFilter(std::make_shared<NullAudioRenderer>(), "Lonely 1");
    graph.AddFilter(std::make_shared<NullVideoRenderer>(), "Lonely 2");
    const size_t before = graph.Filters().size();
    g.manager.RemoveUnconnectedFilters();
    EXPECT_EQ(graph.Filters().size(), before - 2);
    EXPECT_NE(graph.FindFilterByName("Source"), nullptr);

    std::vector<TGrapheManState> states;
    g.manager.OnStateChange = [&](TGrapheManState s) { states.push_back(s); };
    EXPECT_TRUE(g.manager.Pause());
    EXPECT_EQ(g.manager.GraphState(), 2);
    EXPECT_TRUE(g.manager.Play());
    EXPECT_EQ(g.manager.GraphState(), 3);
    EXPECT_TRUE(g.manager.Stop());
    EXPECT_EQ(g.manager.GraphState(), 1);
    EXPECT_EQ(states, (std::vector<TGrapheManState>{gmPaused, gmPlaying, gmStopped}));
}

// The media played to its end raises the completion event once.
TEST(GrapheMan, GraphCompletedAtTheEnd)
{
    ManagedGraph g(MediaFacts::H264TwoAac.file);
    g.manager.GraphBuilder->SetSyncSource(nullptr);
    int completed = 0;
    g.manager.OnGraphCompleted = [&] { ++completed; };
    ASSERT_TRUE(g.manager.Play());
    QElapsedTimer timer;
    timer.start();
    while (completed == 0 && timer.elapsed() < 20000)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    EXPECT_EQ(completed, 1);
}

// Recording dates and time codes reach the DV manager's events: a date only while valid and while
// the gate is open, a time code as its text.
TEST(DVMan, DatecodeAndTimecodeEvents)
{
    TDVMan dv;
    QStringList dates, codes;
    dv.OnDatecode = [&](const QString &text) { dates << text; };
    dv.OnTimecode = [&](const QString &text) { codes << text; };
    TframeData record;
    record.DateValid = true;
    record.DatecodeText = "14/07/2005 10:31:07";
    record.TimecodeText = "1:02:03:04";
    const auto address = reinterpret_cast<LPARAM>(&record);
    MessageWindow::SendMessage(dv.Handle(), WM_DATECODE, 0, address);
    MessageWindow::SendMessage(dv.Handle(), WM_TIMECODE, 0, address);
    record.DateValid = false;
    MessageWindow::SendMessage(dv.Handle(), WM_DATECODE, 0, address);
    dv.DatecodeEventsOn = false;
    MessageWindow::SendMessage(dv.Handle(), WM_DATECODE, 0, address);
    MessageWindow::SendMessage(dv.Handle(), WM_TIMECODE, 0, 0);
    EXPECT_EQ(dates, (QStringList{"14/07/2005 10:31:07", ""}));
    EXPECT_EQ(codes, (QStringList{"1:02:03:04"}));
}
