#pragma once

#include "ReferenceClock.h"

#include <memory>

// A filter that can serve as the graph's reference clock (the audio renderer).
class ClockProvider
{
  public:
    virtual ~ClockProvider() = default;
    virtual std::shared_ptr<ReferenceClock> Clock() = 0;
};
