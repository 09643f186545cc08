#include "app/ExportWorkbook.h"

#include "platform/core/Exceptions.h"
#include "platform/office/BiffWriter.h"

namespace app {

namespace {

// The sheet row of the first register row, below the heading.
constexpr int kFirstRegisterRow = 5;

// The caption's cell of a column, "A4" to "F4".
std::string CaptionCell(int column)
{
    return std::string(1, static_cast<char>('A' + column)) + "4";
}

// The captions' look. A spreadsheet program that cannot draw the border in a
// theme colour still gets every caption; so a failure here only skips the rest.
void FormatCaptions(office::TExcelApplication& Excel, office::TWorksheet& sheet, bool fee)
{
    try {
        sheet.Range(fee ? "A4:F4" : "A4:D4").Select();
        Excel.Selection().Borders().Item(office::xlEdgeBottom).SetLineStyle(office::xlDouble);
        Excel.Selection().Borders().SetThemeColor(office::xlThemeColorAccent1);
    } catch (const core::Exception&) {
    }
}

// Fills a sheet's heading: the user's name and registration number, the
// column captions with their look, the column widths, and column A as text.
void FillHeading(office::TExcelApplication& Excel, office::TWorksheet& sheet, const TExportHeading& heading, bool fee)
{
    sheet.Range("A1").SetValue(heading.Name);
    sheet.Range("A2").SetValue(heading.RegistrationLine());
    const int columns = fee ? ExportColumnsWithFee : ExportColumns;
    for (int column = 0; column < columns; ++column)
        sheet.Range(CaptionCell(column)).SetValue(ExportCaptions[static_cast<std::size_t>(column)]);

    FormatCaptions(Excel, sheet, fee);
    office::TRange captions = Excel.Selection();
    captions.Font().SetBold(true);
    captions.SetRowHeight(50);
    captions.SetHorizontalAlignment(office::xlCenter);
    captions.SetVerticalAlignment(office::xlCenter);
    captions.SetWrapText(true);

    sheet.Range(fee ? "A:F" : "A:D").Select();
    Excel.Selection().SetColumnWidth(16);
    sheet.Range("A:A").Select();
    Excel.Selection().SetColumnWidth(36);
    sheet.Range("C:C").Select();
    Excel.Selection().SetColumnWidth(42);
    sheet.Range("A:A").Select();
    Excel.Selection().SetNumberFormat("@");
}

} // namespace

void FillExportWorkbook(office::TExcelApplication& Excel, TExportRows& rows, const TExportHeading& heading, bool fee)
{
    Excel.Workbooks().Add();
    office::TWorkbook& book = Excel.Workbooks(1);
    office::TWorksheet* sheet = &book.Worksheets(1);
    sheet->SetName(ExportTitle);
    FillHeading(Excel, *sheet, heading, fee);

    // A sheet of the saved file holds kFileMaxRows rows. The register goes on
    // below the same heading on the next sheet, "Výpis z evidence konverzí (2)"
    // and so on, rather than on a sheet without it.
    constexpr int kLastRow = static_cast<int>(office::kFileMaxRows);
    int row = kFirstRegisterRow;
    for (bool more = rows.First(); more; more = rows.Next(), ++row) {
        if (row > kLastRow) {
            const int number = book.Worksheets().Count() + 1;
            sheet = &book.Worksheets().Add();
            sheet->SetName(std::string(ExportTitle) + " (" + std::to_string(number) + ")");
            FillHeading(Excel, *sheet, heading, fee);
            row = kFirstRegisterRow;
        }
        const std::string n = std::to_string(row);
        sheet->Range("A" + n).SetValue(rows.Serial());
        sheet->Range("B" + n).SetValue(rows.Converted());
        sheet->Range("C" + n).SetValue(rows.Designation());
        sheet->Range("D" + n).SetValue(rows.InputDate());
        if (fee) {
            sheet->Range("E" + n).SetValue(rows.Receipt());
            sheet->Range("F" + n).SetValue(rows.Waived());
        }
    }
    // The workbook opens on the register's first rows.
    book.Activate(book.Worksheets(1));
}

void SaveExportWorkbook(office::TWorkbook& book, const std::string& fileName)
{
    try {
        book.SaveAs(fileName, office::xlExcel8);
    } catch (const core::Exception&) {
        book.SaveAs(fileName, office::xlWorkbookNormal);
    }
}

} // namespace app
