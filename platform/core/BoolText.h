#pragma once
// The class library's conversion of texts to Booleans, the same on every
// machine: "true" or "false" in any letter case, or a number, 0 being false.

#include <string_view>

namespace core {

bool TryStrToBool(std::string_view text, bool& value);
// Raises EConvertError: "'maybe' is not a valid boolean value".
bool StrToBool(std::string_view text);
bool StrToBoolDef(std::string_view text, bool fallback);

} // namespace core
