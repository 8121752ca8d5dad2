#include "StatementCompiler.h"

#include "CompileError.h"
#include "ExpressionCompiler.h"
#include "OperatorNodes.h"
#include "StatementNodes.h"
#include "ValueNodes.h"

#include <algorithm>

namespace Script
{

using Syntax::ExprKind;
using Syntax::StmtKind;

namespace
{

// Counts one more enclosing loop or handler while it lives.
class Enclosing
{
  public:
    explicit Enclosing(int &depth) : depth_(depth) { ++depth_; }
    ~Enclosing() { --depth_; }
    Enclosing(const Enclosing &) = delete;
    Enclosing &operator=(const Enclosing &) = delete;

  private:
    int &depth_;
};

} // namespace

StmtPtr StatementCompiler::CompileList(const Syntax::StmtList &list)
{
    std::vector<StmtPtr> statements;
    for (const Syntax::StmtPtr &statement : list)
        if (statement->kind != StmtKind::Empty)
            statements.push_back(Compile(*statement));
    if (statements.size() == 1)
        return std::move(statements.front());
    return std::make_unique<Sequence>(std::move(statements));
}

StmtPtr StatementCompiler::Compile(const Syntax::Stmt &statement)
{
    switch (statement.kind) {
    case StmtKind::Empty:
        return std::make_unique<Sequence>(std::vector<StmtPtr>());
    case StmtKind::Compound:
        return CompileList(statement.list);
    case StmtKind::Assign:
        return Assign(statement);
    case StmtKind::Call:
        return Call(statement);
    case StmtKind::If:
        return If(statement);
    case StmtKind::Case:
        return Case(statement);
    case StmtKind::While:
    case StmtKind::Repeat:
        return Loop(statement);
    case StmtKind::For:
        return For(statement);
    case StmtKind::Try:
        return Try(statement);
    case StmtKind::Raise:
        return Raise(statement);
    }
    throw CompileError(statement.pos, QStringLiteral("Statement expected"));
}

// assignment = place ":=" expression | stringPlace "[" index "]" ":=" character
StmtPtr StatementCompiler::Assign(const Syntax::Stmt &statement)
{
    const Syntax::Expr &target = *statement.target;
    if (target.kind == ExprKind::Index && target.args.size() == 1 &&
        expressions_.CompileValue(*target.left)->type->kind == TypeKind::String) {
        ExprPtr text = expressions_.CompilePlace(*target.left);
        ExprPtr index = expressions_.CompileValueOf(*target.args[0], StandardTypes::Int64());
        ExprPtr value = expressions_.CompileValueOf(*statement.value, StandardTypes::Char());
        return std::make_unique<AssignStringCharacter>(std::move(text), std::move(index), std::move(value));
    }
    ExprPtr place = expressions_.CompilePlace(target);
    if (place->type->kind == TypeKind::String)
        if (StmtPtr append = Append(statement, place))
            return append;
    ExprPtr value = expressions_.CompileValueOf(*statement.value, place->type);
    return MakeAssignment(std::move(place), std::move(value));
}

// s := s + a + b ... becomes an append of a + b ... to s, unless evaluating the appended part
// could change s (it calls script routines). Takes `place` (s) only when it builds the append.
StmtPtr StatementCompiler::Append(const Syntax::Stmt &statement, ExprPtr &place)
{
    const Syntax::Expr &targetSyntax = *statement.target;
    std::vector<const Syntax::Expr *> tail;
    const Syntax::Expr *head = statement.value.get();
    while (head->kind == ExprKind::Binary && head->op == TokenKind::Plus) {
        tail.push_back(head->right.get());
        head = head->left.get();
    }
    if (tail.empty() || targetSyntax.kind != ExprKind::Name || head->kind != ExprKind::Name ||
        head->name.key != targetSyntax.name.key)
        return nullptr;
    std::reverse(tail.begin(), tail.end());
    ExprPtr appended;
    for (const Syntax::Expr *part : tail) {
        ExprPtr piece = expressions_.CompileValue(*part);
        if (!piece->type->IsTextual())
            return nullptr;
        piece = expressions_.Convert(std::move(piece), StandardTypes::String(), part->pos);
        appended = appended ? MakeConcatenation(std::move(appended), std::move(piece)) : std::move(piece);
    }
    if (appended->runsScript)
        return nullptr;
    return std::make_unique<AppendString>(std::move(place), std::move(appended));
}

// call = designator   (a procedure, a function whose result is dropped, exit, break, continue)
StmtPtr StatementCompiler::Call(const Syntax::Stmt &statement)
{
    const Syntax::Expr &target = *statement.target;
    const Syntax::Expr &callee = target.kind == ExprKind::Call ? *target.left : target;
    if (callee.kind == ExprKind::Name) {
        const Symbol *symbol = context_.scope->Find(callee.name.key);
        if (symbol && symbol->kind == SymbolKind::Intrinsic &&
            (symbol->intrinsic == Intrinsic::Exit || symbol->intrinsic == Intrinsic::Break ||
             symbol->intrinsic == Intrinsic::Continue))
            return Jump(symbol->intrinsic, target, statement.pos);
    }
    return std::make_unique<Evaluate>(expressions_.CompileCallStatement(target));
}

// jump = "break" | "continue" | "exit" [ "(" result ")" ]
StmtPtr StatementCompiler::Jump(Intrinsic intrinsic, const Syntax::Expr &call, SourcePos pos)
{
    const size_t count = call.kind == ExprKind::Call ? call.args.size() : 0;
    if (intrinsic != Intrinsic::Exit) {
        if (count > 0)
            throw CompileError(pos, QStringLiteral("Too many actual parameters"));
        if (context_.loopDepth == 0)
            throw CompileError(pos,
                               QStringLiteral("'%1' outside a loop")
                                   .arg(call.kind == ExprKind::Call ? call.left->name.text : call.name.text));
        return std::make_unique<Script::Jump>(intrinsic == Intrinsic::Break ? Flow::Break : Flow::Continue);
    }
    if (count == 0)
        return std::make_unique<Script::Jump>(Flow::Exit);
    const Routine *routine = context_.routine;
    if (count > 1 || !routine || !routine->IsFunction())
        throw CompileError(pos, QStringLiteral("Exit takes a value only in a function"));
    std::vector<StmtPtr> steps;
    steps.push_back(MakeAssignment(std::make_unique<LocalVariable>(routine->result, routine->resultSlot),
                                   expressions_.CompileValueOf(*call.args[0], routine->result)));
    steps.push_back(std::make_unique<Script::Jump>(Flow::Exit));
    return std::make_unique<Sequence>(std::move(steps));
}

StmtPtr StatementCompiler::If(const Syntax::Stmt &statement)
{
    ExprPtr condition = expressions_.CompileCondition(*statement.value);
    StmtPtr then = Compile(*statement.body);
    StmtPtr otherwise = statement.otherwise ? Compile(*statement.otherwise) : nullptr;
    return std::make_unique<Script::If>(std::move(condition), std::move(then), std::move(otherwise));
}

StmtPtr StatementCompiler::Case(const Syntax::Stmt &statement)
{
    ExprPtr selector = expressions_.CompileOrdinal(*statement.value);
    const Type *type = selector->type;
    std::vector<Script::Case::Label> labels;
    std::vector<StmtPtr> arms;
    for (const Syntax::CaseArm &arm : statement.arms) {
        for (const Syntax::ExprPtr &label : arm.labels) {
            const bool range = label->kind == ExprKind::Binary && label->op == TokenKind::DotDot;
            const int64_t low = expressions_.CompileConstant(range ? *label->left : *label, type).first.i;
            const int64_t high = range ? expressions_.CompileConstant(*label->right, type).first.i : low;
            if (low > high)
                throw CompileError(label->pos, QStringLiteral("Empty case range"));
            for (const Script::Case::Label &other : labels)
                if (low <= other.high && other.low <= high)
                    throw CompileError(label->pos, QStringLiteral("Duplicate case label"));
            labels.push_back({low, high, arms.size()});
        }
        arms.push_back(Compile(*arm.body));
    }
    StmtPtr otherwise = statement.hasElse ? CompileList(statement.otherList) : nullptr;
    return std::make_unique<Script::Case>(std::move(selector), std::move(labels), std::move(arms),
                                          std::move(otherwise));
}

// while = "while" condition "do" statement;  repeat = "repeat" statements "until" condition
StmtPtr StatementCompiler::Loop(const Syntax::Stmt &statement)
{
    ExprPtr condition = expressions_.CompileCondition(*statement.value);
    Enclosing loop(context_.loopDepth);
    if (statement.kind == StmtKind::While)
        return std::make_unique<While>(std::move(condition), Compile(*statement.body));
    return std::make_unique<Repeat>(CompileList(statement.list), std::move(condition));
}

StmtPtr StatementCompiler::For(const Syntax::Stmt &statement)
{
    Symbol &symbol = expressions_.Lookup(statement.variable);
    if (symbol.kind != SymbolKind::Variable || !symbol.type->IsOrdinal())
        throw CompileError(statement.variable.pos, QStringLiteral("A for loop needs an ordinal variable"));
    if (symbol.readOnly)
        throw CompileError(statement.variable.pos, QStringLiteral("Cannot assign to '%1'").arg(symbol.name));
    symbol.used = true;
    ExprPtr first = expressions_.CompileValueOf(*statement.value, symbol.type);
    ExprPtr last = expressions_.CompileValueOf(*statement.limit, symbol.type);
    symbol.readOnly = true;
    struct Unlock {
        Symbol &symbol;
        ~Unlock() { symbol.readOnly = false; }
    } unlock{symbol};
    Enclosing loop(context_.loopDepth);
    StmtPtr body = Compile(*statement.body);
    return std::make_unique<Script::For>(context_.VariableNode(symbol), std::move(first), std::move(last),
                                         statement.downto ? ForDirection::Down : ForDirection::Up,
                                         std::move(body));
}

StmtPtr StatementCompiler::Try(const Syntax::Stmt &statement)
{
    StmtPtr body = CompileList(statement.list);
    if (statement.isFinally)
        return std::make_unique<TryFinally>(std::move(body), CompileList(statement.otherList));
    Enclosing handling(context_.handlerDepth);
    ExprPtr variable;
    StmtPtr handler;
    if (statement.handlers.empty()) {
        handler = CompileList(statement.otherList);
    } else {
        // Every exception is an Exception, so the first handler takes them all; the others are
        // still checked.
        handler = Handler(statement.handlers.front(), variable);
        for (size_t i = 1; i < statement.handlers.size(); ++i) {
            ExprPtr unused;
            Handler(statement.handlers[i], unused);
        }
        if (statement.hasElse)
            CompileList(statement.otherList);
    }
    return std::make_unique<TryExcept>(std::move(body), std::move(variable), std::move(handler));
}

// handler = "on" [ ident ":" ] exceptionType "do" statement
StmtPtr StatementCompiler::Handler(const Syntax::Handler &handler, ExprPtr &variable)
{
    const Symbol &type = expressions_.Lookup(handler.type);
    if (type.kind != SymbolKind::Type || type.type->kind != TypeKind::Exception)
        throw CompileError(handler.type.pos,
                           QStringLiteral("'%1' is not an exception class").arg(handler.type.text));
    Scope scope(context_.scope);
    ScopeEntry entry(context_, scope);
    if (!handler.variable.key.isEmpty())
        variable = context_.VariableNode(context_.DeclareVariable(handler.variable, type.type));
    return Compile(*handler.body);
}

// raise = "raise" [ exception ]
StmtPtr StatementCompiler::Raise(const Syntax::Stmt &statement)
{
    if (statement.value)
        return std::make_unique<Script::Raise>(
            expressions_.CompileValueOf(*statement.value, StandardTypes::Exception()));
    if (context_.handlerDepth == 0)
        throw CompileError(statement.pos,
                           QStringLiteral("A bare 'raise' is only allowed in an exception handler"));
    return std::make_unique<Script::Raise>(nullptr);
}

} // namespace Script
