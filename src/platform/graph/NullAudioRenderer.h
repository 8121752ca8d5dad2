#pragma once

#include "BasicAudio.h"
#include "RendererFilter.h"

#include <mutex>
#include <optional>

// {6B1F3A52-4C8E-4E0B-9A3D-2F7C1E5D8A11}
inline constexpr Guid CLSID_NullAudioRenderer{
    0x6B1F3A52, 0x4C8E, 0x4E0B, {0x9A, 0x3D, 0x2F, 0x7C, 0x1E, 0x5D, 0x8A, 0x11}};

// An audio renderer that plays nothing: it takes 16-bit PCM or float sound, presents it at its
// time on the graph clock (at once without one), keeps a volume and counts the sample frames it
// was given. For tests and benchmarks.
class NullAudioRenderer : public RendererFilter, public BasicAudio
{
  public:
    struct Counts {
        int64_t buffers = 0;
        int64_t frames = 0;                       // sample frames (one sample of every channel) presented
        std::optional<REFERENCE_TIME> firstStart; // start of the first buffer in the last segment
    };

    NullAudioRenderer();

    Counts Stats() const;
    HRESULT put_Volume(int32_t attenuation) override;
    HRESULT get_Volume(int32_t &attenuation) override;

  protected:
    HRESULT CheckMediaType(const MediaType &type) const override;
    HRESULT SetMediaType(const MediaType &type) override;
    HRESULT Render(const SamplePtr &sample) override;
    bool PresentsBeforeSegment() const override { return false; }
    void OnNewSegment(REFERENCE_TIME start, REFERENCE_TIME stop, double rate) override;

  private:
    mutable std::mutex mutex_; // counts and volume: streaming thread and any reader
    Counts counts_;
    uint32_t blockAlign_ = 1;
    int32_t attenuation_ = 0;
};
