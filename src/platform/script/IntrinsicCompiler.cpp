#include "IntrinsicCompiler.h"

#include "CompileError.h"
#include "ExpressionCompiler.h"
#include "IntrinsicNodes.h"
#include "TypeRules.h"
#include "ValueNodes.h"

namespace Script
{

namespace
{

ExprPtr IntegerConstant(const Type *type, int64_t v)
{
    Value value;
    value.i = v;
    return std::make_unique<Constant>(type, value);
}

} // namespace

ExprPtr IntrinsicCompiler::Compile(Intrinsic intrinsic, const std::vector<Syntax::ExprPtr> &args,
                                   SourcePos pos)
{
    switch (intrinsic) {
    case Intrinsic::Length:
        return Length(args, pos);
    case Intrinsic::High:
    case Intrinsic::Low:
        return Bound(intrinsic == Intrinsic::High, args, pos);
    case Intrinsic::Inc:
    case Intrinsic::Dec:
        return Step(intrinsic == Intrinsic::Dec, args, pos);
    case Intrinsic::Ord:
        return Ord(args, pos);
    case Intrinsic::Chr:
        return Chr(args, pos);
    case Intrinsic::Succ:
        return Successor(1, args, pos);
    case Intrinsic::Pred:
        return Successor(-1, args, pos);
    case Intrinsic::Abs:
        return Abs(args, pos);
    case Intrinsic::Sqr:
        return Sqr(args, pos);
    case Intrinsic::Odd:
        return Odd(args, pos);
    case Intrinsic::SetLength:
        return SetLength(args, pos);
    case Intrinsic::Random:
        return Random(args, pos);
    case Intrinsic::Format:
        return Format(args, pos);
    case Intrinsic::Include:
    case Intrinsic::Exclude:
        return SetElement(intrinsic == Intrinsic::Include, args, pos);
    case Intrinsic::ExceptionMessage:
        CheckCount(args, 0, 0, pos);
        return std::make_unique<HandledExceptionMessage>();
    case Intrinsic::Exit:
    case Intrinsic::Break:
    case Intrinsic::Continue:
        break;
    }
    throw CompileError(pos,
                       QStringLiteral("Statement expected: this routine cannot be part of an expression"));
}

void IntrinsicCompiler::CheckCount(const std::vector<Syntax::ExprPtr> &args, size_t least, size_t most,
                                   SourcePos pos)
{
    if (args.size() < least)
        throw CompileError(pos, QStringLiteral("Not enough actual parameters"));
    if (args.size() > most)
        throw CompileError(pos, QStringLiteral("Too many actual parameters"));
}

ExprPtr IntrinsicCompiler::Folded(ExprPtr node, bool constant, SourcePos pos) const
{
    return constant ? ExpressionCompiler::Fold(std::move(node), pos) : std::move(node);
}

// Length(text | array)
ExprPtr IntrinsicCompiler::Length(const std::vector<Syntax::ExprPtr> &args, SourcePos pos)
{
    CheckCount(args, 1, 1, pos);
    const Type *named = expressions_.NamedType(*args[0]);
    if (named && named->kind == TypeKind::Array)
        return IntegerConstant(StandardTypes::Integer(), named->Length());
    ExprPtr operand = expressions_.CompileValue(*args[0]);
    const Type *type = operand->type;
    if (type->kind == TypeKind::Array)
        return IntegerConstant(StandardTypes::Integer(), type->index->Length());
    if (type->kind == TypeKind::Char)
        return IntegerConstant(StandardTypes::Integer(), 1);
    if (type->kind != TypeKind::String)
        throw CompileError(args[0]->pos, QStringLiteral("Length needs a string or an array"));
    const bool constant = operand->IsConstant();
    return Folded(std::make_unique<StringLength>(std::move(operand)), constant, pos);
}

// High(x) and Low(x): x an ordinal type or value, an array type or value, or a string.
ExprPtr IntrinsicCompiler::Bound(bool high, const std::vector<Syntax::ExprPtr> &args, SourcePos pos)
{
    CheckCount(args, 1, 1, pos);
    const Type *type = expressions_.NamedType(*args[0]);
    if (!type) {
        ExprPtr operand = expressions_.CompileValue(*args[0]);
        if (operand->type->kind == TypeKind::String) {
            if (!high)
                return IntegerConstant(StandardTypes::Integer(), 1);
            const bool constant = operand->IsConstant();
            return Folded(std::make_unique<StringLength>(std::move(operand)), constant, pos);
        }
        type = operand->type;
    }
    if (type->kind == TypeKind::Array)
        type = type->index;
    if (!type->IsOrdinal())
        throw CompileError(args[0]->pos, QStringLiteral("Ordinal type, array or string required"));
    return IntegerConstant(type, high ? type->high : type->low);
}

// Inc(place [, amount]) and Dec(place [, amount])
ExprPtr IntrinsicCompiler::Step(bool down, const std::vector<Syntax::ExprPtr> &args, SourcePos pos)
{
    CheckCount(args, 1, 2, pos);
    ExprPtr place = expressions_.CompilePlace(*args[0]);
    if (!place->type->IsOrdinal())
        throw CompileError(args[0]->pos, QStringLiteral("Ordinal type required"));
    ExprPtr amount;
    if (args.size() == 2)
        amount = expressions_.CompileValueOf(*args[1], StandardTypes::Int64());
    return std::make_unique<Script::Step>(std::move(place), std::move(amount), down);
}

// Ord(ordinal): Integer, or Int64 for 64-bit and Cardinal values.
ExprPtr IntrinsicCompiler::Ord(const std::vector<Syntax::ExprPtr> &args, SourcePos pos)
{
    CheckCount(args, 1, 1, pos);
    ExprPtr operand = expressions_.CompileOrdinal(*args[0]);
    if (operand->type->kind == TypeKind::Integer)
        return operand;
    const bool constant = operand->IsConstant();
    return Folded(std::make_unique<OrdinalConversion>(StandardTypes::Integer(), std::move(operand)), constant,
                  pos);
}

// Chr(integer)
ExprPtr IntrinsicCompiler::Chr(const std::vector<Syntax::ExprPtr> &args, SourcePos pos)
{
    CheckCount(args, 1, 1, pos);
    ExprPtr operand = expressions_.CompileValueOf(*args[0], StandardTypes::Int64());
    const bool constant = operand->IsConstant();
    return Folded(std::make_unique<OrdinalConversion>(StandardTypes::Char(), std::move(operand)), constant,
                  pos);
}

// Succ(ordinal) and Pred(ordinal)
ExprPtr IntrinsicCompiler::Successor(int64_t delta, const std::vector<Syntax::ExprPtr> &args, SourcePos pos)
{
    CheckCount(args, 1, 1, pos);
    ExprPtr operand = expressions_.CompileOrdinal(*args[0]);
    const bool constant = operand->IsConstant();
    return Folded(std::make_unique<Script::Successor>(std::move(operand), delta), constant, pos);
}

// Abs(number)
ExprPtr IntrinsicCompiler::Abs(const std::vector<Syntax::ExprPtr> &args, SourcePos pos)
{
    CheckCount(args, 1, 1, pos);
    ExprPtr operand = expressions_.CompileValue(*args[0]);
    const Type *type = operand->type;
    const bool constant = operand->IsConstant();
    if (type->kind == TypeKind::Float)
        return Folded(std::make_unique<FloatAbs>(std::move(operand)), constant, pos);
    if (type->kind != TypeKind::Integer)
        throw CompileError(args[0]->pos, QStringLiteral("Abs needs a number"));
    const Type *result = TypeRules::IntegerResult(type, type);
    return Folded(std::make_unique<IntegerAbs>(result, std::move(operand)), constant, pos);
}

// Sqr(number)
ExprPtr IntrinsicCompiler::Sqr(const std::vector<Syntax::ExprPtr> &args, SourcePos pos)
{
    CheckCount(args, 1, 1, pos);
    ExprPtr operand = expressions_.CompileValue(*args[0]);
    const Type *type = operand->type;
    const bool constant = operand->IsConstant();
    if (type->kind == TypeKind::Float)
        return Folded(std::make_unique<FloatSquare>(std::move(operand)), constant, pos);
    if (type->kind != TypeKind::Integer)
        throw CompileError(args[0]->pos, QStringLiteral("Sqr needs a number"));
    const Type *result = TypeRules::IntegerResult(type, type);
    return Folded(std::make_unique<IntegerSquare>(result, std::move(operand)), constant, pos);
}

// Odd(integer)
ExprPtr IntrinsicCompiler::Odd(const std::vector<Syntax::ExprPtr> &args, SourcePos pos)
{
    CheckCount(args, 1, 1, pos);
    ExprPtr operand = expressions_.CompileValueOf(*args[0], StandardTypes::Int64());
    const bool constant = operand->IsConstant();
    return Folded(std::make_unique<IsOdd>(std::move(operand)), constant, pos);
}

// SetLength(stringPlace, length)
ExprPtr IntrinsicCompiler::SetLength(const std::vector<Syntax::ExprPtr> &args, SourcePos pos)
{
    CheckCount(args, 2, 2, pos);
    ExprPtr place = expressions_.CompilePlace(*args[0]);
    if (place->type->kind != TypeKind::String)
        throw CompileError(args[0]->pos, QStringLiteral("SetLength needs a string variable"));
    ExprPtr length = expressions_.CompileValueOf(*args[1], StandardTypes::Int64());
    return std::make_unique<StringResize>(std::move(place), std::move(length));
}

// Random [ "(" limit ")" ]
ExprPtr IntrinsicCompiler::Random(const std::vector<Syntax::ExprPtr> &args, SourcePos pos)
{
    CheckCount(args, 0, 1, pos);
    ExprPtr limit;
    if (!args.empty())
        limit = expressions_.CompileValueOf(*args[0], StandardTypes::Int64());
    return std::make_unique<RandomNumber>(std::move(limit));
}

// Format(format, "[" [ value { "," value } ] "]")
ExprPtr IntrinsicCompiler::Format(const std::vector<Syntax::ExprPtr> &args, SourcePos pos)
{
    CheckCount(args, 2, 2, pos);
    ExprPtr format = expressions_.CompileValueOf(*args[0], StandardTypes::String());
    if (args[1]->kind != Syntax::ExprKind::SetLiteral)
        throw CompileError(args[1]->pos, QStringLiteral("Format needs its values in brackets: [a, b]"));
    std::vector<ExprPtr> values;
    for (const Syntax::ExprPtr &arg : args[1]->args) {
        ExprPtr value = expressions_.CompileValue(*arg);
        const TypeKind kind = value->type->kind;
        if (kind != TypeKind::Integer && kind != TypeKind::Float && kind != TypeKind::String &&
            kind != TypeKind::Char)
            throw CompileError(
                arg->pos, QStringLiteral("Format cannot show a value of type '%1'").arg(value->type->name));
        values.push_back(std::move(value));
    }
    return std::make_unique<FormatCall>(std::move(format), std::move(values));
}

// Include(setPlace, element) and Exclude(setPlace, element)
ExprPtr IntrinsicCompiler::SetElement(bool include, const std::vector<Syntax::ExprPtr> &args, SourcePos pos)
{
    CheckCount(args, 2, 2, pos);
    ExprPtr place = expressions_.CompilePlace(*args[0]);
    if (place->type->kind != TypeKind::Set)
        throw CompileError(args[0]->pos, QStringLiteral("Set variable required"));
    ExprPtr element = expressions_.CompileValueOf(*args[1], place->type->element);
    return std::make_unique<SetElementChange>(std::move(place), std::move(element), include);
}

} // namespace Script
