#pragma once

#include "AudioOutput.h"
#include "BasicAudio.h"
#include "ClockProvider.h"
#include "RendererFilter.h"

#include <memory>
#include <mutex>

// The audio renderer: plays 16-bit PCM or float samples through the system's sound device (a
// silent null device when none opens) and serves as the graph's reference clock, whose time
// follows the samples the device has played. Volume is attenuation in hundredths of a decibel.
class AudioRenderer final : public RendererFilter, public ClockProvider, public BasicAudio
{
  public:
    // {79376820-07D0-11CF-A24D-0020AFD79767}
    static const Guid ClassId;

    explicit AudioRenderer(AudioOutput::Device device = AudioOutput::Device::System);
    ~AudioRenderer() override;

    std::shared_ptr<ReferenceClock> Clock() override;
    HRESULT put_Volume(int32_t attenuation) override;
    HRESULT get_Volume(int32_t &attenuation) override;
    // Any thread: whether the current output is the silent null device.
    bool PlaysSilently() const;

  protected:
    HRESULT CheckMediaType(const MediaType &type) const override;
    HRESULT SetMediaType(const MediaType &type) override;
    HRESULT Render(const SamplePtr &sample) override;
    bool PresentsBeforeSegment() const override { return false; }
    REFERENCE_TIME PresentationLead() const override;
    void OnFlush() override;
    HRESULT OnInactive() override;
    HRESULT OnRun(REFERENCE_TIME streamStart) override;
    HRESULT OnPause() override;

  private:
    class AudioClock;

    const AudioOutput::Device device_;
    std::shared_ptr<AudioClock> clock_;
    // Guards the output pointer (replaced on the UI thread when the format changes, used by the
    // streaming thread) and the volume.
    mutable std::mutex outputMutex_;
    std::shared_ptr<AudioOutput> output_;
    int32_t attenuation_ = 0;
};
