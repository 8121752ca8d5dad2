#include "TypeBuilder.h"

#include "CompileError.h"
#include "ExpressionCompiler.h"
#include "TypeRules.h"

#include <QSet>

namespace Script
{

namespace
{

void CheckSize(int64_t cells, SourcePos pos)
{
    if (cells > TypeBuilder::kMaxCells)
        throw CompileError(pos,
                           QStringLiteral("Type too large: more than %1 cells").arg(TypeBuilder::kMaxCells));
}

} // namespace

const Type *TypeBuilder::Build(const Syntax::Type &syntax, const QString &name)
{
    switch (syntax.kind) {
    case Syntax::TypeKind::Named:
        return Named(syntax);
    case Syntax::TypeKind::Enumeration:
        return Enumeration(syntax, name);
    case Syntax::TypeKind::Subrange:
        return Subrange(syntax, name);
    case Syntax::TypeKind::Set:
        return Set(syntax, name);
    case Syntax::TypeKind::Array:
        return Array(syntax, name);
    case Syntax::TypeKind::Record:
        return Record(syntax, name);
    }
    throw CompileError(syntax.pos, QStringLiteral("Type expected"));
}

const Type *TypeBuilder::Named(const Syntax::Type &syntax) const
{
    const Symbol &symbol = expressions_.Lookup(syntax.name);
    if (symbol.kind != SymbolKind::Type)
        throw CompileError(syntax.pos, QStringLiteral("'%1' is not a type").arg(syntax.name.text));
    return symbol.type;
}

// enumeration = "(" name { "," name } ")"; each name becomes a constant of the new type.
const Type *TypeBuilder::Enumeration(const Syntax::Type &syntax, const QString &name)
{
    QSet<QString> seen;
    for (const Syntax::Name &value : syntax.names) {
        if (context_.scope->FindHere(value.key) || seen.contains(value.key))
            throw CompileError(value.pos, QStringLiteral("Identifier redeclared: '%1'").arg(value.text));
        seen.insert(value.key);
    }
    Type *type = context_.NewType(TypeKind::Enum, name.isEmpty() ? QStringLiteral("enumeration") : name);
    type->enumeration = type;
    type->high = int64_t(syntax.names.size()) - 1;
    for (const Syntax::Name &value : syntax.names) {
        Symbol symbol{SymbolKind::Constant};
        symbol.type = type;
        symbol.value.i = type->enumNames.size();
        type->enumNames.push_back(value.text);
        context_.Declare(value, std::move(symbol));
    }
    return type;
}

// subrange = constant ".." constant, both of one ordinal family
const Type *TypeBuilder::Subrange(const Syntax::Type &syntax, const QString &name)
{
    const auto [low, lowType] = expressions_.CompileConstant(*syntax.low);
    const auto [high, highType] = expressions_.CompileConstant(*syntax.high);
    if (!lowType->IsOrdinal() || !TypeRules::SameOrdinalFamily(lowType, highType))
        throw CompileError(syntax.pos, QStringLiteral("A subrange needs two ordinal constants of one type"));
    if (low.i > high.i)
        throw CompileError(syntax.pos, QStringLiteral("Lower bound above upper bound"));
    Type *type = context_.NewType(lowType->kind,
                                  name.isEmpty() ? QStringLiteral("%1..%2").arg(low.i).arg(high.i) : name);
    type->low = low.i;
    type->high = high.i;
    type->enumeration = lowType->enumeration;
    type->bits = lowType->bits;
    type->isSigned = lowType->isSigned;
    if (lowType->kind == TypeKind::Integer) {
        const bool fits32 = low.i >= INT32_MIN && high.i <= INT32_MAX;
        type->bits = fits32 ? 32 : 64;
        type->isSigned = true;
    }
    return type;
}

// set = "set" "of" ordinal type with values in 0..255 (or Char)
const Type *TypeBuilder::Set(const Syntax::Type &syntax, const QString &name)
{
    const Type *element = Build(*syntax.element);
    if (!element->IsOrdinal())
        throw CompileError(syntax.pos, QStringLiteral("Ordinal type required"));
    if (element->kind != TypeKind::Char && (element->low < 0 || element->high > 255))
        throw CompileError(syntax.pos, QStringLiteral("Sets may only hold values from 0 to 255"));
    Type *type =
        context_.NewType(TypeKind::Set, name.isEmpty() ? QStringLiteral("set of ") + element->name : name);
    type->element = element;
    return type;
}

// array = "array" "[" ordinalType { "," ordinalType } "]" "of" type
const Type *TypeBuilder::Array(const Syntax::Type &syntax, const QString &name)
{
    std::vector<const Type *> indexes;
    for (const Syntax::TypePtr &index : syntax.indexes) {
        const Type *type = Build(*index);
        if (!type->IsOrdinal())
            throw CompileError(index->pos, QStringLiteral("Ordinal type required"));
        if (uint64_t(type->high) - uint64_t(type->low) >= uint64_t(TypeBuilder::kMaxCells))
            CheckSize(TypeBuilder::kMaxCells + 1, index->pos);
        indexes.push_back(type);
    }
    const Type *element = Build(*syntax.element);
    for (auto index = indexes.rbegin(); index != indexes.rend(); ++index) {
        const int64_t cells = (*index)->Length() * element->cells;
        CheckSize(cells, syntax.pos);
        const bool outermost = index + 1 == indexes.rend();
        Type *type =
            context_.NewType(TypeKind::Array, outermost && !name.isEmpty() ? name : QStringLiteral("array"));
        type->index = *index;
        type->element = element;
        type->low = (*index)->low;
        type->high = (*index)->high;
        type->cells = cells;
        element = type;
    }
    return element;
}

// record = "record" { name { "," name } ":" type ";" } "end"
const Type *TypeBuilder::Record(const Syntax::Type &syntax, const QString &name)
{
    Type *type = context_.NewType(TypeKind::Record, name.isEmpty() ? QStringLiteral("record") : name);
    for (const Syntax::FieldGroup &group : syntax.fields) {
        const Type *fieldType = Build(*group.type);
        for (const Syntax::Name &field : group.names) {
            if (type->FieldIndex(field.key) >= 0)
                throw CompileError(field.pos, QStringLiteral("Duplicate field '%1'").arg(field.text));
            type->fields.push_back({field.text, field.key, fieldType});
            type->cells += fieldType->cells;
            CheckSize(type->cells, field.pos);
        }
    }
    return type;
}

} // namespace Script
