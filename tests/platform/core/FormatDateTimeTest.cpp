#include "ProcessFormatSettings.h"

#include "platform/core/Exceptions.h"

#include <gtest/gtest.h>

using namespace core;

namespace {

class FormatDateTimeTest : public ProcessFormatSettings {
protected:
    // Wednesday 12 May 2010, 14:07:09.045.
    const TDateTime value = EncodeDateTime(2010, 5, 12, 14, 7, 9, 45);
};

} // namespace

TEST_F(FormatDateTimeTest, SlashStandsForTheCurrentDateSeparator)
{
    EXPECT_EQ(FormatDateTime("dd.mm.yyyy", value), "12.05.2010");
    EXPECT_EQ(FormatDateTime("yyyy/mm/dd", value), "2010.05.12");
    // The register's search: separator "/" for a date literal, then "." again.
    FormatSettings.DateSeparator = "/";
    EXPECT_EQ(FormatDateTime("yyyy/mm/dd", IncDay(value)), "2010/05/13");
    EXPECT_EQ(FormatDateTime("dd.mm.yyyy", value), "12.05.2010");
    EXPECT_EQ(FormatDateTime("dd/mm/yyyy", value), "12/05/2010");
    FormatSettings.DateSeparator = ".";
    EXPECT_EQ(FormatDateTime("yyyy/mm/dd", value), "2010.05.12");
    // The export's file names use "_" the same way.
    FormatSettings.DateSeparator = "_";
    EXPECT_EQ("evidence_" + FormatDateTime("dd/mm/yyyy", value) + ".xls", "evidence_12_05_2010.xls");
}

TEST_F(FormatDateTimeTest, DayMonthAndYearCodes)
{
    EXPECT_EQ(FormatDateTime("d.m.yy", value), "12.5.10");
    EXPECT_EQ(FormatDateTime("d.m.y", EncodeDate(2009, 1, 2)), "2.1.09");
    EXPECT_EQ(FormatDateTime("ddd dddd", value), "st středa");
    EXPECT_EQ(FormatDateTime("mmm mmmm", value), "kvě květen");
    EXPECT_EQ(FormatDateTime("ddddd", value), "12.5.2010");
    EXPECT_EQ(FormatDateTime("dddddd", value), "12. květen 2010");
    EXPECT_EQ(FormatDateTime("yyyy", EncodeDate(812, 3, 4)), "0812");
    EXPECT_EQ(FormatDateTime("DD.MM.YYYY", value), "12.05.2010");
    EXPECT_EQ(DateToStr(value), "12.5.2010");
}

TEST_F(FormatDateTimeTest, TimeCodesAndMinutesAfterHours)
{
    EXPECT_EQ(FormatDateTime("h:n:s", value), "14:7:9");
    EXPECT_EQ(FormatDateTime("hh:nn:ss.zzz", value), "14:07:09.045");
    EXPECT_EQ(FormatDateTime("z", value), "45");
    // m right after h is minutes, anywhere else the month.
    EXPECT_EQ(FormatDateTime("hh:mm", value), "14:07");
    EXPECT_EQ(FormatDateTime("mm hh", value), "05 14");
    EXPECT_EQ(FormatDateTime("hh mmm", value), "14 kvě");
    EXPECT_EQ(FormatDateTime("t", value), "14:07");
    EXPECT_EQ(FormatDateTime("tt", value), "14:07:09");
    EXPECT_EQ(TimeToStr(value), "14:07:09");
    FormatSettings.TimeSeparator = ".";
    EXPECT_EQ(FormatDateTime("hh:nn", value), "14.07");
}

TEST_F(FormatDateTimeTest, HalfDayCodesSwitchToTwelveHours)
{
    EXPECT_EQ(FormatDateTime("h:nn am/pm", value), "2:07 pm");
    EXPECT_EQ(FormatDateTime("h:nn AM/PM", value), "2:07 PM");
    EXPECT_EQ(FormatDateTime("h:nn a/p", value), "2:07 p");
    EXPECT_EQ(FormatDateTime("hh:nn ampm", value), "02:07 odp.");
    EXPECT_EQ(FormatDateTime("h ampm", EncodeTime(0, 30, 0, 0)), "12 dop.");
    EXPECT_EQ(FormatDateTime("h am/pm", EncodeTime(12, 0, 0, 0)), "12 pm");
    EXPECT_EQ(FormatDateTime("h A/P", EncodeTime(11, 0, 0, 0)), "11 A");
    // Without a half-day code the clock runs to 23.
    EXPECT_EQ(FormatDateTime("h", value), "14");
}

TEST_F(FormatDateTimeTest, QuotedTextEraAndTheWholeValue)
{
    EXPECT_EQ(FormatDateTime("'Dne' d. \"m\" 'hh:mm' yyyy", value), "Dne 12. m hh:mm 2010");
    EXPECT_EQ(FormatDateTime("'unterminated", value), "unterminated");
    EXPECT_EQ(FormatDateTime("gg", value), "");
    EXPECT_EQ(FormatDateTime("ggyyyy", value), "2010");
    EXPECT_EQ(FormatDateTime("c", value), "12.5.2010 14:07:09");
    EXPECT_EQ(FormatDateTime("", value), "12.5.2010 14:07:09");
    EXPECT_EQ(FormatDateTime("c", EncodeDate(2010, 5, 12)), "12.5.2010");
    EXPECT_EQ(DateTimeToStr(EncodeDate(2010, 5, 12)), "12.5.2010");
    EXPECT_EQ(FormatDateTime("x-#", value), "x-#");
}

