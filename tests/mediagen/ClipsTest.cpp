#include "FfProbe.h"
#include "support/QStringPrinter.h"
#include "support/MediaFacts.h"
#include "support/TestMedia.h"

#include <QFileInfo>
#include <QProcess>
#include <QSet>

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

using namespace MediaFacts;

namespace
{

QString Ratio(Rational r, char separator)
{
    return QString("%1%2%3").arg(r.num).arg(separator).arg(r.den);
}

void ExpectVideo(const QJsonObject &stream, const VideoFacts &video)
{
    EXPECT_EQ(stream["codec_type"].toString(), "video");
    EXPECT_EQ(stream["codec_name"].toString(), video.codec);
    EXPECT_EQ(stream["width"].toInt(), video.width);
    EXPECT_EQ(stream["height"].toInt(), video.height);
    EXPECT_EQ(stream["r_frame_rate"].toString(), Ratio(video.frameRate, '/'));
    EXPECT_EQ(stream["sample_aspect_ratio"].toString(), Ratio(video.sampleAspect, ':'));
    EXPECT_EQ(stream["display_aspect_ratio"].toString(), Ratio(video.displayAspect, ':'));
    EXPECT_EQ(stream["nb_read_packets"].toString().toInt(), video.frames);
}

void ExpectAudio(const QJsonObject &stream, const AudioFacts &audio)
{
    EXPECT_EQ(stream["codec_type"].toString(), "audio");
    EXPECT_EQ(stream["codec_name"].toString(), audio.codec);
    EXPECT_EQ(stream["sample_rate"].toString().toInt(), audio.sampleRate);
    EXPECT_EQ(stream["channels"].toInt(), audio.channels);
    if (audio.language) {
        EXPECT_EQ(stream["tags"].toObject()["language"].toString(), audio.language);
    }
}

// MD5 of each of the first count decoded pictures of the file.
QStringList PictureHashes(const QString &path, int count)
{
    QProcess ffmpeg;
    ffmpeg.start("ffmpeg", {"-v", "error", "-nostdin", "-i", path, "-map", "0:v:0", "-frames:v",
                            QString::number(count), "-f", "framemd5", "-"});
    if (!ffmpeg.waitForFinished(60000))
        return {};
    QStringList hashes;
    for (const QByteArray &line : ffmpeg.readAllStandardOutput().split('\n')) {
        if (!line.isEmpty() && !line.startsWith('#'))
            hashes << QString::fromLatin1(line.split(',').last().trimmed());
    }
    return hashes;
}

class Clip : public ::testing::TestWithParam<ClipFacts>
{
};

TEST_P(Clip, HasTheStreamsItsFactsName)
{
    const ClipFacts &clip = GetParam();
    const FfProbe probe = FfProbe::Streams(TestMedia::Path(clip.file));
    ASSERT_TRUE(probe.Succeeded()) << qPrintable(probe.Errors());

    const QJsonObject format = probe.Format();
    EXPECT_EQ(format["format_name"].toString(), clip.format);
    EXPECT_NEAR(format["duration"].toString().toDouble(), clip.durationSeconds, 0.1);

    const QJsonArray streams = probe.Streams();
    int expected = clip.video ? 1 : 0;
    for (const auto &audio : clip.audio)
        expected += audio ? 1 : 0;
    ASSERT_EQ(streams.size(), expected);
    int index = 0;
    if (clip.video)
        ExpectVideo(streams[index++].toObject(), *clip.video);
    for (const auto &audio : clip.audio) {
        if (audio)
            ExpectAudio(streams[index++].toObject(), *audio);
    }
}

class ClipPictures : public Clip
{
};

TEST_P(ClipPictures, NeighbouringPicturesDiffer)
{
    const ClipFacts &clip = GetParam();
    const QStringList hashes = PictureHashes(TestMedia::Path(clip.file), 4);
    ASSERT_EQ(hashes.size(), 4);
    EXPECT_EQ(QSet<QString>(hashes.begin(), hashes.end()).size(), 4) << qPrintable(hashes.join(' '));
}

std::string ClipName(const ::testing::TestParamInfo<ClipFacts> &info)
{
    return QString(info.param.file).replace('.', '_').toStdString();
}

std::vector<ClipFacts> ClipsWithVideo()
{
    std::vector<ClipFacts> clips;
    std::copy_if(std::begin(AllClips), std::end(AllClips), std::back_inserter(clips),
                 [](const ClipFacts &clip) { return clip.video.has_value(); });
    return clips;
}

INSTANTIATE_TEST_SUITE_P(Media, Clip, ::testing::ValuesIn(AllClips), ClipName);
INSTANTIATE_TEST_SUITE_P(Media, ClipPictures, ::testing::ValuesIn(ClipsWithVideo()), ClipName);

TEST(Matroska, VideoStampsAreWholeMillisecondsFromZeroAndAudioStartsEarlier)
{
    const FfProbe probe =
        FfProbe::Run(TestMedia::Path(H264VorbisMkv.file),
                     {"-select_streams", "v", "-show_entries", "packet=pts:stream=time_base"});
    ASSERT_TRUE(probe.Succeeded()) << qPrintable(probe.Errors());
    EXPECT_EQ(probe.Streams()[0].toObject()["time_base"].toString(), "1/1000");
    QList<qint64> stamps;
    for (const auto &packet : probe.Packets())
        stamps << packet.toObject()["pts"].toInteger();
    std::sort(stamps.begin(), stamps.end());
    ASSERT_EQ(stamps.size(), H264VorbisMkv.video->frames);
    const Rational rate = H264VorbisMkv.video->frameRate;
    for (int n = 0; n < stamps.size(); ++n)
        ASSERT_EQ(stamps[n], std::llround(n * 1000.0 * rate.den / rate.num)) << "frame " << n;
    EXPECT_LT(stamps[1] * rate.num, 1000LL * rate.den) << "frame 1 is stamped before its exact time";

    const FfProbe audio = FfProbe::Run(TestMedia::Path(H264VorbisMkv.file),
                                       {"-select_streams", "a", "-show_entries", "stream=start_pts"});
    ASSERT_TRUE(audio.Succeeded()) << qPrintable(audio.Errors());
    EXPECT_EQ(audio.Streams()[0].toObject()["start_pts"].toInteger(), H264VorbisMkvAudioStartMs);
}

int KeyFrames(const QString &path)
{
    const FfProbe probe = FfProbe::Run(path, {"-select_streams", "v", "-show_entries", "packet=flags"});
    int keyFrames = 0;
    for (const auto &packet : probe.Packets())
        keyFrames += packet.toObject()["flags"].toString().startsWith('K') ? 1 : 0;
    return keyFrames;
}

TEST(LongGop, OneKeyFramePerGop)
{
    // The benchmark clip is made only by bench_media; when present it must hold what its facts say.
    enum class Made { Always, OnRequest };
    const std::pair<const ClipFacts &, Made> clips[] = {{H264Aac, Made::Always},
                                                        {H264Bench1080p, Made::OnRequest}};
    for (const auto &[clip, made] : clips) {
        const QString path = TestMedia::Path(clip.file);
        if (made == Made::OnRequest && !QFileInfo::exists(path))
            continue;
        const FfProbe probe = FfProbe::Streams(path);
        ASSERT_TRUE(probe.Succeeded()) << qPrintable(probe.Errors());
        ExpectVideo(probe.Streams()[0].toObject(), *clip.video);
        EXPECT_EQ(KeyFrames(path), (clip.video->frames + LongGopFrames - 1) / LongGopFrames) << clip.file;
    }
}

} // namespace
