#pragma once

#include <QString>

#include <cstdint>
#include <vector>

// Number and text formatting of the standard routines (Format, FloatToStr). Texts are the same on
// every machine: "." is the decimal separator and "," the thousands separator. Pure functions;
// any thread.
namespace Script
{

struct FormatArgument {
    enum Kind { Integer, Float, Text } kind = Integer;
    int64_t integer = 0;
    double real = 0;
    QString text;
};

// `format` with each specifier "%" [index ":"] ["-"] [width] ["." precision] type replaced by
// the next argument; types d u x (integers), e f g n m (numbers), s (text), and "%%" for "%".
// Width and precision may be "*", taken from the arguments. Throws Error for a specifier without
// an argument left or with an argument of the wrong kind.
QString FormatText(const QString &format, const std::vector<FormatArgument> &arguments);

// `value` with up to `precision` significant digits, in fixed notation when that needs no more
// digits and the value is at least 0.00001, else in scientific notation ("1.5E-6"); "NAN",
// "INF" and "-INF" for the special values.
QString FloatToText(double value, int precision = 15);

} // namespace Script
