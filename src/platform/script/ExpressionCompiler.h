#pragma once

#include "CompileContext.h"

#include <memory>
#include <utility>

namespace Script
{

class IntrinsicCompiler;

// Checks expressions and builds their nodes: resolves names to cells, constants and routines,
// types every operand, inserts the implicit conversions, picks the operator node for the operand
// types and folds operators whose operands are constants. Faults throw CompileError.
class ExpressionCompiler
{
  public:
    explicit ExpressionCompiler(CompileContext &context);
    ~ExpressionCompiler();

    // An expression that has a value (not a procedure call, not a type name).
    ExprPtr CompileValue(const Syntax::Expr &expr);
    // A value converted to `type`, as for an assignment or a value parameter.
    ExprPtr CompileValueOf(const Syntax::Expr &expr, const Type *type);
    ExprPtr CompileCondition(const Syntax::Expr &expr);
    ExprPtr CompileOrdinal(const Syntax::Expr &expr);
    // An assignable place: a variable (not a const parameter nor a running loop's variable), a
    // field or element of one, or the result of the function being compiled.
    ExprPtr CompilePlace(const Syntax::Expr &expr);
    // A call standing as a statement: a procedure, or a function whose result is dropped.
    ExprPtr CompileCallStatement(const Syntax::Expr &expr);
    // The value of a constant expression, converted to `type` when one is given.
    std::pair<Value, const Type *> CompileConstant(const Syntax::Expr &expr, const Type *type = nullptr);

    // `expr` converted to `type`; incompatible types are an error at `pos`.
    ExprPtr Convert(ExprPtr expr, const Type *type, SourcePos pos) const;
    // `expr` replaced by its value when it has no operand that needs a frame.
    static ExprPtr Fold(ExprPtr expr, SourcePos pos);

    Symbol &Lookup(const Syntax::Name &name) const;
    // What `name` means when called with `count` arguments: a host routine that hides a standard
    // one gives way to it when only the standard one takes that many.
    const Symbol &LookupCallee(const Syntax::Name &name, size_t count) const;
    // The type that `expr` names, or null when it names none.
    const Type *NamedType(const Syntax::Expr &expr) const;

  private:
    ExprPtr CompileAny(const Syntax::Expr &expr);
    ExprPtr CompileLiteral(const Syntax::Expr &expr) const;
    ExprPtr CompileName(const Syntax::Expr &expr);
    ExprPtr CompileCall(const Syntax::Expr &expr);
    ExprPtr CompileTypecast(const Type *type, const Syntax::Expr &call);
    ExprPtr CompileExceptionConstructor(const Syntax::Expr &call);
    ExprPtr CompileField(const Syntax::Expr &expr);
    ExprPtr CompileIndex(const Syntax::Expr &expr);
    ExprPtr CompileSetLiteral(const Syntax::Expr &expr);
    ExprPtr CompileUnary(const Syntax::Expr &expr);
    ExprPtr CompileBinary(const Syntax::Expr &expr);
    ExprPtr Arithmetic(TokenKind op, ExprPtr left, ExprPtr right, SourcePos pos);
    ExprPtr Logic(TokenKind op, ExprPtr left, ExprPtr right, SourcePos pos);
    ExprPtr Compare(TokenKind op, ExprPtr left, ExprPtr right, SourcePos pos);
    ExprPtr Member(ExprPtr element, ExprPtr set, SourcePos pos);
    ExprPtr CallRoutine(const Routine &routine, const std::vector<Syntax::ExprPtr> &args, SourcePos pos);
    [[noreturn]] void NotApplicable(TokenKind op, const Type *left, const Type *right, SourcePos pos) const;

    CompileContext &context_;
    std::unique_ptr<IntrinsicCompiler> intrinsics_;
};

} // namespace Script
