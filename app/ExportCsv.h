#pragma once
// The register export as semicolon-separated text: the title, the user's
// name and registration number, an empty line, the column captions and one
// line per register row. The file is in the ANSI code page (Windows-1250),
// every line ended by CR LF, as the spreadsheet programs of the bar
// association's users read it.

#include "app/ExportRows.h"
#include "platform/core/StringList.h"

#include <string>

namespace app {

// A free text as one field: enclosed in double quotes, inner quotes doubled,
// when it holds a ";", a double quote or a line break, which would otherwise
// split it into further fields or lines; else unchanged.
std::string CsvField(const std::string& text);

// Adds the lines (UTF-8, without line ends) for the rows from their first.
// With the fee columns a row ends with the receipt number and "ANO;" when
// the fee was waived, else "NE".
void BuildCsvLines(TExportRows& rows, const TExportHeading& heading, bool fee, core::TStrings& lines);

// The bytes of the file: every line in Windows-1250 and ended by CR LF.
std::string CsvFileBytes(const core::TStrings& lines);

} // namespace app
