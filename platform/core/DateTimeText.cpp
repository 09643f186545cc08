// Dates and times to text and back, under a format record.

#include "platform/core/Exceptions.h"
#include "platform/core/FormatSettings.h"
#include "platform/core/Letters.h"

#include <cstdio>

namespace core {

namespace {

char Upper(char c) { return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 32) : c; }
bool IsLetter(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }

bool StartsWithNoCase(std::string_view text, std::size_t pos, std::string_view word)
{
    return text.size() - pos >= word.size() && SameText(text.substr(pos, word.size()), word);
}

// True when an am/pm code comes in format from pos on (quoted text skipped).
bool HalfDayCodeFollows(std::string_view format, std::size_t pos)
{
    while (pos < format.size()) {
        const char c = format[pos];
        if (c == '"' || c == '\'') {
            const std::size_t close = format.find(c, pos + 1);
            pos = close == std::string_view::npos ? format.size() : close + 1;
            continue;
        }
        if (StartsWithNoCase(format, pos, "am/pm") || StartsWithNoCase(format, pos, "a/p") ||
            StartsWithNoCase(format, pos, "ampm"))
            return true;
        ++pos;
    }
    return false;
}

class DateTimeWriter {
public:
    DateTimeWriter(TDateTime value, const TFormatSettings& settings) : settings_(settings)
    {
        DecodeDateTime(value, year_, month_, day_, hour_, min_, sec_, msec_);
        dayOfWeek_ = DayOfWeek(value);
    }

    std::string Write(std::string_view format)
    {
        Append(format.empty() ? std::string_view("c") : format, 0);
        return std::move(out_);
    }

private:
    void Number(int value, int width)
    {
        char buffer[16];
        std::snprintf(buffer, sizeof buffer, "%0*d", width, value);
        out_ += buffer;
    }

    void Name(const std::string* names, int count, int index)
    {
        if (index >= 1 && index <= count)
            out_ += names[index - 1];
    }

    void Append(std::string_view format, int depth)
    {
        // The record's own formats are expanded at most twice deep, so a
        // ShortDateFormat that names itself cannot recurse for ever.
        if (depth > 2)
            return;
        char last = 0; // the last letter code, upper case: "m" after "h" means minutes
        std::size_t i = 0;
        while (i < format.size()) {
            const char c = format[i];
            if (c == '"' || c == '\'') {
                const std::size_t close = format.find(c, i + 1);
                const std::size_t end = close == std::string_view::npos ? format.size() : close;
                out_.append(format.substr(i + 1, end - i - 1));
                i = end == format.size() ? end : end + 1;
                continue;
            }
            if (c == '/') {
                out_ += settings_.DateSeparator;
                ++i;
                continue;
            }
            if (c == ':') {
                out_ += settings_.TimeSeparator;
                ++i;
                continue;
            }
            if (!IsLetter(c)) {
                out_ += c;
                ++i;
                continue;
            }
            const char code = Upper(c);
            if (code == 'A') {
                const bool pm = hour_ >= 12;
                if (StartsWithNoCase(format, i, "am/pm")) {
                    out_.append(format.substr(i + (pm ? 3 : 0), 2));
                    i += 5;
                    last = code;
                    continue;
                }
                if (StartsWithNoCase(format, i, "a/p")) {
                    out_ += format[i + (pm ? 2 : 0)];
                    i += 3;
                    last = code;
                    continue;
                }
                if (StartsWithNoCase(format, i, "ampm")) {
                    out_ += pm ? settings_.TimePMString : settings_.TimeAMString;
                    i += 4;
                    last = code;
                    continue;
                }
            }
            std::size_t count = 1;
            while (i + count < format.size() && Upper(format[i + count]) == code)
                ++count;
            const std::size_t next = i + count;
            switch (code) {
            case 'Y':
                if (count <= 2)
                    Number(year_ % 100, 2);
                else
                    Number(year_, 4);
                break;
            case 'M':
                if (last == 'H' && count <= 2)
                    Number(min_, count == 1 ? 1 : 2);
                else if (count <= 2)
                    Number(month_, static_cast<int>(count));
                else if (count == 3)
                    Name(settings_.ShortMonthNames.data(), 12, month_);
                else
                    Name(settings_.LongMonthNames.data(), 12, month_);
                break;
            case 'D':
                switch (count) {
                case 1:
                case 2: Number(day_, static_cast<int>(count)); break;
                case 3: Name(settings_.ShortDayNames.data(), 7, dayOfWeek_); break;
                case 4: Name(settings_.LongDayNames.data(), 7, dayOfWeek_); break;
                case 5: Append(settings_.ShortDateFormat, depth + 1); break;
                default: Append(settings_.LongDateFormat, depth + 1); break;
                }
                break;
            case 'H': {
                int hour = hour_;
                if (HalfDayCodeFollows(format, next)) {
                    hour %= 12;
                    if (hour == 0)
                        hour = 12;
                }
                Number(hour, count == 1 ? 1 : 2);
                break;
            }
            case 'N': Number(min_, count == 1 ? 1 : 2); break;
            case 'S': Number(sec_, count == 1 ? 1 : 2); break;
            case 'Z': Number(msec_, count < 3 ? 1 : 3); break;
            case 'T': Append(count == 1 ? settings_.ShortTimeFormat : settings_.LongTimeFormat, depth + 1); break;
            case 'C':
                Append(settings_.ShortDateFormat, depth + 1);
                if (hour_ != 0 || min_ != 0 || sec_ != 0 || msec_ != 0) {
                    out_ += ' ';
                    Append(settings_.LongTimeFormat, depth + 1);
                }
                break;
            case 'G': break; // no era
            default: out_.append(format.substr(i, count)); break;
            }
            last = code;
            i = next;
        }
    }

