#pragma once

#include "ReferenceClock.h"

// The system's monotonic clock: the graph's clock when no audio renderer provides one.
class MonotonicClock : public ReferenceClock
{
  public:
    REFERENCE_TIME GetTime() const override;
};
