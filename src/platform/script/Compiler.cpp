#include "Compiler.h"

#include "CompileError.h"
#include "Lexer.h"
#include "Parser.h"
#include "StandardLibrary.h"

#include <QRegularExpression>

namespace Script
{

Compiler::Compiler(Program &program)
    : program_(program), context_(program), host_(&standard_), globals_(&host_), expressions_(context_),
      statements_(context_, expressions_), types_(context_, expressions_)
{
    context_.scope = &standard_;
    DeclareStandardLibrary(*this);
    context_.scope = &host_;
}

// ---- Host declarations ----

bool Compiler::IsValidName(const QString &name) const
{
    static const QRegularExpression identifier(QStringLiteral("^[A-Za-z_][A-Za-z0-9_]*$"));
    return identifier.match(name).hasMatch() && ReservedWord(name.toLower()) == TokenKind::Identifier;
}

bool Compiler::IsFreeName(const QString &name) const
{
    return IsValidName(name) && !context_.scope->Find(name.toLower());
}

bool Compiler::DeclareRoutine(const QString &declaration, NativeFunction function)
{
    try {
        Lexer lexer(declaration);
        Parser parser(lexer);
        const Syntax::RoutineHeading heading = parser.ParseDeclarationText();
        const Symbol *standard = context_.scope == &host_ ? standard_.FindHere(heading.name.key) : nullptr;
        const bool hides =
            standard && (standard->kind == SymbolKind::Routine || standard->kind == SymbolKind::Intrinsic);
        if (!function || !IsValidName(heading.name.text) || context_.scope->FindHere(heading.name.key) ||
            (standard && !hides))
            return false;
        Routine &routine = BuildRoutine(heading);
        routine.native = std::move(function);
        Symbol symbol{SymbolKind::Routine};
        symbol.routine = &routine;
        symbol.hidden = standard;
        context_.Declare(heading.name, std::move(symbol));
        return true;
    } catch (const CompileError &) {
        return false;
    }
}

bool Compiler::DeclareConstant(const QString &name, const QString &typeName, const QVariant &value)
{
    const Symbol *typeSymbol = context_.scope->Find(typeName.trimmed().toLower());
    if (!IsFreeName(name) || !typeSymbol || typeSymbol->kind != SymbolKind::Type)
        return false;
    const Type *type = typeSymbol->type;
    Symbol symbol{SymbolKind::Constant};
    symbol.type = type;
    bool ok = true;
    switch (type->kind) {
    case TypeKind::Integer:
    case TypeKind::Enum:
        symbol.value.i = type->Narrow(value.toLongLong(&ok));
        break;
    case TypeKind::Boolean:
        symbol.value.i = value.toBool();
        break;
    case TypeKind::Char: {
        const QString text = value.toString();
        ok = text.size() == 1;
        symbol.value.i = ok ? text[0].unicode() : 0;
        break;
    }
    case TypeKind::Float:
        symbol.value.d = value.toDouble(&ok);
        break;
    case TypeKind::String:
        symbol.value.s = value.toString();
        break;
    default:
        ok = false;
        break;
    }
    if (!ok)
        return false;
    context_.Declare({name, name.toLower(), {}}, std::move(symbol));
    return true;
}

bool Compiler::DeclareType(const QString &name, const QString &definition)
{
    if (!IsFreeName(name))
        return false;
    try {
        Lexer lexer(definition);
        Parser parser(lexer);
        CompileTypeDecl({{name, name.toLower(), {}}, parser.ParseTypeText()});
        return true;
    } catch (const CompileError &) {
        return false;
    }
}

void Compiler::DeclareStandardType(const QString &name, const Type *type)
{
    Symbol symbol{SymbolKind::Type};
    symbol.type = type;
    context_.Declare({name, name.toLower(), {}}, std::move(symbol));
}

void Compiler::DeclareIntrinsic(const QString &name, Intrinsic intrinsic)
{
    Symbol symbol{SymbolKind::Intrinsic};
    symbol.intrinsic = intrinsic;
    context_.Declare({name, name.toLower(), {}}, std::move(symbol));
}

// ---- The script ----

// script = declarations "begin" statements "end" "."
void Compiler::CompileScript(const Syntax::Block &script)
{
    context_.scope = &globals_;
    CompileDeclarations(script.decls);
    CheckForwardsResolved();
    program_.main = statements_.CompileList(script.body);
    context_.ReportUnused(globals_);
}

void Compiler::CompileDeclarations(const std::vector<Syntax::Decl> &decls)
{
    for (const Syntax::Decl &decl : decls) {
        if (const auto *var = std::get_if<Syntax::VarDecl>(&decl))
            CompileVar(*var);
        else if (const auto *constant = std::get_if<Syntax::ConstDecl>(&decl))
            CompileConst(*constant);
        else if (const auto *type = std::get_if<Syntax::TypeDecl>(&decl))
            CompileTypeDecl(*type);
        else
            CompileRoutine(std::get<Syntax::Routine>(decl));
    }
}

// var = names ":" type [ "=" constant ]
void Compiler::CompileVar(const Syntax::VarDecl &decl)
{
    const Type *type = types_.Build(*decl.type);
    Value initial;
    if (decl.initial)
        initial = expressions_.CompileConstant(*decl.initial, type).first;
    for (const Syntax::Name &name : decl.names) {
        Symbol &symbol = context_.DeclareVariable(name, type);
        symbol.reportUnused = true;
        if (decl.initial) {
            std::vector<Value> &cells = context_.routine ? context_.routine->prototype : program_.globals;
            cells[size_t(symbol.slot)] = initial;
        }
    }
}

// const = name [ ":" type ] "=" constant
void Compiler::CompileConst(const Syntax::ConstDecl &decl)
{
    const Type *type = decl.type ? types_.Build(*decl.type) : nullptr;
    auto [value, valueType] = expressions_.CompileConstant(*decl.value, type);
    Symbol symbol{SymbolKind::Constant};
    symbol.type = type ? type : valueType;
    symbol.value = std::move(value);
    context_.Declare(decl.name, std::move(symbol));
}

// type = name "=" type; a new type takes the name, an alias shares the type it names.
void Compiler::CompileTypeDecl(const Syntax::TypeDecl &decl)
{
    if (context_.scope->FindHere(decl.name.key))
        throw CompileError(decl.name.pos, QStringLiteral("Identifier redeclared: '%1'").arg(decl.name.text));
    const Type *type = types_.Build(*decl.type, decl.name.text);
    Symbol symbol{SymbolKind::Type};
    symbol.type = type;
    context_.Declare(decl.name, std::move(symbol));
}

// routine = heading ";" ( "forward" ";" | block ";" )
void Compiler::CompileRoutine(const Syntax::Routine &syntax)
{
    const Syntax::Name &name = syntax.heading.name;
    Symbol *earlier = context_.scope->FindHere(name.key);
    Routine &routine = BuildRoutine(syntax.heading);
    Routine *target = &routine;
    if (earlier && earlier->kind == SymbolKind::Routine && earlier->forward && !syntax.forward) {
        CheckSameHeading(*earlier->routine, routine, name.pos);
        earlier->forward = false;
        target = earlier->routine;
        target->params = routine.params; // the definition's parameter names
    } else {
        Symbol symbol{SymbolKind::Routine};
        symbol.routine = &routine;
        symbol.forward = syntax.forward;
        context_.Declare(name, std::move(symbol));
    }
    if (!syntax.forward)
        CompileBody(*target, *syntax.block);
}

Routine &Compiler::BuildRoutine(const Syntax::RoutineHeading &heading)
{
    auto routine = std::make_unique<Routine>();
    routine->name = heading.name.text;
    routine->pos = heading.pos;
    for (const Syntax::ParamGroup &group : heading.params) {
        const Type *type = types_.Build(*group.type);
        for (const Syntax::Name &name : group.names)
            routine->params.push_back({name.text, type, group.mode});
    }
    if (heading.result)
        routine->result = types_.Build(*heading.result);
    program_.routines.push_back(std::move(routine));
    return *program_.routines.back();
}

void Compiler::CheckSameHeading(const Routine &forward, const Routine &routine, SourcePos pos) const
{
    bool same = forward.result == routine.result && forward.params.size() == routine.params.size();
    for (size_t i = 0; same && i < routine.params.size(); ++i)
        same = forward.params[i].type == routine.params[i].type &&
               forward.params[i].mode == routine.params[i].mode;
    if (!same)
        throw CompileError(
            pos,
            QStringLiteral("Declaration of '%1' differs from its forward declaration").arg(routine.name));
}

// The frame: parameters, then the result (also named Result), then the locals.
void Compiler::CompileBody(Routine &routine, const Syntax::Block &block)
{
    Scope scope(context_.scope);
    ScopeEntry entry(context_, scope);
    context_.routine = &routine;
    struct Leave {
        CompileContext &context;
        ~Leave() { context.routine = nullptr; }
    } leave{context_};
    routine.prototype.clear();
    routine.cells = 0;
    for (const Parameter &param : routine.params) {
        Symbol symbol{SymbolKind::Variable};
        symbol.type = param.type;
        symbol.storage = param.ByReference() ? Storage::Reference : Storage::Local;
        symbol.slot = context_.AllocateCell(param.type, routine.pos);
        symbol.readOnly = param.mode == Syntax::ParamMode::Const;
        context_.Declare({param.name, param.name.toLower(), routine.pos}, std::move(symbol));
    }
    if (routine.IsFunction()) {
        routine.resultSlot = context_.AllocateCell(routine.result, routine.pos);
        Symbol result{SymbolKind::Variable};
        result.type = routine.result;
        result.storage = Storage::Local;
        result.slot = routine.resultSlot;
        context_.Declare({QStringLiteral("Result"), QStringLiteral("result"), routine.pos},
                         std::move(result));
    }
    CompileDeclarations(block.decls);
    routine.body = statements_.CompileList(block.body);
    context_.ReportUnused(scope);
}

void Compiler::CheckForwardsResolved() const
{
    for (const auto &symbol : globals_.Symbols())
        if (symbol->kind == SymbolKind::Routine && symbol->forward)
            throw CompileError(symbol->pos,
                               QStringLiteral("Unsatisfied forward declaration: '%1'").arg(symbol->name));
}

} // namespace Script
