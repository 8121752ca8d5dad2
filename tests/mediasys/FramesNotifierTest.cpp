#include "media/FramesNotifier.h"
#include "StreamRig.h"
#include "media/PositionText.h"
#include "media/StreamMessages.h"
#include "platform/graph/MediaSeeking.h"
#include "support/MediaFacts.h"
#include "support/QStringPrinter.h"
#include "support/TestMedia.h"

#include <gtest/gtest.h>

namespace
{

// What a frames notifier tells the navigation manager and the inlay.
struct FrameInbox {
    std::vector<QString> inlayTexts; // sent: read at once
    int frameTimes = 0;              // posted
    std::vector<uint32_t> durations;
    std::vector<std::pair<uint32_t, uint32_t>> alarms;
    std::function<void()> onAlarm;
    MessageWindow window{[this](uint32_t msg, WPARAM wParam, LPARAM lParam) -> LRESULT {
        if (msg == WM_INCRUSTTIME)
            inlayTexts.push_back(TFramesNotifier::ReadTimeText(wParam));
        else if (msg == WM_FRAMETIME)
            ++frameTimes;
        else if (msg == WM_FRAMEDURATION)
            durations.push_back(uint32_t(wParam));
        else if (msg == WM_FRAMEALARM) {
            alarms.emplace_back(uint32_t(wParam), uint32_t(lParam));
            if (onAlarm)
                onAlarm();
        }
        return 0;
    }};

    std::shared_ptr<TFramesNotifier> MakeNotifier()
    {
        auto notifier = std::make_shared<TFramesNotifier>();
        notifier->FrameWindow = window.Handle();
        notifier->InlayWindow = window.Handle();
        notifier->SetAlarmWindow(0, window.Handle());
        notifier->SetActive(true);
        return notifier;
    }
};

} // namespace

