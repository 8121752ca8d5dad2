#pragma once

#include <QString>
#include <cstdint>

// Stream positions (100 ns units) as "H:MM:SS:FF" texts, frames counted in units of the frame
// duration; a frame duration of 0 counts milliseconds. Pure functions: any thread may call them.
QString PositionText(int64_t position, int64_t frameDuration);
int64_t ParsePositionText(const QString &text, int64_t frameDuration);
