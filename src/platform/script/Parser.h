#pragma once

#include "Lexer.h"
#include "SyntaxTree.h"

#include <initializer_list>

namespace Script
{

// Recursive-descent parser from tokens to the parse tree. Every parse function starts with the
// grammar rule it recognises. Nesting (parentheses, statements inside statements, types inside
// types) and the height of expression trees are bounded, so hostile text cannot exhaust the stack
// here or in the stages that walk the tree afterwards. Faults throw CompileError at the token
// where they are seen.
class Parser
{
  public:
    // Deepest nesting of parse functions and tallest expression tree accepted.
    static constexpr int kMaxDepth = 256;

    explicit Parser(Lexer &lexer);

    // A whole script: [program name;] declarations, then the main begin ... end. block.
    Syntax::Block ParseScript();

    // A routine declared by its text, e.g. "function GetNumber: integer;" (the text must hold
    // nothing more).
    Syntax::RoutineHeading ParseDeclarationText();

    // A type given by its definition text, e.g. "(taLeft, taRight)" or "set of TBorderIcon".
    Syntax::TypePtr ParseTypeText();

  private:
    class Nesting;

    Syntax::Block ParseBlock(bool allowRoutines);
    void ParseVarSection(Syntax::Block &block);
    void ParseConstSection(Syntax::Block &block);
    void ParseTypeSection(Syntax::Block &block);
    Syntax::Routine ParseRoutine();
    Syntax::RoutineHeading ParseRoutineHeading();
    Syntax::ParamGroup ParseParamGroup();

    Syntax::TypePtr ParseType();
    Syntax::TypePtr ParseEnumerationType();
    Syntax::TypePtr ParseArrayType();
    Syntax::TypePtr ParseRecordType();
    Syntax::TypePtr ParseNamedOrSubrangeType();

    Syntax::StmtList ParseStatementList(std::initializer_list<TokenKind> terminators);
    Syntax::StmtPtr ParseStatement();
    Syntax::StmtPtr ParseCompound();
    Syntax::StmtPtr ParseIf();
    Syntax::StmtPtr ParseCase();
    Syntax::CaseArm ParseCaseArm();
    Syntax::StmtPtr ParseWhile();
    Syntax::StmtPtr ParseRepeat();
    Syntax::StmtPtr ParseFor();
    Syntax::StmtPtr ParseTry();
    void ParseHandlers(Syntax::Stmt &statement);
    Syntax::StmtPtr ParseRaise();
    Syntax::StmtPtr ParseSimpleStatement();

    Syntax::ExprPtr ParseExpression();
    Syntax::ExprPtr ParseSimpleExpression();
    Syntax::ExprPtr ParseTerm();
    Syntax::ExprPtr ParseFactor();
    Syntax::ExprPtr ParseDesignator();
    Syntax::ExprPtr ParseSetLiteral();
    Syntax::ExprPtr ParseElement();
    void ParseExpressionList(std::vector<Syntax::ExprPtr> &list, TokenKind closing);

    Syntax::ExprPtr MakeExpr(Syntax::ExprKind kind, SourcePos pos);
    Syntax::ExprPtr MakeBinary(TokenKind op, SourcePos pos, Syntax::ExprPtr left, Syntax::ExprPtr right);
    Syntax::ExprPtr MakeUnary(TokenKind op, SourcePos pos, Syntax::ExprPtr operand);

    std::vector<Syntax::Name> ParseNameList();
    Syntax::Name ParseName();
    bool IsContextualWord(const char *word) const;
    const Token &Peek();
    void Advance();
    bool Accept(TokenKind kind);
    void Expect(TokenKind kind);
    [[noreturn]] void Fail(const QString &expected) const;

    Lexer &lexer_;
    Token current_;
    Token lookahead_;
    bool hasLookahead_ = false;
    int depth_ = 0;
};

} // namespace Script
