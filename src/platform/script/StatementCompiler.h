#pragma once

#include "CompileContext.h"

namespace Script
{

class ExpressionCompiler;

// Checks statements and builds their nodes. Break and continue must stand in a loop, a bare raise
// in an exception handler; a for loop's variable cannot be assigned inside the loop.
class StatementCompiler
{
  public:
    StatementCompiler(CompileContext &context, ExpressionCompiler &expressions)
        : context_(context), expressions_(expressions)
    {
    }

    StmtPtr Compile(const Syntax::Stmt &statement);
    StmtPtr CompileList(const Syntax::StmtList &list);

  private:
    StmtPtr Assign(const Syntax::Stmt &statement);
    StmtPtr Append(const Syntax::Stmt &statement, ExprPtr &place);
    StmtPtr Call(const Syntax::Stmt &statement);
    StmtPtr Jump(Intrinsic intrinsic, const Syntax::Expr &call, SourcePos pos);
    StmtPtr If(const Syntax::Stmt &statement);
    StmtPtr Case(const Syntax::Stmt &statement);
    StmtPtr Loop(const Syntax::Stmt &statement);
    StmtPtr For(const Syntax::Stmt &statement);
    StmtPtr Try(const Syntax::Stmt &statement);
    StmtPtr Handler(const Syntax::Handler &handler, ExprPtr &variable);
    StmtPtr Raise(const Syntax::Stmt &statement);

    CompileContext &context_;
    ExpressionCompiler &expressions_;
};

} // namespace Script
