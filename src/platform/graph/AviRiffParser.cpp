#include "AviRiffParser.h"

#include <algorithm>

namespace
{
constexpr std::uint64_t MaxMetadataBytes = 256u << 20; // headers and indexes read whole

std::uint16_t U16(const std::uint8_t *p)
{
    return static_cast<std::uint16_t>(p[0] | p[1] << 8);
}

std::uint32_t U32(const std::uint8_t *p)
{
    return std::uint32_t(p[0]) | std::uint32_t(p[1]) << 8 | std::uint32_t(p[2]) << 16 |
           std::uint32_t(p[3]) << 24;
}

std::uint64_t U64(const std::uint8_t *p)
{
    return std::uint64_t(U32(p)) | std::uint64_t(U32(p + 4)) << 32;
}

// The stream number of a chunk id such as '01wb'; -1 when it is not one.
int StreamNumber(std::uint32_t chunkId)
{
    const int tens = int(chunkId & 0xff) - '0';
    const int units = int(chunkId >> 8 & 0xff) - '0';
    if (tens < 0 || tens > 9 || units < 0 || units > 9)
        return -1;
    return tens * 10 + units;
}

std::uint64_t Padded(std::uint64_t size)
{
    return size + (size & 1);
}

constexpr std::uint32_t IdRiff = AviRiffParser::FourCC("RIFF");
constexpr std::uint32_t IdList = AviRiffParser::FourCC("LIST");
constexpr std::uint8_t IndexOfIndexes = 0x00;
constexpr std::uint8_t IndexOfChunks = 0x01;
constexpr std::uint32_t LegacyFlagList = 0x01;
constexpr std::uint32_t LegacyFlagKeyFrame = 0x10;
} // namespace

bool AviRiffParser::Open(std::uint64_t fileLength, Reader reader)
{
    *this = AviRiffParser();
    m_reader = std::move(reader);
    m_fileLength = fileLength;
    ChunkHeader riff;
    std::uint64_t offset = 0;
    for (bool first = true; ReadHeader(offset, m_fileLength, riff) && riff.id == IdRiff; first = false) {
        std::uint8_t form[4];
        if (riff.dataOffset + 4 > m_fileLength || !m_reader(riff.dataOffset, 4, form))
            break;
        if (U32(form) != (first ? FourCC("AVI ") : FourCC("AVIX")))
            break;
        const std::uint64_t end = std::min(riff.dataOffset + riff.size, m_fileLength);
        ParseRiff(riff.dataOffset + 4, end, first);
        offset = riff.dataOffset + Padded(riff.size);
    }
    if (m_streams.empty())
        return false;
    for (std::size_t i = 0; i < m_streams.size(); ++i) {
        if (!m_superIndexes[i].empty())
            ParseSuperIndex(m_superIndexes[i], m_streams[i]);
    }
    if (!HasAnyChunks() && !m_legacyIndex.empty())
        ParseLegacyIndex(m_legacyIndex);
    if (!HasAnyChunks()) {
        for (const auto &[begin, end] : m_moviLists)
            WalkMovi(begin + 4, end, 0);
    }
    m_superIndexes.clear();
    m_legacyIndex.clear();
    return true;
}

bool AviRiffParser::ReadChunk(const Chunk &chunk, std::vector<std::uint8_t> &out) const
{
    return ReadBytes(chunk.offset, chunk.size, out);
}

bool AviRiffParser::ReadHeader(std::uint64_t offset, std::uint64_t end, ChunkHeader &header) const
{
    std::uint8_t bytes[8];
    if (offset > end || end - offset < 8 || !m_reader(offset, 8, bytes))
        return false;
    header.id = U32(bytes);
    header.size = U32(bytes + 4);
    header.dataOffset = offset + 8;
    return true;
}

bool AviRiffParser::ReadBytes(std::uint64_t offset, std::uint64_t length,
                              std::vector<std::uint8_t> &out) const
{
    if (offset > m_fileLength || length > m_fileLength - offset || length > MaxMetadataBytes * 4)
        return false;
    out.resize(length);
    return length == 0 || m_reader(offset, static_cast<std::uint32_t>(length), out.data());
}

