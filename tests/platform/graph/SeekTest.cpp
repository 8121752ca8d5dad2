#include "PlaybackRig.h"
#include "support/MediaFacts.h"
#include "support/TestMedia.h"

#include <gtest/gtest.h>

#include <chrono>
#include <thread>

namespace
{

constexpr REFERENCE_TIME Second = 10'000'000;

REFERENCE_TIME FrameHns(const MediaFacts::VideoFacts &video)
{
    return Second * video.frameRate.den / video.frameRate.num;
}

struct SeekCase {
    const char *name;
    MediaFacts::ClipFacts clip;
    REFERENCE_TIME target;
    REFERENCE_TIME keyFrameAtOrBefore; // where the file's key frame before the target lies
    REFERENCE_TIME firstFrame = 0;     // media time of the first picture
};

std::ostream &operator<<(std::ostream &out, const SeekCase &c)
{
    return out << c.name;
}

} // namespace

// A seek flushes, restarts decoding at the key frame at or before the target and starts a new
// segment at the target: the held picture is the key frame, carrying its time relative to the
// target, and playing on reaches every later picture up to the last.
class Seeking : public ::testing::TestWithParam<SeekCase>
{
};

TEST_P(Seeking, StartsTheSegmentAtTheTargetFromTheKeyFrameBeforeIt)
{
    const SeekCase c = GetParam();
    const MediaFacts::VideoFacts video = *c.clip.video;
    PlaybackRig rig;
    ASSERT_EQ(rig.Build(TestMedia::Path(c.clip.file)), S_OK);
    ASSERT_EQ(rig.graph.SetSyncSource(nullptr), S_OK);
    ASSERT_EQ(rig.graph.Pause(), S_OK);
    FILTER_STATE state;
    ASSERT_EQ(rig.graph.GetState(10000, state), S_OK);

    REFERENCE_TIME target = c.target;
    ASSERT_EQ(
        rig.graph.SetPositions(&target, AM_SEEKING_AbsolutePositioning, nullptr, AM_SEEKING_NoPositioning),
        S_OK);
    ASSERT_EQ(rig.graph.GetState(10000, state), S_OK);
    const auto held = rig.video->Stats();
    EXPECT_EQ(held.segmentStart, c.target);
    ASSERT_TRUE(held.firstStart);
    const REFERENCE_TIME tolerance = 10'000; // 1 ms: container time stamps are rounded
    EXPECT_NEAR(double(*held.firstStart), double(c.keyFrameAtOrBefore - c.target), tolerance);
    EXPECT_EQ(held.rendered, 0);

    ASSERT_TRUE(rig.RunToCompletion(30000));
    const auto played = rig.video->Stats();
    const REFERENCE_TIME lastFrame = c.firstFrame + (video.frames - 1) * FrameHns(video);
    EXPECT_NEAR(double(*played.lastStart), double(lastFrame - c.target), tolerance);
    EXPECT_EQ(played.rendered, (lastFrame - c.keyFrameAtOrBefore) / FrameHns(video) + 1);
}

