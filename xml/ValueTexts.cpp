#include "xml/ValueTexts.h"

#include "platform/core/Exceptions.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <limits>

namespace xml {

namespace {

std::string_view TrimmedWord(std::string_view text)
{
    std::size_t begin = 0, end = text.size();
    while (begin < end && (text[begin] == ' ' || text[begin] == '\t'))
        ++begin;
    while (end > begin && (text[end - 1] == ' ' || text[end - 1] == '\t'))
        --end;
    return text.substr(begin, end - begin);
}

} // namespace

std::string BoolToXmlText(bool value) { return value ? "true" : "false"; }

std::string IntToXmlText(std::int32_t value) { return std::to_string(value); }

std::string Int64ToXmlText(std::int64_t value) { return std::to_string(value); }

std::string FloatToXmlText(int digits, bool exponentAllowed, double value)
{
    if (digits < 1 || digits > 9)
        throw core::Exception("significant digits out of range");
    if (std::isnan(value))
        return "NaN";
    if (std::isinf(value))
        return value > 0 ? "INF" : "-INF";
    if (value == 0)
        return "0";
    const char* sign = value < 0 ? "-" : "";

    // The value rounded to `digits` significant digits (halves to even) as the
    // integer n and the position e of the decimal point relative to n's first digit.
    char scientific[48];
    std::snprintf(scientific, sizeof(scientific), "%.*e", digits - 1, std::fabs(value));
    std::uint64_t n = 0;
    const char* p = scientific;
    for (; *p != 'e'; ++p)
        if (*p >= '0' && *p <= '9')
            n = n * 10 + static_cast<unsigned>(*p - '0');
    int e = std::atoi(p + 1) + 1;

    while (n % 10 == 0 && digits > e) { // no trailing zeros after the point
        n /= 10;
        --digits;
    }
    bool withExponent = false;
    int exponent = 0;
    if (exponentAllowed && (e < -1 || e > digits + 2)) {
        withExponent = true;
        exponent = e - 1;
        e = 1;
    }
    std::string s = std::to_string(n);
    while (digits < e) {
        s.push_back('0');
        ++digits;
    }
    while (e < 0) {
        s.insert(s.begin(), '0');
        ++e;
    }
    if (e == 0)
        s.insert(s.begin(), '.');
    else if (digits > e)
        s.insert(static_cast<std::size_t>(e), 1, '.');

    std::string result = sign + s;
    if (withExponent)
        result += "E" + std::to_string(exponent);
    return result;
}

const core::TFormatSettings& XmlFormatSettings()
{
    static const core::TFormatSettings settings = [] {
        core::TFormatSettings s;
        s.CurrencyFormat = 0;
        s.NegCurrFormat = 0;
        s.ThousandSeparator = ",";
        s.DecimalSeparator = ".";
        s.CurrencyDecimals = 0;
        s.DateSeparator = "/";
        s.TimeSeparator = ":";
        s.ListSeparator = ",";
        s.CurrencyString = "";
        s.ShortDateFormat = "m/d/yy";
        s.LongDateFormat = "mmmm d, yyyy";
        s.TimeAMString = "am";
        s.TimePMString = "pm";
        s.ShortTimeFormat = "h:mm AMPM";
        s.LongTimeFormat = "h:mm:ss AMPM";
        return s;
    }();
    return settings;
}

bool TryXmlTextToFloat(std::string_view text, double& value)
{
    if (core::TryStrToFloat(text, value, XmlFormatSettings()))
        return true;
    const std::string_view word = TrimmedWord(text);
    if (word == "INF" || word == "+INF") {
        value = std::numeric_limits<double>::infinity();
        return true;
    }
    if (word == "-INF") {
        value = -std::numeric_limits<double>::infinity();
        return true;
    }
    if (word == "NaN") {
        value = std::numeric_limits<double>::quiet_NaN();
        return true;
    }
    return false;
}

bool TryXmlTextToInt(std::string_view text, std::int32_t& value)
{
    if (core::TryStrToInt(text, value))
        return true;
    std::int64_t wide = 0;
    const std::string_view word = TrimmedWord(text);
    const bool hex = !word.empty() && (word[0] == '$' || (word.size() > 1 && word[0] == '0' &&
                                                           (word[1] == 'x' || word[1] == 'X')));
    if (!hex || !core::TryStrToInt64(word, wide) || wide < 0 || wide > 0xFFFFFFFFll)
        return false;
    value = static_cast<std::int32_t>(static_cast<std::uint32_t>(wide));
    return true;
}

} // namespace xml
