#include "media/DvPacks.h"
#include "platform/core/DateTime.h"
#include "support/TestMedia.h"

#include <gtest/gtest.h>

#include <QFile>
#include <random>
#include <vector>

namespace
{

using Frame = std::vector<uint8_t>;
using Timecode = std::array<uint8_t, 4>;

// An NTSC frame of zeros with every sequence marked 525/60.
Frame BlankFrame(size_t size = DvFrameSize525)
{
    Frame frame(size, 0);
    for (size_t s = 0; s * DvSequenceSize < size; ++s)
        frame[s * DvSequenceSize + 3] = size == DvFrameSize625 ? 0xBF : 0x3F;
    return frame;
}

void Put(Frame &frame, int s, size_t offset, std::initializer_list<uint8_t> bytes)
{
    size_t at = size_t(s) * DvSequenceSize + offset;
    for (uint8_t b : bytes)
        frame[at++] = b;
}

// Time code pack in both subcode blocks of sequence s.
void PutTimecode(Frame &frame, int s, uint8_t hours, uint8_t minutes, uint8_t seconds, uint8_t frames)
{
    Put(frame, s, 110, {0x13, frames, seconds, minutes, hours});
    Put(frame, s, 190, {0x13});
}

void PutRecordingDate(Frame &frame, int s, uint8_t day, uint8_t month, uint8_t year, uint8_t hours,
                      uint8_t minutes, uint8_t seconds)
{
    Put(frame, s, 458, {0x62, 0xFF, day, month, year, 0x63, 0xFF, seconds, minutes, hours});
}

std::vector<Frame> ReadFrames(const QString &name)
{
    QFile file(TestMedia::SharedPath("dv-real/" + name));
    EXPECT_TRUE(file.open(QIODevice::ReadOnly)) << name.toStdString();
    const QByteArray bytes = file.readAll();
    std::vector<Frame> frames;
    qsizetype at = 0;
    while (at < bytes.size()) {
        const auto *data = reinterpret_cast<const uint8_t *>(bytes.constData()) + at;
        const size_t left = size_t(bytes.size() - at);
        const size_t size = std::min(left, DvSystem(data, left) == 0 ? DvFrameSize625 : DvFrameSize525);
        frames.emplace_back(data, data + size);
        at += qsizetype(size);
    }
    return frames;
}

} // namespace

TEST(DvTimecode, BcdFieldsMaskTheirFlags)
{
    Frame frame = BlankFrame();
    PutTimecode(frame, 0, 0x80 | 0x12, 0x80 | 0x59, 0x80 | 0x37, 0xC0 | 0x29);
    EXPECT_EQ(DvTimecode(frame.data(), frame.size(), 0), (Timecode{12, 59, 37, 29}));
}

TEST(DvTimecode, NeedsThePackInBothSubcodeBlocks)
{
    Frame frame = BlankFrame();
    PutTimecode(frame, 1, 0x01, 0x02, 0x03, 0x04);
    Put(frame, 0, 110, {0x13, 0x09, 0x09, 0x09, 0x09}); // only in subcode block 0
    EXPECT_EQ(DvTimecode(frame.data(), frame.size(), 0)[0], 0xFF);
    EXPECT_EQ(DvTimecode(frame.data(), frame.size(), 1), (Timecode{1, 2, 3, 4}));
    EXPECT_EQ(FirstDvTimecode(frame.data(), frame.size()), (Timecode{1, 2, 3, 4}));
    Frame none = BlankFrame();
    EXPECT_EQ(FirstDvTimecode(none.data(), none.size())[0], 0xFF);
}

TEST(DvRecordingDate, YearsHeadersAndSearch)
{
    struct Case {
        uint8_t year;
        int32_t expected;
    } years[] = {{0x00, 2000}, {0x24, 2024}, {0x39, 2039}, {0x40, 1940}, {0x99, 1999}};
    for (const Case &c : years) {
        Frame frame = BlankFrame();
        PutRecordingDate(frame, 0, 0xC0 | 0x31, 0xE0 | 0x12, c.year, 0xC0 | 0x23, 0x80 | 0x59, 0x80 | 0x58);
        const TDvRecDate date = DvRecordingDate(frame.data(), frame.size(), 0);
        EXPECT_EQ(date.Year, c.expected);
        EXPECT_EQ(date.Month, 12);
        EXPECT_EQ(date.Day, 31);
        EXPECT_EQ(date.Hour, 23);
        EXPECT_EQ(date.Minute, 59);
        EXPECT_EQ(date.Second, 58);
    }

    // Unknown pack headers: no date in that sequence; the search goes on.
    Frame frame = BlankFrame();
    Put(frame, 0, 458, {0xFF});
    PutRecordingDate(frame, 3, 0x05, 0x06, 0x07, 0x08, 0x09, 0x10);
    EXPECT_EQ(DvRecordingDate(frame.data(), frame.size(), 0).Year, -1);
    Put(frame, 1, 463, {0x64});
    EXPECT_EQ(DvRecordingDate(frame.data(), frame.size(), 1).Year, -1);
    EXPECT_EQ(FirstDvRecordingDate(frame.data(), frame.size()).Year, 2000); // sequence 2 is zeros: accepted
    Put(frame, 1, 458, {0xFF});
    Put(frame, 2, 458, {0xFF});
    const TDvRecDate found = FirstDvRecordingDate(frame.data(), frame.size());
    EXPECT_EQ(found.Year, 2007);
    EXPECT_EQ(found.Day, 5);
}

