#include "TypeRules.h"

namespace Script::TypeRules
{

namespace
{

bool IsCardinal(const Type *t)
{
    return !t->isSigned && t->bits == 32;
}

int64_t StorageLow(const Type *t)
{
    if (t->bits >= 64)
        return t->low;
    return t->isSigned ? -(int64_t(1) << (t->bits - 1)) : 0;
}

int64_t StorageHigh(const Type *t)
{
    if (t->bits >= 64)
        return t->high;
    return t->isSigned ? (int64_t(1) << (t->bits - 1)) - 1 : (int64_t(1) << t->bits) - 1;
}

} // namespace

bool SameOrdinalFamily(const Type *a, const Type *b)
{
    if (a->kind != b->kind || !a->IsOrdinal())
        return false;
    return a->kind != TypeKind::Enum || a->enumeration == b->enumeration;
}

bool IsConvertible(const Type *from, const Type *to)
{
    if (from == to)
        return true;
    switch (to->kind) {
    case TypeKind::Integer:
    case TypeKind::Boolean:
    case TypeKind::Char:
    case TypeKind::Enum:
        return SameOrdinalFamily(from, to);
    case TypeKind::Float:
        return from->IsNumeric();
    case TypeKind::String:
        return from->IsTextual();
    case TypeKind::Set:
        return from->kind == TypeKind::EmptySet ||
               (from->kind == TypeKind::Set && SameOrdinalFamily(from->element, to->element));
    case TypeKind::Exception:
        return from->kind == TypeKind::Exception;
    default:
        return false;
    }
}

bool IsReferenceCompatible(const Type *formal, const Type *actual)
{
    if (formal == actual)
        return true;
    if (formal->kind == TypeKind::Integer)
        return actual->kind == TypeKind::Integer && actual->bits == formal->bits &&
               actual->isSigned == formal->isSigned;
    if (formal->kind == TypeKind::Record || formal->kind == TypeKind::Array)
        return false;
    return formal->kind == actual->kind && IsConvertible(actual, formal) && IsConvertible(formal, actual);
}

bool Fits(const Type *from, const Type *to)
{
    return from->low >= StorageLow(to) && from->high <= StorageHigh(to);
}

const Type *IntegerResult(const Type *a, const Type *b)
{
    if (a->bits == 64 || b->bits == 64)
        return StandardTypes::Int64();
    if (IsCardinal(a) || IsCardinal(b))
        return !a->isSigned && !b->isSigned ? StandardTypes::Cardinal() : StandardTypes::Int64();
    return StandardTypes::Integer();
}

} // namespace Script::TypeRules
