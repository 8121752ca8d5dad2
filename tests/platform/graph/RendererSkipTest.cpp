#include "PushSource.h"

#include "platform/graph/Graph.h"
#include "platform/graph/LavSplitterSource.h"
#include "platform/graph/NullVideoRenderer.h"
#include "support/TestMedia.h"

#include <gtest/gtest.h>

#include <thread>

namespace
{

// Waits for the renderer's pause to settle; true when it did.
bool Settled(Filter &renderer)
{
    FILTER_STATE state;
    return renderer.GetState(5000, state) == S_OK;
}

} // namespace

// A paused renderer told to skip lets go of the picture it holds, drops those before the skip's
// time and holds the first one from there, without a flush: the stream simply goes on.
TEST(RendererSkip, HoldsTheFirstPictureFromTheSkipTime)
{
    Graph graph;
    auto source = std::make_shared<PushSource>();
    auto renderer = std::make_shared<NullVideoRenderer>();
    graph.AddFilter(source, "");
    graph.AddFilter(renderer, "");
    ASSERT_EQ(graph.ConnectDirect(source->Out(), *renderer->GetPin(0)), S_OK);
    ASSERT_EQ(graph.Pause(), S_OK);
    for (int i = 0; i < 8; ++i)
        ASSERT_TRUE(source->Push(i * 400'000));
    ASSERT_TRUE(Settled(*renderer));
    EXPECT_EQ(renderer->Stats().lastStart, 0);

    renderer->SkipTo(5 * 400'000 + 100'000); // picture 5 is the first to end after it
    ASSERT_TRUE(Settled(*renderer));
    EXPECT_EQ(renderer->Stats().lastStart, 5 * 400'000);
    EXPECT_EQ(renderer->Stats().segments, 1) << "no flush, no new segment";
    EXPECT_EQ(graph.Stop(), S_OK);
}

// The key frames a container indexes: the clip's one group of pictures starts at its first
// picture (its decoding time, a little before zero with reordered pictures).
TEST(KeyFrameIndex, FromTheContainersIndex)
{
    LavSplitterSource source;
    ASSERT_EQ(source.Load(TestMedia::Path("h264_aac.mp4").toStdString(), nullptr), S_OK);
    REFERENCE_TIME key = 1;
    ASSERT_TRUE(source.KeyFrameAtOrBefore(50'000'000, key));
    EXPECT_LE(key, 0);
    EXPECT_GT(key, -10'000'000);
    EXPECT_FALSE(source.KeyFrameAtOrBefore(-20'000'000, key)) << "nothing before the first";
}
