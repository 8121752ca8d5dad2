#pragma once

#include "Value.h"

#include <QString>
#include <QStringList>

#include <cstdint>
#include <vector>

namespace Script
{

enum class TypeKind {
    Integer, // the integer types, from Byte to Int64, and their subranges
    Boolean,
    Char,   // a UTF-16 code unit
    Enum,   // enumerations and their subranges
    Float,  // Double; Single, Extended, Real and Currency share it
    String, // string and widestring alike
    Set,    // set of an ordinal type whose values lie in 0..255
    Record,
    Array,     // static arrays
    Exception, // the Exception class: an object that carries its message
    EmptySet,  // the type of [], compatible with every set
    Void,      // what a procedure returns
};

class Type;

struct Field {
    QString name;
    QString key;
    const Type *type;
};

// A script type. The predefined types are shared, immutable singletons (see StandardTypes); the
// types a script or its host declares belong to the compiled program. Types are compared by
// identity, except that all integer types mix freely, as in Pascal.
class Type
{
  public:
    Type(TypeKind kind, QString name) : kind(kind), name(std::move(name)) {}

    TypeKind kind;
    QString name;

    // Ordinal types: the range of values, and for integers how they are stored (a value assigned
    // to a narrower integer keeps its low `bits`, sign-extended when `isSigned`).
    int64_t low = 0;
    int64_t high = 0;
    int bits = 64;
    bool isSigned = true;
    // Enumerations and their subranges: the whole enumeration, and its value names.
    const Type *enumeration = nullptr;
    QStringList enumNames;
    // Sets: the element type; arrays: the element type and the ordinal index type.
    const Type *element = nullptr;
    const Type *index = nullptr;
    // Records: the fields in declaration order.
    std::vector<Field> fields;
    // How many cells a value of this type occupies, to bound memory.
    int64_t cells = 1;

    bool IsOrdinal() const;
    bool IsNumeric() const { return kind == TypeKind::Integer || kind == TypeKind::Float; }
    bool IsTextual() const { return kind == TypeKind::String || kind == TypeKind::Char; }
    int64_t Length() const { return high - low + 1; }
    int FieldIndex(const QString &key) const; // -1 when there is none

    // Makes `value` the initial value of this type: zero, empty, or a record or array of those.
    void Initialize(Value &value) const;

    // The value `v` as stored in a variable of this integer, Char or Boolean type.
    int64_t Narrow(int64_t v) const;
};

// The predefined types, shared by every compilation.
namespace StandardTypes
{
const Type *Integer();  // 32-bit signed (Integer, Longint)
const Type *Cardinal(); // 32-bit unsigned (Cardinal, LongWord, DWord)
const Type *Int64();
const Type *Byte();
const Type *ShortInt();
const Type *Word();
const Type *SmallInt();
const Type *Boolean();
const Type *Char();
const Type *Double();
const Type *String();
const Type *Exception();
const Type *EmptySet();
const Type *Void();
} // namespace StandardTypes

} // namespace Script
