#pragma once

#include "output/FitToAspect.h"

#include <ostream>

// Rectangles printed by their edges in test messages.
inline std::ostream &operator<<(std::ostream &out, const EdgeRect &r)
{
    return out << "(" << r.left << ", " << r.top << ", " << r.right << ", " << r.bottom << ")";
}
