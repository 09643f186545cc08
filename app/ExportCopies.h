#pragma once
// The copies an export hands to other programs: the mailed copy of a period's
// export for the mail client, and the workbook copy the spreadsheet program
// opens. Both live in the program's own temporary folder; they are removed
// once a day old, when the export form is created at start and before each
// export, because the mail client or the spreadsheet program may still read
// them long after the export (and this program) ended. A file the user named
// as the export's target is never among them.

#include "platform/core/DateTime.h"

#include <chrono>
#include <string>
#include <string_view>

namespace app {

// How long a copy is kept after it was last written.
inline constexpr std::chrono::hours ExportCopyLifetime{24};

// The mailed copy of a period's export: "evidence_01_05_2010-31_05_2010.xls"
// (the extension given) in the program's own temporary folder, which is made
// when missing (raises EInOutError when it cannot be).
std::string MailedCopyFile(core::TDateTime start, core::TDateTime end, const std::string& extension);

// True for the names the copies are given: a mailed copy's, or a workbook copy's.
bool IsExportCopyName(std::string_view fileName);

// Removes the copies older than ExportCopyLifetime; returns how many. Never raises.
int RemoveStaleExportCopies() noexcept;

} // namespace app
