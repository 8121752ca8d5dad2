#include "OperatorNodes.h"

#include "Error.h"
#include "ValueNodes.h"

#include <functional>

namespace Script
{

namespace
{

// ---- Where integer results wrap ----

struct Signed32 {
    static int64_t Wrap(int64_t v) { return int32_t(uint32_t(uint64_t(v))); }
    static constexpr int kShiftMask = 31;
    static uint64_t Unsigned(int64_t v) { return uint32_t(uint64_t(v)); }
};

struct Unsigned32 {
    static int64_t Wrap(int64_t v) { return uint32_t(uint64_t(v)); }
    static constexpr int kShiftMask = 31;
    static uint64_t Unsigned(int64_t v) { return uint32_t(uint64_t(v)); }
};

struct Signed64 {
    static int64_t Wrap(int64_t v) { return v; }
    static constexpr int kShiftMask = 63;
    static uint64_t Unsigned(int64_t v) { return uint64_t(v); }
};

// ---- Integer operators (two's complement, never undefined behaviour) ----

[[noreturn]] void ThrowDivisionByZero()
{
    throw Error(QStringLiteral("Division by zero"));
}

struct Add {
    template <class W> static int64_t Apply(int64_t a, int64_t b)
    {
        return int64_t(uint64_t(a) + uint64_t(b));
    }
};
struct Subtract {
    template <class W> static int64_t Apply(int64_t a, int64_t b)
    {
        return int64_t(uint64_t(a) - uint64_t(b));
    }
};
struct Multiply {
    template <class W> static int64_t Apply(int64_t a, int64_t b)
    {
        return int64_t(uint64_t(a) * uint64_t(b));
    }
};
struct Quotient {
    template <class W> static int64_t Apply(int64_t a, int64_t b)
    {
        if (b == 0)
            ThrowDivisionByZero();
        return b == -1 ? int64_t(0 - uint64_t(a)) : a / b;
    }
};
struct Remainder {
    template <class W> static int64_t Apply(int64_t a, int64_t b)
    {
        if (b == 0)
            ThrowDivisionByZero();
        return b == -1 ? 0 : a % b;
    }
};
struct BitAnd {
    template <class W> static int64_t Apply(int64_t a, int64_t b) { return a & b; }
};
struct BitOr {
    template <class W> static int64_t Apply(int64_t a, int64_t b) { return a | b; }
};
struct BitXor {
    template <class W> static int64_t Apply(int64_t a, int64_t b) { return a ^ b; }
};
struct ShiftLeft {
    template <class W> static int64_t Apply(int64_t a, int64_t b)
    {
        return int64_t(uint64_t(a) << (b & W::kShiftMask));
    }
};
struct ShiftRight {
    template <class W> static int64_t Apply(int64_t a, int64_t b)
    {
        return int64_t(W::Unsigned(a) >> (b & W::kShiftMask));
    }
};

template <class Op, class W> class IntegerBinary : public Expr
{
  public:
    IntegerBinary(const Type *type, ExprPtr left, ExprPtr right)
        : Expr(type), left_(std::move(left)), right_(std::move(right))
    {
    }
    int64_t Int(Frame &frame) const override
    {
        const int64_t a = left_->Int(frame);
        return W::Wrap(Op::template Apply<W>(a, right_->Int(frame)));
    }

  private:
    ExprPtr left_, right_;
};

// The same with a constant right operand, as in "i mod 10": one child less to ask.
template <class Op, class W> class IntegerBinaryConstant : public Expr
{
  public:
    IntegerBinaryConstant(const Type *type, ExprPtr left, int64_t right)
        : Expr(type), left_(std::move(left)), right_(right)
    {
    }
    int64_t Int(Frame &frame) const override
    {
        return W::Wrap(Op::template Apply<W>(left_->Int(frame), right_));
    }

  private:
    ExprPtr left_;
    int64_t right_;
};

// The value of a constant node.
const Value &ConstantValue(const ExprPtr &node)
{
    return static_cast<const Constant &>(*node).value;
}

template <class W>
ExprPtr MakeIntegerOperationWrapping(TokenKind op, const Type *type, ExprPtr left, ExprPtr right)
{
    auto make = [&](auto opTag) -> ExprPtr {
        using Op = decltype(opTag);
        if (right->IsConstant() && !left->IsConstant())
            return std::make_unique<IntegerBinaryConstant<Op, W>>(type, std::move(left),
                                                                  ConstantValue(right).i);
        return std::make_unique<IntegerBinary<Op, W>>(type, std::move(left), std::move(right));
    };
    switch (op) {
    case TokenKind::Plus:
        return make(Add{});
    case TokenKind::Minus:
        return make(Subtract{});
    case TokenKind::Star:
        return make(Multiply{});
    case TokenKind::Div:
        return make(Quotient{});
    case TokenKind::Mod:
        return make(Remainder{});
    case TokenKind::And:
        return make(BitAnd{});
    case TokenKind::Or:
        return make(BitOr{});
    case TokenKind::Xor:
        return make(BitXor{});
    case TokenKind::Shl:
        return make(ShiftLeft{});
    case TokenKind::Shr:
        return make(ShiftRight{});
    default:
        return nullptr;
    }
}

// ---- Floating point ----

template <class Op> class FloatBinary : public Expr
{
  public:
    FloatBinary(ExprPtr left, ExprPtr right)
        : Expr(StandardTypes::Double()), left_(std::move(left)), right_(std::move(right))
    {
    }
    double Float(Frame &frame) const override
    {
        const double a = left_->Float(frame);
        return Op()(a, right_->Float(frame));
    }

  private:
    ExprPtr left_, right_;
};

template <class Op> class FloatBinaryConstant : public Expr
{
  public:
    FloatBinaryConstant(ExprPtr left, double right)
        : Expr(StandardTypes::Double()), left_(std::move(left)), right_(right)
    {
    }
    double Float(Frame &frame) const override { return Op()(left_->Float(frame), right_); }

  private:
    ExprPtr left_;
    double right_;
};

template <class Op> ExprPtr MakeFloatBinary(ExprPtr left, ExprPtr right)
{
    if (right->IsConstant() && !left->IsConstant())
        return std::make_unique<FloatBinaryConstant<Op>>(std::move(left), ConstantValue(right).d);
    return std::make_unique<FloatBinary<Op>>(std::move(left), std::move(right));
}

struct FloatDivide {
    double operator()(double a, double b) const
    {
        if (b == 0)
            ThrowDivisionByZero();
        return a / b;
    }
};

// ---- Comparisons ----

template <class Cmp> class OrdinalCompare : public Expr
{
  public:
    OrdinalCompare(ExprPtr left, ExprPtr right)
        : Expr(StandardTypes::Boolean()), left_(std::move(left)), right_(std::move(right))
    {
    }
    int64_t Int(Frame &frame) const override
    {
        const int64_t a = left_->Int(frame);
        return Cmp()(a, right_->Int(frame));
    }

  private:
    ExprPtr left_, right_;
};

template <class Cmp> class OrdinalCompareConstant : public Expr
{
  public:
    OrdinalCompareConstant(ExprPtr left, int64_t right)
        : Expr(StandardTypes::Boolean()), left_(std::move(left)), right_(right)
    {
    }
    int64_t Int(Frame &frame) const override { return Cmp()(left_->Int(frame), right_); }

  private:
    ExprPtr left_;
    int64_t right_;
};

// An ordinal comparison, with the constant right operand kept in the node when there is one.
template <class Cmp> struct OrdinalComparison {
    static ExprPtr Make(ExprPtr left, ExprPtr right)
    {
        if (right->IsConstant() && !left->IsConstant())
            return std::make_unique<OrdinalCompareConstant<Cmp>>(std::move(left), ConstantValue(right).i);
        return std::make_unique<OrdinalCompare<Cmp>>(std::move(left), std::move(right));
    }
};

template <class Cmp> class FloatCompare : public Expr
{
  public:
    FloatCompare(ExprPtr left, ExprPtr right)
        : Expr(StandardTypes::Boolean()), left_(std::move(left)), right_(std::move(right))
    {
    }
    int64_t Int(Frame &frame) const override
    {
        const double a = left_->Float(frame);
        return Cmp()(a, right_->Float(frame));
    }

  private:
    ExprPtr left_, right_;
};

template <class Cmp> class StringCompare : public Expr
{
  public:
    StringCompare(ExprPtr left, ExprPtr right)
        : Expr(StandardTypes::Boolean()), left_(std::move(left)), right_(std::move(right))
    {
    }
    int64_t Int(Frame &frame) const override
    {
        const QString a = left_->Str(frame);
        return Cmp()(a.compare(right_->Str(frame)), 0);
    }

  private:
    ExprPtr left_, right_;
};

class SetCompare : public Expr
{
  public:
    SetCompare(TokenKind op, ExprPtr left, ExprPtr right)
        : Expr(StandardTypes::Boolean()), op_(op), left_(std::move(left)), right_(std::move(right))
    {
    }
    int64_t Int(Frame &frame) const override
    {
        Value a, b;
        left_->Eval(frame, a);
        right_->Eval(frame, b);
        bool equal = true, subset = true, superset = true;
        for (int w = 0; w < 4; ++w) {
            equal = equal && a.bits[w] == b.bits[w];
            subset = subset && (a.bits[w] & ~b.bits[w]) == 0;
            superset = superset && (b.bits[w] & ~a.bits[w]) == 0;
        }
        switch (op_) {
        case TokenKind::Equal:
            return equal;
        case TokenKind::NotEqual:
            return !equal;
        case TokenKind::LessEqual:
            return subset;
        default:
            return superset;
        }
    }

