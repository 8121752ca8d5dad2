#pragma once

#include "FileSourceFilter.h"
#include "KeyFrameIndex.h"
#include "Filter.h"
#include "MediaSeeking.h"

#include <atomic>
#include <deque>
#include <memory>
#include <string>
#include <thread>
#include <vector>

struct AVFormatContext;
struct AVPacket;
class StreamingOutputPin;

// {B98D13E7-55DB-4385-A33D-09FD1BA26338}
inline constexpr Guid CLSID_LAVSplitterSource{
    0xB98D13E7, 0x55DB, 0x4385, {0xA3, 0x3D, 0x09, 0xFD, 0x1B, 0xA2, 0x63, 0x38}};

// {187463A0-5BB7-11D3-ACBE-0080C75E246E}
inline constexpr Guid CLSID_WMAsfReader{0x187463A0, 0x5BB7, 0x11D3, {0xAC, 0xBE, 0x00, 0x80, 0xC7, 0x5E, 0x24, 0x6E}};

// A source for any file libavformat reads: one output pin per video and audio stream, offering
// the stream's compressed type (see CodecMediaType) and its codec parameters.
//
// While active, a reading thread takes packets from the file and queues them on the pins, each of
// which delivers on its own thread. Sample times are relative to the segment start: after a seek
// the file is positioned at the key frame at or before the target and the segment starts at the
// target, so the pictures leading up to it carry negative times. Read errors in the middle of a
// file are skipped; the stream ends cleanly at the end of the file or when it cannot go on.
class LavSplitterSource : public Filter, public FileSourceFilter, public MediaSeeking, public KeyFrameIndex
{
  public:
    LavSplitterSource();
    // A source that reads only the container `demuxer` names (FFmpeg's name, e.g. "asf").
    LavSplitterSource(const Guid &classId, std::string name, const char *demuxer);
    ~LavSplitterSource() override;

    HRESULT Load(const std::string &path, const MediaType *type) override;
    HRESULT GetCurFile(std::string &path) const override;

    HRESULT GetCapabilities(uint32_t &capabilities) override;
    HRESULT SetPositions(REFERENCE_TIME *current, uint32_t currentFlags, REFERENCE_TIME *stop,
                         uint32_t stopFlags) override;
    // The start of the current segment (the last seek target).
    HRESULT GetCurrentPosition(REFERENCE_TIME &position) override;
    HRESULT GetStopPosition(REFERENCE_TIME &position) override;
    HRESULT GetDuration(REFERENCE_TIME &duration) override;
    HRESULT SetRate(double rate) override;
    HRESULT GetRate(double &rate) override;

    bool KeyFrameAtOrBefore(REFERENCE_TIME time, REFERENCE_TIME &key) const override;

  protected:
    HRESULT OnActive() override;
    HRESULT OnInactive() override;

  private:
    class StreamPin;
    void StartReader();
    // Stops the reading thread; `flush` also flushes every pin (a seek), else the pins are stopped.
    void StopReader(bool flush);
    void ReaderMain();
    // Reads the next packet, skipping damaged stretches; false at the end or on a stop.
    bool ReadPacket(AVPacket *packet);
    // Puts the file at the key frame at or before `target`; the packets from it that were read
    // meanwhile wait in pending_. False when there is nothing to read.
    bool Position(REFERENCE_TIME target);
    void IndexKeyFrames();
    void Rewind();
    bool ReadKeyFrame(int video, AVPacket *packet);
    void ReadOnToNearestKeyFrame(int video, REFERENCE_TIME target);
    void DropPending();
    bool NextPacket(AVPacket *packet);
    REFERENCE_TIME PacketTime(const AVPacket &packet) const;
    // Queues a packet on its stream's pin; false when the reading must stop.
    bool Dispatch(const AVPacket &packet);
    int VideoStream() const;
    REFERENCE_TIME MediaTime(int64_t timestamp, int streamIndex) const;

    const char *demuxer_ = nullptr; // nullptr: libavformat recognises the container
    std::string path_;
    AVFormatContext *format_ = nullptr;
    std::vector<StreamPin *> pinByStream_; // nullptr for streams without a pin
    std::vector<StreamPin *> pins_;
    REFERENCE_TIME duration_ = 0;
    REFERENCE_TIME start_ = 0; // the segment start
    // The stop may change while the reading thread runs; the start and rate only while it does not.
    std::atomic<REFERENCE_TIME> stop_{0}; // the duration until a stop position is set
    std::atomic<bool> stopSet_{false};    // a stop position was set: the stream ends there
    double rate_ = 1.0;

    std::deque<AVPacket *> pending_; // reading thread only: packets read while positioning
    bool atFirstPacket_ = true;
    std::vector<REFERENCE_TIME> keyFrames_; // of the first video stream, from the index at loading      // reading thread only (after Load): nothing read since opening
    std::thread reader_;
    std::atomic<bool> stopReading_{false}; // also interrupts blocking reads
};
