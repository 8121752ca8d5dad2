#include "NavRig.h"
#include "framework/IntegerAction.h"
#include "support/FfmpegFrames.h"
#include "support/MediaFacts.h"
#include "support/QStringPrinter.h"
#include "support/TestMedia.h"

#include <QCoreApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QSlider>

#include <gtest/gtest.h>

#include <map>
#include <random>
#include <set>

namespace
{

constexpr int64_t Frame = 400'000; // 25 fps

void Execute(TNavMan &nav, const char *name)
{
    nav.FindByInternalId(QLatin1String(name))->trigger();
}

} // namespace

// For each clip, 50 random frames reached by precise seeks show exactly the picture FFmpeg decodes
// for that frame: closer to it than to either neighbour, and nearly equal.
TEST(NavManPreciseSeek, LandsOnTheExactFrameOfEveryClip)
{
    for (const MediaFacts::ClipFacts &facts : MediaFacts::AllClips) {
        if (!facts.video)
            continue;
        const MediaFacts::ClipFacts *clip = &facts;
        SCOPED_TRACE(clip->file);
        NavRig rig;
        const QString path = TestMedia::Path(clip->file);
        ASSERT_TRUE(rig.Open(path));
        const int64_t d = rig.nav.FrameDuration;
        const int frames = clip->video->frames;
        std::mt19937 random(7);
        std::map<int, QImage> shown; // target frame -> picture on screen
        for (int i = 0; i < 50; ++i) {
            const int target = 1 + int(random() % unsigned(frames - 3));
            rig.nav.PreciseSeek(target * d);
            ASSERT_EQ(rig.frames->CurrentTime, target * d) << "frame " << target;
            ASSERT_EQ(rig.nav.GraphState(), 2);
            shown[target] = rig.Picture().copy();
        }
        const QSize size(clip->video->width, clip->video->height);
        std::map<int, std::map<int, double>> differences; // target -> ffmpeg frame -> difference
        ASSERT_TRUE(FfmpegEveryFrame(path, size, [&](int index, const QImage &decoded) {
            for (int target : {index - 1, index, index + 1})
                if (shown.count(target))
                    differences[target][index] = MeanDifference(shown[target], decoded);
        }));
        for (const auto &[target, byFrame] : differences) {
            ASSERT_EQ(byFrame.size(), 3u) << target;
            EXPECT_LT(byFrame.at(target), 4.0) << "frame " << target;
            EXPECT_LT(byFrame.at(target), byFrame.at(target - 1)) << "frame " << target;
            EXPECT_LT(byFrame.at(target), byFrame.at(target + 1)) << "frame " << target;
        }
    }
}

// Relative commands, limits and typed positions on a 10 s clip at 25 fps.
TEST(NavMan, StepsLimitsAndTypedPositions)
{
    NavRig rig;
    TNavMan &nav = rig.nav;
    ASSERT_TRUE(rig.Open(TestMedia::Path(MediaFacts::H264Aac.file)));
    EXPECT_EQ(nav.FrameDuration, Frame);
    EXPECT_EQ(nav.Duration, 100'000'000);
    EXPECT_EQ(nav.StartLimit, 0);
    EXPECT_EQ(nav.EndLimit, 100'000'000 - Frame);

    nav.PreciseSeek(40'000'000);
    Execute(nav, "naAvanceFrame");
    EXPECT_EQ(nav.CurrentPosition(), 40'000'000 + Frame);
    Execute(nav, "naReculeFrame");
    Execute(nav, "naReculeFrame");
    EXPECT_EQ(nav.CurrentPosition(), 40'000'000 - Frame);
    Execute(nav, "naAvance10Frames");
    EXPECT_EQ(nav.CurrentPosition(), 40'000'000 + 9 * Frame);
    Execute(nav, "naRecule10Minutes");
    EXPECT_EQ(nav.CurrentPosition(), 0);

    // A minute forward aims past the end: the last frame an ordinary seek reaches.
    nav.PreciseSeek(30'000'000);
    Execute(nav, "naAvanceMinute");
    EXPECT_EQ(nav.CurrentPosition(), nav.EndLimit - Frame);
    nav.PreciseSeek(nav.Duration);
    EXPECT_EQ(nav.CurrentPosition(), nav.EndLimit - Frame);
    nav.PreciseSeek(0);
    EXPECT_EQ(nav.CurrentPosition(), 0);

    nav.GoToText(QStringLiteral("0:00:05:05"));
    EXPECT_EQ(nav.CurrentPosition(), 52'000'000);

    auto *prepos = qobject_cast<TIntegerAction *>(nav.FindByInternalId(QStringLiteral("iaSeekPrepos")));
    prepos->SetValue(2500);
    prepos->Apply();
    EXPECT_EQ(nav.SeekPrepos, 25'000'000);
}