  private:
    TokenKind op_;
    ExprPtr left_, right_;
};

// A comparison node for `op`: `make` receives the comparison function object of type Compared.
template <class Compared, class Make> ExprPtr MakeTypedComparison(TokenKind op, Make make)
{
    switch (op) {
    case TokenKind::Equal:
        return make(std::equal_to<Compared>());
    case TokenKind::NotEqual:
        return make(std::not_equal_to<Compared>());
    case TokenKind::Less:
        return make(std::less<Compared>());
    case TokenKind::LessEqual:
        return make(std::less_equal<Compared>());
    case TokenKind::Greater:
        return make(std::greater<Compared>());
    case TokenKind::GreaterEqual:
        return make(std::greater_equal<Compared>());
    default:
        return nullptr;
    }
}

ExprPtr MakeOrdinalComparison(TokenKind op, ExprPtr left, ExprPtr right)
{
    return MakeTypedComparison<int64_t>(op, [&](auto cmp) {
        return OrdinalComparison<decltype(cmp)>::Make(std::move(left), std::move(right));
    });
}

// ---- Boolean logic ----

class LogicalAnd : public Expr
{
  public:
    LogicalAnd(ExprPtr left, ExprPtr right)
        : Expr(StandardTypes::Boolean()), left_(std::move(left)), right_(std::move(right))
    {
    }
    int64_t Int(Frame &frame) const override { return left_->Int(frame) && right_->Int(frame); }

