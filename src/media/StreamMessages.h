#pragma once

#include <cstdint>

// Numbers of the private messages that the stream filters send or post to the managers' hidden
// windows. Receivers and senders in several folders share them, so they live in one place.
inline constexpr uint32_t WM_VIDEODATA = 0x2403;
inline constexpr uint32_t WM_FRAMEDATA = 0x2404;
inline constexpr uint32_t WM_DATECODE = 0x2409;
inline constexpr uint32_t WM_TIMECODE = 0x240A;
inline constexpr uint32_t WM_INCRUSTDV = 0x240C;
inline constexpr uint32_t WM_INCRUSTTIME = 0x241A;
inline constexpr uint32_t WM_INCRUSTSYSDATE = 0x241B;
inline constexpr uint32_t WM_INCRUSTNUMBER = 0x241D;
inline constexpr uint32_t WM_INCRUSTFILENAME = 0x241E;
inline constexpr uint32_t WM_FRAMETIME = 0x2420;
inline constexpr uint32_t WM_FRAMEDURATION = 0x2421;
inline constexpr uint32_t WM_FRAMEALARM = 0x2422;

// wParam of WM_VIDEODATA: sent and waited for, then posted.
inline constexpr uintptr_t VideoDataSent = 4;
inline constexpr uintptr_t VideoDataPosted = 2;
// wParam of WM_FRAMEDATA.
inline constexpr uintptr_t FrameDataPosted = 3;