void AviRiffParser::ParseRiff(std::uint64_t begin, std::uint64_t end, bool first)
{
    ChunkHeader chunk;
    for (std::uint64_t at = begin; ReadHeader(at, end, chunk); at = chunk.dataOffset + Padded(chunk.size)) {
        const std::uint64_t chunkEnd = std::min(chunk.dataOffset + chunk.size, end);
        std::uint8_t listType[4] = {};
        if (chunk.id == IdList && chunk.dataOffset + 4 <= chunkEnd &&
            m_reader(chunk.dataOffset, 4, listType)) {
            if (first && U32(listType) == FourCC("hdrl"))
                ParseHeaderList(chunk.dataOffset + 4, chunkEnd);
            else if (U32(listType) == FourCC("movi"))
                m_moviLists.emplace_back(chunk.dataOffset, chunkEnd);
        } else if (first && chunk.id == FourCC("idx1") && chunk.size <= MaxMetadataBytes) {
            const std::uint64_t whole = chunkEnd - chunk.dataOffset; // a cut index keeps its whole entries
            ReadBytes(chunk.dataOffset, whole - whole % 16, m_legacyIndex);
        }
    }
}

void AviRiffParser::ParseHeaderList(std::uint64_t begin, std::uint64_t end)
{
    ChunkHeader chunk;
    std::vector<std::uint8_t> data;
    for (std::uint64_t at = begin; ReadHeader(at, end, chunk); at = chunk.dataOffset + Padded(chunk.size)) {
        const std::uint64_t chunkEnd = std::min(chunk.dataOffset + chunk.size, end);
        std::uint8_t listType[4] = {};
        if (chunk.id == IdList && chunk.dataOffset + 4 <= chunkEnd &&
            m_reader(chunk.dataOffset, 4, listType) && U32(listType) == FourCC("strl")) {
            ParseStreamList(chunk.dataOffset + 4, chunkEnd);
        } else if (chunk.id == FourCC("avih") && chunk.size >= 40 && ReadBytes(chunk.dataOffset, 40, data)) {
            m_header.microSecPerFrame = U32(&data[0]);
            m_header.totalFrames = U32(&data[16]);
            m_header.streams = U32(&data[24]);
            m_header.width = U32(&data[32]);
            m_header.height = U32(&data[36]);
        }
    }
}

void AviRiffParser::ParseStreamList(std::uint64_t begin, std::uint64_t end)
{
    Stream stream;
    bool haveHeader = false;
    std::vector<std::uint8_t> superIndex;
    ChunkHeader chunk;
    std::vector<std::uint8_t> data;
    for (std::uint64_t at = begin; ReadHeader(at, end, chunk); at = chunk.dataOffset + Padded(chunk.size)) {
        if (chunk.dataOffset + chunk.size > end || chunk.size > MaxMetadataBytes ||
            !ReadBytes(chunk.dataOffset, chunk.size, data))
            break;
        if (chunk.id == FourCC("strh") && data.size() >= 48) {
            haveHeader = true;
            stream.type = U32(&data[0]);
            stream.handler = U32(&data[4]);
            stream.scale = U32(&data[20]);
            stream.rate = U32(&data[24]);
            stream.start = U32(&data[28]);
            stream.length = U32(&data[32]);
            stream.sampleSize = U32(&data[44]);
        } else if (chunk.id == FourCC("strf")) {
            stream.format = data;
        } else if (chunk.id == FourCC("strn")) {
            stream.name.assign(data.begin(), std::find(data.begin(), data.end(), 0));
        } else if (chunk.id == FourCC("indx")) {
            superIndex = data;
        }
    }
    if (!haveHeader)
        return;
    m_streams.push_back(std::move(stream));
    m_superIndexes.push_back(std::move(superIndex));
}

