// The period export to semicolon-separated text, byte for byte, and the
// register query lent to it and given back.

#include "ExportFixture.h"

#include "app/ExportCsv.h"
#include "app/ExportPeriod.h"
#include "platform/core/Exceptions.h"
#include "platform/core/FormatSettings.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

using namespace apptest;

namespace {

const std::string kHeading = Cp1250("Výpis z evidence konverzí\r\n"
                                    "JUDr. Jana Nováková\r\n"
                                    "Ev. č.: 12345\r\n"
                                    "\r\n");
const std::string kCaptions =
    Cp1250("Pořadové číslo provedené konverze;Datum provedení konverze;Konkrétní označení vstupu;Datum sepsání vstupu");
const std::string kFeeCaptions = Cp1250(";Číslo dokladu;Osvobození od poplatku");

class CsvExport : public PeriodExport {
protected:
    // Exports to a file in the test's folder and returns its bytes.
    std::string ExportCsv(bool fee)
    {
        Export()->CheckBox3->SetChecked(fee);
        Export()->Edit1->SetText(folder_ + "vypis.csv");
        Export()->Button5Click(Export()->Button5);
        return FileBytes(folder_ + "vypis.csv").value_or("<no file>");
    }
};

} // namespace

TEST_F(CsvExport, PeriodWithoutFeeColumns)
{
    EXPECT_EQ(ExportCsv(false), kHeading + kCaptions + "\r\n" +
                                 Cp1250("1/2010;01.05.2010;Kupní smlouva č. 7;28.04.2010;\r\n"
                                        "2/2010;14.05.2010;Plná moc k zastupování;;\r\n"
                                        "3/2010;31.05.2010;Usnesení Krajského soudu;02.05.2010;\r\n"
                                        "4/2010;01.06.2010;Rozsudek o ořešáku;03.05.2010;\r\n"));
    EXPECT_TRUE(Messages().empty()) << dialogs_.Describe();
}

TEST_F(CsvExport, PeriodWithFeeColumnsEndsWaivedRowsWithAnoAndASemicolon)
{
    EXPECT_EQ(ExportCsv(true), kHeading + kCaptions + kFeeCaptions + "\r\n" +
                                Cp1250("1/2010;01.05.2010;Kupní smlouva č. 7;28.04.2010;D-101;NE\r\n"
                                       "2/2010;14.05.2010;Plná moc k zastupování;;D-102;ANO;\r\n"
                                       "3/2010;31.05.2010;Usnesení Krajského soudu;02.05.2010;D-103;NE\r\n"
                                       "4/2010;01.06.2010;Rozsudek o ořešáku;03.05.2010;;ANO;\r\n"));
}

TEST_F(CsvExport, EmptyPeriodGivesTheHeadingLinesOnly)
{
    SetPeriod(core::EncodeDate(2011, 1, 1), core::EncodeDate(2011, 1, 31));
    EXPECT_EQ(ExportCsv(true), kHeading + kCaptions + kFeeCaptions + "\r\n");
}

TEST_F(CsvExport, PeriodEndTakesTheWholeLastDayAndTheNextMidnight)
{
    // The end as the form shows it after opening: a time of day with it.
    SetPeriod(May1() + 0.75, May31() + 0.25);
    const std::string csv = ExportCsv(false);
    EXPECT_NE(csv.find("\r\n1/2010;"), std::string::npos);  // 1.5. at midnight
    EXPECT_NE(csv.find("\r\n3/2010;"), std::string::npos);  // 31.5. at 23:59
    EXPECT_NE(csv.find("\r\n4/2010;"), std::string::npos);  // 1.6. at midnight
    EXPECT_EQ(csv.find("0/2010"), std::string::npos);       // 30.4. at 23:59
    EXPECT_EQ(csv.find("5/2010"), std::string::npos);       // 1.6. at 0:01
}

TEST_F(CsvExport, SeparatorsQuotesAndLineBreaksInATextStayInsideItsField)
{
    AddConversion("6/2010", core::EncodeDateTime(2010, 5, 20, 9, 0, 0, 0), "Smlouva; příloha \"A\"\r\nstrana 2", -1,
                  false, "D;106");
    const std::string csv = ExportCsv(true);
    EXPECT_NE(csv.find(Cp1250("\r\n6/2010;20.05.2010;\"Smlouva; příloha \"\"A\"\"\r\nstrana 2\";;\"D;106\";NE\r\n")),
              std::string::npos)
        << csv;
    EXPECT_EQ(app::CsvField("Kupní smlouva"), "Kupní smlouva");
}

