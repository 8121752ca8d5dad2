#pragma once

#include "Expr.h"
#include "Token.h"

#include <vector>

// Expression nodes of the operators. The compiler picks the node from the operands' static types,
// so each node does one kind of arithmetic or comparison without looking at types at run time.
namespace Script
{

// Integer arithmetic and bitwise operators (+ - * div mod and or xor shl shr) on operands already
// widened to the result type, which decides where the result wraps: 32-bit signed, 32-bit
// unsigned or 64-bit.
ExprPtr MakeIntegerOperation(TokenKind op, const Type *resultType, ExprPtr left, ExprPtr right);

// + - * / on Double operands.
ExprPtr MakeFloatOperation(TokenKind op, ExprPtr left, ExprPtr right);

// How two operands of a comparison are compared.
enum class Comparison { Ordinal, Float, String, Set };

// = <> < <= > >= (sets: = <> <= >=, the last two meaning subset and superset).
ExprPtr MakeComparison(TokenKind op, Comparison comparison, ExprPtr left, ExprPtr right);

// Boolean and, or (both evaluated only as far as needed) and xor.
ExprPtr MakeLogical(TokenKind op, ExprPtr left, ExprPtr right);

// Unary minus of an integer (wrapping as `resultType`) or a Double.
ExprPtr MakeNegation(const Type *resultType, ExprPtr operand);

// not of a Boolean, or the bitwise not of an integer.
ExprPtr MakeNot(ExprPtr operand);

// Two strings joined.
ExprPtr MakeConcatenation(ExprPtr left, ExprPtr right);

// Union (+), difference (-) and intersection (*) of two sets of `setType`.
ExprPtr MakeSetOperation(TokenKind op, const Type *setType, ExprPtr left, ExprPtr right);

// element in set.
ExprPtr MakeMembership(ExprPtr element, ExprPtr set);

// [a, b, c..d]: elements and ranges of ordinals in 0..255.
class SetConstructor : public Expr
{
  public:
    struct Element {
        ExprPtr low, high; // high is null for a single element
    };

    SetConstructor(const Type *type, std::vector<Element> elements);
    void Eval(Frame &frame, Value &out) const override;

  private:
    std::vector<Element> elements_;
};

} // namespace Script
