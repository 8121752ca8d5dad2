#include "PlaybackRig.h"
#include "PushSource.h"
#include "support/MediaFacts.h"
#include "support/TestMedia.h"

#include "platform/graph/CaptureGraphBuilder.h"
#include "platform/graph/DecoderClasses.h"
#include "platform/graph/MediaGuids.h"

#include <gtest/gtest.h>

#include <set>

namespace
{

// Refuses the decoders it is given and remembers what it was asked.
class RefusingCallback : public GraphBuilderCallback
{
  public:
    explicit RefusingCallback(std::set<Guid> refused) : refused_(std::move(refused)) {}
    HRESULT SelectedFilter(const Guid &classId) override
    {
        asked.push_back(classId);
        return refused_.count(classId) || refuseAll ? E_FAIL : S_OK;
    }
    std::vector<Guid> asked;
    bool refuseAll = false;

  private:
    std::set<Guid> refused_;
};

struct Snapshot {
    std::vector<Filter *> filters;
    std::vector<Pin *> peers;
    friend bool operator==(const Snapshot &, const Snapshot &) = default;
};

Snapshot Take(const Graph &graph)
{
    Snapshot s;
    for (const FilterPtr &f : graph.Filters()) {
        s.filters.push_back(f.get());
        for (Pin *pin : f->Pins())
            s.peers.push_back(pin->ConnectedTo());
    }
    return s;
}

// A source pin of the given major type.
Pin *SourcePin(const PlaybackRig &rig, const Guid &major)
{
    for (Pin *pin : rig.source->Pins())
        if (pin->MediaTypes().at(0).majortype == major)
            return pin;
    return nullptr;
}

} // namespace

TEST(IntelligentConnect, InsertsTheNativeDecoderOrTheNextOneTheCallbackAllows)
{
    struct Case {
        const char *clip;
        Guid major;
        std::set<Guid> refused;
        const char *expected; // decoder name, nullptr: the connection must fail
    };
    const Case cases[] = {
        {MediaFacts::H264Aac.file, MEDIATYPE_Video, {}, "h264"},
        {MediaFacts::H264Aac.file, MEDIATYPE_Audio, {}, "aac"},
        {MediaFacts::H264Aac.file, MEDIATYPE_Audio, {DecoderClassId("aac")}, "aac_fixed"},
        {MediaFacts::Mpeg2Ps.file, MEDIATYPE_Video, {DecoderClassId("mpeg2video")}, "mpegvideo"},
        {MediaFacts::H264Aac.file, MEDIATYPE_Video, {DecoderClassId("h264")}, nullptr},
        {MediaFacts::H264Aac.file,
         MEDIATYPE_Audio,
         {DecoderClassId("aac"), DecoderClassId("aac_fixed")},
         nullptr},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(std::string(c.clip) + " refusing " + std::to_string(c.refused.size()));
        PlaybackRig rig;
        ASSERT_EQ(rig.graph.AddSourceFilter(TestMedia::Path(c.clip).toStdString(), "Source", rig.source),
                  S_OK);
        FilterPtr renderer = c.major == MEDIATYPE_Video ? FilterPtr(std::make_shared<NullVideoRenderer>())
                                                        : FilterPtr(std::make_shared<NullAudioRenderer>());
        ASSERT_EQ(rig.graph.AddFilter(renderer, ""), S_OK);
        RefusingCallback callback(c.refused);
        rig.graph.SetCallback(&callback);
        const Snapshot before = Take(rig.graph);
        const HRESULT hr = rig.graph.Connect(*SourcePin(rig, c.major), *renderer->GetPin(0));
        for (const Guid &refused : c.refused)
            EXPECT_NE(std::find(callback.asked.begin(), callback.asked.end(), refused), callback.asked.end());
        if (!c.expected) {
            EXPECT_EQ(hr, VFW_E_CANNOT_CONNECT);
            EXPECT_EQ(Take(rig.graph), before);
            continue;
        }
        ASSERT_EQ(hr, S_OK);
        Filter *decoder = rig.DecoderBefore(*renderer);
        ASSERT_NE(decoder, nullptr);
        EXPECT_EQ(decoder->ClassId(), DecoderClassId(c.expected));
        EXPECT_EQ(rig.graph.Filters().size(), 3u);
    }
}

