#include "platform/graph/AviRiffParser.h"
#include "support/TestMedia.h"

#include <QFile>

#include <gtest/gtest.h>

#include <cstring>
#include <random>

namespace
{
using Bytes = std::vector<std::uint8_t>;

AviRiffParser::Reader MemoryReader(const Bytes &bytes)
{
    return [&bytes](std::uint64_t offset, std::uint32_t length, std::uint8_t *out) {
        if (offset > bytes.size() || length > bytes.size() - offset)
            return false;
        std::memcpy(out, bytes.data() + offset, length);
        return true;
    };
}

Bytes ReadFile(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    const QByteArray all = file.readAll();
    return Bytes(all.begin(), all.end());
}

void Put32(Bytes &b, std::uint32_t v)
{
    for (int i = 0; i < 4; ++i)
        b.push_back(std::uint8_t(v >> (8 * i)));
}

void PutId(Bytes &b, const char *id)
{
    b.insert(b.end(), id, id + 4);
}

Bytes Chunk(const char *id, const Bytes &data)
{
    Bytes b;
    PutId(b, id);
    Put32(b, std::uint32_t(data.size()));
    b.insert(b.end(), data.begin(), data.end());
    if (data.size() & 1)
        b.push_back(0);
    return b;
}

Bytes List(const char *type, const Bytes &content)
{
    Bytes data;
    PutId(data, type);
    data.insert(data.end(), content.begin(), content.end());
    return Chunk("LIST", data);
}

void Put64(Bytes &b, std::uint64_t v)
{
    Put32(b, std::uint32_t(v));
    Put32(b, std::uint32_t(v >> 32));
}

void Append(Bytes &to, const Bytes &from)
{
    to.insert(to.end(), from.begin(), from.end());
}

enum class Index { RelativeToMovi, Absolute, OpenDml, None };

constexpr std::uint32_t ChunkSizes[] = {5, 6, 7};

// OpenDML: a super-index in the stream header list pointing at one standard index, here placed
// after the 'movi' list, whose offsets count from a base and whose top size bit marks delta frames.
Bytes SuperIndex(std::uint64_t standardIndexAt)
{
    Bytes indx;
    Put32(indx, 4 | 0 << 16 | 0 << 24); // four longs per entry, index of indexes
    Put32(indx, 1);
    PutId(indx, "00dc");
    indx.resize(indx.size() + 12, 0);
    Put64(indx, standardIndexAt);
    Put32(indx, 32);
    Put32(indx, 3);
    return Chunk("indx", indx);
}

Bytes StandardIndex(std::uint64_t firstDataAt)
{
    Bytes ix;
    Put32(ix, 2 | 0 << 16 | 1 << 24); // two longs per entry, index of chunks
    Put32(ix, 3);
    PutId(ix, "00dc");
    Put64(ix, firstDataAt - 100);
    Put32(ix, 0);
    std::uint32_t at = 100;
    for (std::uint32_t size : ChunkSizes) {
        Put32(ix, at);
        Put32(ix, size == 6 ? size | 0x80000000u : size);
        at += 8 + size + (size & 1);
    }
    return Chunk("ix00", ix);
}

Bytes LegacyIndex(std::uint32_t firstChunkAt)
{
    Bytes idx1;
    std::uint32_t at = firstChunkAt;
    for (std::uint32_t size : ChunkSizes) {
        PutId(idx1, "00dc");
        Put32(idx1, size == 6 ? 0 : 0x10);
        Put32(idx1, at);
        Put32(idx1, size);
        at += 8 + size + (size & 1);
    }
    return Chunk("idx1", idx1);
}

// A one-stream video AVI of three chunks of 5, 6 and 7 bytes; the second is not a key frame.
Bytes SmallAvi(Index index, std::uint64_t standardIndexAt = 0)
{
    Bytes strh(56, 0);
    std::memcpy(strh.data(), "vidsMJPG", 8);
    strh[20] = 1;  // scale
    strh[24] = 25; // rate
    Bytes strl = Chunk("strh", strh);
    Append(strl, Chunk("strf", Bytes(40, 0)));
    if (index == Index::OpenDml)
        Append(strl, SuperIndex(standardIndexAt));
    const Bytes hdrl = List("hdrl", List("strl", strl));
    Bytes moviContent;
    for (std::uint32_t size : ChunkSizes)
        Append(moviContent, Chunk("00dc", Bytes(size, std::uint8_t(size))));
    Bytes form;
    PutId(form, "AVI ");
    Append(form, hdrl);
    const std::uint32_t moviTypeAt = std::uint32_t(8 + form.size() + 8);
    Append(form, List("movi", moviContent));
    if (index == Index::RelativeToMovi)
        Append(form, LegacyIndex(4));
    else if (index == Index::Absolute)
        Append(form, LegacyIndex(moviTypeAt + 4));
    else if (index == Index::OpenDml && standardIndexAt == 0)
        return SmallAvi(index, 8 + form.size()); // now that the index's place is known
    else if (index == Index::OpenDml)
        Append(form, StandardIndex(moviTypeAt + 4 + 8));
    return Chunk("RIFF", form);
}
} // namespace

