#pragma once

#include "MediaGuids.h"
#include "MediaType.h"
#include "platform/core/Result.h"

#include <cstdint>

enum : uint32_t {
    AM_SEEKING_CanSeekAbsolute = 0x1,
    AM_SEEKING_CanSeekForwards = 0x2,
    AM_SEEKING_CanSeekBackwards = 0x4,
    AM_SEEKING_CanGetCurrentPos = 0x8,
    AM_SEEKING_CanGetStopPos = 0x10,
    AM_SEEKING_CanGetDuration = 0x20,
};

enum : uint32_t {
    AM_SEEKING_NoPositioning = 0x0,
    AM_SEEKING_AbsolutePositioning = 0x1,
    AM_SEEKING_RelativePositioning = 0x2,
    AM_SEEKING_IncrementalPositioning = 0x3,
    AM_SEEKING_PositioningBitsMask = 0x3,
};

// Seeking in media time (100 ns units; TIME_FORMAT_MEDIA_TIME is the only format). Called on the
// UI thread.
class MediaSeeking
{
  public:
    virtual ~MediaSeeking() = default;

    virtual HRESULT GetCapabilities(uint32_t &capabilities) = 0;
    // S_OK for TIME_FORMAT_MEDIA_TIME, E_INVALIDARG for any other format.
    HRESULT SetTimeFormat(const Guid &format) const
    {
        return format == TIME_FORMAT_MEDIA_TIME ? S_OK : E_INVALIDARG;
    }
    // Each position with its AM_SEEKING_* positioning flags; nullptr or NoPositioning leaves it.
    virtual HRESULT SetPositions(REFERENCE_TIME *current, uint32_t currentFlags, REFERENCE_TIME *stop,
                                 uint32_t stopFlags) = 0;
    virtual HRESULT GetCurrentPosition(REFERENCE_TIME &position) = 0;
    virtual HRESULT GetStopPosition(REFERENCE_TIME &position) = 0;
    virtual HRESULT GetDuration(REFERENCE_TIME &duration) = 0;
    virtual HRESULT SetRate(double rate) = 0;
    virtual HRESULT GetRate(double &rate) = 0;
};
