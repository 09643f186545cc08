#include "app/SqlDates.h"

#include "platform/core/FormatSettings.h"

namespace app {

std::string SqlDay(core::TDateTime value)
{
    // A copy of the settings: the process-wide separator stays as the user has it.
    core::TFormatSettings literal = core::FormatSettings;
    literal.DateSeparator.assign(1, '/');
    return core::FormatDateTime("yyyy/mm/dd", core::DateOf(value), literal);
}

std::optional<std::string> SqlNextDay(core::TDateTime value)
{
    const core::TDateTime next = core::DateOf(value) + 1;
    if (next > core::MaxDateTime)
        return std::nullopt;
    return SqlDay(next);
}

} // namespace app
