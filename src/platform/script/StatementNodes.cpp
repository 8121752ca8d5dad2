#include "StatementNodes.h"

#include "Error.h"
#include "ValueNodes.h"

namespace Script
{

namespace
{

// Where an assignment stores: any place, found through Ref...
struct AnyPlace {
    ExprPtr place;
    Value *Cell(Frame &frame) const { return place->Ref(frame); }
};

// ... or a variable, found from its slot.
template <class Where> struct Slot {
    int slot;
    Value *Cell(Frame &frame) const { return Where::Of(frame, slot); }
};

template <class Target> class AssignOrdinal : public Stmt
{
  public:
    AssignOrdinal(Target target, ExprPtr value) : target_(std::move(target)), value_(std::move(value)) {}
    Flow Exec(Frame &frame) const override
    {
        const int64_t v = value_->Int(frame);
        target_.Cell(frame)->i = v;
        return Flow::Next;
    }

  private:
    Target target_;
    ExprPtr value_;
};

template <class Target> class AssignFloat : public Stmt
{
  public:
    AssignFloat(Target target, ExprPtr value) : target_(std::move(target)), value_(std::move(value)) {}
    Flow Exec(Frame &frame) const override
    {
        const double v = value_->Float(frame);
        target_.Cell(frame)->d = v;
        return Flow::Next;
    }

  private:
    Target target_;
    ExprPtr value_;
};

template <class Target> class AssignString : public Stmt
{
  public:
    AssignString(Target target, ExprPtr value) : target_(std::move(target)), value_(std::move(value)) {}
    Flow Exec(Frame &frame) const override
    {
        QString v = value_->Str(frame);
        target_.Cell(frame)->s = std::move(v);
        return Flow::Next;
    }

  private:
    Target target_;
    ExprPtr value_;
};

template <class Target> class AssignValue : public Stmt
{
  public:
    AssignValue(Target target, ExprPtr value) : target_(std::move(target)), value_(std::move(value)) {}
    Flow Exec(Frame &frame) const override
    {
        Value v;
        value_->Eval(frame, v);
        target_.Cell(frame)->Assign(std::move(v));
        return Flow::Next;
    }

  private:
    Target target_;
    ExprPtr value_;
};

template <template <class> class Assign> StmtPtr MakeAssignmentTo(ExprPtr target, ExprPtr value)
{
    if (const auto *local = dynamic_cast<const LocalVariable *>(target.get()))
        return std::make_unique<Assign<Slot<LocalCell>>>(Slot<LocalCell>{local->slot}, std::move(value));
    if (const auto *global = dynamic_cast<const GlobalVariable *>(target.get()))
        return std::make_unique<Assign<Slot<GlobalCell>>>(Slot<GlobalCell>{global->slot}, std::move(value));
    if (const auto *reference = dynamic_cast<const ReferenceParameter *>(target.get()))
        return std::make_unique<Assign<Slot<ReferenceCell>>>(Slot<ReferenceCell>{reference->slot},
                                                             std::move(value));
    return std::make_unique<Assign<AnyPlace>>(AnyPlace{std::move(target)}, std::move(value));
}

} // namespace

StmtPtr MakeAssignment(ExprPtr target, ExprPtr value)
{
    switch (target->type->kind) {
    case TypeKind::Integer:
    case TypeKind::Boolean:
    case TypeKind::Char:
    case TypeKind::Enum:
        return MakeAssignmentTo<AssignOrdinal>(std::move(target), std::move(value));
    case TypeKind::Float:
        return MakeAssignmentTo<AssignFloat>(std::move(target), std::move(value));
    case TypeKind::String:
    case TypeKind::Exception:
        return MakeAssignmentTo<AssignString>(std::move(target), std::move(value));
    default:
        return MakeAssignmentTo<AssignValue>(std::move(target), std::move(value));
    }
}

Flow Sequence::Exec(Frame &frame) const
{
    for (const StmtPtr &statement : statements_) {
        const Flow flow = statement->Exec(frame);
        if (flow != Flow::Next)
            return flow;
    }
    return Flow::Next;
}

Flow Evaluate::Exec(Frame &frame) const
{
    Value ignored;
    expr_->Eval(frame, ignored);
    return Flow::Next;
}

Flow AppendString::Exec(Frame &frame) const
{
    const QString tail = tail_->Str(frame);
    target_->Ref(frame)->s += tail;
    return Flow::Next;
}

Flow AssignStringCharacter::Exec(Frame &frame) const
{
    const int64_t c = value_->Int(frame);
    const int64_t i = index_->Int(frame);
    QString &text = text_->Ref(frame)->s;
    if (i < 1 || i > text.size())
        ThrowIndexError(i, 1, text.size());
    text[i - 1] = QChar(char16_t(c));
    return Flow::Next;
}

Flow If::Exec(Frame &frame) const
{
    if (condition_->Int(frame))
        return then_->Exec(frame);
    return otherwise_ ? otherwise_->Exec(frame) : Flow::Next;
}

Flow While::Exec(Frame &frame) const
{
    while (condition_->Int(frame)) {
        frame.runtime->CheckStop();
        const Flow flow = body_->Exec(frame);
        if (flow == Flow::Break)
            break;
        if (flow == Flow::Exit)
            return flow;
    }
    return Flow::Next;
}

Flow Repeat::Exec(Frame &frame) const
{
    do {
        frame.runtime->CheckStop();
        const Flow flow = body_->Exec(frame);
        if (flow == Flow::Break)
            break;
        if (flow == Flow::Exit)
            return flow;
    } while (!condition_->Int(frame));
    return Flow::Next;
}

Flow For::Exec(Frame &frame) const
{
    const int64_t first = first_->Int(frame);
    const int64_t last = last_->Int(frame);
    const int64_t step = direction_ == ForDirection::Up ? 1 : -1;
    if (direction_ == ForDirection::Up ? first > last : first < last)
        return Flow::Next;
    Value *variable = variable_->Ref(frame);
    for (int64_t v = first;; v += step) {
        variable->i = v;
        frame.runtime->CheckStop();
        const Flow flow = body_->Exec(frame);
        if (flow == Flow::Break)
            break;
        if (flow == Flow::Exit)
            return flow;
        if (v == last)
            break;
    }
    return Flow::Next;
}

Flow Case::Exec(Frame &frame) const
{
    const int64_t v = selector_->Int(frame);
    for (const Label &label : labels_)
        if (v >= label.low && v <= label.high)
            return arms_[label.arm]->Exec(frame);
    return otherwise_ ? otherwise_->Exec(frame) : Flow::Next;
}

Flow TryExcept::Exec(Frame &frame) const
{
    try {
        return body_->Exec(frame);
    } catch (const Error &error) {
        std::vector<QString> &handling = frame.runtime->handling;
        handling.push_back(error.message);
        struct Pop {
            std::vector<QString> &handling;
            ~Pop() { handling.pop_back(); }
        } pop{handling};
        if (variable_)
            variable_->Ref(frame)->s = error.message;
        return handler_->Exec(frame);
    }
}

Flow TryFinally::Exec(Frame &frame) const
{
    Flow flow;
    try {
        flow = body_->Exec(frame);
    } catch (...) {
        cleanup_->Exec(frame);
        throw;
    }
    const Flow cleanupFlow = cleanup_->Exec(frame);
    return cleanupFlow != Flow::Next ? cleanupFlow : flow;
}

Flow Raise::Exec(Frame &frame) const
{
    if (exception_)
        throw Error(exception_->Str(frame));
    const std::vector<QString> &handling = frame.runtime->handling;
    throw Error(handling.empty() ? QString() : handling.back());
}

} // namespace Script
