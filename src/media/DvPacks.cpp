#include "media/DvPacks.h"

namespace
{

constexpr int CountedSequences = 10;

// The byte at `offset` of sequence s, or nothing when it lies past the end of the frame.
bool ReadByte(const uint8_t *frame, size_t length, int s, size_t offset, uint8_t &value)
{
    const size_t at = size_t(s) * DvSequenceSize + offset;
    if (frame == nullptr || s < 0 || at >= length)
        return false;
    value = frame[at];
    return true;
}

uint8_t Bcd(uint8_t byte, uint8_t tensMask)
{
    return uint8_t(((byte & tensMask) >> 4) * 10 + (byte & 0x0F));
}

// The sequence whose byte at `offset` is `header`, searched over sequences 0-9; -1 when none.
int FindPack(const uint8_t *frame, size_t length, size_t offset, uint8_t header)
{
    for (int s = 0; s < CountedSequences; ++s) {
        uint8_t value = 0;
        if (ReadByte(frame, length, s, offset, value) && value == header)
            return s;
    }
    return -1;
}

// The AAUX source pack's data byte 4 (SMP and QU); false without such a pack.
bool AudioFormatByte(const uint8_t *frame, size_t length, uint8_t &value)
{
    const int s = FindPack(frame, length, 4323, 0x50);
    return s >= 0 && ReadByte(frame, length, s, 4327, value);
}

} // namespace

std::array<uint8_t, 4> DvTimecode(const uint8_t *frame, size_t length, int s)
{
    uint8_t first = 0, second = 0;
    uint8_t bytes[4] = {};
    bool whole = ReadByte(frame, length, s, 110, first) && ReadByte(frame, length, s, 190, second);
    for (int i = 0; whole && i < 4; ++i)
        whole = ReadByte(frame, length, s, 111 + size_t(i), bytes[i]);
    if (!whole || first != 0x13 || second != 0x13)
        return {0xFF, 0, 0, 0};
    return {Bcd(bytes[3], 0x30), Bcd(bytes[2], 0x70), Bcd(bytes[1], 0x70), Bcd(bytes[0], 0x30)};
}

TDvRecDate DvRecordingDate(const uint8_t *frame, size_t length, int s)
{
    uint8_t b[10] = {}; // bytes 458-467 of the sequence
    for (size_t i = 0; i < 10; ++i)
        if (!ReadByte(frame, length, s, 458 + i, b[i]))
            return {};
    const bool dateHeader = b[0] == 0x62 || b[0] == 0x00;
    const bool timeHeader = b[5] == 0x63 || b[5] == 0x00;
    if (!dateHeader || !timeHeader)
        return {};
    TDvRecDate date;
    const int year = Bcd(b[4], 0xF0);
    date.Year = year < 40 ? 2000 + year : 1900 + year;
    date.Month = Bcd(b[3], 0x10);
    date.Day = Bcd(b[2], 0x30);
    date.Hour = Bcd(b[9], 0x30);
    date.Minute = Bcd(b[8], 0x70);
    date.Second = Bcd(b[7], 0x70);
    return date;
}

int DvSystem(const uint8_t *frame, size_t length)
{
    int pal = 0, ntsc = 0;
    for (int s = 0; s < CountedSequences; ++s) {
        uint8_t dsf = 0;
        if (!ReadByte(frame, length, s, 3, dsf))
            break;
        pal += dsf == 0xBF;
        ntsc += dsf == 0x3F;
    }
    return pal > ntsc ? 0 : ntsc > pal ? 1 : 2;
}

int DvAudioSampleRate(const uint8_t *frame, size_t length)
{
    uint8_t value = 0;
    if (!AudioFormatByte(frame, length, value))
        return -1;
    switch ((value >> 3) & 7) {
    case 0:
        return 48000;
    case 1:
        return 44100;
    case 2:
        return 32000;
    default:
        return 0;
    }
}

int DvAudioBits(const uint8_t *frame, size_t length)
{
    uint8_t value = 0;
    if (!AudioFormatByte(frame, length, value))
        return -1;
    switch (value & 7) {
    case 0:
        return 16;
    case 1:
        return 12;
    default:
        return 0;
    }
}

bool DvIsWide(const uint8_t *frame, size_t length)
{
    const int s = FindPack(frame, length, 453, 0x61);
    uint8_t disp = 0, ap3 = 0;
    if (s < 0 || !ReadByte(frame, length, s, 455, disp) || !ReadByte(frame, length, s, 7, ap3))
        return false;
    disp &= 7;
    return disp == 2 || (disp == 7 && (ap3 & 7) == 0);
}

TDvRecDate FirstDvRecordingDate(const uint8_t *frame, size_t length)
{
    for (int s = 0; s < CountedSequences; ++s) {
        const TDvRecDate date = DvRecordingDate(frame, length, s);
        if (date.Year >= 0)
            return date;
    }
    return {};
}

std::array<uint8_t, 4> FirstDvTimecode(const uint8_t *frame, size_t length)
{
    for (int s = 0; s < CountedSequences; ++s) {
        const auto timecode = DvTimecode(frame, length, s);
        if (timecode[0] < 0x80)
            return timecode;
    }
    return {0xFF, 0, 0, 0};
}
