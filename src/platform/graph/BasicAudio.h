#pragma once

#include "platform/core/Result.h"

#include <cstdint>

// Volume of an audio renderer as attenuation in hundredths of a decibel: -10000 (silent) to 0
// (full). Any thread.
class BasicAudio
{
  public:
    virtual ~BasicAudio() = default;
    // E_INVALIDARG outside -10000..0.
    virtual HRESULT put_Volume(int32_t attenuation) = 0;
    virtual HRESULT get_Volume(int32_t &attenuation) = 0;
};
