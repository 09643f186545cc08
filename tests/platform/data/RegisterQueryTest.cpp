// The register's own SQL texts and operations, run as the program writes them.

#include "Register.h"

#include "platform/core/Exceptions.h"
#include "platform/data/DataError.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

using namespace data;

namespace {

std::string Repeat(const std::string& piece, int times)
{
    std::string out;
    for (int i = 0; i < times; ++i)
        out += piece;
    return out;
}

} // namespace

TEST(RegisterQuery, YearlyCountAcrossNewYearsEveMidnight)
{
    TestDatabase db;
    Register r(db, 2010);
    r.SetLines();
    r.query->Open();
    r.Add("1/2010", DateTimeOf(2010, 6, 1, 12, 0, 0));
    r.Add("2/2010", DateTimeOf(2010, 12, 31, 23, 59, 59));
    r.Add("1/2011", DateTimeOf(2011, 1, 1, 0, 0, 0));
    r.query->Close();
    r.query->Open();

    ASSERT_EQ(r.query->RecordCount(), 3);
    EXPECT_EQ(Serials(r), (std::vector<std::string>{"1/2011", "2/2010", "1/2010"})); // newest first
    for (r.query->First(); !r.query->Eof(); r.query->Next())
        EXPECT_EQ(r.pocet_rok->AsInteger(), 2) << r.poradove_cislo->AsString();

    Register next(db, 2011);
    next.SetLines();
    next.query->Open();
    EXPECT_EQ(next.pocet_rok->AsInteger(), 1);
    EXPECT_EQ(next.query->SQL()->Get(0),
              "SELECT *, (SELECT COUNT(ID) from konverze WHERE YEAR(datum_konverze)='2011') as pocet_rok from "
              "konverze ");
}

TEST(RegisterQuery, DateSearchFindsEveryTimeOfTheDay)
{
    TestDatabase db;
    Register r(db);
    r.SetLines();
    r.query->Open();
    r.Add("midnight", DateTimeOf(2010, 5, 12, 0, 0, 0));
    r.Add("noon", DateTimeOf(2010, 5, 12, 12, 0, 0));
    r.Add("last second", DateTimeOf(2010, 5, 12, 23, 59, 59));
    r.Add("day before", DateTimeOf(2010, 5, 11, 0, 0, 0));
    r.Add("day after", DateTimeOf(2010, 5, 13, 0, 0, 0));

    r.query->Close();
    r.query->SQL()->Put(1, "WHERE (datum_konverze < #2010/05/13#) and (datum_konverze > #2010/05/11#)");
    r.query->Open();
    EXPECT_EQ(Serials(r), (std::vector<std::string>{"last second", "noon", "midnight"}));
    EXPECT_EQ(r.query->RecordCount(), 3);
}

TEST(RegisterQuery, LikeSearchWithApostropheAndCzechLetters)
{
    TestDatabase db;
    Register r(db);
    r.SetLines();
    r.query->Open();
    r.Add("1", DateTimeOf(2010, 5, 1), "Smlouva s O'Brienem");
    r.Add("2", DateTimeOf(2010, 5, 2), "smlouva s o'brienem, kopie");
    r.Add("3", DateTimeOf(2010, 5, 3), "Rozsudek OS v Brně ČJ. 12 C 34/2010");
    r.Add("4", DateTimeOf(2010, 5, 4), "Usnesení čj. 5/2010");
    r.Add("5", DateTimeOf(2010, 5, 5), "Obrien bez apostrofu");

    // The search writes "%" + text + "%" as a literal with the apostrophe doubled.
    r.query->Close();
    r.query->SQL()->Put(1, "WHERE oznaceni_vstupu like '%O''Brien%'");
    r.query->Open();
    EXPECT_EQ(Serials(r), (std::vector<std::string>{"2", "1"}));

    r.query->SQL()->Put(1, "WHERE oznaceni_vstupu like '%čj%'");
    r.query->Open();
    EXPECT_EQ(Serials(r), (std::vector<std::string>{"4", "3"}));

    r.query->SQL()->Put(1, "WHERE oznaceni_vstupu like '%BRNĚ_Č%'");
    r.query->Open();
    EXPECT_EQ(Serials(r), (std::vector<std::string>{"3"}));

    r.query->SQL()->Put(1, "WHERE poradove_cislo like '%'");
    r.query->Open();
    EXPECT_EQ(r.query->RecordCount(), 5);
}