TEST_F(CsvExport, LettersOutsideTheCodePageBecomeQuestionMarks)
{
    AddConversion("6/2010", core::EncodeDateTime(2010, 5, 20, 9, 0, 0, 0), "Smlouva – Жук", -1, false, "");
    EXPECT_NE(ExportCsv(false).find(Cp1250("\r\n6/2010;20.05.2010;Smlouva – ???;;\r\n")), std::string::npos);
}

TEST_F(CsvExport, SwitchesSavingOnAndShowsTheTargetPanel)
{
    ASSERT_FALSE(Export()->CheckBox1->Checked());
    ASSERT_FALSE(Export()->Panel1->Visible());
    ExportCsv(false);
    EXPECT_TRUE(Export()->CheckBox1->Checked());
    EXPECT_TRUE(Export()->Panel1->Visible());
    // A second export keeps both as they are.
    ExportCsv(false);
    EXPECT_TRUE(Export()->Panel1->Visible());
}

// --- the target's name --------------------------------------------------------------

TEST_F(CsvExport, TargetGetsTheExtensionUnlessItEndsWithIt)
{
    Export()->Edit1->SetText(folder_ + "vypis");
    Export()->Button5Click(nullptr);
    EXPECT_EQ(Export()->Edit1->Text(), folder_ + "vypis.csv");
    EXPECT_TRUE(FileBytes(folder_ + "vypis.csv"));

    Export()->Edit1->SetText(folder_ + "KVETEN.CSV");
    Export()->Button5Click(nullptr);
    EXPECT_EQ(Export()->Edit1->Text(), folder_ + "KVETEN.CSV");
    EXPECT_TRUE(FileBytes(folder_ + "KVETEN.CSV"));

    // An extension in the middle of the name is no extension of the file.
    Export()->Edit1->SetText(folder_ + "vypis.csv.old");
    Export()->Button5Click(nullptr);
    EXPECT_EQ(Export()->Edit1->Text(), folder_ + "vypis.csv.old.csv");
}

TEST_F(CsvExport, TargetEndsWithItsExportsExtensionOnce)
{
    struct Case {
        std::string given, extension, expected;
    };
    for (const Case& c : {Case{"vypis", ".csv", "vypis.csv"}, Case{"vypis.xls", ".csv", "vypis.csv"},
                          Case{"VYPIS.XLS", ".csv", "VYPIS.csv"}, Case{"vypis.Csv", ".xls", "vypis.xls"},
                          Case{"vypis.xls", ".xls", "vypis.xls"}, Case{"vypis.xlsx", ".csv", "vypis.xlsx.csv"}})
        EXPECT_EQ(app::ExportTarget(folder_ + c.given, c.extension), folder_ + c.expected) << c.given;
}

TEST_F(CsvExport, TheDefaultTargetFollowsThePeriodAChosenOneStays)
{
    const std::string may = temp_ + "evidence_01.05.2010-31.05.2010.csv";
    const std::string june = temp_ + "evidence_01.06.2010-30.06.2010.csv";
    Export()->Edit1->SetText("");
    Export()->Button5Click(nullptr);
    ASSERT_EQ(Export()->Edit1->Text(), may);
    const std::optional<std::string> mayBytes = FileBytes(may);
    SetPeriod(core::EncodeDate(2010, 6, 1), core::EncodeDate(2010, 6, 30));
    Export()->Button5Click(nullptr);
    EXPECT_EQ(Export()->Edit1->Text(), june);
    EXPECT_EQ(FileBytes(may), mayBytes) << "the earlier period's file is not overwritten";

    // Chosen in the dialog, even under the default's own name, or typed: kept.
    dialogs_.AnswerFile(june);
    Export()->Button3->Click();
    SetPeriod(core::EncodeDate(2010, 5, 1), core::EncodeDate(2010, 5, 31));
    Export()->Button5Click(nullptr);
    EXPECT_EQ(Export()->Edit1->Text(), june);
    Export()->Edit1->SetText(folder_ + "vypis");
    Export()->Button5Click(nullptr);
    SetPeriod(core::EncodeDate(2010, 6, 1), core::EncodeDate(2010, 6, 30));
    Export()->Button5Click(nullptr);
    EXPECT_EQ(Export()->Edit1->Text(), folder_ + "vypis.csv");
}

