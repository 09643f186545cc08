#include "platform/core/Files.h"
#include "platform/core/OwnTempFolder.h"
#include "platform/office/ExcelApplication.h"
#include "tests/platform/office/ExportLayout.h"
#include "tests/support/StandInTool.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>

namespace {

using namespace office;
using testsupport::StandInTool;
using testsupport::TempFolder;

std::string ReadFile(const std::string& name) {
    std::ifstream in(name, std::ios::binary);
    return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

TEST(ExcelApplication, IsCreatedByItsClassNameOnly) {
    EXPECT_NE(CreateOleObject("Excel.Application"), nullptr);
    EXPECT_NE(CreateOleObject("excel.application"), nullptr);
    try {
        CreateOleObject("Word.Application");
        FAIL();
    } catch (const EOleException& e) {
        EXPECT_STREQ(e.what(), "Invalid class string \"Word.Application\"");
    }
}

TEST(ExcelApplication, StartsHiddenWithAlertsAndWithoutWorkbooks) {
    TExcelApplication Excel;
    EXPECT_FALSE(Excel.Visible());
    EXPECT_TRUE(Excel.DisplayAlerts());
    EXPECT_EQ(Excel.Workbooks().Count(), 0);
    EXPECT_EQ(Excel.ActiveWorkbook(), nullptr);
    EXPECT_THROW(Excel.Selection(), EOleException);
    EXPECT_THROW(Excel.Workbooks(1), EOleException);
}

TEST(ExcelApplication, AddsNumberedWorkbooksWithOneSheet) {
    TExcelApplication Excel;
    TWorkbook& first = Excel.Workbooks().Add();
    TWorkbook& second = Excel.Workbooks().Add();
    EXPECT_EQ(Excel.Workbooks().Count(), 2);
    EXPECT_EQ(first.Name(), "Sešit1");
    EXPECT_EQ(second.Name(), "Sešit2");
    EXPECT_EQ(&Excel.Workbooks(2), &second);
    EXPECT_EQ(Excel.ActiveWorkbook(), &second);
    EXPECT_EQ(first.Worksheets().Count(), 1);
    EXPECT_EQ(first.Worksheets(1).Name(), "List1");
    EXPECT_EQ(first.FullName(), "");
    EXPECT_THROW(first.Worksheets(0), EOleException);
    EXPECT_THROW(first.Worksheets(2), EOleException);

    Excel.Quit();
    EXPECT_EQ(Excel.Workbooks().Count(), 0);
    EXPECT_THROW(Excel.Selection(), EOleException);
}

TEST(ExcelApplication, SelectionFollowsTheLastSelectedRange) {
    TExcelApplication Excel;
    Excel.Workbooks().Add();
    TWorksheet& sheet = Excel.Workbooks(1).Worksheets(1);
    EXPECT_EQ(Excel.Selection().Address(), "$A$1");
    sheet.Range("a4:d4").Select();
    EXPECT_EQ(Excel.Selection().Address(), "$A$4:$D$4");
    EXPECT_EQ(&Excel.Selection().Worksheet(), &sheet);

    // Selecting on a sheet of another workbook makes that workbook the active one.
    Excel.Workbooks().Add();
    EXPECT_EQ(Excel.Selection().Address(), "$A$1");
    sheet.Range("C:C").Select();
    EXPECT_EQ(Excel.ActiveWorkbook(), &Excel.Workbooks(1));
    EXPECT_EQ(Excel.Selection().Address(), "$C:$C");
}

TEST(Range, KeepsTextsAsGivenAndClearsWithTheEmptyText) {
    TExcelApplication Excel;
    TWorksheet& sheet = Excel.Workbooks().Add().Worksheets(1);
    sheet.Range("A1").SetValue("=SUM(A2:A3)");
    sheet.Range("B2").SetValue("00123");
    sheet.Range("C1:D2").SetValue("ANO");
    EXPECT_EQ(sheet.Range("A1").Value(), "=SUM(A2:A3)");
    EXPECT_EQ(sheet.Range("B2").Value(), "00123");
    EXPECT_EQ(sheet.Range("D2").Value(), "ANO");
    EXPECT_EQ(sheet.Range("C1:C9").Value(), "ANO");

    sheet.Range("C1").SetValue("");
    EXPECT_EQ(sheet.Range("C1").Value(), "");
    EXPECT_EQ(sheet.Range("Z99").Value(), "");

    EXPECT_THROW(sheet.Range("A:A").SetValue("x"), EOleException);
    EXPECT_THROW(sheet.Range("A0"), EOleException);
    EXPECT_THROW(sheet.Range("A1").SetValue(std::string(32768, 'x')), EOleException);
    sheet.Range("A1").SetValue(std::string(32767, 'x'));
    // 16 384 letters of two bytes each are 16 384 characters, well inside the limit.
    std::string czech;
    for (int i = 0; i < 16384; ++i)
        czech += "ř";
    sheet.Range("A2").SetValue(czech);
    EXPECT_EQ(sheet.Range("A2").Value(), czech);
}

TEST(Range, FormatsTheExportHeaderAsAsked) {
    TExcelApplication Excel;
    testsupport::FillExportWorkbook(Excel, std::vector<testsupport::RegisterRow>{testsupport::SampleRow(0)}, true);
    TWorksheet& sheet = Excel.Workbooks(1).Worksheets(1);

    TRange header = sheet.Range("A4:F4");
    EXPECT_EQ(header.Borders().Item(xlEdgeBottom).LineStyle(), xlDouble);
    EXPECT_EQ(header.Borders().Item(xlEdgeBottom).ThemeColor(), xlThemeColorAccent1);
    EXPECT_EQ(header.Borders().Item(xlEdgeTop).LineStyle(), xlLineStyleNone);
    EXPECT_EQ(header.Borders().Item(xlInsideHorizontal).LineStyle(), xlLineStyleNone);
    EXPECT_TRUE(sheet.Range("F4").Font().Bold());
    EXPECT_FALSE(sheet.Range("F5").Font().Bold());
    EXPECT_EQ(sheet.Range("C4").RowHeight(), 50);
    EXPECT_EQ(sheet.Range("C5").RowHeight(), kStandardHeight);
    EXPECT_EQ(sheet.Range("E4").HorizontalAlignment(), xlCenter);
    EXPECT_EQ(sheet.Range("E4").VerticalAlignment(), xlCenter);
    EXPECT_EQ(sheet.Range("E5").HorizontalAlignment(), xlGeneral);
    EXPECT_EQ(sheet.Range("E5").VerticalAlignment(), xlBottom);
    EXPECT_TRUE(sheet.Range("B4").WrapText());

    EXPECT_EQ(sheet.Range("A1").ColumnWidth(), 36);
    EXPECT_EQ(sheet.Range("B1").ColumnWidth(), 16);
    EXPECT_EQ(sheet.Range("C1").ColumnWidth(), 42);
    EXPECT_EQ(sheet.Range("F1").ColumnWidth(), 16);
    EXPECT_EQ(sheet.Range("G1").ColumnWidth(), kStandardWidth);

    // The text format reaches the column's cells written before and after it,
    // and keeps what else the header cell has.
    EXPECT_EQ(sheet.Range("A1").NumberFormat(), "@");
    EXPECT_EQ(sheet.Range("A4").NumberFormat(), "@");
    EXPECT_TRUE(sheet.Range("A4").Font().Bold());
    EXPECT_EQ(sheet.Range("A5").NumberFormat(), "@");
    EXPECT_EQ(sheet.Range("A70000").NumberFormat(), "@");
    EXPECT_EQ(sheet.Range("B5").NumberFormat(), "General");
    EXPECT_EQ(sheet.Range("B4").NumberFormat(), "General");
}

TEST(Range, DrawsEachEdgeOnTheCellsItBelongsTo) {
    TExcelApplication Excel;
    TWorksheet& sheet = Excel.Workbooks().Add().Worksheets(1);
    sheet.Range("B2:D4").Borders().Item(xlEdgeLeft).SetLineStyle(xlContinuous);
    sheet.Range("B2:D4").Borders().Item(xlInsideVertical).SetLineStyle(xlDot);
    EXPECT_EQ(sheet.Range("B3").Borders().Item(xlEdgeLeft).LineStyle(), xlContinuous);
    EXPECT_EQ(sheet.Range("B3").Borders().Item(xlEdgeRight).LineStyle(), xlDot);
    EXPECT_EQ(sheet.Range("C3").Borders().Item(xlEdgeLeft).LineStyle(), xlDot);
    EXPECT_EQ(sheet.Range("D3").Borders().Item(xlEdgeRight).LineStyle(), xlLineStyleNone);
    EXPECT_EQ(sheet.Range("A3").Borders().Item(xlEdgeRight).LineStyle(), xlLineStyleNone);

    sheet.Range("F1:G2").Borders().SetLineStyle(xlDash);
    for (int edge : {xlEdgeLeft, xlEdgeTop, xlEdgeBottom, xlEdgeRight})
        EXPECT_EQ(sheet.Range("G2").Borders().Item(edge).LineStyle(), xlDash);
    EXPECT_EQ(sheet.Range("F1:G2").Borders().Item(xlInsideHorizontal).LineStyle(), xlDash);
}

TEST(Range, RefusesValuesTheSpreadsheetRefuses) {
    TExcelApplication Excel;
    TWorksheet& sheet = Excel.Workbooks().Add().Worksheets(1);
    TRange range = sheet.Range("A4:D4");
    EXPECT_THROW(range.Borders().Item(1), EOleException);
    EXPECT_THROW(range.Borders().Item(13), EOleException);
    EXPECT_THROW(range.Borders().Item(xlEdgeBottom).SetLineStyle(99), EOleException);
    EXPECT_THROW(range.Borders().SetThemeColor(0), EOleException);
    EXPECT_THROW(range.Borders().SetThemeColor(13), EOleException);
    EXPECT_THROW(range.SetHorizontalAlignment(12345), EOleException);
    EXPECT_THROW(range.SetVerticalAlignment(xlLeft), EOleException);
    EXPECT_THROW(range.SetRowHeight(410), EOleException);
    EXPECT_THROW(range.SetRowHeight(-1), EOleException);
    EXPECT_THROW(range.SetColumnWidth(256), EOleException);
    EXPECT_THROW(range.SetNumberFormat(std::string(256, '0')), EOleException);
    EXPECT_THROW(sheet.Range("A2:XFD1048576").SetWrapText(true), EOleException);
    // Nothing of the refused calls is left behind.
    EXPECT_EQ(range.Borders().Item(xlEdgeBottom).LineStyle(), xlLineStyleNone);
    EXPECT_EQ(range.HorizontalAlignment(), xlGeneral);
    EXPECT_EQ(range.RowHeight(), kStandardHeight);
}

TEST(Worksheet, RefusesNamesTheFileCannotHold) {
    TExcelApplication Excel;
    TWorkbook& book = Excel.Workbooks().Add();
    TWorksheet& sheet = book.Worksheets(1);
    TWorksheet& other = book.Worksheets().Add();
    EXPECT_EQ(other.Name(), "List2");

    sheet.SetName("Výpis z evidence konverzí");
    EXPECT_EQ(sheet.Name(), "Výpis z evidence konverzí");
    sheet.SetName(std::string(31, 'x'));
    for (const std::string& bad : {std::string(), std::string(32, 'x'), std::string("a:b"), std::string("a/b"),
                                  std::string("a\\b"), std::string("a?"), std::string("*"), std::string("[a]"),
                                  std::string("'a"), std::string("a'")})
        EXPECT_THROW(sheet.SetName(bad), EOleException) << bad;
    // 31 Czech letters are 31 characters, though 62 bytes.
    std::string czech;
    for (int i = 0; i < 31; ++i)
        czech += "č";
    sheet.SetName(czech);

    sheet.SetName("Výpis");
    EXPECT_THROW(other.SetName("VÝPIS"), EOleException);
    other.SetName("Výpis 2");
    sheet.SetName("VÝPIS");  // its own name in another case
}

class SaveAs : public ::testing::Test {
protected:
    void SetUp() override {
        TWorksheet& sheet = Excel.Workbooks().Add().Worksheets(1);
        sheet.Range("A1").SetValue("Jan Novák");
    }

    TExcelApplication Excel;
    TempFolder folder;
};

TEST_F(SaveAs, WritesTheSameFileForBothFormatsAndTakesItsName) {
    const std::string excel8 = folder.File("evidence_01.05.2010-31.05.2010.xls");
    const std::string normal = folder.File("normal.xls");
    Excel.Workbooks(1).SaveAs(excel8, xlExcel8);
    Excel.Workbooks(1).SaveAs(normal, xlWorkbookNormal);
    EXPECT_EQ(ReadFile(excel8), ReadFile(normal));
    EXPECT_EQ(ReadFile(excel8), Excel.Workbooks(1).SaveToBytes());
    EXPECT_EQ(ReadFile(excel8).substr(0, 8), "\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1");
    EXPECT_EQ(Excel.Workbooks(1).Name(), "normal.xls");
    EXPECT_EQ(Excel.Workbooks(1).FullName(), normal);
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder.Path()), {}), 2);
}

