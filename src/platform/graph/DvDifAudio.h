#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <vector>

// The audio of one DV frame (525/60: 10 DIF sequences, 625/50: 12; 12,000 bytes each): its
// format from the AAUX source pack and its samples, deshuffled from the audio DIF blocks into
// interleaved 16-bit stereo. Pure functions on byte buffers; any thread may call them.
class DvDifAudio
{
  public:
    struct Format {
        int samplesPerSec = 0; // 48000, 44100 or 32000
        int bitsPerSample = 0; // as recorded: 16 (linear) or 12 (nonlinear)
        int stereoPairs = 0;   // 1, or 2 for 12-bit 32 kHz four-channel recordings
        int samplesInFrame = 0;
        bool system625 = false; // 625/50 (12 sequences) rather than 525/60 (10)
    };

    static constexpr std::size_t SequenceBytes = 12000;
    static constexpr std::size_t FrameBytes525 = 10 * SequenceBytes;
    static constexpr std::size_t FrameBytes625 = 12 * SequenceBytes;

    // The format of the frame's audio; nullopt when the frame is too short, holds no AAUX source
    // pack, or records a quantization or channel layout this reader does not handle.
    static std::optional<Format> ReadFormat(const std::uint8_t *frame, std::size_t size);

    // The samples of stereo pair `pair` (0 or 1): samplesInFrame × 2 values, left first. Samples
    // marked as errors in the stream come out as silence. Empty when ReadFormat fails or the pair
    // is not recorded.
    static std::vector<std::int16_t> Decode(const std::uint8_t *frame, std::size_t size, int pair = 0);

    // Expands one 12-bit nonlinear sample (two's complement in the low 12 bits) to 16 bits.
    static std::int16_t Expand12To16(std::uint16_t sample12);
};
