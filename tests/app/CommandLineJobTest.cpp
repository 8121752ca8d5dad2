// The program's main job from the command line, run as a user would: open a video, go to
// positions, grab, quit.
#include "support/FfmpegFrames.h"
#include "support/MediaFacts.h"
#include "support/TestMedia.h"

#include <QDir>
#include <QFile>
#include <QImage>
#include <QProcess>
#include <QProcessEnvironment>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace
{

// Runs kestrin with `arguments` on the offscreen platform and a settings folder of its own;
// true when it ended by itself with exit code 0.
bool RunJob(const QStringList &arguments, const QString &configFolder)
{
    QProcess program;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert("QT_QPA_PLATFORM", "offscreen");
    environment.insert("SDL_AUDIODRIVER", "dummy");
    environment.insert("XDG_CONFIG_HOME", configFolder);
    program.setProcessEnvironment(environment);
    program.start(QStringLiteral(KESTRIN_EXECUTABLE), arguments);
    const bool finished = program.waitForFinished(60000);
    if (!finished)
        program.kill();
    return finished && program.exitStatus() == QProcess::NormalExit && program.exitCode() == 0;
}

// "H:MM:SS:FF" of frame `frame` at `fps` whole frames per second (the clips' 29.97 fps is counted
// in 30 frames to the second, as position texts do).
QString Position(int frame, int fps)
{
    return QString::asprintf("%d:%02d:%02d:%02d", frame / fps / 3600, frame / fps / 60 % 60, frame / fps % 60,
                             frame % fps);
}

// The first luminance quantisation value of a JPEG file: 16 scaled by the quality.
int FirstLuminanceQuantiser(const QByteArray &jpeg)
{
    const qsizetype table = jpeg.indexOf("\xFF\xDB");
    return table < 0 || table + 5 >= jpeg.size() ? -1 : uchar(jpeg[table + 5]);
}

} // namespace

// The job on every clip with video: two grabs at typed positions, numbered, each the
// frame at its position as FFmpeg decodes it, scaled to the display aspect.
TEST(CommandLineJob, GrabsTheFramesAtTheTypedPositions)
{
    for (const MediaFacts::ClipFacts &clip : MediaFacts::AllClips) {
        if (!clip.video)
            continue;
        SCOPED_TRACE(clip.file);
        QTemporaryDir dir;
        const QString out = dir.filePath("out") + "/";
        ASSERT_TRUE(QDir().mkpath(out));
        const int fps =
            (clip.video->frameRate.num + clip.video->frameRate.den - 1) / clip.video->frameRate.den;
        const int frames[] = {clip.video->frames / 3 + 2, clip.video->frames * 2 / 3 - 1};
        const QString path = TestMedia::Path(clip.file);
        ASSERT_TRUE(RunJob({"/o=" + path, "/savfold=" + out, "/root=T", "/an", "/dig=3", "/n=1",
                            "/StrPos=" + Position(frames[0], fps), "/g",
                            "/StrPos=" + Position(frames[1], fps), "/g", "/quit"},
                           dir.filePath("config")));
        const auto &v = *clip.video;
        const double display = double(v.displayAspect.num) / v.displayAspect.den;
        const QSize expected = display * v.height >= v.width ? QSize(v.width, int(v.width / display + 0.5))
                                                             : QSize(int(v.height * display + 0.5), v.height);
        for (int i = 0; i < 2; ++i) {
            const QImage saved(out + QString("T_00%1.bmp").arg(i + 1));
            ASSERT_FALSE(saved.isNull()) << i;
            EXPECT_EQ(saved.size(), expected);
            const auto reference = FfmpegFrames(path, frames[i] - 1, 3, saved.size());
            ASSERT_EQ(reference.size(), 3u);
            const double here = MeanDifference(saved, reference[1]);
            EXPECT_LT(here, 6.0) << "frame " << frames[i];
            EXPECT_LT(here, MeanDifference(saved, reference[0])) << "frame " << frames[i];
            EXPECT_LT(here, MeanDifference(saved, reference[2])) << "frame " << frames[i];
        }
    }
}

// JPEG grabs decode and carry the quality asked for.
TEST(CommandLineJob, JpegGrabsCarryTheQuality)
{
    for (const int quality : {30, 90}) {
        QTemporaryDir dir;
        const QString out = dir.filePath("out") + "/";
        ASSERT_TRUE(QDir().mkpath(out));
        ASSERT_TRUE(RunJob({"/o=" + TestMedia::Path(MediaFacts::H264Aac.file), "/savfold=" + out, "/root=J",
                            "/an", "/n=1", "/ej", QString("/qual=%1").arg(quality), "/g", "/quit"},
                           dir.filePath("config")));
        QFile file(out + "J_001.jpg");
        ASSERT_TRUE(file.open(QIODevice::ReadOnly)) << quality;
        const QByteArray jpeg = file.readAll();
        EXPECT_FALSE(QImage::fromData(jpeg, "JPEG").isNull());
        const int scale = quality < 50 ? 5000 / quality : 200 - 2 * quality;
        EXPECT_EQ(FirstLuminanceQuantiser(jpeg), std::clamp((16 * scale + 50) / 100, 1, 255)) << quality;
    }
}
