#pragma once

#include "Expr.h"
#include "SyntaxTree.h"

#include <functional>

namespace Script
{

class Call;

// A routine bound from C++: it reads its arguments from the call and sets its result there. It
// runs on the thread that runs the script. Throwing Error (or any std::exception) raises a
// run-time error with that message in the script.
using NativeFunction = std::function<void(Call &call)>;

struct Parameter {
    QString name;
    const Type *type;
    Syntax::ParamMode mode;

    bool ByReference() const { return mode == Syntax::ParamMode::Var || mode == Syntax::ParamMode::Out; }
};

// A procedure or function: written in the script (body, frame layout) or bound from C++ (native).
struct Routine {
    QString name;
    SourcePos pos;
    std::vector<Parameter> params;
    const Type *result = StandardTypes::Void();

    // Script routines. A frame holds the parameters first, then the result, then the locals; a new
    // call starts from a copy of `prototype`, which has every cell initialised for its type.
    StmtPtr body; // null while only declared forward
    int resultSlot = -1;
    std::vector<Value> prototype;
    int64_t cells = 0; // what the prototype's cells hold, items of records and arrays included

    NativeFunction native;

    bool IsFunction() const { return result->kind != TypeKind::Void; }
};

} // namespace Script
