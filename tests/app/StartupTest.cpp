#include "RegisterFixture.h"

#include "app/ExportForm.h"
#include "app/Folders.h"
#include "app/LibraryModules.h"
#include "app/Startup.h"
#include "app/ViewerForm.h"
#include "browser/BrowserModule.h"
#include "platform/core/ClassRegistry.h"
#include "platform/core/Exceptions.h"
#include "platform/core/Files.h"
#include "platform/core/Streams.h"
#include "platform/ui/kernel/Application.h"
#include "report/bands/RpStartup.h"
#include "tests/support/EventLoop.h"

#include <gtest/gtest.h>

#include <sqlite3.h>
#include <unistd.h>

#include <QAbstractItemModel>
#include <QCoreApplication>
#include <QTableView>
#include <QTabWidget>
#include <QToolButton>

using namespace apptest;

namespace {

class Folders : public testing::Test {
protected:
    void SetUp() override
    {
        root_ = MakeTempFolder();
        program_ = root_ + "program/";
        ASSERT_TRUE(core::ForceDirectories(program_));
        core::WriteFileBytes(program_ + "konverze.mdb", "shipped");
    }
    void TearDown() override { RemoveFolder(root_); }

    std::string Read(const std::string& file) { return core::ReadFileBytes(file); }

    std::string root_;
    std::string program_;
};

} // namespace

TEST_F(Folders, TheArgumentIsTakenVerbatimElseThePerUserFolderElseTheProgramFolder)
{
    EXPECT_EQ(app::ChooseDataFolder("/data/Evidence/", "/home/jan/.local/share/", "/opt/k/"), "/data/Evidence/");
    // No "/" is added: files are then looked up as /data/Evidencekonverze.mdb.
    EXPECT_EQ(app::ChooseDataFolder("/data/Evidence", "/home/jan/.local/share/", "/opt/k/"), "/data/Evidence");
    EXPECT_EQ(app::ChooseDataFolder("", "/home/jan/.local/share/", "/opt/k/"), "/home/jan/.local/share/Orvalis/");
    EXPECT_EQ(app::ChooseDataFolder("", "", "/opt/k/"), "/opt/k/");
}

TEST_F(Folders, ThePerUserFolderFollowsTheEnvironment)
{
    const std::string saved = core::GetEnvironmentVariable("XDG_DATA_HOME");
    setenv("XDG_DATA_HOME", (root_ + "xdg").c_str(), 1);
    EXPECT_EQ(app::GetLocalAppDataFolder(), root_ + "xdg/");
    if (saved.empty())
        unsetenv("XDG_DATA_HOME");
    else
        setenv("XDG_DATA_HOME", saved.c_str(), 1);
}

TEST_F(Folders, FirstStartCreatesThePerUserFolderWithItsParentsAndCopiesTheDatabase)
{
    // A fresh account may lack even ~/.local/share.
    const std::string data = root_ + "home/.local/share/Orvalis/";
    app::PrepareDataFolder(program_, data, false);
    EXPECT_TRUE(core::DirectoryExists(data));
    EXPECT_EQ(Read(data + "konverze.mdb"), "shipped");
}

TEST_F(Folders, AnExistingDatabaseIsNeverOverwritten)
{
    const std::string data = root_ + "data/";
    ASSERT_TRUE(core::ForceDirectories(data));
    core::WriteFileBytes(data + "konverze.mdb", "the user's register");
    app::PrepareDataFolder(program_, data, true);
    EXPECT_EQ(Read(data + "konverze.mdb"), "the user's register");
}

TEST_F(Folders, TheSameFolderNeverCopies)
{
    app::PrepareDataFolder(program_, program_, false);
    EXPECT_EQ(Read(program_ + "konverze.mdb"), "shipped");
}

