#pragma once

#include <cstddef>
#include <cstdint>

// Readers of an MPEG-2 video sequence header at the start of a sample. Samples shorter than the
// eight header bytes never hold a valid header. Pure functions: any thread may call them.

bool MpegHeaderValid(const uint8_t *data, size_t length);
// The readers below expect a sample for which MpegHeaderValid is true.
int MpegWidth(const uint8_t *data);
int MpegHeight(const uint8_t *data);
// 0 = 4:3, 1 = 16:9, 2 = another aspect.
int MpegAspect(const uint8_t *data);
// Frames per second; 0 for an unknown frame rate code.
double MpegFrameRate(const uint8_t *data);
