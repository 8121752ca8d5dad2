#pragma once

#include "Color.h"

#include <QString>

// A font as the settings store it: what the inlay and the preferences need, independent of any
// paint device. Size is in points at PixelsPerInch; Pitch is 0 default, 1 variable, 2 fixed.
struct TFont {
    QString Name = QStringLiteral("Sans Serif");
    int Size = 8;
    TColor Color = clWindowText;
    bool Bold = false;
    bool Italic = false;
    bool Underline = false;
    bool StrikeOut = false;
    int Charset = 1;
    int Pitch = 0;
    int PixelsPerInch = 96;

    friend bool operator==(const TFont &, const TFont &) = default;
};
