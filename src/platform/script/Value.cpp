#include "Value.h"

#include <cstring>

namespace Script
{

void Value::Assign(Value &&from)
{
    if (items.empty() || items.size() != from.items.size()) {
        *this = std::move(from);
        return;
    }
    std::memcpy(bits, from.bits, sizeof bits);
    s = std::move(from.s);
    for (size_t i = 0; i < items.size(); ++i)
        items[i].Assign(std::move(from.items[i]));
}

} // namespace Script
