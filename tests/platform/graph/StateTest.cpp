#include "PlaybackRig.h"
#include "PushSource.h"
#include "support/MediaFacts.h"
#include "support/TestMedia.h"

#include "platform/core/MessageWindow.h"
#include "platform/graph/GraphEvents.h"
#include "platform/graph/TransInPlaceFilter.h"

#include <QCoreApplication>

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <thread>

namespace
{

using Clock = std::chrono::steady_clock;

int64_t ElapsedMs(Clock::time_point since)
{
    return std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - since).count();
}

// A push source wired straight to a null video renderer.
struct PushRig {
    Graph graph;
    std::shared_ptr<PushSource> source = std::make_shared<PushSource>();
    std::shared_ptr<NullVideoRenderer> renderer = std::make_shared<NullVideoRenderer>();

    PushRig()
    {
        graph.AddFilter(source, "");
        graph.AddFilter(renderer, "");
        EXPECT_EQ(graph.ConnectDirect(source->Out(), *renderer->GetPin(0)), S_OK);
    }
};

bool WaitUntil(const std::function<bool()> &done, int timeoutMs = 5000)
{
    return MessageWindow::WaitDeliveringSent(done, timeoutMs);
}

// Sends a message to a window of the test thread for every sample, as the stream notifiers do.
class SendingFilter : public TransInPlaceFilter
{
  public:
    explicit SendingFilter(HWND window) : TransInPlaceFilter(GUID_NULL, "Sender"), window_(window) {}
    std::atomic<int> sending{0};

  protected:
    HRESULT CheckInputType(const MediaType &) override { return S_OK; }
    HRESULT Transform(Sample &) override
    {
        ++sending;
        MessageWindow::SendMessage(window_, 0x2403, 4, 0);
        return S_OK;
    }

  private:
    HWND window_;
};

// A video renderer stuck in its first presentation until the filter stops.
class StuckVideoRenderer : public NullVideoRenderer
{
  protected:
    HRESULT Render(const SamplePtr &sample) override
    {
        std::unique_lock lock(mutex_);
        released_.wait(lock, [this] { return stopped_; });
        return NullVideoRenderer::Render(sample);
    }
    HRESULT OnInactive() override
    {
        {
            std::lock_guard lock(mutex_);
            stopped_ = true;
        }
        released_.notify_all();
        return NullVideoRenderer::OnInactive();
    }

  private:
    std::mutex mutex_;
    std::condition_variable released_;
    bool stopped_ = false;
};

} // namespace

TEST(GraphState, PauseStaysIntermediateUntilARendererHoldsAPicture)
{
    PushRig rig;
    ASSERT_EQ(rig.graph.Pause(), S_OK);
    FILTER_STATE state;
    EXPECT_EQ(rig.graph.GetState(50, state), VFW_S_STATE_INTERMEDIATE);
    EXPECT_EQ(state, State_Paused);

    ASSERT_TRUE(rig.source->Push(0));
    EXPECT_EQ(rig.graph.GetState(5000, state), S_OK);
    EXPECT_EQ(state, State_Paused);
    const auto counts = rig.renderer->Stats();
    EXPECT_EQ(counts.prerolled, 1);
    EXPECT_EQ(counts.rendered, 0);
    EXPECT_EQ(rig.graph.Stop(), S_OK);
}

TEST(GraphState, EndOfStreamAloneSettlesAPause)
{
    PushRig rig;
    ASSERT_EQ(rig.graph.Pause(), S_OK);
    ASSERT_TRUE(rig.source->Out().QueueEndOfStream());
    FILTER_STATE state;
    EXPECT_EQ(rig.graph.GetState(5000, state), S_OK);
    EXPECT_EQ(rig.renderer->Stats().prerolled, 0);
}

