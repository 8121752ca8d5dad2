#include "FfProbe.h"
#include "support/QStringPrinter.h"
#include "support/MediaFacts.h"
#include "support/TestMedia.h"

#include <QFile>
#include <QProcess>

#include <gtest/gtest.h>

using namespace MediaFacts;

namespace
{

QByteArray ReadAll(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

int VideoPackets(const FfProbe &probe)
{
    return probe.Streams()[0].toObject()["nb_read_packets"].toString().toInt();
}

TEST(Damaged, FilesWithoutAnIndexDoNotOpen)
{
    for (const char *name : {TruncatedNoIndexMp4, EmptyMp4}) {
        const QString path = TestMedia::Path(name);
        ASSERT_TRUE(QFile::exists(path)) << name;
        const FfProbe probe = FfProbe::Streams(path);
        EXPECT_FALSE(probe.Succeeded()) << name;
        EXPECT_TRUE(probe.Errors().contains("moov atom not found")) << qPrintable(probe.Errors());
    }
    EXPECT_EQ(QFile(TestMedia::Path(EmptyMp4)).size(), 0);
    EXPECT_LT(QFile(TestMedia::Path(TruncatedNoIndexMp4)).size(),
              QFile(TestMedia::Path(H264Aac.file)).size());
}

TEST(Damaged, TruncatedMp4WithItsIndexFirstPromisesMoreThanItHolds)
{
    const FfProbe probe = FfProbe::Streams(TestMedia::Path(TruncatedIndexFirstMp4));
    ASSERT_TRUE(probe.Succeeded()) << qPrintable(probe.Errors());
    EXPECT_NEAR(probe.Format()["duration"].toString().toDouble(), H264Aac.durationSeconds, 0.1);
    const int packets = VideoPackets(probe);
    EXPECT_GT(packets, 0);
    EXPECT_LT(packets, H264Aac.video->frames * 3 / 4);
    EXPECT_TRUE(probe.Errors().contains("partial file")) << qPrintable(probe.Errors());
}

TEST(Damaged, ProgramStreamWithNoiseInTheMiddleLosesPicturesAndFailsToDecode)
{
    const QString path = TestMedia::Path(GarbageMiddleMpg);
    const QByteArray damaged = ReadAll(path);
    const QByteArray intact = ReadAll(TestMedia::Path(Mpeg2Ps.file));
    ASSERT_EQ(damaged.size(), intact.size());
    const qint64 middle = intact.size() / 2;
    EXPECT_EQ(damaged.left(middle), intact.left(middle));
    EXPECT_NE(damaged.mid(middle, GarbageBytes), intact.mid(middle, GarbageBytes));
    EXPECT_EQ(damaged.mid(middle + GarbageBytes), intact.mid(middle + GarbageBytes));

    const FfProbe probe = FfProbe::Streams(path);
    ASSERT_TRUE(probe.Succeeded()) << qPrintable(probe.Errors());
    EXPECT_LT(VideoPackets(probe), Mpeg2Ps.video->frames);

    QProcess ffmpeg;
    ffmpeg.start("ffmpeg", {"-v", "error", "-nostdin", "-i", path, "-f", "null", "-"});
    ASSERT_TRUE(ffmpeg.waitForFinished(60000));
    EXPECT_FALSE(ffmpeg.readAllStandardError().isEmpty()) << "decoding reports the damage";
}

TEST(Damaged, TruncatedDvEndsInAPartialFrame)
{
    const QByteArray truncated = ReadAll(TestMedia::Path(TruncatedDv));
    const QByteArray intact = ReadAll(TestMedia::Path(DvPal.file));
    const qint64 whole = TruncatedDvWholeFrames * qint64(DvFrameBytes625);
    ASSERT_EQ(truncated.size(), whole + qint64(TruncatedDvPartialBytes));
    EXPECT_NE(truncated.size() % qint64(DvFrameBytes625), 0);
    EXPECT_EQ(truncated, intact.left(truncated.size()));

    const FfProbe probe = FfProbe::Streams(TestMedia::Path(TruncatedDv));
    ASSERT_TRUE(probe.Succeeded()) << qPrintable(probe.Errors());
    EXPECT_LE(VideoPackets(probe), TruncatedDvWholeFrames + 1);
}

} // namespace
