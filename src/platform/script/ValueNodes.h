#pragma once

#include "Expr.h"

// Expression nodes that read values: constants, variables, parameters, fields, array elements,
// characters of strings, and the implicit conversions between types.
namespace Script
{

class Constant : public Expr
{
  public:
    Constant(const Type *type, Value value) : Expr(type), value(std::move(value)) {}

    int64_t Int(Frame &) const override { return value.i; }
    double Float(Frame &) const override { return value.d; }
    QString Str(Frame &) const override { return value.s; }
    void Eval(Frame &, Value &out) const override { out = value; }
    bool IsConstant() const override { return true; }

    const Value value;
};

// An assignable place: the value is whatever its cell holds.
class Place : public Expr
{
  public:
    explicit Place(const Type *type) : Expr(type) { isPlace = true; }

    int64_t Int(Frame &frame) const override { return Ref(frame)->i; }
    double Float(Frame &frame) const override { return Ref(frame)->d; }
    QString Str(Frame &frame) const override { return Ref(frame)->s; }
    void Eval(Frame &frame, Value &out) const override { out = *Ref(frame); }
};

// Where the cell of a variable is: the running routine's frame, the globals, or behind the
// address a var parameter's cell holds.
struct LocalCell {
    static Value *Of(Frame &frame, int slot) { return &frame.locals[slot]; }
};
struct GlobalCell {
    static Value *Of(Frame &frame, int slot) { return &frame.globals[slot]; }
};
struct ReferenceCell {
    static Value *Of(Frame &frame, int slot) { return frame.locals[slot].ref; }
};

// A variable: its cell is found from its slot directly, the most frequent read of all.
template <class Cell> class Variable : public Place
{
  public:
    Variable(const Type *type, int slot) : Place(type), slot(slot) {}

    Value *Ref(Frame &frame) const final { return Cell::Of(frame, slot); }
    int64_t Int(Frame &frame) const final { return Cell::Of(frame, slot)->i; }
    double Float(Frame &frame) const final { return Cell::Of(frame, slot)->d; }
    QString Str(Frame &frame) const final { return Cell::Of(frame, slot)->s; }
    void Eval(Frame &frame, Value &out) const final { out = *Cell::Of(frame, slot); }

    const int slot;
};

// A variable or value parameter of the running routine.
using LocalVariable = Variable<LocalCell>;
using GlobalVariable = Variable<GlobalCell>;
// A var or out parameter: its slot holds the address of the caller's cell.
using ReferenceParameter = Variable<ReferenceCell>;

// record.field, where the record is a place.
class FieldPlace : public Place
{
  public:
    FieldPlace(const Type *type, ExprPtr record, int index);
    Value *Ref(Frame &frame) const override { return &record_->Ref(frame)->items[size_t(index_)]; }

  private:
    ExprPtr record_;
    int index_;
};

// array[index], where the array is a place. The index is checked against the bounds.
class ElementPlace : public Place
{
  public:
    ElementPlace(const Type *type, ExprPtr array, ExprPtr index);
    Value *Ref(Frame &frame) const override;

  private:
    ExprPtr array_, index_;
    int64_t low_, high_;
};

// A field or element of a record or array that is no place (the result of a function call).
class PartOfValue : public Expr
{
  public:
    PartOfValue(const Type *type, ExprPtr whole, int fieldIndex); // a field
    PartOfValue(const Type *type, ExprPtr whole, ExprPtr index);  // an element
    void Eval(Frame &frame, Value &out) const override;

  private:
    ExprPtr whole_, index_;
    int fieldIndex_ = 0;
};

// string[index]: the character at a 1-based, checked index.
class StringCharacter : public Expr
{
  public:
    StringCharacter(ExprPtr text, ExprPtr index);
    int64_t Int(Frame &frame) const override;

  private:
    ExprPtr text_, index_;
};

// Throws the run-time error for `index` outside low..high.
[[noreturn]] void ThrowIndexError(int64_t index, int64_t low, int64_t high);

class IntegerToFloat : public Expr
{
  public:
    explicit IntegerToFloat(ExprPtr operand);
    double Float(Frame &frame) const override { return double(operand_->Int(frame)); }

  private:
    ExprPtr operand_;
};

class CharToString : public Expr
{
  public:
    explicit CharToString(ExprPtr operand);
    QString Str(Frame &frame) const override { return QString(QChar(char16_t(operand_->Int(frame)))); }

  private:
    ExprPtr operand_;
};

// An ordinal value converted to another ordinal type: integer narrowing keeps the low bits;
// typecasts such as Char(65) or TColorKind(2) change only the static type.
class OrdinalConversion : public Expr
{
  public:
    OrdinalConversion(const Type *type, ExprPtr operand);
    int64_t Int(Frame &frame) const override { return type->Narrow(operand_->Int(frame)); }

  private:
    ExprPtr operand_;
};

// The text of an exception object is its message, so making an exception from a message
// (Exception.Create) and reading the message back (E.Message) change only the static type.
class MessageText : public Expr
{
  public:
    MessageText(const Type *type, ExprPtr operand);
    QString Str(Frame &frame) const override { return operand_->Str(frame); }

  private:
    ExprPtr operand_;
};

} // namespace Script
