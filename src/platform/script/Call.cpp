#include "Call.h"

namespace Script
{

QString Call::String(int i) const
{
    if (routine_.params[i].type->kind == TypeKind::Char)
        return QString(QChar(char16_t(arguments_[i]->i)));
    return arguments_[i]->s;
}

} // namespace Script
