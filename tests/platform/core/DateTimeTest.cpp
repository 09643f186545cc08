#include "platform/core/DateTime.h"
#include "platform/core/Exceptions.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cmath>

using namespace core;

namespace {

struct Parts {
    int y, m, d, h, n, s, ms;
    bool operator==(const Parts&) const = default;
};

Parts Decode(TDateTime value)
{
    Parts p{};
    DecodeDateTime(value, p.y, p.m, p.d, p.h, p.n, p.s, p.ms);
    return p;
}

} // namespace

TEST(DateTime, DaysCountFrom30December1899)
{
    EXPECT_EQ(EncodeDate(1899, 12, 30), 0.0);
    EXPECT_EQ(EncodeDate(1899, 12, 29), -1.0);
    EXPECT_EQ(EncodeDate(1900, 1, 1), 2.0);
    EXPECT_EQ(EncodeDate(2010, 5, 12), 40310.0);
    EXPECT_EQ(EncodeDate(1, 1, 1), MinDateTime);
    EXPECT_EQ(EncodeDate(9999, 12, 31), std::trunc(MaxDateTime));
    EXPECT_EQ(EncodeTime(6, 0, 0, 0), 0.25);
    EXPECT_EQ(EncodeDateTime(2010, 5, 12, 18, 0, 0, 0), 40310.75);
}

TEST(DateTime, DecodeIsTheInverseOfEncodeOverTheWholeRange)
{
    for (int year : {1, 4, 100, 1600, 1899, 1900, 1970, 2000, 2012, 2100, 9999})
        for (int month = 1; month <= 12; ++month)
            for (int day : {1, 15, DaysInAMonth(year, month)}) {
                const TDateTime value = EncodeDateTime(year, month, day, 13, 45, 30, 250);
                EXPECT_EQ(Decode(value), (Parts{year, month, day, 13, 45, 30, 250}))
                    << year << "-" << month << "-" << day;
            }
}

TEST(DateTime, LeapYearsAndMonthLengths)
{
    EXPECT_EQ(DaysInAMonth(2011, 2), 28);
    EXPECT_EQ(DaysInAMonth(2012, 2), 29);
    EXPECT_EQ(DaysInAMonth(1900, 2), 28);
    EXPECT_EQ(DaysInAMonth(2000, 2), 29);
    EXPECT_EQ(DaysInAMonth(2012, 13), 0);
    EXPECT_EQ(DaysInMonth(EncodeDate(2012, 2, 15)), 29);
    EXPECT_EQ(MonthDays[1][1], 29);
    EXPECT_FALSE(IsLeapYear(2011));
    EXPECT_TRUE(IsLeapYear(2012));
}

TEST(DateTime, InvalidPartsAreRefused)
{
    TDateTime value = 123;
    EXPECT_FALSE(TryEncodeDate(2010, 2, 30, value));
    EXPECT_FALSE(TryEncodeDate(2011, 2, 29, value));
    EXPECT_FALSE(TryEncodeDate(0, 1, 1, value));
    EXPECT_FALSE(TryEncodeDate(2010, 0, 1, value));
    EXPECT_FALSE(TryEncodeTime(24, 0, 0, 0, value));
    EXPECT_FALSE(TryEncodeTime(0, 60, 0, 0, value));
    EXPECT_FALSE(TryEncodeTime(0, 0, 0, 1000, value));
    EXPECT_EQ(value, 123);
    EXPECT_THROW(EncodeDate(2010, 2, 30), EConvertError);
    EXPECT_THROW(EncodeTime(-1, 0, 0, 0), EConvertError);
    // Out of range values decode as zeros rather than garbage.
    EXPECT_EQ(Decode(1e12), (Parts{0, 0, 0, 0, 0, 0, 0}));
    EXPECT_EQ(Decode(std::nan("")), (Parts{0, 0, 0, 0, 0, 0, 0}));
}

