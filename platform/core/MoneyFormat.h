#pragma once
// Money amounts as text by the currency conventions of a format record, and
// the class library's format strings applied to a single floating value
// ("Total: %m", "%10.0m", "%.3n").

#include "platform/core/FormatSettings.h"

#include <string>
#include <string_view>

namespace core {

// value rounded to decimals places (halves away from zero), thousands
// separated, with CurrencyString placed by CurrencyFormat, or by
// NegCurrFormat for a negative amount. Decimals below 0 take
// CurrencyDecimals. NaN and infinities give FloatToStr's texts.
std::string CurrToStrF(double value, int decimals = -1, const TFormatSettings& settings = FormatSettings);

// Copies format, putting value in place of each format specifier
// "%[index:][-][width][.precision]type":
//   m  money, as CurrToStrF (precision: decimals, default CurrencyDecimals)
//   n  number with thousands separators (precision: decimals, default 2)
//   f  fixed, no thousands separators (precision: decimals, default 2)
//   e  scientific, "-d.ddd…E+ddd" (precision: significant digits, default 15)
//   g  general, the shortest of fixed and scientific (precision: significant digits, default 15)
// A width pads with blanks on the left ("-": on the right); "%%" is one "%".
// The value is the only argument: a second specifier, or an index other
// than 0, raises EConvertError "No argument for format '%m'"; a type that
// does not take a float (d, u, x, s, p), a "*" or an unfinished specifier
// raises EConvertError "Format '%d' invalid or incompatible with argument".
std::string FormatFloatArgument(std::string_view format, double value,
                                const TFormatSettings& settings = FormatSettings);

} // namespace core
