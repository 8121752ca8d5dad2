#pragma once

#include "Intrinsic.h"
#include "Token.h"
#include "Type.h"

#include <QString>

namespace Script
{

struct Routine;

enum class SymbolKind { Constant, Variable, Type, Routine, Intrinsic };

// Where a variable's cell is: in the globals, in the running routine's frame, or behind the
// address a var parameter holds in that frame.
enum class Storage { Global, Local, Reference };

// What a name means in a scope.
struct Symbol {
    explicit Symbol(SymbolKind kind) : kind(kind) {}

    SymbolKind kind;
    QString name;
    SourcePos pos;
    const Type *type = nullptr; // constants, variables, types

    Value value; // constants

    Storage storage = Storage::Global; // variables
    int slot = 0;
    bool readOnly = false;     // const parameters, and for-loop variables inside their loop
    bool used = false;         // read or written somewhere
    bool reportUnused = false; // a hint is due when the variable is never used

    Routine *routine = nullptr; // routines
    bool forward = false;       // declared forward, body still to come
    // A standard routine that a host routine of the same name hides; calls whose argument count
    // fits it and not the host routine still reach it (the "Copy;" command and Copy(s, i, n)).
    const Symbol *hidden = nullptr;

    Intrinsic intrinsic = Intrinsic::Length; // intrinsics
};

} // namespace Script
