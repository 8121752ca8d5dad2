#include "DifFrame.h"
#include "FfProbe.h"
#include "support/QStringPrinter.h"
#include "support/MediaFacts.h"
#include "support/TestMedia.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace MediaFacts;

namespace
{

struct RawDv {
    const ClipFacts &clip;
    const DvFacts &dv;
    bool is625;
};

const RawDv RawDvClips[] = {{DvPal, DvPalFacts, true}, {DvNtsc, DvNtscFacts, false}};

int Bcd(uint8_t byte, uint8_t mask)
{
    byte &= mask;
    return (byte >> 4) * 10 + (byte & 0x0F);
}

// "YYYY-MM-DD hh:mm:ss" from the VAUX recording date (0x62) and time (0x63) packs.
std::string RecordedAt(const DifFrame &frame)
{
    const auto date = frame.FindPack(DifFrame::Section::Vaux, 0x62);
    const auto time = frame.FindPack(DifFrame::Section::Vaux, 0x63);
    if (!date || !time)
        return "no recording date/time packs";
    const int year = Bcd((*date)[4], 0xFF);
    return QString("%1-%2-%3 %4:%5:%6")
        .arg(year < 75 ? 2000 + year : 1900 + year)
        .arg(Bcd((*date)[3], 0x1F), 2, 10, QChar('0'))
        .arg(Bcd((*date)[2], 0x3F), 2, 10, QChar('0'))
        .arg(Bcd((*time)[4], 0x3F), 2, 10, QChar('0'))
        .arg(Bcd((*time)[3], 0x7F), 2, 10, QChar('0'))
        .arg(Bcd((*time)[2], 0x7F), 2, 10, QChar('0'))
        .toStdString();
}

std::string ExpectedRecordedAt(const DvFacts &r, int second)
{
    return QString::asprintf("%04d-%02d-%02d %02d:%02d:%02d", r.year, r.month, r.day, r.hour, r.minute,
                             second)
        .toStdString();
}

// "hh:mm:ss:ff" from the subcode timecode pack (0x13); ';' before the frames in drop-frame
// counting, which only 525/60 has.
std::string Timecode(const DifFrame &frame)
{
    const auto tc = frame.FindPack(DifFrame::Section::Subcode, 0x13);
    if (!tc)
        return "no timecode pack";
    const bool dropFrame = !frame.Is625() && ((*tc)[1] & 0x40);
    return QString::asprintf("%02d:%02d:%02d%c%02d", Bcd((*tc)[4], 0x3F), Bcd((*tc)[3], 0x7F),
                             Bcd((*tc)[2], 0x7F), dropFrame ? ';' : ':', Bcd((*tc)[1], 0x3F))
        .toStdString();
}

TEST(RawDv, FramesAreWholeAndOfTheirSystem)
{
    for (const auto &[clip, dv, is625] : RawDvClips) {
        const QString path = TestMedia::Path(clip.file);
        EXPECT_EQ(QFile(path).size(), qint64(dv.frameBytes) * clip.video->frames) << clip.file;
        EXPECT_EQ(DifFrame::Read(path, qint64(dv.frameBytes), 0).Is625(), is625) << clip.file;
    }
}

TEST(RawDv, FfprobeReadsTheTimecodeOfRawAndType2Files)
{
    const std::pair<const ClipFacts &, const DvFacts &> cases[] = {
        {DvPal, DvPalFacts}, {DvNtsc, DvNtscFacts}, {DvPalType2, DvPalFacts}, {DvNtscType2, DvNtscFacts}};
    for (const auto &[clip, recording] : cases) {
        const FfProbe probe = FfProbe::Run(TestMedia::Path(clip.file), {"-show_format"});
        ASSERT_TRUE(probe.Succeeded()) << qPrintable(probe.Errors());
        EXPECT_EQ(probe.Format()["tags"].toObject()["timecode"].toString(), recording.firstTimecode)
            << clip.file;
    }
}

TEST(RawDv, PacksCarryTheRecordingDateAndTimecodeFrameByFrame)
{
    for (const auto &[clip, dv, is625] : RawDvClips) {
        const QString path = TestMedia::Path(clip.file);
        const DifFrame first = DifFrame::Read(path, qint64(dv.frameBytes), 0);
        const DifFrame last = DifFrame::Read(path, qint64(dv.frameBytes), clip.video->frames - 1);
        EXPECT_EQ(RecordedAt(first), ExpectedRecordedAt(dv, dv.second)) << clip.file;
        EXPECT_EQ(RecordedAt(last), ExpectedRecordedAt(dv, dv.lastSecond)) << clip.file;
        EXPECT_EQ(Timecode(first), dv.firstTimecode) << clip.file;
        EXPECT_EQ(Timecode(last), dv.lastTimecode) << clip.file;
    }
}

TEST(RawDv, PacksSitAtTheOffsetsCamcordersUseInEveryDifSequence)
{
    // Readers may look for the packs at fixed offsets of each DIF sequence, as camcorder frames
    // allow; the generated frames must keep that layout.
    for (const auto &[clip, dv, is625] : RawDvClips) {
        const QByteArray frame = DifFrame::Read(TestMedia::Path(clip.file), qint64(dv.frameBytes), 0).Bytes();
        ASSERT_EQ(frame.size(), qint64(dv.frameBytes)) << clip.file;
        for (int s = 0; s < frame.size() / DifFrame::SequenceBytes; ++s) {
            SCOPED_TRACE(testing::Message() << clip.file << " sequence " << s);
            const auto at = [&](int offset) {
                return int(uint8_t(frame[s * DifFrame::SequenceBytes + offset]));
            };
            EXPECT_EQ(at(3), is625 ? 0xBF : 0x3F);     // DSF
            EXPECT_EQ(at(110), 0x13);                  // timecode, subcode block 0
            EXPECT_EQ(at(190), 0x13);                  // timecode, subcode block 1
            EXPECT_EQ(at(453), 0x61);                  // VAUX source control
            EXPECT_EQ(at(455) & 0x07, dv.displayMode); // DISP
            EXPECT_EQ(at(458), 0x62);                  // recording date
            EXPECT_EQ(at(463), 0x63);                  // recording time
            if (s % 2 == 0) {
                EXPECT_EQ(at(4323), 0x50);     // AAUX source, audio block 3
                EXPECT_EQ(at(4327) & 0x3F, 0); // 48 kHz, 16 bits
            }
        }
    }
}

// Little-endian reads from a RIFF file held in memory.
class RiffBytes
{
  public:
    explicit RiffBytes(QByteArray bytes) : bytes_(std::move(bytes)) {}
    QByteArray FourCC(qint64 at) const { return bytes_.mid(at, 4); }
    quint32 U32(qint64 at) const
    {
        quint32 v = 0;
        for (int i = 3; i >= 0; --i)
            v = (v << 8) | uint8_t(bytes_.at(at + i));
        return v;
    }
    qint64 IndexOf(const char *fourcc) const { return bytes_.indexOf(fourcc); }
    QByteArray Mid(qint64 at, qint64 size) const { return bytes_.mid(at, size); }
    qint64 Size() const { return bytes_.size(); }