TEST(GraphState, PausedFileGraphSettlesWithOnePictureHeld)
{
    PlaybackRig rig;
    ASSERT_EQ(rig.Build(TestMedia::Path(MediaFacts::H264Aac.file)), S_OK);
    ASSERT_EQ(rig.graph.Pause(), S_OK);
    FILTER_STATE state;
    ASSERT_EQ(rig.graph.GetState(10000, state), S_OK);
    const auto counts = rig.video->Stats();
    EXPECT_EQ(counts.prerolled, 1);
    EXPECT_EQ(counts.rendered, 0);
    EXPECT_EQ(counts.firstStart, 0);
    EXPECT_EQ(rig.graph.Stop(), S_OK);
}

TEST(GraphState, RunningPresentsEachPictureAtItsTimeOnTheClock)
{
    PushRig rig;
    ASSERT_EQ(rig.graph.Pause(), S_OK);
    for (REFERENCE_TIME start : {0, 1'000'000, 2'000'000}) // 0, 100 and 200 ms
        ASSERT_TRUE(rig.source->Push(start, 1'000'000));
    ASSERT_TRUE(rig.source->Out().QueueEndOfStream());
    FILTER_STATE state;
    ASSERT_EQ(rig.graph.GetState(5000, state), S_OK);
    const auto started = Clock::now();
    ASSERT_EQ(rig.graph.Run(), S_OK);
    ASSERT_TRUE(WaitUntil([&] { return rig.renderer->Stats().rendered == 3; }));
    EXPECT_GE(ElapsedMs(started), 190);
    EXPECT_EQ(rig.graph.Stop(), S_OK);
}

