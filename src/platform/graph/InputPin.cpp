#include "InputPin.h"

InputPin::InputPin(Filter &owner, std::string name) : Pin(owner, std::move(name), PINDIR_INPUT) {}

HRESULT InputPin::BeginFlush()
{
    flushing_ = true;
    return S_OK;
}

HRESULT InputPin::EndFlush()
{
    flushing_ = false;
    return S_OK;
}

HRESULT InputPin::NewSegment(REFERENCE_TIME start, REFERENCE_TIME stop, double rate)
{
    std::lock_guard lock(segmentMutex_);
    segmentStart_ = start;
    segmentStop_ = stop;
    segmentRate_ = rate;
    return S_OK;
}

HRESULT InputPin::EndOfStream()
{
    return S_OK;
}

REFERENCE_TIME InputPin::SegmentStart() const
{
    std::lock_guard lock(segmentMutex_);
    return segmentStart_;
}

REFERENCE_TIME InputPin::SegmentStop() const
{
    std::lock_guard lock(segmentMutex_);
    return segmentStop_;
}

double InputPin::SegmentRate() const
{
    std::lock_guard lock(segmentMutex_);
    return segmentRate_;
}
