#include "CallNodes.h"

#include "Call.h"
#include "Error.h"

#include <array>

namespace Script
{

ScriptCall::ScriptCall(const Routine &routine, std::vector<ExprPtr> arguments)
    : Expr(routine.result), routine_(routine), arguments_(std::move(arguments))
{
    runsScript = true;
    isCall = true;
}

void ScriptCall::Invoke(Frame &frame, std::vector<Value> &cells) const
{
    CallScope scope(*frame.runtime, routine_.cells);
    cells = routine_.prototype;
    for (size_t i = 0; i < arguments_.size(); ++i) {
        if (routine_.params[i].ByReference())
            cells[i].ref = arguments_[i]->Ref(frame);
        else
            arguments_[i]->Eval(frame, cells[i]);
    }
    Frame callee{cells.data(), frame.globals, frame.runtime};
    routine_.body->Exec(callee);
}

int64_t ScriptCall::Int(Frame &frame) const
{
    std::vector<Value> cells;
    Invoke(frame, cells);
    return cells[size_t(routine_.resultSlot)].i;
}

double ScriptCall::Float(Frame &frame) const
{
    std::vector<Value> cells;
    Invoke(frame, cells);
    return cells[size_t(routine_.resultSlot)].d;
}

QString ScriptCall::Str(Frame &frame) const
{
    std::vector<Value> cells;
    Invoke(frame, cells);
    return std::move(cells[size_t(routine_.resultSlot)].s);
}

void ScriptCall::Eval(Frame &frame, Value &out) const
{
    std::vector<Value> cells;
    Invoke(frame, cells);
    if (routine_.IsFunction())
        out = std::move(cells[size_t(routine_.resultSlot)]);
}

NativeCall::NativeCall(const Routine &routine, std::vector<ExprPtr> arguments)
    : Expr(routine.result), routine_(routine), arguments_(std::move(arguments))
{
    isCall = true;
    for (size_t i = 0; i < arguments_.size(); ++i)
        runsScript = runsScript || arguments_[i]->runsScript || routine_.params[i].ByReference();
}

void NativeCall::Invoke(Frame &frame, Value &result) const
{
    // Most bound routines take a few arguments: keep their cells on the stack.
    constexpr size_t kInline = 4;
    std::array<Value, kInline> inlineCells;
    std::array<Value *, kInline> inlinePointers;
    std::vector<Value> moreCells;
    std::vector<Value *> morePointers;
    Value *cells = inlineCells.data();
    Value **pointers = inlinePointers.data();
    if (arguments_.size() > kInline) {
        moreCells.resize(arguments_.size());
        morePointers.resize(arguments_.size());
        cells = moreCells.data();
        pointers = morePointers.data();
    }
    for (size_t i = 0; i < arguments_.size(); ++i) {
        if (routine_.params[i].ByReference()) {
            pointers[i] = arguments_[i]->Ref(frame);
        } else {
            arguments_[i]->Eval(frame, cells[i]);
            pointers[i] = &cells[i];
        }
    }
    Call call(routine_, pointers, result);
    try {
        routine_.native(call);
    } catch (const Error &) {
        throw;
    } catch (const std::exception &e) {
        throw Error(QString::fromUtf8(e.what()));
    }
}

int64_t NativeCall::Int(Frame &frame) const
{
    Value result;
    Invoke(frame, result);
    return result.i;
}

double NativeCall::Float(Frame &frame) const
{
    Value result;
    Invoke(frame, result);
    return result.d;
}

QString NativeCall::Str(Frame &frame) const
{
    Value result;
    Invoke(frame, result);
    return result.s;
}

void NativeCall::Eval(Frame &frame, Value &out) const
{
    Value result;
    routine_.result->Initialize(result);
    Invoke(frame, result);
    out = std::move(result);
}

} // namespace Script
