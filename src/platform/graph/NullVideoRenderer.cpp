#include "NullVideoRenderer.h"

#include "MediaGuids.h"

#include <cstdlib>

NullVideoRenderer::NullVideoRenderer() : RendererFilter(CLSID_NullVideoRenderer, "Null Video Renderer") {}

NullVideoRenderer::Counts NullVideoRenderer::Stats() const
{
    std::lock_guard lock(mutex_);
    return counts_;
}

void NullVideoRenderer::Reset()
{
    std::lock_guard lock(mutex_);
    counts_ = Counts{};
}

HRESULT NullVideoRenderer::CheckMediaType(const MediaType &type) const
{
    BITMAPINFOHEADER bmi;
    return type.majortype == MEDIATYPE_Video && type.subtype == MEDIASUBTYPE_RGB32 && ReadBitmapHeader(type, bmi)
               ? S_OK
               : VFW_E_TYPE_NOT_ACCEPTED;
}

HRESULT NullVideoRenderer::SetMediaType(const MediaType &type)
{
    BITMAPINFOHEADER bmi;
    if (!ReadBitmapHeader(type, bmi))
        return VFW_E_TYPE_NOT_ACCEPTED;
    std::lock_guard lock(mutex_);
    counts_.width = bmi.biWidth;
    counts_.height = std::abs(bmi.biHeight);
    return S_OK;
}

void NullVideoRenderer::Note(const Sample &sample)
{
    BITMAPINFOHEADER bmi;
    if (sample.AttachedMediaType() && ReadBitmapHeader(*sample.AttachedMediaType(), bmi)) {
        counts_.width = bmi.biWidth;
        counts_.height = std::abs(bmi.biHeight);
    }
    if (!sample.HasTime())
        return;
    if (!counts_.firstStart)
        counts_.firstStart = sample.Start();
    counts_.lastStart = sample.Start();
}

HRESULT NullVideoRenderer::Render(const SamplePtr &sample)
{
    std::lock_guard lock(mutex_);
    ++counts_.rendered;
    Note(*sample);
    return S_OK;
}

void NullVideoRenderer::ShowPreroll(const SamplePtr &sample)
{
    std::lock_guard lock(mutex_);
    ++counts_.prerolled;
    Note(*sample);
}

void NullVideoRenderer::OnNewSegment(REFERENCE_TIME start, REFERENCE_TIME, double)
{
    std::lock_guard lock(mutex_);
    ++counts_.segments;
    counts_.segmentStart = start;
    counts_.firstStart.reset();
}