TEST_F(Folders, AFolderWithoutTrailingSlashGetsPrefixedFileNames)
{
    const std::string data = root_ + "Evidence";
    app::PrepareDataFolder(program_, data, true);
    EXPECT_TRUE(core::DirectoryExists(data));
    EXPECT_EQ(Read(root_ + "Evidencekonverze.mdb"), "shipped");
}

TEST_F(Folders, AnArgumentFolderIsMadeOneLevelDeepAndAFailureRaises)
{
    app::PrepareDataFolder(program_, root_ + "one/", true);
    EXPECT_TRUE(core::DirectoryExists(root_ + "one/"));
    EXPECT_THROW(app::PrepareDataFolder(program_, root_ + "missing/parent/", true), core::EInOutError);
}

TEST_F(Folders, AMissingShippedDatabaseCopiesNothing)
{
    core::DeleteFile(program_ + "konverze.mdb");
    const std::string data = root_ + "data/";
    app::PrepareDataFolder(program_, data, false);
    EXPECT_TRUE(core::DirectoryExists(data));
    EXPECT_FALSE(core::FileExists(data + "konverze.mdb"));
}

using StartUp = RegisterFixture;

TEST_F(StartUp, FormsAreCreatedInOrderAndTheMainFormIsTheRegister)
{
    ui::TApplication* application = ui::Application;
    const int count = application->ComponentCount();
    ASSERT_GE(count, 4);
    EXPECT_EQ(application->Components(count - 4), app::DM);
    EXPECT_EQ(application->Components(count - 3), app::Konverze_Form);
    EXPECT_EQ(application->Components(count - 2), app::Export_Form);
    EXPECT_EQ(application->Components(count - 1), app::Prohlizec_Form);
    EXPECT_EQ(application->MainForm(), app::Konverze_Form);
    EXPECT_EQ(Form()->Caption(), "Konverze");
    EXPECT_EQ(Form()->ClientWidth(), 739);
    EXPECT_EQ(Form()->ClientHeight(), 538);
    EXPECT_EQ(app::Export_Form->Caption(), "Export evidence do Excelu");
    EXPECT_EQ(app::Prohlizec_Form->Caption(), "Prohlížeč");
    EXPECT_TRUE(dialogs_.Questions().empty()) << dialogs_.Describe();
}

TEST_F(StartUp, TheRegisterWindowIsNeverSmallerThanItsPagesNeed)
{
    Form()->Show();
    Form()->SetBounds(Form()->Left(), Form()->Top(), 400, 300); // by the program
    Form()->Widget()->resize(400, 300);                        // by the user
    QCoreApplication::processEvents();
    EXPECT_EQ(Form()->ClientWidth(), 739);
    EXPECT_EQ(Form()->ClientHeight(), 538);
    EXPECT_EQ(Form()->Widget()->size(), QSize(739, 538));
    for (int page = 0; page < Form()->PageControl1->PageCount(); ++page) {
        ui::TTabSheet* sheet = Form()->PageControl1->Pages(page);
        Form()->PageControl1->SetActivePage(sheet);
        QCoreApplication::processEvents();
        for (int i = 0; i < sheet->ControlCount(); ++i) {
            const ui::TControl* control = sheet->Controls(i);
            EXPECT_LE(control->Left() + control->Width(), sheet->ClientWidth()) << control->Name();
            EXPECT_LE(control->Top() + control->Height(), sheet->ClientHeight()) << control->Name();
        }
    }
    Form()->Hide();
}

TEST_F(StartUp, TheViewersEngineWaitsUntilTheViewerIsFirstShown)
{
    // The browser control is made with the viewer form; its engine is not started.
    ASSERT_NE(app::Prohlizec_Form->HostedBrowser1, nullptr);
    EXPECT_FALSE(app::Prohlizec_Form->HostedBrowser1->Browser().EngineStarted());
    Form()->Show();
    QCoreApplication::processEvents();
    EXPECT_FALSE(app::Prohlizec_Form->HostedBrowser1->Browser().EngineStarted());
    app::Prohlizec_Form->Show();
    EXPECT_TRUE(app::Prohlizec_Form->HostedBrowser1->Browser().EngineStarted());
    EXPECT_EQ(app::Prohlizec_Form->HostedBrowser1->LocationURL(), "");
    app::Prohlizec_Form->Hide();
}

