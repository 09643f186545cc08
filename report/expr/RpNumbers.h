#pragma once
// Number texts of the expression language.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace report {

// The general float-to-text conversion: 15 significant digits, the locale's
// decimal separator, scientific form for very large and very small values.
std::string FloatToText(double value);

// A decimal integer constant (digits only); none when it leaves the 32-bit range.
std::optional<std::int32_t> TextToInteger(std::string_view digits);

// A float constant: digits, an optional "." and digits, an optional exponent
// "E" or "e" with an optional sign and digits. None for any other text and
// for values out of the double range.
std::optional<double> TextToFloat(std::string_view text);

} // namespace report