  private:
    ExprPtr left_, right_;
};

class LogicalOr : public Expr
{
  public:
    LogicalOr(ExprPtr left, ExprPtr right)
        : Expr(StandardTypes::Boolean()), left_(std::move(left)), right_(std::move(right))
    {
    }
    int64_t Int(Frame &frame) const override { return left_->Int(frame) || right_->Int(frame); }

  private:
    ExprPtr left_, right_;
};

class LogicalNot : public Expr
{
  public:
    explicit LogicalNot(ExprPtr operand) : Expr(StandardTypes::Boolean()), operand_(std::move(operand)) {}
    int64_t Int(Frame &frame) const override { return !operand_->Int(frame); }

  private:
    ExprPtr operand_;
};

class BitwiseNot : public Expr
{
  public:
    explicit BitwiseNot(ExprPtr operand) : Expr(operand->type), operand_(std::move(operand)) {}
    int64_t Int(Frame &frame) const override { return type->Narrow(~operand_->Int(frame)); }

  private:
    ExprPtr operand_;
};

template <class W> class IntegerNegation : public Expr
{
  public:
    IntegerNegation(const Type *type, ExprPtr operand) : Expr(type), operand_(std::move(operand)) {}
    int64_t Int(Frame &frame) const override { return W::Wrap(int64_t(0 - uint64_t(operand_->Int(frame)))); }

  private:
    ExprPtr operand_;
};

class FloatNegation : public Expr
{
  public:
    explicit FloatNegation(ExprPtr operand) : Expr(StandardTypes::Double()), operand_(std::move(operand)) {}
    double Float(Frame &frame) const override { return -operand_->Float(frame); }

