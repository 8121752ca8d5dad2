#include "PlaybackRig.h"
#include "support/MediaFacts.h"
#include "support/TestMedia.h"

#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

// Every clip plays to its end free-running, every stream through a decoder found by intelligent
// connection, and delivers exactly the pictures and sound FFmpeg's own tools decode from it.
class ClipPlayback : public ::testing::TestWithParam<MediaFacts::ClipFacts>
{
};

TEST_P(ClipPlayback, DeliversEveryPictureAndSampleToTheEnd)
{
    const MediaFacts::ClipFacts clip = GetParam();
    const QString path = TestMedia::Path(clip.file);
    PlaybackRig rig;
    ASSERT_EQ(rig.Build(path), S_OK);
    ASSERT_EQ(rig.graph.SetSyncSource(nullptr), S_OK);
    ASSERT_TRUE(rig.RunToCompletion(60000));

    if (clip.video) {
        ASSERT_TRUE(rig.video);
        const auto counts = rig.video->Stats();
        EXPECT_EQ(counts.rendered, ProbedVideoFrames(path));
        EXPECT_EQ(counts.width, clip.video->width);
        EXPECT_EQ(counts.height, clip.video->height);
    } else {
        EXPECT_FALSE(rig.video);
    }
    for (size_t i = 0; i < rig.audio.size(); ++i)
        EXPECT_EQ(rig.audio[i]->Stats().frames, ProbedAudioSamples(path, int(i))) << "audio stream " << i;
    EXPECT_EQ(rig.graph.Stop(), S_OK);
}

INSTANTIATE_TEST_SUITE_P(Clips, ClipPlayback, ::testing::ValuesIn(MediaFacts::AllClips),
                         [](const auto &info) {
                             std::string name = info.param.file;
                             for (char &c : name)
                                 if (!isalnum(static_cast<unsigned char>(c)))
                                     c = '_';
                             return name;
                         });

// A longer program stream, where finding a time by scanning lands past the first pictures: playing
// from the start still shows every picture, the first at time 0.
TEST(LongProgramStream, PlaysFromItsFirstPicture)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString clip = dir.filePath("long.mpg");
    QProcess ffmpeg;
    ffmpeg.start("ffmpeg",
                 {"-v", "error", "-nostdin", "-f", "lavfi", "-i", "testsrc2=size=720x576:rate=25:duration=10",
                  "-c:v", "mpeg2video", "-b:v", "8M", "-g", "12", "-bf", "2", "-f", "vob", clip});
    ASSERT_TRUE(ffmpeg.waitForFinished(120000));
    ASSERT_EQ(ffmpeg.exitCode(), 0);

    PlaybackRig rig;
    ASSERT_EQ(rig.Build(clip), S_OK);
    ASSERT_EQ(rig.graph.SetSyncSource(nullptr), S_OK);
    ASSERT_TRUE(rig.RunToCompletion(60000));
    const auto counts = rig.video->Stats();
    EXPECT_EQ(counts.rendered, 250);
    EXPECT_EQ(counts.firstStart, 0);
}
