// dv-type1-avi IN.dv OUT.avi
//
// Wraps raw DV (25 Mbit/s, 525/60 or 625/50) in a type-1 DV AVI: one interleaved 'iavs' stream
// with handler 'dvsd' and a DVINFO format, one '00db' chunk per DIF frame, and an idx1 index.
// FFmpeg cannot write this layout, so the test media need their own writer. A partial frame at
// the end of the input is left out. The output is written under a temporary name and renamed.

#include <array>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <optional>
#include <string>
#include <vector>

namespace
{

constexpr std::size_t DifBlockBytes = 80;
constexpr std::size_t DifSequenceBytes = 150 * DifBlockBytes;

// The DIF frame layout a file uses, read from the header block of its first frame.
struct DvSystem {
    std::size_t sequences; // DIF sequences per frame
    uint32_t width;
    uint32_t height;
    uint32_t rate; // frames per second is rate / scale
    uint32_t scale;

    std::size_t FrameBytes() const { return sequences * DifSequenceBytes; }
};

constexpr DvSystem System525{10, 720, 480, 30000, 1001};
constexpr DvSystem System625{12, 720, 576, 25, 1};

// Section type of a DIF block, from the top three bits of its ID.
enum class DifSection { Header = 0, Subcode = 1, Vaux = 2, Audio = 3, Video = 4 };

DifSection SectionOf(const uint8_t *block)
{
    return static_cast<DifSection>(block[0] >> 5);
}

std::optional<DvSystem> SystemOf(const std::vector<uint8_t> &frame)
{
    if (frame.size() < DifBlockBytes || SectionOf(frame.data()) != DifSection::Header)
        return std::nullopt;
    const bool is625 = (frame[3] & 0x80) != 0; // DSF flag
    return is625 ? System625 : System525;
}

// The four data bytes of a DV pack as the little-endian DWORD that DVINFO stores.
uint32_t PackPayload(const uint8_t *pack)
{
    return pack[1] | (pack[2] << 8) | (pack[3] << 16) | (static_cast<uint32_t>(pack[4]) << 24);
}

// Payload of the first pack with the given ID in the audio (AAUX) or VAUX blocks of the DIF
// sequences [first, last) of a frame; 0 when the frame has none.
uint32_t FindPack(const std::vector<uint8_t> &frame, uint8_t id, std::size_t first, std::size_t last)
{
    for (std::size_t seq = first; seq < last; ++seq) {
        for (std::size_t b = 0; b < 150; ++b) {
            const uint8_t *block = frame.data() + seq * DifSequenceBytes + b * DifBlockBytes;
            const DifSection section = SectionOf(block);
            if (section == DifSection::Audio && block[3] == id)
                return PackPayload(block + 3);
            if (section == DifSection::Vaux) {
                for (int p = 0; p < 15; ++p) {
                    if (block[3 + 5 * p] == id)
                        return PackPayload(block + 3 + 5 * p);
                }
            }
        }
    }
    return 0;
}

// DVINFO: AAUX source and control of both audio blocks (first and second half of the frame),
// then VAUX source and control, then two reserved DWORDs.
std::array<uint32_t, 8> DvInfoOf(const std::vector<uint8_t> &frame, const DvSystem &system)
{
    const std::size_t half = system.sequences / 2;
    return {FindPack(frame, 0x50, 0, half),
            FindPack(frame, 0x51, 0, half),
            FindPack(frame, 0x50, half, system.sequences),
            FindPack(frame, 0x51, half, system.sequences),
            FindPack(frame, 0x60, 0, system.sequences),
            FindPack(frame, 0x61, 0, system.sequences),
            0,
            0};
}

class RiffWriter
{
  public:
    explicit RiffWriter(std::ofstream &out) : out_(out) {}

    void FourCC(const char *code) { out_.write(code, 4); }
    void U16(uint16_t v) { Bytes({uint8_t(v), uint8_t(v >> 8)}); }
    void U32(uint32_t v) { Bytes({uint8_t(v), uint8_t(v >> 8), uint8_t(v >> 16), uint8_t(v >> 24)}); }
    void Chunk(const char *code, uint32_t size)
    {
        FourCC(code);
        U32(size);
    }
    void List(const char *type, uint32_t size)
    {
        Chunk("LIST", size);
        FourCC(type);
    }
    void Data(const std::vector<uint8_t> &bytes)
    {
        out_.write(reinterpret_cast<const char *>(bytes.data()), std::streamsize(bytes.size()));
    }

  private:
    void Bytes(std::initializer_list<uint8_t> bytes)
    {
        for (uint8_t b : bytes)
            out_.put(char(b));
    }

