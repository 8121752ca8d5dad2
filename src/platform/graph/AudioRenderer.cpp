#include "AudioRenderer.h"

#include "MediaGuids.h"
#include "MonotonicClock.h"

const Guid AudioRenderer::ClassId{
    0x79376820, 0x07D0, 0x11CF, {0xA2, 0x4D, 0x00, 0x20, 0xAF, 0xD7, 0x97, 0x67}};

// Time is the monotonic clock until an output exists, then the played samples, joined so the
// clock never goes back. While the device is paused the played samples, and so the clock, stand.
class AudioRenderer::AudioClock final : public ReferenceClock
{
  public:
    REFERENCE_TIME GetTime() const override
    {
        std::lock_guard lock(mutex_);
        REFERENCE_TIME t;
        if (output_) {
            const int64_t frames = output_->PlayedFrames() - anchorFrames_;
            t = anchorTime_ + frames * 10000000 / int64_t(output_->Format().nSamplesPerSec);
        } else {
            t = monotonic_.GetTime();
        }
        last_ = std::max(last_, t);
        return last_;
    }

    // A new output takes over the time from where the clock stands.
    void Follow(std::shared_ptr<AudioOutput> output)
    {
        const REFERENCE_TIME now = GetTime();
        std::lock_guard lock(mutex_);
        output_ = std::move(output);
        anchorTime_ = now;
        anchorFrames_ = output_ ? output_->PlayedFrames() : 0;
    }

  private:
    mutable std::mutex mutex_;
    MonotonicClock monotonic_;
    std::shared_ptr<AudioOutput> output_;
    REFERENCE_TIME anchorTime_ = 0;
    int64_t anchorFrames_ = 0;
    mutable REFERENCE_TIME last_ = 0;
};

AudioRenderer::AudioRenderer(AudioOutput::Device device)
    : RendererFilter(ClassId, "Default DirectSound Device"), device_(device),
      clock_(std::make_shared<AudioClock>())
{
}

AudioRenderer::~AudioRenderer() = default;

HRESULT AudioRenderer::CheckMediaType(const MediaType &type) const
{
    WAVEFORMATEX wfx;
    if (type.majortype != MEDIATYPE_Audio || type.formattype != FORMAT_WaveFormatEx || !type.ReadFormat(wfx))
        return VFW_E_TYPE_NOT_ACCEPTED;
    const bool pcm16 = wfx.wFormatTag == WAVE_FORMAT_PCM && wfx.wBitsPerSample == 16;
    const bool float32 = wfx.wFormatTag == WAVE_FORMAT_IEEE_FLOAT && wfx.wBitsPerSample == 32;
    return (pcm16 || float32) && wfx.nChannels > 0 && wfx.nSamplesPerSec > 0 ? S_OK : VFW_E_TYPE_NOT_ACCEPTED;
}

HRESULT AudioRenderer::SetMediaType(const MediaType &type)
{
    WAVEFORMATEX wfx;
    type.ReadFormat(wfx);
    std::shared_ptr<AudioOutput> output = AudioOutput::Open(wfx, device_);
    if (!output)
        return VFW_E_TYPE_NOT_ACCEPTED;
    std::lock_guard lock(outputMutex_);
    output->SetVolume(attenuation_);
    output_ = output;
    clock_->Follow(output);
    return S_OK;
}

HRESULT AudioRenderer::Render(const SamplePtr &sample)
{
    std::shared_ptr<AudioOutput> output;
    {
        std::lock_guard lock(outputMutex_);
        output = output_;
    }
    if (output)
        output->Write(sample->Data(), sample->ActualLength());
    return S_OK;
}

REFERENCE_TIME AudioRenderer::PresentationLead() const
{
    // Samples go to the device this far ahead of their time, so it never starves between them.
    return 2000000; // 200 ms, within the output's buffer
}

void AudioRenderer::OnFlush()
{
    std::lock_guard lock(outputMutex_);
    if (output_)
        output_->Flush();
}

HRESULT AudioRenderer::OnInactive()
{
    {
        std::lock_guard lock(outputMutex_);
        if (output_) {
            output_->Pause();
            output_->Flush(); // wakes a streaming thread blocked in Write
        }
    }
    return RendererFilter::OnInactive();
}

HRESULT AudioRenderer::OnRun(REFERENCE_TIME streamStart)
{
    {
        std::lock_guard lock(outputMutex_);
        if (output_)
            output_->Play();
    }
    return RendererFilter::OnRun(streamStart);
}

HRESULT AudioRenderer::OnPause()
{
    {
        std::lock_guard lock(outputMutex_);
        if (output_)
            output_->Pause();
    }
    return RendererFilter::OnPause();
}

HRESULT AudioRenderer::put_Volume(int32_t attenuation)
{
    if (attenuation < -10000 || attenuation > 0)
        return E_INVALIDARG;
    std::lock_guard lock(outputMutex_);
    attenuation_ = attenuation;
    if (output_)
        output_->SetVolume(attenuation);
    return S_OK;
}

HRESULT AudioRenderer::get_Volume(int32_t &attenuation)
{
    std::lock_guard lock(outputMutex_);
    attenuation = attenuation_;
    return S_OK;
}

bool AudioRenderer::PlaysSilently() const
{
    std::lock_guard lock(outputMutex_);
    return !output_ || output_->IsNullDevice();
}

std::shared_ptr<ReferenceClock> AudioRenderer::Clock()
{
    return clock_;
}