// The generated DV AVIs: type 1 has one interleaved stream indexed by idx1, type 2 a DV video and
// a PCM audio stream indexed the OpenDML way; one chunk per frame, each a whole DV frame.
TEST(AviRiffParser, ReadsTheStreamsAndFramesOfDvAvis)
{
    struct Case {
        const char *file;
        std::uint32_t firstType;
        std::size_t streams;
        std::size_t frames;
        std::size_t frameBytes;
    } cases[] = {
        {"dv_pal_16x9_type1.avi", AviRiffParser::FourCC("iavs"), 1, 50, 144000},
        {"dv_ntsc_4x3_type1.avi", AviRiffParser::FourCC("iavs"), 1, 60, 120000},
        {"dv_pal_16x9_type2.avi", AviRiffParser::FourCC("vids"), 2, 50, 144000},
        {"dv_ntsc_4x3_type2.avi", AviRiffParser::FourCC("vids"), 2, 60, 120000},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.file);
        const Bytes file = ReadFile(TestMedia::Path(c.file));
        ASSERT_FALSE(file.empty());
        AviRiffParser parser;
        ASSERT_TRUE(parser.Open(file.size(), MemoryReader(file)));
        ASSERT_EQ(parser.Streams().size(), c.streams);
        const AviRiffParser::Stream &video = parser.Streams()[0];
        EXPECT_EQ(video.type, c.firstType);
        EXPECT_EQ(video.handler & 0xdfdfdfdf, AviRiffParser::FourCC("DVSD"));
        ASSERT_EQ(video.chunks.size(), c.frames);
        Bytes frame;
        for (const AviRiffParser::Chunk &chunk : {video.chunks.front(), video.chunks.back()}) {
            ASSERT_TRUE(parser.ReadChunk(chunk, frame));
            ASSERT_EQ(frame.size(), c.frameBytes);
            EXPECT_EQ(frame[0] >> 5, 0); // a DIF header block
            EXPECT_TRUE(chunk.keyFrame);
        }
        if (c.streams == 2) {
            EXPECT_EQ(parser.Streams()[1].type, AviRiffParser::FourCC("auds"));
            EXPECT_FALSE(parser.Streams()[1].chunks.empty());
        }
    }
}

