#include "ExpressionCompiler.h"

#include "CallNodes.h"
#include "CompileError.h"
#include "Error.h"
#include "IntrinsicCompiler.h"
#include "OperatorNodes.h"
#include "TypeRules.h"
#include "ValueNodes.h"

#include <limits>

namespace Script
{

using Syntax::ExprKind;

namespace
{

const std::vector<Syntax::ExprPtr> kNoArguments;

bool IsComparison(TokenKind op)
{
    switch (op) {
    case TokenKind::Equal:
    case TokenKind::NotEqual:
    case TokenKind::Less:
    case TokenKind::LessEqual:
    case TokenKind::Greater:
    case TokenKind::GreaterEqual:
        return true;
    default:
        return false;
    }
}

bool IsSetLike(const Type *type)
{
    return type->kind == TypeKind::Set || type->kind == TypeKind::EmptySet;
}

} // namespace

ExpressionCompiler::ExpressionCompiler(CompileContext &context)
    : context_(context), intrinsics_(std::make_unique<IntrinsicCompiler>(*this))
{
}

ExpressionCompiler::~ExpressionCompiler() = default;

// ---- Entry points ----

ExprPtr ExpressionCompiler::CompileValue(const Syntax::Expr &expr)
{
    ExprPtr node = CompileAny(expr);
    if (node->type->kind == TypeKind::Void)
        throw CompileError(expr.pos, QStringLiteral("A procedure call has no value"));
    return node;
}

ExprPtr ExpressionCompiler::CompileValueOf(const Syntax::Expr &expr, const Type *type)
{
    return Convert(CompileValue(expr), type, expr.pos);
}

ExprPtr ExpressionCompiler::CompileCondition(const Syntax::Expr &expr)
{
    return CompileValueOf(expr, StandardTypes::Boolean());
}

ExprPtr ExpressionCompiler::CompileOrdinal(const Syntax::Expr &expr)
{
    ExprPtr node = CompileValue(expr);
    if (!node->type->IsOrdinal())
        throw CompileError(expr.pos, QStringLiteral("Ordinal type required"));
    return node;
}

ExprPtr ExpressionCompiler::CompileCallStatement(const Syntax::Expr &expr)
{
    ExprPtr node = CompileAny(expr);
    if (!node->isCall)
        throw CompileError(expr.pos, QStringLiteral("Statement expected, but expression found"));
    return node;
}

std::pair<Value, const Type *> ExpressionCompiler::CompileConstant(const Syntax::Expr &expr, const Type *type)
{
    ExprPtr node = CompileValue(expr);
    if (type)
        node = Convert(std::move(node), type, expr.pos);
    if (!node->IsConstant())
        throw CompileError(expr.pos, QStringLiteral("Constant expression expected"));
    return {static_cast<const Constant &>(*node).value, node->type};
}

ExprPtr ExpressionCompiler::CompilePlace(const Syntax::Expr &expr)
{
    switch (expr.kind) {
    case ExprKind::Name: {
        Symbol &symbol = Lookup(expr.name);
        if (symbol.kind == SymbolKind::Variable) {
            if (symbol.readOnly)
                throw CompileError(expr.pos, QStringLiteral("Cannot assign to '%1'").arg(expr.name.text));
            symbol.used = true;
            return context_.VariableNode(symbol);
        }
        const Routine *routine = context_.routine;
        if (symbol.kind == SymbolKind::Routine && symbol.routine == routine && routine->IsFunction())
            return std::make_unique<LocalVariable>(routine->result, routine->resultSlot);
        break;
    }
    case ExprKind::Field:
    case ExprKind::Index: {
        ExprPtr node = expr.kind == ExprKind::Field ? CompileField(expr) : CompileIndex(expr);
        if (node->isPlace) {
            CompilePlace(*expr.left); // the whole must be assignable too
            return node;
        }
        break;
    }
    default:
        break;
    }
    throw CompileError(expr.pos, QStringLiteral("Variable required"));
}

// ---- Conversions and folding ----

ExprPtr ExpressionCompiler::Convert(ExprPtr expr, const Type *type, SourcePos pos) const
{
    const Type *from = expr->type;
    if (!TypeRules::IsConvertible(from, type))
        throw CompileError(pos,
                           QStringLiteral("Incompatible types: '%1' and '%2'").arg(type->name, from->name));
    if (from == type)
        return expr;
    const bool constant = expr->IsConstant();
    auto folded = [&](ExprPtr node) { return constant ? Fold(std::move(node), pos) : std::move(node); };
    switch (type->kind) {
    case TypeKind::Integer:
        if (TypeRules::Fits(from, type))
            return expr;
        return folded(std::make_unique<OrdinalConversion>(type, std::move(expr)));
    case TypeKind::Float:
        if (from->kind == TypeKind::Integer)
            return folded(std::make_unique<IntegerToFloat>(std::move(expr)));
        return expr;
    case TypeKind::String:
        if (from->kind == TypeKind::Char)
            return folded(std::make_unique<CharToString>(std::move(expr)));
        return expr;
    case TypeKind::Set:
        if (from->kind == TypeKind::EmptySet)
            return std::make_unique<Constant>(type, Value());
        return expr;
    default:
        return expr;
    }
}

ExprPtr ExpressionCompiler::Fold(ExprPtr expr, SourcePos pos)
{
    if (expr->IsConstant())
        return expr;
    Frame none{nullptr, nullptr, nullptr};
    Value value;
    try {
        expr->Eval(none, value);
    } catch (const Error &error) {
        throw CompileError(pos, error.message);
    }
    return std::make_unique<Constant>(expr->type, std::move(value));
}

// ---- Names ----

Symbol &ExpressionCompiler::Lookup(const Syntax::Name &name) const
{
    Symbol *symbol = context_.scope->Find(name.key);
    if (!symbol)
        throw CompileError(name.pos, QStringLiteral("Unknown identifier '%1'").arg(name.text));
    return *symbol;
}

const Symbol &ExpressionCompiler::LookupCallee(const Syntax::Name &name, size_t count) const
{
    const Symbol *symbol = &Lookup(name);
    while (symbol->hidden && symbol->kind == SymbolKind::Routine && symbol->routine->params.size() != count)
        symbol = symbol->hidden;
    return *symbol;
}

const Type *ExpressionCompiler::NamedType(const Syntax::Expr &expr) const
{
    if (expr.kind != ExprKind::Name)
        return nullptr;
    const Symbol *symbol = context_.scope->Find(expr.name.key);
    return symbol && symbol->kind == SymbolKind::Type ? symbol->type : nullptr;
}

ExprPtr ExpressionCompiler::CompileAny(const Syntax::Expr &expr)
{
    switch (expr.kind) {
    case ExprKind::Integer:
    case ExprKind::Real:
    case ExprKind::String:
        return CompileLiteral(expr);
    case ExprKind::Nil:
        throw CompileError(expr.pos, QStringLiteral("'nil' is not supported: scripts have no pointers"));
    case ExprKind::Name:
        return CompileName(expr);
    case ExprKind::Call:
        return CompileCall(expr);
    case ExprKind::Field:
        return CompileField(expr);
    case ExprKind::Index:
        return CompileIndex(expr);
    case ExprKind::SetLiteral:
        return CompileSetLiteral(expr);
    case ExprKind::Unary:
        return CompileUnary(expr);
    case ExprKind::Binary:
        return CompileBinary(expr);
    }
    throw CompileError(expr.pos, QStringLiteral("Expression expected"));
}

ExprPtr ExpressionCompiler::CompileLiteral(const Syntax::Expr &expr) const
{
    Value value;
    switch (expr.kind) {
    case ExprKind::Integer: {
        value.i = expr.integer;
        const bool small = expr.integer >= std::numeric_limits<int32_t>::min() &&
                           expr.integer <= std::numeric_limits<int32_t>::max();
        return std::make_unique<Constant>(small ? StandardTypes::Integer() : StandardTypes::Int64(), value);
    }
    case ExprKind::Real:
        value.d = expr.real;
        return std::make_unique<Constant>(StandardTypes::Double(), value);
    default:
        if (expr.text.size() == 1) {
            value.i = expr.text[0].unicode();
            return std::make_unique<Constant>(StandardTypes::Char(), value);
        }
        value.s = expr.text;
        return std::make_unique<Constant>(StandardTypes::String(), value);
    }
}

ExprPtr ExpressionCompiler::CompileName(const Syntax::Expr &expr)
{
    Symbol &symbol = Lookup(expr.name);
    if (symbol.kind == SymbolKind::Routine || symbol.kind == SymbolKind::Intrinsic) {
        const Symbol &callee = LookupCallee(expr.name, 0);
        if (callee.kind == SymbolKind::Routine)
            return CallRoutine(*callee.routine, kNoArguments, expr.pos);
        return intrinsics_->Compile(callee.intrinsic, kNoArguments, expr.pos);
    }
    switch (symbol.kind) {
    case SymbolKind::Constant:
        return std::make_unique<Constant>(symbol.type, symbol.value);
    case SymbolKind::Variable:
        symbol.used = true;
        return context_.VariableNode(symbol);
    default:
        break;
    }
    throw CompileError(expr.pos, QStringLiteral("'%1' is a type, not a value").arg(expr.name.text));
}

// ---- Calls ----

// call = designator "(" [ arguments ] ")"
ExprPtr ExpressionCompiler::CompileCall(const Syntax::Expr &expr)
{
    const Syntax::Expr &callee = *expr.left;
    if (callee.kind == ExprKind::Name) {
        const Symbol &symbol = LookupCallee(callee.name, expr.args.size());
        switch (symbol.kind) {
        case SymbolKind::Routine:
            return CallRoutine(*symbol.routine, expr.args, callee.pos);
        case SymbolKind::Intrinsic:
            return intrinsics_->Compile(symbol.intrinsic, expr.args, callee.pos);
        case SymbolKind::Type:
            return CompileTypecast(symbol.type, expr);
        default:
            break;
        }
    } else if (callee.kind == ExprKind::Field && NamedType(*callee.left) &&
               NamedType(*callee.left)->kind == TypeKind::Exception) {
        return CompileExceptionConstructor(expr);
    }
    throw CompileError(callee.pos, QStringLiteral("Routine expected"));
}

ExprPtr ExpressionCompiler::CallRoutine(const Routine &routine, const std::vector<Syntax::ExprPtr> &args,
                                        SourcePos pos)
{
    if (args.size() < routine.params.size())
        throw CompileError(pos, QStringLiteral("Not enough actual parameters for '%1'").arg(routine.name));
    if (args.size() > routine.params.size())
        throw CompileError(pos, QStringLiteral("Too many actual parameters for '%1'").arg(routine.name));
    std::vector<ExprPtr> arguments;
    for (size_t i = 0; i < args.size(); ++i) {
        const Parameter &param = routine.params[i];
        if (!param.ByReference()) {
            arguments.push_back(CompileValueOf(*args[i], param.type));
            continue;
        }
        ExprPtr place = CompilePlace(*args[i]);
        if (!TypeRules::IsReferenceCompatible(param.type, place->type))
            throw CompileError(args[i]->pos,
                               QStringLiteral("Types of actual and formal var parameters must be "
                                              "identical: '%1' and '%2'")
                                   .arg(param.type->name, place->type->name));
        arguments.push_back(std::move(place));
    }
    if (routine.native)
        return std::make_unique<NativeCall>(routine, std::move(arguments));
    return std::make_unique<ScriptCall>(routine, std::move(arguments));
}

// typecast = ordinalType "(" ordinal ")" | stringType "(" text ")"
ExprPtr ExpressionCompiler::CompileTypecast(const Type *type, const Syntax::Expr &call)
{
    if (call.args.size() != 1)
        throw CompileError(call.pos, QStringLiteral("A typecast takes one value"));
    ExprPtr operand = CompileValue(*call.args[0]);
    if (type->IsOrdinal() && operand->type->IsOrdinal()) {
        const bool constant = operand->IsConstant();
        ExprPtr node = std::make_unique<OrdinalConversion>(type, std::move(operand));
        return constant ? Fold(std::move(node), call.pos) : std::move(node);
    }
    if (type->kind == TypeKind::Float && operand->type->IsNumeric())
        return Convert(std::move(operand), type, call.pos);
    if (type->kind == TypeKind::String && operand->type->IsTextual())
        return Convert(std::move(operand), type, call.pos);
    throw CompileError(
        call.pos, QStringLiteral("Invalid typecast from '%1' to '%2'").arg(operand->type->name, type->name));
}

// exceptionConstructor = "Exception" "." ( "Create" "(" message ")" | "CreateFmt" "(" format "," "[" args "]"
// ")" )
ExprPtr ExpressionCompiler::CompileExceptionConstructor(const Syntax::Expr &call)
{
    const Syntax::Name &method = call.left->name;
    ExprPtr message;
    if (method.key == QLatin1String("create")) {
        if (call.args.size() != 1)
            throw CompileError(method.pos, QStringLiteral("Exception.Create takes one message"));
        message = CompileValueOf(*call.args[0], StandardTypes::String());
    } else if (method.key == QLatin1String("createfmt")) {
        message = intrinsics_->Compile(Intrinsic::Format, call.args, method.pos);
    } else {
        throw CompileError(method.pos, QStringLiteral("Unknown constructor 'Exception.%1'").arg(method.text));
    }
    return std::make_unique<MessageText>(StandardTypes::Exception(), std::move(message));
}

// ---- Fields, elements, sets ----

// field = designator "." ident
ExprPtr ExpressionCompiler::CompileField(const Syntax::Expr &expr)
{
    ExprPtr whole = CompileValue(*expr.left);
    const Type *type = whole->type;
    if (type->kind == TypeKind::Exception && expr.name.key == QLatin1String("message"))
        return std::make_unique<MessageText>(StandardTypes::String(), std::move(whole));
    if (type->kind != TypeKind::Record)
        throw CompileError(expr.pos, QStringLiteral("'%1' has no fields").arg(type->name));
    const int index = type->FieldIndex(expr.name.key);
    if (index < 0)
        throw CompileError(expr.name.pos, QStringLiteral("Unknown field '%1'").arg(expr.name.text));
    const Type *fieldType = type->fields[size_t(index)].type;
    if (whole->isPlace)
        return std::make_unique<FieldPlace>(fieldType, std::move(whole), index);
    return std::make_unique<PartOfValue>(fieldType, std::move(whole), index);
}

// element = designator "[" expression { "," expression } "]"
ExprPtr ExpressionCompiler::CompileIndex(const Syntax::Expr &expr)
{
    ExprPtr node = CompileValue(*expr.left);
    for (const Syntax::ExprPtr &arg : expr.args) {
        const Type *type = node->type;
        if (type->kind == TypeKind::String) {
            ExprPtr index = CompileValueOf(*arg, StandardTypes::Int64());
            node = std::make_unique<StringCharacter>(std::move(node), std::move(index));
        } else if (type->kind == TypeKind::Array) {
            ExprPtr index = CompileValueOf(*arg, type->index);
            if (node->isPlace)
                node = std::make_unique<ElementPlace>(type->element, std::move(node), std::move(index));
            else
                node = std::make_unique<PartOfValue>(type->element, std::move(node), std::move(index));
        } else {
            throw CompileError(arg->pos, QStringLiteral("'%1' is no array or string").arg(type->name));
        }
    }
    return node;
}

// setLiteral = "[" [ element { "," element } ] "]"   element = ordinal [ ".." ordinal ]
ExprPtr ExpressionCompiler::CompileSetLiteral(const Syntax::Expr &expr)
{
    if (expr.args.empty())
        return std::make_unique<Constant>(StandardTypes::EmptySet(), Value());
    std::vector<SetConstructor::Element> elements;
    const Type *family = nullptr;
    bool constant = true;
    for (const Syntax::ExprPtr &arg : expr.args) {
        const bool range = arg->kind == ExprKind::Binary && arg->op == TokenKind::DotDot;
        SetConstructor::Element element;
        element.low = CompileOrdinal(range ? *arg->left : *arg);
        if (range)
            element.high = CompileOrdinal(*arg->right);
        if (!family)
            family = element.low->type;
        for (const Expr *bound : {element.low.get(), element.high.get()}) {
            if (!bound)
                continue;
            if (!TypeRules::SameOrdinalFamily(bound->type, family))
                throw CompileError(
                    arg->pos,
                    QStringLiteral("Incompatible types: '%1' and '%2'").arg(family->name, bound->type->name));
            constant = constant && bound->IsConstant();
        }
        elements.push_back(std::move(element));
    }
    auto node = std::make_unique<SetConstructor>(context_.SetTypeOf(family), std::move(elements));
    return constant ? Fold(std::move(node), expr.pos) : std::move(node);
}

// ---- Operators ----

ExprPtr ExpressionCompiler::CompileUnary(const Syntax::Expr &expr)
{
    ExprPtr operand = CompileValue(*expr.left);
    const Type *type = operand->type;
    const bool constant = operand->IsConstant();
    ExprPtr node;
    if (expr.op == TokenKind::Not) {
        if (type->kind != TypeKind::Boolean && type->kind != TypeKind::Integer)
            NotApplicable(expr.op, type, type, expr.pos);
        node = MakeNot(std::move(operand));
    } else {
        if (!type->IsNumeric())
            NotApplicable(expr.op, type, type, expr.pos);
        if (expr.op == TokenKind::Plus)
            return operand;
        const Type *result = type->kind == TypeKind::Float ? type : TypeRules::IntegerResult(type, type);
        if (type->kind == TypeKind::Integer && !type->isSigned && type->bits == 32)
            result = StandardTypes::Int64();
        node = MakeNegation(result, std::move(operand));
    }
    return constant ? Fold(std::move(node), expr.pos) : std::move(node);
}

ExprPtr ExpressionCompiler::CompileBinary(const Syntax::Expr &expr)
{
    if (expr.op == TokenKind::DotDot)
        throw CompileError(expr.pos, QStringLiteral("A range is only allowed in a set or a case label"));
    ExprPtr left = CompileValue(*expr.left);
    ExprPtr right = CompileValue(*expr.right);
    const bool constant = left->IsConstant() && right->IsConstant();
    ExprPtr node;
    if (expr.op == TokenKind::In)
        node = Member(std::move(left), std::move(right), expr.pos);
    else if (IsComparison(expr.op))
        node = Compare(expr.op, std::move(left), std::move(right), expr.pos);
    else if (expr.op == TokenKind::And || expr.op == TokenKind::Or || expr.op == TokenKind::Xor)
        node = Logic(expr.op, std::move(left), std::move(right), expr.pos);
    else
        node = Arithmetic(expr.op, std::move(left), std::move(right), expr.pos);
    return constant ? Fold(std::move(node), expr.pos) : std::move(node);
}

// + - * / div mod shl shr on numbers; + on text; + - * on sets.
ExprPtr ExpressionCompiler::Arithmetic(TokenKind op, ExprPtr left, ExprPtr right, SourcePos pos)
{
    const Type *a = left->type;
    const Type *b = right->type;
    if (op == TokenKind::Plus && a->IsTextual() && b->IsTextual()) {
        left = Convert(std::move(left), StandardTypes::String(), pos);
        right = Convert(std::move(right), StandardTypes::String(), pos);
        return MakeConcatenation(std::move(left), std::move(right));
    }
    if (IsSetLike(a) && IsSetLike(b) &&
        (op == TokenKind::Plus || op == TokenKind::Minus || op == TokenKind::Star)) {
        const Type *setType = a->kind == TypeKind::Set ? a : b;
        if (setType->kind == TypeKind::EmptySet)
            return std::make_unique<Constant>(setType, Value());
        left = Convert(std::move(left), setType, pos);
        right = Convert(std::move(right), setType, pos);
        return MakeSetOperation(op, setType, std::move(left), std::move(right));
    }
    if (!a->IsNumeric() || !b->IsNumeric())
        NotApplicable(op, a, b, pos);
    const bool integers = a->kind == TypeKind::Integer && b->kind == TypeKind::Integer;
    if (integers && op != TokenKind::Slash)
        return MakeIntegerOperation(op, TypeRules::IntegerResult(a, b), std::move(left), std::move(right));
    if (op == TokenKind::Div || op == TokenKind::Mod || op == TokenKind::Shl || op == TokenKind::Shr)
        NotApplicable(op, a, b, pos);
    left = Convert(std::move(left), StandardTypes::Double(), pos);
    right = Convert(std::move(right), StandardTypes::Double(), pos);
    return MakeFloatOperation(op, std::move(left), std::move(right));
}

// and, or, xor: logical on Booleans, bitwise on integers.
ExprPtr ExpressionCompiler::Logic(TokenKind op, ExprPtr left, ExprPtr right, SourcePos pos)
{
    const Type *a = left->type;
    const Type *b = right->type;
    if (a->kind == TypeKind::Boolean && b->kind == TypeKind::Boolean)
        return MakeLogical(op, std::move(left), std::move(right));
    if (a->kind == TypeKind::Integer && b->kind == TypeKind::Integer)
        return MakeIntegerOperation(op, TypeRules::IntegerResult(a, b), std::move(left), std::move(right));
    NotApplicable(op, a, b, pos);
}

ExprPtr ExpressionCompiler::Compare(TokenKind op, ExprPtr left, ExprPtr right, SourcePos pos)
{
    const Type *a = left->type;
    const Type *b = right->type;
    if (a->IsNumeric() && b->IsNumeric()) {
        if (a->kind == TypeKind::Integer && b->kind == TypeKind::Integer)
            return MakeComparison(op, Comparison::Ordinal, std::move(left), std::move(right));
        left = Convert(std::move(left), StandardTypes::Double(), pos);
        right = Convert(std::move(right), StandardTypes::Double(), pos);
        return MakeComparison(op, Comparison::Float, std::move(left), std::move(right));
    }
    if (a->IsTextual() && b->IsTextual() && (a->kind == TypeKind::String || b->kind == TypeKind::String)) {
        left = Convert(std::move(left), StandardTypes::String(), pos);
        right = Convert(std::move(right), StandardTypes::String(), pos);
        return MakeComparison(op, Comparison::String, std::move(left), std::move(right));
    }
    if (TypeRules::SameOrdinalFamily(a, b))
        return MakeComparison(op, Comparison::Ordinal, std::move(left), std::move(right));
    if (IsSetLike(a) && IsSetLike(b)) {
        const Type *setType = a->kind == TypeKind::Set ? a : b;
        if (setType->kind == TypeKind::Set) {
            left = Convert(std::move(left), setType, pos);
            right = Convert(std::move(right), setType, pos);
        }
        if (ExprPtr node = MakeComparison(op, Comparison::Set, std::move(left), std::move(right)))
            return node;
    }
    NotApplicable(op, a, b, pos);
}

// element "in" set
ExprPtr ExpressionCompiler::Member(ExprPtr element, ExprPtr set, SourcePos pos)
{
    const Type *a = element->type;
    const Type *b = set->type;
    const bool compatible =
        a->IsOrdinal() && (b->kind == TypeKind::EmptySet ||
                           (b->kind == TypeKind::Set && TypeRules::SameOrdinalFamily(a, b->element)));
    if (!compatible)
        NotApplicable(TokenKind::In, a, b, pos);
    return MakeMembership(std::move(element), std::move(set));
}

void ExpressionCompiler::NotApplicable(TokenKind op, const Type *left, const Type *right, SourcePos pos) const
{
    throw CompileError(pos, QStringLiteral("Operator %1 not applicable to '%2' and '%3'")
                                .arg(DescribeKind(op), left->name, right->name));
}

} // namespace Script
