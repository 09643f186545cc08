// Numbers to text and back, under a format record.

#include "platform/core/Exceptions.h"
#include "platform/core/FormatSettings.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <limits>
#include <vector>

namespace core {

namespace {

// A number as decimal digits: value = 0.digits × 10^exponent. Digits carry no
// trailing zeros; no digits at all means zero.
struct Decimal {
    std::string digits;
    int exponent = 0;
};

// The absolute value of v with at most `precision` significant digits (1..17),
// rounded by the C library from the exact binary value.
Decimal ToDecimal(double v, int precision)
{
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "%.*e", precision - 1, std::fabs(v));
    Decimal d;
    const char* p = buffer;
    for (; *p && *p != 'e'; ++p)
        if (*p >= '0' && *p <= '9')
            d.digits += *p;
    d.exponent = (*p == 'e' ? std::atoi(p + 1) : 0) + 1;
    while (!d.digits.empty() && d.digits.back() == '0')
        d.digits.pop_back();
    if (d.digits.empty())
        d.exponent = 0;
    return d;
}

// Keeps the first `keep` digits, rounding halves away from zero.
void Round(Decimal& d, int keep)
{
    if (keep >= static_cast<int>(d.digits.size()))
        return;
    if (keep < 0) {
        d = Decimal{};
        return;
    }
    const bool up = d.digits[static_cast<std::size_t>(keep)] >= '5';
    d.digits.resize(static_cast<std::size_t>(keep));
    if (up) {
        int i = keep - 1;
        while (i >= 0 && d.digits[static_cast<std::size_t>(i)] == '9')
            d.digits[static_cast<std::size_t>(i--)] = '0';
        if (i >= 0) {
            ++d.digits[static_cast<std::size_t>(i)];
        } else {
            d.digits.insert(d.digits.begin(), '1');
            ++d.exponent;
        }
    }
    while (!d.digits.empty() && d.digits.back() == '0')
        d.digits.pop_back();
    if (d.digits.empty())
        d.exponent = 0;
}

// The digit at position i of the decimal (0 = the first significant one), 0 past the end.
char DigitAt(const Decimal& d, int i)
{
    return i >= 0 && i < static_cast<int>(d.digits.size()) ? d.digits[static_cast<std::size_t>(i)] : '0';
}

std::string NonFinite(double value)
{
    if (std::isnan(value))
        return "NAN";
    return value < 0 ? "-INF" : "INF";
}

// --- pictures -------------------------------------------------------------------

std::size_t SkipQuoted(std::string_view s, std::size_t i)
{
    const std::size_t close = s.find(s[i], i + 1);
    return close == std::string_view::npos ? s.size() : close + 1;
}

// Appends the text quoted at i (without its quotes) and returns the position after it.
std::size_t AppendQuoted(std::string& out, std::string_view s, std::size_t i)
{
    const std::size_t close = s.find(s[i], i + 1);
    if (close == std::string_view::npos) {
        out.append(s.substr(i + 1));
        return s.size();
    }
    out.append(s.substr(i + 1, close - i - 1));
    return close + 1;
}

std::vector<std::string_view> Sections(std::string_view format)
{
    std::vector<std::string_view> sections;
    std::size_t start = 0;
    for (std::size_t i = 0; i < format.size();) {
        if (format[i] == '"' || format[i] == '\'') {
            i = SkipQuoted(format, i);
        } else if (format[i] == ';' && sections.size() < 2) {
            sections.push_back(format.substr(start, i - start));
            start = ++i;
        } else {
            ++i;
        }
    }
    sections.push_back(format.substr(start));
    return sections;
}

// What one section of a picture asks for.
struct Picture {
    int intPlaces = 0;    // digit placeholders before the point
    int minInt = 0;       // from the first "0" before the point on
    int fracPlaces = 0;   // digit placeholders after the point
    int minFrac = 0;      // up to the last "0" after the point
    bool thousands = false;
    bool scientific = false;
    bool exponentSign = false; // "E+"
    int exponentDigits = 0;
    std::size_t exponentAt = std::string_view::npos; // position of the "E"