// A paused graph stays paused after a precise step; a playing one ends paused on the target.
TEST(NavMan, PreciseSeekEndsPaused)
{
    NavRig rig;
    TNavMan &nav = rig.nav;
    ASSERT_TRUE(rig.Open(TestMedia::Path(MediaFacts::H264Aac.file)));
    nav.PreciseSeek(20'000'000);
    Execute(nav, "naAvanceFrame");
    EXPECT_EQ(nav.GraphState(), 2);
    EXPECT_EQ(nav.CurrentPosition(), 20'000'000 + Frame);

    ASSERT_TRUE(nav.Play());
    NavRig::Pump(200);
    nav.GoToText(QStringLiteral("0:00:07:13"));
    EXPECT_EQ(nav.GraphState(), 2);
    EXPECT_EQ(nav.CurrentPosition(), 70'000'000 + 13 * Frame);
}

// The position field and the slider follow the picture on screen; Enter in the field goes to the
// typed position; a held slider does not move.
TEST(NavMan, PositionFieldAndSlider)
{
    QWidget window;
    auto *edit = new QLineEdit(&window);
    auto *slider = new QSlider(Qt::Horizontal, &window);
    NavRig rig;
    TNavMan &nav = rig.nav;
    ASSERT_TRUE(rig.Open(TestMedia::Path(MediaFacts::H264Aac.file)));
    nav.SetPositionEdit(edit);
    nav.SetSlider(slider);
    nav.PositionTyping = true;
    EXPECT_EQ(slider->maximum(), int(nav.EndLimit / TNavMan::SliderUnit));

    nav.PreciseSeek(30'000'000);
    NavRig::Pump();
    EXPECT_EQ(edit->text(), QStringLiteral("0:00:03:00"));
    EXPECT_EQ(slider->value(), int(30'000'000 / TNavMan::SliderUnit));

    edit->setText(QStringLiteral("0:00:06:05"));
    QKeyEvent enter(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier);
    QCoreApplication::sendEvent(edit, &enter);
    EXPECT_EQ(nav.CurrentPosition(), 62'000'000);

    slider->setSliderDown(true);
    EXPECT_FALSE(nav.SliderFollows);
    nav.PreciseSeek(10'000'000);
    NavRig::Pump();
    EXPECT_EQ(slider->value(), int(62'000'000 / TNavMan::SliderUnit)) << "held: not moved";
    slider->setValue(int(80'000'000 / TNavMan::SliderUnit));
    slider->setSliderDown(false);
    EXPECT_TRUE(nav.SliderFollows);
    int64_t position = 0;
    ASSERT_EQ(nav.MediaSeeking->GetCurrentPosition(position), S_OK);
    EXPECT_NEAR(double(position), 80'000'000.0, 2.0 * TNavMan::SliderUnit);
}

// Free running takes the clock away and keeps a paused graph paused.
TEST(NavMan, FreeRunningWhilePaused)
{
    NavRig rig;
    ASSERT_TRUE(rig.Open(TestMedia::Path(MediaFacts::H264Aac.file)));
    bool told = false;
    rig.nav.onVitesse = [&](bool on) { told = on; };
    rig.nav.FreeRunning(true);
    EXPECT_TRUE(told);
    EXPECT_EQ(rig.nav.GraphBuilder->SyncSource(), nullptr);
    EXPECT_EQ(rig.nav.GraphState(), 2);
    rig.nav.FreeRunning(false);
    EXPECT_NE(rig.nav.GraphBuilder->SyncSource(), nullptr);
}

// Without video, navigation works on the graph's own position.
TEST(NavMan, AudioOnlyMediaUseTheGraphPosition)
{
    NavRig rig;
    ASSERT_TRUE(rig.Open(TestMedia::Path(MediaFacts::ToneWav.file)));
    EXPECT_EQ(rig.nav.FramesNotifier, nullptr);
    EXPECT_EQ(rig.nav.Duration, 30'000'000);
    Execute(rig.nav, "naAvanceSeconde");
    EXPECT_NEAR(double(rig.nav.CurrentPosition()), 10'000'000.0, 1'000'000.0);
    rig.nav.GoToText(QStringLiteral("0:00:02:00"));
    EXPECT_NEAR(double(rig.nav.CurrentPosition()), 20'000'000.0, 1'000'000.0);
}
