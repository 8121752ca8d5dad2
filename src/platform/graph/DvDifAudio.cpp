#include "DvDifAudio.h"

namespace
{
constexpr std::size_t BlockBytes = 80;
constexpr std::size_t AudioBlocksPerSequence = 9;
constexpr std::size_t AudioDataOffset = 8; // 3 bytes block id, 5 bytes AAUX pack
constexpr std::uint8_t AauxSourcePack = 0x50;

// Audio block n of a sequence is DIF block 6 + 16·n.
std::size_t AudioBlockOffset(std::size_t sequence, std::size_t block)
{
    return sequence * DvDifAudio::SequenceBytes + (6 + 16 * block) * BlockBytes;
}

std::size_t SequenceCount(const DvDifAudio::Format &format)
{
    return format.system625 ? 12 : 10;
}

// Fewest samples a frame holds, by system and rate; the AAUX pack gives the excess.
int MinimumSamples(bool system625, int rateCode)
{
    static constexpr int minimum[2][3] = {{1580, 1452, 1053}, {1896, 1742, 1264}};
    return minimum[system625 ? 1 : 0][rateCode];
}

// The position, in the frame's interleaved sample order, of the first sample carried by audio
// block `block` of sequence `sequence` within one channel's half of the sequences; each further
// sample of the block is one stride later. Channels alternate: the second half adds one.
std::size_t ShuffledPosition(const DvDifAudio::Format &format, std::size_t sequence, std::size_t block)
{
    const std::size_t half = SequenceCount(format) / 2;
    const std::size_t period = 6 * half;                      // 36 (625) or 30 (525)
    const std::size_t groupStep = format.system625 ? 26 : 20; // offset between groups of three blocks
    const std::size_t inHalf = sequence % half;
    const std::size_t group = block / 3;
    const std::size_t inGroup = block % 3;
    return (6 * inHalf + groupStep * group) % period + period * inGroup + sequence / half;
}

// Consecutive samples of a block lie one full round of both channels' blocks apart.
std::size_t Stride(const DvDifAudio::Format &format)
{
    return format.system625 ? 108 : 90;
}

const std::uint8_t *FindSourcePack(const std::uint8_t *frame, std::size_t size, bool system625)
{
    // Where recorders put it first (sequence 0, audio block 3), then anywhere else.
    const std::size_t first = AudioBlockOffset(0, 3) + 3;
    if (first + 5 <= size && frame[first] == AauxSourcePack)
        return frame + first;
    const std::size_t sequences = system625 ? 12 : 10;
    for (std::size_t s = 0; s < sequences; ++s) {
        for (std::size_t b = 0; b < AudioBlocksPerSequence; ++b) {
            const std::size_t at = AudioBlockOffset(s, b) + 3;
            if (at + 5 <= size && frame[at] == AauxSourcePack)
                return frame + at;
        }
    }
    return nullptr;
}

void Put(std::vector<std::int16_t> &out, std::size_t position, std::int16_t value)
{
    if (position < out.size())
        out[position] = value;
}

void Decode16(const std::uint8_t *frame, const DvDifAudio::Format &format, std::vector<std::int16_t> &out)
{
    for (std::size_t s = 0; s < SequenceCount(format); ++s) {
        for (std::size_t b = 0; b < AudioBlocksPerSequence; ++b) {
            const std::uint8_t *data = frame + AudioBlockOffset(s, b) + AudioDataOffset;
            const std::size_t base = ShuffledPosition(format, s, b);
            for (std::size_t k = 0; k < 36; ++k) {
                const auto raw = static_cast<std::uint16_t>(data[2 * k] << 8 | data[2 * k + 1]);
                const auto value = raw == 0x8000 ? std::int16_t{0} : static_cast<std::int16_t>(raw);
                Put(out, base + k * Stride(format), value);
            }
        }
    }
}

// 12-bit blocks carry 24 pairs of samples in three bytes each: left high byte, right high byte,
// then the two low nibbles. A sequence's first half holds stereo pair 1, its second half pair 2.
void Decode12(const std::uint8_t *frame, const DvDifAudio::Format &format, int pair,
              std::vector<std::int16_t> &out)
{
    const std::size_t half = SequenceCount(format) / 2;
    for (std::size_t s = pair * half; s < (pair + 1) * half; ++s) {
        for (std::size_t b = 0; b < AudioBlocksPerSequence; ++b) {
            const std::uint8_t *data = frame + AudioBlockOffset(s, b) + AudioDataOffset;
            const std::size_t left = ShuffledPosition(format, s % half, b);
            const std::size_t right = ShuffledPosition(format, s % half + half, b);
            for (std::size_t k = 0; k < 24; ++k) {
                const std::uint8_t *triple = data + 3 * k;
                const auto l = static_cast<std::uint16_t>(triple[0] << 4 | triple[2] >> 4);
                const auto r = static_cast<std::uint16_t>(triple[1] << 4 | (triple[2] & 0x0f));
                Put(out, left + k * Stride(format), DvDifAudio::Expand12To16(l));
                Put(out, right + k * Stride(format), DvDifAudio::Expand12To16(r));
            }
        }
    }
}
} // namespace

std::optional<DvDifAudio::Format> DvDifAudio::ReadFormat(const std::uint8_t *frame, std::size_t size)
{
    if (size < FrameBytes525)
        return std::nullopt;
    Format format;
    format.system625 = (frame[3] & 0x80) != 0;
    if (format.system625 && size < FrameBytes625)
        return std::nullopt;
    const std::uint8_t *pack = FindSourcePack(frame, size, format.system625);
    if (!pack)
        return std::nullopt;
    const int excess = pack[1] & 0x3f;
    const int layout = pack[3] & 0x1f;
    const int rateCode = pack[4] >> 3 & 0x07;
    const int quantization = pack[4] & 0x07;
    if (layout != 0 || rateCode > 2 || quantization > 1)
        return std::nullopt;
    static constexpr int rates[] = {48000, 44100, 32000};
    format.samplesPerSec = rates[rateCode];
    format.bitsPerSample = quantization == 0 ? 16 : 12;
    format.stereoPairs = quantization == 1 && rateCode == 2 ? 2 : 1;
    format.samplesInFrame = MinimumSamples(format.system625, rateCode) + excess;
    return format;
}

std::vector<std::int16_t> DvDifAudio::Decode(const std::uint8_t *frame, std::size_t size, int pair)
{
    const std::optional<Format> format = ReadFormat(frame, size);
    if (!format || pair < 0 || pair >= format->stereoPairs)
        return {};
    std::vector<std::int16_t> out(static_cast<std::size_t>(format->samplesInFrame) * 2, 0);
    if (format->bitsPerSample == 16)
        Decode16(frame, *format, out);
    else
        Decode12(frame, *format, pair, out);
    return out;
}

std::int16_t DvDifAudio::Expand12To16(std::uint16_t sample12)
{
    // Segments of 256 codes: the two nearest zero are linear, each further one doubles its step.
    // Negative codes mirror the positive ones in one's complement.
    const auto expandPositive = [](int x) {
        const int segment = x >> 8;
        if (segment < 2)
            return x;
        return (x - 256 * (segment - 1)) << (segment - 1);
    };
    const int code = sample12 & 0xfff;
    if (code == 0x800) // error code
        return 0;
    const int value = code < 0x800 ? code : code - 0x1000;
    return static_cast<std::int16_t>(value >= 0 ? expandPositive(value) : ~expandPositive(~value));
}