    bool HasDigits() const { return intPlaces + fracPlaces > 0; }
};

Picture Analyse(std::string_view section)
{
    Picture p;
    bool afterPoint = false;
    int firstIntZero = -1;
    for (std::size_t i = 0; i < section.size();) {
        const char c = section[i];
        if (c == '"' || c == '\'') {
            i = SkipQuoted(section, i);
            continue;
        }
        if ((c == 'E' || c == 'e') && i + 1 < section.size() && (section[i + 1] == '+' || section[i + 1] == '-')) {
            p.scientific = true;
            p.exponentSign = section[i + 1] == '+';
            p.exponentAt = i;
            for (i += 2; i < section.size() && section[i] == '0'; ++i)
                ++p.exponentDigits;
            break; // the rest is literal text
        }
        if (c == '0' || c == '#') {
            if (afterPoint) {
                ++p.fracPlaces;
                if (c == '0')
                    p.minFrac = p.fracPlaces;
            } else {
                if (c == '0' && firstIntZero < 0)
                    firstIntZero = p.intPlaces;
                ++p.intPlaces;
            }
        } else if (c == '.') {
            afterPoint = true;
        } else if (c == ',') {
            p.thousands = true;
        }
        ++i;
    }
    if (firstIntZero >= 0)
        p.minInt = p.intPlaces - firstIntZero;
    return p;
}

// Writes one section: the literal text where it stands, the digits spread over
// the placeholders (extra leading digits at the first one).
class PictureWriter {
public:
    PictureWriter(std::string_view section, const Picture& picture, const TFormatSettings& settings)
        : section_(section), picture_(picture), settings_(settings)
    {
    }

    std::string Write(double value)
    {
        Decimal d = ToDecimal(value, 15);
        int exponent = 0;
        if (picture_.scientific) {
            const int intDigits = std::max(picture_.intPlaces, 1);
            Round(d, intDigits + picture_.fracPlaces);
            if (!d.digits.empty())
                exponent = d.exponent - intDigits;
            // Every integer placeholder of the scientific form gets a digit.
            for (int i = 0; i < intDigits; ++i)
                intDigits_ += DigitAt(d, i);
            fraction_ = FractionFrom(d, intDigits);
        } else {
            Round(d, d.exponent + picture_.fracPlaces);
            for (int i = 0; i < d.exponent; ++i)
                intDigits_ += DigitAt(d, i);
            if (static_cast<int>(intDigits_.size()) < picture_.minInt)
                intDigits_.insert(0, static_cast<std::size_t>(picture_.minInt) - intDigits_.size(), '0');
            fraction_ = FractionFrom(d, d.exponent);
        }
        zero_ = d.digits.empty();
        Render(exponent);
        return std::move(out_);
    }

    bool RoundedToZero() const { return zero_; }

private:
    // The digits after the point: as many as there are placeholders, trailing
    // zeros dropped down to the last "0" placeholder.
    std::string FractionFrom(const Decimal& d, int pointAt) const
    {
        std::string fraction;
        for (int i = 0; i < picture_.fracPlaces; ++i)
            fraction += DigitAt(d, pointAt + i);
        while (static_cast<int>(fraction.size()) > picture_.minFrac && fraction.back() == '0')
            fraction.pop_back();
        return fraction;
    }

    void IntDigit(std::size_t index)
    {
        out_ += intDigits_[index];
        const std::size_t fromRight = intDigits_.size() - 1 - index;
        if (picture_.thousands && !picture_.scientific && fromRight > 0 && fromRight % 3 == 0)
            out_ += settings_.ThousandSeparator;
    }

    void Render(int exponent)
    {
        const int intPlaces = picture_.intPlaces;
        const int length = static_cast<int>(intDigits_.size());
        int intSeen = 0;
        int fracSeen = 0;
        bool afterPoint = false;
        auto pointHere = [&] {
            if (intPlaces == 0) // no integer placeholders: the digits go before the point
                for (std::size_t k = 0; k < intDigits_.size(); ++k)
                    IntDigit(k);
            if (!fraction_.empty())
                out_ += settings_.DecimalSeparator;
        };
        const std::size_t end = picture_.scientific ? picture_.exponentAt : section_.size();
        for (std::size_t i = 0; i < end;) {
            const char c = section_[i];
            if (c == '"' || c == '\'') {
                i = AppendQuoted(out_, section_, i);
                continue;
            }
            if ((c == '0' || c == '#') && !afterPoint) {
                // This placeholder stands for the digit this far from the point.
                const int fromRight = intPlaces - 1 - intSeen;
                if (intSeen == 0) {
                    for (int k = 0; k < length - fromRight - 1; ++k)
                        IntDigit(static_cast<std::size_t>(k));
                }
                const int index = length - 1 - fromRight;
                if (index >= 0)
                    IntDigit(static_cast<std::size_t>(index));
                ++intSeen;
            } else if ((c == '0' || c == '#') && afterPoint) {
                if (fracSeen < static_cast<int>(fraction_.size()))
                    out_ += fraction_[static_cast<std::size_t>(fracSeen)];
                ++fracSeen;
            } else if (c == '.') {
                if (!afterPoint) {
                    afterPoint = true;
                    pointHere();
                }
            } else if (c != ',') {
                out_ += c;
            }
            ++i;
        }
        if (!afterPoint && intPlaces == 0 && picture_.HasDigits())
            pointHere();
        if (picture_.scientific)
            Exponent(exponent);
    }

