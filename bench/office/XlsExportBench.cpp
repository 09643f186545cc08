// The period export to .xls at 100 000 register rows: filling the workbook
// through the automation calls, writing the file, and both together as the
// export does them. Target: the whole under 1 s.

#include "platform/office/ExcelApplication.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <string>
#include <unistd.h>

namespace {

using namespace office;

constexpr int kRows = 100000;

void FillExport(TExcelApplication& Excel, int rows) {
    Excel.Workbooks().Add();
    TWorksheet& sheet = Excel.Workbooks(1).Worksheets(1);
    sheet.SetName("Výpis z evidence konverzí");
    sheet.Range("A1").SetValue("Jan Novák");
    sheet.Range("A2").SetValue("Ev. č.: 12345");
    const char* header[] = {"Pořadové číslo provedené konverze", "Datum provedení konverze",
                            "Konkrétní označení vstupu", "Datum sepsání vstupu", "Číslo dokladu",
                            "Osvobození od poplatku"};
    for (int c = 0; c < 6; ++c)
        sheet.Range(std::string(1, static_cast<char>('A' + c)) + "4").SetValue(header[c]);
    sheet.Range("A4:F4").Select();
    Excel.Selection().Borders().Item(xlEdgeBottom).SetLineStyle(xlDouble);
    Excel.Selection().Borders().SetThemeColor(xlThemeColorAccent1);
    Excel.Selection().Font().SetBold(true);
    Excel.Selection().SetRowHeight(50);
    Excel.Selection().SetHorizontalAlignment(xlCenter);
    Excel.Selection().SetVerticalAlignment(xlCenter);
    Excel.Selection().SetWrapText(true);
    sheet.Range("A:F").Select();
    Excel.Selection().SetColumnWidth(16);
    sheet.Range("A:A").Select();
    Excel.Selection().SetColumnWidth(36);
    sheet.Range("C:C").Select();
    Excel.Selection().SetColumnWidth(42);
    sheet.Range("A:A").Select();
    Excel.Selection().SetNumberFormat("@");

    for (int i = 0; i < rows; ++i) {
        const std::string n = std::to_string(5 + i);
        sheet.Range("A" + n).SetValue(std::to_string(i + 1) + "/2012");
        sheet.Range("B" + n).SetValue(std::to_string(10 + i % 18) + ".05.2012");
        sheet.Range("C" + n).SetValue("Kupní smlouva č. " + std::to_string(i) + " – ověřená kopie listiny");
        sheet.Range("D" + n).SetValue("0" + std::to_string(1 + i % 9) + ".04.2012");
        sheet.Range("E" + n).SetValue("D" + std::to_string(100000 + i));
        sheet.Range("F" + n).SetValue(i % 3 == 0 ? "ANO" : "NE");
    }
}

std::string TargetFile() { return "/tmp/konverze-bench-" + std::to_string(getpid()) + ".xls"; }

void BM_FillExportWorkbook(benchmark::State& state) {
    for (auto _ : state) {
        TExcelApplication Excel;
        FillExport(Excel, kRows);
        benchmark::DoNotOptimize(Excel.Workbooks().Count());
        state.PauseTiming();
        Excel.Quit();
        state.ResumeTiming();
    }
}

void BM_WriteExportFile(benchmark::State& state) {
    TExcelApplication Excel;
    FillExport(Excel, kRows);
    const std::string file = TargetFile();
    for (auto _ : state)
        Excel.Workbooks(1).SaveAs(file, xlExcel8);
    std::remove(file.c_str());
}

void BM_ExportToXls(benchmark::State& state) {
    const std::string file = TargetFile();
    for (auto _ : state) {
        TExcelApplication Excel;
        Excel.SetDisplayAlerts(false);
        FillExport(Excel, kRows);
        Excel.Workbooks(1).SaveAs(file, xlExcel8);
        Excel.Quit();
    }
    std::remove(file.c_str());
}

BENCHMARK(BM_FillExportWorkbook)->Unit(benchmark::kMillisecond)->Iterations(5);
BENCHMARK(BM_WriteExportFile)->Unit(benchmark::kMillisecond)->Iterations(5);
BENCHMARK(BM_ExportToXls)->Unit(benchmark::kMillisecond)->Iterations(5);

} // namespace
