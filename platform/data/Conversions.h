#pragma once
// Date-time arithmetic and text conversions the data-set layer needs, with the
// Czech format settings (date "d.m.yyyy", time "h:nn:ss", decimal comma).
// Kept private to this layer until the shared date-time helpers are in place.

#include <string>
#include <string_view>

namespace data::detail {

bool TryEncodeDateTime(int year, int month, int day, int hour, int min, int sec, int msec, double& result);
// Rounds to the millisecond first, so 23:59:59.9999 decodes as the next midnight.
void DecodeDateTime(double value, int& year, int& month, int& day, int& hour, int& min, int& sec, int& msec);

// Tokens: d dd m mm yy yyyy h hh n nn s ss z zzz, "quoted" and 'quoted' text;
// anything else is copied.
std::string FormatDateTime(std::string_view format, double value);
// The short date, followed by the long time unless the time is midnight.
std::string DateTimeToStr(double value);
bool TryStrToDateTime(std::string_view text, double& result);

std::string FloatToStr(double value);
// Formats "0", "#", "." and "," (thousands) sections, e.g. "#,##0.00".
std::string FormatFloat(std::string_view format, double value);
bool TryStrToFloat(std::string_view text, double& result);
bool TryStrToInt64(std::string_view text, long long& result);

} // namespace data::detail
