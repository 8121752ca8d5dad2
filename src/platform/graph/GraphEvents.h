#pragma once

#include <cstdint>

// Event codes filters raise to their graph.
inline constexpr int32_t EC_COMPLETE = 0x01;   // param1: result code, param2: the renderer
inline constexpr int32_t EC_USERABORT = 0x02;  //
inline constexpr int32_t EC_ERRORABORT = 0x03; // param1: result code
inline constexpr int32_t EC_STREAM_ERROR_STOPPED = 0x06;
