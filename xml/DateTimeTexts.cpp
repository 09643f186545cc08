#include "xml/DateTimeTexts.h"

#include "platform/core/Exceptions.h"

#include <cstdint>
#include <cstdio>
#include <ctime>

namespace xml {

namespace {

bool Digits(std::string_view text, std::size_t at, std::size_t count, int& value)
{
    if (at + count > text.size())
        return false;
    value = 0;
    for (std::size_t i = at; i < at + count; ++i) {
        if (text[i] < '0' || text[i] > '9')
            return false;
        value = value * 10 + (text[i] - '0');
    }
    return true;
}

[[noreturn]] void NotADateTime(std::string_view text)
{
    throw core::EConvertError("'" + std::string(text) + "' is not a valid date and time");
}

// The zone offset east of UTC, in seconds, that the local zone had at instant t.
long OffsetAt(std::time_t t)
{
    std::tm local{};
    return localtime_r(&t, &local) != nullptr ? local.tm_gmtoff : 0;
}

} // namespace

int TimeZoneBias() { return static_cast<int>(-OffsetAt(std::time(nullptr)) / 60); }

int TimeZoneBiasAt(core::TDateTime localValue)
{
    std::tm tm = core::DateTimeToTm(localValue); // with no say on summer time: the zone rules decide
    const std::time_t t = std::mktime(&tm);
    if (t == static_cast<std::time_t>(-1) && tm.tm_year != 69)
        return TimeZoneBias();
    return static_cast<int>(-OffsetAt(t) / 60);
}

std::string DateTimeToXmlText(bool withDate, bool withTime, int fractionDigits, bool useLocalTimeZone,
                              core::TDateTime value)
{
    int year, month, day, hour, minute, second, msec;
    core::DecodeDateTime(value, year, month, day, hour, minute, second, msec);
    char buffer[64];
    std::string text;
    if (withDate) {
        std::snprintf(buffer, sizeof(buffer), "%.4d-%.2d-%.2d", year, month, day);
        text = buffer;
        if (withTime)
            text += 'T';
    }
    if (withTime) {
        std::snprintf(buffer, sizeof(buffer), "%.2d:%.2d:%.2d", hour, minute, second);
        text += buffer;
        if (fractionDigits > 0) {
            std::snprintf(buffer, sizeof(buffer), "%.3d", msec);
            text += '.';
            text.append(buffer, static_cast<std::size_t>(fractionDigits < 3 ? fractionDigits : 3));
        }
        if (useLocalTimeZone) {
            const int bias = TimeZoneBiasAt(value);
            const int minutes = bias < 0 ? -bias : bias;
            std::snprintf(buffer, sizeof(buffer), "%s%.2d:%.2d", bias <= 0 ? "+" : "-", minutes / 60,
                          minutes % 60);
            text += buffer;
        } else {
            text += 'Z';
        }
    }
    return text;
}

core::TDateTime XmlTextToDateTime(std::string_view text, bool useLocalTimeZone)
{
    int year = 0, month = 0, day = 0, hour = 0, minute = 0, second = 0, msec = 0;
    if (!Digits(text, 0, 4, year) || !Digits(text, 5, 2, month) || !Digits(text, 8, 2, day))
        NotADateTime(text);
    std::size_t pos = 10;
    if (pos < text.size() && (text[pos] == 'T' || text[pos] == 't' || text[pos] == ' ')) {
        if (!Digits(text, 11, 2, hour) || !Digits(text, 14, 2, minute))
            NotADateTime(text);
        pos = 16;
        bool readable = true;
        if (pos < text.size() && text[pos] == ':') {
            readable = Digits(text, pos + 1, 2, second);
            if (!readable)
                second = 0;
            pos += 3;
        }
        if (readable && pos < text.size() && (text[pos] == '.' || text[pos] == ',')) {
            ++pos;
            int weight = 100;
            while (pos < text.size() && text[pos] >= '0' && text[pos] <= '9') {
                msec += (text[pos] - '0') * weight;
                weight /= 10;
                ++pos;
            }
        }
        if (!readable)
            pos = text.size();
    }

    int zoneMinutes = 0; // east of UTC
    if (pos < text.size() && (text[pos] == '+' || text[pos] == '-')) {
        const int sign = text[pos] == '-' ? -1 : 1;
        int zoneHours = 0, zoneRest = 0;
        if (Digits(text, pos + 1, 2, zoneHours)) {
            std::size_t at = pos + 3;
            if (at < text.size() && text[at] == ':')
                ++at;
            if (!Digits(text, at, 2, zoneRest))
                zoneRest = 0;
            zoneMinutes = sign * (zoneHours * 60 + zoneRest);
        }
    }

    core::TDateTime date = 0, time = 0;
    if (!core::TryEncodeDate(year, month, day, date) || !core::TryEncodeTime(hour, minute, second, msec, time))
        NotADateTime(text);
    if (!useLocalTimeZone)
        return core::ComposeDateTime(date, time);

    // The moment in UTC, then the local clock at that moment.
    std::tm written = core::DateTimeToTm(core::ComposeDateTime(date, time));
    const std::time_t t = timegm(&written) - static_cast<std::time_t>(zoneMinutes) * 60;
    std::tm local{};
    if (localtime_r(&t, &local) == nullptr)
        return core::ComposeDateTime(date, time);
    core::TDateTime localDate = 0, localTime = 0;
    if (!core::TryEncodeDate(local.tm_year + 1900, local.tm_mon + 1, local.tm_mday, localDate) ||
        !core::TryEncodeTime(local.tm_hour, local.tm_min, local.tm_sec, msec, localTime))
        NotADateTime(text);
    return core::ComposeDateTime(localDate, localTime);
}

core::TDateTime XmlTextToDateTimeDef(std::string_view text, bool useLocalTimeZone, core::TDateTime fallback)
{
    try {
        return XmlTextToDateTime(text, useLocalTimeZone);
    } catch (const core::Exception&) {
        return fallback;
    }
}

} // namespace xml
