// What the register tells the user when it cannot do what was asked: a search
// for a day the SQL has no next day for, searches that fail, refusals of the
// database in Czech, and a row being typed when a search, a clear or a title
// click reopens the register.

#include "RegisterFixture.h"

#include "platform/core/Exceptions.h"
#include "platform/core/FormatSettings.h"

#include <gtest/gtest.h>

#include <QHeaderView>
#include <QTableView>
#include <QtTest/QTest>

#include <sqlite3.h>

using namespace apptest;

namespace {

const char* const kLocked = "Databáze je uzamčena, právě ji používá jiný uživatel nebo program. Zkuste to prosím znovu.";

class Refusals : public RegisterFixture {
protected:
    void SetUp() override
    {
        RegisterFixture::SetUp();
        AddUser("JUDr. Jana Nováková", "Petr Novák", "jana@example.cz", "12345");
        AddRow("1/2010", "Rozsudek Okresního soudu v Benešově", core::EncodeDateTime(2010, 5, 12, 23, 59, 0, 0));
        AddRow("2/2010", "Smlouva kupní", core::EncodeDateTime(2010, 5, 13, 0, 0, 0, 0));
        AddRow("3/2010", "Usnesení Krajského soudu", core::EncodeDateTime(2010, 5, 11, 14, 0, 0, 0));
    }
    // Types into "Hledání" key by key, as the user does.
    void TypeSearch(const char* keys) { QTest::keyClicks(Form()->Hledani_Edit->Widget(), keys); }

    // A click on a button as the user gives it: a refusal ends at the application's handler.
    static void Click(ui::TButton* button) { QTest::mouseClick(button->Widget(), Qt::LeftButton); }
    void ClickNavigator(ui::TNavigateBtn button) { Form()->Konverze_DBNavigator->Buttons(button).Widget()->click(); }
    // The register works: it is open and its navigator starts a new row.
    void ExpectRegisterUsable()
    {
        EXPECT_TRUE(Register()->Active());
        EXPECT_TRUE(Form()->Konverze_DBNavigator->Buttons(ui::nbInsert).Enabled());
        ClickNavigator(ui::nbInsert);
        EXPECT_EQ(Register()->State(), data::dsInsert);
        ClickNavigator(ui::nbCancel);
        EXPECT_EQ(Register()->State(), data::dsBrowse);
    }
};

// Another connection to the register's file that takes the write lock.
class OtherWriter {
public:
    explicit OtherWriter(const std::string& file) { sqlite3_open_v2(file.c_str(), &db_, SQLITE_OPEN_READWRITE, nullptr); }
    ~OtherWriter() { sqlite3_close(db_); }
    void Run(const char* sql) { ASSERT_EQ(sqlite3_exec(db_, sql, nullptr, nullptr, nullptr), SQLITE_OK) << sql; }

private:
    sqlite3* db_ = nullptr;
};

} // namespace

// --- A date search for the calendar's last day, and failed searches ---------------

TEST_F(Refusals, ASearchForTheCalendarsLastDayFindsThatDayAndFailsNothing)
{
    Search(3, "31.12.9999");
    EXPECT_TRUE(Messages().empty()) << dialogs_.Describe();
    EXPECT_EQ(Register()->SQL()->Get(1), "WHERE (datum_konverze >= #9999/12/31#)");
    EXPECT_TRUE(Register()->Active());
    EXPECT_TRUE(Designations().empty());
    // A row of that very day, late in it, is found.
    AddRow("9/9999", "Poslední den", core::EncodeDateTime(9999, 12, 31, 23, 59, 59, 0));
    EXPECT_EQ(Designations(), std::vector<std::string>{"Poslední den"});
    // The day before it still has its next day.
    Search(3, "30.12.9999");
    EXPECT_EQ(Register()->SQL()->Get(1), "WHERE (datum_konverze < #9999/12/31#) and (datum_konverze >= #9999/12/30#)");
    EXPECT_TRUE(Designations().empty());
    Form()->Button1->Click();
    EXPECT_EQ(Designations().size(), 4u);
    ExpectRegisterUsable();
    EXPECT_TRUE(Messages().empty()) << dialogs_.Describe();
}