TEST(FramesNotifier, AlignsToTheNearestFrame)
{
    const int64_t d = 400'000;
    const struct {
        int64_t position, duration, aligned;
    } cases[] = {
        {0, d, 0},
        {d, d, d},
        {d - 1, d, d},
        {d + d / 2 - 1, d, d},
        {d + d / 2, d, 2 * d},
        {-d / 2 + 1, d, 0},
        {-d / 2 - 1, d, -d},
        {330'000, 333'667, 333'667}, // frame 1 of 29.97 fps in milliseconds
        {12'345, 0, 12'345},         // no frame duration yet
    };
    for (const auto &c : cases)
        EXPECT_EQ(TFramesNotifier::AlignToFrame(c.position, c.duration), c.aligned) << c.position;
}

// Every picture of a long-GOP H.264 clip gets the next whole frame; the inlay hears of a text
// only when it changes, the navigation manager of every picture.
TEST(FramesNotifierInAGraph, H264PicturesAreConsecutiveWholeFrames)
{
    const int frames = MediaFacts::H264Aac.video->frames;
    for (const int64_t duration : {400'000, 800'000}) {
        SCOPED_TRACE(duration);
        StreamRig rig;
        FrameInbox inbox;
        auto notifier = inbox.MakeNotifier();
        ASSERT_EQ(rig.Open(TestMedia::Path(MediaFacts::H264Aac.file), StreamRig::Source::Lav), S_OK);
        ASSERT_EQ(rig.InsertBeforeRenderer(notifier, *rig.FirstPin()), S_OK);
        EXPECT_EQ(inbox.durations, std::vector<uint32_t>{400'000});
        notifier->FrameDuration = duration;
        ASSERT_TRUE(rig.PlayToEnd(StreamRig::Clock::Free, 30000));

        if (duration == 400'000) {
            ASSERT_EQ(inbox.inlayTexts.size(), size_t(frames));
            for (int i = 0; i < frames; ++i)
                ASSERT_EQ(inbox.inlayTexts[i], PositionText(i * duration, duration)) << i;
        } else { // two pictures to a frame: texts repeat, and repeats are not sent again
            EXPECT_LT(inbox.inlayTexts.size(), size_t(frames * 3 / 4));
            for (size_t i = 1; i < inbox.inlayTexts.size(); ++i)
                ASSERT_NE(inbox.inlayTexts[i - 1], inbox.inlayTexts[i]);
        }
        EXPECT_EQ(inbox.frameTimes, frames);
        EXPECT_EQ(rig.video->Stats().rendered, frames);
    }
}

// Container times are rounded (whole milliseconds in Matroska at 29.97 fps, 90 kHz ticks in MPEG
// transport streams): no picture may be named after its neighbour.
TEST(FramesNotifierInAGraph, RoundedContainerTimesStillGiveEveryFrame)
{
    for (const MediaFacts::ClipFacts *clip : {&MediaFacts::H264VorbisMkv, &MediaFacts::Mpeg2Ts}) {
        SCOPED_TRACE(clip->file);
        StreamRig rig;
        FrameInbox inbox;
        auto notifier = inbox.MakeNotifier();
        ASSERT_EQ(rig.Open(TestMedia::Path(clip->file), StreamRig::Source::Lav), S_OK);
        ASSERT_EQ(rig.InsertBeforeRenderer(notifier, *rig.FirstPin()), S_OK);
        const int64_t d = notifier->VideoData().AvgTimePerFrame;
        const auto rate = clip->video->frameRate;
        EXPECT_NEAR(double(d), 1e7 * rate.den / rate.num, 1.0);
        notifier->FrameDuration = d;
        ASSERT_TRUE(rig.PlayToEnd(StreamRig::Clock::Free, 30000));
        ASSERT_EQ(inbox.inlayTexts.size(), size_t(clip->video->frames));
        for (int i = 0; i < clip->video->frames; ++i)
            ASSERT_EQ(inbox.inlayTexts[i], PositionText(i * d, d)) << i;
    }
}

// After a seek into the middle of the GOP, pictures decoded from the key frame before the target
// are held back; the alarm fires on the target picture, and from there pictures pass.
TEST(FramesNotifierInAGraph, AlarmFiresOnTheTargetAndHeldPicturesNeverReachTheRenderer)
{
    const int64_t d = 400'000, seekTo = 100 * d, target = 137 * d;
    StreamRig rig;
    FrameInbox inbox;
    auto notifier = inbox.MakeNotifier();
    ASSERT_EQ(rig.Open(TestMedia::Path(MediaFacts::H264Aac.file), StreamRig::Source::Lav), S_OK);
    ASSERT_EQ(rig.InsertBeforeRenderer(notifier, *rig.FirstPin()), S_OK);
    notifier->FrameDuration = d;
    int64_t renderedBeforeAlarm = -1;
    inbox.onAlarm = [&] {
        const auto stats = rig.video->Stats();
        renderedBeforeAlarm = stats.rendered + stats.prerolled;
        notifier->PassSamples = true;
    };
    REFERENCE_TIME at = seekTo;
    ASSERT_EQ(rig.graph.SetPositions(&at, AM_SEEKING_AbsolutePositioning, nullptr, AM_SEEKING_NoPositioning),
              S_OK);
    notifier->PassSamples = false;
    notifier->SetAlarm(0, target);
    ASSERT_TRUE(rig.PlayToEnd(StreamRig::Clock::Free, 30000));

    ASSERT_EQ(inbox.alarms.size(), 1u);
    EXPECT_EQ(inbox.alarms[0], std::make_pair(uint32_t(target), uint32_t(target)));
    EXPECT_FALSE(notifier->AlarmArmed(0));
    EXPECT_EQ(renderedBeforeAlarm, 0);
    const auto stats = rig.video->Stats();
    ASSERT_TRUE(stats.firstStart.has_value());
    EXPECT_EQ(TFramesNotifier::AlignToFrame(*stats.firstStart + seekTo, d), target);
    EXPECT_EQ(stats.rendered + stats.prerolled, MediaFacts::H264Aac.video->frames - 137);
    EXPECT_EQ(inbox.inlayTexts.front(), PositionText(0, d)) << "decoding starts at the key frame";
}
