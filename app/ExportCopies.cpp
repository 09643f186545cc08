#include "app/ExportCopies.h"

#include "app/ExportPeriod.h"
#include "platform/core/OwnTempFolder.h"
#include "platform/office/ExcelApplication.h"

#include <algorithm>

namespace app {

namespace {

// "evidence_" + two dates "dd_mm_yyyy" joined by "-" + ".xls" or ".csv".
bool IsMailedCopyName(std::string_view name)
{
    constexpr std::string_view shape = "evidence_99_99_9999-99_99_9999";  // 9: a digit
    if (name.size() != shape.size() + 4 || !(name.ends_with(".xls") || name.ends_with(".csv")))
        return false;
    return std::equal(shape.begin(), shape.end(), name.begin(), [](char expected, char given) {
        return expected == '9' ? given >= '0' && given <= '9' : given == expected;
    });
}

} // namespace

std::string MailedCopyFile(core::TDateTime start, core::TDateTime end, const std::string& extension)
{
    return core::OwnTempFolder() + ExportFileName(start, end, "_", extension);
}

bool IsExportCopyName(std::string_view fileName)
{
    return IsMailedCopyName(fileName) || office::IsDesktopCopyName(fileName);
}

int RemoveStaleExportCopies() noexcept
{
    return core::RemoveStaleTempFiles(ExportCopyLifetime, IsExportCopyName);
}

} // namespace app