void AviRiffParser::ParseSuperIndex(const std::vector<std::uint8_t> &data, Stream &stream)
{
    if (data.size() < 24 || data[3] != IndexOfIndexes)
        return;
    const std::uint64_t count = std::min<std::uint64_t>(U32(&data[4]), (data.size() - 24) / 16);
    for (std::uint64_t i = 0; i < count; ++i)
        ParseStandardIndex(U64(&data[24 + 16 * i]), m_fileLength, stream);
}

void AviRiffParser::ParseStandardIndex(std::uint64_t offset, std::uint64_t end, Stream &stream)
{
    ChunkHeader chunk;
    std::vector<std::uint8_t> data;
    if (!ReadHeader(offset, end, chunk) || chunk.size > MaxMetadataBytes)
        return;
    const std::uint64_t available = std::min<std::uint64_t>(chunk.size, end - chunk.dataOffset);
    if (available < 24 || !ReadBytes(chunk.dataOffset, available, data) || data[3] != IndexOfChunks)
        return;
    const std::uint64_t entryBytes = std::max<std::uint64_t>(2, U16(&data[0])) * 4;
    const std::uint64_t count = std::min<std::uint64_t>(U32(&data[4]), (data.size() - 24) / entryBytes);
    const std::uint64_t base = U64(&data[12]);
    for (std::uint64_t i = 0; i < count; ++i) {
        const std::uint8_t *entry = &data[24 + entryBytes * i];
        const std::uint32_t size = U32(entry + 4);
        const Chunk c{base + U32(entry), size & 0x7fffffffu, (size & 0x80000000u) == 0};
        if (c.offset >= base && c.offset <= m_fileLength && c.size <= m_fileLength - c.offset)
            stream.chunks.push_back(c);
    }
}

void AviRiffParser::ParseLegacyIndex(const std::vector<std::uint8_t> &data)
{
    if (m_moviLists.empty())
        return;
    // Offsets count from the 'movi' word in most files and from the file's start in some: the
    // first entry's chunk id tells which.
    std::uint64_t base = m_moviLists.front().first;
    for (std::size_t i = 0; i + 16 <= data.size(); i += 16) {
        if (U32(&data[i + 4]) & LegacyFlagList)
            continue;
        ChunkHeader header;
        if (ReadHeader(U32(&data[i + 8]), m_fileLength, header) && header.id == U32(&data[i]))
            base = 0;
        break;
    }
    for (std::size_t i = 0; i + 16 <= data.size(); i += 16) {
        const std::uint32_t flags = U32(&data[i + 4]);
        if (flags & LegacyFlagList)
            continue;
        AddChunk(U32(&data[i]),
                 Chunk{base + U32(&data[i + 8]) + 8, U32(&data[i + 12]), (flags & LegacyFlagKeyFrame) != 0});
    }
}

void AviRiffParser::WalkMovi(std::uint64_t begin, std::uint64_t end, int depth)
{
    ChunkHeader chunk;
    for (std::uint64_t at = begin; ReadHeader(at, end, chunk); at = chunk.dataOffset + Padded(chunk.size)) {
        std::uint8_t listType[4] = {};
        if (chunk.id == IdList && depth == 0 && chunk.dataOffset + 4 <= end &&
            m_reader(chunk.dataOffset, 4, listType) && U32(listType) == FourCC("rec ")) {
            WalkMovi(chunk.dataOffset + 4, std::min(chunk.dataOffset + chunk.size, end), depth + 1);
        } else if (chunk.dataOffset + chunk.size <= end) {
            AddChunk(chunk.id, Chunk{chunk.dataOffset, chunk.size, true});
        }
    }
}

void AviRiffParser::AddChunk(std::uint32_t chunkId, const Chunk &chunk)
{
    const int number = StreamNumber(chunkId);
    if (number < 0 || number >= static_cast<int>(m_streams.size()))
        return;
    if (chunk.offset > m_fileLength || chunk.size > m_fileLength - chunk.offset)
        return;
    m_streams[number].chunks.push_back(chunk);
}

bool AviRiffParser::HasAnyChunks() const
{
    return std::any_of(m_streams.begin(), m_streams.end(), [](const Stream &s) { return !s.chunks.empty(); });
}
