#pragma once

#include "LavSplitterSource.h"

#include <vector>

// {3AE86B20-7BE8-11D1-ABE6-00A0C905F375}
inline constexpr Guid CLSID_MPEG2Splitter{
    0x3AE86B20, 0x7BE8, 0x11D1, {0xAB, 0xE6, 0x00, 0xA0, 0xC9, 0x05, 0xF3, 0x75}};
// {336475D0-942A-11CE-A870-00AA002FEAB5}
inline constexpr Guid CLSID_MPEG1Splitter{
    0x336475D0, 0x942A, 0x11CE, {0xA8, 0x70, 0x00, 0xAA, 0x00, 0x2F, 0xEA, 0xB5}};
// {D51BD5A1-7548-11CF-A520-0080C77EF58A}
inline constexpr Guid CLSID_WAVEParser{
    0xD51BD5A1, 0x7548, 0x11CF, {0xA5, 0x20, 0x00, 0x80, 0xC7, 0x7E, 0xF5, 0x8A}};

// A splitter behind "File Source (Async.)" whose container libavformat reads: an input pin for
// the source's byte stream, whose subtype must be one of `accepted`; when it connects, the file
// the source loaded is opened with `demuxer` (nullptr: any container libavformat recognises) and
// the stream pins follow the input pin, with seeking as in the LAV source.
class AvformatFileSplitter : public LavSplitterSource
{
  public:
    AvformatFileSplitter(const Guid &classId, std::string name, const char *demuxer,
                         std::vector<Guid> accepted);

    static std::shared_ptr<Filter> Mpeg2Splitter();
    static std::shared_ptr<Filter> Mpeg1StreamSplitter();
    static std::shared_ptr<Filter> WaveParser();

  private:
    class In;
    // UI thread, when the input connects.
    HRESULT OpenUpstreamFile(Pin &peer);

    std::vector<Guid> accepted_;
    bool opened_ = false;
};
