#pragma once

#include "platform/graph/Filter.h"
#include "platform/graph/Pin.h"

// True when at least one pin of `filter` is connected; false for no filter. UI thread.
inline bool AnyPinConnected(const Filter *filter)
{
    if (!filter)
        return false;
    for (const Pin *pin : filter->Pins())
        if (pin->ConnectedTo())
            return true;
    return false;
}