TEST(DateTime, NegativeValuesCountTheTimeForwardFromMidnight)
{
    EXPECT_EQ(Decode(-1.25), (Parts{1899, 12, 29, 6, 0, 0, 0}));
    EXPECT_EQ(EncodeDateTime(1899, 12, 29, 6, 0, 0, 0), -1.25);
    EXPECT_EQ(ComposeDateTime(-1, 0.25), -1.25);
    EXPECT_EQ(TimeOf(-1.25), 0.25);
    EXPECT_EQ(DateOf(-1.25), -1.0);
    // Moving such a value by days keeps the time of day across 1899-12-30.
    EXPECT_EQ(Decode(IncDay(-1.25, 2)), (Parts{1899, 12, 31, 6, 0, 0, 0}));
    EXPECT_EQ(IncDay(40310.75, -1), 40309.75);
}

TEST(DateTime, RoundingToTheMillisecondCarriesIntoTheNextDay)
{
    const TDateTime almostMidnight = EncodeDate(2010, 5, 12) + (MSecsPerDay - 0.4) / MSecsPerDay;
    EXPECT_EQ(Decode(almostMidnight), (Parts{2010, 5, 13, 0, 0, 0, 0}));
    EXPECT_EQ(Decode(EncodeTime(23, 59, 59, 999)), (Parts{1899, 12, 30, 23, 59, 59, 999}));
}

TEST(DateTime, WeekdaysAndParts)
{
    EXPECT_EQ(DayOfWeek(EncodeDate(1899, 12, 30)), 7); // Saturday
    EXPECT_EQ(DayOfWeek(EncodeDate(2010, 5, 12)), 4);  // Wednesday
    EXPECT_EQ(DayOfWeek(EncodeDate(1899, 12, 24)), 1); // Sunday, before day 0
    const TDateTime value = EncodeDateTime(2012, 2, 29, 10, 0, 0, 0);
    EXPECT_EQ(YearOf(value), 2012);
    EXPECT_EQ(MonthOf(value), 2);
    EXPECT_EQ(DayOf(value), 29);
}

TEST(DateTime, IncMonthKeepsTheTimeAndClampsTheDay)
{
    const TDateTime time = EncodeTime(8, 30, 0, 0);
    EXPECT_EQ(Decode(IncMonth(EncodeDate(2012, 1, 31) + time)), (Parts{2012, 2, 29, 8, 30, 0, 0}));
    EXPECT_EQ(Decode(IncMonth(EncodeDate(2011, 1, 31))), (Parts{2011, 2, 28, 0, 0, 0, 0}));
    EXPECT_EQ(Decode(IncMonth(EncodeDate(2010, 1, 15), -1)), (Parts{2009, 12, 15, 0, 0, 0, 0}));
    EXPECT_EQ(Decode(IncMonth(EncodeDate(2010, 12, 15), 13)), (Parts{2012, 1, 15, 0, 0, 0, 0}));
    EXPECT_EQ(Decode(IncYear(EncodeDate(2012, 2, 29))), (Parts{2013, 2, 28, 0, 0, 0, 0}));
    EXPECT_THROW(IncMonth(EncodeDate(9999, 12, 1)), EConvertError);
}

TEST(DateTime, StandardTypesRoundTripInLocalTime)
{
    using namespace std::chrono;
    const auto point = floor<milliseconds>(system_clock::now());
    const TDateTime value = TimePointToDateTime(point);
    EXPECT_EQ(DateTimeToTimePoint(value), point);
    const std::tm tm = DateTimeToTm(EncodeDateTime(2010, 5, 12, 14, 7, 9, 0));
    EXPECT_EQ(tm.tm_year, 110);
    EXPECT_EQ(tm.tm_mon, 4);
    EXPECT_EQ(tm.tm_mday, 12);
    EXPECT_EQ(tm.tm_hour, 14);
    EXPECT_EQ(tm.tm_wday, 3);
    EXPECT_EQ(tm.tm_yday, 131);
    EXPECT_EQ(TmToDateTime(tm), EncodeDateTime(2010, 5, 12, 14, 7, 9, 0));
}

TEST(DateTime, NowIsTheLocalClock)
{
    const std::time_t t = std::time(nullptr);
    std::tm local{};
    localtime_r(&t, &local);
    const TDateTime expected = TmToDateTime(local);
    EXPECT_NEAR(Now(), expected, 5.0 / SecsPerDay);
    EXPECT_EQ(Date(), std::trunc(Date()));
    EXPECT_GE(Time(), 0.0);
    EXPECT_LT(Time(), 1.0);
}