TEST(RegisterQuery, ExportPeriodIncludesTheLastSecondAndTheNextMidnight)
{
    TestDatabase db;
    Register r(db);
    r.SetLines();
    r.query->Open();
    r.Add("before", DateTimeOf(2010, 4, 30, 23, 59, 59));
    r.Add("first", DateTimeOf(2010, 5, 1, 0, 0, 0));
    r.Add("last second", DateTimeOf(2010, 5, 31, 23, 59, 59));
    r.Add("next midnight", DateTimeOf(2010, 6, 1, 0, 0, 0));
    r.Add("after", DateTimeOf(2010, 6, 1, 0, 0, 1));

    // The export lends itself the query and gives it back afterwards.
    const std::string kept = r.query->SQL()->Text();
    r.query->SQL()->Clear();
    r.query->SQL()->Add("SELECT *,  (SELECT COUNT(ID) from konverze) as pocet_rok FROM konverze WHERE "
                        "(datum_konverze >= #2010/05/01#) and (datum_konverze <= #2010/06/01#)");
    r.query->Open();
    std::vector<std::string> got = Serials(r);
    std::sort(got.begin(), got.end());
    EXPECT_EQ(got, (std::vector<std::string>{"first", "last second", "next midnight"}));
    r.query->First();
    EXPECT_EQ(r.pocet_rok->AsInteger(), 5); // all rows: the column is there for the fields' sake
    EXPECT_EQ(r.datum_konverze->DisplayText(), "01.05.2010");

    r.query->Close();
    r.query->SQL()->SetText(kept);
    r.query->Open();
    EXPECT_EQ(r.query->SQL()->Count(), 3);
    EXPECT_EQ(r.query->RecordCount(), 5);
}

TEST(RegisterQuery, PostRefusedBeforePostKeepsInsertStateAndValues)
{
    TestDatabase db;
    Register r(db);
    r.SetLines();
    r.query->Open();
    int afterPost = 0;
    r.query->BeforePost = [&](TDataSet*) {
        if (r.oznaceni_vstupu->AsString().empty())
            core::Abort();
        r.overujici_osoba->SetAsString("JUDr. Jana Nováková");
    };
    r.query->AfterPost = [&](TDataSet* ds) {
        ++afterPost;
        ds->Close();
        ds->Open();
    };

    r.query->Insert();
    r.poradove_cislo->SetAsString("7/2010");
    r.datum_konverze->SetAsDateTime(DateTimeOf(2010, 5, 12, 9, 30, 0));
    EXPECT_THROW(r.query->Post(), core::EAbort);
    EXPECT_EQ(r.query->State(), dsInsert);
    EXPECT_EQ(r.poradove_cislo->AsString(), "7/2010");
    EXPECT_DOUBLE_EQ(r.datum_konverze->AsDateTime(), DateTimeOf(2010, 5, 12, 9, 30, 0));
    EXPECT_TRUE(r.oznaceni_vstupu->IsNull());
    EXPECT_EQ(afterPost, 0);
    EXPECT_TRUE(r.query->Modified());

    // Completed, the same record posts, and the reopen leaves the cursor on the first row.
    r.oznaceni_vstupu->SetAsString("Usnesení");
    r.query->Post();
    EXPECT_EQ(afterPost, 1);
    EXPECT_EQ(r.query->State(), dsBrowse);
    EXPECT_EQ(r.query->RecNo(), 1);
    EXPECT_EQ(r.overujici_osoba->AsString(), "JUDr. Jana Nováková");
    EXPECT_FALSE(r.ID->IsNull());
}

TEST(RegisterQuery, ReopenReturnsToTheFirstRow)
{
    TestDatabase db;
    Register r(db);
    r.SetLines("", "ORDER BY poradove_cislo ASC");
    r.query->Open();
    for (const char* s : {"a", "b", "c"})
        r.Add(s, DateTimeOf(2010, 1, 1));
    // A static cursor keeps inserted rows where they were made: each before the last.
    EXPECT_EQ(Serials(r), (std::vector<std::string>{"c", "b", "a"}));
    r.query->Close();
    r.query->Open();
    r.query->Last();
    EXPECT_EQ(r.poradove_cislo->AsString(), "c");
    r.query->Close();
    r.query->Open();
    EXPECT_EQ(r.query->RecNo(), 1);
    EXPECT_TRUE(r.query->Bof());
    EXPECT_EQ(r.poradove_cislo->AsString(), "a");
}