TEST_F(FormatDateTimeTest, ARecordThatNamesItselfDoesNotLoop)
{
    FormatSettings.ShortDateFormat = "ddddd|c";
    const std::string text = FormatDateTime("ddddd", value);
    EXPECT_FALSE(text.empty());
    EXPECT_LT(text.size(), 200u);
}

TEST_F(FormatDateTimeTest, AnExplicitRecordLeavesTheProcessWideOneAlone)
{
    TFormatSettings us = TFormatSettings::Czech();
    us.DateSeparator = "/";
    us.ShortDateFormat = "M/d/yyyy";
    EXPECT_EQ(DateToStr(value, us), "5/12/2010");
    EXPECT_EQ(DateToStr(value), "12.5.2010");
}

// --- text to dates -------------------------------------------------------------------

TEST_F(FormatDateTimeTest, StrToDateReadsDayMonthYear)
{
    EXPECT_EQ(StrToDate("12.5.2010"), EncodeDate(2010, 5, 12));
    EXPECT_EQ(StrToDate("12.05.2010"), EncodeDate(2010, 5, 12));
    EXPECT_EQ(StrToDate(" 12. 5. 2010 "), EncodeDate(2010, 5, 12));
    EXPECT_EQ(StrToDate("12.5.10"), EncodeDate(2010, 5, 12));
    EXPECT_EQ(StrToDate("1.1.99"), EncodeDate(1999, 1, 1));
    EXPECT_EQ(StrToDate("1.1.0099"), EncodeDate(99, 1, 1)); // four digits written: no century added
    EXPECT_EQ(StrToDate("12.5"), EncodeDate(YearOf(Now()), 5, 12));
}

TEST_F(FormatDateTimeTest, StrToDateNamesTheWrongTextInItsError)
{
    for (const char* text : {"12.5.", "30.2.2010", "", "12/5/2010", "12.5.2010x", "12.5.2010 10:00", "1.13.2010",
                             "0.1.2010", "12..2010"}) {
        TDateTime value = 7;
        EXPECT_FALSE(TryStrToDate(text, value)) << text;
        EXPECT_EQ(value, 7);
        try {
            StrToDate(text);
            ADD_FAILURE() << text;
        } catch (const EConvertError& e) {
            EXPECT_EQ(e.Message(), "'" + std::string(text) + "' is not a valid date");
        }
    }
}

TEST_F(FormatDateTimeTest, TheOrderComesFromTheShortDateFormat)
{
    TFormatSettings s = TFormatSettings::Czech();
    s.DateSeparator = "/";
    s.ShortDateFormat = "M/d/yyyy";
    EXPECT_EQ(StrToDate("5/12/2010", s), EncodeDate(2010, 5, 12));
    s.DateSeparator = "-";
    s.ShortDateFormat = "'Y:' yyyy-MM-dd";
    EXPECT_EQ(StrToDate("2010-05-12", s), EncodeDate(2010, 5, 12));
    EXPECT_EQ(StrToDate("5-12", s), EncodeDate(YearOf(Now()), 5, 12));
    // The date format of the XML import: names in the picture, numbers in the text.
    s.DateSeparator = ".";
    s.ShortDateFormat = "dd.mmm.yyyy";
    EXPECT_EQ(StrToDate("12.5.2010", s), EncodeDate(2010, 5, 12));
}

TEST_F(FormatDateTimeTest, TimesAndDateTimes)
{
    EXPECT_EQ(StrToTime("14:07"), EncodeTime(14, 7, 0, 0));
    EXPECT_EQ(StrToTime("14:07:09"), EncodeTime(14, 7, 9, 0));
    EXPECT_EQ(StrToTime("14:07:09,045"), EncodeTime(14, 7, 9, 45));
    EXPECT_EQ(StrToTime("2:07 odp."), EncodeTime(14, 7, 0, 0));
    EXPECT_EQ(StrToTime("12:00 AM"), 0.0);
    EXPECT_EQ(StrToTime("12 pm"), 0.5);
    EXPECT_EQ(StrToDateTime("12.5.2010 14:07:09"), EncodeDateTime(2010, 5, 12, 14, 7, 9, 0));
    EXPECT_EQ(StrToDateTime("12.5.2010"), EncodeDate(2010, 5, 12));
    EXPECT_EQ(StrToDateTime("14:07"), EncodeTime(14, 7, 0, 0));
    EXPECT_EQ(StrToDateTime("29.12.1899 6:00"), -1.25);
    TDateTime value;
    EXPECT_FALSE(TryStrToTime("14", value));
    EXPECT_FALSE(TryStrToTime("24:00", value));
    EXPECT_FALSE(TryStrToTime("13:00 PM", value));
    EXPECT_FALSE(TryStrToDateTime("12.5.2010 14", value));
    EXPECT_THROW(StrToTime("14:"), EConvertError);
    try {
        StrToDateTime("zítra");
        ADD_FAILURE();
    } catch (const EConvertError& e) {
        EXPECT_EQ(e.Message(), "'zítra' is not a valid date and time");
    }
    try {
        StrToTime("25:00");
        ADD_FAILURE();
    } catch (const EConvertError& e) {
        EXPECT_EQ(e.Message(), "'25:00' is not a valid time");
    }
}

TEST_F(FormatDateTimeTest, WrittenTextReadsBackAsTheSameValue)
{
    for (TDateTime v : {EncodeDate(2012, 2, 29), EncodeDate(1, 1, 1), EncodeDate(9999, 12, 31),
                        EncodeDateTime(2010, 5, 12, 23, 59, 59, 0), EncodeDateTime(1899, 12, 29, 6, 0, 0, 0)}) {
        EXPECT_EQ(StrToDate(DateToStr(v)), DateOf(v));
        EXPECT_EQ(StrToDateTime(DateTimeToStr(v)), v);
    }
}