// OpenDML indexes, idx1 offsets relative to 'movi' or absolute, or no index at all: the same chunks.
TEST(AviRiffParser, FindsChunksWhateverTheIndex)
{
    for (Index index : {Index::RelativeToMovi, Index::Absolute, Index::OpenDml, Index::None}) {
        SCOPED_TRACE(int(index));
        const Bytes file = SmallAvi(index);
        AviRiffParser parser;
        ASSERT_TRUE(parser.Open(file.size(), MemoryReader(file)));
        ASSERT_EQ(parser.Streams().size(), 1u);
        const auto &chunks = parser.Streams()[0].chunks;
        ASSERT_EQ(chunks.size(), 3u);
        for (std::size_t i = 0; i < 3; ++i) {
            Bytes data;
            ASSERT_TRUE(parser.ReadChunk(chunks[i], data));
            EXPECT_EQ(data, Bytes(5 + i, std::uint8_t(5 + i)));
        }
        if (index != Index::None) {
            EXPECT_FALSE(chunks[1].keyFrame);
        }
    }
}

// A file cut anywhere gives the chunks that are whole; indexes pointing past the end are dropped.
TEST(AviRiffParser, KeepsTheWholeChunksOfATruncatedFile)
{
    const Bytes file = ReadFile(TestMedia::Path("dv_pal_16x9_type1.avi"));
    ASSERT_FALSE(file.empty());
    AviRiffParser whole;
    ASSERT_TRUE(whole.Open(file.size(), MemoryReader(file)));
    const AviRiffParser::Chunk tenth = whole.Streams()[0].chunks.at(10);
    const Bytes cut(file.begin(), file.begin() + tenth.offset + tenth.size + 1000);
    AviRiffParser parser;
    ASSERT_TRUE(parser.Open(cut.size(), MemoryReader(cut)));
    EXPECT_EQ(parser.Streams()[0].chunks.size(), 11u);
    for (const auto &chunk : parser.Streams()[0].chunks)
        EXPECT_LE(chunk.offset + chunk.size, cut.size());
}

// Random cuts and byte flips over real and small files: the parser never reads out of bounds,
// never hangs, and every chunk it reports lies inside the file.
TEST(AviRiffParser, SurvivesDamagedFiles)
{
    std::vector<Bytes> originals = {SmallAvi(Index::RelativeToMovi), SmallAvi(Index::OpenDml),
                                    SmallAvi(Index::None)};
    for (const char *name : {"dv_pal_16x9_type1.avi", "dv_ntsc_4x3_type2.avi"}) {
        Bytes file = ReadFile(TestMedia::Path(name));
        ASSERT_FALSE(file.empty());
        file.resize(std::min<std::size_t>(file.size(), 400000)); // the headers and a few frames
        originals.push_back(std::move(file));
    }
    std::mt19937 random(1234);
    for (const Bytes &original : originals) {
        for (int round = 0; round < 150; ++round) {
            Bytes damaged(original.begin(), original.begin() + random() % (original.size() + 1));
            const int flips = 1 + random() % 8;
            for (int f = 0; f < flips && !damaged.empty(); ++f) {
                // Mostly in the headers, where sizes and offsets live.
                const std::size_t span =
                    random() % 4 ? std::min<std::size_t>(damaged.size(), 2048) : damaged.size();
                damaged[random() % span] ^= std::uint8_t(1 + random() % 255);
            }
            AviRiffParser parser;
            if (!parser.Open(damaged.size(), MemoryReader(damaged)))
                continue;
            for (const auto &stream : parser.Streams()) {
                for (const auto &chunk : stream.chunks)
                    ASSERT_LE(chunk.offset + chunk.size, damaged.size());
            }
        }
    }
}

// Not AVI at all.
TEST(AviRiffParser, RefusesOtherFiles)
{
    for (const char *name : {"h264_aac.mp4", "tone_1khz.wav", "dv_pal_16x9.dv"}) {
        const Bytes file = ReadFile(TestMedia::Path(name));
        ASSERT_FALSE(file.empty()) << name;
        AviRiffParser parser;
        EXPECT_FALSE(parser.Open(file.size(), MemoryReader(file))) << name;
    }
    AviRiffParser parser;
    const Bytes empty;
    EXPECT_FALSE(parser.Open(0, MemoryReader(empty)));
}
