#pragma once

#include "Token.h"

#include <QSet>
#include <QString>

#include <vector>

namespace Script
{

// The conditional-compilation state of one scan: {$DEFINE}, {$UNDEF}, {$IFDEF}, {$IFNDEF}, {$ELSE}
// and {$ENDIF}. Include directives are refused, since scripts are self-contained; other switches
// ({$R+}, {$H+}, {$I-} ...) mean nothing here and are ignored.
class Preprocessor
{
  public:
    // Handles the directive whose text (between "{$" and the closing brace) is `body`, found at
    // `pos`. Throws CompileError for an include, an unbalanced {$ELSE}/{$ENDIF} or an unsupported
    // conditional.
    void Directive(const QString &body, SourcePos pos);

    // True while the text is inside a branch that is left out.
    bool Skipping() const { return !open_.empty() && !open_.back().taken; }

    // Throws CompileError when a conditional is still open at the end of the text at `end`.
    void Finish(SourcePos end) const;

  private:
    struct Branch {
        bool enclosingActive;
        bool taken;
        bool elseSeen;
        SourcePos pos;
    };

    void Open(bool condition, SourcePos pos);

    QSet<QString> defines_;
    std::vector<Branch> open_;
};

} // namespace Script