TEST_F(StartUp, TheViewersEngineStartsWithItsFirstNavigation)
{
    EXPECT_EQ(app::Prohlizec_Form->HostedBrowser1->LocationURL(), "");
    EXPECT_FALSE(app::Prohlizec_Form->HostedBrowser1->Browser().EngineStarted());
    app::Prohlizec_Form->HostedBrowser1->Navigate("about:blank");
    EXPECT_TRUE(app::Prohlizec_Form->HostedBrowser1->Browser().EngineStarted());
    EXPECT_FALSE(app::Prohlizec_Form->Visible());
}

TEST_F(StartUp, TheDataModuleOpensTheRegisterWithItsThreeLines)
{
    const int year = core::YearOf(core::Date());
    EXPECT_EQ(Register()->SQL()->Count(), 3);
    EXPECT_EQ(Register()->SQL()->Get(0), "SELECT *, (SELECT COUNT(ID) from konverze WHERE YEAR(datum_konverze)='" +
                                             std::to_string(year) + "') as pocet_rok from konverze ");
    EXPECT_EQ(Register()->SQL()->Get(1), "");
    EXPECT_EQ(Register()->SQL()->Get(2), "ORDER BY datum_konverze DESC");
    EXPECT_EQ(app::SortDirection, " DESC");
    EXPECT_EQ(app::DM->Uzivatel_ADOQuery->SQL()->Text(), "SELECT * from uzivatel \r\n");
    EXPECT_TRUE(app::DM->Uzivatel_ADOQuery->Active());
    EXPECT_EQ(app::DM->ADOConnection->ConnectionString(),
              "Provider=Microsoft.Jet.OLEDB.4.0;User ID=Admin;Data Source=" + folder_ + "konverze.mdb");
}

TEST_F(StartUp, TheYearlyCountCountsTheRowsOfThisYear)
{
    const double now = core::Now();
    AddRow("1", "letošní", now);
    AddRow("2", "také letošní", core::EncodeDate(core::YearOf(now), 1, 1));
    AddRow("3", "loňská", core::IncYear(now, -1));
    EXPECT_EQ(Register()->FieldByName("pocet_rok")->AsInteger(), 2);
}

TEST_F(StartUp, TheRegisterTabComesFirstWithItsCaptions)
{
    EXPECT_EQ(Form()->PageControl1->ActivePage(), Form()->TabSheet1);
    auto* tabs = static_cast<QTabWidget*>(Form()->PageControl1->Widget());
    EXPECT_EQ(tabs->tabText(0).toStdString(), "Evidence konverzí   ");
    EXPECT_EQ(tabs->tabText(1).toStdString(), "Údaje o uživatelích   ");
    EXPECT_EQ(Form()->RadioGroup1->ItemIndex(), 0);
    EXPECT_EQ(Form()->DBGrid1->Columns().Count(), 5);
    EXPECT_EQ(Form()->DBGrid1->Columns()[0]->TitleCaption(), "Pořadové č.");
    EXPECT_EQ(Form()->DBGrid1->Columns()[3]->TitleCaption(), "Sepsání vstupu");
    EXPECT_EQ(Form()->DBGrid1->Columns()[1]->Width(), 317);
}