TEST_F(SaveAs, RefusesOtherFormatsAndWritesNothing) {
    for (const int format : {51, 6, 0, -4158}) {
        try {
            Excel.Workbooks(1).SaveAs(folder.File("a.xlsx"), format);
            FAIL() << format;
        } catch (const EOleException& e) {
            EXPECT_NE(std::string(e.what()).find("file format " + std::to_string(format)), std::string::npos);
        }
    }
    EXPECT_FALSE(std::filesystem::exists(folder.File("a.xlsx")));
    EXPECT_EQ(Excel.Workbooks(1).Name(), "Sešit1");
}

TEST_F(SaveAs, FailsForAMissingFolderOrAFolderNameAndLeavesNothingBehind) {
    EXPECT_THROW(Excel.Workbooks(1).SaveAs(folder.File("missing/a.xls"), xlExcel8), EOleException);
    EXPECT_THROW(Excel.Workbooks(1).SaveAs(folder.Path().string(), xlExcel8), EOleException);
    EXPECT_THROW(Excel.Workbooks(1).SaveAs("", xlExcel8), EOleException);
    std::filesystem::create_directory(folder.File("sub"));
    EXPECT_THROW(Excel.Workbooks(1).SaveAs(folder.File("sub"), xlExcel8), EOleException);
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder.Path()), {}), 1);
}

