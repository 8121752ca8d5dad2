#pragma once

#include "Pin.h"
#include "Sample.h"

#include <atomic>
#include <mutex>

// The receiving end of a connection. Samples, new segments and end of stream arrive on the
// upstream pin's streaming thread, one call at a time and in stream order. Flushes arrive on the
// thread that seeks or stops: BeginFlush() must wake every wait in Receive() so the streaming
// thread returns; until EndFlush() every sample is refused. A new segment follows every flush.
class InputPin : public Pin
{
  public:
    InputPin(Filter &owner, std::string name);

    // Returns S_OK to keep the stream going, S_FALSE when samples are not wanted now (flushing,
    // stopped, after end of stream) and a failure when the stream cannot go on.
    virtual HRESULT Receive(const SamplePtr &sample) = 0;
    virtual HRESULT BeginFlush();
    virtual HRESULT EndFlush();
    // Times of the samples that follow are relative to `start` (media time, 100 ns).
    virtual HRESULT NewSegment(REFERENCE_TIME start, REFERENCE_TIME stop, double rate);
    virtual HRESULT EndOfStream();

    // Any thread.
    bool IsFlushing() const { return flushing_; }
    // The last segment announced. Any thread.
    REFERENCE_TIME SegmentStart() const;
    REFERENCE_TIME SegmentStop() const;
    double SegmentRate() const;

  private:
    std::atomic<bool> flushing_{false};
    mutable std::mutex segmentMutex_; // the segment is written by the streaming thread, read by any
    REFERENCE_TIME segmentStart_ = 0;
    REFERENCE_TIME segmentStop_ = INT64_MAX;
    double segmentRate_ = 1.0;
};