    void Exponent(int exponent)
    {
        out_ += section_[picture_.exponentAt];
        if (exponent < 0)
            out_ += '-';
        else if (picture_.exponentSign)
            out_ += '+';
        const std::string digits = std::to_string(std::abs(exponent));
        if (static_cast<int>(digits.size()) < picture_.exponentDigits)
            out_.append(static_cast<std::size_t>(picture_.exponentDigits) - digits.size(), '0');
        out_ += digits;
        // Text after the exponent's digits is literal.
        std::size_t i = picture_.exponentAt + 2 + static_cast<std::size_t>(picture_.exponentDigits);
        while (i < section_.size()) {
            const char c = section_[i];
            if (c == '"' || c == '\'') {
                i = AppendQuoted(out_, section_, i);
            } else {
                out_ += c;
                ++i;
            }
        }
    }

    std::string_view section_;
    const Picture& picture_;
    const TFormatSettings& settings_;
    std::string intDigits_;
    std::string fraction_;
    std::string out_;
    bool zero_ = false;
};

std::string LiteralText(std::string_view section)
{
    std::string out;
    for (std::size_t i = 0; i < section.size();) {
        const char c = section[i];
        if (c == '"' || c == '\'') {
            i = AppendQuoted(out, section, i);
        } else {
            out += c;
            ++i;
        }
    }
    return out;
}

std::string WriteSection(std::string_view section, double value, const TFormatSettings& settings, bool& zero)
{
    const Picture picture = Analyse(section);
    if (!picture.HasDigits()) {
        zero = false;
        return LiteralText(section);
    }
    PictureWriter writer(section, picture, settings);
    std::string text = writer.Write(value);
    zero = writer.RoundedToZero();
    return text;
}

[[noreturn]] void NotValid(std::string_view text, const char* what)
{
    throw EConvertError("'" + std::string(text) + "' is not a valid " + what);
}

std::string_view TrimBlanks(std::string_view text)
{
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t'))
        text.remove_prefix(1);
    while (!text.empty() && (text.back() == ' ' || text.back() == '\t'))
        text.remove_suffix(1);
    return text;
}

} // namespace

std::string FloatToStr(double value, const TFormatSettings& settings)
{
    if (!std::isfinite(value))
        return NonFinite(value);
    const Decimal d = ToDecimal(value, 15);
    if (d.digits.empty())
        return "0";
    std::string out = value < 0 ? "-" : "";
    const int n = static_cast<int>(d.digits.size());
    if (d.exponent > 15 || d.exponent < -3) {
        out += d.digits[0];
        if (n > 1)
            out += settings.DecimalSeparator + d.digits.substr(1);
        out += "E" + std::to_string(d.exponent - 1);
    } else if (d.exponent <= 0) {
        out += "0" + settings.DecimalSeparator + std::string(static_cast<std::size_t>(-d.exponent), '0') + d.digits;
    } else {
        for (int i = 0; i < d.exponent; ++i)
            out += DigitAt(d, i);
        if (n > d.exponent)
            out += settings.DecimalSeparator + d.digits.substr(static_cast<std::size_t>(d.exponent));
    }
    return out;
}

