#include "Expr.h"

namespace Script
{

int64_t Expr::Int(Frame &frame) const
{
    Value v;
    Eval(frame, v);
    return v.i;
}

double Expr::Float(Frame &frame) const
{
    Value v;
    Eval(frame, v);
    return v.d;
}

QString Expr::Str(Frame &frame) const
{
    Value v;
    Eval(frame, v);
    return v.s;
}

void Expr::Eval(Frame &frame, Value &out) const
{
    switch (type->kind) {
    case TypeKind::Float:
        out.d = Float(frame);
        break;
    case TypeKind::String:
    case TypeKind::Exception:
        out.s = Str(frame);
        break;
    default:
        out.i = Int(frame);
        break;
    }
}

} // namespace Script
