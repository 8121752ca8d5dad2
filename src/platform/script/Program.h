#pragma once

#include "Routine.h"

#include <memory>
#include <vector>

namespace Script
{

// A compiled script: what one compilation declared and built, and what a run needs.
struct Program {
    std::vector<std::unique_ptr<Type>> types;
    std::vector<std::unique_ptr<Routine>> routines; // the script's and the host's
    std::vector<Value> globals;                     // initial values; each run starts from a copy
    StmtPtr main;
};

} // namespace Script
