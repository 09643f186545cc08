#pragma once
// The period export's workbook, driven call for call as the export form does:
// heading, formatted header row, column widths, text column, one row per
// register row. The application stays hidden, so that its release hands no
// copy to the desktop unless a test makes it visible.

#include "platform/office/ExcelApplication.h"

#include <string>

namespace testsupport {

struct RegisterRow {
    std::string poradoveCislo;
    std::string datumKonverze;  // "dd.mm.yyyy" or empty
    std::string oznaceniVstupu;
    std::string datumSepsani;
    std::string cisloDokladu;
    bool osvobozeni = false;
};

inline RegisterRow SampleRow(int i) {
    RegisterRow row;
    row.poradoveCislo = std::to_string(i + 1) + "/2010";
    row.datumKonverze = i % 7 == 3 ? "" : "1" + std::to_string(i % 9) + ".05.2010";
    row.oznaceniVstupu = "Smlouva o dílo č. " + std::to_string(i) + " – Žluťoučký kůň úpěl ďábelské ódy";
    row.datumSepsani = "0" + std::to_string(1 + i % 9) + ".04.2010";
    row.cisloDokladu = "D" + std::to_string(1000 + i);
    row.osvobozeni = i % 3 == 0;
    return row;
}

template <typename Rows>
void FillExportWorkbook(office::TExcelApplication& Excel, const Rows& rows, bool fee) {
    using namespace office;
    Excel.Workbooks().Add();
    TWorksheet& sheet = Excel.Workbooks(1).Worksheets(1);
    sheet.SetName("Výpis z evidence konverzí");
    sheet.Range("A1").SetValue("Jan Novák");
    sheet.Range("A2").SetValue("Ev. č.: 12345");
    sheet.Range("A4").SetValue("Pořadové číslo provedené konverze");
    sheet.Range("B4").SetValue("Datum provedení konverze");
    sheet.Range("C4").SetValue("Konkrétní označení vstupu");
    sheet.Range("D4").SetValue("Datum sepsání vstupu");
    if (fee) {
        sheet.Range("E4").SetValue("Číslo dokladu");
        sheet.Range("F4").SetValue("Osvobození od poplatku");
    }

    sheet.Range(fee ? "A4:F4" : "A4:D4").Select();
    Excel.Selection().Borders().Item(xlEdgeBottom).SetLineStyle(xlDouble);
    Excel.Selection().Borders().SetThemeColor(xlThemeColorAccent1);
    Excel.Selection().Font().SetBold(true);
    Excel.Selection().SetRowHeight(50);
    Excel.Selection().SetHorizontalAlignment(xlCenter);
    Excel.Selection().SetVerticalAlignment(xlCenter);
    Excel.Selection().SetWrapText(true);

    sheet.Range(fee ? "A:F" : "A:D").Select();
    Excel.Selection().SetColumnWidth(16);
    sheet.Range("A:A").Select();
    Excel.Selection().SetColumnWidth(36);
    sheet.Range("C:C").Select();
    Excel.Selection().SetColumnWidth(42);
    sheet.Range("A:A").Select();
    Excel.Selection().SetNumberFormat("@");

    int r = 5;
    for (const RegisterRow& row : rows) {
        const std::string n = std::to_string(r++);
        sheet.Range("A" + n).SetValue(row.poradoveCislo);
        sheet.Range("B" + n).SetValue(row.datumKonverze);
        sheet.Range("C" + n).SetValue(row.oznaceniVstupu);
        sheet.Range("D" + n).SetValue(row.datumSepsani);
        if (fee) {
            sheet.Range("E" + n).SetValue(row.cisloDokladu);
            sheet.Range("F" + n).SetValue(row.osvobozeni ? "ANO" : "NE");
        }
    }
}

} // namespace testsupport
