#include "platform/core/FormatSettings.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <locale.h>

using namespace core;

namespace {

// Start-up code of another file, run before main() and perhaps before the
// file that holds the process-wide record.
const std::string startupDate = DateToStr(EncodeDate(2010, 5, 12));

} // namespace

TEST(FormatSettings, TheProcessWideRecordIsReadyForStartUpCode)
{
    EXPECT_EQ(startupDate, DateToStr(EncodeDate(2010, 5, 12), GetLocaleFormatSettings()));
    EXPECT_FALSE(startupDate.empty());
}

TEST(FormatSettings, CzechConventionsUnderThePlainCLocale)
{
    for (const char* name : {"C", "POSIX", "C.UTF-8", "xx_NOWHERE.UTF-8"}) {
        const TFormatSettings s = GetLocaleFormatSettings(name);
        EXPECT_EQ(s.DateSeparator, ".") << name;
        EXPECT_EQ(s.ShortDateFormat, "d.M.yyyy") << name;
        EXPECT_EQ(s.LongTimeFormat, "H:mm:ss") << name;
        EXPECT_EQ(s.ShortTimeFormat, "H:mm") << name;
        EXPECT_EQ(s.TimeSeparator, ":") << name;
        EXPECT_EQ(s.DecimalSeparator, ",") << name;
        EXPECT_EQ(s.LongMonthNames[4], "květen") << name;
        EXPECT_EQ(s.LongDayNames[0], "neděle") << name;
        EXPECT_EQ(s.CurrencyString, "Kč") << name;
    }
}

TEST(FormatSettings, TheEnvironmentChoosesTheLocale)
{
    const char* saved = std::getenv("LC_ALL");
    const std::string keep = saved ? saved : "";
    setenv("LC_ALL", "C", 1);
    const TFormatSettings s = GetLocaleFormatSettings();
    EXPECT_EQ(s.ShortDateFormat, "d.M.yyyy");
    EXPECT_EQ(s.DecimalSeparator, ",");
    if (saved)
        setenv("LC_ALL", keep.c_str(), 1);
    else
        unsetenv("LC_ALL");
}

TEST(FormatSettings, ReadsEverythingFromAnOpenLocale)
{
    locale_t c = newlocale(LC_ALL_MASK, "C", static_cast<locale_t>(nullptr));
    ASSERT_NE(c, static_cast<locale_t>(nullptr));
    const TFormatSettings s = LocaleFormatSettings(c);
    freelocale(c);
    EXPECT_EQ(s.ShortDateFormat, "mm/dd/yy");
    EXPECT_EQ(s.DateSeparator, "/");
    EXPECT_EQ(s.LongTimeFormat, "hh:nn:ss");
    EXPECT_EQ(s.ShortTimeFormat, "hh:nn");
    EXPECT_EQ(s.LongDateFormat, "dddd mmmm d yyyy");
    EXPECT_EQ(s.DecimalSeparator, ".");
    EXPECT_EQ(s.ListSeparator, ",");
    EXPECT_EQ(s.TimeAMString, "AM");
    EXPECT_EQ(s.LongMonthNames[0], "January");
    EXPECT_EQ(s.ShortMonthNames[11], "Dec");
    EXPECT_EQ(s.ShortDayNames[0], "Sun");
    EXPECT_EQ(s.LongDayNames[6], "Saturday");
    // Read back with its own record, a date written under the C locale's order.
    EXPECT_EQ(StrToDate("05/12/10", s), EncodeDate(2010, 5, 12));
}

TEST(FormatSettings, CzechLocaleWhenThisMachineHasIt)
{
    locale_t cs = newlocale(LC_ALL_MASK, "cs_CZ.UTF-8", static_cast<locale_t>(nullptr));
    if (!cs)
        GTEST_SKIP() << "cs_CZ.UTF-8 is not installed";
    freelocale(cs);
    const TFormatSettings s = GetLocaleFormatSettings("cs_CZ.UTF-8");
    EXPECT_EQ(s.DateSeparator, ".");
    EXPECT_EQ(s.DecimalSeparator, ",");
    EXPECT_EQ(s.LongMonthNames[0], "leden");
    EXPECT_EQ(StrToDate("12.5.2010", s), EncodeDate(2010, 5, 12));
}

TEST(FormatSettings, CLibraryFormatsBecomeFormatCodes)
{
    EXPECT_EQ(FormatFromStrftime("%d.%m.%Y"), "dd.mm.yyyy");
    EXPECT_EQ(FormatFromStrftime("%-d.%-m.%Y"), "d.m.yyyy");
    EXPECT_EQ(FormatFromStrftime("%m/%d/%y"), "mm/dd/yy");
    EXPECT_EQ(FormatFromStrftime("%H:%M:%S"), "hh:nn:ss");
    EXPECT_EQ(FormatFromStrftime("%I:%M:%S %p"), "hh:nn:ss ampm");
    EXPECT_EQ(FormatFromStrftime("%e %B %Y, %a"), "d mmmm yyyy, ddd");
    EXPECT_EQ(FormatFromStrftime("%T %Z"), "hh:nn:ss ");
    EXPECT_EQ(FormatFromStrftime("%Y年%m月"), "yyyy年mm月");
    // Letters meant literally are quoted, so FormatDateTime writes them as they are.
    const std::string format = FormatFromStrftime("%d de %B");
    EXPECT_EQ(format, "dd \"de\" mmmm");
    EXPECT_EQ(FormatDateTime(format, EncodeDate(2010, 5, 12), TFormatSettings::Czech()), "12 de květen");
    const std::string quoted = FormatFromStrftime("'%y \"%m\"");
    EXPECT_EQ(FormatDateTime(quoted, EncodeDate(2010, 5, 12), TFormatSettings::Czech()), "'10 \"05\"");
}
