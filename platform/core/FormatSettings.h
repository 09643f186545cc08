#pragma once
// The format record of dates, times and numbers; the process-wide record that
// callers change and put back (the register's searches set DateSeparator to
// "/" and then back to "."); and the conversions between values and text that
// follow a record. Every conversion takes the record as its last argument and
// uses the process-wide one when it is left out.

#include "platform/core/DateTime.h"

#include <array>
#include <clocale>
#include <cstdint>
#include <string>
#include <string_view>

namespace core {

struct TFormatSettings {
    std::string CurrencyString;
    // 0 "Kč1", 1 "1Kč", 2 "Kč 1", 3 "1 Kč".
    int CurrencyFormat = 0;
    // The class library's sixteen patterns; 1 "-Kč1", 5 "-1Kč", 8 "-1 Kč", 9 "-Kč 1".
    int NegCurrFormat = 0;
    int CurrencyDecimals = 2;
    // Separators are texts: the Czech thousands separator is a no-break space,
    // two bytes in UTF-8.
    std::string ThousandSeparator;
    std::string DecimalSeparator;
    std::string DateSeparator;
    std::string TimeSeparator;
    std::string ListSeparator;
    std::string ShortDateFormat;
    std::string LongDateFormat;
    std::string TimeAMString;
    std::string TimePMString;
    std::string ShortTimeFormat;
    std::string LongTimeFormat;
    // Index 0 is January.
    std::array<std::string, 12> ShortMonthNames;
    std::array<std::string, 12> LongMonthNames;
    // Index 0 is Sunday, as DayOfWeek() - 1.
    std::array<std::string, 7> ShortDayNames;
    std::array<std::string, 7> LongDayNames;
    // A two-digit year lands in the hundred years that begin this many years
    // before the current one; 0 puts it into the current century.
    int TwoDigitYearCenturyWindow = 50;