TEST_F(CsvExport, TargetInAMissingFolderBecomesTheDefaultNameInTemp)
{
    for (const std::string& given : {folder_ + "chybi/vypis.csv", std::string(), std::string("vypis.csv"), folder_}) {
        Export()->Edit1->SetText(given);
        Export()->Button5Click(nullptr);
        const std::string fallback = temp_ + "evidence_01.05.2010-31.05.2010.csv";
        EXPECT_EQ(Export()->Edit1->Text(), fallback) << given;
        EXPECT_EQ(FileBytes(fallback).value_or("").substr(0, kHeading.size()), kHeading) << given;
        std::filesystem::remove(fallback);
    }
    EXPECT_FALSE(std::filesystem::exists(folder_ + "chybi"));
}

TEST(ExportPeriod, NamesSqlAndEndOfMonth)
{
    const double may1 = core::EncodeDate(2010, 5, 1);
    const double may31 = core::EncodeDateTime(2010, 5, 31, 17, 45, 0, 0);
    EXPECT_EQ(app::ExportFileName(may1, may31, ".", ".xls"), "evidence_01.05.2010-31.05.2010.xls");
    EXPECT_EQ(app::ExportFileName(may1, may31, "_", ".csv"), "evidence_01_05_2010-31_05_2010.csv");
    EXPECT_EQ(app::ExportSql(may1 + 0.5, may31),
              "SELECT *,  (SELECT COUNT(ID) from konverze) as pocet_rok FROM konverze WHERE "
              "(datum_konverze >= #2010/05/01#) and (datum_konverze <= #2010/06/01#)");
    // The year's last day runs into the next year.
    EXPECT_NE(app::ExportSql(may1, core::EncodeDate(2010, 12, 31)).find("<= #2011/01/01#"), std::string::npos);
    // The calendar's last day has no next one: the period runs to its end without a bound.
    EXPECT_EQ(app::ExportSql(may1, core::EncodeDate(9999, 12, 31)),
              "SELECT *,  (SELECT COUNT(ID) from konverze) as pocet_rok FROM konverze WHERE "
              "(datum_konverze >= #2010/05/01#)");
    // The user's own date separator is neither used nor changed.
    EXPECT_EQ(core::FormatSettings.DateSeparator, ".");

    EXPECT_EQ(app::EndOfMonth(core::EncodeDate(2012, 1, 31)), core::EncodeDate(2012, 1, 31));
    EXPECT_EQ(app::EndOfMonth(core::EncodeDateTime(2012, 2, 15, 8, 0, 0, 0)), core::EncodeDate(2012, 2, 29));
    EXPECT_EQ(app::EndOfMonth(core::EncodeDate(2011, 2, 15)), core::EncodeDate(2011, 2, 28));
    EXPECT_EQ(app::EndOfMonth(core::EncodeDate(2000, 2, 1)), core::EncodeDate(2000, 2, 29));
    EXPECT_EQ(app::EndOfMonth(core::EncodeDate(1900, 2, 1)), core::EncodeDate(1900, 2, 28));
}

// --- save failures ------------------------------------------------------------------

TEST_F(CsvExport, FailedSaveNamesTheTargetAndKeepsWhatWasThere)
{
    // A folder where the file would go cannot be replaced by it.
    std::filesystem::create_directory(folder_ + "vypis.csv");
    std::filesystem::create_directory(folder_ + "vypis.csv/obsah");
    Export()->Edit1->SetText(folder_ + "vypis");
    Export()->Button5Click(nullptr);
    ASSERT_EQ(Messages().size(), 1u) << dialogs_.Describe();
    EXPECT_EQ(Messages()[0], "Při ukládání souboru do místa \"" + folder_ + "vypis.csv\" došlo k chybě.");
    EXPECT_TRUE(std::filesystem::is_directory(folder_ + "vypis.csv/obsah"));
}

TEST_F(CsvExport, SavingOverAnOlderExportReplacesItWhole)
{
    {
        std::ofstream(folder_ + "vypis.csv") << std::string(100000, 'x');
    }
    EXPECT_EQ(ExportCsv(false).substr(0, kHeading.size()), kHeading);
    EXPECT_EQ(FileBytes(folder_ + "vypis.csv")->find('x'), std::string::npos);
}

