// The export form itself: its controls, the period's buttons, the target
// panel and file dialog, and the stored recipient.

#include "ExportFixture.h"

#include "app/Folders.h"
#include "platform/core/FormatSettings.h"
#include "platform/ui/kernel/Forms.h"

#include <gtest/gtest.h>

#include <fstream>

using namespace apptest;

namespace {

using FormTest = ExportFixture;

std::string Ini(const std::string& folder)
{
    return FileBytes(folder + "nastaveni.ini").value_or("<no file>");
}

} // namespace

TEST_F(FormTest, ControlsAndTheirFirstState)
{
    app::TExport_Form* form = Export();
    EXPECT_EQ(form->Caption(), "Export evidence do Excelu");
    EXPECT_EQ(form->ClientWidth(), 463);
    EXPECT_EQ(form->ClientHeight(), 299);
    EXPECT_EQ(form->Label1->Caption(), "Zadejte období, za které chcete vyexportovat evidenci:");
    EXPECT_EQ(form->Label2->Caption(), "Od");
    EXPECT_EQ(form->Label3->Caption(), "Do");
    EXPECT_EQ(form->Button1->Caption(), "Do konce měsíce");
    EXPECT_EQ(form->CheckBox3->Caption(), "Exportovat také informace o správním poplatku");
    EXPECT_FALSE(form->CheckBox3->Checked());
    EXPECT_EQ(form->Button2->Caption(), "Export Excel");
    EXPECT_EQ(form->CheckBox1->Caption(), "Uložit do souboru");
    EXPECT_FALSE(form->CheckBox1->Checked());
    EXPECT_FALSE(form->Panel1->Visible());
    EXPECT_EQ(form->Edit1->Parent(), form->Panel1);
    EXPECT_EQ(form->Button3->Parent(), form->Panel1);
    EXPECT_EQ(form->Button3->Caption(), "...");
    EXPECT_EQ(form->Button5->Caption(), "EXPORT CSV");
    EXPECT_EQ(form->CheckBox2->Caption(), "Odeslat emailem výchozím poštovním klientem");
    EXPECT_TRUE(form->CheckBox2->Checked());
    EXPECT_EQ(form->Button4->Caption(), "Uložit");
    EXPECT_EQ(form->SaveDialog1->DefaultExt(), "xls");
    EXPECT_EQ(form->SaveDialog1->Filter(),
              "Excel 2003 nebo vyšší|*.xls|Soubor CSV - lze otevřít v EXCEL, OPEN OFFICE|*.csv");
    EXPECT_EQ(form->Font().Name(), "Tahoma");
    EXPECT_EQ(form->Font().Size(), 8);
}

TEST_F(FormTest, RegisterTabsExportButtonShowsTheFormWithoutWaiting)
{
    ASSERT_FALSE(Export()->Visible());
    Form()->Button5->Click();
    EXPECT_TRUE(Export()->Visible());
    EXPECT_FALSE(Export()->Modal());
    Export()->Hide();
}

TEST_F(FormTest, ShowingStartsThePeriodOnTheMonthsFirstDayAndEndsItNow)
{
    SetPeriod(core::EncodeDate(2001, 1, 1), core::EncodeDate(2001, 1, 2));
    const double before = core::Now();
    Export()->FormShow(Export());
    int year = 0, month = 0, day = 0;
    core::DecodeDate(core::Date(), year, month, day);
    EXPECT_EQ(Export()->Od_DTP->DateTime(), core::EncodeDate(year, month, 1));
    EXPECT_GE(Export()->Do_DTP->DateTime(), before - 1e-6);
    EXPECT_LE(Export()->Do_DTP->DateTime(), core::Now() + 1e-6);
}

TEST_F(FormTest, EndOfMonthButton)
{
    struct Case {
        double start;
        double end;
    };
    for (const Case& c : {Case{core::EncodeDate(2012, 1, 31), core::EncodeDate(2012, 1, 31)},
                          Case{core::EncodeDate(2012, 2, 15), core::EncodeDate(2012, 2, 29)},
                          Case{core::EncodeDate(2011, 2, 15), core::EncodeDate(2011, 2, 28)},
                          Case{core::EncodeDateTime(2010, 12, 3, 14, 0, 0, 0), core::EncodeDate(2010, 12, 31)}}) {
        SetPeriod(c.start, core::EncodeDate(2030, 1, 1));
        Export()->Button1->Click();
        EXPECT_EQ(core::DateOf(Export()->Do_DTP->DateTime()), c.end) << core::DateToStr(c.start);
        EXPECT_EQ(Export()->Od_DTP->DateTime(), c.start);
    }
}