TEST(IntelligentConnect, RenderFindsADecoderAndARendererOrLeavesTheGraphAlone)
{
    PlaybackRig rig;
    ASSERT_EQ(
        rig.graph.AddSourceFilter(TestMedia::Path(MediaFacts::H264Aac.file).toStdString(), "", rig.source),
        S_OK);
    RefusingCallback callback({});
    rig.graph.SetCallback(&callback);
    callback.refuseAll = true;
    const Snapshot before = Take(rig.graph);
    EXPECT_EQ(rig.graph.Render(*SourcePin(rig, MEDIATYPE_Video)), VFW_E_CANNOT_RENDER);
    EXPECT_EQ(Take(rig.graph), before);

    callback.refuseAll = false;
    ASSERT_EQ(rig.graph.Render(*SourcePin(rig, MEDIATYPE_Video)), S_OK);
    Pin *decoderIn = SourcePin(rig, MEDIATYPE_Video)->ConnectedTo();
    ASSERT_NE(decoderIn, nullptr);
    Pin *decoderOut = decoderIn->Owner().GetPin(1);
    ASSERT_TRUE(decoderOut->IsConnected());
    EXPECT_TRUE(decoderOut->ConnectedTo()->Owner().IsRenderer());
}

TEST(DirectConnect, NeedsATypeBothPinsAcceptAndChangesNothingOtherwise)
{
    PlaybackRig rig;
    ASSERT_EQ(
        rig.graph.AddSourceFilter(TestMedia::Path(MediaFacts::H264Aac.file).toStdString(), "", rig.source),
        S_OK);
    auto renderer = std::make_shared<NullVideoRenderer>();
    rig.graph.AddFilter(renderer, "");
    Pin &video = *SourcePin(rig, MEDIATYPE_Video);
    EXPECT_EQ(rig.graph.ConnectDirect(video, *renderer->GetPin(0)), VFW_E_NO_ACCEPTABLE_TYPES);
    EXPECT_EQ(rig.graph.ConnectDirect(*renderer->GetPin(0), video), VFW_E_INVALID_DIRECTION);
    EXPECT_FALSE(video.IsConnected());

    FilterPtr decoder;
    ASSERT_EQ(rig.graph.AddFilterByClass(DecoderClassId("h264"), "", decoder), S_OK);
    const MediaType offered = video.MediaTypes().at(0);
    MediaType wrong = offered;
    wrong.subtype = MEDIASUBTYPE_MPEG2_VIDEO;
    EXPECT_EQ(rig.graph.ConnectDirect(video, *decoder->GetPin(0), &wrong), VFW_E_TYPE_NOT_ACCEPTED);
    ASSERT_EQ(rig.graph.ConnectDirect(video, *decoder->GetPin(0), &offered), S_OK);
    EXPECT_EQ(rig.graph.ConnectDirect(video, *decoder->GetPin(0)), VFW_E_ALREADY_CONNECTED);

    // A partial type lets the pins pick the first of their types that fits it.
    struct Case {
        Guid format;
        Guid expected;
    };
    for (const Case &c : {Case{GUID_NULL, FORMAT_VideoInfo2}, Case{FORMAT_VideoInfo, FORMAT_VideoInfo}}) {
        MediaType partial;
        partial.majortype = MEDIATYPE_Video;
        partial.subtype = MEDIASUBTYPE_RGB32;
        partial.formattype = c.format;
        ASSERT_EQ(rig.graph.ConnectDirect(*decoder->GetPin(1), *renderer->GetPin(0), &partial), S_OK);
        MediaType agreed;
        ASSERT_EQ(renderer->GetPin(0)->ConnectionMediaType(agreed), S_OK);
        EXPECT_EQ(agreed.formattype, c.expected);
        ASSERT_EQ(rig.graph.Disconnect(*renderer->GetPin(0)), S_OK);
        EXPECT_FALSE(decoder->GetPin(1)->IsConnected());
    }

    // Removing a filter breaks its connections.
    ASSERT_EQ(rig.graph.RemoveFilter(*decoder), S_OK);
    EXPECT_FALSE(video.IsConnected());
    EXPECT_EQ(rig.graph.RemoveFilter(*decoder), VFW_E_NOT_FOUND);
}

