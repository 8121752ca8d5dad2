#pragma once

#include "Expr.h"

#include <vector>

// The compiled statements. Loops check for a stop request at every iteration; break, continue and
// exit travel back as the Flow a statement returns; exceptions as C++ exceptions.
namespace Script
{

class Sequence : public Stmt
{
  public:
    explicit Sequence(std::vector<StmtPtr> statements) : statements_(std::move(statements)) {}
    Flow Exec(Frame &frame) const override;

  private:
    std::vector<StmtPtr> statements_;
};

// A procedure call, or a function call whose result is dropped.
class Evaluate : public Stmt
{
  public:
    explicit Evaluate(ExprPtr expr) : expr_(std::move(expr)) {}
    Flow Exec(Frame &frame) const override;

  private:
    ExprPtr expr_;
};

// target := value, where value already has the target's type. The value is computed before the
// target's cell is looked up; the node stores it as the type keeps it (an int64, a double, a
// string or a whole value), and reaches a variable's cell from its slot directly.
StmtPtr MakeAssignment(ExprPtr target, ExprPtr value);

// s := s + tail, done in place so that building a string piece by piece takes linear time.
class AppendString : public Stmt
{
  public:
    AppendString(ExprPtr target, ExprPtr tail) : target_(std::move(target)), tail_(std::move(tail)) {}
    Flow Exec(Frame &frame) const override;

  private:
    ExprPtr target_, tail_;
};

// s[index] := character, with the index checked.
class AssignStringCharacter : public Stmt
{
  public:
    AssignStringCharacter(ExprPtr text, ExprPtr index, ExprPtr value)
        : text_(std::move(text)), index_(std::move(index)), value_(std::move(value))
    {
    }
    Flow Exec(Frame &frame) const override;

  private:
    ExprPtr text_, index_, value_;
};

class If : public Stmt
{
  public:
    If(ExprPtr condition, StmtPtr then, StmtPtr otherwise)
        : condition_(std::move(condition)), then_(std::move(then)), otherwise_(std::move(otherwise))
    {
    }
    Flow Exec(Frame &frame) const override;

  private:
    ExprPtr condition_;
    StmtPtr then_, otherwise_; // otherwise_ may be null
};

class While : public Stmt
{
  public:
    While(ExprPtr condition, StmtPtr body) : condition_(std::move(condition)), body_(std::move(body)) {}
    Flow Exec(Frame &frame) const override;

  private:
    ExprPtr condition_;
    StmtPtr body_;
};

class Repeat : public Stmt
{
  public:
    Repeat(StmtPtr body, ExprPtr condition) : body_(std::move(body)), condition_(std::move(condition)) {}
    Flow Exec(Frame &frame) const override;

  private:
    StmtPtr body_;
    ExprPtr condition_;
};

enum class ForDirection { Up, Down };

// for variable := first to/downto last do body. The bounds are computed once; the variable takes
// each value in turn, whatever the body did to it.
class For : public Stmt
{
  public:
    For(ExprPtr variable, ExprPtr first, ExprPtr last, ForDirection direction, StmtPtr body)
        : variable_(std::move(variable)), first_(std::move(first)), last_(std::move(last)),
          direction_(direction), body_(std::move(body))
    {
    }
    Flow Exec(Frame &frame) const override;

  private:
    ExprPtr variable_, first_, last_;
    ForDirection direction_;
    StmtPtr body_;
};

class Case : public Stmt
{
  public:
    struct Label {
        int64_t low, high;
        size_t arm;
    };

    Case(ExprPtr selector, std::vector<Label> labels, std::vector<StmtPtr> arms, StmtPtr otherwise)
        : selector_(std::move(selector)), labels_(std::move(labels)), arms_(std::move(arms)),
          otherwise_(std::move(otherwise))
    {
    }
    Flow Exec(Frame &frame) const override;

  private:
    ExprPtr selector_;
    std::vector<Label> labels_;
    std::vector<StmtPtr> arms_;
    StmtPtr otherwise_; // may be null
};

// try body except handler end. A run-time error in the body runs the handler, with the
// exception object in `variable` when the handler names one ("on E: Exception do").
class TryExcept : public Stmt
{
  public:
    TryExcept(StmtPtr body, ExprPtr variable, StmtPtr handler)
        : body_(std::move(body)), variable_(std::move(variable)), handler_(std::move(handler))
    {
    }
    Flow Exec(Frame &frame) const override;

  private:
    StmtPtr body_;
    ExprPtr variable_; // may be null
    StmtPtr handler_;
};

// try body finally cleanup end: the cleanup runs however the body ends, a stop included.
class TryFinally : public Stmt
{
  public:
    TryFinally(StmtPtr body, StmtPtr cleanup) : body_(std::move(body)), cleanup_(std::move(cleanup)) {}
    Flow Exec(Frame &frame) const override;

  private:
    StmtPtr body_, cleanup_;
};

// raise E (an exception object), or, without one, the exception being handled again.
class Raise : public Stmt
{
  public:
    explicit Raise(ExprPtr exception) : exception_(std::move(exception)) {}
    Flow Exec(Frame &frame) const override;

  private:
    ExprPtr exception_; // null for a re-raise
};

// break, continue and exit.
class Jump : public Stmt
{
  public:
    explicit Jump(Flow flow) : flow_(flow) {}
    Flow Exec(Frame &) const override { return flow_; }

  private:
    Flow flow_;
};

} // namespace Script
