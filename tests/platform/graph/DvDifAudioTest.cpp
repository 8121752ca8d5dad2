#include "platform/graph/DvDifAudio.h"
#include "support/TestMedia.h"

#include <QFile>
#include <QProcess>

#include <gtest/gtest.h>

#include <cstring>

namespace
{
QByteArray ReadAll(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// FFmpeg's decoding of one audio stream of a file as interleaved 16-bit samples.
std::vector<std::int16_t> FfmpegAudio(const QString &path, int stream)
{
    QProcess ffmpeg;
    ffmpeg.start("ffmpeg",
                 {"-v", "error", "-i", path, "-map", QString("0:a:%1").arg(stream), "-f", "s16le", "-"});
    if (!ffmpeg.waitForFinished(60000) || ffmpeg.exitCode() != 0)
        return {};
    const QByteArray bytes = ffmpeg.readAllStandardOutput();
    std::vector<std::int16_t> samples(bytes.size() / 2);
    std::memcpy(samples.data(), bytes.data(), samples.size() * 2);
    return samples;
}

// Our decoding of the first `frames` whole frames of a raw DV file (all of them when 0).
std::vector<std::int16_t> OurAudio(const QByteArray &file, int pair, int frames, DvDifAudio::Format &format)
{
    std::vector<std::int16_t> all;
    const auto *bytes = reinterpret_cast<const std::uint8_t *>(file.constData());
    std::size_t at = 0;
    for (int n = 0; (frames == 0 || n < frames) &&
                    at + DvDifAudio::FrameBytes525 <= static_cast<std::size_t>(file.size());
         ++n) {
        const std::size_t frameBytes =
            bytes[at + 3] & 0x80 ? DvDifAudio::FrameBytes625 : DvDifAudio::FrameBytes525;
        if (at + frameBytes > static_cast<std::size_t>(file.size()))
            break;
        if (auto f = DvDifAudio::ReadFormat(bytes + at, frameBytes))
            format = *f;
        const std::vector<std::int16_t> frame = DvDifAudio::Decode(bytes + at, frameBytes, pair);
        all.insert(all.end(), frame.begin(), frame.end());
        at += frameBytes;
    }
    return all;
}
} // namespace

// Every stereo pair of generated and camcorder-recorded DV decodes to the same samples as FFmpeg's.
// The spliced camcorder file switches to 48 kHz NTSC after 9 PAL frames, where FFmpeg resamples
// to its first rate, so only its PAL frames are compared.
TEST(DvDifAudio, MatchesFfmpegSampleForSample)
{
    struct Case {
        QString path;
        int pair;
        int frames;
        int rate;
        int bits;
    } cases[] = {
        {TestMedia::Path("dv_pal_16x9.dv"), 0, 0, 48000, 16},
        {TestMedia::Path("dv_ntsc_4x3.dv"), 0, 0, 48000, 16},
        {TestMedia::SharedPath("dv-real/sony_good_quality.dv"), 0, 0, 32000, 12},
        {TestMedia::SharedPath("dv-real/sony_good_quality.dv"), 1, 0, 32000, 12},
        {TestMedia::SharedPath("dv-real/1.dv"), 0, 9, 32000, 12},
        {TestMedia::SharedPath("dv-real/dv_dsf_1_stype_1.dv"), 0, 0, 48000, 12},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.path.toStdString() + " pair " + std::to_string(c.pair));
        const QByteArray file = ReadAll(c.path);
        ASSERT_FALSE(file.isEmpty());
        DvDifAudio::Format format;
        const std::vector<std::int16_t> ours = OurAudio(file, c.pair, c.frames, format);
        std::vector<std::int16_t> theirs = FfmpegAudio(c.path, c.pair);
        ASSERT_GE(theirs.size(), ours.size());
        if (c.frames)
            theirs.resize(ours.size());
        EXPECT_EQ(format.samplesPerSec, c.rate);
        EXPECT_EQ(format.bitsPerSample, c.bits);
        ASSERT_EQ(ours.size(), theirs.size());
        std::size_t differing = 0;
        for (std::size_t i = 0; i < ours.size(); ++i)
            differing += ours[i] != theirs[i];
        EXPECT_EQ(differing, 0u);
    }
}

// The 12-bit codes around each segment boundary, both signs, and the error code.
TEST(DvDifAudio, ExpandsTwelveBitCodes)
{
    struct Case {
        std::uint16_t code;
        int expected;
    } cases[] = {
        {0x000, 0},     {0x0ff, 255},   {0x1ff, 511},   {0x200, 512},    {0x2ff, 1022},
        {0x300, 1024},  {0x7ff, 32704}, {0xfff, -1},    {0xe00, -512},   {0xdff, -513},
        {0xd00, -1023}, {0xcff, -1025}, {0x7fe, 32640}, {0x801, -32641}, {0x800, 0},
    };
    for (const Case &c : cases)
        EXPECT_EQ(DvDifAudio::Expand12To16(c.code), c.expected) << std::hex << c.code;
}

// Short buffers and frames without an AAUX source pack give no audio instead of reading past the end.
TEST(DvDifAudio, RefusesShortOrPacklessFrames)
{
    std::vector<std::uint8_t> frame(DvDifAudio::FrameBytes625, 0);
    frame[3] = 0xbf;
    EXPECT_FALSE(DvDifAudio::ReadFormat(frame.data(), frame.size()));
    EXPECT_TRUE(DvDifAudio::Decode(frame.data(), frame.size()).empty());
    const QByteArray file = ReadAll(TestMedia::Path("dv_pal_16x9.dv"));
    ASSERT_GE(file.size(), static_cast<qsizetype>(DvDifAudio::FrameBytes625));
    const auto *bytes = reinterpret_cast<const std::uint8_t *>(file.constData());
    EXPECT_TRUE(DvDifAudio::ReadFormat(bytes, DvDifAudio::FrameBytes625));
    EXPECT_FALSE(DvDifAudio::ReadFormat(bytes, DvDifAudio::FrameBytes625 - 1));
    EXPECT_TRUE(DvDifAudio::Decode(bytes, DvDifAudio::FrameBytes625, 1).empty());
}
