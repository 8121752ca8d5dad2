#include "Type.h"

#include <limits>

namespace Script
{

bool Type::IsOrdinal() const
{
    return kind == TypeKind::Integer || kind == TypeKind::Boolean || kind == TypeKind::Char ||
           kind == TypeKind::Enum;
}

int Type::FieldIndex(const QString &key) const
{
    for (size_t i = 0; i < fields.size(); ++i)
        if (fields[i].key == key)
            return int(i);
    return -1;
}

void Type::Initialize(Value &value) const
{
    switch (kind) {
    case TypeKind::Record:
        value.items.resize(fields.size());
        for (size_t i = 0; i < fields.size(); ++i)
            fields[i].type->Initialize(value.items[i]);
        break;
    case TypeKind::Array:
        value.items.resize(size_t(Length()));
        for (Value &item : value.items)
            element->Initialize(item);
        break;
    default:
        break;
    }
}

int64_t Type::Narrow(int64_t v) const
{
    if (kind == TypeKind::Boolean)
        return v != 0;
    if (bits >= 64)
        return v;
    const uint64_t mask = (uint64_t(1) << bits) - 1;
    uint64_t u = uint64_t(v) & mask;
    if (isSigned && (u >> (bits - 1)) != 0)
        u |= ~mask;
    return int64_t(u);
}

namespace StandardTypes
{

namespace
{

Type MakeInteger(const char *name, int bits, bool isSigned)
{
    Type type(TypeKind::Integer, QLatin1String(name));
    type.bits = bits;
    type.isSigned = isSigned;
    if (bits == 64) {
        type.low = std::numeric_limits<int64_t>::min();
        type.high = std::numeric_limits<int64_t>::max();
    } else if (isSigned) {
        type.low = -(int64_t(1) << (bits - 1));
        type.high = (int64_t(1) << (bits - 1)) - 1;
    } else {
        type.high = (int64_t(1) << bits) - 1;
    }
    return type;
}

Type MakeOrdinal(TypeKind kind, const char *name, int64_t high, int bits)
{
    Type type(kind, QLatin1String(name));
    type.high = high;
    type.bits = bits;
    type.isSigned = false;
    return type;
}

} // namespace

const Type *Integer()
{
    static const Type type = MakeInteger("Integer", 32, true);
    return &type;
}

const Type *Cardinal()
{
    static const Type type = MakeInteger("Cardinal", 32, false);
    return &type;
}

const Type *Int64()
{
    static const Type type = MakeInteger("Int64", 64, true);
    return &type;
}

const Type *Byte()
{
    static const Type type = MakeInteger("Byte", 8, false);
    return &type;
}

const Type *ShortInt()
{
    static const Type type = MakeInteger("ShortInt", 8, true);
    return &type;
}

const Type *Word()
{
    static const Type type = MakeInteger("Word", 16, false);
    return &type;
}

const Type *SmallInt()
{
    static const Type type = MakeInteger("SmallInt", 16, true);
    return &type;
}

const Type *Boolean()
{
    static const Type type = MakeOrdinal(TypeKind::Boolean, "Boolean", 1, 1);
    return &type;
}

const Type *Char()
{
    static const Type type = MakeOrdinal(TypeKind::Char, "Char", 0xFFFF, 16);
    return &type;
}

const Type *Double()
{
    static const Type type(TypeKind::Float, QStringLiteral("Double"));
    return &type;
}

const Type *String()
{
    static const Type type(TypeKind::String, QStringLiteral("string"));
    return &type;
}

const Type *Exception()
{
    static const Type type(TypeKind::Exception, QStringLiteral("Exception"));
    return &type;
}

const Type *EmptySet()
{
    static const Type type(TypeKind::EmptySet, QStringLiteral("set"));
    return &type;
}

const Type *Void()
{
    static const Type type(TypeKind::Void, QStringLiteral("procedure"));
    return &type;
}

} // namespace StandardTypes

} // namespace Script
