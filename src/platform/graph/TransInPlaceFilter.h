#pragma once

#include "Filter.h"
#include "InputPin.h"
#include "OutputPin.h"

// A pass-through filter with one input and one output pin that sees every sample on its way
// and may change it in place or drop it. The output offers the input's connection type; samples,
// segments, flushes and end of stream go on downstream on the calling (upstream streaming) thread.
//
// Subclasses decide which types they take and what happens to each sample. Hooks run on:
// CheckInputType, CheckTransform, GetMediaType, CompleteConnect, SetMediaType - UI thread while
// connecting; StartStreaming/StopStreaming - UI thread on stopped-to-paused and on stop;
// NewSegment and Transform - the upstream streaming thread.
class TransInPlaceFilter : public Filter
{
  public:
    TransInPlaceFilter(const Guid &classId, std::string name);

    InputPin *Input() const { return input_; }
    OutputPin *Output() const { return output_; }

  protected:
    // S_OK when the filter works on `type`, else VFW_E_TYPE_NOT_ACCEPTED.
    virtual HRESULT CheckInputType(const MediaType &type) = 0;
    // The output must carry the input's type: S_OK when it does.
    virtual HRESULT CheckTransform(const MediaType &input, const MediaType &output);
    // The output's type at `position`: the input's connection type at 0, VFW_S_NO_MORE_ITEMS past
    // the last, VFW_E_NOT_CONNECTED while the input is not connected.
    virtual HRESULT GetMediaType(int position, MediaType &type);
    virtual HRESULT CompleteConnect(PIN_DIRECTION, Pin &) { return S_OK; }
    virtual HRESULT SetMediaType(PIN_DIRECTION, const MediaType &) { return S_OK; }
    virtual HRESULT StartStreaming() { return S_OK; }
    virtual HRESULT StopStreaming() { return S_OK; }
    virtual HRESULT NewSegment(REFERENCE_TIME, REFERENCE_TIME, double) { return S_OK; }
    // S_OK delivers the sample downstream, S_FALSE drops it, a failure stops the stream.
    virtual HRESULT Transform(Sample &sample) = 0;

    HRESULT OnActive() override;
    HRESULT OnInactive() override;

  private:
    class In;
    class Out;
    InputPin *input_;
    OutputPin *output_;
};
