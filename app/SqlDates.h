#pragma once
// Days as the register's SQL writes them: "yyyy/mm/dd" between "#" signs,
// whatever the user's date separator, and the day after one, which the last
// day of the calendar (31.12.9999) does not have.

#include "platform/core/DateTime.h"

#include <optional>
#include <string>

namespace app {

// The date part of value as "yyyy/mm/dd".
std::string SqlDay(core::TDateTime value);
// The day after value's as "yyyy/mm/dd"; none after 31.12.9999.
std::optional<std::string> SqlNextDay(core::TDateTime value);

} // namespace app
