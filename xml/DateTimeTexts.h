#pragma once
// ISO 8601 date-time texts: "2009-01-02T12:00:00Z", with a chosen number of
// second-fraction digits and either "Z" or the local offset ("+01:00").
// Values are the program's date-times (days since 1899-12-30, local time).

#include "platform/core/DateTime.h"

#include <string>
#include <string_view>

namespace xml {

// With the date "YYYY-MM-DD"; with both a "T" between; with the time
// "hh:mm:ss", then "." and up to 3 digits of the milliseconds when
// fractionDigits > 0, then "Z", or with useLocalTimeZone the offset from UTC
// that the local zone had at that date and time. The value is never shifted.
std::string DateTimeToXmlText(bool withDate, bool withTime, int fractionDigits, bool useLocalTimeZone,
                              core::TDateTime value);

// Reads "YYYY-MM-DD", optionally followed by "Thh:mm", ":ss", a fraction of any
// length (milliseconds from its first three digits) and a zone ("Z", "+hh:mm",
// "-hhmm", "+hh"). Pieces after hh:mm that cannot be read count as 0. Without
// useLocalTimeZone any zone is ignored and the value is taken as written; with
// it the value is taken as the time in the text's zone (UTC without one) and
// turned into local time by the offset that held at that moment. Raises
// EConvertError when the date, hours or minutes cannot be read or are invalid.
core::TDateTime XmlTextToDateTime(std::string_view text, bool useLocalTimeZone);
core::TDateTime XmlTextToDateTimeDef(std::string_view text, bool useLocalTimeZone, core::TDateTime fallback);

// Minutes to add to local time to get UTC (positive west of Greenwich): now,
// and at the given local date and time.
int TimeZoneBias();
int TimeZoneBiasAt(core::TDateTime localValue);

} // namespace xml
