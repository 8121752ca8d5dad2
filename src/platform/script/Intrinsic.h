#pragma once

namespace Script
{

// The standard routines whose typing no Pascal declaration can express (they take any ordinal, a
// type name, a var parameter of several types, an open array...). The compiler builds their
// nodes itself.
enum class Intrinsic {
    Length,
    High,
    Low,
    Inc,
    Dec,
    Ord,
    Chr,
    Succ,
    Pred,
    Abs,
    Sqr,
    Odd,
    SetLength,
    Random,
    Format,
    Include,
    Exclude,
    ExceptionMessage,
    Exit,
    Break,
    Continue,
};

} // namespace Script
