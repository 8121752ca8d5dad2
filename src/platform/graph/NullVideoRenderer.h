#pragma once

#include "RendererFilter.h"

#include <mutex>
#include <optional>

// {6B1F3A52-4C8E-4E0B-9A3D-2F7C1E5D8A10}
inline constexpr Guid CLSID_NullVideoRenderer{
    0x6B1F3A52, 0x4C8E, 0x4E0B, {0x9A, 0x3D, 0x2F, 0x7C, 0x1E, 0x5D, 0x8A, 0x10}};

// A video renderer that shows nothing: it takes 32-bit RGB pictures, presents them at their time
// on the graph clock (at once without one) and counts what it was given. For tests and
// benchmarks.
class NullVideoRenderer : public RendererFilter
{
  public:
    // What arrived since the last Reset(). Read on any thread.
    struct Counts {
        int64_t rendered = 0;  // pictures presented
        int64_t prerolled = 0; // pictures held while paused
        int segments = 0;
        REFERENCE_TIME segmentStart = 0;          // start of the last segment
        std::optional<REFERENCE_TIME> firstStart; // start of the first picture in the last segment
        std::optional<REFERENCE_TIME> lastStart;  // start of the latest picture
        int width = 0, height = 0;                // size of the latest picture
    };

    NullVideoRenderer();

    Counts Stats() const;
    void Reset();

  protected:
    HRESULT CheckMediaType(const MediaType &type) const override;
    HRESULT SetMediaType(const MediaType &type) override;
    HRESULT Render(const SamplePtr &sample) override;
    void ShowPreroll(const SamplePtr &sample) override;
    void OnNewSegment(REFERENCE_TIME start, REFERENCE_TIME stop, double rate) override;

  private:
    void Note(const Sample &sample);

    mutable std::mutex mutex_; // counts are written by the streaming thread, read by any
    Counts counts_;
};
