#include "Token.h"

#include <QHash>

namespace Script
{

namespace
{

struct Spelling {
    TokenKind kind;
    const char *text;
};

constexpr Spelling kSymbols[] = {
    {TokenKind::Plus, "+"},        {TokenKind::Minus, "-"},
    {TokenKind::Star, "*"},        {TokenKind::Slash, "/"},
    {TokenKind::Equal, "="},       {TokenKind::NotEqual, "<>"},
    {TokenKind::Less, "<"},        {TokenKind::LessEqual, "<="},
    {TokenKind::Greater, ">"},     {TokenKind::GreaterEqual, ">="},
    {TokenKind::LeftParen, "("},   {TokenKind::RightParen, ")"},
    {TokenKind::LeftBracket, "["}, {TokenKind::RightBracket, "]"},
    {TokenKind::Dot, "."},         {TokenKind::DotDot, ".."},
    {TokenKind::Comma, ","},       {TokenKind::Colon, ":"},
    {TokenKind::Semicolon, ";"},   {TokenKind::Assign, ":="},
    {TokenKind::Caret, "^"},       {TokenKind::At, "@"},
};

constexpr Spelling kReservedWords[] = {
    {TokenKind::And, "and"},
    {TokenKind::Array, "array"},
    {TokenKind::Begin, "begin"},
    {TokenKind::Case, "case"},
    {TokenKind::Const, "const"},
    {TokenKind::Div, "div"},
    {TokenKind::Do, "do"},
    {TokenKind::Downto, "downto"},
    {TokenKind::Else, "else"},
    {TokenKind::End, "end"},
    {TokenKind::Except, "except"},
    {TokenKind::Finally, "finally"},
    {TokenKind::For, "for"},
    {TokenKind::Function, "function"},
    {TokenKind::Goto, "goto"},
    {TokenKind::If, "if"},
    {TokenKind::In, "in"},
    {TokenKind::Label, "label"},
    {TokenKind::Mod, "mod"},
    {TokenKind::Nil, "nil"},
    {TokenKind::Not, "not"},
    {TokenKind::Of, "of"},
    {TokenKind::Or, "or"},
    {TokenKind::Packed, "packed"},
    {TokenKind::Procedure, "procedure"},
    {TokenKind::Program, "program"},
    {TokenKind::Raise, "raise"},
    {TokenKind::Record, "record"},
    {TokenKind::Repeat, "repeat"},
    {TokenKind::Set, "set"},
    {TokenKind::Shl, "shl"},
    {TokenKind::Shr, "shr"},
    {TokenKind::Then, "then"},
    {TokenKind::To, "to"},
    {TokenKind::Try, "try"},
    {TokenKind::Type, "type"},
    {TokenKind::Until, "until"},
    {TokenKind::Uses, "uses"},
    {TokenKind::Var, "var"},
    {TokenKind::While, "while"},
    {TokenKind::With, "with"},
    {TokenKind::Xor, "xor"},
};

const char *Spell(TokenKind kind)
{
    for (const Spelling &s : kSymbols)
        if (s.kind == kind)
            return s.text;
    for (const Spelling &s : kReservedWords)
        if (s.kind == kind)
            return s.text;
    return nullptr;
}

} // namespace

QString DescribeKind(TokenKind kind)
{
    switch (kind) {
    case TokenKind::EndOfFile:
        return QStringLiteral("end of file");
    case TokenKind::Identifier:
        return QStringLiteral("identifier");
    case TokenKind::IntegerLiteral:
    case TokenKind::RealLiteral:
        return QStringLiteral("number");
    case TokenKind::StringLiteral:
        return QStringLiteral("string constant");
    default:
        return QLatin1Char('\'') + QLatin1String(Spell(kind)) + QLatin1Char('\'');
    }
}

QString Token::Describe() const
{
    switch (kind) {
    case TokenKind::Identifier:
    case TokenKind::IntegerLiteral:
    case TokenKind::RealLiteral:
        return QLatin1Char('\'') + text + QLatin1Char('\'');
    default:
        return DescribeKind(kind);
    }
}

TokenKind ReservedWord(const QString &key)
{
    static const QHash<QString, TokenKind> words = [] {
        QHash<QString, TokenKind> table;
        for (const Spelling &s : kReservedWords)
            table.insert(QLatin1String(s.text), s.kind);
        return table;
    }();
    return words.value(key, TokenKind::Identifier);
}

} // namespace Script
