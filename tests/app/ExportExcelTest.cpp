// The period export to a workbook, read back by an independent reader of
// Excel 97-2003 files (xlrd), and its saving.

#include "ExportFixture.h"

#include "platform/core/Exceptions.h"
#include "tests/support/XlsReadBack.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

using namespace apptest;
using testsupport::CellFormat;
using testsupport::CellText;
using testsupport::ReadBack;
using testsupport::Sheet;
using testsupport::Str;

namespace {

QJsonObject FirstSheet(const QJsonObject& book)
{
    EXPECT_EQ(book["sheets"].toArray().size(), 1);
    return Sheet(book, 0);
}

int Width(const QJsonObject& sheet, int column)
{
    return sheet["columns"].toObject()[QString::number(column)].toObject()["width"].toInt();
}

const std::vector<std::string> kCaptions{"Pořadové číslo provedené konverze", "Datum provedení konverze",
                                         "Konkrétní označení vstupu",         "Datum sepsání vstupu",
                                         "Číslo dokladu",                     "Osvobození od poplatku"};

class ExcelExport : public PeriodExport {
protected:
    // Exports, saving to a file in the test's folder, and returns its name.
    std::string ExportXls(bool fee)
    {
        Export()->CheckBox3->SetChecked(fee);
        Export()->CheckBox1->SetChecked(true);
        Export()->Edit1->SetText(folder_ + "vypis");
        Export()->Button2Click(Export()->Button2);
        // The workbook is handed to the desktop's spreadsheet program.
        EXPECT_EQ(Opened().size(), 1u);
        return folder_ + "vypis.xls";
    }
};

} // namespace

TEST_F(ExcelExport, WorkbookWithFeeColumnsReadBack)
{
    const std::string file = ExportXls(true);
    EXPECT_EQ(Export()->Edit1->Text(), file);
    EXPECT_TRUE(Messages().empty()) << dialogs_.Describe();
    const QJsonObject book = ReadBack(file);
    const QJsonObject sheet = FirstSheet(book);

    EXPECT_EQ(Str(sheet["name"]), "Výpis z evidence konverzí");
    EXPECT_EQ(CellText(sheet, 0, 0), "JUDr. Jana Nováková");
    EXPECT_EQ(CellText(sheet, 1, 0), "Ev. č.: 12345");
    for (int c = 0; c < 6; ++c) {
        EXPECT_EQ(CellText(sheet, 3, c), kCaptions[static_cast<std::size_t>(c)]);
        EXPECT_TRUE(CellFormat(book, sheet, 3, c)["bold"].toBool()) << c;
        EXPECT_TRUE(CellFormat(book, sheet, 3, c)["wrap"].toBool()) << c;
        EXPECT_EQ(CellFormat(book, sheet, 3, c)["bottom"].toArray()[0].toInt(), 6) << c;  // double line
    }
    EXPECT_EQ(sheet["nrows"].toInt(), 4 + 4);
    const std::vector<std::vector<std::string>> rows{
        {"1/2010", "01.05.2010", "Kupní smlouva č. 7", "28.04.2010", "D-101", "NE"},
        {"2/2010", "14.05.2010", "Plná moc k zastupování", "", "D-102", "ANO"},
        {"3/2010", "31.05.2010", "Usnesení Krajského soudu", "02.05.2010", "D-103", "NE"},
        {"4/2010", "01.06.2010", "Rozsudek o ořešáku", "03.05.2010", "", "ANO"}};
    for (std::size_t r = 0; r < rows.size(); ++r)
        for (std::size_t c = 0; c < 6; ++c)
            EXPECT_EQ(CellText(sheet, 4 + static_cast<int>(r), static_cast<int>(c)), rows[r][c]) << r << "," << c;
    EXPECT_FALSE(CellFormat(book, sheet, 4, 2)["bold"].toBool());
    EXPECT_EQ(Str(CellFormat(book, sheet, 4, 0)["format"]), "@");
    EXPECT_EQ(sheet["rows"].toObject()["3"].toObject()["height"].toInt(), 1000);  // 50 points

    // 36, 16, 42, 16, 16, 16 characters.
    const std::vector<int> widths{9398, 4278, 10934, 4278, 4278, 4278};
    for (int c = 0; c < 6; ++c)
        EXPECT_EQ(Width(sheet, c), widths[static_cast<std::size_t>(c)]) << c;
    EXPECT_FALSE(sheet["columns"].toObject().contains("6"));
}

