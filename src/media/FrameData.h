#pragma once

#include "platform/core/DateTime.h"

#include <QString>
#include <array>
#include <cstdint>

// Per-frame stream facts: DV recording date and time code, and the audio format.
struct TframeData {
    bool DateValid = false;
    TDateTime Datecode = 0;
    QString DatecodeText;
    bool TimecodeValid = false;
    std::array<uint8_t, 4> Timecode{}; // hours, minutes, seconds, frames
    QString TimecodeText;
    QString AudioCodec;
    int32_t Channels = 0;
    int32_t BitsPerSample = 0;
    int32_t SamplesPerSec = 0;
    int32_t AudioBitRate = 0; // bits per second
    QString AudioText;
};

// The part of a frame record the text inlay needs.
struct TIncrustDV {
    bool DateValid = false;
    bool TimecodeValid = false;
    TDateTime Datecode = 0;
    QString TimecodeText;
};