    const TFormatSettings& settings_;
    int year_, month_, day_, hour_, min_, sec_, msec_, dayOfWeek_;
    std::string out_;
};

// Reads a date or time text piece by piece. Blanks may stand before each piece.
class Scanner {
public:
    explicit Scanner(std::string_view text) : text_(text) {}

    void Blanks()
    {
        while (pos_ < text_.size() && (text_[pos_] == ' ' || text_[pos_] == '\t'))
            ++pos_;
    }

    bool AtEnd()
    {
        Blanks();
        return pos_ == text_.size();
    }

    // Up to nine digits; digits tells how many were written, leading zeros included.
    bool Number(int& value, int& digits)
    {
        Blanks();
        value = 0;
        digits = 0;
        while (pos_ < text_.size() && text_[pos_] >= '0' && text_[pos_] <= '9') {
            if (++digits > 9)
                return false;
            value = value * 10 + (text_[pos_] - '0');
            ++pos_;
        }
        return digits > 0;
    }

    bool Literal(std::string_view what, bool ignoreCase = false)
    {
        if (what.empty())
            return false;
        const std::size_t start = pos_;
        if (what.find_first_not_of(" \t") != std::string_view::npos)
            Blanks();
        const std::string_view rest = text_.substr(pos_);
        const bool match = rest.size() >= what.size() &&
                           (ignoreCase ? AnsiSameText(rest.substr(0, what.size()), what)
                                       : rest.substr(0, what.size()) == what);
        if (match)
            pos_ += what.size();
        else
            pos_ = start;
        return match;
    }

private:
    std::string_view text_;
    std::size_t pos_ = 0;
};

enum class DateOrder { DMY, MDY, YMD };

DateOrder OrderOf(std::string_view format)
{
    for (std::size_t i = 0; i < format.size(); ++i) {
        const char c = format[i];
        if (c == '"' || c == '\'') {
            const std::size_t close = format.find(c, i + 1);
            if (close == std::string_view::npos)
                break;
            i = close;
            continue;
        }
        switch (Upper(c)) {
        case 'D': return DateOrder::DMY;
        case 'M': return DateOrder::MDY;
        case 'Y':
        case 'E': return DateOrder::YMD;
        default: break;
        }
    }
    return DateOrder::MDY;
}

int ExpandYear(int year, int window)
{
    const int current = YearOf(Now());
    const int start = window > 0 ? current - window : current;
    year += start / 100 * 100;
    if (window > 0 && year < start)
        year += 100;
    return year;
}

bool ScanDate(Scanner& scan, const TFormatSettings& s, TDateTime& value)
{
    int n1, l1, n2, l2, n3 = 0, l3 = 0;
    if (!scan.Number(n1, l1) || !scan.Literal(s.DateSeparator) || !scan.Number(n2, l2))
        return false;
    const bool hasThird = scan.Literal(s.DateSeparator);
    if (hasThird && !scan.Number(n3, l3))
        return false;
    int year, month, day, yearDigits = 4;
    const DateOrder order = OrderOf(s.ShortDateFormat);
    if (!hasThird) {
        year = YearOf(Now());
        if (order == DateOrder::DMY) {
            day = n1;
            month = n2;
        } else {
            month = n1;
            day = n2;
        }
    } else if (order == DateOrder::DMY) {
        day = n1, month = n2, year = n3, yearDigits = l3;
    } else if (order == DateOrder::MDY) {
        month = n1, day = n2, year = n3, yearDigits = l3;
    } else {
        year = n1, month = n2, day = n3, yearDigits = l1;
    }
    if (yearDigits <= 2)
        year = ExpandYear(year, s.TwoDigitYearCenturyWindow);
    return TryEncodeDate(year, month, day, value);
}

bool ScanTime(Scanner& scan, const TFormatSettings& s, TDateTime& value)
{
    int hour, min = 0, sec = 0, msec = 0, digits;
    if (!scan.Number(hour, digits))
        return false;
    bool hasMinutes = false;
    if (scan.Literal(s.TimeSeparator)) {
        if (!scan.Number(min, digits))
            return false;
        hasMinutes = true;
        if (scan.Literal(s.TimeSeparator)) {
            if (!scan.Number(sec, digits))
                return false;
            if (scan.Literal(s.DecimalSeparator) && !scan.Number(msec, digits))
                return false;
        }
    }
    int base = -1;
    if (scan.Literal(s.TimeAMString, true) || scan.Literal("AM", true))
        base = 0;
    else if (scan.Literal(s.TimePMString, true) || scan.Literal("PM", true))
        base = 12;
    if (!hasMinutes && base < 0)
        return false;
    if (base >= 0) {
        if (hour == 0 || hour > 12)
            return false;
        hour = hour % 12 + base;
    }
    return TryEncodeTime(hour, min, sec, msec, value);
}

[[noreturn]] void NotValid(std::string_view text, const char* what)
{
    throw EConvertError("'" + std::string(text) + "' is not a valid " + what);
}

} // namespace

