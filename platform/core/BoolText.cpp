#include "platform/core/BoolText.h"

#include "platform/core/Exceptions.h"
#include "platform/core/Letters.h"

#include <charconv>
#include <string>

namespace core {

bool TryStrToBool(std::string_view text, bool& value)
{
    if (SameText(text, "true") || SameText(text, "false")) {
        value = SameText(text, "true");
        return true;
    }
    // A number, with blanks around it allowed: zero is false, anything else true.
    std::size_t begin = 0, end = text.size();
    while (begin < end && (text[begin] == ' ' || text[begin] == '\t'))
        ++begin;
    while (end > begin && (text[end - 1] == ' ' || text[end - 1] == '\t'))
        --end;
    if (begin < end && text[begin] == '+')
        ++begin;
    if (begin >= end)
        return false;
    double number = 0;
    const auto [ptr, ec] = std::from_chars(text.data() + begin, text.data() + end, number);
    if (ec != std::errc() || ptr != text.data() + end)
        return false;
    value = number != 0;
    return true;
}

bool StrToBool(std::string_view text)
{
    bool value = false;
    if (!TryStrToBool(text, value))
        throw EConvertError("'" + std::string(text) + "' is not a valid boolean value");
    return value;
}

bool StrToBoolDef(std::string_view text, bool fallback)
{
    bool value = false;
    return TryStrToBool(text, value) ? value : fallback;
}

} // namespace core