TEST(RegisterQuery, OverlongTextIsRefusedAndTheRowStaysInItsEditingState)
{
    TestDatabase db;
    Register r(db);
    r.SetLines();
    r.query->Open();
    r.query->Insert();
    r.poradove_cislo->SetAsString("8/2010");
    // 256 characters of two bytes each: the limit counts characters, not bytes.
    r.oznaceni_vstupu->SetAsString(Repeat("ž", 256));
    try {
        r.query->Post();
        FAIL() << "an over-long text was posted";
    } catch (const EADOError& e) {
        EXPECT_EQ(e.Message(), "Text v poli „oznaceni_vstupu“ je dlouhý 256 znaků, pole pojme nejvýše 255 znaků.");
    }
    // The field's title names it where it has one.
    r.oznaceni_vstupu->SetDisplayLabel("Označení vstupu");
    try {
        r.query->Post();
        FAIL() << "an over-long text was posted";
    } catch (const EADOError& e) {
        EXPECT_EQ(e.Message(), "Text v poli „Označení vstupu“ je dlouhý 256 znaků, pole pojme nejvýše 255 znaků.");
    }
    EXPECT_EQ(r.query->State(), dsInsert);
    EXPECT_EQ(r.oznaceni_vstupu->AsString(), Repeat("ž", 256));
    EXPECT_EQ(r.poradove_cislo->AsString(), "8/2010");

    r.oznaceni_vstupu->SetAsString(Repeat("ž", 255));
    r.query->Post();
    r.query->Close();
    r.query->Open();
    EXPECT_EQ(r.oznaceni_vstupu->AsString(), Repeat("ž", 255));

    // An edit is held to the same limit.
    r.query->Edit();
    r.cislo_dokladu->SetAsString(Repeat("x", 300));
    EXPECT_THROW(r.query->Post(), EDatabaseError);
    EXPECT_EQ(r.query->State(), dsEdit);
}

TEST(RegisterQuery, TwoConnectionsSeeEachOthersPostedRows)
{
    TestDatabase db;
    Register first(db);
    Register second(db);
    first.SetLines();
    second.SetLines();
    first.query->Open();
    second.query->Open();

    first.Add("from first", DateTimeOf(2010, 3, 1));
    EXPECT_EQ(second.query->RecordCount(), 0); // a static cursor keeps what it read
    second.query->Refresh();
    ASSERT_EQ(second.query->RecordCount(), 1);
    EXPECT_EQ(second.poradove_cislo->AsString(), "from first");

    second.Add("from second", DateTimeOf(2010, 3, 2));
    first.query->Close();
    first.query->Open();
    EXPECT_EQ(Serials(first), (std::vector<std::string>{"from second", "from first"}));
    EXPECT_EQ(first.pocet_rok->AsInteger(), 2);
}

TEST(RegisterQuery, WritesGoToTheFromTableByKeyAndNeverTheComputedColumn)
{
    TestDatabase db;
    db.Exec("INSERT INTO konverze (poradove_cislo, datum_konverze, oznaceni_vstupu, osvobozeni) VALUES "
            "('old', 40000.5, 'Smlouva', -1)");
    Register r(db);
    r.SetLines();
    r.query->Open();
    EXPECT_EQ(r.query->UpdateTable(), "konverze");
    EXPECT_TRUE(r.osvobozeni->AsBoolean()); // a Jet true of -1
    EXPECT_FALSE(r.pocet_rok->CanModify());
    EXPECT_TRUE(r.poradove_cislo->CanModify());

    r.query->Insert();
    EXPECT_TRUE(r.ID->IsNull());
    r.poradove_cislo->SetAsString("new");
    r.datum_konverze->SetAsDateTime(DateTimeOf(2010, 7, 1, 8, 0, 0));
    r.oznaceni_vstupu->SetAsString("Rozsudek");
    EXPECT_THROW(r.pocet_rok->SetAsInteger(5), EDatabaseError);
    EXPECT_THROW(r.ID->SetAsInteger(5), EDatabaseError);
    r.query->Post();
    const int newId = r.ID->AsInteger();
    EXPECT_EQ(newId, 2);
    EXPECT_FALSE(r.osvobozeni->AsBoolean()); // the column's default, read back

    // Edit the old row: only what changed is written, found by its ID.
    r.query->Last();
    ASSERT_EQ(r.poradove_cislo->AsString(), "old");
    r.query->Edit();
    r.osvobozeni->SetAsBoolean(false);
    r.vystavujici_osoba->SetAsString("Petr Svoboda");
    r.query->Post();

    r.query->Close();
    r.query->Open();
    r.query->Last();
    EXPECT_EQ(r.ID->AsInteger(), 1);
    EXPECT_FALSE(r.osvobozeni->AsBoolean());
    EXPECT_EQ(r.vystavujici_osoba->AsString(), "Petr Svoboda");
    EXPECT_EQ(r.oznaceni_vstupu->AsString(), "Smlouva");

    r.query->Delete();
    EXPECT_EQ(r.query->RecordCount(), 1);
    r.query->Close();
    r.query->Open();
    ASSERT_EQ(r.query->RecordCount(), 1);
    EXPECT_EQ(r.ID->AsInteger(), newId);
}

