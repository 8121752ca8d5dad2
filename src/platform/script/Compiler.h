#pragma once

#include "CompileContext.h"
#include "ExpressionCompiler.h"
#include "Routine.h"
#include "StatementCompiler.h"
#include "TypeBuilder.h"

#include <QVariant>

namespace Script
{

// Compiles one script into a program. Names live in three nested scopes: the standard types and
// routines, then what the host declares (from the engine's compile hook), then the script's own
// globals, which may hide the names of the two outer scopes. Checking stops at the first fault,
// which CompileScript throws as CompileError; hints gather in Hints().
class Compiler
{
  public:
    explicit Compiler(Program &program);
    Compiler(const Compiler &) = delete;
    Compiler &operator=(const Compiler &) = delete;

    // Declarations of the host, in the host scope (those of the standard library, in the standard
    // scope, while that is being filled). Each returns false, changing nothing the script could
    // see, when the text does not parse, names an unknown type, or its name is already declared.
    bool DeclareRoutine(const QString &declaration, NativeFunction function);
    bool DeclareConstant(const QString &name, const QString &typeName, const QVariant &value);
    bool DeclareType(const QString &name, const QString &definition);
    void DeclareStandardType(const QString &name, const Type *type);
    void DeclareIntrinsic(const QString &name, Intrinsic intrinsic);

    void CompileScript(const Syntax::Block &script);

    const std::vector<Message> &Hints() const { return context_.hints; }

  private:
    bool IsValidName(const QString &name) const;
    bool IsFreeName(const QString &name) const;
    void CompileDeclarations(const std::vector<Syntax::Decl> &decls);
    void CompileVar(const Syntax::VarDecl &decl);
    void CompileConst(const Syntax::ConstDecl &decl);
    void CompileTypeDecl(const Syntax::TypeDecl &decl);
    void CompileRoutine(const Syntax::Routine &syntax);
    Routine &BuildRoutine(const Syntax::RoutineHeading &heading);
    void CheckSameHeading(const Routine &forward, const Routine &routine, SourcePos pos) const;
    void CompileBody(Routine &routine, const Syntax::Block &block);
    void CheckForwardsResolved() const;

    Program &program_;
    CompileContext context_;
    Scope standard_;
    Scope host_;
    Scope globals_;
    ExpressionCompiler expressions_;
    StatementCompiler statements_;
    TypeBuilder types_;
};

} // namespace Script
