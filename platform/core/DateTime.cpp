#include "platform/core/DateTime.h"

#include "platform/core/Exceptions.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

namespace core {

const std::array<std::array<int, 12>, 2> MonthDays = {{
    {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31},
    {31, 29, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31},
}};

namespace {

constexpr std::int64_t kFirstDay = -693593; // 0001-01-01
constexpr std::int64_t kLastDay = 2958465;  // 9999-12-31
// 1899-12-30 counted from 1970-01-01.
constexpr std::int64_t kEpochShift = -25569;

// Days from 1970-01-01 of a proleptic Gregorian date, and back.
std::int64_t DaysFromCivil(std::int64_t y, unsigned m, unsigned d)
{
    y -= m <= 2;
    const std::int64_t era = (y >= 0 ? y : y - 399) / 400;
    const unsigned yoe = static_cast<unsigned>(y - era * 400);
    const unsigned doy = (153 * (m > 2 ? m - 3 : m + 9) + 2) / 5 + d - 1;
    const unsigned doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + static_cast<std::int64_t>(doe) - 719468;
}

void CivilFromDays(std::int64_t z, int& year, int& month, int& day)
{
    z += 719468;
    const std::int64_t era = (z >= 0 ? z : z - 146096) / 146097;
    const unsigned doe = static_cast<unsigned>(z - era * 146097);
    const unsigned yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const unsigned doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const unsigned mp = (5 * doy + 2) / 153;
    day = static_cast<int>(doy - (153 * mp + 2) / 5 + 1);
    month = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
    year = static_cast<int>(static_cast<std::int64_t>(yoe) + era * 400 + (month <= 2));
}

// Splits a value into its day (relative to 1899-12-30) and the milliseconds of
// that day, rounding to the millisecond. False outside the range of dates.
bool Split(TDateTime value, std::int64_t& dayNumber, int& msOfDay)
{
    if (!std::isfinite(value) || value < kFirstDay - 1.0 || value > kLastDay + 1.0)
        return false;
    const double whole = std::trunc(value);
    std::int64_t day = static_cast<std::int64_t>(whole);
    auto ms = static_cast<std::int64_t>(std::nearbyint(std::fabs(value - whole) * MSecsPerDay));
    if (ms >= MSecsPerDay) { // rounded up to the next midnight
        ms -= MSecsPerDay;
        ++day;
    }
    if (day < kFirstDay || day > kLastDay)
        return false;
    dayNumber = day;
    msOfDay = static_cast<int>(ms);
    return true;
}

} // namespace

bool IsLeapYear(int year) { return year % 4 == 0 && (year % 100 != 0 || year % 400 == 0); }

int DaysInAMonth(int year, int month)
{
    if (month < 1 || month > 12)
        return 0;
    return MonthDays[IsLeapYear(year) ? 1 : 0][month - 1];
}

int DaysInMonth(TDateTime value)
{
    int y, m, d;
    DecodeDate(value, y, m, d);
    return DaysInAMonth(y, m);
}

bool TryEncodeDate(int year, int month, int day, TDateTime& result)
{
    if (year < 1 || year > 9999 || month < 1 || month > 12 || day < 1 || day > DaysInAMonth(year, month))
        return false;
    result = static_cast<double>(DaysFromCivil(year, static_cast<unsigned>(month), static_cast<unsigned>(day)) -
                                 kEpochShift);
    return true;
}

TDateTime EncodeDate(int year, int month, int day)
{
    TDateTime result;
    if (!TryEncodeDate(year, month, day, result))
        throw EConvertError("Invalid argument to date encode");
    return result;
}

bool TryEncodeTime(int hour, int min, int sec, int msec, TDateTime& result)
{
    if (hour < 0 || hour > 23 || min < 0 || min > 59 || sec < 0 || sec > 59 || msec < 0 || msec > 999)
        return false;
    result = ((hour * 60 + min) * 60 + sec) * 1000.0 + msec;
    result /= MSecsPerDay;
    return true;
}

TDateTime EncodeTime(int hour, int min, int sec, int msec)
{
    TDateTime result;
    if (!TryEncodeTime(hour, min, sec, msec, result))
        throw EConvertError("Invalid argument to time encode");
    return result;
}

TDateTime ComposeDateTime(TDateTime date, TDateTime time)
{
    date = std::trunc(date);
    time = std::fabs(time - std::trunc(time));
    return date < 0 ? date - time : date + time;
}

bool TryEncodeDateTime(int year, int month, int day, int hour, int min, int sec, int msec,
                       TDateTime& result)
{
    TDateTime date, time;
    if (!TryEncodeDate(year, month, day, date) || !TryEncodeTime(hour, min, sec, msec, time))
        return false;
    result = ComposeDateTime(date, time);
    return true;
}

TDateTime EncodeDateTime(int year, int month, int day, int hour, int min, int sec, int msec)
{
    return ComposeDateTime(EncodeDate(year, month, day), EncodeTime(hour, min, sec, msec));
}

void DecodeDate(TDateTime value, int& year, int& month, int& day)
{
    std::int64_t dayNumber;
    int ms;
    if (!Split(value, dayNumber, ms)) {
        year = month = day = 0;
        return;
    }
    CivilFromDays(dayNumber + kEpochShift, year, month, day);
}

void DecodeTime(TDateTime value, int& hour, int& min, int& sec, int& msec)
{
    std::int64_t dayNumber;
    int ms;
    if (!Split(value, dayNumber, ms))
        ms = 0;
    hour = ms / 3600000;
    min = ms / 60000 % 60;
    sec = ms / 1000 % 60;
    msec = ms % 1000;
}

void DecodeDateTime(TDateTime value, int& year, int& month, int& day, int& hour, int& min, int& sec,
                    int& msec)
{
    DecodeDate(value, year, month, day);
    DecodeTime(value, hour, min, sec, msec);
}

int DayOfWeek(TDateTime value)
{
    std::int64_t dayNumber;
    int ms;
    if (!Split(value, dayNumber, ms))
        return 0;
    // 1899-12-30 was a Saturday.
    return static_cast<int>(((dayNumber + 6) % 7 + 7) % 7) + 1;
}

int YearOf(TDateTime value)
{
    int y, m, d;
    DecodeDate(value, y, m, d);
    return y;
}

int MonthOf(TDateTime value)
{
    int y, m, d;
    DecodeDate(value, y, m, d);
    return m;
}

int DayOf(TDateTime value)
{
    int y, m, d;
    DecodeDate(value, y, m, d);
    return d;
}

TDateTime DateOf(TDateTime value) { return std::trunc(value); }
TDateTime TimeOf(TDateTime value) { return std::fabs(value - std::trunc(value)); }

// Adding days to the value itself would run time backwards once a negative
// value crosses 1899-12-30; moving the day and keeping the time does not.
TDateTime IncDay(TDateTime value, int days) { return ComposeDateTime(DateOf(value) + days, TimeOf(value)); }

TDateTime IncMonth(TDateTime value, int months)
{
    int y, m, d;
    DecodeDate(value, y, m, d);
    const int index = y * 12 + (m - 1) + months;
    y = index / 12;
    m = index % 12 + 1;
    if (index < 0) {
        y = 0; // out of range: EncodeDate raises
        m = 1;
    }
    d = std::min(d, DaysInAMonth(y, m));
    return ComposeDateTime(EncodeDate(y, m, d), TimeOf(value));
}

TDateTime IncYear(TDateTime value, int years) { return IncMonth(value, years * 12); }

TDateTime TmToDateTime(const std::tm& tm)
{
    return ComposeDateTime(EncodeDate(tm.tm_year + 1900, tm.tm_mon + 1, tm.tm_mday),
                           EncodeTime(tm.tm_hour, tm.tm_min, std::min(tm.tm_sec, 59), 0)); // no leap seconds
}

std::tm DateTimeToTm(TDateTime value)
{
    int y, m, d, h, n, s, ms;
    DecodeDateTime(value, y, m, d, h, n, s, ms);
    std::tm tm{};
    tm.tm_year = y - 1900;
    tm.tm_mon = m - 1;
    tm.tm_mday = d;
    tm.tm_hour = h;
    tm.tm_min = n;
    tm.tm_sec = s;
    tm.tm_wday = DayOfWeek(value) - 1;
    if (y > 0) {
        TDateTime first;
        TryEncodeDate(y, 1, 1, first);
        tm.tm_yday = static_cast<int>(std::trunc(value) - first);
    }
    tm.tm_isdst = -1;
    return tm;
}

TDateTime TimePointToDateTime(std::chrono::system_clock::time_point point)
{
    using namespace std::chrono;
    const auto secs = floor<seconds>(point);
    const auto ms = duration_cast<milliseconds>(point - secs).count();
    const std::time_t t = system_clock::to_time_t(time_point_cast<system_clock::duration>(secs));
    std::tm tm{};
    localtime_r(&t, &tm);
    const TDateTime whole = TmToDateTime(tm);
    return ComposeDateTime(whole, TimeOf(whole) + static_cast<double>(ms) / MSecsPerDay);
}

std::chrono::system_clock::time_point DateTimeToTimePoint(TDateTime value)
{
    int h, n, s, ms;
    DecodeTime(value, h, n, s, ms);
    std::tm tm = DateTimeToTm(value);
    const std::time_t t = std::mktime(&tm);
    return std::chrono::system_clock::from_time_t(t) + std::chrono::milliseconds(ms);
}

TDateTime Now() { return TimePointToDateTime(std::chrono::system_clock::now()); }
TDateTime Date() { return DateOf(Now()); }
TDateTime Time() { return TimeOf(Now()); }

} // namespace core
