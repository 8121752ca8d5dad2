#pragma once

#include "platform/graph/Filter.h"
#include "platform/graph/SamplePool.h"
#include "platform/graph/StreamingOutputPin.h"

// A source the test feeds by hand: one streaming output pin offering small RGB32 pictures.
class PushSource : public Filter
{
  public:
    static constexpr int Width = 16, Height = 8;

    PushSource();
    StreamingOutputPin &Out() const { return *out_; }
    // Queues a picture starting at startHns (relative to the segment); false when refused.
    bool Push(REFERENCE_TIME startHns, REFERENCE_TIME durationHns = 400'000);

  protected:
    HRESULT OnActive() override;
    HRESULT OnInactive() override;

  private:
    class Pin;
    StreamingOutputPin *out_;
    SamplePool pool_;
};