  private:
    ExprPtr operand_;
};

// ---- Strings and sets ----

class Concatenation : public Expr
{
  public:
    Concatenation(ExprPtr left, ExprPtr right)
        : Expr(StandardTypes::String()), left_(std::move(left)), right_(std::move(right))
    {
    }
    QString Str(Frame &frame) const override
    {
        QString text = left_->Str(frame);
        text += right_->Str(frame);
        return text;
    }

  private:
    ExprPtr left_, right_;
};

class SetOperation : public Expr
{
  public:
    SetOperation(TokenKind op, const Type *type, ExprPtr left, ExprPtr right)
        : Expr(type), op_(op), left_(std::move(left)), right_(std::move(right))
    {
    }
    void Eval(Frame &frame, Value &out) const override
    {
        Value b;
        left_->Eval(frame, out);
        right_->Eval(frame, b);
        for (int w = 0; w < 4; ++w) {
            if (op_ == TokenKind::Plus)
                out.bits[w] |= b.bits[w];
            else if (op_ == TokenKind::Minus)
                out.bits[w] &= ~b.bits[w];
            else
                out.bits[w] &= b.bits[w];
        }
    }

  private:
    TokenKind op_;
    ExprPtr left_, right_;
};

class Membership : public Expr
{
  public:
    Membership(ExprPtr element, ExprPtr set)
        : Expr(StandardTypes::Boolean()), element_(std::move(element)), set_(std::move(set))
    {
    }
    int64_t Int(Frame &frame) const override
    {
        const int64_t e = element_->Int(frame);
        Value set;
        set_->Eval(frame, set);
        return set.HasElement(e);
    }

