#pragma once
// The report engine's table of message texts, and the one helper that fills
// their "%s" and "%d" places.

#include <initializer_list>
#include <string>
#include <string_view>

namespace report {

namespace msg {
// Evaluator
inline constexpr std::string_view EvaluatorNotPrepared = "Evaluator not prepared";
inline constexpr std::string_view ErrorInExpression = "Error in expression : %s";
inline constexpr std::string_view Missing = "Missing %s";
inline constexpr std::string_view IllegalNumeric = "Illegal character in numeric contant \"%s\"";
inline constexpr std::string_view UnknownFunction = "Unknown function : %s";
inline constexpr std::string_view FieldUnknownType = "Field %s is of unknown type";
inline constexpr std::string_view InvalidNot = "Invalid use of NOT";
inline constexpr std::string_view OperatorNotCompatible = "Operator %s is not compatible with %s expressions";
inline constexpr std::string_view CannotOperate = "Cannot %s %s expressions";
inline constexpr std::string_view DivideByZero = "Cannot divide by 0";
inline constexpr std::string_view VerbAdd = "add";
inline constexpr std::string_view VerbSubtract = "subtract";
inline constexpr std::string_view VerbMultiply = "multiply";
inline constexpr std::string_view VerbDivide = "divide";
inline constexpr std::string_view KindBoolean = "boolean";
inline constexpr std::string_view KindString = "string";
inline constexpr std::string_view KindNumeric = "numeric";

// Function library
inline constexpr std::string_view WrongArguments = "Wrong arguments for %s";
inline constexpr std::string_view ConversionError = "Conversion error";
inline constexpr std::string_view MissingArgument = "Missing argument for %s";
inline constexpr std::string_view TooManyArguments = "Too many arguments";
inline constexpr std::string_view CountPrefix = "COUNT - ";
inline constexpr std::string_view InvalidSqrt = "Invalid argument to SQRT function";
inline constexpr std::string_view DivisionByZero = "Division by Zero";
inline constexpr std::string_view UnknownType = "Unknown type";
inline constexpr std::string_view InvalidFormat = "Invalid format or value specified";

// Variables
inline constexpr std::string_view RecursiveCall = "Recursive calls not allowed";

// Report printer
inline constexpr std::string_view PrinterNotReady = "RpPrinter not ready";
inline constexpr std::string_view IllegalNewPage = "Illegal call to NewPage";
inline constexpr std::string_view NoPagesInRange = "No page to print: the report has %d pages, the print range is %d to %d";

// Printables
inline constexpr std::string_view None = "none";
} // namespace msg

// Replaces each "%s" or "%d" of pattern, in order, with the next argument;
// "%%" gives one "%". Missing arguments leave their places empty.
std::string FormatMessage(std::string_view pattern, std::initializer_list<std::string_view> args);

} // namespace report