TEST(RegisterQuery, UsersWithoutKeyAreFoundByTheirValues)
{
    TestDatabase db;
    db.Exec("INSERT INTO uzivatel (jmeno_prijmeni, vystavujici, email) VALUES ('Jan Novák', 'Eva Malá', NULL);"
            "INSERT INTO uzivatel (jmeno_prijmeni, vystavujici, email) VALUES ('Jan Novák', 'Eva Malá', NULL);"
            "INSERT INTO uzivatel (jmeno_prijmeni, vystavujici) VALUES ('Karel Dvořák', 'Ivo Bílý')");
    core::TComponent owner(nullptr);
    auto* connection = new TADOConnection(&owner);
    connection->SetConnectionString(db.ConnectionString());
    auto* users = new TADOQuery(&owner);
    users->SetConnection(connection);
    users->SQL()->Add("SELECT * from uzivatel ");
    users->Open();
    ASSERT_EQ(users->RecordCount(), 3);
    EXPECT_EQ(users->FieldCount(), 7);
    EXPECT_EQ(users->FieldByName("ID_advokata")->DataType(), ftWideString);

    // Two identical rows: an edit changes one of them, not both.
    users->Edit();
    users->FieldByName("email")->SetAsString("jan@example.cz");
    users->Post();
    users->Next();
    users->Next();
    users->Delete();
    users->Append();
    users->FieldByName("jmeno_prijmeni")->SetAsString("Nová Uživatelka");
    users->Post();
    users->Close();
    users->Open();
    std::vector<std::string> rows;
    for (users->First(); !users->Eof(); users->Next())
        rows.push_back(users->FieldByName("jmeno_prijmeni")->AsString() + "|" + users->FieldByName("email")->AsString());
    EXPECT_EQ(rows, (std::vector<std::string>{"Jan Novák|jan@example.cz", "Jan Novák|", "Nová Uživatelka|"}));
}

TEST(RegisterQuery, PersistentFieldsMustAllBeInTheResult)
{
    TestDatabase db;
    Register r(db);
    r.query->SQL()->Add("SELECT * from konverze"); // no pocet_rok
    try {
        r.query->Open();
        FAIL() << "opened without pocet_rok";
    } catch (const EDatabaseError& e) {
        EXPECT_EQ(e.Message(), "Konverze_ADOQuery: Field 'pocet_rok' not found");
    }
    EXPECT_FALSE(r.query->Active());

    r.query->SQL()->SetText("SELECT *, 1 as pocet_rok, ID as datum_konverze_x from konverze");
    EXPECT_NO_THROW(r.query->Open());
    EXPECT_EQ(r.query->FieldCount(), 10);

    r.query->SQL()->SetText("SELECT ID, poradove_cislo as datum_konverze, poradove_cislo, oznaceni_vstupu, "
                            "datum_sepsani_vstupu, osvobozeni, cislo_dokladu, overujici_osoba, vystavujici_osoba, "
                            "1 as pocet_rok from konverze");
    try {
        r.query->Open();
        FAIL() << "a text column opened as a date-time field";
    } catch (const EDatabaseError& e) {
        EXPECT_EQ(e.Message(),
                  "Konverze_ADOQuery: Type mismatch for field 'datum_konverze', expecting: DateTime actual: WideString");
    }
}
