#pragma once

namespace Script
{

class Compiler;

// Declares the standard types, constants and routines every script has (Integer, string,
// True, MaxInt, IntToStr, Copy, Trim, Round, Length, Inc, Format...).
void DeclareStandardLibrary(Compiler &compiler);

} // namespace Script