TEST(GraphState, StopReturnsAtOnceWhileAStreamingThreadIsBlocked)
{
    struct Case {
        const char *name;
        bool run; // false: blocked holding a paused picture; true: waiting for a far-off time
    };
    for (const Case &c : {Case{"paused preroll", false}, Case{"running, picture due in an hour", true}}) {
        SCOPED_TRACE(c.name);
        PushRig rig;
        ASSERT_EQ(rig.graph.Pause(), S_OK);
        ASSERT_TRUE(rig.source->Push(c.run ? 36'000'000'000 : 0));
        ASSERT_TRUE(WaitUntil([&] { return rig.renderer->Stats().prerolled == 1; }));
        if (c.run) {
            ASSERT_EQ(rig.graph.Run(), S_OK);
            std::this_thread::sleep_for(std::chrono::milliseconds(50));
        }
        const auto stopping = Clock::now();
        EXPECT_EQ(rig.graph.Stop(), S_OK);
        EXPECT_LT(ElapsedMs(stopping), 1000);
        EXPECT_EQ(rig.renderer->Stats().rendered, 0);
    }
}

TEST(GraphState, StopDoesNotDeadlockWithAStreamingThreadSendingToTheStoppingThread)
{
    int handled = 0;
    MessageWindow window([&](uint32_t, WPARAM, LPARAM) -> LRESULT {
        ++handled;
        return 0;
    });
    Graph graph;
    auto source = std::make_shared<PushSource>();
    auto sender = std::make_shared<SendingFilter>(window.Handle());
    auto renderer = std::make_shared<NullVideoRenderer>();
    for (const FilterPtr &f : std::initializer_list<FilterPtr>{source, sender, renderer})
        graph.AddFilter(f, "");
    ASSERT_EQ(graph.ConnectDirect(source->Out(), *sender->Input()), S_OK);
    ASSERT_EQ(graph.ConnectDirect(*sender->Output(), *renderer->GetPin(0)), S_OK);
    ASSERT_EQ(graph.Pause(), S_OK);
    ASSERT_TRUE(source->Push(0));
    // The streaming thread is now blocked in a send this thread has not handled.
    const auto begin = Clock::now();
    while (sender->sending == 0 && ElapsedMs(begin) < 5000)
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    ASSERT_EQ(sender->sending, 1);
    EXPECT_EQ(handled, 0);
    const auto stopping = Clock::now();
    EXPECT_EQ(graph.Stop(), S_OK);
    EXPECT_LT(ElapsedMs(stopping), 1000);
    EXPECT_EQ(handled, 1);
}

TEST(GraphState, EndOfMediaIsPostedOnceWhenEveryRendererHasFinished)
{
    std::vector<std::pair<WPARAM, LPARAM>> received;
    MessageWindow window([&](uint32_t msg, WPARAM w, LPARAM l) -> LRESULT {
        if (msg == 0x8001)
            received.emplace_back(w, l);
        return 0;
    });
    PlaybackRig rig;
    ASSERT_EQ(rig.Build(TestMedia::Path(MediaFacts::H264TwoAac.file)), S_OK);
    ASSERT_EQ(rig.audio.size(), 2u);
    rig.graph.SetNotifyWindow(window.Handle(), 0x8001, 77);
    ASSERT_EQ(rig.graph.SetSyncSource(nullptr), S_OK);
    ASSERT_EQ(rig.graph.Run(), S_OK);
    const auto begin = Clock::now();
    while (received.empty() && ElapsedMs(begin) < 30000)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    QCoreApplication::processEvents(QEventLoop::AllEvents, 100); // a second one would be here now
    ASSERT_EQ(received.size(), 1u);
    EXPECT_EQ(received[0].first, WPARAM(EC_COMPLETE));
    EXPECT_EQ(received[0].second, 77);
    EXPECT_EQ(rig.video->Stats().rendered, MediaFacts::H264TwoAac.video->frames);
}

TEST(GraphState, VolumeGoesToTheAudioRenderer)
{
    PlaybackRig rig;
    ASSERT_EQ(rig.Build(TestMedia::Path(MediaFacts::ToneWav.file)), S_OK);
    ASSERT_EQ(rig.audio.size(), 1u);
    struct Case {
        int32_t set;
        HRESULT result;
        int32_t after;
    };
    for (const Case &c : {Case{-752, S_OK, -752}, Case{0, S_OK, 0}, Case{-10000, S_OK, -10000},
                          Case{1, E_INVALIDARG, -10000}, Case{-10001, E_INVALIDARG, -10000}}) {
        EXPECT_EQ(rig.graph.put_Volume(c.set), c.result) << c.set;
        int32_t volume = 1;
        EXPECT_EQ(rig.audio[0]->get_Volume(volume), S_OK);
        EXPECT_EQ(volume, c.after) << c.set;
    }
    PushRig silent;
    int32_t volume;
    EXPECT_EQ(silent.graph.put_Volume(0), E_NOTIMPL);
    EXPECT_EQ(silent.graph.get_Volume(volume), E_NOTIMPL);
}

TEST(GraphState, SoundKeepsFlowingWhileTheVideoRendererIsStuck)
{
    Graph graph;
    FilterPtr source;
    ASSERT_EQ(graph.AddSourceFilter(TestMedia::Path(MediaFacts::H264Aac.file).toStdString(), "", source),
              S_OK);
    auto video = std::make_shared<StuckVideoRenderer>();
    auto audio = std::make_shared<NullAudioRenderer>();
    graph.AddFilter(video, "");
    graph.AddFilter(audio, "");
    ASSERT_EQ(graph.Connect(*source->FindPin("Video"), *video->GetPin(0)), S_OK);
    ASSERT_EQ(graph.Connect(*source->FindPin("Audio"), *audio->GetPin(0)), S_OK);
    ASSERT_EQ(graph.SetSyncSource(nullptr), S_OK);
    ASSERT_EQ(graph.Run(), S_OK);
    // The video queue takes two seconds of pictures before the reader waits for it.
    const int64_t twoSeconds = 2 * MediaFacts::H264Aac.audio[0]->sampleRate;
    EXPECT_TRUE(WaitUntil([&] { return audio->Stats().frames >= twoSeconds; }));
    EXPECT_EQ(video->Stats().rendered, 0);
    const auto stopping = Clock::now();
    EXPECT_EQ(graph.Stop(), S_OK);
    EXPECT_LT(ElapsedMs(stopping), 1000);
}
