#include "platform/core/MoneyFormat.h"

#include "platform/core/Exceptions.h"
#include "platform/core/Unicode.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>

namespace core {

namespace {

// The picture of a number with thousands separators and decimals places.
std::string GroupedPicture(int decimals)
{
    std::string picture = "#,##0";
    if (decimals > 0)
        picture += "." + std::string(static_cast<std::size_t>(decimals), '0');
    return picture;
}

std::string FixedPicture(int decimals)
{
    std::string picture = "0";
    if (decimals > 0)
        picture += "." + std::string(static_cast<std::size_t>(decimals), '0');
    return picture;
}

// Places the currency string around an amount written without its sign.
std::string PlaceCurrency(const std::string& amount, bool negative, const TFormatSettings& s)
{
    const std::string& c = s.CurrencyString;
    if (!negative) {
        switch (s.CurrencyFormat) {
        case 1: return amount + c;
        case 2: return c + " " + amount;
        case 3: return amount + " " + c;
        default: return c + amount;
        }
    }
    switch (s.NegCurrFormat) {
    case 1: return "-" + c + amount;
    case 2: return c + "-" + amount;
    case 3: return c + amount + "-";
    case 4: return "(" + amount + c + ")";
    case 5: return "-" + amount + c;
    case 6: return amount + "-" + c;
    case 7: return amount + c + "-";
    case 8: return "-" + amount + " " + c;
    case 9: return "-" + c + " " + amount;
    case 10: return amount + " " + c + "-";
    case 11: return c + " " + amount + "-";
    case 12: return c + " -" + amount;
    case 13: return amount + "- " + c;
    case 14: return "(" + c + " " + amount + ")";
    case 15: return "(" + amount + " " + c + ")";
    default: return "(" + c + amount + ")";
    }
}

// value rounded to digits significant digits, shown in the general form.
std::string GeneralText(double value, int digits, const TFormatSettings& settings)
{
    if (digits <= 0 || digits >= 15 || !std::isfinite(value))
        return FloatToStr(value, settings);
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "%.*e", digits - 1, value);
    return FloatToStr(std::strtod(buffer, nullptr), settings);
}

struct Specifier {
    std::string text; // as written, for messages
    bool leftJustify = false;
    int width = -1;
    int precision = -1;
    char type = 0;
    bool indexed = false;
    int index = 0;
};

[[noreturn]] void Invalid(const std::string& spec)
{
    throw EConvertError("Format '" + spec + "' invalid or incompatible with argument");
}

// Reads the specifier that starts at format[i] (the "%"); i ends after it.
Specifier ReadSpecifier(std::string_view format, std::size_t& i)
{
    const std::size_t start = i++;
    Specifier spec;
    auto number = [&](int& out) {
        if (i < format.size() && format[i] == '*') {
            ++i;
            return false; // the value is no integer to take a width from
        }
        if (i >= format.size() || format[i] < '0' || format[i] > '9')
            return true;
        out = 0;
        while (i < format.size() && format[i] >= '0' && format[i] <= '9') {
            if (out < 100000)
                out = out * 10 + (format[i] - '0');
            ++i;
        }
        return true;
    };
    bool valid = true;
    int first = -1;
    valid = number(first) && valid;
    if (i < format.size() && format[i] == ':') {
        ++i;
        spec.indexed = true;
        spec.index = first < 0 ? 0 : first;
        first = -1;
    }
    if (first < 0) {
        if (i < format.size() && format[i] == '-') {
            spec.leftJustify = true;
            ++i;
        }
        valid = number(spec.width) && valid;
    } else {
        spec.width = first;
    }
    if (i < format.size() && format[i] == '.') {
        ++i;
        spec.precision = 0;
        valid = number(spec.precision) && valid;
    }
    if (i < format.size())
        spec.type = static_cast<char>(format[i++] | 0x20);
    spec.text = std::string(format.substr(start, i - start));
    if (!valid || spec.type == 0)
        Invalid(spec.text);
    return spec;
}

std::string Convert(const Specifier& spec, double value, const TFormatSettings& settings)
{
    switch (spec.type) {
    case 'm': return CurrToStrF(value, spec.precision, settings);
    case 'n':
        if (!std::isfinite(value))
            return FloatToStr(value, settings);
        return FormatFloat(GroupedPicture(spec.precision < 0 ? 2 : spec.precision), value, settings);
    case 'f':
        if (!std::isfinite(value))
            return FloatToStr(value, settings);
        return FormatFloat(FixedPicture(spec.precision < 0 ? 2 : spec.precision), value, settings);
    case 'e': {
        if (!std::isfinite(value))
            return FloatToStr(value, settings);
        const int digits = spec.precision <= 0 ? 15 : std::min(spec.precision, 18);
        return FormatFloat(FixedPicture(digits - 1) + "E+000", value, settings);
    }
    case 'g': return GeneralText(value, spec.precision < 0 ? 15 : spec.precision, settings);
    default: Invalid(spec.text);
    }
}

} // namespace

std::string CurrToStrF(double value, int decimals, const TFormatSettings& settings)
{
    if (!std::isfinite(value))
        return FloatToStr(value, settings);
    if (decimals < 0)
        decimals = settings.CurrencyDecimals;
    const std::string amount = FormatFloat(GroupedPicture(decimals), std::fabs(value), settings);
    // An amount that rounds to nothing carries no sign.
    const bool negative = value < 0 && amount.find_first_of("123456789") != std::string::npos;
    return PlaceCurrency(amount, negative, settings);
}

std::string FormatFloatArgument(std::string_view format, double value, const TFormatSettings& settings)
{
    std::string out;
    int nextArgument = 0;
    std::size_t i = 0;
    while (i < format.size()) {
        const std::size_t percent = format.find('%', i);
        if (percent == std::string_view::npos) {
            out.append(format.substr(i));
            break;
        }
        out.append(format.substr(i, percent - i));
        i = percent;
        if (i + 1 < format.size() && format[i + 1] == '%') {
            out += '%';
            i += 2;
            continue;
        }
        const Specifier spec = ReadSpecifier(format, i);
        const int argument = spec.indexed ? spec.index : nextArgument;
        nextArgument = argument + 1;
        if (argument != 0)
            throw EConvertError("No argument for format '" + spec.text + "'");
        std::string text = Convert(spec, value, settings);
        // Widths count characters, not bytes of their UTF-8 forms.
        const std::size_t length = Utf8Length(text);
        if (spec.width > 0 && length < static_cast<std::size_t>(spec.width)) {
            const std::string pad(static_cast<std::size_t>(spec.width) - length, ' ');
            text = spec.leftJustify ? text + pad : pad + text;
        }
        out += text;
    }
    return out;
}

} // namespace core
