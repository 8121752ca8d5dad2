#pragma once

#include "Token.h"

#include <QString>

namespace Script
{

enum class MessageKind { Error, Hint };

// One compiler message, reported as one line: the kind in square brackets, the position in
// parentheses, then the text, e.g. "[Error] (3:5): Expected ';' but found 'x'". A message about the
// engine rather than the text (a compilation refused during a run) has no position.
struct Message {
    MessageKind kind = MessageKind::Error;
    bool hasPos = true;
    SourcePos pos;
    QString text;

    QString Line() const;
};

} // namespace Script
