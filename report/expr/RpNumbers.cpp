#include "report/expr/RpNumbers.h"

#include "platform/core/FormatSettings.h"

#include <charconv>
#include <cmath>

namespace report {

std::string FloatToText(double value) { return core::FloatToStr(value); }

std::optional<std::int32_t> TextToInteger(std::string_view digits)
{
    if (digits.empty())
        return std::nullopt;
    std::int64_t v = 0;
    for (char c : digits) {
        if (c < '0' || c > '9')
            return std::nullopt;
        v = v * 10 + (c - '0');
        if (v > INT32_MAX)
            return std::nullopt;
    }
    return static_cast<std::int32_t>(v);
}

std::optional<double> TextToFloat(std::string_view text)
{
    const auto isDigit = [](char c) { return c >= '0' && c <= '9'; };
    std::size_t i = 0;
    const std::size_t n = text.size();
    std::size_t intDigits = 0;
    while (i < n && isDigit(text[i]))
        ++i, ++intDigits;
    std::size_t fracDigits = 0;
    if (i < n && text[i] == '.') {
        ++i;
        while (i < n && isDigit(text[i]))
            ++i, ++fracDigits;
    }
    if (intDigits + fracDigits == 0)
        return std::nullopt;
    if (i < n && (text[i] == 'E' || text[i] == 'e')) {
        ++i;
        if (i < n && (text[i] == '+' || text[i] == '-'))
            ++i;
        std::size_t expDigits = 0;
        while (i < n && isDigit(text[i]))
            ++i, ++expDigits;
        if (expDigits == 0)
            return std::nullopt;
    }
    if (i != n)
        return std::nullopt;
    double v = 0;
    const auto [end, ec] = std::from_chars(text.data(), text.data() + n, v);
    if (ec != std::errc() || end != text.data() + n || std::isinf(v))
        return std::nullopt;
    return v;
}

} // namespace report