TEST_F(Refusals, ASearchTheDatabaseRefusesKeepsTheRegisterAsItWasAndTellsWhyOnce)
{
    Search(0, "soud");
    ASSERT_EQ(Designations().size(), 2u);
    // Another program holds the file locked; the first try to open the
    // register again gives up, and the lock is gone by the next.
    OtherWriter other(folder_ + "konverze.mdb");
    other.Run("BEGIN EXCLUSIVE");
    other.Run("UPDATE konverze SET cislo_dokladu = 'X'");
    struct Lock {
        OtherWriter* writer;
        int calls = 0;
    } lock{&other};
    sqlite3_busy_handler(
        app::DM->ADOConnection->Handle(),
        [](void* data, int tries) -> int {
            auto* l = static_cast<Lock*>(data);
            ++l->calls;
            if (tries == 0 && l->calls == 1)
                return 0;
            l->writer->Run("ROLLBACK");
            return 1;
        },
        &lock);
    Search(0, "smlouva");
    EXPECT_EQ(Messages(), std::vector<std::string>{kLocked});
    // The register shows again what it showed, with its filter.
    EXPECT_EQ(Register()->SQL()->Get(1), "WHERE oznaceni_vstupu like '%soud%'");
    EXPECT_EQ(Designations().size(), 2u);
    ExpectRegisterUsable();
    dialogs_.Clear();
    Form()->Button1->Click();
    EXPECT_EQ(Designations().size(), 3u);
    EXPECT_TRUE(Messages().empty()) << dialogs_.Describe();
}

TEST_F(Refusals, AfterASearchThatCouldNotOpenTheRegisterClearingShowsEveryRow)
{
    app::DM->ADOConnection->SetBusyTimeout(20);
    {
        OtherWriter other(folder_ + "konverze.mdb");
        other.Run("BEGIN EXCLUSIVE");
        other.Run("UPDATE konverze SET cislo_dokladu = 'X'");
        Search(0, "soud");
        EXPECT_EQ(Messages(), std::vector<std::string>{kLocked});
        other.Run("ROLLBACK");
    }
    dialogs_.Clear();
    Form()->Button1->Click();
    EXPECT_EQ(Form()->Hledani_Edit->Text(), "");
    EXPECT_EQ(Register()->SQL()->Get(1), "");
    EXPECT_EQ(Designations().size(), 3u);
    ExpectRegisterUsable();
    EXPECT_TRUE(Messages().empty()) << dialogs_.Describe();
}

// --- The database's refusals in Czech --------------------------------------------