std::string FormatDateTime(std::string_view format, TDateTime value, const TFormatSettings& settings)
{
    return DateTimeWriter(value, settings).Write(format);
}

std::string DateToStr(TDateTime value, const TFormatSettings& settings)
{
    return FormatDateTime("ddddd", value, settings);
}

std::string TimeToStr(TDateTime value, const TFormatSettings& settings)
{
    return FormatDateTime("tt", value, settings);
}

std::string DateTimeToStr(TDateTime value, const TFormatSettings& settings)
{
    return FormatDateTime("c", value, settings);
}

bool TryStrToDate(std::string_view text, TDateTime& value, const TFormatSettings& settings)
{
    Scanner scan(text);
    TDateTime date;
    if (!ScanDate(scan, settings, date) || !scan.AtEnd())
        return false;
    value = date;
    return true;
}

TDateTime StrToDate(std::string_view text, const TFormatSettings& settings)
{
    TDateTime value;
    if (!TryStrToDate(text, value, settings))
        NotValid(text, "date");
    return value;
}

bool TryStrToTime(std::string_view text, TDateTime& value, const TFormatSettings& settings)
{
    Scanner scan(text);
    TDateTime time;
    if (!ScanTime(scan, settings, time) || !scan.AtEnd())
        return false;
    value = time;
    return true;
}

TDateTime StrToTime(std::string_view text, const TFormatSettings& settings)
{
    TDateTime value;
    if (!TryStrToTime(text, value, settings))
        NotValid(text, "time");
    return value;
}

bool TryStrToDateTime(std::string_view text, TDateTime& value, const TFormatSettings& settings)
{
    Scanner scan(text);
    TDateTime date, time;
    if (ScanDate(scan, settings, date)) {
        if (scan.AtEnd()) {
            value = date;
            return true;
        }
        if (ScanTime(scan, settings, time) && scan.AtEnd()) {
            value = ComposeDateTime(date, time);
            return true;
        }
    }
    return TryStrToTime(text, value, settings);
}

TDateTime StrToDateTime(std::string_view text, const TFormatSettings& settings)
{
    TDateTime value;
    if (!TryStrToDateTime(text, value, settings))
        NotValid(text, "date and time");
    return value;
}

} // namespace core
