#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

// Readers of the packs of one DV frame (12 DIF sequences of 12,000 bytes for 625/50, 10 for
// 525/60). Each takes the frame's bytes and their count; whatever lies past the end counts as
// absent, so short or damaged samples are safe. Pure functions: any thread may call them.

inline constexpr size_t DvSequenceSize = 12000;
inline constexpr size_t DvFrameSize625 = 144000;
inline constexpr size_t DvFrameSize525 = 120000;

// A recording date and time as stored in the VAUX packs; Year -1 = no usable packs.
struct TDvRecDate {
    int32_t Year = -1;
    uint8_t Month = 0;
    uint8_t Day = 0;
    uint8_t Hour = 0;
    uint8_t Minute = 0;
    uint8_t Second = 0;
};

// Hours, minutes, seconds, frames of sequence s; hours 0xFF when the time code pack is missing
// from either subcode block.
std::array<uint8_t, 4> DvTimecode(const uint8_t *frame, size_t length, int s);
TDvRecDate DvRecordingDate(const uint8_t *frame, size_t length, int s);
// 0 = 625/50, 1 = 525/60, 2 = undetermined.
int DvSystem(const uint8_t *frame, size_t length);
// 48000, 44100, 32000; 0 for another code; -1 without an AAUX source pack.
int DvAudioSampleRate(const uint8_t *frame, size_t length);
// 16 or 12; 0 for another code; -1 without an AAUX source pack.
int DvAudioBits(const uint8_t *frame, size_t length);
bool DvIsWide(const uint8_t *frame, size_t length);

// The first sequence (0-9) whose recording packs are acceptable; Year -1 when none is.
TDvRecDate FirstDvRecordingDate(const uint8_t *frame, size_t length);
// The first sequence (0-9) with a time code in both subcode blocks; hours 0xFF when none has.
std::array<uint8_t, 4> FirstDvTimecode(const uint8_t *frame, size_t length);