TEST_F(ExcelExport, WorkbookWithoutFeeColumnsOfAnEmptyPeriod)
{
    SetPeriod(core::EncodeDate(2011, 3, 1), core::EncodeDate(2011, 3, 31));
    const QJsonObject book = ReadBack(ExportXls(false));
    const QJsonObject sheet = FirstSheet(book);
    EXPECT_EQ(sheet["nrows"].toInt(), 4);
    EXPECT_EQ(sheet["ncols"].toInt(), 4);
    EXPECT_EQ(CellText(sheet, 3, 3), "Datum sepsání vstupu");
    EXPECT_TRUE(CellFormat(book, sheet, 3, 3)["bold"].toBool());
    EXPECT_EQ(Width(sheet, 0), 9398);
    EXPECT_EQ(Width(sheet, 2), 10934);
    EXPECT_EQ(Width(sheet, 3), 4278);
    EXPECT_FALSE(sheet["columns"].toObject().contains("4"));
}

TEST_F(ExcelExport, WorkbookIsHandedToTheDesktopAndTheRegisterComesBack)
{
    const std::string before = RegisterSql();
    Export()->CheckBox1->SetChecked(false);
    Export()->Edit1->SetText("");
    Export()->Button2Click(nullptr);
    // Not saved where chosen, but the target shows the default name.
    EXPECT_EQ(Export()->Edit1->Text(), temp_ + "evidence_01.05.2010-31.05.2010.xls");
    EXPECT_FALSE(std::filesystem::exists(temp_ + "evidence_01.05.2010-31.05.2010.xls"));
    const std::vector<std::string> opened = Opened();
    ASSERT_EQ(opened.size(), 1u);
    EXPECT_EQ(opened[0].rfind(temp_, 0), 0u) << opened[0];
    const QJsonObject sheet = FirstSheet(ReadBack(opened[0]));
    EXPECT_EQ(CellText(sheet, 7, 0), "4/2010");
    EXPECT_EQ(RegisterSql(), before);
    EXPECT_TRUE(Register()->Active());
}

TEST_F(ExcelExport, ReplacingAnExistingFileIsAskedOnce)
{
    std::ofstream(folder_ + "vypis.xls") << "stary";
    dialogs_.AnswerButton(ui::mrNo);
    ExportXls(true);
    ASSERT_EQ(Messages().size(), 1u) << dialogs_.Describe();
    EXPECT_EQ(Messages()[0], "Soubor " + folder_ + "vypis.xls již existuje. Chcete jej nahradit?");
    EXPECT_EQ(FileBytes(folder_ + "vypis.xls"), "stary");

    dialogs_.Clear();
    dialogs_.AnswerButton(ui::mrYes);
    ExportXls(true);
    EXPECT_EQ(Messages().size(), 1u) << dialogs_.Describe();
    EXPECT_EQ(CellText(FirstSheet(ReadBack(folder_ + "vypis.xls")), 4, 0), "1/2010");
}

TEST_F(ExcelExport, FailedSaveIsReported)
{
    std::filesystem::create_directory(folder_ + "vypis.xls");
    ExportXls(true);
    EXPECT_EQ(Messages(), std::vector<std::string>{"Při ukládání došlo k chybě."});
    EXPECT_TRUE(std::filesystem::is_directory(folder_ + "vypis.xls"));
}

TEST_F(ExcelExport, RegisterComesBackAfterAFailedExportAndNothingIsSavedOrMailed)
{
    app::DM->ADOConnection->Execute("ALTER TABLE konverze RENAME TO konverze_stara");
    Register()->Close();
    Register()->SQL()->Clear();
    Register()->SQL()->Add("SELECT *, 0 as pocet_rok from konverze_stara ");
    Register()->SQL()->Add("");
    Register()->SQL()->Add("ORDER BY datum_konverze DESC");
    Register()->Open();
    const std::string before = RegisterSql();
    Export()->CheckBox2->SetChecked(true);

    Export()->CheckBox1->SetChecked(true);
    Export()->Edit1->SetText(folder_ + "vypis");
    EXPECT_THROW(Export()->Button2Click(nullptr), core::Exception);
    EXPECT_EQ(RegisterSql(), before);
    EXPECT_TRUE(Register()->Active());
    EXPECT_EQ(Register()->RecordCount(), 6);
    EXPECT_FALSE(std::filesystem::exists(folder_ + "vypis.xls"));
    EXPECT_FALSE(mailer_->Ran());
    EXPECT_TRUE(Messages().empty()) << dialogs_.Describe();
}