// --- the register lent and given back -----------------------------------------------

TEST_F(CsvExport, RegisterComesBackWithItsFilterAndOrder)
{
    Form()->RadioGroup1->SetItemIndex(0);
    Form()->Hledani_Edit->SetText("smlouva");
    Form()->DBGrid1TitleClick(Form()->DBGrid1->Columns().Items(0));
    const std::string before = RegisterSql();
    ASSERT_NE(before.find("like '%smlouva%'"), std::string::npos);
    const std::vector<std::string> shown = Designations();

    ExportCsv(false);
    EXPECT_EQ(RegisterSql(), before);
    EXPECT_TRUE(Register()->Active());
    EXPECT_EQ(Designations(), shown);
    EXPECT_EQ(core::FormatSettings.DateSeparator, ".");
}

TEST_F(CsvExport, RegisterComesBackAfterAFailedExport)
{
    // The register reads a table of another name, so the export's own query fails.
    app::DM->ADOConnection->Execute("ALTER TABLE konverze RENAME TO konverze_stara");
    Register()->Close();
    Register()->SQL()->Clear();
    Register()->SQL()->Add("SELECT *, 0 as pocet_rok from konverze_stara ");
    Register()->SQL()->Add("");
    Register()->SQL()->Add("ORDER BY datum_konverze DESC");
    Register()->Open();
    const std::string before = RegisterSql();
    const int rows = Register()->RecordCount();

    Export()->Edit1->SetText(folder_ + "vypis.csv");
    EXPECT_THROW(Export()->Button5Click(nullptr), core::Exception);
    EXPECT_EQ(RegisterSql(), before);
    EXPECT_TRUE(Register()->Active());
    EXPECT_EQ(Register()->RecordCount(), rows);
    EXPECT_FALSE(FileBytes(folder_ + "vypis.csv"));
    EXPECT_FALSE(mailer_->Ran());
}

TEST_F(CsvExport, RowBeingEditedIsSavedBeforeTheExport)
{
    GoTo("2/2010");
    Register()->Edit();
    Register()->FieldByName("oznaceni_vstupu")->SetAsString("Plná moc opravená");
    const std::string csv = ExportCsv(false);
    EXPECT_EQ(Stored("2/2010", "oznaceni_vstupu"), "Plná moc opravená");
    EXPECT_NE(csv.find(Cp1250("2/2010;14.05.2010;Plná moc opravená;;")), std::string::npos);
    EXPECT_EQ(Register()->State(), data::dsBrowse);
}

TEST_F(CsvExport, RowThatCannotBeSavedStopsTheExportAndStaysInEditing)
{
    Register()->Insert();
    Register()->FieldByName("poradove_cislo")->SetAsString("9/2010");
    const std::string before = RegisterSql();
    Export()->Edit1->SetText(folder_ + "vypis.csv");
    EXPECT_THROW(Export()->Button5Click(nullptr), core::EAbort);
    EXPECT_EQ(Messages(), std::vector<std::string>{"Chybí označení věci."});
    EXPECT_EQ(Register()->State(), data::dsInsert);
    EXPECT_EQ(Register()->FieldByName("poradove_cislo")->AsString(), "9/2010");
    EXPECT_EQ(RegisterSql(), before);
    EXPECT_FALSE(FileBytes(folder_ + "vypis.csv"));
}

TEST_F(CsvExport, APeriodUpToTheCalendarsLastDayTakesEveryRowFromItsStart)
{
    SetPeriod(core::EncodeDate(2010, 5, 14), core::EncodeDate(9999, 12, 31));
    EXPECT_EQ(ExportCsv(false), kHeading + kCaptions + "\r\n" +
                                 Cp1250("2/2010;14.05.2010;Plná moc k zastupování;;\r\n"
                                        "3/2010;31.05.2010;Usnesení Krajského soudu;02.05.2010;\r\n"
                                        "4/2010;01.06.2010;Rozsudek o ořešáku;03.05.2010;\r\n"
                                        "5/2010;01.06.2010;Po období;;\r\n"));
    EXPECT_TRUE(Messages().empty()) << dialogs_.Describe();
}
