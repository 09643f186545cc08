#include "report/expr/RpEvValue.h"

#include "platform/core/Exceptions.h"
#include "platform/core/Unicode.h"
#include "report/expr/RpMessages.h"
#include "report/expr/RpNumbers.h"

namespace report {

std::string CutValueText(std::string_view text)
{
    // A UTF-8 character takes at least one byte: short texts need no count.
    if (text.size() <= kMaxValueText)
        return std::string(text);
    return core::Utf8Copy(text, 0, kMaxValueText);
}

TRpEvValue TRpEvValue::Integer(std::int32_t v)
{
    TRpEvValue r;
    r.Kind = evInteger;
    r.IntegerValue = v;
    return r;
}

TRpEvValue TRpEvValue::Float(double v)
{
    TRpEvValue r;
    r.Kind = evFloat;
    r.FloatValue = v;
    return r;
}

TRpEvValue TRpEvValue::String(std::string_view text)
{
    TRpEvValue r;
    r.Kind = evString;
    r.StringValue = CutValueText(text);
    return r;
}

TRpEvValue TRpEvValue::Boolean(bool v)
{
    TRpEvValue r;
    r.Kind = evBoolean;
    r.BooleanValue = v;
    return r;
}

TRpEvValue TRpEvValue::Error(std::string_view message)
{
    TRpEvValue r;
    MakeErrorValue(r, message);
    return r;
}

void MakeErrorValue(TRpEvValue& value, std::string_view message)
{
    value.Kind = evError;
    value.StringValue = CutValueText(message);
}

std::string ResultToText(const TRpEvValue& value)
{
    switch (value.Kind) {
    case evInteger:
        return std::to_string(value.IntegerValue);
    case evFloat:
        return FloatToText(value.FloatValue);
    case evString:
        return value.StringValue;
    case evBoolean:
        return value.BooleanValue ? "True" : "False";
    case evError:
        break;
    }
    throw core::Exception(FormatMessage(msg::ErrorInExpression, {value.StringValue}));
}

std::string_view KindName(TRpEvKind kind)
{
    switch (kind) {
    case evInteger: return "INTEGER";
    case evFloat: return "FLOAT";
    case evString: return "STRING";
    case evBoolean: return "BOOLEAN";
    case evError: return "ERROR";
    }
    return {};
}

} // namespace report
