#pragma once

#include "MediaType.h"

// A source that knows where the key frames of its video lie (from the container's index), so a
// caller can tell whether decoding on from a picture reaches a later one sooner than a seek.
class KeyFrameIndex
{
  public:
    virtual ~KeyFrameIndex() = default;
    // UI thread. The media time of the last key frame at or before `time`; false when the
    // container gave no index.
    virtual bool KeyFrameAtOrBefore(REFERENCE_TIME time, REFERENCE_TIME &key) const = 0;
};