TEST(DvRecordingDate, ZeroPackHeadersStopTheSearch)
{
    Frame frame = BlankFrame();
    PutRecordingDate(frame, 4, 0x01, 0x02, 0x03, 0x04, 0x05, 0x06);
    const TDvRecDate date = FirstDvRecordingDate(frame.data(), frame.size());
    EXPECT_EQ(date.Year, 2000);
    EXPECT_EQ(date.Month, 0);
    EXPECT_EQ(date.Day, 0);
    TDateTime value = 0;
    EXPECT_FALSE(TryEncodeDate(date.Year, date.Month, date.Day, value));
}

TEST(DvSystem, VotesOverTenSequences)
{
    struct Case {
        int pal, ntsc, expected;
    } cases[] = {{10, 0, 0}, {0, 10, 1}, {5, 5, 2}, {0, 0, 2}, {6, 4, 0}, {3, 4, 1}};
    for (const Case &c : cases) {
        Frame frame(DvFrameSize625, 0);
        for (int s = 0; s < c.pal; ++s)
            Put(frame, s, 3, {0xBF});
        for (int s = c.pal; s < c.pal + c.ntsc; ++s)
            Put(frame, s, 3, {0x3F});
        EXPECT_EQ(DvSystem(frame.data(), frame.size()), c.expected) << c.pal << " " << c.ntsc;
    }
    // Sequences 10 and 11 of a 625/50 frame do not vote.
    Frame frame(DvFrameSize625, 0);
    Put(frame, 10, 3, {0xBF});
    Put(frame, 11, 3, {0xBF});
    EXPECT_EQ(DvSystem(frame.data(), frame.size()), 2);
}

TEST(DvAudio, FirstSourcePackGivesRateAndBits)
{
    struct Case {
        uint8_t format;
        int rate, bits;
    } cases[] = {{0x00, 48000, 16},
                 {0x08 | 0x01, 44100, 12},
                 {0x10 | 0x01, 32000, 12},
                 {0x18 | 0x02, 0, 0},
                 {0xC0 | 0x38, 0, 16}};
    for (const Case &c : cases) {
        Frame frame = BlankFrame();
        Put(frame, 2, 4323, {0x50, 0xFF, 0xFF, 0xFF, c.format});
        Put(frame, 5, 4323, {0x50, 0xFF, 0xFF, 0xFF, 0x01}); // later packs are not read
        EXPECT_EQ(DvAudioSampleRate(frame.data(), frame.size()), c.rate) << int(c.format);
        EXPECT_EQ(DvAudioBits(frame.data(), frame.size()), c.bits) << int(c.format);
    }
    Frame none = BlankFrame();
    EXPECT_EQ(DvAudioSampleRate(none.data(), none.size()), -1);
    EXPECT_EQ(DvAudioBits(none.data(), none.size()), -1);
}

TEST(DvIsWide, DisplayModeAndAp3)
{
    struct Case {
        uint8_t disp, ap3;
        bool wide;
    } cases[] = {{2, 0, true}, {7, 0, true}, {7, 1, false}, {0, 0, false}, {1, 0, false}, {0xFA, 0xF8, true}};
    for (const Case &c : cases) {
        Frame frame = BlankFrame();
        Put(frame, 1, 453, {0x61, 0xFF, c.disp});
        Put(frame, 1, 7, {c.ap3});
        Put(frame, 0, 7, {0x01}); // AP3 of another sequence is not read
        EXPECT_EQ(DvIsWide(frame.data(), frame.size()), c.wide) << int(c.disp) << " " << int(c.ap3);
    }
    Frame none = BlankFrame();
    Put(none, 0, 455, {0x02});
    EXPECT_FALSE(DvIsWide(none.data(), none.size()));
}

