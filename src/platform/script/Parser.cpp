#include "Parser.h"

#include "CompileError.h"

#include <algorithm>

namespace Script
{

using namespace Syntax;

// Counts one level of nesting for as long as a parse function runs.
class Parser::Nesting
{
  public:
    explicit Nesting(Parser &parser) : parser_(parser)
    {
        if (++parser_.depth_ > kMaxDepth)
            throw CompileError(parser_.current_.pos, QStringLiteral("Nesting too deep"));
    }
    ~Nesting() { --parser_.depth_; }
    Nesting(const Nesting &) = delete;
    Nesting &operator=(const Nesting &) = delete;

  private:
    Parser &parser_;
};

Parser::Parser(Lexer &lexer) : lexer_(lexer)
{
    current_ = lexer_.Next();
}

// ---- Tokens ----

const Token &Parser::Peek()
{
    if (!hasLookahead_) {
        lookahead_ = lexer_.Next();
        hasLookahead_ = true;
    }
    return lookahead_;
}

void Parser::Advance()
{
    if (hasLookahead_) {
        current_ = std::move(lookahead_);
        hasLookahead_ = false;
    } else {
        current_ = lexer_.Next();
    }
}

bool Parser::Accept(TokenKind kind)
{
    if (current_.kind != kind)
        return false;
    Advance();
    return true;
}

void Parser::Expect(TokenKind kind)
{
    if (!Accept(kind))
        Fail(DescribeKind(kind));
}

void Parser::Fail(const QString &expected) const
{
    throw CompileError(current_.pos,
                       QStringLiteral("Expected %1 but found %2").arg(expected, current_.Describe()));
}

bool Parser::IsContextualWord(const char *word) const
{
    return current_.kind == TokenKind::Identifier && current_.key == QLatin1String(word);
}

Name Parser::ParseName()
{
    if (current_.kind != TokenKind::Identifier)
        Fail(QStringLiteral("identifier"));
    Name name{current_.text, current_.key, current_.pos};
    Advance();
    return name;
}

// nameList = ident { "," ident }
std::vector<Name> Parser::ParseNameList()
{
    std::vector<Name> names;
    do
        names.push_back(ParseName());
    while (Accept(TokenKind::Comma));
    return names;
}

// ---- Script, declarations ----

// script = [ "program" ident ";" ] [ "uses" ident { "," ident } ";" ] block "."
Block Parser::ParseScript()
{
    if (Accept(TokenKind::Program)) {
        ParseName();
        Expect(TokenKind::Semicolon);
    }
    if (current_.kind == TokenKind::Uses) {
        Advance();
        const Name unit = ParseName();
        throw CompileError(unit.pos,
                           QStringLiteral("Unknown unit '%1': units cannot be used").arg(unit.text));
    }
    Block block = ParseBlock(true);
    if (current_.kind != TokenKind::Dot) // what follows the final "end." is never read
        Fail(DescribeKind(TokenKind::Dot));
    return block;
}

// block = { "var" varSection | "const" constSection | "type" typeSection | routine } compound
Block Parser::ParseBlock(bool allowRoutines)
{
    Block block;
    for (;;) {
        switch (current_.kind) {
        case TokenKind::Var:
            ParseVarSection(block);
            break;
        case TokenKind::Const:
            ParseConstSection(block);
            break;
        case TokenKind::Type:
            ParseTypeSection(block);
            break;
        case TokenKind::Procedure:
        case TokenKind::Function:
            if (!allowRoutines)
                throw CompileError(current_.pos, QStringLiteral("Nested routines are not supported"));
            block.decls.emplace_back(ParseRoutine());
            break;
        case TokenKind::Uses:
            throw CompileError(current_.pos, QStringLiteral("'uses' must come first in the script"));
        case TokenKind::Label:
        case TokenKind::Goto:
            throw CompileError(current_.pos, QStringLiteral("Labels are not supported"));
        default:
            block.beginPos = current_.pos;
            if (current_.kind != TokenKind::Begin)
                Fail(DescribeKind(TokenKind::Begin));
            Advance();
            block.body = ParseStatementList({TokenKind::End});
            block.endPos = current_.pos;
            Expect(TokenKind::End);
            return block;
        }
    }
}

// varSection = "var" varDecl { varDecl }
// varDecl    = nameList ":" type [ "=" expression ] ";"
void Parser::ParseVarSection(Block &block)
{
    Advance();
    do {
        VarDecl decl;
        decl.names = ParseNameList();
        Expect(TokenKind::Colon);
        decl.type = ParseType();
        if (Accept(TokenKind::Equal))
            decl.initial = ParseExpression();
        Expect(TokenKind::Semicolon);
        block.decls.emplace_back(std::move(decl));
    } while (current_.kind == TokenKind::Identifier);
}

// constSection = "const" constDecl { constDecl }
// constDecl    = ident [ ":" type ] "=" expression ";"
void Parser::ParseConstSection(Block &block)
{
    Advance();
    do {
        ConstDecl decl;
        decl.name = ParseName();
        if (Accept(TokenKind::Colon))
            decl.type = ParseType();
        Expect(TokenKind::Equal);
        if (current_.kind == TokenKind::LeftParen && decl.type)
            throw CompileError(current_.pos, QStringLiteral("Structured constants are not supported"));
        decl.value = ParseExpression();
        Expect(TokenKind::Semicolon);
        block.decls.emplace_back(std::move(decl));
    } while (current_.kind == TokenKind::Identifier);
}

// typeSection = "type" typeDecl { typeDecl }
// typeDecl    = ident "=" type ";"
void Parser::ParseTypeSection(Block &block)
{
    Advance();
    do {
        TypeDecl decl;
        decl.name = ParseName();
        Expect(TokenKind::Equal);
        decl.type = ParseType();
        Expect(TokenKind::Semicolon);
        block.decls.emplace_back(std::move(decl));
    } while (current_.kind == TokenKind::Identifier);
}

// routine = routineHeading ";" ( "forward" ";" | block ";" )
Routine Parser::ParseRoutine()
{
    Routine routine;
    routine.heading = ParseRoutineHeading();
    Expect(TokenKind::Semicolon);
    if (IsContextualWord("forward")) {
        Advance();
        Expect(TokenKind::Semicolon);
        routine.forward = true;
        return routine;
    }
    routine.block = std::make_unique<Block>(ParseBlock(false));
    Expect(TokenKind::Semicolon);
    return routine;
}

// routineHeading = ( "procedure" | "function" ) ident [ "(" [ paramGroup { ";" paramGroup } ] ")" ]
//                  [ ":" type ]
RoutineHeading Parser::ParseRoutineHeading()
{
    RoutineHeading heading;
    heading.pos = current_.pos;
    heading.isFunction = current_.kind == TokenKind::Function;
    if (!Accept(TokenKind::Procedure) && !Accept(TokenKind::Function))
        Fail(QStringLiteral("'procedure' or 'function'"));
    heading.name = ParseName();
    if (Accept(TokenKind::LeftParen) && !Accept(TokenKind::RightParen)) {
        do
            heading.params.push_back(ParseParamGroup());
        while (Accept(TokenKind::Semicolon));
        Expect(TokenKind::RightParen);
    }
    if (heading.isFunction) {
        Expect(TokenKind::Colon);
        heading.result = ParseType();
    } else if (current_.kind == TokenKind::Colon) {
        throw CompileError(current_.pos, QStringLiteral("A procedure has no result type"));
    }
    return heading;
}

// paramGroup = [ "var" | "const" | "out" ] nameList ":" type
ParamGroup Parser::ParseParamGroup()
{
    ParamGroup group;
    if (Accept(TokenKind::Var))
        group.mode = ParamMode::Var;
    else if (Accept(TokenKind::Const))
        group.mode = ParamMode::Const;
    else if (IsContextualWord("out") && Peek().kind == TokenKind::Identifier) {
        Advance();
        group.mode = ParamMode::Out;
    }
    group.names = ParseNameList();
    if (current_.kind != TokenKind::Colon)
        throw CompileError(current_.pos, QStringLiteral("Parameters need a type"));
    Advance();
    if (current_.kind == TokenKind::Array && Peek().kind == TokenKind::Of)
        throw CompileError(current_.pos, QStringLiteral("Open array parameters are not supported"));
    group.type = ParseType();
    if (current_.kind == TokenKind::Equal)
        throw CompileError(current_.pos, QStringLiteral("Default parameter values are not supported"));
    return group;
}

// declarationText = routineHeading [ ";" ]
RoutineHeading Parser::ParseDeclarationText()
{
    RoutineHeading heading = ParseRoutineHeading();
    Accept(TokenKind::Semicolon);
    Expect(TokenKind::EndOfFile);
    return heading;
}

// typeText = type [ ";" ]
TypePtr Parser::ParseTypeText()
{
    TypePtr type = ParseType();
    Accept(TokenKind::Semicolon);
    Expect(TokenKind::EndOfFile);
    return type;
}

// ---- Types ----

// type = enumeration | "set" "of" type | arrayType | recordType | "packed" type | namedOrSubrange
TypePtr Parser::ParseType()
{
    Nesting nesting(*this);
    switch (current_.kind) {
    case TokenKind::LeftParen:
        return ParseEnumerationType();
    case TokenKind::Set: {
        auto type = std::make_unique<Type>(TypeKind::Set, current_.pos);
        Advance();
        Expect(TokenKind::Of);
        type->element = ParseType();
        return type;
    }
    case TokenKind::Array:
        return ParseArrayType();
    case TokenKind::Record:
        return ParseRecordType();
    case TokenKind::Packed:
        Advance();
        return ParseType();
    case TokenKind::Caret:
        throw CompileError(current_.pos, QStringLiteral("Pointer types are not supported"));
    default:
        return ParseNamedOrSubrangeType();
    }
}

// enumeration = "(" nameList ")"
TypePtr Parser::ParseEnumerationType()
{
    auto type = std::make_unique<Type>(TypeKind::Enumeration, current_.pos);
    Advance();
    type->names = ParseNameList();
    if (current_.kind == TokenKind::Equal)
        throw CompileError(current_.pos, QStringLiteral("Enumeration values cannot be assigned"));
    Expect(TokenKind::RightParen);
    return type;
}

// arrayType = "array" "[" type { "," type } "]" "of" type
TypePtr Parser::ParseArrayType()
{
    auto type = std::make_unique<Type>(TypeKind::Array, current_.pos);
    Advance();
    if (current_.kind == TokenKind::Of)
        throw CompileError(current_.pos, QStringLiteral("Dynamic arrays are not supported"));
    Expect(TokenKind::LeftBracket);
    do
        type->indexes.push_back(ParseType());
    while (Accept(TokenKind::Comma));
    Expect(TokenKind::RightBracket);
    Expect(TokenKind::Of);
    type->element = ParseType();
    return type;
}

// recordType = "record" { nameList ":" type [ ";" ] } "end"
TypePtr Parser::ParseRecordType()
{
    auto type = std::make_unique<Type>(TypeKind::Record, current_.pos);
    Advance();
    while (current_.kind == TokenKind::Identifier) {
        FieldGroup group;
        group.names = ParseNameList();
        Expect(TokenKind::Colon);
        group.type = ParseType();
        type->fields.push_back(std::move(group));
        if (!Accept(TokenKind::Semicolon))
            break;
    }
    if (current_.kind == TokenKind::Case)
        throw CompileError(current_.pos, QStringLiteral("Variant records are not supported"));
    Expect(TokenKind::End);
    return type;
}

// namedOrSubrange = ident [ "[" expression "]" ] | simpleExpression ".." simpleExpression
TypePtr Parser::ParseNamedOrSubrangeType()
{
    const SourcePos pos = current_.pos;
    if (current_.kind == TokenKind::Identifier && Peek().kind != TokenKind::DotDot) {
        auto type = std::make_unique<Type>(TypeKind::Named, pos);
        type->name = ParseName();
        if (type->name.key == QLatin1String("string") && Accept(TokenKind::LeftBracket)) {
            ParseExpression(); // a short string's length limit changes nothing here
            Expect(TokenKind::RightBracket);
        }
        return type;
    }
    if (current_.kind == TokenKind::EndOfFile || current_.kind == TokenKind::Semicolon)
        Fail(QStringLiteral("type"));
    auto type = std::make_unique<Type>(TypeKind::Subrange, pos);
    type->low = ParseSimpleExpression();
    Expect(TokenKind::DotDot);
    type->high = ParseSimpleExpression();
    return type;
}

// ---- Statements ----

// statementList = statement { ";" statement }   (ended by one of the terminators)
StmtList Parser::ParseStatementList(std::initializer_list<TokenKind> terminators)
{
    StmtList list;
    for (;;) {
        list.push_back(ParseStatement());
        if (Accept(TokenKind::Semicolon))
            continue;
        if (std::find(terminators.begin(), terminators.end(), current_.kind) != terminators.end())
            return list;
        Fail(DescribeKind(current_.kind == TokenKind::EndOfFile ? *terminators.begin()
                                                                : TokenKind::Semicolon));
    }
}

// statement = [ compound | if | case | while | repeat | for | try | raise | simpleStatement ]
StmtPtr Parser::ParseStatement()
{
    Nesting nesting(*this);
    switch (current_.kind) {
    case TokenKind::Begin:
        return ParseCompound();
    case TokenKind::If:
        return ParseIf();
    case TokenKind::Case:
        return ParseCase();
    case TokenKind::While:
        return ParseWhile();
    case TokenKind::Repeat:
        return ParseRepeat();
    case TokenKind::For:
        return ParseFor();
    case TokenKind::Try:
        return ParseTry();
    case TokenKind::Raise:
        return ParseRaise();
    case TokenKind::With:
        throw CompileError(current_.pos, QStringLiteral("'with' statements are not supported"));
    case TokenKind::Goto:
        throw CompileError(current_.pos, QStringLiteral("Labels are not supported"));
    case TokenKind::Identifier:
    case TokenKind::LeftParen:
        return ParseSimpleStatement();
    default:
        return std::make_unique<Stmt>(StmtKind::Empty, current_.pos);
    }
}

// compound = "begin" statementList "end"
StmtPtr Parser::ParseCompound()
{
    auto statement = std::make_unique<Stmt>(StmtKind::Compound, current_.pos);
    Advance();
    statement->list = ParseStatementList({TokenKind::End});
    Expect(TokenKind::End);
    return statement;
}

// if = "if" expression "then" statement [ "else" statement ]
StmtPtr Parser::ParseIf()
{
    auto statement = std::make_unique<Stmt>(StmtKind::If, current_.pos);
    Advance();
    statement->value = ParseExpression();
    Expect(TokenKind::Then);
    statement->body = ParseStatement();
    if (Accept(TokenKind::Else))
        statement->otherwise = ParseStatement();
    return statement;
}

// case = "case" expression "of" caseArm { ";" caseArm } [ ";" ] [ "else" statementList ] "end"
StmtPtr Parser::ParseCase()
{
    auto statement = std::make_unique<Stmt>(StmtKind::Case, current_.pos);
    Advance();
    statement->value = ParseExpression();
    Expect(TokenKind::Of);
    while (current_.kind != TokenKind::Else && current_.kind != TokenKind::End) {
        statement->arms.push_back(ParseCaseArm());
        if (!Accept(TokenKind::Semicolon))
            break;
    }
    if (Accept(TokenKind::Else)) {
        statement->hasElse = true;
        statement->otherList = ParseStatementList({TokenKind::End});
    }
    Expect(TokenKind::End);
    return statement;
}

// caseArm = element { "," element } ":" statement
CaseArm Parser::ParseCaseArm()
{
    CaseArm arm;
    do
        arm.labels.push_back(ParseElement());
    while (Accept(TokenKind::Comma));
    Expect(TokenKind::Colon);
    arm.body = ParseStatement();
    return arm;
}

// while = "while" expression "do" statement
StmtPtr Parser::ParseWhile()
{
    auto statement = std::make_unique<Stmt>(StmtKind::While, current_.pos);
    Advance();
    statement->value = ParseExpression();
    Expect(TokenKind::Do);
    statement->body = ParseStatement();
    return statement;
}

// repeat = "repeat" statementList "until" expression
StmtPtr Parser::ParseRepeat()
{
    auto statement = std::make_unique<Stmt>(StmtKind::Repeat, current_.pos);
    Advance();
    statement->list = ParseStatementList({TokenKind::Until});
    Expect(TokenKind::Until);
    statement->value = ParseExpression();
    return statement;
}

// for = "for" ident ":=" expression ( "to" | "downto" ) expression "do" statement
StmtPtr Parser::ParseFor()
{
    auto statement = std::make_unique<Stmt>(StmtKind::For, current_.pos);
    Advance();
    statement->variable = ParseName();
    Expect(TokenKind::Assign);
    statement->value = ParseExpression();
    statement->downto = current_.kind == TokenKind::Downto;
    if (!Accept(TokenKind::To) && !Accept(TokenKind::Downto))
        Fail(QStringLiteral("'to' or 'downto'"));
    statement->limit = ParseExpression();
    Expect(TokenKind::Do);
    statement->body = ParseStatement();
    return statement;
}

// try = "try" statementList ( "except" handlers | "finally" statementList ) "end"
StmtPtr Parser::ParseTry()
{
    auto statement = std::make_unique<Stmt>(StmtKind::Try, current_.pos);
    Advance();
    statement->list = ParseStatementList({TokenKind::Except, TokenKind::Finally});
    if (Accept(TokenKind::Finally)) {
        statement->isFinally = true;
        statement->otherList = ParseStatementList({TokenKind::End});
    } else {
        Expect(TokenKind::Except);
        ParseHandlers(*statement);
    }
    Expect(TokenKind::End);
    return statement;
}

// handlers = statementList
//          | { "on" [ ident ":" ] ident "do" statement [ ";" ] } [ "else" statementList ]
void Parser::ParseHandlers(Stmt &statement)
{
    if (!IsContextualWord("on")) {
        statement.otherList = ParseStatementList({TokenKind::End});
        return;
    }
    while (IsContextualWord("on")) {
        Advance();
        Handler handler;
        handler.type = ParseName();
        if (Accept(TokenKind::Colon)) {
            handler.variable = handler.type;
            handler.type = ParseName();
        }
        Expect(TokenKind::Do);
        handler.body = ParseStatement();
        statement.handlers.push_back(std::move(handler));
        if (!Accept(TokenKind::Semicolon))
            break;
    }
    if (Accept(TokenKind::Else)) {
        statement.hasElse = true;
        statement.otherList = ParseStatementList({TokenKind::End});
    }
}

// raise = "raise" [ expression ]
StmtPtr Parser::ParseRaise()
{
    auto statement = std::make_unique<Stmt>(StmtKind::Raise, current_.pos);
    Advance();
    const TokenKind k = current_.kind;
    if (k != TokenKind::Semicolon && k != TokenKind::End && k != TokenKind::Else && k != TokenKind::Until &&
        k != TokenKind::Except && k != TokenKind::Finally)
        statement->value = ParseExpression();
    return statement;
}

// simpleStatement = designator [ ":=" expression ]
StmtPtr Parser::ParseSimpleStatement()
{
    const SourcePos pos = current_.pos;
    ExprPtr target = ParseDesignator();
    if (Accept(TokenKind::Assign)) {
        auto statement = std::make_unique<Stmt>(StmtKind::Assign, pos);
        statement->target = std::move(target);
        statement->value = ParseExpression();
        return statement;
    }
    auto statement = std::make_unique<Stmt>(StmtKind::Call, pos);
    statement->target = std::move(target);
    return statement;
}

// ---- Expressions ----

ExprPtr Parser::MakeExpr(ExprKind kind, SourcePos pos)
{
    auto expr = std::make_unique<Expr>();
    expr->kind = kind;
    expr->pos = pos;
    return expr;
}

ExprPtr Parser::MakeBinary(TokenKind op, SourcePos pos, ExprPtr left, ExprPtr right)
{
    ExprPtr expr = MakeExpr(ExprKind::Binary, pos);
    expr->op = op;
    expr->depth = 1 + std::max(left->depth, right->depth);
    if (expr->depth > kMaxDepth)
        throw CompileError(pos, QStringLiteral("Expression too complex"));
    expr->left = std::move(left);
    expr->right = std::move(right);
    return expr;
}

ExprPtr Parser::MakeUnary(TokenKind op, SourcePos pos, ExprPtr operand)
{
    ExprPtr expr = MakeExpr(ExprKind::Unary, pos);
    expr->op = op;
    expr->depth = 1 + operand->depth;
    expr->left = std::move(operand);
    return expr;
}

// expression = simpleExpression [ ( "=" | "<>" | "<" | "<=" | ">" | ">=" | "in" ) simpleExpression ]
ExprPtr Parser::ParseExpression()
{
    Nesting nesting(*this);
    ExprPtr left = ParseSimpleExpression();
    switch (current_.kind) {
    case TokenKind::Equal:
    case TokenKind::NotEqual:
    case TokenKind::Less:
    case TokenKind::LessEqual:
    case TokenKind::Greater:
    case TokenKind::GreaterEqual:
    case TokenKind::In: {
        const TokenKind op = current_.kind;
        const SourcePos pos = current_.pos;
        Advance();
        return MakeBinary(op, pos, std::move(left), ParseSimpleExpression());
    }
    default:
        return left;
    }
}

// simpleExpression = term { ( "+" | "-" | "or" | "xor" ) term }
ExprPtr Parser::ParseSimpleExpression()
{
    ExprPtr left = ParseTerm();
    for (;;) {
        const TokenKind op = current_.kind;
        if (op != TokenKind::Plus && op != TokenKind::Minus && op != TokenKind::Or && op != TokenKind::Xor)
            return left;
        const SourcePos pos = current_.pos;
        Advance();
        left = MakeBinary(op, pos, std::move(left), ParseTerm());
    }
}

// term = factor { ( "*" | "/" | "div" | "mod" | "and" | "shl" | "shr" ) factor }
ExprPtr Parser::ParseTerm()
{
    ExprPtr left = ParseFactor();
    for (;;) {
        const TokenKind op = current_.kind;
        if (op != TokenKind::Star && op != TokenKind::Slash && op != TokenKind::Div && op != TokenKind::Mod &&
            op != TokenKind::And && op != TokenKind::Shl && op != TokenKind::Shr)
            return left;
        const SourcePos pos = current_.pos;
        Advance();
        left = MakeBinary(op, pos, std::move(left), ParseFactor());
    }
}

// factor = ( "+" | "-" | "not" ) factor | integer | real | string | "nil" | "(" expression ")"
//        | setLiteral | designator
ExprPtr Parser::ParseFactor()
{
    Nesting nesting(*this);
    const SourcePos pos = current_.pos;
    switch (current_.kind) {
    case TokenKind::Plus:
    case TokenKind::Minus:
    case TokenKind::Not: {
        const TokenKind op = current_.kind;
        Advance();
        return MakeUnary(op, pos, ParseFactor());
    }
    case TokenKind::IntegerLiteral: {
        ExprPtr expr = MakeExpr(ExprKind::Integer, pos);
        expr->integer = current_.integer;
        Advance();
        return expr;
    }
    case TokenKind::RealLiteral: {
        ExprPtr expr = MakeExpr(ExprKind::Real, pos);
        expr->real = current_.real;
        Advance();
        return expr;
    }
    case TokenKind::StringLiteral: {
        ExprPtr expr = MakeExpr(ExprKind::String, pos);
        expr->text = current_.text;
        Advance();
        return expr;
    }
    case TokenKind::Nil:
        Advance();
        return MakeExpr(ExprKind::Nil, pos);
    case TokenKind::LeftBracket:
        return ParseSetLiteral();
    case TokenKind::Identifier:
    case TokenKind::LeftParen:
        return ParseDesignator();
    case TokenKind::At:
        throw CompileError(pos, QStringLiteral("Pointers are not supported"));
    default:
        Fail(QStringLiteral("expression"));
    }
}

// designator = ( ident | "(" expression ")" ) { "." ident | "[" expressionList "]" | "(" [ expressionList ]
// ")" }
ExprPtr Parser::ParseDesignator()
{
    ExprPtr expr;
    if (Accept(TokenKind::LeftParen)) {
        expr = ParseExpression();
        Expect(TokenKind::RightParen);
    } else {
        expr = MakeExpr(ExprKind::Name, current_.pos);
        expr->name = ParseName();
    }
    for (;;) {
        const SourcePos pos = current_.pos;
        ExprPtr next;
        if (Accept(TokenKind::Dot)) {
            next = MakeExpr(ExprKind::Field, pos);
            next->name = ParseName();
        } else if (Accept(TokenKind::LeftBracket)) {
            next = MakeExpr(ExprKind::Index, pos);
            ParseExpressionList(next->args, TokenKind::RightBracket);
        } else if (Accept(TokenKind::LeftParen)) {
            next = MakeExpr(ExprKind::Call, pos);
            next->hasParens = true;
            if (!Accept(TokenKind::RightParen))
                ParseExpressionList(next->args, TokenKind::RightParen);
        } else if (current_.kind == TokenKind::Caret) {
            throw CompileError(pos, QStringLiteral("Pointers are not supported"));
        } else {
            return expr;
        }
        next->depth = expr->depth + 1;
        for (const ExprPtr &arg : next->args)
            next->depth = std::max(next->depth, arg->depth + 1);
        if (next->depth > kMaxDepth)
            throw CompileError(pos, QStringLiteral("Expression too complex"));
        next->left = std::move(expr);
        expr = std::move(next);
    }
}

// expressionList = expression { "," expression }   (then the closing token)
void Parser::ParseExpressionList(std::vector<ExprPtr> &list, TokenKind closing)
{
    do
        list.push_back(ParseExpression());
    while (Accept(TokenKind::Comma));
    Expect(closing);
}

// setLiteral = "[" [ element { "," element } ] "]"
ExprPtr Parser::ParseSetLiteral()
{
    ExprPtr expr = MakeExpr(ExprKind::SetLiteral, current_.pos);
    Advance();
    if (!Accept(TokenKind::RightBracket)) {
        do
            expr->args.push_back(ParseElement());
        while (Accept(TokenKind::Comma));
        Expect(TokenKind::RightBracket);
    }
    for (const ExprPtr &arg : expr->args)
        expr->depth = std::max(expr->depth, arg->depth + 1);
    return expr;
}

// element = expression [ ".." expression ]
ExprPtr Parser::ParseElement()
{
    ExprPtr low = ParseExpression();
    if (current_.kind != TokenKind::DotDot)
        return low;
    const SourcePos pos = low->pos;
    Advance();
    return MakeBinary(TokenKind::DotDot, pos, std::move(low), ParseExpression());
}

} // namespace Script
