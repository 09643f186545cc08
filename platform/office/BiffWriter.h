#pragma once
// Writer of the Excel 97-2003 workbook stream (BIFF8 records): the workbook
// globals (fonts, number formats, cell formats, sheet list, shared texts)
// and one substream per sheet (column widths, rows, cells, window).
//
// The file format holds 65536 rows and 256 columns per sheet. A sheet with
// more rows goes on in continuation sheets named "<name> (2)", "<name> (3)"...,
// which carry the same columns, so that no row is lost; a text in a column
// past the 256th cannot be stored and raises EOleException.

#include <cstdint>
#include <string>

namespace office {

class TWorkbook;

inline constexpr std::uint32_t kFileMaxRows = 65536;
inline constexpr std::uint32_t kFileMaxColumns = 256;

// The bytes of the "Workbook" stream.
std::string WriteBiff8Workbook(const TWorkbook& workbook);

// The stored width (1/256 of a character) of a column width in characters:
// whole pixels of the default font's digits (7 pixels each) and the 5 pixels
// of cell padding, as the spreadsheet programs count it.
std::uint16_t StoredColumnWidth(double characters);

// The palette index a theme colour (1 to 12) is written with; the file format
// knows palette colours only. 0 (automatic) gives the automatic index 64.
std::uint8_t ThemePaletteIndex(int themeColor);

} // namespace office
