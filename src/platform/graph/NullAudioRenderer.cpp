#include "NullAudioRenderer.h"

#include "MediaGuids.h"

NullAudioRenderer::NullAudioRenderer() : RendererFilter(CLSID_NullAudioRenderer, "Null Audio Renderer") {}

NullAudioRenderer::Counts NullAudioRenderer::Stats() const
{
    std::lock_guard lock(mutex_);
    return counts_;
}

HRESULT NullAudioRenderer::put_Volume(int32_t attenuation)
{
    if (attenuation < -10000 || attenuation > 0)
        return E_INVALIDARG;
    std::lock_guard lock(mutex_);
    attenuation_ = attenuation;
    return S_OK;
}

HRESULT NullAudioRenderer::get_Volume(int32_t &attenuation)
{
    std::lock_guard lock(mutex_);
    attenuation = attenuation_;
    return S_OK;
}

HRESULT NullAudioRenderer::CheckMediaType(const MediaType &type) const
{
    WAVEFORMATEX wfx;
    if (type.majortype != MEDIATYPE_Audio || type.formattype != FORMAT_WaveFormatEx || !type.ReadFormat(wfx))
        return VFW_E_TYPE_NOT_ACCEPTED;
    const bool pcm16 = type.subtype == MEDIASUBTYPE_PCM && wfx.wBitsPerSample == 16;
    const bool float32 = type.subtype == MEDIASUBTYPE_IEEE_FLOAT && wfx.wBitsPerSample == 32;
    return (pcm16 || float32) && wfx.nBlockAlign > 0 ? S_OK : VFW_E_TYPE_NOT_ACCEPTED;
}

HRESULT NullAudioRenderer::SetMediaType(const MediaType &type)
{
    WAVEFORMATEX wfx;
    if (!type.ReadFormat(wfx) || wfx.nBlockAlign == 0)
        return VFW_E_TYPE_NOT_ACCEPTED;
    std::lock_guard lock(mutex_);
    blockAlign_ = wfx.nBlockAlign;
    return S_OK;
}

HRESULT NullAudioRenderer::Render(const SamplePtr &sample)
{
    std::lock_guard lock(mutex_);
    ++counts_.buffers;
    counts_.frames += int64_t(sample->ActualLength() / blockAlign_);
    if (!counts_.firstStart && sample->HasTime())
        counts_.firstStart = sample->Start();
    return S_OK;
}

void NullAudioRenderer::OnNewSegment(REFERENCE_TIME, REFERENCE_TIME, double)
{
    std::lock_guard lock(mutex_);
    counts_.firstStart.reset();
}
