#pragma once

#include "CompileContext.h"

namespace Script
{

class ExpressionCompiler;

// Builds types from their syntax: looks up named types, declares the values of enumerations in
// the innermost scope, evaluates subrange bounds, and bounds the size of arrays and records.
class TypeBuilder
{
  public:
    // Most cells a value of one type may take (an array of a million integers).
    static constexpr int64_t kMaxCells = int64_t(1) << 20;

    TypeBuilder(CompileContext &context, ExpressionCompiler &expressions)
        : context_(context), expressions_(expressions)
    {
    }

    // The type `syntax` describes. A type it creates is called `name` when one is given (the
    // name of a type declaration); a type name gives the existing type.
    const Type *Build(const Syntax::Type &syntax, const QString &name = QString());

  private:
    const Type *Named(const Syntax::Type &syntax) const;
    const Type *Enumeration(const Syntax::Type &syntax, const QString &name);
    const Type *Subrange(const Syntax::Type &syntax, const QString &name);
    const Type *Set(const Syntax::Type &syntax, const QString &name);
    const Type *Array(const Syntax::Type &syntax, const QString &name);
    const Type *Record(const Syntax::Type &syntax, const QString &name);

    CompileContext &context_;
    ExpressionCompiler &expressions_;
};

} // namespace Script