namespace
{

using namespace MediaFacts;
// h264_aac.mp4 has one key frame, at the start. The MPEG-2 clips have one every 12 pictures
// (0.48 s); their video starts 10.022 ms after the sound, which is where media time 0 is.
constexpr REFERENCE_TIME Mpeg2First = 100'220;
const SeekCase SeekCases[] = {
    {"h264_start", H264Aac, 0, 0},
    {"h264_middle", H264Aac, 5 * Second, 0},
    {"h264_last_frame", H264Aac, 249 * 400'000, 0},
    {"h264_past_the_end", H264Aac, 12 * Second, 0},
    {"mpeg2_middle", Mpeg2Ps, 15'000'000, Mpeg2First + 3 * 4'800'000, Mpeg2First},
    {"mpeg2_on_a_key_frame", Mpeg2Ps, Mpeg2First + 2 * 4'800'000, Mpeg2First + 2 * 4'800'000, Mpeg2First},
    {"mpeg2_last_frame", Mpeg2Ps, Mpeg2First + 74 * 400'000, Mpeg2First + 6 * 4'800'000, Mpeg2First},
    {"mpeg2_ts_middle", Mpeg2Ts, 15'000'000, Mpeg2First + 3 * 4'800'000, Mpeg2First},
};

} // namespace

INSTANTIATE_TEST_SUITE_P(Positions, Seeking, ::testing::ValuesIn(SeekCases),
                         [](const auto &info) { return std::string(info.param.name); });

TEST(Seeking, ReportsPositionsDurationAndCapabilities)
{
    PlaybackRig rig;
    ASSERT_EQ(rig.Build(TestMedia::Path(MediaFacts::H264Aac.file)), S_OK);
    REFERENCE_TIME duration = 0, stop = 0, position = -1;
    ASSERT_EQ(rig.graph.GetDuration(duration), S_OK);
    EXPECT_NEAR(double(duration), 10.0 * Second, 0.05 * Second);
    ASSERT_EQ(rig.graph.GetStopPosition(stop), S_OK);
    EXPECT_EQ(stop, duration);
    uint32_t caps = 0;
    ASSERT_EQ(rig.graph.GetCapabilities(caps), S_OK);
    EXPECT_TRUE(caps & AM_SEEKING_CanSeekAbsolute);
    EXPECT_TRUE(caps & AM_SEEKING_CanGetDuration);
    EXPECT_EQ(rig.graph.SetTimeFormat(TIME_FORMAT_MEDIA_TIME), S_OK);
    EXPECT_EQ(rig.graph.SetTimeFormat(TIME_FORMAT_FRAME), E_INVALIDARG);

    // While stopped a seek only moves the start; pausing shows the picture there.
    REFERENCE_TIME target = 3 * Second;
    ASSERT_EQ(
        rig.graph.SetPositions(&target, AM_SEEKING_AbsolutePositioning, nullptr, AM_SEEKING_NoPositioning),
        S_OK);
    ASSERT_EQ(rig.graph.GetCurrentPosition(position), S_OK);
    EXPECT_EQ(position, target);
    ASSERT_EQ(rig.graph.Pause(), S_OK);
    FILTER_STATE state;
    ASSERT_EQ(rig.graph.GetState(10000, state), S_OK);
    EXPECT_EQ(rig.video->Stats().segmentStart, target);

    // A stop position ends the stream there.
    REFERENCE_TIME newStop = 4 * Second;
    ASSERT_EQ(rig.graph.SetPositions(&target, AM_SEEKING_AbsolutePositioning, &newStop,
                                     AM_SEEKING_AbsolutePositioning),
              S_OK);
    ASSERT_EQ(rig.graph.SetSyncSource(nullptr), VFW_E_NOT_STOPPED);
    ASSERT_EQ(rig.graph.Stop(), S_OK);
    ASSERT_EQ(rig.graph.SetSyncSource(nullptr), S_OK);
    ASSERT_TRUE(rig.RunToCompletion(30000));
    const auto counts = rig.video->Stats();
    EXPECT_LE(*counts.lastStart, newStop - target);
    EXPECT_GE(*counts.lastStart, newStop - target - 2 * 400'000);
}

TEST(Seeking, WhilePlayingOnTheClockRestartsAtTheTargetAndPlaysOn)
{
    PlaybackRig rig;
    ASSERT_EQ(rig.Build(TestMedia::Path(MediaFacts::Mpeg2Ps.file)), S_OK);
    ASSERT_EQ(rig.graph.Run(), S_OK);
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    const int64_t before = rig.video->Stats().rendered;
    EXPECT_GT(before, 0);
    EXPECT_LT(before, MediaFacts::Mpeg2Ps.video->frames / 2); // on the clock, not as fast as possible

    REFERENCE_TIME target = 2 * Second;
    ASSERT_EQ(
        rig.graph.SetPositions(&target, AM_SEEKING_AbsolutePositioning, nullptr, AM_SEEKING_NoPositioning),
        S_OK);
    FILTER_STATE state;
    ASSERT_EQ(rig.graph.GetState(5000, state), S_OK);
    EXPECT_EQ(state, State_Running);
    ASSERT_TRUE(rig.RunToCompletion(10000));
    const auto counts = rig.video->Stats();
    EXPECT_EQ(counts.segmentStart, target);
    EXPECT_LE(*counts.firstStart, 0);
    REFERENCE_TIME position = 0;
    ASSERT_EQ(rig.graph.GetCurrentPosition(position), S_OK);
    EXPECT_GE(position, 2 * Second + 9 * 400'000); // the last picture, near 3 s
    EXPECT_EQ(rig.graph.Stop(), S_OK);
}
