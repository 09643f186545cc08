#include "report/expr/RpFunctions.h"

#include "platform/core/DateTime.h"
#include "platform/core/FormatSettings.h"
#include "platform/core/Letters.h"
#include "platform/core/Unicode.h"
#include "report/expr/RpMessages.h"
#include "report/expr/RpNumbers.h"

#include <algorithm>
#include <cmath>

namespace report {

namespace {

TRpEvValue WrongArguments(std::string_view name)
{
    return TRpEvValue::Error(FormatMessage(msg::WrongArguments, {name}));
}

// An integer of the 64-bit range from a float, or none when the float is
// not a number or lies outside it.
bool ToInt64(double value, std::int64_t& out)
{
    if (!(value >= -9223372036854775808.0 && value < 9223372036854775808.0))
        return false;
    out = static_cast<std::int64_t>(value);
    return true;
}

std::int32_t Low32(std::int64_t value) { return static_cast<std::int32_t>(static_cast<std::uint32_t>(value)); }

// The shared rule of UPPER, LOWER and PRETTY: one text argument.
template <class Transform>
void TextFunction(const std::vector<TRpEvValue>& arguments, TRpEvValue& result, std::string_view name,
                  Transform transform)
{
    if (arguments.size() != 1) {
        result = TRpEvValue::Error(FormatMessage(msg::MissingArgument, {name}));
        return;
    }
    const TRpEvValue& arg = arguments[0];
    if (arg.Kind == evString)
        result = TRpEvValue::String(transform(arg.StringValue));
    else if (arg.Kind == evError)
        result = arg;
    else
        result = WrongArguments(name);
}

// Orders two values of one kind: negative, 0 or positive.
int CompareSameKind(const TRpEvValue& a, const TRpEvValue& b)
{
    switch (a.Kind) {
    case evInteger: return (a.IntegerValue > b.IntegerValue) - (a.IntegerValue < b.IntegerValue);
    case evFloat: return (a.FloatValue > b.FloatValue) - (a.FloatValue < b.FloatValue);
    case evString: {
        const int c = a.StringValue.compare(b.StringValue);
        return (c > 0) - (c < 0);
    }
    case evBoolean: return static_cast<int>(a.BooleanValue) - static_cast<int>(b.BooleanValue);
    case evError: return 0;
    }
    return 0;
}

} // namespace

void TRpEvIfFunction::Compute(TRpEvValue& result)
{
    if (Arguments.size() == 3 && Arguments[0].Kind == evBoolean)
        result = Arguments[0].BooleanValue ? Arguments[1] : Arguments[2];
    else
        result = WrongArguments("IF");
}

void TRpEvStrFunction::Compute(TRpEvValue& result)
{
    if (Arguments.size() == 1) {
        const TRpEvValue& arg = Arguments[0];
        if (arg.Kind == evInteger || arg.Kind == evFloat || arg.Kind == evBoolean) {
            result = TRpEvValue::String(ResultToText(arg));
            return;
        }
    }
    result = TRpEvValue::Error(msg::ConversionError);
}

void TRpEvUpperFunction::Compute(TRpEvValue& result)
{
    TextFunction(Arguments, result, "UPPER", [](const std::string& s) { return core::AnsiUpperCase(s); });
}

void TRpEvLowerFunction::Compute(TRpEvValue& result)
{
    TextFunction(Arguments, result, "LOWER", [](const std::string& s) { return core::AnsiLowerCase(s); });
}

void TRpEvPrettyFunction::Compute(TRpEvValue& result)
{
    TextFunction(Arguments, result, "PRETTY", [](const std::string& s) {
        std::size_t firstEnd = 0;
        if (!s.empty())
            core::NextUtf8(s, firstEnd);
        return core::AnsiUpperCase(std::string_view(s).substr(0, firstEnd)) +
               core::AnsiLowerCase(std::string_view(s).substr(firstEnd));
    });
}

void TRpEvTimeFunction::Compute(TRpEvValue& result)
{
    if (!Arguments.empty())
        result = WrongArguments("TIME");
    else
        result = TRpEvValue::String(core::FormatDateTime(core::FormatSettings.LongTimeFormat, core::Now()));
}

void TRpEvDateFunction::Compute(TRpEvValue& result)
{
    if (!Arguments.empty())
        result = WrongArguments("DATE");
    else
        result = TRpEvValue::String(core::FormatDateTime(core::FormatSettings.ShortDateFormat, core::Date()));
}

void TRpEvCopyFunction::Compute(TRpEvValue& result)
{
    if (Arguments.size() != 3 || Arguments[0].Kind != evString || Arguments[1].Kind != evInteger ||
        Arguments[2].Kind != evInteger) {
        result = WrongArguments("COPY");
        return;
    }
    // Characters, counted from 1; a start of 0 or less counts as 1.
    const std::int32_t start = std::max<std::int32_t>(Arguments[1].IntegerValue, 1);
    const std::int32_t count = std::max<std::int32_t>(Arguments[2].IntegerValue, 0);
    result = TRpEvValue::String(core::Utf8Copy(Arguments[0].StringValue, static_cast<std::size_t>(start - 1),
                                               static_cast<std::size_t>(count)));
}

// --- aggregates --------------------------------------------------------------------

TRpEvSumFunction::TRpEvSumFunction()
{
    SetAggregate();
    Total = TRpEvValue::Integer(0);
}

void TRpEvSumFunction::ResetState()
{
    Total = TRpEvValue::Integer(0);
    HasValue = false;
}

void TRpEvSumFunction::Accumulate()
{
    if (Arguments.size() != 1) {
        Total = WrongArguments(FunctionName());
        HasValue = true;
        return;
    }
    const TRpEvValue& v = Arguments[0];
    if (!HasValue) {
        HasValue = true;
        if (v.IsNumeric())
            Total = v;
        else if (v.IsError())
            Total = v;
        else
            Total = WrongArguments(FunctionName());
        return;
    }
    if (Total.IsError())
        return;
    if (v.Kind == evString) {
        Total = WrongArguments(FunctionName());
    } else if (v.Kind == evInteger && Total.Kind == evInteger) {
        Total.IntegerValue = Low32(static_cast<std::int64_t>(Total.IntegerValue) + v.IntegerValue);
    } else if (v.IsNumeric() && Total.IsNumeric()) {
        // A float among integers (or the other way round) turns the total
        // into a float instead of being left out of the sum.
        Total = TRpEvValue::Float(Total.AsDouble() + v.AsDouble());
    }
    // Booleans and errors leave the total as it is.
}

void TRpEvSumFunction::Compute(TRpEvValue& result) { result = Total; }

TRpEvAverageFunction::TRpEvAverageFunction()
{
    // Until the first reset an average is the integer 0.
    Average = TRpEvValue::Integer(0);
}

void TRpEvAverageFunction::ResetState()
{
    TRpEvSumFunction::ResetState();
    Average = TRpEvValue::Float(0.0);
    Steps = 0;
}

void TRpEvAverageFunction::Accumulate()
{
    TRpEvSumFunction::Accumulate();
    ++Steps;
    if (Total.IsNumeric())
        Average = TRpEvValue::Float(Total.AsDouble() / static_cast<double>(Steps));
    else if (Total.IsError())
        Average = Total;
    else
        Average = WrongArguments(FunctionName());
}

void TRpEvAverageFunction::Compute(TRpEvValue& result) { result = Average; }

TRpEvCountFunction::TRpEvCountFunction() { SetAggregate(); }

void TRpEvCountFunction::Accumulate()
{
    if (Arguments.empty())
        ++Count;
}

void TRpEvCountFunction::Compute(TRpEvValue& result)
{
    if (!Arguments.empty())
        result = TRpEvValue::Error(std::string(msg::CountPrefix) + std::string(msg::TooManyArguments));
    else
        result = TRpEvValue::Integer(Count);
}

TRpEvBestFunction::TRpEvBestFunction()
{
    SetAggregate();
    Best = TRpEvValue::Integer(0);
}

void TRpEvBestFunction::ResetState()
{
    Best = TRpEvValue::Integer(0);
    HasValue = false;
}

void TRpEvBestFunction::Accumulate()
{
    if (Arguments.size() != 1) {
        Best = WrongArguments(Name());
        HasValue = true;
        return;
    }
    const TRpEvValue& v = Arguments[0];
    if (!HasValue) {
        Best = v;
        HasValue = true;
        return;
    }
    if (Best.IsError() || v.IsError())
        return;
    if (v.Kind == Best.Kind) {
        if (Better(CompareSameKind(v, Best)))
            Best = v;
    } else if (v.IsNumeric() && Best.IsNumeric()) {
        // Integers and floats are compared as numbers; the winner keeps its kind.
        const double a = v.AsDouble();
        const double b = Best.AsDouble();
        if (Better((a > b) - (a < b)))
            Best = v;
    }
    // A value of another kind cannot be ordered against the best one: left out.
}

void TRpEvBestFunction::Compute(TRpEvValue& result) { result = Best; }

// --- constants and arithmetic -------------------------------------------------------

void TRpEvTrue::Compute(TRpEvValue& result)
{
    result = Arguments.empty() ? TRpEvValue::Boolean(true) : TRpEvValue::Error(msg::TooManyArguments);
}

void TRpEvFalse::Compute(TRpEvValue& result)
{
    result = Arguments.empty() ? TRpEvValue::Boolean(false) : TRpEvValue::Error(msg::TooManyArguments);
}

void TRpEvIntFunction::Compute(TRpEvValue& result)
{
    if (Arguments.size() == 1) {
        const TRpEvValue& arg = Arguments[0];
        if (arg.Kind == evInteger) {
            result = arg;
            return;
        }
        std::int64_t whole = 0;
        if (arg.Kind == evFloat && ToInt64(std::trunc(arg.FloatValue), whole)) {
            result = TRpEvValue::Integer(Low32(whole));
            return;
        }
    }
    result = WrongArguments("INT");
}

void TRpEvFracFunction::Compute(TRpEvValue& result)
{
    if (Arguments.size() == 1 && Arguments[0].Kind == evInteger)
        result = TRpEvValue::Float(0.0);
    else if (Arguments.size() == 1 && Arguments[0].Kind == evFloat)
        result = TRpEvValue::Float(Arguments[0].FloatValue - std::trunc(Arguments[0].FloatValue));
    else
        result = WrongArguments("FRAC");
}

void TRpEvSQRTFunction::Compute(TRpEvValue& result)
{
    if (Arguments.size() == 1 && Arguments[0].IsNumeric() && Arguments[0].AsDouble() >= 0.0)
        result = TRpEvValue::Float(std::sqrt(Arguments[0].AsDouble()));
    else
        result = TRpEvValue::Error(msg::InvalidSqrt);
}

void TRpEvDivFunction::Compute(TRpEvValue& result)
{
    if (Arguments.size() != 2 || !Arguments[0].IsNumeric() || !Arguments[1].IsNumeric()) {
        result = WrongArguments("DIV");
        return;
    }
    // Floats go to the nearest integer first, halves to the even one.
    std::int64_t operands[2] = {};
    for (int i = 0; i < 2; ++i) {
        const TRpEvValue& arg = Arguments[static_cast<std::size_t>(i)];
        if (arg.Kind == evInteger) {
            operands[i] = arg.IntegerValue;
        } else if (!ToInt64(std::nearbyint(arg.FloatValue), operands[i])) {
            result = WrongArguments("DIV");
            return;
        }
    }
    if (operands[1] == 0) {
        result = TRpEvValue::Error(msg::DivisionByZero);
        return;
    }
    if (operands[0] == INT64_MIN && operands[1] == -1) {
        result = TRpEvValue::Integer(0); // the low 32 bits of 2^63
        return;
    }
    // Truncated toward zero; the result wraps into 32 bits like all integer
    // arithmetic of the language (the lowest integer divided by -1 stays itself).
    result = TRpEvValue::Integer(Low32(operands[0] / operands[1]));
}

void TRpEvTypeOfFunction::Compute(TRpEvValue& result)
{
    if (Arguments.size() != 1) {
        result = WrongArguments("TypeOf");
        return;
    }
    const std::string_view name = KindName(Arguments[0].Kind);
    result = name.empty() ? TRpEvValue::Error(msg::UnknownType) : TRpEvValue::String(name);
}

void TRpEvFormatNumericFunction::Compute(TRpEvValue& result)
{
    if (Arguments.size() != 2 || Arguments[0].Kind != evString || !Arguments[1].IsNumeric()) {
        result = WrongArguments("FORMATNUMERIC");
        return;
    }
    try {
        result = TRpEvValue::String(core::FormatFloat(Arguments[0].StringValue, Arguments[1].AsDouble()));
    } catch (const std::exception&) {
        result = TRpEvValue::Error(msg::InvalidFormat);
    }
}

// --- registration ---------------------------------------------------------------------

void RegisterStandardFunctions(TRpLibrary& library)
{
    struct Standard {
        TRpEvElementFunctionClass elementClass;
        const char* name;
        const char* signature;
        const char* syntax;
        const char* explanation;
    };
    static const Standard standard[] = {
        {CreateFunctionElement<TRpEvIfFunction>, "IF", "5BVV", "IF(<Exp>, <X>, <Y>)",
         "Returns <X> or <Y> depending on the boolean expression <Exp>"},
        {CreateFunctionElement<TRpEvStrFunction>, "STR", "7N", "STR(<X>)", "Convert a numeric <X> to a string"},
        {CreateFunctionElement<TRpEvUpperFunction>, "UPPER", "7S", "UPPER(<X>)",
         "Converts a string to upper case letters"},
        {CreateFunctionElement<TRpEvLowerFunction>, "LOWER", "7S", "LOWER(<X>)",
         "Converts a string to lower case letters"},
        {CreateFunctionElement<TRpEvPrettyFunction>, "PRETTY", "7S", "PRETTY(<X>)",
         "Makes the first character upper case and the rest lower case"},
        {CreateFunctionElement<TRpEvTimeFunction>, "TIME", "1", "TIME", "Return current time as a string"},
        {CreateFunctionElement<TRpEvDateFunction>, "DATE", "1", "DATE", "Return current date as a string"},
        {CreateFunctionElement<TRpEvCopyFunction>, "COPY", "7SNN", "COPY(<X>, <St>,<Len>)",
         "Returns a substring of string X"},
        {CreateFunctionElement<TRpEvSumFunction>, "SUM", "3N", "SUM(<X>)", "Sums the numeric <X>"},
        {CreateFunctionElement<TRpEvCountFunction>, "COUNT", "3", "COUNT", "Increments for each iteration"},
        {CreateFunctionElement<TRpEvMaxFunction>, "MAX", "3V", "MAX(<X>)", "Returns the highest <X>"},
        {CreateFunctionElement<TRpEvMinFunction>, "MIN", "3V", "MIN(<X>)", "Returns the lowest <X>"},
        {CreateFunctionElement<TRpEvAverageFunction>, "AVERAGE", "3N", "AVERAGE(<X>)",
         "Returns the average of numeric <X>"},
        {CreateFunctionElement<TRpEvTrue>, "TRUE", "5", "TRUE", "boolean value"},
        {CreateFunctionElement<TRpEvFalse>, "FALSE", "5", "FALSE", "boolean value"},
        {CreateFunctionElement<TRpEvIntFunction>, "INT", "2N", "INT(<X>)", "Returns the integer part of <X>"},
        {CreateFunctionElement<TRpEvFracFunction>, "FRAC", "2N", "FRAC(<X>)", "Returns the fractional part of <X>"},
        {CreateFunctionElement<TRpEvSQRTFunction>, "SQRT", "2N", "SQRT(<X>)", "Returns square root of <X>"},
        {CreateFunctionElement<TRpEvDivFunction>, "DIV", "2NN", "DIV(<X>, <Y>) ", " Integer division of <X> by <Y>"},
        {CreateFunctionElement<TRpEvTypeOfFunction>, "TYPEOF", "6N", "TYPEOF(<Exp>)",
         "Returns the data type of <Exp>"},
        {CreateFunctionElement<TRpEvFormatNumericFunction>, "FORMATNUMERIC", "7SN", "FORMATNUMERIC(<F>,<N>)",
         "Formats numeric <N> using the mask in <F>"},
    };
    for (const Standard& s : standard)
        library.AddEntry(s.elementClass, s.name, std::string(s.syntax) + "|" + s.explanation, s.signature,
                         kFunctionVendor);
}

} // namespace report