TEST_F(StartUp, NavigatorsCarryTheirCaptionsHintsAndGlyphs)
{
    for (ui::TDBNavigator* navigator : {Form()->Konverze_DBNavigator, Form()->DBNavigator2}) {
        for (int i = 0; i < 10; ++i) {
            ui::TNavButton& button = navigator->Buttons(static_cast<ui::TNavigateBtn>(i));
            EXPECT_EQ(button.Caption(), app::NavCaptions[static_cast<size_t>(i)]);
            EXPECT_EQ(button.Glyph().size(), QSize(22, 22));
            EXPECT_EQ(button.Widget()->toolTip().toStdString(), app::NavHints[static_cast<size_t>(i)]);
        }
    }
    EXPECT_EQ(Form()->Konverze_DBNavigator->Buttons(ui::nbPost).Caption(), "Ulož");
    EXPECT_EQ(Form()->Konverze_DBNavigator->Buttons(ui::nbCancel).Caption(), "Neukládat");
    EXPECT_FALSE(Form()->Konverze_DBNavigator->Buttons(ui::nbFirst).Visible());
    EXPECT_TRUE(Form()->Konverze_DBNavigator->Buttons(ui::nbRefresh).Visible());
    EXPECT_FALSE(Form()->DBNavigator2->Buttons(ui::nbRefresh).Visible());
    EXPECT_TRUE(Form()->DBNavigator2->Buttons(ui::nbCancel).Visible());
}

TEST_F(StartUp, RowsSavedAreThereAfterARestart)
{
    AddUser("JUDr. Jana Nováková", "Petr Novák");
    Register()->Insert();
    Form()->Poradove_Cislo_DBEdit->SetText("7/2024");
    Form()->Oznaceni_vstupu_DBEdit->SetText("Výpis z katastru nemovitostí");
    Register()->Post();

    // The program ends and starts again on the same data folder.
    FreeForms();
    app::CreateForms();
    ASSERT_TRUE(Register()->Active());
    ASSERT_EQ(Register()->RecordCount(), 1);
    EXPECT_EQ(Register()->FieldByName("oznaceni_vstupu")->AsString(), "Výpis z katastru nemovitostí");
    EXPECT_EQ(Register()->FieldByName("vystavujici_osoba")->AsString(), "Petr Novák");
    EXPECT_EQ(Form()->Oznaceni_vstupu_DBEdit->Text(), "Výpis z katastru nemovitostí");
}

// A register longer than any screen: the main window shows its newest rows
// before the rest is read, and the register answers as the whole register.
class LargeRegisterAtStart : public RegisterFixture {
protected:
    static constexpr int kRows = 1000;
    void BeforeForms() override
    {
        sqlite3* db = nullptr;
        ASSERT_EQ(sqlite3_open((folder_ + "konverze.mdb").c_str(), &db), SQLITE_OK);
        const std::string fill =
            "WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < " + std::to_string(kRows) +
            ") INSERT INTO konverze (poradove_cislo, datum_konverze, oznaceni_vstupu, osvobozeni) "
            "SELECT i || '/2020', 43800 + i, 'Listina ' || i, 0 FROM n";
        EXPECT_EQ(sqlite3_exec(db, fill.c_str(), nullptr, nullptr, nullptr), SQLITE_OK);
        sqlite3_close(db);
    }
};

TEST_F(LargeRegisterAtStart, TheNewestRowsShowAtOnceAndTheRestFollows)
{
    EXPECT_LT(Register()->RecordsRead(), kRows) << "the window waits for no more than its first rows";
    Form()->Show();
    QAbstractItemModel* rows = Form()->DBGrid1->View()->model();
    EXPECT_EQ(Form()->DBGrid1->CellText(0, 0), "1000/2020");
    EXPECT_EQ(Form()->Poradove_Cislo_DBEdit->Text(), "1000/2020");
    ASSERT_TRUE(testsupport::WaitUntil([&] { return rows->rowCount() == kRows; }));
    EXPECT_EQ(Form()->DBGrid1->CellText(kRows - 1, 0), "1/2020");
    EXPECT_TRUE(dialogs_.Questions().empty()) << dialogs_.Describe();
}

