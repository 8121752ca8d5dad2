#include "CaptureGraphBuilder.h"

namespace
{

bool HasMajorType(const Pin &pin, const Guid &majorType)
{
    if (majorType.IsNull())
        return true;
    MediaType connected;
    if (pin.ConnectionMediaType(connected) == S_OK)
        return connected.majortype == majorType;
    for (const MediaType &type : pin.MediaTypes())
        if (type.majortype == majorType)
            return true;
    return false;
}

} // namespace

HRESULT CaptureGraphBuilder::FindPin(Filter &filter, PIN_DIRECTION direction, const Guid &category,
                                     const Guid &majorType, bool unconnectedOnly, int index, Pin *&pin) const
{
    pin = nullptr;
    for (Pin *candidate : filter.Pins()) {
        if (candidate->Direction() != direction || (unconnectedOnly && candidate->IsConnected()))
            continue;
        if (!category.IsNull() && candidate->Category() != category)
            continue;
        if (!HasMajorType(*candidate, majorType))
            continue;
        if (index-- == 0) {
            pin = candidate;
            return S_OK;
        }
    }
    return VFW_E_NOT_FOUND;
}

HRESULT CaptureGraphBuilder::RenderStream(Pin &source, Filter *sink)
{
    if (source.Direction() != PINDIR_OUTPUT)
        return VFW_E_INVALID_DIRECTION;
    if (!sink)
        return graph_.Render(source);
    Pin *input = nullptr;
    HRESULT hr = FindPin(*sink, PINDIR_INPUT, GUID_NULL, GUID_NULL, true, 0, input);
    if (FAILED(hr))
        return hr;
    return graph_.Connect(source, *input);
}

HRESULT CaptureGraphBuilder::RenderStream(const Guid &category, const Guid &majorType, Filter &source,
                                          Filter *sink)
{
    Pin *output = nullptr;
    HRESULT hr = FindPin(source, PINDIR_OUTPUT, category, majorType, true, 0, output);
    if (FAILED(hr))
        return hr;
    return RenderStream(*output, sink);
}
