// The format record and where its defaults come from. Formatting and parsing
// live in DateTimeText.cpp and NumberText.cpp.

#include "platform/core/FormatSettings.h"

#include <climits>
#include <cstdlib>
#include <langinfo.h>
#include <locale.h>
#include <new>

namespace core {

TFormatSettings TFormatSettings::Czech()
{
    TFormatSettings s;
    s.CurrencyString = "Kč";
    s.CurrencyFormat = 3;
    s.NegCurrFormat = 8;
    s.CurrencyDecimals = 2;
    s.ThousandSeparator = "\u00A0";
    s.DecimalSeparator = ",";
    s.DateSeparator = ".";
    s.TimeSeparator = ":";
    s.ListSeparator = ";";
    s.ShortDateFormat = "d.M.yyyy";
    s.LongDateFormat = "d. MMMM yyyy";
    s.TimeAMString = "dop.";
    s.TimePMString = "odp.";
    s.ShortTimeFormat = "H:mm";
    s.LongTimeFormat = "H:mm:ss";
    s.ShortMonthNames = {"led", "úno", "bře", "dub", "kvě", "čvn", "čvc", "srp", "zář", "říj", "lis", "pro"};
    s.LongMonthNames = {"leden", "únor",  "březen", "duben",    "květen", "červen",
                        "červenec", "srpen", "září", "říjen", "listopad", "prosinec"};
    s.ShortDayNames = {"ne", "po", "út", "st", "čt", "pá", "so"};
    s.LongDayNames = {"neděle", "pondělí", "úterý", "středa", "čtvrtek", "pátek", "sobota"};
    return s;
}

namespace {

bool IsLetter(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }

// Translates one C library format. In the long date form the names are the
// long ones and the time-of-day directives are left out.
std::string Translate(std::string_view f, bool longDate)
{
    std::string out;
    std::string literal; // ASCII letters waiting to be quoted
    auto flushLiteral = [&] {
        if (!literal.empty())
            out += '"' + literal + '"';
        literal.clear();
    };
    for (std::size_t i = 0; i < f.size(); ++i) {
        if (f[i] != '%') {
            if (IsLetter(f[i])) {
                literal += f[i];
            } else {
                flushLiteral();
                // Quotes would open literal text in the codes: quote them instead.
                if (f[i] == '"')
                    out += "'\"'";
                else if (f[i] == '\'')
                    out += "\"'\"";
                else
                    out += f[i];
            }
            continue;
        }
        flushLiteral();
        bool unpadded = false;
        while (i + 1 < f.size() && std::string_view("-_0^#").find(f[i + 1]) != std::string_view::npos)
            unpadded |= f[++i] == '-';
        // Glibc locales may name an alternative digit width ("%Ey"); treat it as plain.
        while (i + 1 < f.size() && (f[i + 1] == 'E' || f[i + 1] == 'O'))
            ++i;
        if (i + 1 >= f.size())
            break;
        const char d = f[++i];
        const bool time = std::string_view("HIklMSpPrRTZz").find(d) != std::string_view::npos;
        if (longDate && time) {
            // The time's own separators go with it: "%H:%M:%S" leaves nothing.
            while (i + 1 < f.size() && (f[i + 1] == ':' || f[i + 1] == '.'))
                ++i;
            continue;
        }
        switch (d) {
        case 'd': out += unpadded ? "d" : "dd"; break;
        case 'e': out += "d"; break;
        case 'm': out += unpadded ? "m" : "mm"; break;
        case 'y': out += "yy"; break;
        case 'Y': out += "yyyy"; break;
        case 'b':
        case 'h': out += longDate ? "mmmm" : "mmm"; break;
        case 'B': out += "mmmm"; break;
        case 'a': out += longDate ? "dddd" : "ddd"; break;
        case 'A': out += "dddd"; break;
        case 'H': out += unpadded ? "h" : "hh"; break;
        case 'k':
        case 'l': out += "h"; break;
        case 'I': out += unpadded ? "h" : "hh"; break;
        case 'M': out += unpadded ? "n" : "nn"; break;
        case 'S': out += unpadded ? "s" : "ss"; break;
        case 'p':
        case 'P': out += "ampm"; break;
        case 'D': out += "mm/dd/yy"; break;
        case 'F': out += "yyyy-mm-dd"; break;
        case 'T': out += "hh:nn:ss"; break;
        case 'R': out += "hh:nn"; break;
        case 'r': out += "hh:nn:ss ampm"; break;
        case 'n':
        case 't': out += ' '; break;
        case '%': out += '%'; break;
        default: break; // zone, week numbers and the like have no code
        }
    }
    flushLiteral();
    return out;
}

// Blanks and punctuation left at either end once directives were dropped.
std::string TrimPunctuation(std::string s)
{
    auto loose = [](char c) { return c == ' ' || c == ',' || c == ';' || c == '-' || c == ':'; };
    while (!s.empty() && loose(s.back()))
        s.pop_back();
    std::size_t start = 0;
    while (start < s.size() && loose(s[start]))
        ++start;
    s.erase(0, start);
    for (std::size_t pos; (pos = s.find("  ")) != std::string::npos;)
        s.erase(pos, 1);
    return s;
}

// The literal text between the first two directives of a C library format,
// without blanks: "." in "%d.%m.%Y".
std::string SeparatorOf(std::string_view f, std::string fallback)
{
    const std::size_t first = f.find('%');
    if (first == std::string_view::npos || first + 2 > f.size())
        return fallback;
    std::size_t i = first + 1;
    while (i < f.size() && !IsLetter(f[i]))
        ++i;
    std::string sep;
    for (++i; i < f.size() && f[i] != '%'; ++i)
        if (f[i] != ' ')
            sep += f[i];
    return sep.empty() ? fallback : sep;
}

// "hh:nn:ss ampm" without its seconds: "hh:nn ampm".
std::string WithoutSeconds(std::string format)
{
    const std::size_t s = format.find_first_of("sS");
    if (s == std::string::npos)
        return format;
    std::size_t end = s;
    while (end < format.size() && (format[end] == 's' || format[end] == 'S'))
        ++end;
    std::size_t start = s;
    while (start > 0 && !IsLetter(format[start - 1]))
        --start;
    format.erase(start, end - start);
    return format;
}

std::string Info(locale_t locale, nl_item item) { return nl_langinfo_l(item, locale); }

int InfoByte(locale_t locale, nl_item item)
{
    const char* text = nl_langinfo_l(item, locale);
    return text && *text ? static_cast<unsigned char>(*text) : CHAR_MAX;
}

void ReadTime(TFormatSettings& s, locale_t locale)
{
    const std::string dateFormat = Info(locale, D_FMT);
    s.DateSeparator = SeparatorOf(dateFormat, "/");
    s.ShortDateFormat = Translate(dateFormat, false);
    s.LongDateFormat = TrimPunctuation(Translate(Info(locale, D_T_FMT), true));
    if (s.LongDateFormat.empty())
        s.LongDateFormat = s.ShortDateFormat;
    const std::string timeFormat = Info(locale, T_FMT);
    s.TimeSeparator = SeparatorOf(timeFormat, ":");
    s.LongTimeFormat = Translate(timeFormat, false);
    s.ShortTimeFormat = WithoutSeconds(s.LongTimeFormat);
    s.TimeAMString = Info(locale, AM_STR);
    s.TimePMString = Info(locale, PM_STR);
    if (s.TimeAMString.empty())
        s.TimeAMString = "AM";
    if (s.TimePMString.empty())
        s.TimePMString = "PM";
    for (int i = 0; i < 12; ++i) {
        // The stand-alone forms are the nominative names ("leden", not "ledna").
        s.LongMonthNames[i] = Info(locale, static_cast<nl_item>(ALTMON_1 + i));
        if (s.LongMonthNames[i].empty())
            s.LongMonthNames[i] = Info(locale, static_cast<nl_item>(MON_1 + i));
        s.ShortMonthNames[i] = Info(locale, static_cast<nl_item>(_NL_ABALTMON_1 + i));
        if (s.ShortMonthNames[i].empty())
            s.ShortMonthNames[i] = Info(locale, static_cast<nl_item>(ABMON_1 + i));
    }
    for (int i = 0; i < 7; ++i) {
        s.LongDayNames[i] = Info(locale, static_cast<nl_item>(DAY_1 + i));
        s.ShortDayNames[i] = Info(locale, static_cast<nl_item>(ABDAY_1 + i));
    }
}

void ReadNumeric(TFormatSettings& s, locale_t locale)
{
    s.DecimalSeparator = Info(locale, RADIXCHAR);
    if (s.DecimalSeparator.empty())
        s.DecimalSeparator = ".";
    s.ThousandSeparator = Info(locale, THOUSEP);
    // The C library has no list separator; a decimal comma asks for ";".
    s.ListSeparator = s.DecimalSeparator == "," ? ";" : ",";
}

void ReadMonetary(TFormatSettings& s, locale_t locale)
{
    s.CurrencyString = Info(locale, CURRENCY_SYMBOL);
    const int digits = InfoByte(locale, FRAC_DIGITS);
    s.CurrencyDecimals = digits == CHAR_MAX ? 2 : digits;
    const bool before = InfoByte(locale, P_CS_PRECEDES) == 1;
    const bool spaced = InfoByte(locale, P_SEP_BY_SPACE) == 1;
    s.CurrencyFormat = before ? (spaced ? 2 : 0) : (spaced ? 3 : 1);
    const bool negBefore = InfoByte(locale, N_CS_PRECEDES) == 1;
    const bool negSpaced = InfoByte(locale, N_SEP_BY_SPACE) == 1;
    s.NegCurrFormat = negBefore ? (negSpaced ? 9 : 1) : (negSpaced ? 8 : 5);
}

std::string EnvironmentLocale(const char* category)
{
    for (const char* name : {"LC_ALL", category, "LANG"}) {
        const char* value = std::getenv(name);
        if (value && *value)
            return value;
    }
    return "C";
}

bool IsPlainC(const std::string& name)
{
    return name.empty() || name == "C" || name == "POSIX" || name.rfind("C.", 0) == 0;
}

// Opens the named locale for one category, or gives nullptr when it is plain C
// or not installed here.
locale_t OpenLocale(int mask, const std::string& name)
{
    if (IsPlainC(name))
        return nullptr;
    return newlocale(mask, name.c_str(), static_cast<locale_t>(nullptr));
}

template <typename Read>
void ReadCategory(TFormatSettings& s, int mask, const std::string& name, Read read)
{
    if (locale_t locale = OpenLocale(mask, name)) {
        read(s, locale);
        freelocale(locale);
    }
}

} // namespace

std::string FormatFromStrftime(std::string_view format) { return Translate(format, false); }

TFormatSettings LocaleFormatSettings(locale_t locale)
{
    TFormatSettings s;
    ReadTime(s, locale);
    ReadNumeric(s, locale);
    ReadMonetary(s, locale);
    return s;
}

TFormatSettings GetLocaleFormatSettings(const std::string& localeName)
{
    TFormatSettings s = TFormatSettings::Czech();
    auto name = [&](const char* category) {
        return localeName.empty() ? EnvironmentLocale(category) : localeName;
    };
    ReadCategory(s, LC_TIME_MASK, name("LC_TIME"), ReadTime);
    ReadCategory(s, LC_NUMERIC_MASK, name("LC_NUMERIC"), ReadNumeric);
    ReadCategory(s, LC_MONETARY_MASK, name("LC_MONETARY"), ReadMonetary);
    return s;
}

namespace {

// Storage that needs no construction of its own, so the reference below is
// bound before any dynamic initialisation; the record itself is built by the
// first FormatSettingsInit and lives until the process ends.
union Storage {
    constexpr Storage() : unset() {}
    ~Storage() {}
    char unset;
    TFormatSettings value;
};
constinit Storage storage;
bool built = false;

} // namespace

constinit TFormatSettings& FormatSettings = storage.value;

detail::FormatSettingsInit::FormatSettingsInit()
{
    if (!built) {
        new (&storage.value) TFormatSettings(GetLocaleFormatSettings());
        built = true;
    }
}

} // namespace core
