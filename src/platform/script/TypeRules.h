#pragma once

#include "Type.h"

// Which types mix: assignment compatibility, var-parameter identity, the result type of integer
// arithmetic. Pure functions of immutable types; any thread.
namespace Script::TypeRules
{

// Ordinals of one family can be compared, and converted into each other: all integers, all
// characters, Booleans, or the values of one enumeration (and its subranges).
bool SameOrdinalFamily(const Type *a, const Type *b);

// A value of `from` may be assigned to, or passed as a value parameter of, type `to`.
bool IsConvertible(const Type *from, const Type *to);

// A place of type `actual` may be passed for a var parameter of type `formal`: same storage.
bool IsReferenceCompatible(const Type *formal, const Type *actual);

// Every value of integer type `from` is stored unchanged by integer type `to`.
bool Fits(const Type *from, const Type *to);

// The type in which two integers are added, multiplied...: Int64 when either is 64-bit or when
// a Cardinal meets a signed type, Cardinal when both are unsigned and one is 32-bit, else Integer.
const Type *IntegerResult(const Type *a, const Type *b);

} // namespace Script::TypeRules
