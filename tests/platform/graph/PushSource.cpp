#include "PushSource.h"

#include "platform/graph/VideoDecoderFilter.h"

#include <cstring>

class PushSource::Pin : public StreamingOutputPin
{
  public:
    explicit Pin(Filter &owner) : StreamingOutputPin(owner, "Out", 4) {}
    std::vector<MediaType> MediaTypes() const override
    {
        return VideoDecoderFilter::RgbTypes(Width, Height, 0, 0, 400'000);
    }
    HRESULT CheckMediaType(const MediaType &type) const override
    {
        for (const MediaType &offered : MediaTypes())
            if (offered == type)
                return S_OK;
        return VFW_E_TYPE_NOT_ACCEPTED;
    }
};

PushSource::PushSource() : Filter(GUID_NULL, "Push Source"), out_(AddPin<Pin>(*this)) {}

bool PushSource::Push(REFERENCE_TIME startHns, REFERENCE_TIME durationHns)
{
    SamplePtr sample = pool_.Get(Width * Height * 4);
    std::memset(sample->Data(), 0x80, sample->Capacity());
    sample->SetActualLength(Width * Height * 4);
    sample->SetTime(startHns, startHns + durationHns);
    sample->SetSyncPoint(true);
    return out_->QueueSample(sample);
}

HRESULT PushSource::OnActive()
{
    out_->StartStreaming();
    out_->QueueNewSegment(0, INT64_MAX, 1.0);
    return S_OK;
}

HRESULT PushSource::OnInactive()
{
    out_->StopStreaming();
    return S_OK;
}