TEST_F(LargeRegisterAtStart, TheNavigatorsLastRowIsTheOldestOfTheWholeRegister)
{
    Form()->Show();
    Form()->Konverze_DBNavigator->BtnClick(ui::nbLast);
    EXPECT_EQ(Register()->RecNo(), kRows);
    EXPECT_EQ(Form()->Poradove_Cislo_DBEdit->Text(), "1/2020");
    EXPECT_EQ(Form()->DBGrid1->View()->currentIndex().row(), kRows - 1);
    EXPECT_EQ(Register()->FieldByName("pocet_rok")->AsInteger(), 0);
}

TEST_F(LargeRegisterAtStart, ASearchAtOnceFindsRowsBeyondTheFirstScreen)
{
    Search(0, "Listina 7");
    // "Listina 7", "Listina 70".."79", "Listina 700".."799": 111 rows, most of them old.
    EXPECT_EQ(Register()->RecordCount(), 111);
    Form()->Button1Click(nullptr);
    EXPECT_EQ(Register()->RecordCount(), kRows);
    EXPECT_EQ(Form()->DBGrid1->RowCount(), kRows);
}

TEST(StartUpOfTheWebEngine, TheSuperuserRunsItWithoutItsSandbox)
{
    const char* before = std::getenv("QTWEBENGINE_DISABLE_SANDBOX");
    const std::string saved = before != nullptr ? before : "";
    unsetenv("QTWEBENGINE_DISABLE_SANDBOX");
    app::PrepareWebEngineEnvironment();
    const char* after = std::getenv("QTWEBENGINE_DISABLE_SANDBOX");
    if (geteuid() == 0)
        EXPECT_STREQ(after, "1");
    else
        EXPECT_EQ(after, nullptr);
    if (before != nullptr)
        setenv("QTWEBENGINE_DISABLE_SANDBOX", saved.c_str(), 1);
    else
        unsetenv("QTWEBENGINE_DISABLE_SANDBOX");
}

TEST(StartUpWithoutDatabase, TheProvidersErrorIsShownAndTheProgramGoesOnWithClosedQueries)
{
    ui::TScriptedDialogs dialogs;
    const std::string folder = MakeTempFolder();
    app::DataFolder = folder;
    app::CreateForms();
    ASSERT_EQ(dialogs.Questions().size(), 1u) << dialogs.Describe();
    EXPECT_EQ(dialogs.Questions()[0].Text, "Databázový soubor '" + folder + "konverze.mdb' nebyl nalezen.");
    EXPECT_EQ(dialogs.Questions()[0].Caption, "Orvalis");
    EXPECT_EQ(dialogs.Questions()[0].Flags, ui::MB_OK | ui::MB_ICONSTOP);
    EXPECT_FALSE(app::DM->Konverze_ADOQuery->Active());
    EXPECT_FALSE(app::DM->Uzivatel_ADOQuery->Active());
    ASSERT_NE(app::Konverze_Form, nullptr);
    EXPECT_EQ(app::Konverze_Form->DBGrid1->RowCount(), 0);
    // The connection made no database in place of the missing one.
    EXPECT_FALSE(core::FileExists(folder + "konverze.mdb"));
    RegisterFixture::FreeForms();
    RemoveFolder(folder);
}

TEST(LibraryModules, StartTheLibrariesAndStopThemInReverse)
{
    ASSERT_FALSE(core::IsClassRegistered("TRpReport"));
    {
        const app::TLibraryModules libraries;
        EXPECT_TRUE(browser::BrowserModuleStarted());
        EXPECT_TRUE(core::IsClassRegistered("TRpReport"));
        EXPECT_TRUE(core::IsClassRegistered("TRpChildBand"));
        const auto& steps = report::TRpEngineStartup::Log();
        EXPECT_EQ(steps, (std::vector<std::string>{"classes", "export constants", "report unit"}));
    }
    EXPECT_FALSE(core::IsClassRegistered("TRpReport"));
    EXPECT_FALSE(browser::BrowserModuleStarted());
    EXPECT_EQ(report::TRpEngineStartup::Log().back(), "classes end");
}
