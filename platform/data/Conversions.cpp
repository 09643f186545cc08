#include "platform/data/Conversions.h"

#include <charconv>
#include <cmath>
#include <cstdint>
#include <algorithm>
#include <cstdio>

namespace data::detail {

namespace {

constexpr long long kDaysTo1970 = 25569; // 1899-12-30 to 1970-01-01

// Days since 1970-01-01 of a proleptic Gregorian date.
long long DaysFromCivil(long long y, unsigned m, unsigned d)
{
    y -= m <= 2;
    const long long era = (y >= 0 ? y : y - 399) / 400;
    const unsigned yoe = static_cast<unsigned>(y - era * 400);
    const unsigned doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
    const unsigned doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + static_cast<long long>(doe) - 719468;
}

void CivilFromDays(long long z, int& year, int& month, int& day)
{
    z += 719468;
    const long long era = (z >= 0 ? z : z - 146096) / 146097;
    const unsigned doe = static_cast<unsigned>(z - era * 146097);
    const unsigned yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const unsigned doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const unsigned mp = (5 * doy + 2) / 153;
    day = static_cast<int>(doy - (153 * mp + 2) / 5 + 1);
    month = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
    year = static_cast<int>(static_cast<long long>(yoe) + era * 400 + (month <= 2));
}

bool IsLeap(int y) { return (y % 4 == 0 && y % 100 != 0) || y % 400 == 0; }

int DaysIn(int y, int m)
{
    static const int days[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    return m == 2 && IsLeap(y) ? 29 : days[m - 1];
}

std::string Pad(int value, int width)
{
    char buf[16];
    std::snprintf(buf, sizeof buf, "%0*d", width, value);
    return buf;
}

} // namespace

bool TryEncodeDateTime(int year, int month, int day, int hour, int min, int sec, int msec, double& result)
{
    if (year < 1 || year > 9999 || month < 1 || month > 12 || day < 1 || day > DaysIn(year, month))
        return false;
    if (hour < 0 || hour > 23 || min < 0 || min > 59 || sec < 0 || sec > 59 || msec < 0 || msec > 999)
        return false;
    const double date = static_cast<double>(DaysFromCivil(year, month, day) + kDaysTo1970);
    const double time = ((hour * 60.0 + min) * 60.0 + sec + msec / 1000.0) / 86400.0;
    // Before 1899-12-30 the fraction still counts forward from midnight.
    result = date < 0 ? date - time : date + time;
    return true;
}

void DecodeDateTime(double value, int& year, int& month, int& day, int& hour, int& min, int& sec, int& msec)
{
    // Whole milliseconds since 1899-12-30 00:00, the fraction taken as a positive time.
    double whole = std::trunc(value);
    double frac = std::fabs(value - whole);
    long long ms = std::llround(frac * 86400000.0);
    if (ms >= 86400000) {
        ms -= 86400000;
        whole += value < 0 ? -1 : 1;
    }
    CivilFromDays(static_cast<long long>(whole) - kDaysTo1970, year, month, day);
    hour = static_cast<int>(ms / 3600000);
    min = static_cast<int>(ms / 60000 % 60);
    sec = static_cast<int>(ms / 1000 % 60);
    msec = static_cast<int>(ms % 1000);
}

std::string FormatDateTime(std::string_view format, double value)
{
    int y, m, d, h, n, s, z;
    DecodeDateTime(value, y, m, d, h, n, s, z);
    std::string out;
    std::size_t i = 0;
    auto run = [&](char c) {
        std::size_t k = i;
        while (k < format.size() && (format[k] | 0x20) == c)
            ++k;
        const std::size_t len = k - i;
        i = k;
        return len;
    };
    while (i < format.size()) {
        const char c = format[i];
        const char lc = static_cast<char>(c | 0x20);
        if (c == '"' || c == '\'') {
            const std::size_t end = format.find(c, i + 1);
            out.append(format.substr(i + 1, end == std::string_view::npos ? end : end - i - 1));
            i = end == std::string_view::npos ? format.size() : end + 1;
        } else if (lc == 'd') {
            out += run('d') >= 2 ? Pad(d, 2) : std::to_string(d);
        } else if (lc == 'm') {
            out += run('m') >= 2 ? Pad(m, 2) : std::to_string(m);
        } else if (lc == 'y') {
            out += run('y') >= 3 ? Pad(y, 4) : Pad(y % 100, 2);
        } else if (lc == 'h') {
            out += run('h') >= 2 ? Pad(h, 2) : std::to_string(h);
        } else if (lc == 'n') {
            out += run('n') >= 2 ? Pad(n, 2) : std::to_string(n);
        } else if (lc == 's') {
            out += run('s') >= 2 ? Pad(s, 2) : std::to_string(s);
        } else if (lc == 'z') {
            out += run('z') >= 3 ? Pad(z, 3) : std::to_string(z);
        } else {
            out += c;
            ++i;
        }
    }
    return out;
}

std::string DateTimeToStr(double value)
{
    int y, m, d, h, n, s, z;
    DecodeDateTime(value, y, m, d, h, n, s, z);
    if (h == 0 && n == 0 && s == 0 && z == 0)
        return FormatDateTime("d.m.yyyy", value);
    return FormatDateTime("d.m.yyyy h:nn:ss", value);
}

bool TryStrToDateTime(std::string_view text, double& result)
{
    int part[6] = {0, 0, 0, 0, 0, 0};
    int count = 0;
    std::size_t i = 0;
    auto skipBlanks = [&] {
        while (i < text.size() && text[i] == ' ')
            ++i;
    };
    skipBlanks();
    while (i < text.size() && count < 6) {
        const char* first = text.data() + i;
        auto [ptr, ec] = std::from_chars(first, text.data() + text.size(), part[count]);
        if (ec != std::errc() || ptr == first)
            return false;
        i = static_cast<std::size_t>(ptr - text.data());
        ++count;
        skipBlanks();
        if (i < text.size()) {
            const char sep = text[i];
            const bool dateSep = count < 3 && sep == '.';
            const bool timeSep = count >= 4 && sep == ':';
            if (dateSep || timeSep) {
                ++i;
                skipBlanks();
            } else if (count != 3) {
                return false;
            }
        }
    }
    if (i != text.size() || count < 3 || count == 4)
        return false;
    return TryEncodeDateTime(part[2], part[1], part[0], part[3], part[4], part[5], 0, result);
}

std::string FloatToStr(double value)
{
    char buf[32];
    std::snprintf(buf, sizeof buf, "%.15g", value);
    std::string out = buf;
    for (char& c : out)
        if (c == '.')
            c = ',';
    return out;
}

std::string FormatFloat(std::string_view format, double value)
{
    const std::size_t dot = format.find('.');
    int decimals = 0, minInt = 0;
    if (dot != std::string_view::npos)
        for (std::size_t i = dot + 1; i < format.size() && (format[i] == '0' || format[i] == '#'); ++i)
            ++decimals;
    for (std::size_t i = 0; i < std::min(dot, format.size()); ++i)
        if (format[i] == '0')
            ++minInt;
    const bool thousands = format.substr(0, dot).find(',') != std::string_view::npos;
    char buf[64];
    std::snprintf(buf, sizeof buf, "%.*f", decimals, std::fabs(value));
    std::string digits = buf;
    std::string frac;
    if (const std::size_t p = digits.find('.'); p != std::string::npos) {
        frac = digits.substr(p + 1);
        digits.resize(p);
    }
    while (static_cast<int>(digits.size()) < minInt)
        digits.insert(digits.begin(), '0');
    if (minInt == 0 && digits == "0")
        digits.clear();
    if (thousands)
        for (int i = static_cast<int>(digits.size()) - 3; i > 0; i -= 3)
            digits.insert(static_cast<std::size_t>(i), "\xC2\xA0");
    std::string out = value < 0 && (digits.find_first_not_of('0') != std::string::npos ||
                                    frac.find_first_not_of('0') != std::string::npos)
                          ? "-"
                          : "";
    out += digits;
    if (!frac.empty())
        out += "," + frac;
    return out;
}

bool TryStrToFloat(std::string_view text, double& result)
{
    std::string copy(text);
    for (char& c : copy)
        if (c == ',')
            c = '.';
    while (!copy.empty() && copy.front() == ' ')
        copy.erase(copy.begin());
    while (!copy.empty() && copy.back() == ' ')
        copy.pop_back();
    if (copy.empty())
        return false;
    auto [ptr, ec] = std::from_chars(copy.data() + (copy[0] == '+' ? 1 : 0), copy.data() + copy.size(), result);
    return ec == std::errc() && ptr == copy.data() + copy.size();
}

bool TryStrToInt64(std::string_view text, long long& result)
{
    while (!text.empty() && text.front() == ' ')
        text.remove_prefix(1);
    while (!text.empty() && text.back() == ' ')
        text.remove_suffix(1);
    if (!text.empty() && text.front() == '+')
        text.remove_prefix(1);
    if (text.empty())
        return false;
    auto [ptr, ec] = std::from_chars(text.data(), text.data() + text.size(), result);
    return ec == std::errc() && ptr == text.data() + text.size();
}

} // namespace data::detail
