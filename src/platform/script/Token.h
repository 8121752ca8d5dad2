#pragma once

#include <QString>

#include <cstdint>

namespace Script
{

enum class TokenKind {
    EndOfFile,
    Identifier,
    IntegerLiteral,
    RealLiteral,
    StringLiteral,
    // Symbols
    Plus,
    Minus,
    Star,
    Slash,
    Equal,
    NotEqual,
    Less,
    LessEqual,
    Greater,
    GreaterEqual,
    LeftParen,
    RightParen,
    LeftBracket,
    RightBracket,
    Dot,
    DotDot,
    Comma,
    Colon,
    Semicolon,
    Assign,
    Caret,
    At,
    // Reserved words
    And,
    Array,
    Begin,
    Case,
    Const,
    Div,
    Do,
    Downto,
    Else,
    End,
    Except,
    Finally,
    For,
    Function,
    Goto,
    If,
    In,
    Label,
    Mod,
    Nil,
    Not,
    Of,
    Or,
    Packed,
    Procedure,
    Program,
    Raise,
    Record,
    Repeat,
    Set,
    Shl,
    Shr,
    Then,
    To,
    Try,
    Type,
    Until,
    Uses,
    Var,
    While,
    With,
    Xor,
};

// Where a token or a message starts: line and column, both counted from 1.
struct SourcePos {
    int line = 1;
    int column = 1;
};

// One token of script text. Identifiers keep their spelling in `text` and their case-folded form in
// `key`; a string literal holds its decoded characters in `text` (quotes undoubled, #nn resolved).
struct Token {
    TokenKind kind = TokenKind::EndOfFile;
    SourcePos pos;
    QString text;
    QString key;
    int64_t integer = 0;
    double real = 0;

    // The token as messages quote it: 'begin', 'x', end of file.
    QString Describe() const;
};

// The spelling of a token kind in messages: ";" gives "';'", Begin gives "'begin'".
QString DescribeKind(TokenKind kind);

// The reserved word spelled by a case-folded identifier, or Identifier when it is none.
TokenKind ReservedWord(const QString &key);

} // namespace Script