TEST(DvPacks, ShortSamplesReadNothingPastTheirEnd)
{
    Frame frame = BlankFrame();
    PutTimecode(frame, 0, 0x01, 0x02, 0x03, 0x04);
    PutRecordingDate(frame, 0, 0x05, 0x06, 0x07, 0x08, 0x09, 0x10);
    Put(frame, 0, 4323, {0x50, 0, 0, 0, 0x01});
    Put(frame, 0, 453, {0x61, 0, 0x02});
    EXPECT_EQ(DvTimecode(frame.data(), 190, 0)[0], 0xFF);
    EXPECT_EQ(DvTimecode(frame.data(), 191, 0), (Timecode{1, 2, 3, 4}));
    EXPECT_EQ(DvRecordingDate(frame.data(), 467, 0).Year, -1);
    EXPECT_EQ(DvRecordingDate(frame.data(), 468, 0).Year, 2007);
    EXPECT_EQ(DvTimecode(frame.data(), frame.size(), 10)[0], 0xFF);
    EXPECT_EQ(DvTimecode(frame.data(), frame.size(), -1)[0], 0xFF);
    EXPECT_EQ(DvAudioBits(frame.data(), 4327), -1);
    EXPECT_EQ(DvAudioBits(frame.data(), 4328), 12);
    EXPECT_FALSE(DvIsWide(frame.data(), 455));
    EXPECT_TRUE(DvIsWide(frame.data(), 456));
    EXPECT_EQ(DvSystem(frame.data(), 3), 2);
    EXPECT_EQ(DvSystem(nullptr, 0), 2);
    EXPECT_EQ(FirstDvRecordingDate(nullptr, 0).Year, -1);
}

TEST(DvPacksOfRealFrames, SonyCaptures)
{
    struct Case {
        const char *file;
        int frame;
        Timecode timecode;
        int year, month, day, hour, minute, second;
    } cases[] = {
        {"sony_perfect.dv", 0, {0, 0, 2, 20}, 2024, 7, 8, 19, 55, 58},
        {"sony_good_quality.dv", 0, {0, 0, 2, 17}, 2024, 7, 8, 19, 55, 58},
        {"sony_good_quality.dv", 4, {0, 0, 2, 21}, 2024, 7, 8, 19, 55, 58},
        {"sony_subcode_errors.dv", 0, {0, 0, 2, 6}, 2000, 12, 3, 10, 15, 59},
        {"sony_head_clog.dv", 0, {0, 0, 0, 12}, 2000, 12, 3, 10, 15, 57}, // date from sequence 2
        {"1.dv", 0, {0, 0, 3, 2}, 2008, 9, 28, 10, 29, 53},
        {"1.dv", 4, {0, 0, 3, 13}, 2008, 9, 28, 10, 29, 54},
        {"1.dv", 18, {0, 11, 5, 13}, 2002, 12, 29, 15, 15, 5}, // packs only in later sequences
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(std::string(c.file) + " frame " + std::to_string(c.frame));
        const auto frames = ReadFrames(c.file);
        ASSERT_GT(frames.size(), size_t(c.frame));
        const Frame &frame = frames[size_t(c.frame)];
        EXPECT_EQ(FirstDvTimecode(frame.data(), frame.size()), c.timecode);
        const TDvRecDate date = FirstDvRecordingDate(frame.data(), frame.size());
        EXPECT_EQ(date.Year, c.year);
        EXPECT_EQ(date.Month, c.month);
        EXPECT_EQ(date.Day, c.day);
        EXPECT_EQ(date.Hour, c.hour);
        EXPECT_EQ(date.Minute, c.minute);
        EXPECT_EQ(date.Second, c.second);
    }
}

