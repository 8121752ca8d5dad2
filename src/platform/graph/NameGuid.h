#pragma once

#include "platform/core/Guid.h"

#include <string_view>

// A stable identifier made from a name within a name space (a 128-bit FNV-1a hash of both, with
// the variant and version bits of a name-based GUID), so classes made per FFmpeg codec keep their
// identifiers from run to run and machine to machine.
Guid NameGuid(std::string_view nameSpace, std::string_view name);
