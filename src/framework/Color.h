#pragma once

#include <QColor>
#include <QString>

#include <cstdint>

// A colour as the settings hold it: 0x00BBGGRR, or a system colour 0xFF0000nn (nn the index of
// the system colour), or one of the two special values clNone and clDefault.
using TColor = uint32_t;

inline constexpr TColor clBlack = 0x000000;
inline constexpr TColor clRed = 0x0000FF;
inline constexpr TColor clYellow = 0x00FFFF;
inline constexpr TColor clFuchsia = 0xFF00FF;
inline constexpr TColor clSilver = 0xC0C0C0;
inline constexpr TColor clWindowText = 0xFF000008;

// The colour named by a colour identifier ("clSkyBlue", case ignored); false when the word
// names no colour.
bool IdentToColor(const QString &ident, TColor &color);

// The colour as red, green and blue: a system colour is looked up in the application's palette,
// clNone and clDefault give black. UI thread, as it reads the palette.
QColor ColorToQColor(TColor color);

// The same colour as a plain 0x00BBGGRR value. UI thread.
TColor ColorToRGB(TColor color);
