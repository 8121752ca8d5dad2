#pragma once

#include "AviRiffParser.h"
#include "Filter.h"
#include "InputPin.h"
#include "MediaSeeking.h"

#include <atomic>
#include <thread>
#include <vector>

class AsyncReader;
class StreamingOutputPin;

// {1B544C20-FD0B-11CE-8C63-00AA0044B51E}
inline constexpr Guid CLSID_AviSplitter{
    0x1B544C20, 0xFD0B, 0x11CE, {0x8C, 0x63, 0x00, 0xAA, 0x00, 0x44, 0xB5, 0x1E}};

// "AVI Splitter": pulls an AVI file from a byte-stream source and offers one output pin per
// stream, with the stream's own type: video (FORMAT_VideoInfo), audio (FORMAT_WaveFormatEx),
// interleaved DV as one MEDIATYPE_Interleaved pin (FORMAT_DvInfo), text. The pins appear when
// the input connects. While active a reading thread sends the chunks in file order. A seek
// starts every stream at the key frame of the first video (or interleaved) stream at or before
// the target, with a new segment starting at the target.
class AviSplitter : public Filter, public MediaSeeking
{
  public:
    AviSplitter();
    ~AviSplitter() override;

    HRESULT GetCapabilities(uint32_t &capabilities) override;
    HRESULT SetPositions(REFERENCE_TIME *current, uint32_t currentFlags, REFERENCE_TIME *stop,
                         uint32_t stopFlags) override;
    HRESULT GetCurrentPosition(REFERENCE_TIME &position) override;
    HRESULT GetStopPosition(REFERENCE_TIME &position) override;
    HRESULT GetDuration(REFERENCE_TIME &duration) override;
    HRESULT SetRate(double rate) override;
    HRESULT GetRate(double &rate) override;

  protected:
    HRESULT OnActive() override;
    HRESULT OnInactive() override;

  private:
    class In;
    class Out;
    struct Track {
        Out *pin = nullptr;
        std::vector<REFERENCE_TIME> times; // start of each chunk, then the end of the last
    };
    struct Step {
        std::size_t track;
        std::size_t chunk;
    };

    // UI thread, when the input connects: parses the file and makes the output pins.
    HRESULT Open(AsyncReader &reader);
    void AddTrack(const AviRiffParser::Stream &stream);
    void StartReader();
    void StopReader(bool flush);
    void ReaderMain();
    // The first chunk of every track to send for a segment starting at `target`.
    std::vector<std::size_t> FirstChunks(REFERENCE_TIME target) const;
    int PrimaryTrack() const;

    In *in_;
    AsyncReader *reader_ = nullptr;
    AviRiffParser parser_;
    std::vector<Track> tracks_;
    std::vector<Step> fileOrder_; // every chunk of every track, by offset
    REFERENCE_TIME duration_ = 0;
    REFERENCE_TIME start_ = 0;
    REFERENCE_TIME stop_ = 0;
    std::thread thread_;
    std::atomic<bool> stopReading_{false};
};
