// The register navigator's "Obnovit": every row stays in view, on the same
// row, with what another program added, changed or deleted; "Vymazat", a
// title click and a search after it show every row they should.

#include "RegisterFixture.h"

#include <gtest/gtest.h>

#include <QAbstractButton>

#include <sqlite3.h>

#include <functional>
#include <string>
#include <vector>

using namespace apptest;

namespace {

class Refreshing : public RegisterFixture {
protected:
    void SetUp() override
    {
        RegisterFixture::SetUp();
        if (HasFatalFailure())
            return;
        AddUser("JUDr. Jana Nováková", "Petr Novák");
        AddRow("1/2010", "Rozsudek", core::EncodeDateTime(2010, 5, 11, 9, 0, 0, 0));
        AddRow("2/2010", "Smlouva kupní", core::EncodeDateTime(2010, 5, 12, 9, 0, 0, 0));
        AddRow("3/2010", "Usnesení", core::EncodeDateTime(2010, 5, 13, 9, 0, 0, 0));
    }

    // Another program writes to the register's file.
    void ExecElsewhere(const std::string& sql)
    {
        sqlite3* db = nullptr;
        sqlite3_open_v2((folder_ + "konverze.mdb").c_str(), &db, SQLITE_OPEN_READWRITE, nullptr);
        EXPECT_EQ(sqlite3_exec(db, sql.c_str(), nullptr, nullptr, nullptr), SQLITE_OK) << sqlite3_errmsg(db);
        sqlite3_close(db);
    }

    QAbstractButton* Button(ui::TNavigateBtn b) { return Form()->Konverze_DBNavigator->Buttons(b).Widget(); }
};

} // namespace

TEST_F(Refreshing, ObnovitKeepsEveryRowInViewAndShowsWhatOthersChanged)
{
    GoTo("2/2010");
    const auto obnovit = [&] { Button(ui::nbRefresh)->click(); };
    const struct {
        const char* step;
        std::function<void()> run;
        std::vector<std::string> shown;
        const char* current;
    } steps[] = {
        {"Obnovit", obnovit, {"Usnesení", "Smlouva kupní", "Rozsudek"}, "2/2010"},
        {"Obnovit after changes elsewhere",
         [&] {
             ExecElsewhere("INSERT INTO konverze (poradove_cislo, datum_konverze, oznaceni_vstupu, osvobozeni) "
                           "VALUES ('4/2010', 40320, 'Plná moc', 0); "
                           "UPDATE konverze SET oznaceni_vstupu = 'Výpis' WHERE poradove_cislo = '2/2010'; "
                           "DELETE FROM konverze WHERE poradove_cislo = '3/2010'");
             obnovit();
         },
         {"Plná moc", "Výpis", "Rozsudek"}, "2/2010"},
        {"Vymazat", [&] { Form()->Button1->Click(); }, {"Plná moc", "Výpis", "Rozsudek"}, "4/2010"},
        {"title click", [&] { Form()->DBGrid1TitleClick(Form()->DBGrid1->Columns()[1]); },
         {"Plná moc", "Rozsudek", "Výpis"}, "4/2010"},
        {"Obnovit sorted", obnovit, {"Plná moc", "Rozsudek", "Výpis"}, "4/2010"},
        {"search", [&] { Search(0, "s"); }, {"Rozsudek", "Výpis"}, "1/2010"},
        {"Obnovit after a search", obnovit, {"Rozsudek", "Výpis"}, "1/2010"},
    };
    for (const auto& s : steps) {
        SCOPED_TRACE(s.step);
        s.run();
        EXPECT_EQ(Designations(), s.shown);
        EXPECT_EQ(Register()->FieldByName("poradove_cislo")->AsString(), s.current);
        EXPECT_TRUE(Button(ui::nbDelete)->isEnabled());
    }
    EXPECT_TRUE(dialogs_.Questions().empty()) << dialogs_.Describe();
}
