#pragma once

#include "Runtime.h"
#include "Type.h"

#include <memory>

namespace Script
{

// A compiled expression: a node of the tree the interpreter walks. Its static type is known, so a
// caller asks for the value in the form the type has: Int for ordinals, Float, Str, or Eval for
// any type (sets, records, arrays, exceptions). A node overrides the typed accessors it produces
// directly; the defaults go through Eval, and Eval's default through the typed accessors, so each
// node overrides at least one side. Assignable nodes also give their cell through Ref.
class Expr
{
  public:
    explicit Expr(const Type *type) : type(type) {}
    virtual ~Expr() = default;
    Expr(const Expr &) = delete;
    Expr &operator=(const Expr &) = delete;

    virtual int64_t Int(Frame &frame) const;
    virtual double Float(Frame &frame) const;
    virtual QString Str(Frame &frame) const;
    virtual void Eval(Frame &frame, Value &out) const;
    // The cell of a variable, field or element; nullptr for values that live nowhere.
    virtual Value *Ref(Frame &) const { return nullptr; }
    // True for a literal or a folded constant, whose value needs no frame.
    virtual bool IsConstant() const { return false; }

    const Type *type;
    // Evaluating may run script routines, which may change any variable.
    bool runsScript = false;
    // A routine call, which may stand alone as a statement.
    bool isCall = false;
    // A variable, parameter, field or element: Ref gives its cell.
    bool isPlace = false;
};

using ExprPtr = std::unique_ptr<Expr>;

// How a statement ends: normally, or by break, continue or exit, which the enclosing loop or
// routine consumes. Exceptions travel as C++ exceptions (Error, Stopped).
enum class Flow { Next, Break, Continue, Exit };

class Stmt
{
  public:
    Stmt() = default;
    virtual ~Stmt() = default;
    Stmt(const Stmt &) = delete;
    Stmt &operator=(const Stmt &) = delete;

    virtual Flow Exec(Frame &frame) const = 0;
};

using StmtPtr = std::unique_ptr<Stmt>;

} // namespace Script
