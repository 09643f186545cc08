#pragma once
// The text forms of Booleans, integers and floats as the library writes them,
// the same on every machine: "false"/"true", plain decimal integers, and floats
// with a chosen number of significant digits, "." as decimal point, no leading
// zero before it, and an "E" exponent for very large and small values.

#include "platform/core/FormatSettings.h"

#include <cstdint>
#include <string>
#include <string_view>

namespace xml {

std::string BoolToXmlText(bool value);
std::string IntToXmlText(std::int32_t value);
std::string Int64ToXmlText(std::int64_t value);

// digits: significant digits 1 to 9, else raises "significant digits out of
// range". 1.5 -> "1.5", 0.05 -> ".05", 0.005 -> "5E-3", 1e8 -> "1.00000E8" (6
// digits); infinities and NaN give "INF", "-INF" and "NaN".
std::string FloatToXmlText(int digits, bool exponentAllowed, double value);

// The fixed number and date format record by which values are read, so that
// reading does not depend on the user's locale: "." as decimal point, "," as
// thousands and list separator, "/" and ":" in dates and times.
const core::TFormatSettings& XmlFormatSettings();

// A float under XmlFormatSettings, blanks around it allowed; also "INF",
// "-INF" and "NaN" as FloatToXmlText writes them. False when it is none.
bool TryXmlTextToFloat(std::string_view text, double& value);
// An integer by the class library's conversion (decimal, or hexadecimal after
// "$" or "0x"); hexadecimal up to $FFFFFFFF wraps into the negative range, as
// PutChildHex writes negative values.
bool TryXmlTextToInt(std::string_view text, std::int32_t& value);

} // namespace xml
