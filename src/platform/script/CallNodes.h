#pragma once

#include "Routine.h"

#include <vector>

// Expression nodes that call routines. Arguments come already converted to the parameter types;
// var and out arguments are places whose cells the routine receives.
namespace Script
{

// A call of a routine written in the script: a new frame from the routine's prototype, the
// arguments in its first cells, then the body.
class ScriptCall : public Expr
{
  public:
    ScriptCall(const Routine &routine, std::vector<ExprPtr> arguments);

    int64_t Int(Frame &frame) const override;
    double Float(Frame &frame) const override;
    QString Str(Frame &frame) const override;
    void Eval(Frame &frame, Value &out) const override;

  private:
    // Runs the routine in `cells`, which then hold its result at the result slot.
    void Invoke(Frame &frame, std::vector<Value> &cells) const;

    const Routine &routine_;
    std::vector<ExprPtr> arguments_;
};

// A call of a routine bound from C++. An exception the routine throws becomes a run-time error
// with the exception's message.
class NativeCall : public Expr
{
  public:
    NativeCall(const Routine &routine, std::vector<ExprPtr> arguments);

    int64_t Int(Frame &frame) const override;
    double Float(Frame &frame) const override;
    QString Str(Frame &frame) const override;
    void Eval(Frame &frame, Value &out) const override;

  private:
    void Invoke(Frame &frame, Value &result) const;

    const Routine &routine_;
    std::vector<ExprPtr> arguments_;
};

} // namespace Script