    std::ofstream &out_;
};

constexpr uint32_t AvihBytes = 56, StrhBytes = 56, StrfBytes = 32;
constexpr uint32_t StrlListBytes = 4 + (8 + StrhBytes) + (8 + StrfBytes);
constexpr uint32_t HdrlListBytes = 4 + (8 + AvihBytes) + (8 + StrlListBytes);
constexpr uint32_t IndexEntryBytes = 16;
constexpr uint32_t AvifHasIndex = 0x10, AvifIsInterleaved = 0x100, AviifKeyframe = 0x10;

void WriteHeaders(RiffWriter &riff, const DvSystem &system, uint32_t frames,
                  const std::array<uint32_t, 8> &dvInfo)
{
    const auto frameBytes = uint32_t(system.FrameBytes());
    riff.List("hdrl", HdrlListBytes);
    riff.Chunk("avih", AvihBytes);
    riff.U32(uint32_t((1000000ull * system.scale + system.rate / 2) / system.rate)); // µs per frame
    riff.U32(uint32_t(uint64_t(frameBytes) * system.rate / system.scale));           // max bytes/s
    riff.U32(0);                                                                     // padding
    riff.U32(AvifHasIndex | AvifIsInterleaved);
    riff.U32(frames);
    riff.U32(0); // initial frames
    riff.U32(1); // streams
    riff.U32(frameBytes);
    riff.U32(system.width);
    riff.U32(system.height);
    for (int i = 0; i < 4; ++i)
        riff.U32(0);

    riff.List("strl", StrlListBytes);
    riff.Chunk("strh", StrhBytes);
    riff.FourCC("iavs");
    riff.FourCC("dvsd");
    riff.U32(0); // flags
    riff.U16(0); // priority
    riff.U16(0); // language
    riff.U32(0); // initial frames
    riff.U32(system.scale);
    riff.U32(system.rate);
    riff.U32(0); // start
    riff.U32(frames);
    riff.U32(frameBytes);
    riff.U32(0xFFFFFFFF); // quality: default
    riff.U32(0);          // sample size: one frame per chunk
    riff.U16(0);
    riff.U16(0);
    riff.U16(uint16_t(system.width));
    riff.U16(uint16_t(system.height));

    riff.Chunk("strf", StrfBytes);
    for (uint32_t v : dvInfo)
        riff.U32(v);
}

bool Fail(const std::string &message)
{
    std::cerr << "dv-type1-avi: " << message << '\n';
    return false;
}

// Writes the AVI of the first frames DIF frames of in; frame already holds the first of them.
bool WriteAvi(std::ifstream &in, std::vector<uint8_t> &frame, const DvSystem &system, uint32_t frames,
              std::ofstream &out)
{
    const uint64_t chunkBytes = 8 + system.FrameBytes();
    const uint64_t moviBytes = 4 + frames * chunkBytes;
    const uint64_t riffBytes = 4 + (8 + HdrlListBytes) + (8 + moviBytes) + (8 + frames * IndexEntryBytes);
    if (riffBytes > 0xFFFFFFFFu)
        return Fail("input too large for a single RIFF chunk");

    RiffWriter riff(out);
    riff.Chunk("RIFF", uint32_t(riffBytes));
    riff.FourCC("AVI ");
    WriteHeaders(riff, system, frames, DvInfoOf(frame, system));

    riff.List("movi", uint32_t(moviBytes));
    for (uint32_t i = 0; i < frames; ++i) {
        if (i > 0 && !in.read(reinterpret_cast<char *>(frame.data()), std::streamsize(frame.size())))
            return Fail("read error in the input");
        riff.Chunk("00db", uint32_t(frame.size()));
        riff.Data(frame);
    }

    // idx1 offsets count from the 'movi' list type, so the first chunk sits at 4.
    riff.Chunk("idx1", frames * IndexEntryBytes);
    for (uint32_t i = 0; i < frames; ++i) {
        riff.FourCC("00db");
        riff.U32(AviifKeyframe);
        riff.U32(uint32_t(4 + i * chunkBytes));
        riff.U32(uint32_t(system.FrameBytes()));
    }
    out.close();
    return out ? true : Fail("write error");
}

bool Convert(const std::filesystem::path &inPath, const std::filesystem::path &outPath)
{
    std::ifstream in(inPath, std::ios::binary);
    if (!in)
        return Fail("cannot open " + inPath.string());
    std::vector<uint8_t> frame(DifSequenceBytes);
    if (!in.read(reinterpret_cast<char *>(frame.data()), std::streamsize(frame.size())))
        return Fail(inPath.string() + " is shorter than one DIF sequence");
    const std::optional<DvSystem> system = SystemOf(frame);
    if (!system)
        return Fail(inPath.string() + " does not start with a DIF header block");
    const uint64_t frames = std::filesystem::file_size(inPath) / system->FrameBytes();
    if (frames == 0)
        return Fail(inPath.string() + " holds no whole DV frame");
    if (frames > 0xFFFFFFFFu / system->FrameBytes())
        return Fail(inPath.string() + " is too large for a single RIFF chunk");

    frame.resize(system->FrameBytes());
    in.seekg(0);
    in.read(reinterpret_cast<char *>(frame.data()), std::streamsize(frame.size()));

    const std::filesystem::path tmpPath = outPath.string() + ".part";
    std::ofstream out(tmpPath, std::ios::binary | std::ios::trunc);
    if (!out)
        return Fail("cannot create " + tmpPath.string());
    if (!WriteAvi(in, frame, *system, uint32_t(frames), out)) {
        std::filesystem::remove(tmpPath);
        return false;
    }
    std::filesystem::rename(tmpPath, outPath);
    return true;
}

} // namespace

int main(int argc, char **argv)
{
    if (argc != 3) {
        std::cerr << "usage: dv-type1-avi IN.dv OUT.avi\n";
        return 2;
    }
    try {
        return Convert(argv[1], argv[2]) ? 0 : 1;
    } catch (const std::exception &e) {
        std::cerr << "dv-type1-avi: " << e.what() << '\n';
        return 1;
    }
}