TEST_F(Refusals, AnOverlongTextNamesItsFieldByItsTitleOnTheForm)
{
    // The edits take no more than a field holds; a template appended to a
    // long designation, or a user's long name, can still go beyond it.
    AddUser("Mgr. Karel Dvořák", std::string(300, 'y'));
    Form()->Show();
    GoTo("2/2010");
    ClickNavigator(ui::nbEdit);
    Register()->FieldByName("oznaceni_vstupu")->SetAsString(std::string(250, 'x'));
    Click(Form()->Button6);
    ClickNavigator(ui::nbPost);
    ASSERT_EQ(dialogs_.Questions().size(), 1u) << dialogs_.Describe();
    EXPECT_EQ(dialogs_.Questions()[0].Text,
              "Text v poli „Označení vstupu“ je dlouhý 259 znaků, pole pojme nejvýše 255 znaků.");
    EXPECT_EQ(dialogs_.Questions()[0].Flags, ui::MB_OK | ui::MB_ICONSTOP);
    EXPECT_EQ(Register()->State(), data::dsEdit);

    ClickNavigator(ui::nbCancel);
    EXPECT_EQ(Stored("2/2010", "oznaceni_vstupu"), "Smlouva kupní");

    // A new row takes the issuing person of the user picked.
    dialogs_.Clear();
    ClickNavigator(ui::nbInsert);
    Register()->FieldByName("oznaceni_vstupu")->SetAsString("Plná moc");
    app::DM->Uzivatel_ADOQuery->Last();
    Form()->DBGrid2CellClick(Form()->DBGrid2->Columns()[0]);
    ClickNavigator(ui::nbPost);
    EXPECT_EQ(Messages(), std::vector<std::string>{"Text v poli „Osoba vystavující doložku“ je dlouhý 300 znaků, "
                                                   "pole pojme nejvýše 255 znaků."});
    EXPECT_EQ(Register()->State(), data::dsInsert);
    ClickNavigator(ui::nbCancel);

    // The users' fields are named by the users tab, also after their query was read again.
    dialogs_.Clear();
    app::DM->Uzivatel_ADOQuery->Close();
    app::DM->Uzivatel_ADOQuery->Open();
    app::DM->Uzivatel_ADOQuery->Edit();
    app::DM->Uzivatel_ADOQuery->FieldByName("jmeno_prijmeni")->SetAsString(std::string(256, 'z'));
    Form()->DBNavigator2->Buttons(ui::nbPost).Widget()->click();
    EXPECT_EQ(Messages(), std::vector<std::string>{"Text v poli „Jméno a příjmení ověřující osoby“ je dlouhý 256 "
                                                   "znaků, pole pojme nejvýše 255 znaků."});
    Form()->Hide();
}

TEST_F(Refusals, ALockedDatabaseIsToldInCzechAndTheRowWaitsToBeSavedAgain)
{
    app::DM->ADOConnection->SetBusyTimeout(20);
    OtherWriter other(folder_ + "konverze.mdb");
    other.Run("BEGIN IMMEDIATE");
    ClickNavigator(ui::nbInsert);
    Form()->Poradove_Cislo_DBEdit->SetText("4/2010");
    Form()->Oznaceni_vstupu_DBEdit->SetText("Plná moc");
    ClickNavigator(ui::nbPost);
    EXPECT_EQ(Messages(), std::vector<std::string>{kLocked});
    EXPECT_EQ(Register()->State(), data::dsInsert);
    other.Run("COMMIT");
    ClickNavigator(ui::nbPost);
    EXPECT_EQ(Register()->State(), data::dsBrowse);
    EXPECT_EQ(Stored("4/2010", "oznaceni_vstupu"), "Plná moc");
    EXPECT_EQ(Messages().size(), 1u) << dialogs_.Describe();
}

TEST_F(Refusals, ADatabaseThatCannotBeWrittenIsToldInCzech)
{
    app::DM->ADOConnection->Execute("PRAGMA query_only = ON");
    GoTo("2/2010");
    ClickNavigator(ui::nbEdit);
    Form()->Cislo_Dokladu_DBEdit->SetText("D-9");
    ClickNavigator(ui::nbPost);
    EXPECT_EQ(Messages(), std::vector<std::string>{"Do databáze nelze zapisovat: soubor je otevřen jen pro čtení nebo "
                                                   "k zápisu do něj nemáte oprávnění."});
    EXPECT_EQ(Register()->State(), data::dsEdit);
}

TEST_F(Refusals, ADateTheSqlCannotTakeIsToldInCzech)
{
    Register()->Close();
    Register()->SQL()->Put(1, "WHERE datum_konverze < #10000/01/01#");
    try {
        Register()->Open();
        FAIL() << "the register opened";
    } catch (const core::Exception& e) {
        EXPECT_EQ(e.Message(), "Chyba syntaxe v datu ve výrazu dotazu '#10000/01/01#'.");
    }
}

// --- A row being typed when the register is reopened ------------------------------