  private:
    ExprPtr element_, set_;
};

// Propagates the "may run script routines" mark of the operands to the node made of them.
ExprPtr Marked(ExprPtr node, bool runsScript)
{
    if (node)
        node->runsScript = runsScript;
    return node;
}

} // namespace

ExprPtr MakeIntegerOperation(TokenKind op, const Type *resultType, ExprPtr left, ExprPtr right)
{
    const bool runs = left->runsScript || right->runsScript;
    if (resultType->bits == 64)
        return Marked(
            MakeIntegerOperationWrapping<Signed64>(op, resultType, std::move(left), std::move(right)), runs);
    if (!resultType->isSigned)
        return Marked(
            MakeIntegerOperationWrapping<Unsigned32>(op, resultType, std::move(left), std::move(right)),
            runs);
    return Marked(MakeIntegerOperationWrapping<Signed32>(op, resultType, std::move(left), std::move(right)),
                  runs);
}

ExprPtr MakeFloatOperation(TokenKind op, ExprPtr left, ExprPtr right)
{
    const bool runs = left->runsScript || right->runsScript;
    switch (op) {
    case TokenKind::Plus:
        return Marked(MakeFloatBinary<std::plus<double>>(std::move(left), std::move(right)), runs);
    case TokenKind::Minus:
        return Marked(MakeFloatBinary<std::minus<double>>(std::move(left), std::move(right)), runs);
    case TokenKind::Star:
        return Marked(MakeFloatBinary<std::multiplies<double>>(std::move(left), std::move(right)), runs);
    case TokenKind::Slash:
        return Marked(MakeFloatBinary<FloatDivide>(std::move(left), std::move(right)), runs);
    default:
        return nullptr;
    }
}

ExprPtr MakeComparison(TokenKind op, Comparison comparison, ExprPtr left, ExprPtr right)
{
    const bool runs = left->runsScript || right->runsScript;
    switch (comparison) {
    case Comparison::Ordinal:
        return Marked(MakeOrdinalComparison(op, std::move(left), std::move(right)), runs);
    case Comparison::Float:
        return Marked(MakeTypedComparison<double>(op,
                                                  [&](auto cmp) -> ExprPtr {
                                                      return std::make_unique<FloatCompare<decltype(cmp)>>(
                                                          std::move(left), std::move(right));
                                                  }),
                      runs);
    case Comparison::String:
        return Marked(MakeTypedComparison<int>(op,
                                               [&](auto cmp) -> ExprPtr {
                                                   return std::make_unique<StringCompare<decltype(cmp)>>(
                                                       std::move(left), std::move(right));
                                               }),
                      runs);
    case Comparison::Set:
        if (op == TokenKind::Less || op == TokenKind::Greater)
            return nullptr;
        return Marked(std::make_unique<SetCompare>(op, std::move(left), std::move(right)), runs);
    }
    return nullptr;
}

ExprPtr MakeLogical(TokenKind op, ExprPtr left, ExprPtr right)
{
    const bool runs = left->runsScript || right->runsScript;
    switch (op) {
    case TokenKind::And:
        return Marked(std::make_unique<LogicalAnd>(std::move(left), std::move(right)), runs);
    case TokenKind::Or:
        return Marked(std::make_unique<LogicalOr>(std::move(left), std::move(right)), runs);
    case TokenKind::Xor:
        return Marked(MakeOrdinalComparison(TokenKind::NotEqual, std::move(left), std::move(right)), runs);
    default:
        return nullptr;
    }
}

ExprPtr MakeNegation(const Type *resultType, ExprPtr operand)
{
    const bool runs = operand->runsScript;
    if (resultType->kind == TypeKind::Float)
        return Marked(std::make_unique<FloatNegation>(std::move(operand)), runs);
    if (resultType->bits == 64)
        return Marked(std::make_unique<IntegerNegation<Signed64>>(resultType, std::move(operand)), runs);
    return Marked(std::make_unique<IntegerNegation<Signed32>>(resultType, std::move(operand)), runs);
}

ExprPtr MakeNot(ExprPtr operand)
{
    const bool runs = operand->runsScript;
    if (operand->type->kind == TypeKind::Boolean)
        return Marked(std::make_unique<LogicalNot>(std::move(operand)), runs);
    return Marked(std::make_unique<BitwiseNot>(std::move(operand)), runs);
}

ExprPtr MakeConcatenation(ExprPtr left, ExprPtr right)
{
    const bool runs = left->runsScript || right->runsScript;
    return Marked(std::make_unique<Concatenation>(std::move(left), std::move(right)), runs);
}

ExprPtr MakeSetOperation(TokenKind op, const Type *setType, ExprPtr left, ExprPtr right)
{
    const bool runs = left->runsScript || right->runsScript;
    return Marked(std::make_unique<SetOperation>(op, setType, std::move(left), std::move(right)), runs);
}

ExprPtr MakeMembership(ExprPtr element, ExprPtr set)
{
    const bool runs = element->runsScript || set->runsScript;
    return Marked(std::make_unique<Membership>(std::move(element), std::move(set)), runs);
}

SetConstructor::SetConstructor(const Type *type, std::vector<Element> elements)
    : Expr(type), elements_(std::move(elements))
{
    for (const Element &element : elements_)
        runsScript = runsScript || element.low->runsScript || (element.high && element.high->runsScript);
}

void SetConstructor::Eval(Frame &frame, Value &out) const
{
    out = Value();
    for (const Element &element : elements_) {
        const int64_t low = element.low->Int(frame);
        const int64_t high = element.high ? element.high->Int(frame) : low;
        if (low > high)
            continue;
        if (low < 0 || high > 255)
            throw Error(QStringLiteral("Set element out of range 0..255"));
        for (int64_t e = low; e <= high; ++e)
            out.AddElement(e);
    }
}

} // namespace Script
