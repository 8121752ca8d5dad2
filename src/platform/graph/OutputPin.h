#pragma once

#include "InputPin.h"
#include "Pin.h"
#include "Sample.h"

struct AVCodecParameters;

// The sending end of a connection. Deliver*() forward to the connected input pin on the calling
// thread and answer VFW_E_NOT_CONNECTED when there is none.
class OutputPin : public Pin
{
  public:
    OutputPin(Filter &owner, std::string name);

    // UI thread, graph stopped. Connects to `to` with `type` when given (a partial type - null
    // subtype or format type - lets the pins choose among their types that fit it), else with
    // the first of this pin's types, then the peer's, that both pins accept. VFW_E_ALREADY_CONNECTED,
    // VFW_E_INVALID_DIRECTION, VFW_E_NO_ACCEPTABLE_TYPES; on failure neither pin is changed.
    HRESULT Connect(InputPin &to, const MediaType *type = nullptr);

    InputPin *Peer() const;

    HRESULT Deliver(const SamplePtr &sample);
    HRESULT DeliverBeginFlush();
    HRESULT DeliverEndFlush();
    HRESULT DeliverNewSegment(REFERENCE_TIME start, REFERENCE_TIME stop, double rate);
    HRESULT DeliverEndOfStream();

    // The codec parameters of the compressed stream this pin carries, when it comes from
    // libavformat: a decoder prefers them to what it can rebuild from the media type. Owned by
    // the pin's filter; valid while the connection lasts.
    virtual const AVCodecParameters *CodecParameters() const { return nullptr; }

  private:
    HRESULT TryConnect(InputPin &to, const MediaType &type);
};
