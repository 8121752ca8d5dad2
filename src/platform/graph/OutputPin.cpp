#include "OutputPin.h"

#include "Filter.h"

OutputPin::OutputPin(Filter &owner, std::string name) : Pin(owner, std::move(name), PINDIR_OUTPUT) {}

InputPin *OutputPin::Peer() const
{
    return static_cast<InputPin *>(ConnectedTo());
}

HRESULT OutputPin::Connect(InputPin &to, const MediaType *type)
{
    if (IsConnected() || to.IsConnected())
        return VFW_E_ALREADY_CONNECTED;
    if (&to.Owner() == &Owner())
        return VFW_E_CANNOT_CONNECT;
    if (type && IsCompleteMediaType(*type))
        return TryConnect(to, *type) == S_OK ? S_OK : VFW_E_TYPE_NOT_ACCEPTED;
    const MediaType any;
    const MediaType &pattern = type ? *type : any;
    for (const auto &candidates : {MediaTypes(), to.MediaTypes()})
        for (const MediaType &candidate : candidates)
            if (MediaTypeMatches(pattern, candidate) && TryConnect(to, candidate) == S_OK)
                return S_OK;
    return VFW_E_NO_ACCEPTABLE_TYPES;
}

HRESULT OutputPin::TryConnect(InputPin &to, const MediaType &type)
{
    if (CheckMediaType(type) != S_OK || to.CheckMediaType(type) != S_OK)
        return VFW_E_TYPE_NOT_ACCEPTED;
    peer_ = &to;
    type_ = type;
    to.peer_ = this;
    to.type_ = type;
    HRESULT hr = to.SetMediaType(type);
    if (SUCCEEDED(hr))
        hr = SetMediaType(type);
    if (SUCCEEDED(hr))
        hr = to.CompleteConnect(*this);
    if (SUCCEEDED(hr))
        hr = CompleteConnect(to);
    if (FAILED(hr)) {
        Unlink();
        to.Unlink();
        return hr;
    }
    return S_OK;
}

HRESULT OutputPin::Deliver(const SamplePtr &sample)
{
    InputPin *peer = Peer();
    return peer ? peer->Receive(sample) : VFW_E_NOT_CONNECTED;
}

HRESULT OutputPin::DeliverBeginFlush()
{
    InputPin *peer = Peer();
    return peer ? peer->BeginFlush() : VFW_E_NOT_CONNECTED;
}

HRESULT OutputPin::DeliverEndFlush()
{
    InputPin *peer = Peer();
    return peer ? peer->EndFlush() : VFW_E_NOT_CONNECTED;
}

HRESULT OutputPin::DeliverNewSegment(REFERENCE_TIME start, REFERENCE_TIME stop, double rate)
{
    InputPin *peer = Peer();
    return peer ? peer->NewSegment(start, stop, rate) : VFW_E_NOT_CONNECTED;
}

HRESULT OutputPin::DeliverEndOfStream()
{
    InputPin *peer = Peer();
    return peer ? peer->EndOfStream() : VFW_E_NOT_CONNECTED;
}
