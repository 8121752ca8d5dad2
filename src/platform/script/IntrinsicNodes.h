#pragma once

#include "Expr.h"

#include <vector>

// Expression nodes of the standard routines that the compiler types itself (Length, Inc, Abs,
// Format...). Procedures among them have the Void type and act in Eval.
namespace Script
{

// Length of a string.
class StringLength : public Expr
{
  public:
    explicit StringLength(ExprPtr text);
    int64_t Int(Frame &frame) const override;

  private:
    ExprPtr text_;
};

// Inc(x, n) and Dec(x, n): the ordinal place moves by `amount` (negated for Dec), wrapping as its
// type stores.
class Step : public Expr
{
  public:
    Step(ExprPtr place, ExprPtr amount, bool down);
    void Eval(Frame &frame, Value &out) const override;

  private:
    ExprPtr place_, amount_;
    bool down_;
};

// Succ and Pred: the ordinal after or before.
class Successor : public Expr
{
  public:
    Successor(ExprPtr operand, int64_t delta);
    int64_t Int(Frame &frame) const override;

  private:
    ExprPtr operand_;
    int64_t delta_;
};

class IntegerAbs : public Expr
{
  public:
    IntegerAbs(const Type *type, ExprPtr operand);
    int64_t Int(Frame &frame) const override;

  private:
    ExprPtr operand_;
};

class FloatAbs : public Expr
{
  public:
    explicit FloatAbs(ExprPtr operand);
    double Float(Frame &frame) const override;

  private:
    ExprPtr operand_;
};

class IntegerSquare : public Expr
{
  public:
    IntegerSquare(const Type *type, ExprPtr operand);
    int64_t Int(Frame &frame) const override;

  private:
    ExprPtr operand_;
};

class FloatSquare : public Expr
{
  public:
    explicit FloatSquare(ExprPtr operand);
    double Float(Frame &frame) const override;

  private:
    ExprPtr operand_;
};

class IsOdd : public Expr
{
  public:
    explicit IsOdd(ExprPtr operand);
    int64_t Int(Frame &frame) const override;

  private:
    ExprPtr operand_;
};

// SetLength(s, n): the string cut or padded with #0 to n characters.
class StringResize : public Expr
{
  public:
    StringResize(ExprPtr place, ExprPtr length);
    void Eval(Frame &frame, Value &out) const override;

  private:
    ExprPtr place_, length_;
};

// Random: a Double in [0, 1); Random(n): an integer in [0, n), 0 when n <= 0.
class RandomNumber : public Expr
{
  public:
    explicit RandomNumber(ExprPtr limit);
    double Float(Frame &frame) const override;
    int64_t Int(Frame &frame) const override;

  private:
    ExprPtr limit_; // null for the Double form
};

// Format(format, [arguments]): the arguments may be integers, Doubles, strings or characters.
class FormatCall : public Expr
{
  public:
    FormatCall(ExprPtr format, std::vector<ExprPtr> arguments);
    QString Str(Frame &frame) const override;

  private:
    ExprPtr format_;
    std::vector<ExprPtr> arguments_;
};

// Include(s, e) and Exclude(s, e).
class SetElementChange : public Expr
{
  public:
    SetElementChange(ExprPtr place, ExprPtr element, bool include);
    void Eval(Frame &frame, Value &out) const override;

  private:
    ExprPtr place_, element_;
    bool include_;
};

// ExceptionMessage: the message of the exception being handled, empty outside a handler.
class HandledExceptionMessage : public Expr
{
  public:
    HandledExceptionMessage();
    QString Str(Frame &frame) const override;
};

} // namespace Script