TEST_F(FormTest, SaveToFileTogglesTheTargetPanel)
{
    Export()->CheckBox1->SetChecked(true);
    EXPECT_TRUE(Export()->Panel1->Visible());
    Export()->CheckBox1->SetChecked(false);
    EXPECT_FALSE(Export()->Panel1->Visible());
}

TEST_F(FormTest, FileDialogFillsTheTargetOnlyWhenAFileIsChosen)
{
    Export()->Edit1->SetText("puvodni");
    dialogs_.CancelFile();
    Export()->Button3->Click();
    EXPECT_EQ(Export()->Edit1->Text(), "puvodni");

    dialogs_.AnswerFile("/home/jana/kveten.xls");
    Export()->Button3->Click();
    EXPECT_EQ(Export()->Edit1->Text(), "/home/jana/kveten.xls");
    ASSERT_EQ(dialogs_.Questions().size(), 2u);
    EXPECT_TRUE(dialogs_.Questions()[1].File.Save);
    EXPECT_EQ(dialogs_.Questions()[1].File.DefaultExt, "xls");

    // It opens at the file the target names; in a folder that is not there,
    // or with no target, where the default target goes.
    struct Case {
        std::string target, folder, name;
    };
    for (const Case& c : {Case{folder_ + "jiny.csv", folder_, "jiny.csv"}, Case{"", temp_, ""},
                          Case{"/home/jana/kveten.xls", temp_, "kveten.xls"}}) {
        Export()->Edit1->SetText(c.target);
        Export()->Button3->Click();
        EXPECT_EQ(dialogs_.Questions().back().File.InitialDir, c.folder) << c.target;
        EXPECT_EQ(dialogs_.Questions().back().File.FileName, c.name) << c.target;
    }
}

// --- the recipient ------------------------------------------------------------------

TEST_F(FormTest, RecipientIsTheBuildsDefaultWhileNoneIsStored)
{
    EXPECT_STREQ(app::DefaultRecipient, "epodatelna@cak.cz");
    EXPECT_EQ(Export()->Edit2->Text(), "epodatelna@cak.cz");
    EXPECT_EQ(Ini(folder_), "<no file>");
}

TEST_F(FormTest, StoredRecipientIsReadWhenTheFormIsMade)
{
    std::ofstream(folder_ + "nastaveni.ini") << "[Aktualizace]\r\nkontrola=1\r\n";
    auto* other = ui::CreateComponent<app::TExport_Form>(nullptr);
    EXPECT_EQ(other->Edit2->Text(), "epodatelna@cak.cz");  // a file without the section
    ui::FreeComponent(other);

    std::ofstream(folder_ + "nastaveni.ini") << "[Aktualizace]\r\nkontrola=1\r\n[CAK]\r\nemail=podatelna@example.cz\r\n";
    other = ui::CreateComponent<app::TExport_Form>(nullptr);
    EXPECT_EQ(other->Edit2->Text(), "podatelna@example.cz");
    ui::FreeComponent(other);
}

TEST_F(FormTest, SaveStoresTheRecipientAndNothingElseDoes)
{
    std::ofstream(folder_ + "nastaveni.ini") << "[Aktualizace]\r\nkontrola=1\r\n";
    Export()->Edit2->SetText("podatelna@example.cz");
    EXPECT_EQ(Ini(folder_), "[Aktualizace]\r\nkontrola=1\r\n");
    Export()->Button4->Click();
    EXPECT_EQ(Ini(folder_), "[Aktualizace]\r\nkontrola=1\r\n\r\n[CAK]\r\nemail=podatelna@example.cz\r\n");

    auto* other = ui::CreateComponent<app::TExport_Form>(nullptr);
    EXPECT_EQ(other->Edit2->Text(), "podatelna@example.cz");
    ui::FreeComponent(other);
}
