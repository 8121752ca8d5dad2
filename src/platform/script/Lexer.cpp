#include "Lexer.h"

#include "CompileError.h"

#include <limits>

namespace Script
{

namespace
{

bool IsIdentifierStart(QChar c)
{
    return (c >= QLatin1Char('a') && c <= QLatin1Char('z')) ||
           (c >= QLatin1Char('A') && c <= QLatin1Char('Z')) || c == QLatin1Char('_');
}

bool IsDigit(QChar c)
{
    return c >= QLatin1Char('0') && c <= QLatin1Char('9');
}

int HexDigit(QChar c)
{
    if (IsDigit(c))
        return c.unicode() - '0';
    const char16_t lower = c.toLower().unicode();
    return lower >= 'a' && lower <= 'f' ? lower - 'a' + 10 : -1;
}

} // namespace

Lexer::Lexer(QString text) : text_(std::move(text)) {}

QChar Lexer::At(qsizetype offset) const
{
    const qsizetype i = index_ + offset;
    return i < text_.size() ? text_[i] : QChar();
}

void Lexer::Advance()
{
    if (At() == QLatin1Char('\n')) {
        ++line_;
        lineStart_ = index_ + 1;
    }
    ++index_;
}

Token Lexer::Next()
{
    SkipLayout();
    Token token;
    token.pos = Pos();
    if (index_ >= text_.size()) {
        preprocessor_.Finish(token.pos);
        token.kind = TokenKind::EndOfFile;
        return token;
    }
    const QChar c = At();
    if (IsDigit(c))
        return ScanNumber(token);
    if (c == QLatin1Char('$'))
        return ScanHexNumber(token);
    if (IsIdentifierStart(c))
        return ScanIdentifier(token);
    if (c == QLatin1Char('\'') || c == QLatin1Char('#'))
        return ScanString(token);
    return ScanSymbol(token);
}

// Blanks, line ends, comments, directives, and all text that the preprocessor leaves out.
void Lexer::SkipLayout()
{
    while (index_ < text_.size()) {
        const QChar c = At();
        if (c.isSpace() || c == QChar(0))
            Advance();
        else if (SkipComment())
            continue;
        else if (!preprocessor_.Skipping())
            return;
        else if (c == QLatin1Char('\''))
            SkipQuotedInSkippedText();
        else
            Advance();
    }
}

// Skips the comment or directive that starts here, if any.
bool Lexer::SkipComment()
{
    const SourcePos start = Pos();
    if (At() == QLatin1Char('/') && At(1) == QLatin1Char('/')) {
        while (index_ < text_.size() && At() != QLatin1Char('\n'))
            Advance();
        return true;
    }
    QString terminator;
    if (At() == QLatin1Char('{')) {
        Advance();
        terminator = QStringLiteral("}");
    } else if (At() == QLatin1Char('(') && At(1) == QLatin1Char('*')) {
        Advance();
        Advance();
        terminator = QStringLiteral("*)");
    } else {
        return false;
    }
    const bool directive = At() == QLatin1Char('$');
    const QString body = ReadUntil(terminator, start);
    if (directive)
        preprocessor_.Directive(body.mid(1), start);
    return true;
}

// In left-out text a quote starts a string that ends at the next quote or at the line's end, so
// that braces inside it are not taken for comments.
void Lexer::SkipQuotedInSkippedText()
{
    Advance();
    while (index_ < text_.size() && At() != QLatin1Char('\'') && At() != QLatin1Char('\n'))
        Advance();
    if (At() == QLatin1Char('\''))
        Advance();
}

QString Lexer::ReadUntil(const QString &terminator, SourcePos start)
{
    const qsizetype end = text_.indexOf(terminator, index_);
    if (end < 0)
        throw CompileError(start, QStringLiteral("Unterminated comment"));
    const QString body = text_.mid(index_, end - index_);
    while (index_ < end + terminator.size())
        Advance();
    return body;
}

// number = digits [ "." digits ] [ ("e"|"E") ["+"|"-"] digits ]
Token Lexer::ScanNumber(Token token)
{
    const qsizetype start = index_;
    bool real = false;
    while (IsDigit(At()))
        Advance();
    if (At() == QLatin1Char('.') && IsDigit(At(1))) {
        real = true;
        Advance();
        while (IsDigit(At()))
            Advance();
    }
    if (At() == QLatin1Char('e') || At() == QLatin1Char('E')) {
        real = true;
        Advance();
        if (At() == QLatin1Char('+') || At() == QLatin1Char('-'))
            Advance();
        if (!IsDigit(At()))
            throw CompileError(token.pos, QStringLiteral("Invalid number"));
        while (IsDigit(At()))
            Advance();
    }
    token.text = text_.mid(start, index_ - start);
    bool ok = false;
    if (real) {
        token.kind = TokenKind::RealLiteral;
        token.real = token.text.toDouble(&ok);
    } else {
        token.kind = TokenKind::IntegerLiteral;
        token.integer = token.text.toLongLong(&ok);
        if (!ok)
            throw CompileError(token.pos, QStringLiteral("Integer constant too large"));
    }
    if (!ok)
        throw CompileError(token.pos, QStringLiteral("Invalid number"));
    return token;
}

// hexNumber = "$" hexDigit { hexDigit }   (at most 16 digits; the bits make an Int64)
Token Lexer::ScanHexNumber(Token token)
{
    Advance();
    const qsizetype start = index_;
    uint64_t value = 0;
    while (HexDigit(At()) >= 0) {
        if (index_ - start == 16)
            throw CompileError(token.pos, QStringLiteral("Integer constant too large"));
        value = value * 16 + uint64_t(HexDigit(At()));
        Advance();
    }
    if (index_ == start)
        throw CompileError(token.pos, QStringLiteral("Invalid number"));
    token.kind = TokenKind::IntegerLiteral;
    token.text = QLatin1Char('$') + text_.mid(start, index_ - start);
    token.integer = int64_t(value);
    return token;
}

Token Lexer::ScanIdentifier(Token token)
{
    const qsizetype start = index_;
    while (IsIdentifierStart(At()) || IsDigit(At()))
        Advance();
    token.text = text_.mid(start, index_ - start);
    token.key = token.text.toLower();
    token.kind = ReservedWord(token.key);
    return token;
}

// string = piece { piece }   with no blank between pieces
// piece  = "'" { character | "''" } "'" | "#" ( digits | "$" hexDigits )
Token Lexer::ScanString(Token token)
{
    token.kind = TokenKind::StringLiteral;
    for (;;) {
        if (At() == QLatin1Char('#')) {
            Advance();
            token.text += QChar(ScanCharCode());
        } else if (At() == QLatin1Char('\'')) {
            Advance();
            for (;;) {
                if (index_ >= text_.size() || At() == QLatin1Char('\n'))
                    throw CompileError(token.pos, QStringLiteral("Unterminated string"));
                if (At() == QLatin1Char('\'')) {
                    if (At(1) != QLatin1Char('\''))
                        break;
                    Advance();
                }
                token.text += At();
                Advance();
            }
            Advance();
        } else {
            return token;
        }
    }
}

char16_t Lexer::ScanCharCode()
{
    const SourcePos pos = Pos();
    const bool hex = At() == QLatin1Char('$');
    if (hex)
        Advance();
    const int base = hex ? 16 : 10;
    uint32_t code = 0;
    int digits = 0;
    for (int digit; (digit = hex ? HexDigit(At()) : (IsDigit(At()) ? At().unicode() - '0' : -1)) >= 0;
         ++digits) {
        code = code * base + uint32_t(digit);
        if (code > 0xFFFF)
            throw CompileError(pos, QStringLiteral("Character code out of range"));
        Advance();
    }
    if (digits == 0)
        throw CompileError(pos, QStringLiteral("Invalid character code"));
    return char16_t(code);
}

Token Lexer::ScanSymbol(Token token)
{
    struct Symbol {
        const char *text;
        TokenKind kind;
    };
    // Two-character symbols first, so that ":=" is not read as ":".
    static constexpr Symbol symbols[] = {
        {"<>", TokenKind::NotEqual},    {"<=", TokenKind::LessEqual}, {">=", TokenKind::GreaterEqual},
        {":=", TokenKind::Assign},      {"..", TokenKind::DotDot},    {"+", TokenKind::Plus},
        {"-", TokenKind::Minus},        {"*", TokenKind::Star},       {"/", TokenKind::Slash},
        {"=", TokenKind::Equal},        {"<", TokenKind::Less},       {">", TokenKind::Greater},
        {"(", TokenKind::LeftParen},    {")", TokenKind::RightParen}, {"[", TokenKind::LeftBracket},
        {"]", TokenKind::RightBracket}, {".", TokenKind::Dot},        {",", TokenKind::Comma},
        {":", TokenKind::Colon},        {";", TokenKind::Semicolon},  {"^", TokenKind::Caret},
        {"@", TokenKind::At},
    };
    for (const Symbol &symbol : symbols) {
        const QLatin1String text(symbol.text);
        if (QStringView(text_).mid(index_, text.size()) == text) {
            for (qsizetype i = 0; i < text.size(); ++i)
                Advance();
            token.kind = symbol.kind;
            token.text = text;
            return token;
        }
    }
    const QChar c = At();
    const QString shown =
        c.isPrint() ? QString(c) : QStringLiteral("#$%1").arg(c.unicode(), 2, 16, QLatin1Char('0'));
    throw CompileError(token.pos, QStringLiteral("Illegal character '%1'").arg(shown));
}

} // namespace Script
