#include "ValueNodes.h"

#include "Error.h"

namespace Script
{

void ThrowIndexError(int64_t index, int64_t low, int64_t high)
{
    throw Error(QStringLiteral("Index %1 out of bounds %2..%3").arg(index).arg(low).arg(high));
}

FieldPlace::FieldPlace(const Type *type, ExprPtr record, int index)
    : Place(type), record_(std::move(record)), index_(index)
{
    runsScript = record_->runsScript;
}

ElementPlace::ElementPlace(const Type *type, ExprPtr array, ExprPtr index)
    : Place(type), array_(std::move(array)), index_(std::move(index)), low_(array_->type->index->low),
      high_(array_->type->index->high)
{
    runsScript = array_->runsScript || index_->runsScript;
}

Value *ElementPlace::Ref(Frame &frame) const
{
    const int64_t i = index_->Int(frame);
    if (i < low_ || i > high_)
        ThrowIndexError(i, low_, high_);
    return &array_->Ref(frame)->items[size_t(i - low_)];
}

PartOfValue::PartOfValue(const Type *type, ExprPtr whole, int fieldIndex)
    : Expr(type), whole_(std::move(whole)), fieldIndex_(fieldIndex)
{
    runsScript = whole_->runsScript;
}

PartOfValue::PartOfValue(const Type *type, ExprPtr whole, ExprPtr index)
    : Expr(type), whole_(std::move(whole)), index_(std::move(index))
{
    runsScript = whole_->runsScript || index_->runsScript;
}

void PartOfValue::Eval(Frame &frame, Value &out) const
{
    Value whole;
    whole_->Eval(frame, whole);
    size_t position = size_t(fieldIndex_);
    if (index_) {
        const Type *indexType = whole_->type->index;
        const int64_t i = index_->Int(frame);
        if (i < indexType->low || i > indexType->high)
            ThrowIndexError(i, indexType->low, indexType->high);
        position = size_t(i - indexType->low);
    }
    out = std::move(whole.items[position]);
}

StringCharacter::StringCharacter(ExprPtr text, ExprPtr index)
    : Expr(StandardTypes::Char()), text_(std::move(text)), index_(std::move(index))
{
    runsScript = text_->runsScript || index_->runsScript;
}

int64_t StringCharacter::Int(Frame &frame) const
{
    const int64_t i = index_->Int(frame);
    if (const Value *cell = text_->Ref(frame)) {
        if (i < 1 || i > cell->s.size())
            ThrowIndexError(i, 1, cell->s.size());
        return cell->s[i - 1].unicode();
    }
    const QString text = text_->Str(frame);
    if (i < 1 || i > text.size())
        ThrowIndexError(i, 1, text.size());
    return text[i - 1].unicode();
}

IntegerToFloat::IntegerToFloat(ExprPtr operand) : Expr(StandardTypes::Double()), operand_(std::move(operand))
{
    runsScript = operand_->runsScript;
}

CharToString::CharToString(ExprPtr operand) : Expr(StandardTypes::String()), operand_(std::move(operand))
{
    runsScript = operand_->runsScript;
}

OrdinalConversion::OrdinalConversion(const Type *type, ExprPtr operand)
    : Expr(type), operand_(std::move(operand))
{
    runsScript = operand_->runsScript;
}

MessageText::MessageText(const Type *type, ExprPtr operand) : Expr(type), operand_(std::move(operand))
{
    runsScript = operand_->runsScript;
}

} // namespace Script