TEST_F(SaveAs, AsksBeforeReplacingOnlyWhileAlertsAreShown) {
    const std::string file = folder.File("a.xls");
    std::vector<std::string> questions;
    bool answer = false;
    Excel.OnAlert = [&](const std::string& question) {
        questions.push_back(question);
        return answer;
    };

    Excel.Workbooks(1).SaveAs(file, xlExcel8);  // a new file: no question
    EXPECT_TRUE(questions.empty());

    std::ofstream(file) << "old";
    EXPECT_THROW(Excel.Workbooks(1).SaveAs(file, xlExcel8), EOleException);
    ASSERT_EQ(questions.size(), 1u);
    EXPECT_EQ(questions[0], "Soubor " + file + " již existuje. Chcete jej nahradit?");
    EXPECT_EQ(ReadFile(file), "old");

    answer = true;
    Excel.Workbooks(1).SaveAs(file, xlExcel8);
    EXPECT_EQ(questions.size(), 2u);
    EXPECT_EQ(ReadFile(file), Excel.Workbooks(1).SaveToBytes());

    answer = false;
    Excel.SetDisplayAlerts(false);
    std::ofstream(file) << "old";
    Excel.Workbooks(1).SaveAs(file, xlExcel8);
    EXPECT_EQ(questions.size(), 2u);
    EXPECT_EQ(ReadFile(file), Excel.Workbooks(1).SaveToBytes());
}

