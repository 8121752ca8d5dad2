#pragma once

#include "Expr.h"
#include "Message.h"
#include "Program.h"
#include "Scope.h"
#include "SyntaxTree.h"

#include <map>
#include <vector>

namespace Script
{

// What the parts of the compiler share while one script compiles: the program being built, the
// innermost scope, the routine whose body is being compiled (none for the main block), how many
// loops and exception handlers enclose the current statement, and the hints gathered so far.
class CompileContext
{
  public:
    explicit CompileContext(Program &program) : program(program) {}

    Program &program;
    Scope *scope = nullptr;
    Routine *routine = nullptr;
    int loopDepth = 0;
    int handlerDepth = 0;
    std::vector<Message> hints;

    // A new type owned by the program.
    Type *NewType(TypeKind kind, const QString &name);

    // The type of a set literal whose elements are of `element`'s family.
    const Type *SetTypeOf(const Type *element);

    // Most cells one frame (a routine's, or the globals) may hold, records and arrays included.
    static constexpr int64_t kMaxFrameCells = int64_t(1) << 21;

    // A new cell in the current frame (the routine's or the globals), initialised for `type`,
    // for a variable declared at `pos`.
    int AllocateCell(const Type *type, SourcePos pos);

    // Adds `symbol` under `name` to the innermost scope; a name already declared there is an error.
    Symbol &Declare(const Syntax::Name &name, Symbol symbol);

    // Adds a variable of `type` named `name` to the innermost scope, in a new cell.
    Symbol &DeclareVariable(const Syntax::Name &name, const Type *type);

    // The node that reads and writes `symbol`'s variable.
    ExprPtr VariableNode(const Symbol &symbol) const;

    // Hints for the variables of `scope` that were declared and never used.
    void ReportUnused(const Scope &scope);

  private:
    std::map<const Type *, const Type *> setTypes_;
    int64_t globalCells_ = 0;
};

// Makes a scope the innermost one for as long as it lives.
class ScopeEntry
{
  public:
    ScopeEntry(CompileContext &context, Scope &scope) : context_(context), outer_(context.scope)
    {
        context_.scope = &scope;
    }
    ~ScopeEntry() { context_.scope = outer_; }
    ScopeEntry(const ScopeEntry &) = delete;
    ScopeEntry &operator=(const ScopeEntry &) = delete;

  private:
    CompileContext &context_;
    Scope *outer_;
};

} // namespace Script
