// Workbooks written by us and read back by an independent reader (xlrd).

#include "platform/office/ExcelApplication.h"
#include "tests/platform/office/ExportLayout.h"
#include "tests/support/StandInTool.h"
#include "tests/support/XlsReadBack.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <vector>

namespace {

using namespace office;
using testsupport::RegisterRow;
using testsupport::SampleRow;
using testsupport::TempFolder;
using testsupport::CellFormat;
using testsupport::CellText;
using testsupport::ReadBack;
using testsupport::Sheet;
using testsupport::Str;

std::vector<RegisterRow> Rows(int count) {
    std::vector<RegisterRow> rows;
    for (int i = 0; i < count; ++i)
        rows.push_back(SampleRow(i));
    return rows;
}

std::string Save(TExcelApplication& Excel, const TempFolder& folder, const std::string& name) {
    const std::string file = folder.File(name);
    Excel.Workbooks(1).SaveAs(file, xlExcel8);
    return file;
}

TEST(XlsReadBack, TheExportWorkbookWithFeeColumns) {
    TempFolder folder;
    TExcelApplication Excel;
    const auto rows = Rows(12);
    testsupport::FillExportWorkbook(Excel, rows, true);
    const QJsonObject book = ReadBack(Save(Excel, folder, "evidence_01.05.2010-31.05.2010.xls"));
    ASSERT_EQ(book["sheets"].toArray().size(), 1);
    const QJsonObject sheet = Sheet(book, 0);

    EXPECT_EQ(Str(sheet["name"]), "Výpis z evidence konverzí");
    EXPECT_EQ(sheet["nrows"].toInt(), 4 + 12);
    EXPECT_EQ(sheet["ncols"].toInt(), 6);
    EXPECT_EQ(CellText(sheet, 0, 0), "Jan Novák");
    EXPECT_EQ(CellText(sheet, 1, 0), "Ev. č.: 12345");
    EXPECT_EQ(CellText(sheet, 2, 0), "");
    const std::vector<std::string> header{"Pořadové číslo provedené konverze", "Datum provedení konverze",
                                          "Konkrétní označení vstupu", "Datum sepsání vstupu", "Číslo dokladu",
                                          "Osvobození od poplatku"};
    for (int c = 0; c < 6; ++c)
        EXPECT_EQ(CellText(sheet, 3, c), header[static_cast<std::size_t>(c)]);
    for (int i = 0; i < 12; ++i) {
        const RegisterRow& row = rows[static_cast<std::size_t>(i)];
        EXPECT_EQ(CellText(sheet, 4 + i, 0), row.poradoveCislo);
        EXPECT_EQ(CellText(sheet, 4 + i, 1), row.datumKonverze);  // "" for a missing date: no cell
        EXPECT_EQ(CellText(sheet, 4 + i, 2), row.oznaceniVstupu);
        EXPECT_EQ(CellText(sheet, 4 + i, 3), row.datumSepsani);
        EXPECT_EQ(CellText(sheet, 4 + i, 4), row.cisloDokladu);
        EXPECT_EQ(CellText(sheet, 4 + i, 5), row.osvobozeni ? "ANO" : "NE");
    }

    // Header: bold, centred both ways, wrapped, double bottom border in the accent colour.
    for (int c = 0; c < 6; ++c) {
        const QJsonObject xf = CellFormat(book, sheet, 3, c);
        EXPECT_TRUE(xf["bold"].toBool()) << c;
        EXPECT_EQ(xf["weight"].toInt(), 700);
        EXPECT_EQ(xf["horizontal"].toInt(), 2);
        EXPECT_EQ(xf["vertical"].toInt(), 1);
        EXPECT_TRUE(xf["wrap"].toBool());
        EXPECT_EQ(xf["bottom"].toArray()[0].toInt(), 6);
        EXPECT_EQ(xf["bottom"].toArray()[1].toInt(), 12);
        EXPECT_EQ(xf["top"].toArray()[0].toInt(), 0);
        EXPECT_EQ(Str(xf["format"]), c == 0 ? "@" : "General");
    }
    // Rows: plain, column A as text.
    const QJsonObject first = CellFormat(book, sheet, 4, 0);
    EXPECT_FALSE(first["bold"].toBool());
    EXPECT_EQ(first["weight"].toInt(), 400);
    EXPECT_EQ(Str(first["format"]), "@");
    EXPECT_EQ(first["bottom"].toArray()[0].toInt(), 0);
    EXPECT_EQ(Str(CellFormat(book, sheet, 0, 0)["format"]), "@");
    EXPECT_EQ(Str(CellFormat(book, sheet, 4, 2)["format"]), "General");
    EXPECT_EQ(Str(CellFormat(book, sheet, 4, 2)["font"]), "Arial");

    const QJsonObject heights = sheet["rows"].toObject();
    EXPECT_EQ(heights["3"].toObject()["height"].toInt(), 1000);  // 50 points
    EXPECT_TRUE(heights["3"].toObject()["custom"].toBool());
    EXPECT_EQ(heights["4"].toObject()["height"].toInt(), 255);
    EXPECT_FALSE(heights["4"].toObject()["custom"].toBool());

    const QJsonObject columns = sheet["columns"].toObject();
    const std::vector<int> widths{9398, 4278, 10934, 4278, 4278, 4278};  // 36, 16, 42, 16, 16, 16 characters
    for (int c = 0; c < 6; ++c)
        EXPECT_EQ(columns[QString::number(c)].toObject()["width"].toInt(), widths[static_cast<std::size_t>(c)]) << c;
    EXPECT_FALSE(columns.contains("6"));
    const int columnAXf = columns["0"].toObject()["xf"].toInt();
    EXPECT_EQ(Str(book["xfs"].toObject()[QString::number(columnAXf)].toObject()["format"]), "@");
    EXPECT_EQ(columns["1"].toObject()["xf"].toInt(), 15);
    EXPECT_EQ(sheet["defaultColumnWidth"].toInt(), 8);
}

TEST(XlsReadBack, TheExportWorkbookWithoutFeeColumnsAndAnEmptyPeriod) {
    TempFolder folder;
    TExcelApplication Excel;
    testsupport::FillExportWorkbook(Excel, std::vector<RegisterRow>{}, false);
    const std::string file = Save(Excel, folder, "empty.xls");
    // Small enough for the mini stream of the compound file.
    EXPECT_LT(std::filesystem::file_size(file), 8192u);
    const QJsonObject book = ReadBack(file);
    const QJsonObject sheet = Sheet(book, 0);
    EXPECT_EQ(sheet["nrows"].toInt(), 4);
    EXPECT_EQ(sheet["ncols"].toInt(), 4);
    EXPECT_EQ(CellText(sheet, 3, 3), "Datum sepsání vstupu");
    EXPECT_EQ(sheet["columns"].toObject()["3"].toObject()["width"].toInt(), 4278);
    EXPECT_FALSE(sheet["columns"].toObject().contains("4"));
}

TEST(XlsReadBack, ATinyAndAnEmptyWorkbook) {
    TempFolder folder;
    {
        TExcelApplication Excel;
        Excel.Workbooks().Add().Worksheets(1).Range("B3").SetValue("ř");
        const QJsonObject sheet = Sheet(ReadBack(Save(Excel, folder, "tiny.xls")), 0);
        EXPECT_EQ(Str(sheet["name"]), "List1");
        EXPECT_EQ(sheet["nrows"].toInt(), 3);
        EXPECT_EQ(CellText(sheet, 2, 1), "ř");
    }
    {
        TExcelApplication Excel;
        Excel.Workbooks().Add();
        const QJsonObject sheet = Sheet(ReadBack(Save(Excel, folder, "empty.xls")), 0);
        EXPECT_EQ(sheet["nrows"].toInt(), 0);
        EXPECT_EQ(sheet["cellCount"].toInt(), 0);
    }
}

TEST(XlsReadBack, LongAndManyTextsAcrossContinuationRecords) {
    TempFolder folder;
    TExcelApplication Excel;
    TWorksheet& sheet = Excel.Workbooks().Add().Worksheets(1);
    std::vector<std::string> texts;
    // Lengths around the record size, in 8-bit and in 16-bit form, and
    // characters outside the basic plane (two UTF-16 units each).
    for (int i = 0; i < 40; ++i) {
        std::string text;
        const std::string piece = i % 4 == 0 ? "a" : i % 4 == 1 ? "č" : i % 4 == 2 ? "é" : "😀";
        const int units = 2000 + i * 409;  // up to 17 951
        for (int n = 0; n < (i % 4 == 3 ? units / 2 : units); ++n)
            text += piece;
        texts.push_back(std::to_string(i) + text);
    }
    for (std::size_t i = 0; i < texts.size(); ++i)
        sheet.Range("A" + std::to_string(i + 1)).SetValue(texts[i]);
    // A text used twice is stored once and read twice.
    sheet.Range("B1").SetValue(texts[3]);

    const QJsonObject read = Sheet(ReadBack(Save(Excel, folder, "long.xls")), 0);
    for (std::size_t i = 0; i < texts.size(); ++i)
        EXPECT_EQ(CellText(read, static_cast<int>(i), 0), texts[i]) << i;
    EXPECT_EQ(CellText(read, 0, 1), texts[3]);
}

TEST(XlsReadBack, RowsPastTheFormatsLimitGoOnInAContinuationSheet) {
    TempFolder folder;
    TExcelApplication Excel;
    TWorksheet& sheet = Excel.Workbooks().Add().Worksheets(1);
    sheet.SetName("Výpis z evidence konverzí");
    sheet.Range("A:A").SetColumnWidth(36);
    sheet.Range("A:A").SetNumberFormat("@");
    const int total = 70000;
    for (int r = 1; r <= total; ++r)
        sheet.Range("A" + std::to_string(r)).SetValue(std::to_string(r));
    sheet.Range("B70000").SetValue("poslední");

    const QJsonObject book = ReadBack(Save(Excel, folder, "big.xls"));
    const QJsonArray sheets = book["sheets"].toArray();
    ASSERT_EQ(sheets.size(), 2);
    const QJsonObject first = Sheet(book, 0);
    const QJsonObject second = Sheet(book, 1);
    EXPECT_EQ(Str(first["name"]), "Výpis z evidence konverzí");
    EXPECT_EQ(Str(second["name"]), "Výpis z evidence konverzí (2)");
    EXPECT_EQ(first["nrows"].toInt(), 65536);
    EXPECT_EQ(second["nrows"].toInt(), total - 65536);
    EXPECT_EQ(first["cellCount"].toInt() + second["cellCount"].toInt(), total + 1);
    EXPECT_EQ(CellText(first, 65535, 0), "65536");
    EXPECT_EQ(CellText(second, 0, 0), "65537");
    EXPECT_EQ(CellText(second, total - 65537, 0), "70000");
    EXPECT_EQ(CellText(second, total - 65537, 1), "poslední");
    EXPECT_EQ(second["columns"].toObject()["0"].toObject()["width"].toInt(), 9398);
    EXPECT_EQ(Str(CellFormat(book, second, 0, 0)["format"]), "@");
}

TEST(XlsReadBack, TheFileTheDesktopOpensWhenTheApplicationIsReleased) {
    testsupport::StandInTool opener("xdg-open");
    TempFolder temp;
    setenv("TEMP", temp.Path().c_str(), 1);
    {
        auto Excel = CreateOleObject("Excel.Application");
        testsupport::FillExportWorkbook(*Excel, Rows(3), true);
        Excel->SetDisplayAlerts(false);
        Excel->SetVisible(true);
    }
    unsetenv("TEMP");
    const auto arguments = opener.Arguments();
    ASSERT_TRUE(arguments);
    ASSERT_EQ(arguments->size(), 1u);
    const QJsonObject sheet = Sheet(ReadBack(arguments->front()), 0);
    EXPECT_EQ(Str(sheet["name"]), "Výpis z evidence konverzí");
    EXPECT_EQ(CellText(sheet, 6, 2), SampleRow(2).oznaceniVstupu);
}

} // namespace
