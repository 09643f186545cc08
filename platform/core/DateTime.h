#pragma once
// Date-time values: a double counting days since 1899-12-30 00:00 in local
// time; the fraction is the time of day. Before that day the integer part is
// negative and the fraction still counts forward from midnight, so -1.25 is
// 1899-12-29 06:00. Dates run from 0001-01-01 to 9999-12-31.

#include <array>
#include <chrono>
#include <ctime>

namespace core {

using TDateTime = double;

inline constexpr int HoursPerDay = 24;
inline constexpr int MinsPerDay = 24 * 60;
inline constexpr int SecsPerDay = MinsPerDay * 60;
inline constexpr int MSecsPerDay = SecsPerDay * 1000;
// Days from 0001-01-01 to 1899-12-30.
inline constexpr int DateDelta = 693594;
inline constexpr TDateTime MinDateTime = -693593.0;        // 0001-01-01
inline constexpr TDateTime MaxDateTime = 2958465.99999999; // 9999-12-31 23:59:59.999

// Days of each month, [leap year][month - 1].
extern const std::array<std::array<int, 12>, 2> MonthDays;

bool IsLeapYear(int year);
// 0 for a month outside 1..12.
int DaysInAMonth(int year, int month);
int DaysInMonth(TDateTime value);

// The Try forms return false for a day, month or year out of range; the others
// raise EConvertError.
bool TryEncodeDate(int year, int month, int day, TDateTime& result);
TDateTime EncodeDate(int year, int month, int day);
bool TryEncodeTime(int hour, int min, int sec, int msec, TDateTime& result);
TDateTime EncodeTime(int hour, int min, int sec, int msec);
bool TryEncodeDateTime(int year, int month, int day, int hour, int min, int sec, int msec,
                       TDateTime& result);
TDateTime EncodeDateTime(int year, int month, int day, int hour, int min, int sec, int msec);
// Joins a whole-day value and a time of day, keeping the convention above.
TDateTime ComposeDateTime(TDateTime date, TDateTime time);

// Values are rounded to the millisecond first, so 23:59:59.9999 is the next
// midnight. Outside the range of dates every part decodes as 0.
void DecodeDate(TDateTime value, int& year, int& month, int& day);
void DecodeTime(TDateTime value, int& hour, int& min, int& sec, int& msec);
void DecodeDateTime(TDateTime value, int& year, int& month, int& day, int& hour, int& min, int& sec,
                    int& msec);
// 1 for Sunday to 7 for Saturday.
int DayOfWeek(TDateTime value);
int YearOf(TDateTime value);
int MonthOf(TDateTime value);
int DayOf(TDateTime value);

TDateTime DateOf(TDateTime value);
TDateTime TimeOf(TDateTime value);
TDateTime IncDay(TDateTime value, int days = 1);
// Keeps the time of day; a day past the new month's end becomes its last day
// (31 January + 1 month is 28 or 29 February).
TDateTime IncMonth(TDateTime value, int months = 1);
TDateTime IncYear(TDateTime value, int years = 1);

// The local clock.
TDateTime Now();
TDateTime Date();
TDateTime Time();

// Conversions to the standard library's types, in local time.
TDateTime TmToDateTime(const std::tm& tm);
std::tm DateTimeToTm(TDateTime value);
TDateTime TimePointToDateTime(std::chrono::system_clock::time_point point);
// A local time that does not exist or exists twice (clock changes) is resolved
// as the C library's mktime resolves it.
std::chrono::system_clock::time_point DateTimeToTimePoint(TDateTime value);

} // namespace core
