#include "Pin.h"

#include "Filter.h"
#include "MediaGuids.h"

Pin::Pin(Filter &owner, std::string name, PIN_DIRECTION direction)
    : owner_(owner), name_(std::move(name)), direction_(direction)
{
}

Pin::~Pin()
{
    if (peer_)
        peer_->Unlink();
}

HRESULT Pin::ConnectionMediaType(MediaType &type) const
{
    if (!peer_)
        return VFW_E_NOT_CONNECTED;
    type = type_;
    return S_OK;
}

HRESULT Pin::Disconnect()
{
    if (!peer_)
        return S_FALSE;
    if (owner_.State() != State_Stopped || peer_->owner_.State() != State_Stopped)
        return VFW_E_NOT_STOPPED;
    Pin *peer = peer_;
    Unlink();
    peer->Unlink();
    return S_OK;
}

void Pin::Unlink()
{
    if (!peer_)
        return;
    peer_ = nullptr;
    type_ = MediaType{};
    BreakConnect();
}

bool MediaTypeMatches(const MediaType &pattern, const MediaType &type)
{
    auto fits = [](const Guid &want, const Guid &have) { return want.IsNull() || want == have; };
    return fits(pattern.majortype, type.majortype) && fits(pattern.subtype, type.subtype) &&
           fits(pattern.formattype, type.formattype) &&
           (pattern.format.empty() || pattern.format == type.format);
}

bool IsCompleteMediaType(const MediaType &type)
{
    return !type.majortype.IsNull() && !type.subtype.IsNull() && !type.formattype.IsNull() &&
           (type.formattype == FORMAT_None || !type.format.empty());
}
