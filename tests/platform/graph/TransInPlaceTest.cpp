#include "PushSource.h"

#include "platform/core/MessageWindow.h"
#include "platform/graph/Graph.h"
#include "platform/graph/NullVideoRenderer.h"
#include "platform/graph/TransInPlaceFilter.h"

#include <gtest/gtest.h>

#include <atomic>

namespace
{

// Drops pictures whose start is an odd multiple of 40 ms, marks the others, and records the hooks.
class OddDropper : public TransInPlaceFilter
{
  public:
    OddDropper() : TransInPlaceFilter(GUID_NULL, "Odd Dropper") {}
    std::atomic<int> starts{0}, stops{0}, segments{0}, seen{0};
    bool refuseRgb = false;

  protected:
    HRESULT CheckInputType(const MediaType &type) override
    {
        return refuseRgb && type.subtype == MEDIASUBTYPE_RGB32 ? VFW_E_TYPE_NOT_ACCEPTED : S_OK;
    }
    HRESULT StartStreaming() override
    {
        ++starts;
        return S_OK;
    }
    HRESULT StopStreaming() override
    {
        ++stops;
        return S_OK;
    }
    HRESULT NewSegment(REFERENCE_TIME, REFERENCE_TIME, double) override
    {
        ++segments;
        return S_OK;
    }
    HRESULT Transform(Sample &sample) override
    {
        ++seen;
        if ((sample.Start() / 400'000) % 2)
            return S_FALSE;
        sample.Data()[0] = 0x11;
        return S_OK;
    }
};

// Keeps the first byte of every picture it is given.
class ByteRenderer : public NullVideoRenderer
{
  public:
    std::vector<uint8_t> firstBytes;

  protected:
    HRESULT Render(const SamplePtr &sample) override
    {
        firstBytes.push_back(sample->Data()[0]);
        return NullVideoRenderer::Render(sample);
    }
};

} // namespace

TEST(TransInPlaceFilter, PassesTheInputTypeOnAndDeliversOnlyWhatTransformKeeps)
{
    Graph graph;
    auto source = std::make_shared<PushSource>();
    auto dropper = std::make_shared<OddDropper>();
    auto renderer = std::make_shared<ByteRenderer>();
    for (const FilterPtr &f : std::initializer_list<FilterPtr>{source, dropper, renderer})
        graph.AddFilter(f, "");
    // Nothing to offer downstream before the input is connected.
    EXPECT_TRUE(dropper->Output()->MediaTypes().empty());
    EXPECT_EQ(graph.ConnectDirect(*dropper->Output(), *renderer->GetPin(0)), VFW_E_NO_ACCEPTABLE_TYPES);
    dropper->refuseRgb = true;
    EXPECT_EQ(graph.ConnectDirect(source->Out(), *dropper->Input()), VFW_E_NO_ACCEPTABLE_TYPES);
    dropper->refuseRgb = false;
    ASSERT_EQ(graph.ConnectDirect(source->Out(), *dropper->Input()), S_OK);
    ASSERT_EQ(graph.ConnectDirect(*dropper->Output(), *renderer->GetPin(0)), S_OK);
    MediaType in, out;
    dropper->Input()->ConnectionMediaType(in);
    renderer->GetPin(0)->ConnectionMediaType(out);
    EXPECT_EQ(in, out);

    ASSERT_EQ(graph.SetSyncSource(nullptr), S_OK);
    ASSERT_EQ(graph.Run(), S_OK);
    EXPECT_EQ(dropper->starts, 1);
    for (int i = 0; i < 6; ++i)
        ASSERT_TRUE(source->Push(i * 400'000));
    ASSERT_TRUE(source->Out().QueueEndOfStream());
    int32_t code;
    intptr_t p1, p2;
    ASSERT_EQ(graph.GetEvent(code, p1, p2, 5000), S_OK);
    EXPECT_EQ(dropper->seen, 6);
    EXPECT_EQ(dropper->segments, 1);
    EXPECT_EQ(renderer->firstBytes, (std::vector<uint8_t>{0x11, 0x11, 0x11}));
    EXPECT_EQ(graph.Stop(), S_OK);
    EXPECT_EQ(dropper->stops, 1);
}