    // The conventions Czech users expect: "." between day, month and year
    // ("d.M.yyyy", long "d. MMMM yyyy"), times "H:mm" and "H:mm:ss", a decimal
    // comma, a no-break space between thousands, ";" between list items,
    // Czech month and day names, "dop."/"odp." and the currency "Kč".
    static TFormatSettings Czech();
};

// The record of the user's locale: the environment's LC_TIME, LC_NUMERIC and
// LC_MONETARY (each overridden by LC_ALL, defaulting to LANG), or the named
// locale for all three. A category under the C or POSIX locale, or under a
// locale this machine does not have, takes the Czech conventions instead.
TFormatSettings GetLocaleFormatSettings(const std::string& localeName = "");
// Everything read from one open C library locale, whatever it is.
TFormatSettings LocaleFormatSettings(locale_t locale);
// A C library date or time format ("%d.%m.%Y") in the class library's codes
// ("dd.mm.yyyy"). Time-zone directives are dropped; letters meant literally
// come out quoted.
std::string FormatFromStrftime(std::string_view format);

// The process-wide record, filled from the user's locale when the program
// starts. It is ready before any start-up code of a file that includes this
// header runs, whatever order the files are initialised in.
extern TFormatSettings& FormatSettings;

namespace detail {
// One per translation unit: the first one to run fills the record.
struct FormatSettingsInit {
    FormatSettingsInit();
};
static const FormatSettingsInit formatSettingsInit;
} // namespace detail

// --- dates and times as text ----------------------------------------------------

// Format codes, letter case free except where it is copied into the text:
//   c          ShortDateFormat, then " " and LongTimeFormat unless the time is midnight
//   d dd       day; ddd dddd day names; ddddd ShortDateFormat; dddddd LongDateFormat
//   m mm       month; mmm mmmm month names; m and mm right after h or hh are minutes
//   yy yyyy    year in two or four digits
//   h hh       hour (12-hour clock when an am/pm code follows); n nn minutes; s ss seconds
//   z zzz      milliseconds; t ShortTimeFormat; tt LongTimeFormat
//   am/pm a/p  the half of the day, in the letter case written; ampm TimeAMString/TimePMString
//   gg         the era: empty, the calendar here has none
//   / :        DateSeparator, TimeSeparator
//   '..' ".."  literal text
// An empty format means "c".
std::string FormatDateTime(std::string_view format, TDateTime value,
                           const TFormatSettings& settings = FormatSettings);
std::string DateToStr(TDateTime value, const TFormatSettings& settings = FormatSettings);
std::string TimeToStr(TDateTime value, const TFormatSettings& settings = FormatSettings);
std::string DateTimeToStr(TDateTime value, const TFormatSettings& settings = FormatSettings);

// A date is two or three numbers joined by DateSeparator, in the order of day,
// month and year that ShortDateFormat shows (a missing year is the current one;
// two digits expand by TwoDigitYearCenturyWindow). A time is hours and minutes
// joined by TimeSeparator, with optional seconds and milliseconds (after the
// DecimalSeparator), and an optional AM/PM designation. Blanks may surround
// every piece. The Str forms raise EConvertError naming the text:
// "'30.2.2010' is not a valid date".
bool TryStrToDate(std::string_view text, TDateTime& value, const TFormatSettings& settings = FormatSettings);
TDateTime StrToDate(std::string_view text, const TFormatSettings& settings = FormatSettings);
bool TryStrToTime(std::string_view text, TDateTime& value, const TFormatSettings& settings = FormatSettings);
TDateTime StrToTime(std::string_view text, const TFormatSettings& settings = FormatSettings);
// A date, a time, or a date followed by a time.
bool TryStrToDateTime(std::string_view text, TDateTime& value,
                      const TFormatSettings& settings = FormatSettings);
TDateTime StrToDateTime(std::string_view text, const TFormatSettings& settings = FormatSettings);

// --- numbers as text ----------------------------------------------------------------

// General form: at most 15 significant digits, the record's DecimalSeparator,
// no thousands separators; an exponent ("1E20", "1,5E-7") when the number would
// need more than 15 digits before the point or more than 3 zeros after it.
// NaN and infinities give "NAN", "INF" and "-INF".
std::string FloatToStr(double value, const TFormatSettings& settings = FormatSettings);
// Blanks around the number are allowed; the point is the record's
// DecimalSeparator; an exponent may follow. Raises EConvertError:
// "'1.5' is not a valid floating point value".
bool TryStrToFloat(std::string_view text, double& value, const TFormatSettings& settings = FormatSettings);
double StrToFloat(std::string_view text, const TFormatSettings& settings = FormatSettings);
double StrToFloatDef(std::string_view text, double fallback, const TFormatSettings& settings = FormatSettings);

// A picture of up to three sections separated by ";": positive numbers, negative
// numbers (shown as their absolute value, the section writing any sign itself),
// zero. An empty section, or a missing one, borrows the first. In a section:
//   0          a digit, always shown
//   #          a digit, shown when significant
//   .          the place of the DecimalSeparator (the first one; others are ignored)
//   ,          thousands separated by ThousandSeparator
//   E+ E- e+ e-  scientific form; the zeros after it give the exponent's least
//              digits; E+ always writes the exponent's sign, E- only a minus
//   '..' ".."  literal text; any other character stands for itself
// Digits are rounded halves away from zero, on the number's 15 significant
// digits. An empty picture gives FloatToStr.
std::string FormatFloat(std::string_view format, double value, const TFormatSettings& settings = FormatSettings);

std::string IntToStr(std::int64_t value);
// Decimal, or hexadecimal after "$" or "0x"; an optional sign; leading blanks.
// Raises EConvertError: "'12a' is not a valid integer value".
bool TryStrToInt(std::string_view text, int& value);
bool TryStrToInt64(std::string_view text, std::int64_t& value);
int StrToInt(std::string_view text);
std::int64_t StrToInt64(std::string_view text);
int StrToIntDef(std::string_view text, int fallback);
std::int64_t StrToInt64Def(std::string_view text, std::int64_t fallback);

} // namespace core
