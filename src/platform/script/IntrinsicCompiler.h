#pragma once

#include "Expr.h"
#include "Intrinsic.h"
#include "SyntaxTree.h"

namespace Script
{

class ExpressionCompiler;

// Checks a call of a standard routine that has no Pascal declaration and builds its node. Calls
// with constant arguments (Ord('A'), High(TEnum), Length('abc')) fold to constants.
class IntrinsicCompiler
{
  public:
    explicit IntrinsicCompiler(ExpressionCompiler &expressions) : expressions_(expressions) {}

    ExprPtr Compile(Intrinsic intrinsic, const std::vector<Syntax::ExprPtr> &args, SourcePos pos);

  private:
    ExprPtr Length(const std::vector<Syntax::ExprPtr> &args, SourcePos pos);
    ExprPtr Bound(bool high, const std::vector<Syntax::ExprPtr> &args, SourcePos pos);
    ExprPtr Step(bool down, const std::vector<Syntax::ExprPtr> &args, SourcePos pos);
    ExprPtr Ord(const std::vector<Syntax::ExprPtr> &args, SourcePos pos);
    ExprPtr Chr(const std::vector<Syntax::ExprPtr> &args, SourcePos pos);
    ExprPtr Successor(int64_t delta, const std::vector<Syntax::ExprPtr> &args, SourcePos pos);
    ExprPtr Abs(const std::vector<Syntax::ExprPtr> &args, SourcePos pos);
    ExprPtr Sqr(const std::vector<Syntax::ExprPtr> &args, SourcePos pos);
    ExprPtr Odd(const std::vector<Syntax::ExprPtr> &args, SourcePos pos);
    ExprPtr SetLength(const std::vector<Syntax::ExprPtr> &args, SourcePos pos);
    ExprPtr Random(const std::vector<Syntax::ExprPtr> &args, SourcePos pos);
    ExprPtr Format(const std::vector<Syntax::ExprPtr> &args, SourcePos pos);
    ExprPtr SetElement(bool include, const std::vector<Syntax::ExprPtr> &args, SourcePos pos);

    // Throws unless the call has between `least` and `most` arguments.
    static void CheckCount(const std::vector<Syntax::ExprPtr> &args, size_t least, size_t most,
                           SourcePos pos);
    ExprPtr Folded(ExprPtr node, bool constant, SourcePos pos) const;

    ExpressionCompiler &expressions_;
};

} // namespace Script
