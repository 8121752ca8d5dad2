#pragma once

// A rectangle as the settings store it: four edges, in this order. Unlike QRect, Right and
// Bottom are plain coordinates with no "minus one" convention.
struct TRect {
    int Left = 0;
    int Top = 0;
    int Right = 0;
    int Bottom = 0;

    friend bool operator==(const TRect &, const TRect &) = default;
};
