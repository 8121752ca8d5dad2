#pragma once

#include "MediaType.h"

// A source of time in 100 ns units that only moves forward. Stream time is the clock's time minus
// the stream start given to Run(). Any thread may read a clock.
class ReferenceClock
{
  public:
    virtual ~ReferenceClock() = default;
    virtual REFERENCE_TIME GetTime() const = 0;
};