TEST_F(Refusals, ANewRowWithOnlyWhatTheInsertRulesPutInIsDroppedWithoutAWord)
{
    Form()->Show();
    // A search.
    ClickNavigator(ui::nbInsert);
    TypeSearch("soud");
    EXPECT_EQ(Register()->State(), data::dsBrowse);
    EXPECT_EQ(Designations().size(), 2u);
    // A clear.
    ClickNavigator(ui::nbInsert);
    Form()->Button1->Click();
    EXPECT_EQ(Register()->State(), data::dsBrowse);
    EXPECT_EQ(Designations().size(), 3u);
    // A title click.
    ClickNavigator(ui::nbInsert);
    Form()->DBGrid1->View()->horizontalHeader()->sectionClicked(0);
    EXPECT_EQ(Register()->State(), data::dsBrowse);
    EXPECT_EQ(Register()->SQL()->Get(2), "ORDER BY poradove_cislo ASC");
    EXPECT_EQ(Designations().size(), 3u);
    EXPECT_TRUE(Messages().empty()) << dialogs_.Describe();
    EXPECT_EQ(Stored("", "poradove_cislo"), "<no row>");
    Form()->Hide();
}

TEST_F(Refusals, ANewRowTheUserTypedIntoIsKeptAndItsRefusalShownOnceWhileTheSearchIsTyped)
{
    Form()->Show();
    ClickNavigator(ui::nbInsert);
    Form()->Poradove_Cislo_DBEdit->SetText("9/2010");
    TypeSearch("smlouva");
    EXPECT_EQ(Messages(), std::vector<std::string>{"Chybí označení věci."});
    EXPECT_EQ(Register()->State(), data::dsInsert);
    EXPECT_EQ(Register()->FieldByName("poradove_cislo")->AsString(), "9/2010");
    EXPECT_EQ(Register()->SQL()->Get(1), "");

    // The row changed: the next keystroke asks once more.
    Form()->Poradove_Cislo_DBEdit->SetText("10/2010");
    QTest::keyClick(Form()->Hledani_Edit->Widget(), Qt::Key_Backspace);
    QTest::keyClick(Form()->Hledani_Edit->Widget(), Qt::Key_A);
    EXPECT_EQ(Messages().size(), 2u) << dialogs_.Describe();

    // With its designation the row is saved and the search runs.
    Form()->Oznaceni_vstupu_DBEdit->SetText("Smlouva darovací");
    QTest::keyClick(Form()->Hledani_Edit->Widget(), Qt::Key_Backspace);
    EXPECT_EQ(Register()->State(), data::dsBrowse);
    EXPECT_EQ(Stored("10/2010", "oznaceni_vstupu"), "Smlouva darovací");
    EXPECT_EQ(Register()->SQL()->Get(1), "WHERE oznaceni_vstupu like '%smlouv%'");
    EXPECT_EQ(Designations().size(), 2u);
    EXPECT_EQ(Messages().size(), 2u) << dialogs_.Describe();
    Form()->Hide();
}

TEST_F(Refusals, AnOldRowMadeUnsavableIsRefusedOnceForEachTimeItIsEdited)
{
    Form()->Show();
    GoTo("2/2010");
    ClickNavigator(ui::nbEdit);
    Form()->Oznaceni_vstupu_DBEdit->SetText("");
    TypeSearch("sml");
    EXPECT_EQ(Messages(), std::vector<std::string>{"Chybí označení věci."});
    EXPECT_EQ(Register()->State(), data::dsEdit);
    // Given up and begun again the same way: another row being typed, told once again.
    ClickNavigator(ui::nbCancel);
    ClickNavigator(ui::nbEdit);
    Form()->Oznaceni_vstupu_DBEdit->SetText("");
    TypeSearch("ouva");
    EXPECT_EQ(Messages().size(), 2u) << dialogs_.Describe();
    EXPECT_EQ(Stored("2/2010", "oznaceni_vstupu"), "Smlouva kupní");
    // A clear and a title click are the user's own requests: each tells why it did nothing.
    Click(Form()->Button1);
    Form()->DBGrid1->View()->horizontalHeader()->sectionClicked(0);
    EXPECT_EQ(Messages().size(), 4u) << dialogs_.Describe();
    EXPECT_EQ(Register()->SQL()->Get(2), "ORDER BY datum_konverze DESC");
    Form()->Hide();
}
