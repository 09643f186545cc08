#pragma once
// The value of an expression: a tagged record passed and copied by value.
// Errors are values too: kind evError carries its message in the text.

#include <cstdint>
#include <string>
#include <string_view>

namespace report {

enum TRpEvKind : std::uint8_t { evInteger = 0, evFloat = 1, evString = 2, evBoolean = 3, evError = 4 };

// Every text stored in a value keeps at most this many characters.
inline constexpr std::size_t kMaxValueText = 255;

// The first kMaxValueText characters (not bytes) of text.
std::string CutValueText(std::string_view text);

struct TRpEvValue {
    TRpEvKind Kind = evInteger;
    std::int32_t IntegerValue = 0;
    double FloatValue = 0.0;
    bool BooleanValue = false;
    // The text of evString, the message of evError.
    std::string StringValue;

    static TRpEvValue Integer(std::int32_t v);
    static TRpEvValue Float(double v);
    static TRpEvValue String(std::string_view text);
    static TRpEvValue Boolean(bool v);
    static TRpEvValue Error(std::string_view message);

    bool IsError() const { return Kind == evError; }
    bool IsNumeric() const { return Kind == evInteger || Kind == evFloat; }
    // Integer or float as a double (0 for other kinds).
    double AsDouble() const { return Kind == evInteger ? IntegerValue : Kind == evFloat ? FloatValue : 0.0; }
    const std::string& ErrorMessage() const { return StringValue; }
};

// Makes value an error carrying message (cut like every value text).
void MakeErrorValue(TRpEvValue& value, std::string_view message);

// The value as text: integers in decimal digits, floats by the general float
// conversion, strings unchanged, booleans "True" / "False". An error value
// raises core::Exception "Error in expression : <message>".
std::string ResultToText(const TRpEvValue& value);

// The name of a kind as TYPEOF gives it: "INTEGER", "FLOAT", ...
std::string_view KindName(TRpEvKind kind);

} // namespace report