TEST(Release, OpensNothingWhenTheApplicationIsHidden) {
    StandInTool opener("xdg-open");
    TExcelApplication Excel;
    Excel.Workbooks().Add();
    EXPECT_TRUE(Excel.Release().empty());
    EXPECT_EQ(Excel.Workbooks().Count(), 0);
    std::this_thread::sleep_for(std::chrono::milliseconds(200));
    EXPECT_FALSE(opener.Ran());
}

TEST(Release, HandsEachOpenWorkbookToTheDesktopAsANewTemporaryFile) {
    StandInTool opener("xdg-open");
    TempFolder temp;
    setenv("TEMP", temp.Path().c_str(), 1);

    std::vector<std::string> opened;
    {
        TExcelApplication Excel;
        Excel.Workbooks().Add().Worksheets(1).Range("A1").SetValue("Jan Novák");
        Excel.SetVisible(true);
        opened = Excel.Release();
        EXPECT_EQ(Excel.Workbooks().Count(), 0);
    }
    const std::string own = core::OwnTempFolderName();
    unsetenv("TEMP");
    ASSERT_EQ(opened.size(), 1u);
    // In the program's own folder in TEMP, under a name that tells it from other files.
    EXPECT_EQ(opened[0].rfind(temp.Path().string() + "/", 0), 0u) << opened[0];
    EXPECT_EQ(opened[0].rfind(own + "Sešit1-", 0), 0u) << opened[0];
    EXPECT_TRUE(IsDesktopCopyName(core::ExtractFileName(opened[0]))) << opened[0];
    for (const char* other :
         {"Sešit1.xls", "Sešit1-Ab12C.xls", "Sešit1-Ab12C_.xls", "Sešit1-Ab12Cd.xlsx", "x-Ab12Cd.csv", "-Ab12Cd.xls"})
        EXPECT_FALSE(IsDesktopCopyName(other)) << other;
    const auto arguments = opener.Arguments();
    ASSERT_TRUE(arguments);
    EXPECT_EQ(*arguments, std::vector<std::string>{opened[0]});
    EXPECT_EQ(ReadFile(opened[0]).substr(0, 8), "\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1");
}

TEST(Release, HappensWhenTheApplicationObjectGoes) {
    StandInTool opener("xdg-open");
    TempFolder temp;
    setenv("TEMP", temp.Path().c_str(), 1);
    {
        auto Excel = CreateOleObject("Excel.Application");
        Excel->SetVisible(true);
        Excel->Workbooks().Add();
        Excel->Workbooks(1).SaveAs(temp.File("evidence.xls"), xlExcel8);
    }
    const std::string own = core::OwnTempFolderName();
    unsetenv("TEMP");
    const auto arguments = opener.Arguments();
    ASSERT_TRUE(arguments);
    ASSERT_EQ(arguments->size(), 1u);
    // Named after the saved workbook, but a copy of its own.
    EXPECT_EQ((*arguments)[0].rfind(own + "evidence-", 0), 0u) << (*arguments)[0];
}

} // namespace
