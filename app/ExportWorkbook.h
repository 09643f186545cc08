#pragma once
// The register export as a workbook, driven through the spreadsheet
// automation: a new workbook whose first sheet holds the user's name and
// registration number, the column captions in row 4 (bold, centred, wrapped,
// 50 points high, a double line below) and a row per register row from row
// 5 on, every value as text. A register longer than a sheet of the file
// format goes on in sheets "Výpis z evidence konverzí (2)", (3)... with the
// same heading.

#include "app/ExportRows.h"
#include "platform/office/ExcelApplication.h"

#include <string>

namespace app {

// Adds the workbook to the application and fills it. A failure of the
// captions' look is ignored (the export goes on without it); any other
// failure raises.
void FillExportWorkbook(office::TExcelApplication& Excel, TExportRows& rows, const TExportHeading& heading, bool fee);

// Saves the workbook in the Excel 97-2003 format (56), and when that fails
// once more under the format's older number (-4143). Raises the last failure.
void SaveExportWorkbook(office::TWorkbook& book, const std::string& fileName);

} // namespace app
