#include "report/expr/RpEvElements.h"

#include "report/expr/RpMessages.h"

#include "platform/core/Exceptions.h"

#include <cstdint>

namespace report {

TRpEvElement* TRpFiFo::Append(std::unique_ptr<TRpEvElement> element)
{
    Elements.push_back(std::move(element));
    return Elements.back().get();
}

TRpEvValue TRpFiFo::EvaluateNext()
{
    TRpEvElement* element = Next();
    if (element == nullptr)
        return TRpEvValue::Error(FormatMessage(msg::ErrorInExpression, {""}));
    return element->Evaluate(*this);
}

TRpEvValue TRpEvElementString::Evaluate(TRpFiFo&)
{
    TRpEvValue r;
    r.Kind = evString;
    r.StringValue = text_;
    return r;
}

// --- data field ----------------------------------------------------------------

TRpEvElementDataField::TRpEvElementDataField(data::TDataSet* dataSet, int position, data::TField* field)
    : dataSet_(dataSet), position_(position), field_(field), fieldName_(field ? field->FieldName() : "")
{
}

TRpEvValue TRpEvElementDataField::Evaluate(TRpFiFo&)
{
    // Default fields are made anew whenever the data set opens: the one seen
    // at parse time may be gone, its position is what stays.
    if (dataSet_ != nullptr && dataSet_->DefaultFields())
        field_ = position_ < dataSet_->FieldCount() ? dataSet_->Fields()->Fields(position_) : nullptr;
    if (field_ == nullptr)
        return TRpEvValue::Error(FormatMessage(msg::FieldUnknownType, {fieldName_}));
    try {
        return FieldValue();
    } catch (const core::Exception& e) {
        // A value the field cannot give (a closed data set, a text that is no
        // number) is shown like every other fault of an expression.
        return TRpEvValue::Error(e.Message());
    }
}

TRpEvValue TRpEvElementDataField::FieldValue() const
{
    switch (field_->DataType()) {
    case data::ftString:
    case data::ftWideString:
    case data::ftWideMemo:
        return TRpEvValue::String(field_->AsString());
    case data::ftInteger:
    case data::ftAutoInc:
        return TRpEvValue::Integer(field_->AsInteger());
    case data::ftLargeint: {
        // Wider than the language's integers: a float when it does not fit.
        const std::int64_t v = field_->AsLargeInt();
        if (v >= INT32_MIN && v <= INT32_MAX)
            return TRpEvValue::Integer(static_cast<std::int32_t>(v));
        return TRpEvValue::Float(static_cast<double>(v));
    }
    case data::ftFloat:
        return TRpEvValue::Float(field_->AsFloat());
    case data::ftBoolean:
        return TRpEvValue::Boolean(field_->AsBoolean());
    case data::ftDateTime:
        return TRpEvValue::String(field_->DisplayText());
    case data::ftUnknown:
        break;
    }
    return TRpEvValue::Error(FormatMessage(msg::FieldUnknownType, {field_->FieldName()}));
}

// --- operators -----------------------------------------------------------------

namespace {

std::string_view OperatorText(TRpOperation operation)
{
    switch (operation) {
    case opLess: return "<";
    case opLessEqual: return "<=";
    case opGreater: return ">";
    case opGreaterEqual: return ">=";
    case opOr: return "OR";
    case opAnd: return "AND";
    default: return {};
    }
}

// Integer arithmetic wraps around in 32 bits, as the language always had it.
std::int32_t Wrap(std::uint32_t v) { return static_cast<std::int32_t>(v); }

template <class T>
TRpEvValue Compare(TRpOperation operation, const T& a, const T& b)
{
    switch (operation) {
    case opLess: return TRpEvValue::Boolean(a < b);
    case opLessEqual: return TRpEvValue::Boolean(a <= b);
    case opGreater: return TRpEvValue::Boolean(a > b);
    case opGreaterEqual: return TRpEvValue::Boolean(a >= b);
    case opEqual: return TRpEvValue::Boolean(a == b);
    case opNotEqual: return TRpEvValue::Boolean(!(a == b));
    default: return {};
    }
}

TRpEvValue CannotOperate(std::string_view verb, std::string_view kind)
{
    return TRpEvValue::Error(FormatMessage(msg::CannotOperate, {verb, kind}));
}

TRpEvValue NotCompatible(TRpOperation operation, std::string_view kind)
{
    return TRpEvValue::Error(FormatMessage(msg::OperatorNotCompatible, {OperatorText(operation), kind}));
}

TRpEvValue IntegerOperation(TRpOperation operation, std::int32_t a, std::int32_t b)
{
    const auto ua = static_cast<std::uint32_t>(a);
    const auto ub = static_cast<std::uint32_t>(b);
    switch (operation) {
    case opPlus: return TRpEvValue::Integer(Wrap(ua + ub));
    case opMinus: return TRpEvValue::Integer(Wrap(ua - ub));
    case opTimes: return TRpEvValue::Integer(Wrap(ua * ub));
    case opDivide:
        if (b == 0)
            return TRpEvValue::Error(msg::DivideByZero);
        return TRpEvValue::Float(static_cast<double>(a) / static_cast<double>(b));
    case opOr: return TRpEvValue::Integer(a | b);
    case opAnd: return TRpEvValue::Integer(a & b);
    default: return Compare(operation, a, b);
    }
}

TRpEvValue FloatOperation(TRpOperation operation, double a, double b)
{
    switch (operation) {
    case opPlus: return TRpEvValue::Float(a + b);
    case opMinus: return TRpEvValue::Float(a - b);
    case opTimes: return TRpEvValue::Float(a * b);
    case opDivide:
        if (b == 0.0)
            return TRpEvValue::Error(msg::DivideByZero);
        return TRpEvValue::Float(a / b);
    case opOr:
    case opAnd: return NotCompatible(operation, msg::KindNumeric);
    default: return Compare(operation, a, b);
    }
}

TRpEvValue StringOperation(TRpOperation operation, TRpEvValue& left, const TRpEvValue& right)
{
    switch (operation) {
    case opPlus:
        if (left.StringValue.size() + right.StringValue.size() <= kMaxValueText)
            left.StringValue += right.StringValue;
        else
            left.StringValue = CutValueText(left.StringValue + right.StringValue);
        return std::move(left);
    case opMinus: return CannotOperate(msg::VerbSubtract, msg::KindString);
    case opTimes: return CannotOperate(msg::VerbMultiply, msg::KindString);
    case opDivide: return CannotOperate(msg::VerbDivide, msg::KindString);
    case opOr:
    case opAnd: return NotCompatible(operation, msg::KindString);
    default:
        // Byte-wise ordinal order; a proper prefix sorts first.
        return Compare(operation, left.StringValue, right.StringValue);
    }
}

TRpEvValue BooleanOperation(TRpOperation operation, bool a, bool b)
{
    switch (operation) {
    case opEqual: return TRpEvValue::Boolean(a == b);
    case opNotEqual: return TRpEvValue::Boolean(a != b);
    case opPlus: return CannotOperate(msg::VerbAdd, msg::KindBoolean);
    case opMinus: return CannotOperate(msg::VerbSubtract, msg::KindBoolean);
    case opTimes: return CannotOperate(msg::VerbMultiply, msg::KindBoolean);
    case opDivide: return CannotOperate(msg::VerbDivide, msg::KindBoolean);
    case opOr: return TRpEvValue::Boolean(a || b);
    case opAnd: return TRpEvValue::Boolean(a && b);
    default: return NotCompatible(operation, msg::KindBoolean);
    }
}

// Values of different kinds meet as floats when both are numbers, else as texts.
void CoerceOperands(TRpEvValue& left, TRpEvValue& right)
{
    if (left.Kind == right.Kind)
        return;
    if (left.IsNumeric() && right.IsNumeric()) {
        for (TRpEvValue* v : {&left, &right})
            if (v->Kind == evInteger)
                *v = TRpEvValue::Float(v->IntegerValue);
        return;
    }
    left = TRpEvValue::String(ResultToText(left));
    right = TRpEvValue::String(ResultToText(right));
}

} // namespace

TRpEvValue ApplyOperator(TRpOperation operation, TRpEvValue left, TRpEvValue right)
{
    if (left.IsError())
        return left;
    if (right.IsError())
        return right;
    CoerceOperands(left, right);
    switch (left.Kind) {
    case evInteger: return IntegerOperation(operation, left.IntegerValue, right.IntegerValue);
    case evFloat: return FloatOperation(operation, left.FloatValue, right.FloatValue);
    case evString: return StringOperation(operation, left, right);
    case evBoolean: return BooleanOperation(operation, left.BooleanValue, right.BooleanValue);
    case evError: break;
    }
    return left;
}

TRpEvValue TRpEvElementOperator::Evaluate(TRpFiFo& list)
{
    TRpEvValue left = list.EvaluateNext();
    TRpEvValue right = list.EvaluateNext();
    return ApplyOperator(Operation, std::move(left), std::move(right));
}

TRpEvValue TRpEvElementNot::Evaluate(TRpFiFo& list)
{
    const TRpEvValue operand = list.EvaluateNext();
    if (operand.Kind != evBoolean)
        return TRpEvValue::Error(msg::InvalidNot);
    return TRpEvValue::Boolean(!operand.BooleanValue);
}

TRpEvValue TRpEvElementArgumentEnd::Evaluate(TRpFiFo&)
{
    // Only a damaged list hands the mark out as an operand.
    return TRpEvValue::Error(FormatMessage(msg::ErrorInExpression, {""}));
}

// --- functions -----------------------------------------------------------------

void TRpEvElementFunction::FetchArguments(TRpFiFo& list)
{
    Arguments.clear();
    while (TRpEvElement* element = list.Next()) {
        if (element->IsArgumentEnd())
            break;
        Arguments.push_back(element->Evaluate(list));
    }
}

void TRpEvElementFunction::Compute(TRpEvValue& result) { MakeErrorValue(result, ""); }

TRpEvValue TRpEvElementFunction::Evaluate(TRpFiFo& list)
{
    FetchArguments(list);
    if (list.Aggregating)
        Accumulate();
    TRpEvValue result;
    Compute(result);
    ReleaseArguments();
    return result;
}

} // namespace report