TEST(GraphFilters, NamesAreUniqueAndFoundAgain)
{
    Graph graph;
    auto a = std::make_shared<NullVideoRenderer>();
    auto b = std::make_shared<NullVideoRenderer>();
    auto c = std::make_shared<NullVideoRenderer>();
    ASSERT_EQ(graph.AddFilter(a, "Renderer"), S_OK);
    ASSERT_EQ(graph.AddFilter(b, "Renderer"), S_OK);
    ASSERT_EQ(graph.AddFilter(c, ""), S_OK);
    EXPECT_EQ(graph.AddFilter(a, "Again"), E_INVALIDARG);
    EXPECT_EQ(graph.AddFilter(nullptr, "None"), E_POINTER);
    EXPECT_EQ(b->Name(), "Renderer 0001");
    EXPECT_EQ(c->Name(), "Null Video Renderer");
    EXPECT_EQ(graph.FindFilterByName("Renderer 0001"), b);
    EXPECT_EQ(graph.FindFilterByName("Renderer 0002"), nullptr);
    EXPECT_EQ(graph.Filters().size(), 3u);
    graph.Clear();
    EXPECT_TRUE(graph.Filters().empty());
    EXPECT_EQ(a->GetGraph(), nullptr);
    EXPECT_EQ(graph.AddFilter(a, "Renderer"), S_OK); // free to join a graph again
}

TEST(CaptureGraphBuilder, FindsPinsByDirectionTypeAndConnectionAndRendersStreams)
{
    PlaybackRig rig;
    ASSERT_EQ(
        rig.graph.AddSourceFilter(TestMedia::Path(MediaFacts::H264TwoAac.file).toStdString(), "", rig.source),
        S_OK);
    CaptureGraphBuilder builder(rig.graph);
    struct Case {
        PIN_DIRECTION direction;
        Guid category, major;
        int index;
        const char *expected; // pin name, nullptr: none
    };
    const Case cases[] = {
        {PINDIR_OUTPUT, GUID_NULL, MEDIATYPE_Video, 0, "Video"},
        {PINDIR_OUTPUT, GUID_NULL, MEDIATYPE_Audio, 0, "Audio"},
        {PINDIR_OUTPUT, GUID_NULL, MEDIATYPE_Audio, 1, "Audio 2"},
        {PINDIR_OUTPUT, GUID_NULL, MEDIATYPE_Audio, 2, nullptr},
        {PINDIR_OUTPUT, GUID_NULL, GUID_NULL, 2, "Audio 2"},
        {PINDIR_OUTPUT, PIN_CATEGORY_CAPTURE, GUID_NULL, 0, nullptr},
        {PINDIR_INPUT, GUID_NULL, GUID_NULL, 0, nullptr},
    };
    for (const Case &c : cases) {
        Pin *pin = reinterpret_cast<Pin *>(1);
        const HRESULT hr = builder.FindPin(*rig.source, c.direction, c.category, c.major, true, c.index, pin);
        if (c.expected) {
            ASSERT_EQ(hr, S_OK) << c.expected;
            EXPECT_EQ(pin->Name(), c.expected);
        } else {
            EXPECT_EQ(hr, VFW_E_NOT_FOUND);
            EXPECT_EQ(pin, nullptr);
        }
    }

    auto renderer = std::make_shared<NullAudioRenderer>();
    rig.graph.AddFilter(renderer, "");
    ASSERT_EQ(builder.RenderStream(GUID_NULL, MEDIATYPE_Audio, *rig.source, renderer.get()), S_OK);
    EXPECT_EQ(renderer->GetPin(0)->ConnectedTo()->Owner().ClassId(), DecoderClassId("aac"));
    // The connected pin no longer counts among the unconnected ones.
    Pin *pin = nullptr;
    ASSERT_EQ(builder.FindPin(*rig.source, PINDIR_OUTPUT, GUID_NULL, MEDIATYPE_Audio, true, 0, pin), S_OK);
    EXPECT_EQ(pin->Name(), "Audio 2");
    ASSERT_EQ(builder.FindPin(*rig.source, PINDIR_OUTPUT, GUID_NULL, MEDIATYPE_Audio, false, 0, pin), S_OK);
    EXPECT_EQ(pin->Name(), "Audio");
}
