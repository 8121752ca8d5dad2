#pragma once

#include <QString>

#include <optional>

// Conversions of command-line and settings texts to values.

// A 32-bit integer written in decimal or, after "$" (or "0x"), in hexadecimal, with an optional
// sign; leading blanks are allowed, nothing may follow the digits. Hexadecimal values above
// 0x7FFFFFFF wrap to negative numbers, so every 32-bit pattern (system colours included) can be
// written. Empty when the text is no such integer.
std::optional<int> TextToInteger(const QString &text);

// True for "true", "vrai", "t", "v" (case ignored) or any non-zero integer, once leading and
// trailing blanks are removed; false for anything else.
bool TextToBoolean(const QString &text);
