#pragma once

#include "MediaType.h"

#include <cstdint>
#include <memory>
#include <optional>
#include <vector>

// One unit of media data travelling downstream: a buffer with its used length, a presentation
// interval in 100 ns units relative to the start of the current segment, and flags.
//
// Ownership: samples travel as SamplePtr (shared). The pin that delivers a sample gives the
// receiver a shared reference; a receiver that keeps the sample past Receive() (a renderer holding
// its preroll picture) keeps that reference. A sample from a SamplePool returns to the pool when
// the last reference goes. The data may only be written by whoever allocated the sample, before it
// is delivered; receivers treat it as read-only unless they are in-place transforms, which own the
// sample for the duration of their Receive().
class Sample
{
  public:
    explicit Sample(size_t capacity = 0);

    uint8_t *Data() { return buffer_.data(); }
    const uint8_t *Data() const { return buffer_.data(); }
    size_t Capacity() const { return buffer_.size(); }
    // Grows the buffer when needed; the contents are then unspecified.
    void Reserve(size_t capacity);

    size_t ActualLength() const { return actualLength_; }
    // Clamped to the capacity.
    void SetActualLength(size_t bytes);

    bool HasTime() const { return hasTime_; }
    REFERENCE_TIME Start() const { return start_; }
    REFERENCE_TIME Stop() const { return stop_; }
    void SetTime(REFERENCE_TIME start, REFERENCE_TIME stop);
    void ClearTime() { hasTime_ = false; }

    bool IsSyncPoint() const { return syncPoint_; }
    void SetSyncPoint(bool on) { syncPoint_ = on; }
    bool IsDiscontinuity() const { return discontinuity_; }
    void SetDiscontinuity(bool on) { discontinuity_ = on; }
    // A preroll sample is decoded but not presented.
    bool IsPreroll() const { return preroll_; }
    void SetPreroll(bool on) { preroll_ = on; }

    // Sound sample frames to drop from the start and the end of what this compressed sample
    // decodes to (encoder priming and padding that the container marks).
    uint32_t DiscardAtStart() const { return discardAtStart_; }
    uint32_t DiscardAtEnd() const { return discardAtEnd_; }
    void SetDiscard(uint32_t atStart, uint32_t atEnd)
    {
        discardAtStart_ = atStart;
        discardAtEnd_ = atEnd;
    }

    // Set only on the first sample after the stream's type changed.
    const std::optional<MediaType> &AttachedMediaType() const { return mediaType_; }
    void SetMediaType(std::optional<MediaType> type) { mediaType_ = std::move(type); }

    // Back to an empty sample with no time, flags or type; the buffer is kept.
    void Reset();

  private:
    std::vector<uint8_t> buffer_;
    size_t actualLength_ = 0;
    REFERENCE_TIME start_ = 0;
    REFERENCE_TIME stop_ = 0;
    bool hasTime_ = false;
    bool syncPoint_ = false;
    bool discontinuity_ = false;
    bool preroll_ = false;
    uint32_t discardAtStart_ = 0;
    uint32_t discardAtEnd_ = 0;
    std::optional<MediaType> mediaType_;
};

using SamplePtr = std::shared_ptr<Sample>;
