#pragma once

#include "Token.h"

#include <QString>

namespace Script
{

// A fault in script text or in a declaration, found while scanning, parsing or checking. The
// compilation stops at the first one and reports it as an error message at `pos`.
class CompileError
{
  public:
    CompileError(SourcePos pos, QString text) : pos(pos), text(std::move(text)) {}

    SourcePos pos;
    QString text;
};

} // namespace Script
