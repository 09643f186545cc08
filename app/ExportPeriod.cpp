#include "app/ExportPeriod.h"

#include "app/SqlDates.h"

#include "platform/core/Files.h"
#include "platform/core/FormatSettings.h"
#include "platform/core/Letters.h"

namespace app {

namespace {

// Dates in the given separator; the process-wide settings stay untouched.
std::string DateText(const char* format, core::TDateTime value, const std::string& separator)
{
    core::TFormatSettings settings = core::FormatSettings;
    settings.DateSeparator = separator;
    return core::FormatDateTime(format, value, settings);
}

// The extensions of the two exports, workbook and text.
const std::string kExportExtensions[] = {".xls", ".csv"};

} // namespace

core::TDateTime EndOfMonth(core::TDateTime start)
{
    int year = 0, month = 0, day = 0;
    core::DecodeDate(start, year, month, day);
    return core::EncodeDate(year, month, core::DaysInAMonth(year, month));
}

std::string ExportSql(core::TDateTime start, core::TDateTime end)
{
    std::string sql = "SELECT *,  (SELECT COUNT(ID) from konverze) as pocet_rok FROM konverze WHERE (datum_konverze >= #" +
                      SqlDay(start) + "#)";
    // Up to the midnight after end, so that every time of end's day is in;
    // a period that ends with the calendar's last day has no such bound.
    if (const auto next = SqlNextDay(end))
        sql += " and (datum_konverze <= #" + *next + "#)";
    return sql;
}

std::string ExportFileName(core::TDateTime start, core::TDateTime end, const std::string& separator,
                           const std::string& extension)
{
    return "evidence_" + DateText("dd/mm/yyyy", start, separator) + "-" + DateText("dd/mm/yyyy", end, separator) +
           extension;
}

std::optional<std::string> ExportTarget(const std::string& given, const std::string& extension)
{
    if (given.empty() || core::ExtractFileName(given).empty() || core::DirectoryExists(given) ||
        !core::DirectoryExists(core::ExtractFilePath(given)))
        return std::nullopt;
    const auto endsWith = [&given](const std::string& ending) {
        return given.size() > ending.size() && core::SameText(given.substr(given.size() - ending.size()), ending);
    };
    if (endsWith(extension))
        return given;
    for (const std::string& other : kExportExtensions)
        if (endsWith(other))
            return given.substr(0, given.size() - other.size()) + extension;
    return given + extension;
}

} // namespace app
