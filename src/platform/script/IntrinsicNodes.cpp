#include "IntrinsicNodes.h"

#include "Error.h"
#include "TextFormat.h"

#include <cmath>
#include <random>

namespace Script
{

namespace
{

// Longest string SetLength makes, so that a typing slip cannot take all memory at once.
constexpr int64_t kMaxStringLength = int64_t(1) << 28;

bool RunsScript(std::initializer_list<const Expr *> operands)
{
    for (const Expr *operand : operands)
        if (operand && operand->runsScript)
            return true;
    return false;
}

} // namespace

StringLength::StringLength(ExprPtr text) : Expr(StandardTypes::Integer()), text_(std::move(text))
{
    runsScript = text_->runsScript;
}

int64_t StringLength::Int(Frame &frame) const
{
    if (const Value *cell = text_->Ref(frame))
        return cell->s.size();
    return text_->Str(frame).size();
}

Step::Step(ExprPtr place, ExprPtr amount, bool down)
    : Expr(StandardTypes::Void()), place_(std::move(place)), amount_(std::move(amount)), down_(down)
{
    isCall = true;
    runsScript = true;
}

void Step::Eval(Frame &frame, Value &) const
{
    const int64_t amount = amount_ ? amount_->Int(frame) : 1;
    Value *cell = place_->Ref(frame);
    const uint64_t moved =
        down_ ? uint64_t(cell->i) - uint64_t(amount) : uint64_t(cell->i) + uint64_t(amount);
    cell->i = place_->type->Narrow(int64_t(moved));
}

Successor::Successor(ExprPtr operand, int64_t delta)
    : Expr(operand->type), operand_(std::move(operand)), delta_(delta)
{
    runsScript = operand_->runsScript;
}

int64_t Successor::Int(Frame &frame) const
{
    return type->Narrow(int64_t(uint64_t(operand_->Int(frame)) + uint64_t(delta_)));
}

IntegerAbs::IntegerAbs(const Type *type, ExprPtr operand) : Expr(type), operand_(std::move(operand))
{
    runsScript = operand_->runsScript;
}

int64_t IntegerAbs::Int(Frame &frame) const
{
    const int64_t v = operand_->Int(frame);
    return type->Narrow(v < 0 ? int64_t(0 - uint64_t(v)) : v);
}

FloatAbs::FloatAbs(ExprPtr operand) : Expr(StandardTypes::Double()), operand_(std::move(operand))
{
    runsScript = operand_->runsScript;
}

double FloatAbs::Float(Frame &frame) const
{
    return std::fabs(operand_->Float(frame));
}

IntegerSquare::IntegerSquare(const Type *type, ExprPtr operand) : Expr(type), operand_(std::move(operand))
{
    runsScript = operand_->runsScript;
}

int64_t IntegerSquare::Int(Frame &frame) const
{
    const uint64_t v = uint64_t(operand_->Int(frame));
    return type->Narrow(int64_t(v * v));
}

FloatSquare::FloatSquare(ExprPtr operand) : Expr(StandardTypes::Double()), operand_(std::move(operand))
{
    runsScript = operand_->runsScript;
}

double FloatSquare::Float(Frame &frame) const
{
    const double v = operand_->Float(frame);
    return v * v;
}

IsOdd::IsOdd(ExprPtr operand) : Expr(StandardTypes::Boolean()), operand_(std::move(operand))
{
    runsScript = operand_->runsScript;
}

int64_t IsOdd::Int(Frame &frame) const
{
    return (operand_->Int(frame) & 1) != 0;
}

StringResize::StringResize(ExprPtr place, ExprPtr length)
    : Expr(StandardTypes::Void()), place_(std::move(place)), length_(std::move(length))
{
    isCall = true;
    runsScript = true;
}

void StringResize::Eval(Frame &frame, Value &) const
{
    const int64_t length = length_->Int(frame);
    if (length > kMaxStringLength)
        throw Error(QStringLiteral("String length %1 too large").arg(length));
    place_->Ref(frame)->s.resize(std::max<int64_t>(length, 0), QChar(0));
}

RandomNumber::RandomNumber(ExprPtr limit)
    : Expr(limit ? StandardTypes::Integer() : StandardTypes::Double()), limit_(std::move(limit))
{
    runsScript = RunsScript({limit_.get()});
}

double RandomNumber::Float(Frame &frame) const
{
    return std::uniform_real_distribution<double>(0.0, 1.0)(frame.runtime->random);
}

int64_t RandomNumber::Int(Frame &frame) const
{
    const int64_t limit = limit_->Int(frame);
    if (limit <= 0)
        return 0;
    return std::uniform_int_distribution<int64_t>(0, limit - 1)(frame.runtime->random);
}

FormatCall::FormatCall(ExprPtr format, std::vector<ExprPtr> arguments)
    : Expr(StandardTypes::String()), format_(std::move(format)), arguments_(std::move(arguments))
{
    runsScript = format_->runsScript;
    for (const ExprPtr &argument : arguments_)
        runsScript = runsScript || argument->runsScript;
}

QString FormatCall::Str(Frame &frame) const
{
    const QString format = format_->Str(frame);
    std::vector<FormatArgument> arguments;
    arguments.reserve(arguments_.size());
    for (const ExprPtr &argument : arguments_) {
        FormatArgument a;
        switch (argument->type->kind) {
        case TypeKind::Integer:
            a.kind = FormatArgument::Integer;
            a.integer = argument->Int(frame);
            break;
        case TypeKind::Float:
            a.kind = FormatArgument::Float;
            a.real = argument->Float(frame);
            break;
        case TypeKind::Char:
            a.kind = FormatArgument::Text;
            a.text = QChar(char16_t(argument->Int(frame)));
            break;
        default:
            a.kind = FormatArgument::Text;
            a.text = argument->Str(frame);
            break;
        }
        arguments.push_back(std::move(a));
    }
    return FormatText(format, arguments);
}

SetElementChange::SetElementChange(ExprPtr place, ExprPtr element, bool include)
    : Expr(StandardTypes::Void()), place_(std::move(place)), element_(std::move(element)), include_(include)
{
    isCall = true;
    runsScript = true;
}

void SetElementChange::Eval(Frame &frame, Value &) const
{
    const int64_t e = element_->Int(frame);
    if (e < 0 || e > 255)
        throw Error(QStringLiteral("Set element out of range 0..255"));
    Value *set = place_->Ref(frame);
    if (include_)
        set->AddElement(e);
    else
        set->RemoveElement(e);
}

HandledExceptionMessage::HandledExceptionMessage() : Expr(StandardTypes::String()) {}

QString HandledExceptionMessage::Str(Frame &frame) const
{
    const std::vector<QString> &handling = frame.runtime->handling;
    return handling.empty() ? QString() : handling.back();
}

} // namespace Script