  private:
    QByteArray bytes_;
};

struct Type1Avi {
    const ClipFacts &avi;
    const ClipFacts &raw;
    qint64 frameBytes;
};

const Type1Avi Type1Clips[] = {{DvPalType1, DvPal, DvFrameBytes625}, {DvNtscType1, DvNtsc, DvFrameBytes525}};

QByteArray ReadAll(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

quint32 PackPayload(const std::optional<DifFrame::Pack> &pack)
{
    return pack ? (*pack)[1] | (*pack)[2] << 8 | (*pack)[3] << 16 | quint32((*pack)[4]) << 24 : 0;
}

TEST(Type1Avi, OneInterleavedStreamWithDvInfoAndAnIndexOfEveryFrame)
{
    for (const Type1Avi &t : Type1Clips) {
        SCOPED_TRACE(t.avi.file);
        const RiffBytes riff(ReadAll(TestMedia::Path(t.avi.file)));
        const QByteArray raw = ReadAll(TestMedia::Path(t.raw.file));
        const DifFrame firstFrame(raw.left(t.frameBytes));
        const quint32 frames = t.raw.video->frames;
        ASSERT_EQ(riff.FourCC(0), "RIFF");
        EXPECT_EQ(riff.U32(4), riff.Size() - 8);
        EXPECT_EQ(riff.FourCC(8), "AVI ");

        const qint64 avih = riff.IndexOf("avih") + 8;
        EXPECT_EQ(riff.U32(avih + 16), frames); // total frames
        EXPECT_EQ(riff.U32(avih + 24), 1u);     // streams

        const qint64 strh = riff.IndexOf("strh") + 8;
        EXPECT_EQ(riff.FourCC(strh), "iavs");
        EXPECT_EQ(riff.FourCC(strh + 4), "dvsd");
        EXPECT_EQ(riff.U32(strh + 20) * quint64(t.raw.video->frameRate.num),
                  riff.U32(strh + 24) * quint64(t.raw.video->frameRate.den)); // scale/rate
        EXPECT_EQ(riff.U32(strh + 32), frames);                               // length

        const qint64 strf = riff.IndexOf("strf");
        ASSERT_EQ(riff.U32(strf + 4), 32u);
        EXPECT_EQ(riff.U32(strf + 8), PackPayload(firstFrame.FindPack(DifFrame::Section::Audio, 0x50)));
        EXPECT_EQ(riff.U32(strf + 12), PackPayload(firstFrame.FindPack(DifFrame::Section::Audio, 0x51)));
        const int half = int(t.frameBytes / DifFrame::SequenceBytes / 2); // second audio block set
        EXPECT_EQ(riff.U32(strf + 16),
                  PackPayload(firstFrame.FindPack(DifFrame::Section::Audio, 0x50, half)));
        EXPECT_EQ(riff.U32(strf + 20),
                  PackPayload(firstFrame.FindPack(DifFrame::Section::Audio, 0x51, half)));
        EXPECT_NE(riff.U32(strf + 8), riff.U32(strf + 16)) << "the two audio block sets differ in audio mode";
        EXPECT_EQ(riff.U32(strf + 24), PackPayload(firstFrame.FindPack(DifFrame::Section::Vaux, 0x60)));
        EXPECT_EQ(riff.U32(strf + 28), PackPayload(firstFrame.FindPack(DifFrame::Section::Vaux, 0x61)));
        EXPECT_NE(riff.U32(strf + 24), 0u);

        const qint64 movi = riff.IndexOf("movi");
        const qint64 idx1 = riff.IndexOf("idx1");
        ASSERT_GT(movi, 0);
        ASSERT_GT(idx1, movi);
        ASSERT_EQ(riff.U32(idx1 + 4), frames * 16);
        for (quint32 i = 0; i < frames; ++i) {
            const qint64 entry = idx1 + 8 + 16 * i;
            EXPECT_EQ(riff.FourCC(entry), "00db");
            EXPECT_EQ(riff.U32(entry + 12), t.frameBytes);
            const qint64 chunk = movi + riff.U32(entry + 8);
            ASSERT_EQ(riff.FourCC(chunk), "00db") << "frame " << i;
            ASSERT_EQ(riff.Mid(chunk + 8, t.frameBytes), raw.mid(i * t.frameBytes, t.frameBytes))
                << "frame " << i;
        }
    }
}

} // namespace

namespace
{

// Runs the type-1 writer; its exit code, or -1 when it did not run to the end.
int WriteType1Avi(const QString &in, const QString &out)
{
    QProcess writer;
    writer.start(DV_TYPE1_AVI, {in, out});
    if (!writer.waitForFinished(60000) || writer.exitStatus() != QProcess::NormalExit)
        return -1;
    return writer.exitCode();
}

TEST(Type1Avi, WriterLeavesOutAPartialLastFrame)
{
    QTemporaryDir dir;
    const QString out = dir.filePath("cut.avi");
    ASSERT_EQ(WriteType1Avi(TestMedia::Path(TruncatedDv), out), 0);
    const FfProbe probe = FfProbe::Streams(out);
    ASSERT_TRUE(probe.Succeeded()) << qPrintable(probe.Errors());
    EXPECT_EQ(probe.Streams()[0].toObject()["nb_read_packets"].toString().toInt(), TruncatedDvWholeFrames);
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList{"cut.avi"});
}

TEST(Type1Avi, WriterRefusesWhatIsNotWholeDvAndWritesNothing)
{
    QTemporaryDir dir;
    QFile partial(dir.filePath("partial.dv"));
    ASSERT_TRUE(partial.open(QIODevice::WriteOnly));
    partial.write(ReadAll(TestMedia::Path(DvPal.file)).left(DvFrameBytes625 - 1));
    partial.close();
    for (const QString &in : {TestMedia::Path(EmptyMp4), TestMedia::Path(ToneWav.file), partial.fileName(),
                              dir.filePath("missing.dv")}) {
        EXPECT_EQ(WriteType1Avi(in, dir.filePath("out.avi")), 1) << qPrintable(in);
        EXPECT_FALSE(QFile::exists(dir.filePath("out.avi"))) << qPrintable(in);
        EXPECT_FALSE(QFile::exists(dir.filePath("out.avi.part"))) << qPrintable(in);
    }
}

} // namespace
