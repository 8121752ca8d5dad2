#pragma once

#include "Preprocessor.h"
#include "Token.h"

#include <QString>

namespace Script
{

// Scanner: turns script text into tokens. Handles the three comment forms (//, { }, (* *)),
// compiler directives (through its preprocessor, which may leave text out), decimal, real and "$"
// hexadecimal numbers, and string constants made of quoted pieces and #nn characters written
// together ('a'#13#10'b'). Identifiers and reserved words ignore case.
class Lexer
{
  public:
    // `text` is the whole script with its lines joined by '\n'; positions count lines from 1.
    explicit Lexer(QString text);

    // The next token; EndOfFile at the end (and ever after). Throws CompileError at a fault.
    Token Next();

  private:
    QChar At(qsizetype offset = 0) const;
    SourcePos Pos() const { return {line_, int(index_ - lineStart_) + 1}; }
    void Advance();
    void SkipLayout();
    bool SkipComment();
    void SkipQuotedInSkippedText();
    QString ReadUntil(const QString &terminator, SourcePos start);
    Token ScanNumber(Token token);
    Token ScanHexNumber(Token token);
    Token ScanIdentifier(Token token);
    Token ScanString(Token token);
    char16_t ScanCharCode();
    Token ScanSymbol(Token token);

    QString text_;
    qsizetype index_ = 0;
    qsizetype lineStart_ = 0;
    int line_ = 1;
    Preprocessor preprocessor_;
};

} // namespace Script
