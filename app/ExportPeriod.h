#pragma once
// The period of a register export and what is derived from it: the end of
// the start's month, the SQL that selects the period's rows, and the names
// of the files written.

#include "platform/core/DateTime.h"

#include <optional>
#include <string>

namespace app {

// The last day of start's month, at midnight (29 days for February of a leap year).
core::TDateTime EndOfMonth(core::TDateTime start);

// The one-line SQL of the register rows converted from the midnight that
// begins start's day up to the midnight that ends end's day, both included.
// It returns all the register's columns under their names, pocet_rok
// counting every row. The dates are written "#yyyy/mm/dd#" whatever the
// user's date separator; a period that ends on 31.12.9999 has no upper bound.
std::string ExportSql(core::TDateTime start, core::TDateTime end);

// "evidence_01.05.2010-31.05.2010.xls" for separator "." and extension ".xls".
std::string ExportFileName(core::TDateTime start, core::TDateTime end, const std::string& separator,
                           const std::string& extension);

// The file an export given this name is saved to, or none when the name
// cannot serve: an empty name, one without folder or with a folder that does
// not exist, and the name of a folder. The extension is appended unless the
// name already ends with it (in any letter case); a name that ends with the
// other export's extension gets it replaced, so exports of both kinds in
// turn do not pile extensions up.
std::optional<std::string> ExportTarget(const std::string& given, const std::string& extension);

} // namespace app
