#include "CompileContext.h"

#include "CompileError.h"
#include "ValueNodes.h"

namespace Script
{

Type *CompileContext::NewType(TypeKind kind, const QString &name)
{
    program.types.push_back(std::make_unique<Type>(kind, name));
    return program.types.back().get();
}

const Type *CompileContext::SetTypeOf(const Type *element)
{
    switch (element->kind) {
    case TypeKind::Integer:
        element = StandardTypes::Byte();
        break;
    case TypeKind::Char:
        element = StandardTypes::Char();
        break;
    case TypeKind::Enum:
        element = element->enumeration;
        break;
    default:
        break;
    }
    const Type *&set = setTypes_[element];
    if (!set) {
        Type *type = NewType(TypeKind::Set, QStringLiteral("set of ") + element->name);
        type->element = element;
        set = type;
    }
    return set;
}

int CompileContext::AllocateCell(const Type *type, SourcePos pos)
{
    int64_t &total = routine ? routine->cells : globalCells_;
    total += type->cells;
    if (total > kMaxFrameCells)
        throw CompileError(pos, QStringLiteral("Too many variables: more than %1 cells").arg(kMaxFrameCells));
    std::vector<Value> &cells = routine ? routine->prototype : program.globals;
    cells.emplace_back();
    type->Initialize(cells.back());
    return int(cells.size() - 1);
}

Symbol &CompileContext::Declare(const Syntax::Name &name, Symbol symbol)
{
    if (scope->FindHere(name.key))
        throw CompileError(name.pos, QStringLiteral("Identifier redeclared: '%1'").arg(name.text));
    symbol.name = name.text;
    symbol.pos = name.pos;
    return scope->Add(name.key, std::move(symbol));
}

Symbol &CompileContext::DeclareVariable(const Syntax::Name &name, const Type *type)
{
    Symbol symbol{SymbolKind::Variable};
    symbol.type = type;
    symbol.storage = routine ? Storage::Local : Storage::Global;
    symbol.slot = AllocateCell(type, name.pos);
    return Declare(name, std::move(symbol));
}

ExprPtr CompileContext::VariableNode(const Symbol &symbol) const
{
    switch (symbol.storage) {
    case Storage::Global:
        return std::make_unique<GlobalVariable>(symbol.type, symbol.slot);
    case Storage::Local:
        return std::make_unique<LocalVariable>(symbol.type, symbol.slot);
    case Storage::Reference:
        return std::make_unique<ReferenceParameter>(symbol.type, symbol.slot);
    }
    return nullptr;
}

void CompileContext::ReportUnused(const Scope &scope)
{
    for (const auto &symbol : scope.Symbols())
        if (symbol->reportUnused && !symbol->used)
            hints.push_back({MessageKind::Hint, true, symbol->pos,
                             QStringLiteral("Variable '%1' is declared but never used").arg(symbol->name)});
}

} // namespace Script
