#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

// Reads the structure of a RIFF AVI file, OpenDML extensions included: the main and stream
// headers and formats, and every stream's chunks from the best index the file has (OpenDML
// super-index and standard indexes, else the legacy 'idx1' index with offsets relative to 'movi' or
// absolute, else a walk over the 'movi' lists). Every size in the file is checked against the
// file's length: a damaged or truncated file gives the chunks that lie whole inside it.
// One parser is used by one thread at a time.
class AviRiffParser
{
  public:
    // Reads `length` bytes at `offset` into `out`; false when they cannot all be read.
    using Reader = std::function<bool(std::uint64_t offset, std::uint32_t length, std::uint8_t *out)>;

    struct Chunk {
        std::uint64_t offset = 0; // of the chunk's data
        std::uint32_t size = 0;
        bool keyFrame = true;
    };

    struct Stream {
        std::uint32_t type = 0; // 'vids', 'auds', 'iavs', 'txts' as a little-endian FOURCC
        std::uint32_t handler = 0;
        std::uint32_t scale = 0;
        std::uint32_t rate = 0;
        std::uint32_t start = 0;
        std::uint32_t length = 0;
        std::uint32_t sampleSize = 0;
        std::vector<std::uint8_t> format; // the 'strf' chunk as stored
        std::string name;
        std::vector<Chunk> chunks;
    };

    struct MainHeader {
        std::uint32_t microSecPerFrame = 0;
        std::uint32_t totalFrames = 0;
        std::uint32_t streams = 0;
        std::uint32_t width = 0;
        std::uint32_t height = 0;
    };

    static constexpr std::uint32_t FourCC(const char (&s)[5])
    {
        return std::uint32_t(std::uint8_t(s[0])) | std::uint32_t(std::uint8_t(s[1])) << 8 |
               std::uint32_t(std::uint8_t(s[2])) << 16 | std::uint32_t(std::uint8_t(s[3])) << 24;
    }

    // False when the file is not a RIFF AVI with at least one stream header.
    bool Open(std::uint64_t fileLength, Reader reader);

    const MainHeader &Header() const { return m_header; }
    const std::vector<Stream> &Streams() const { return m_streams; }

    // The data of one chunk of a stream; false when it cannot be read.
    bool ReadChunk(const Chunk &chunk, std::vector<std::uint8_t> &out) const;

  private:
    struct ChunkHeader {
        std::uint32_t id = 0;
        std::uint32_t size = 0;
        std::uint64_t dataOffset = 0;
    };

    bool ReadHeader(std::uint64_t offset, std::uint64_t end, ChunkHeader &header) const;
    bool ReadBytes(std::uint64_t offset, std::uint64_t length, std::vector<std::uint8_t> &out) const;
    void ParseRiff(std::uint64_t begin, std::uint64_t end, bool first);
    void ParseHeaderList(std::uint64_t begin, std::uint64_t end);
    void ParseStreamList(std::uint64_t begin, std::uint64_t end);
    void ParseSuperIndex(const std::vector<std::uint8_t> &data, Stream &stream);
    void ParseStandardIndex(std::uint64_t offset, std::uint64_t end, Stream &stream);
    void ParseLegacyIndex(const std::vector<std::uint8_t> &data);
    void WalkMovi(std::uint64_t begin, std::uint64_t end, int depth);
    void AddChunk(std::uint32_t chunkId, const Chunk &chunk);
    bool HasAnyChunks() const;

    Reader m_reader;
    std::uint64_t m_fileLength = 0;
    MainHeader m_header;
    std::vector<Stream> m_streams;
    std::vector<std::vector<std::uint8_t>> m_superIndexes;            // per stream, parsed after the headers
    std::vector<std::pair<std::uint64_t, std::uint64_t>> m_moviLists; // 'movi' fourcc offset, end
    std::vector<std::uint8_t> m_legacyIndex;
};