namespace {

// A register longer than a sheet of the file holds, its rows "1/2010",
// "2/2010"... converted in that order within May 2010.
class LongExport : public ExportFixture {
protected:
    void SetUp() override
    {
        ExportFixture::SetUp();
        if (HasFatalFailure())
            return;
        AddUser("JUDr. Jana Nováková", "Mgr. Petr Svoboda", "jana@novakova.cz", "12345");
        SetPeriod(core::EncodeDate(2010, 5, 1), core::EncodeDate(2010, 5, 31));
        Export()->CheckBox2->SetChecked(false);
        Export()->CheckBox3->SetChecked(true);
        Export()->CheckBox1->SetChecked(true);
    }
    // Rows from to last, in one statement.
    void AddRows(int from, int last)
    {
        app::DM->ADOConnection->Execute(
            "WITH RECURSIVE n(i) AS (SELECT " + std::to_string(from) + " UNION ALL SELECT i + 1 FROM n WHERE i < " +
            std::to_string(last) + ") INSERT INTO konverze (poradove_cislo, datum_konverze, oznaceni_vstupu, "
            "osvobozeni, cislo_dokladu) SELECT i || '/2010', 40299 + i / 4096.0, 'Listina ' || i, i % 3 = 0, i FROM n");
    }
};

} // namespace

TEST_F(LongExport, EverySheetCarriesTheHeadingAndEveryRowComesOnceInOrder)
{
    constexpr int kPerSheet = 65536 - 4;  // below the four rows of the heading
    struct Case {
        int rows;
        std::vector<int> perSheet;
    };
    const std::vector<Case> cases{{kPerSheet, {kPerSheet}}, {kPerSheet + 3, {kPerSheet, 3}}};
    int added = 0;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.rows);
        AddRows(added + 1, c.rows);
        added = c.rows;
        const std::string file = folder_ + "dlouhy" + std::to_string(c.rows) + ".xls";
        Export()->Edit1->SetText(file);
        Export()->Button2Click(nullptr);
        EXPECT_TRUE(Messages().empty()) << dialogs_.Describe();
        EXPECT_EQ(Opened().size(), 1u);

        const QJsonObject book = ReadBack(file, 0);
        ASSERT_EQ(book["sheets"].toArray().size(), static_cast<int>(c.perSheet.size()));
        const QJsonObject first = Sheet(book, 0);
        int serial = 0;
        for (int s = 0; s < static_cast<int>(c.perSheet.size()); ++s) {
            // The heading of the first sheet, its look and the columns' widths.
            const QJsonObject sheet = Sheet(book, s);
            EXPECT_EQ(Str(sheet["name"]), std::string("Výpis z evidence konverzí") +
                                              (s == 0 ? "" : " (" + std::to_string(s + 1) + ")"));
            for (int r = 0; r < 4; ++r)
                for (int col = 0; col < 6; ++col)
                    if (const std::string text = CellText(first, r, col); !text.empty()) {
                        EXPECT_EQ(CellText(sheet, r, col), text) << s;
                        EXPECT_EQ(CellFormat(book, sheet, r, col), CellFormat(book, first, r, col)) << s;
                    }
            EXPECT_EQ(sheet["columns"], first["columns"]);
            EXPECT_EQ(sheet["rows"].toObject()["3"], first["rows"].toObject()["3"]);
            EXPECT_EQ(CellFormat(book, sheet, 4, 0), CellFormat(book, first, 4, 0));

            // Column A whole: the register rows in order, none twice, none left out.
            const QJsonArray serials = sheet["column"].toArray();
            ASSERT_EQ(serials.size(), 4 + c.perSheet[static_cast<std::size_t>(s)]) << s;
            int wrong = 0;
            for (int r = 4; r < serials.size(); ++r)
                if (serials[r].toString().toStdString() != std::to_string(++serial) + "/2010" && wrong++ == 0)
                    ADD_FAILURE() << "sheet " << s << ", row " << r << ": " << serials[r].toString().toStdString();
        }
        EXPECT_EQ(serial, c.rows);
    }
}