TEST(DvPacksOfRealFrames, SystemsAudioAndAspect)
{
    const auto sony = ReadFrames("sony_good_quality.dv");
    ASSERT_EQ(sony.size(), 5u);
    for (const Frame &frame : sony) {
        EXPECT_EQ(frame.size(), DvFrameSize525);
        EXPECT_EQ(DvSystem(frame.data(), frame.size()), 1);
        EXPECT_EQ(DvAudioSampleRate(frame.data(), frame.size()), 32000);
        EXPECT_EQ(DvAudioBits(frame.data(), frame.size()), 12);
        EXPECT_FALSE(DvIsWide(frame.data(), frame.size()));
    }

    const auto spliced = ReadFrames("1.dv");
    ASSERT_EQ(spliced.size(), 19u);
    for (size_t i = 0; i < spliced.size(); ++i)
        EXPECT_EQ(DvSystem(spliced[i].data(), spliced[i].size()), i < 9 ? 0 : 1) << i;

    const auto deck = ReadFrames("dv_dsf_1_stype_1.dv");
    ASSERT_EQ(deck.size(), 15u);
    EXPECT_EQ(DvAudioSampleRate(deck[0].data(), deck[0].size()), 48000);
    EXPECT_EQ(FirstDvTimecode(deck[0].data(), deck[0].size()), (Timecode{1, 0, 5, 10}));
    EXPECT_EQ(FirstDvTimecode(deck[14].data(), deck[14].size()), (Timecode{1, 0, 5, 24}));
    EXPECT_EQ(FirstDvRecordingDate(deck[0].data(), deck[0].size()).Year, -1);

    // A 4,400-byte fragment of a 16:9 PAL frame still holds its first sequence's packs.
    const auto fragment = ReadFrames("DV.dv");
    ASSERT_EQ(fragment.size(), 1u);
    const Frame &part = fragment[0];
    EXPECT_EQ(DvSystem(part.data(), part.size()), 0);
    EXPECT_TRUE(DvIsWide(part.data(), part.size()));
    EXPECT_EQ(FirstDvTimecode(part.data(), part.size()), (Timecode{0, 0, 4, 24}));
    const TDvRecDate date = FirstDvRecordingDate(part.data(), part.size());
    EXPECT_EQ(date.Year, 2010);
    EXPECT_EQ(date.Month, 2);
    EXPECT_EQ(date.Day, 16);
    EXPECT_EQ(DvAudioBits(part.data(), part.size()), 12);
}

TEST(DvPacksOfRealFrames, FramesWithoutUsableDates)
{
    const auto blank = ReadFrames("sony_drop_frame.dv");
    ASSERT_EQ(blank.size(), 1u);
    EXPECT_EQ(FirstDvTimecode(blank[0].data(), blank[0].size())[0], 0xFF);
    EXPECT_EQ(FirstDvRecordingDate(blank[0].data(), blank[0].size()).Year, -1);

    const auto spliced = ReadFrames("1.dv");
    ASSERT_EQ(spliced.size(), 19u);
    for (size_t i : {6, 7, 17}) {
        EXPECT_EQ(FirstDvRecordingDate(spliced[i].data(), spliced[i].size()).Year, -1) << i;
    }
    EXPECT_EQ(FirstDvTimecode(spliced[17].data(), spliced[17].size())[0], 0xFF);
    // Frames 9-16 hold date packs filled with 0xFF: accepted headers, no calendar date.
    for (size_t i = 9; i <= 16; ++i) {
        const TDvRecDate date = FirstDvRecordingDate(spliced[i].data(), spliced[i].size());
        TDateTime value = 0;
        EXPECT_GE(date.Year, 0) << i;
        EXPECT_FALSE(TryEncodeDate(date.Year, date.Month, date.Day, value)) << i;
        EXPECT_EQ(FirstDvTimecode(spliced[i].data(), spliced[i].size())[1], 38) << i;
    }
}

// Random bytes, flipped bytes in real frames and every truncation of a frame's pack areas: the
// readers stay inside the sample and give answers from their documented ranges.
TEST(DvPacks, DamagedInputStaysInBounds)
{
    std::mt19937 random(20261211);
    auto check = [](const Frame &frame, size_t length) {
        const uint8_t *data = frame.data();
        const int system = DvSystem(data, length);
        EXPECT_TRUE(system >= 0 && system <= 2);
        const int rate = DvAudioSampleRate(data, length);
        EXPECT_TRUE(rate == -1 || rate == 0 || rate == 32000 || rate == 44100 || rate == 48000);
        const int bits = DvAudioBits(data, length);
        EXPECT_TRUE(bits == -1 || bits == 0 || bits == 12 || bits == 16);
        DvIsWide(data, length);
        const Timecode timecode = FirstDvTimecode(data, length);
        EXPECT_TRUE(timecode[0] == 0xFF || timecode[0] < 40);
        const TDvRecDate date = FirstDvRecordingDate(data, length);
        EXPECT_TRUE(date.Year == -1 || (date.Year >= 1900 && date.Year <= 2065));
    };
    Frame noise(DvFrameSize625);
    for (int round = 0; round < 20; ++round) {
        for (uint8_t &b : noise)
            b = uint8_t(random());
        check(noise, noise.size());
    }
    const Frame real = ReadFrames("sony_perfect.dv")[0];
    for (int round = 0; round < 200; ++round) {
        Frame damaged = real;
        for (int flip = 0; flip < 64; ++flip) {
            const size_t s = random() % 10;
            const size_t offset = s * DvSequenceSize + random() % 4400;
            damaged[offset] = uint8_t(random());
        }
        check(damaged, damaged.size());
    }
    for (size_t length = 0; length <= 4400; length += 7) {
        const Frame cut(real.begin(), real.begin() + std::ptrdiff_t(length));
        check(cut, cut.size());
    }
}
