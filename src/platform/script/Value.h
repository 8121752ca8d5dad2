#pragma once

#include <QString>

#include <cstdint>
#include <vector>

namespace Script
{

// One storage cell of the interpreter: a variable, a parameter, a record field, an array element
// or a temporary. Which member is meaningful follows from the static type of what the cell holds,
// which the compiler knows:
// - ordinal values (integers, Boolean as 0/1, Char as its UTF-16 code, enumerations): `i`;
// - floating-point values: `d`;
// - sets: `bits`, element e present when bit e is set (elements 0..255);
// - var and out parameters: `ref`, the caller's cell;
// - strings and exception objects (their message): `s`;
// - records (fields in declaration order) and static arrays (elements in index order): `items`.
// Copying a cell copies records and arrays deeply, as assignment does in Pascal.
struct Value {
    union {
        int64_t i;
        double d;
        Value *ref;
        uint64_t bits[4] = {0, 0, 0, 0};
    };
    QString s;
    std::vector<Value> items;

    // Takes the content of `from`, a value of the same type, into this cell. Records and arrays
    // are filled item by item in the storage they already have, so var parameters that point
    // into them stay valid when the whole record or array is assigned.
    void Assign(Value &&from);

    bool HasElement(int64_t e) const { return e >= 0 && e < 256 && (bits[e >> 6] >> (e & 63) & 1) != 0; }
    void AddElement(int64_t e) { bits[e >> 6] |= uint64_t(1) << (e & 63); }
    void RemoveElement(int64_t e) { bits[e >> 6] &= ~(uint64_t(1) << (e & 63)); }
};

} // namespace Script
