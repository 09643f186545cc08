#include "xml/DateTimeTexts.h"

#include "platform/core/Exceptions.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <ctime>
#include <string>

using namespace xml;
using core::EncodeDate;
using core::EncodeTime;

namespace {

// Central European time with its summer time, without needing the zone database.
class PragueTime : public ::testing::Test {
protected:
    void SetUp() override
    {
        const char* old = std::getenv("TZ");
        hadZone_ = old != nullptr;
        if (hadZone_)
            oldZone_ = old;
        setenv("TZ", "CET-1CEST,M3.5.0,M10.5.0/3", 1);
        tzset();
    }
    void TearDown() override
    {
        if (hadZone_)
            setenv("TZ", oldZone_.c_str(), 1);
        else
            unsetenv("TZ");
        tzset();
    }

private:
    bool hadZone_ = false;
    std::string oldZone_;
};

core::TDateTime At(int y, int m, int d, int h, int mi, int s = 0, int ms = 0)
{
    return core::ComposeDateTime(EncodeDate(y, m, d), EncodeTime(h, mi, s, ms));
}

void ExpectSame(core::TDateTime actual, core::TDateTime expected)
{
    EXPECT_NEAR(actual, expected, 0.5 / core::MSecsPerDay);
}

} // namespace

TEST(DateTimeTexts, Writing)
{
    const core::TDateTime noon = At(2009, 1, 2, 12, 0, 0, 123);
    EXPECT_EQ(DateTimeToXmlText(true, true, 0, false, noon), "2009-01-02T12:00:00Z");
    EXPECT_EQ(DateTimeToXmlText(true, true, 2, false, noon), "2009-01-02T12:00:00.12Z");
    EXPECT_EQ(DateTimeToXmlText(true, true, 5, false, noon), "2009-01-02T12:00:00.123Z");
    EXPECT_EQ(DateTimeToXmlText(true, false, 3, false, noon), "2009-01-02");
    EXPECT_EQ(DateTimeToXmlText(false, true, 0, false, noon), "12:00:00Z");
    EXPECT_EQ(DateTimeToXmlText(true, true, 0, false, At(1850, 6, 30, 6, 15)), "1850-06-30T06:15:00Z");
}

TEST(DateTimeTexts, ReadingDatesTimesAndFractions)
{
    ExpectSame(XmlTextToDateTime("2009-01-02", false), EncodeDate(2009, 1, 2));
    ExpectSame(XmlTextToDateTime("2009-01-02T12:30", false), At(2009, 1, 2, 12, 30));
    ExpectSame(XmlTextToDateTime("2009-01-02T12:30:15", false), At(2009, 1, 2, 12, 30, 15));
    ExpectSame(XmlTextToDateTime("2009-01-02T12:30:15.5", false), At(2009, 1, 2, 12, 30, 15, 500));
    ExpectSame(XmlTextToDateTime("2009-01-02T12:30:15.12Z", false), At(2009, 1, 2, 12, 30, 15, 120));
    ExpectSame(XmlTextToDateTime("2009-01-02T12:30:15.123456+01:00", false), At(2009, 1, 2, 12, 30, 15, 123));
    // without the local zone any zone is ignored
    ExpectSame(XmlTextToDateTime("2009-01-02T12:00:00+01:00", false), At(2009, 1, 2, 12, 0));
    ExpectSame(XmlTextToDateTime("1850-06-30T06:15:00Z", false), At(1850, 6, 30, 6, 15));
    // unreadable seconds count as 0
    ExpectSame(XmlTextToDateTime("2009-01-02T12:30:xx", false), At(2009, 1, 2, 12, 30));
}

TEST(DateTimeTexts, BadTextsRaiseOrGiveTheDefault)
{
    for (const char* bad : {"", "2009", "2009-1-02", "2009-02-30", "2009-01-02T12:0", "2009-01-02T25:00",
                            "2009-01-02Tab:cd", "x009-01-02"}) {
        EXPECT_THROW(XmlTextToDateTime(bad, false), core::EConvertError) << bad;
        EXPECT_EQ(XmlTextToDateTimeDef(bad, false, 7.25), 7.25) << bad;
    }
    try {
        XmlTextToDateTime("2009-13-01", false);
        FAIL();
    } catch (const core::EConvertError& e) {
        EXPECT_EQ(e.Message(), "'2009-13-01' is not a valid date and time");
    }
}

TEST_F(PragueTime, ZonesBecomeTheLocalTimeOfThatDate)
{
    ExpectSame(XmlTextToDateTime("2009-01-01T12:00:00Z", true), At(2009, 1, 1, 13, 0));
    // summer time held on that date
    ExpectSame(XmlTextToDateTime("2009-07-01T12:00:00Z", true), At(2009, 7, 1, 14, 0));
    ExpectSame(XmlTextToDateTime("2009-07-01T12:00:00+02:00", true), At(2009, 7, 1, 12, 0));
    ExpectSame(XmlTextToDateTime("2009-07-01T12:00:00.250-0130", true), At(2009, 7, 1, 15, 30, 0, 250));
    // the day and year move with the shift
    ExpectSame(XmlTextToDateTime("2009-12-31T23:30:00-01:00", true), At(2010, 1, 1, 1, 30));
    ExpectSame(XmlTextToDateTime("2009-07-01", true), At(2009, 7, 1, 2, 0));
}

TEST_F(PragueTime, WritingTheLocalOffsetOfThatDate)
{
    EXPECT_EQ(DateTimeToXmlText(true, true, 0, true, At(2009, 1, 2, 12, 0)), "2009-01-02T12:00:00+01:00");
    EXPECT_EQ(DateTimeToXmlText(true, true, 0, true, At(2009, 7, 2, 12, 0)), "2009-07-02T12:00:00+02:00");
    EXPECT_EQ(TimeZoneBiasAt(At(2009, 7, 2, 12, 0)), -120);
    EXPECT_EQ(TimeZoneBiasAt(At(2009, 1, 2, 12, 0)), -60);
    const int now = TimeZoneBias();
    EXPECT_TRUE(now == -60 || now == -120);
    for (const core::TDateTime v : {At(2009, 3, 29, 1, 59), At(2009, 10, 25, 4, 0), At(2024, 8, 15, 9, 41, 7, 5)}) {
        const std::string text = DateTimeToXmlText(true, true, 3, true, v);
        ExpectSame(XmlTextToDateTime(text, true), v);
    }
}