bool TryStrToFloat(std::string_view text, double& value, const TFormatSettings& settings)
{
    const std::string_view t = TrimBlanks(text);
    std::string plain; // the number with "." as its point, for from_chars
    std::size_t i = 0;
    if (i < t.size() && (t[i] == '+' || t[i] == '-')) {
        if (t[i] == '-')
            plain += '-';
        ++i;
    }
    int mantissaDigits = 0;
    while (i < t.size() && t[i] >= '0' && t[i] <= '9') {
        plain += t[i++];
        ++mantissaDigits;
    }
    const std::string& point = settings.DecimalSeparator;
    if (!point.empty() && t.substr(i, point.size()) == point) {
        i += point.size();
        plain += '.';
        while (i < t.size() && t[i] >= '0' && t[i] <= '9') {
            plain += t[i++];
            ++mantissaDigits;
        }
    }
    if (mantissaDigits == 0)
        return false;
    if (i < t.size() && (t[i] == 'e' || t[i] == 'E')) {
        plain += 'e';
        ++i;
        if (i < t.size() && (t[i] == '+' || t[i] == '-'))
            plain += t[i++];
        int exponentDigits = 0;
        while (i < t.size() && t[i] >= '0' && t[i] <= '9') {
            plain += t[i++];
            ++exponentDigits;
        }
        if (exponentDigits == 0)
            return false;
    }
    if (i != t.size())
        return false;
    double result;
    const auto [end, error] = std::from_chars(plain.data(), plain.data() + plain.size(), result);
    if (error != std::errc() || end != plain.data() + plain.size())
        return false;
    value = result;
    return true;
}

double StrToFloat(std::string_view text, const TFormatSettings& settings)
{
    double value;
    if (!TryStrToFloat(text, value, settings))
        NotValid(text, "floating point value");
    return value;
}

double StrToFloatDef(std::string_view text, double fallback, const TFormatSettings& settings)
{
    double value;
    return TryStrToFloat(text, value, settings) ? value : fallback;
}

std::string FormatFloat(std::string_view format, double value, const TFormatSettings& settings)
{
    if (format.empty() || !std::isfinite(value))
        return FloatToStr(value, settings);
    const std::vector<std::string_view> sections = Sections(format);
    const bool hasNegative = sections.size() >= 2 && !sections[1].empty();
    const bool hasZero = sections.size() >= 3 && !sections[2].empty();
    bool zero = false;
    if (value == 0)
        return WriteSection(sections[hasZero ? 2 : 0], 0.0, settings, zero);
    const bool negative = value < 0;
    const std::string_view section = negative && hasNegative ? sections[1] : sections[0];
    std::string text = WriteSection(section, std::fabs(value), settings, zero);
    if (zero && hasZero)
        return WriteSection(sections[2], 0.0, settings, zero);
    // The first section writes no sign of its own; a number rounded to zero gets none.
    if (negative && !hasNegative && !zero && Analyse(section).HasDigits())
        text.insert(0, "-");
    return text;
}

std::string IntToStr(std::int64_t value) { return std::to_string(value); }

bool TryStrToInt64(std::string_view text, std::int64_t& value)
{
    std::size_t i = 0;
    while (i < text.size() && (text[i] == ' ' || text[i] == '\t'))
        ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-'))
        negative = text[i++] == '-';
    int base = 10;
    if (i < text.size() && text[i] == '$') {
        base = 16;
        ++i;
    } else if (i + 1 < text.size() && text[i] == '0' && (text[i + 1] == 'x' || text[i + 1] == 'X')) {
        base = 16;
        i += 2;
    }
    if (i == text.size())
        return false;
    std::uint64_t magnitude;
    const char* first = text.data() + i;
    const char* last = text.data() + text.size();
    const auto [end, error] = std::from_chars(first, last, magnitude, base);
    if (error != std::errc() || end != last)
        return false;
    constexpr auto limit = static_cast<std::uint64_t>(std::numeric_limits<std::int64_t>::max());
    if (magnitude > limit + (negative ? 1 : 0))
        return false;
    value = negative ? static_cast<std::int64_t>(0 - magnitude) : static_cast<std::int64_t>(magnitude);
    return true;
}

bool TryStrToInt(std::string_view text, int& value)
{
    std::int64_t wide;
    if (!TryStrToInt64(text, wide) || wide < std::numeric_limits<int>::min() ||
        wide > std::numeric_limits<int>::max())
        return false;
    value = static_cast<int>(wide);
    return true;
}

int StrToInt(std::string_view text)
{
    int value;
    if (!TryStrToInt(text, value))
        NotValid(text, "integer value");
    return value;
}

std::int64_t StrToInt64(std::string_view text)
{
    std::int64_t value;
    if (!TryStrToInt64(text, value))
        NotValid(text, "integer value");
    return value;
}

int StrToIntDef(std::string_view text, int fallback)
{
    int value;
    return TryStrToInt(text, value) ? value : fallback;
}

std::int64_t StrToInt64Def(std::string_view text, std::int64_t fallback)
{
    std::int64_t value;
    return TryStrToInt64(text, value) ? value : fallback;
}

} // namespace core
