// The data set's cursor, states and events, over a query with default fields.

#include "TestDatabase.h"

#include "platform/core/Exceptions.h"
#include "platform/data/ADOConnection.h"
#include "platform/data/ADOQuery.h"
#include "platform/data/DataError.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace data;

namespace {

// Five rows, serial numbers "1" to "5" in ID order, and a query over them.
class DataSetTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        for (int i = 1; i <= 5; ++i)
            db.Exec("INSERT INTO konverze (poradove_cislo, datum_konverze, oznaceni_vstupu) VALUES ('" +
                    std::to_string(i) + "', " + std::to_string(40000 + i) + ", 'Rozsudek')");
        connection = new TADOConnection(&owner);
        connection->SetConnectionString(db.ConnectionString());
        query = new TADOQuery(&owner);
        query->SetName("Query");
        query->SetConnection(connection);
        query->SQL()->Add("SELECT * FROM konverze ORDER BY ID");
    }

    std::string Serial() const { return query->FieldByName("poradove_cislo")->AsString(); }

    // Records every event of the query as its name.
    void Listen()
    {
        auto on = [this](const char* name) { return [this, name](TDataSet*) { events.push_back(name); }; };
        query->BeforeOpen = on("BeforeOpen");
        query->AfterOpen = on("AfterOpen");
        query->BeforeClose = on("BeforeClose");
        query->AfterClose = on("AfterClose");
        query->BeforeInsert = on("BeforeInsert");
        query->AfterInsert = on("AfterInsert");
        query->BeforeEdit = on("BeforeEdit");
        query->AfterEdit = on("AfterEdit");
        query->BeforePost = on("BeforePost");
        query->AfterPost = on("AfterPost");
        query->BeforeCancel = on("BeforeCancel");
        query->AfterCancel = on("AfterCancel");
        query->BeforeDelete = on("BeforeDelete");
        query->AfterDelete = on("AfterDelete");
        query->BeforeScroll = on("BeforeScroll");
        query->AfterScroll = on("AfterScroll");
        query->OnNewRecord = on("OnNewRecord");
    }

    TestDatabase db;
    core::TComponent owner{nullptr};
    TADOConnection* connection = nullptr;
    TADOQuery* query = nullptr;
    std::vector<std::string> events;
};

using Events = std::vector<std::string>;

} // namespace

TEST_F(DataSetTest, MovesLikeTheClassLibrary)
{
    query->Open();
    EXPECT_EQ(query->RecordCount(), 5);
    EXPECT_TRUE(query->Bof());
    EXPECT_FALSE(query->Eof());
    EXPECT_EQ(Serial(), "1");

    query->Prior();
    EXPECT_TRUE(query->Bof());
    EXPECT_EQ(query->RecNo(), 1);
    EXPECT_EQ(query->MoveBy(3), 3);
    EXPECT_EQ(Serial(), "4");
    EXPECT_FALSE(query->Bof());
    EXPECT_EQ(query->MoveBy(10), 1);
    EXPECT_TRUE(query->Eof());
    EXPECT_EQ(Serial(), "5");
    query->Next();
    EXPECT_EQ(query->RecNo(), 5);
    EXPECT_EQ(query->MoveBy(-10), -4);
    EXPECT_TRUE(query->Bof());
    query->SetRecNo(3);
    EXPECT_EQ(Serial(), "3");
    query->Last();
    EXPECT_TRUE(query->Eof());
    EXPECT_EQ(query->RecNo(), 5);

    int seen = 0;
    for (query->First(); !query->Eof(); query->Next())
        ++seen;
    EXPECT_EQ(seen, 5);
}

TEST_F(DataSetTest, EmptyResultHasNoCurrentRecord)
{
    query->SQL()->SetText("SELECT * FROM konverze WHERE ID > 100");
    query->Open();
    EXPECT_TRUE(query->IsEmpty());
    EXPECT_TRUE(query->Bof());
    EXPECT_TRUE(query->Eof());
    EXPECT_EQ(query->RecNo(), 0);
    EXPECT_TRUE(query->FieldByName("poradove_cislo")->IsNull());
    EXPECT_EQ(query->FieldByName("poradove_cislo")->AsString(), "");
    query->Next();
    EXPECT_TRUE(query->Eof());
    try {
        query->Delete();
        FAIL();
    } catch (const EDatabaseError& e) {
        EXPECT_EQ(e.Message(), "Query: Cannot perform this operation on an empty dataset");
    }
    // Edit on an empty data set appends.
    query->Edit();
    EXPECT_EQ(query->State(), dsInsert);
}

TEST_F(DataSetTest, EventsComeInOrder)
{
    Listen();
    query->Open();
    EXPECT_EQ(events, (Events{"BeforeOpen", "AfterOpen", "AfterScroll"}));
    events.clear();
    query->Insert();
    EXPECT_EQ(events, (Events{"BeforeInsert", "BeforeScroll", "OnNewRecord", "AfterInsert", "AfterScroll"}));
    events.clear();
    query->FieldByName("poradove_cislo")->SetAsString("6");
    query->Post();
    EXPECT_EQ(events, (Events{"BeforePost", "AfterPost"}));
    events.clear();
    query->Edit();
    query->Cancel();
    EXPECT_EQ(events, (Events{"BeforeEdit", "AfterEdit", "BeforeCancel", "AfterCancel"}));
    events.clear();
    query->Delete();
    EXPECT_EQ(events, (Events{"BeforeDelete", "BeforeScroll", "AfterDelete", "AfterScroll"}));
    events.clear();
    query->Close();
    EXPECT_EQ(events, (Events{"BeforeClose", "AfterClose"}));
}

TEST_F(DataSetTest, AbortInBeforeEventsLeavesEverythingAsItWas)
{
    query->Open();
    query->Next();
    query->BeforeInsert = [](TDataSet*) { core::Abort(); };
    EXPECT_THROW(query->Insert(), core::EAbort);
    EXPECT_EQ(query->State(), dsBrowse);
    EXPECT_EQ(query->RecordCount(), 5);
    EXPECT_EQ(Serial(), "2");

    query->BeforeEdit = [](TDataSet*) { core::Abort(); };
    EXPECT_THROW(query->Edit(), core::EAbort);
    EXPECT_EQ(query->State(), dsBrowse);

    query->BeforeDelete = [](TDataSet*) { core::Abort(); };
    EXPECT_THROW(query->Delete(), core::EAbort);
    EXPECT_EQ(query->RecordCount(), 5);

    query->BeforeScroll = [](TDataSet*) { core::Abort(); };
    EXPECT_THROW(query->Next(), core::EAbort);
    EXPECT_EQ(Serial(), "2");
    query->BeforeScroll = nullptr;

    query->BeforeEdit = nullptr;
    query->Edit();
    query->FieldByName("poradove_cislo")->SetAsString("two");
    query->BeforeCancel = [](TDataSet*) { core::Abort(); };
    EXPECT_THROW(query->Cancel(), core::EAbort);
    EXPECT_EQ(query->State(), dsEdit);
    EXPECT_EQ(Serial(), "two");

    query->BeforeOpen = [](TDataSet*) { core::Abort(); };
    query->BeforeCancel = nullptr;
    query->Close();
    EXPECT_THROW(query->Open(), core::EAbort);
    EXPECT_FALSE(query->Active());
}

TEST_F(DataSetTest, NewRecordValuesAndCancelReturnToThePreviousRecord)
{
    query->OnNewRecord = [](TDataSet* ds) { ds->FieldByName("oznaceni_vstupu")->SetAsString("Smlouva"); };
    query->Open();
    query->SetRecNo(3);
    query->Insert();
    EXPECT_EQ(query->RecNo(), 3);
    EXPECT_EQ(query->RecordCount(), 6);
    EXPECT_EQ(query->FieldByName("oznaceni_vstupu")->AsString(), "Smlouva");
    EXPECT_FALSE(query->Modified()); // the new record's defaults are no change of the user's
    query->Cancel();
    EXPECT_EQ(query->RecordCount(), 5);
    EXPECT_EQ(Serial(), "3");

    query->Append();
    EXPECT_EQ(query->RecNo(), 6);
    query->Cancel();
    EXPECT_EQ(Serial(), "3");

    // Moving away posts a changed record and drops an unchanged one.
    query->Insert();
    query->Next();
    EXPECT_EQ(query->RecordCount(), 5);
    query->Insert();
    query->FieldByName("poradove_cislo")->SetAsString("new");
    query->First();
    EXPECT_EQ(query->State(), dsBrowse);
    EXPECT_EQ(query->RecordCount(), 6);
    query->Close();
    query->Open();
    query->Last();
    EXPECT_EQ(Serial(), "new");
    EXPECT_EQ(query->FieldByName("oznaceni_vstupu")->AsString(), "Smlouva");
}

TEST_F(DataSetTest, EditingRulesAndErrors)
{
    query->Open();
    try {
        query->FieldByName("poradove_cislo")->SetAsString("x");
        FAIL();
    } catch (const EDatabaseError& e) {
        EXPECT_EQ(e.Message(), "Query: Dataset not in edit or insert mode");
    }
    EXPECT_THROW(query->Post(), EDatabaseError);
    try {
        query->FieldByName("nothing");
        FAIL();
    } catch (const EDatabaseError& e) {
        EXPECT_EQ(e.Message(), "Query: Field 'nothing' not found");
    }
    try {
        query->FieldByName("ID")->SetAsInteger(3);
        FAIL();
    } catch (const EDatabaseError& e) {
        EXPECT_EQ(e.Message(), "Field 'ID' cannot be modified");
    }

    query->Edit();
    query->FieldByName("poradove_cislo")->SetAsString("changed");
    query->Insert(); // posts the edit first
    EXPECT_EQ(query->State(), dsInsert);
    query->Cancel();
    EXPECT_EQ(Serial(), "changed");

    query->FieldByName("poradove_cislo")->SetRequired(true);
    query->Insert();
    try {
        query->Post();
        FAIL();
    } catch (const EDatabaseError& e) {
        EXPECT_EQ(e.Message(), "Query: Field 'poradove_cislo' must have a value");
    }
    EXPECT_EQ(query->State(), dsInsert);
}

TEST_F(DataSetTest, ChangingTheSqlClosesAndRefreshKeepsTheRecord)
{
    query->Open();
    query->SetRecNo(4);
    query->SQL()->Put(0, "SELECT * FROM konverze ORDER BY ID DESC");
    EXPECT_FALSE(query->Active());
    query->Open();
    EXPECT_EQ(Serial(), "5");
    query->Next();
    db.Exec("INSERT INTO konverze (poradove_cislo) VALUES ('6'); DELETE FROM konverze WHERE poradove_cislo = '5'");
    query->Refresh();
    EXPECT_EQ(query->RecordCount(), 5);
    EXPECT_EQ(Serial(), "4");
    query->First();
    EXPECT_EQ(Serial(), "6");
}

TEST_F(DataSetTest, ClosingTheConnectionClosesItsQueries)
{
    query->Open();
    EXPECT_EQ(connection->DataSetCount(), 1);
    connection->Close();
    EXPECT_FALSE(query->Active());
    query->Open(); // opens the connection again
    EXPECT_TRUE(connection->Connected());

    delete connection;
    EXPECT_FALSE(query->Active());
    EXPECT_EQ(query->Connection(), nullptr);
    try {
        query->Open();
        FAIL();
    } catch (const EDatabaseError& e) {
        EXPECT_EQ(e.Message(), "Query: Missing Connection or ConnectionString");
    }
}

TEST_F(DataSetTest, SqlErrorsReachTheCallerAndLeaveTheQueryClosed)
{
    query->SQL()->SetText("SELECT * FROM no_such_table");
    try {
        query->Open();
        FAIL();
    } catch (const EADOError& e) {
        EXPECT_EQ(e.Message(), "Chyba v příkazu SQL (no such table: no_such_table).");
    }
    EXPECT_FALSE(query->Active());
    EXPECT_EQ(query->FieldCount(), 0);

    query->SQL()->SetText("UPDATE konverze SET cislo_dokladu = 'D-1' WHERE ID <= 2");
    try {
        query->Open();
        FAIL();
    } catch (const EDatabaseError& e) {
        EXPECT_EQ(e.Message(), "Query: CommandText does not return a result set");
    }
    EXPECT_EQ(query->ExecSQL(), 2);
    EXPECT_EQ(query->RowsAffected(), 2);
}

TEST_F(DataSetTest, FreeingAPersistentFieldClosesTheDataSet)
{
    auto* serial = new TWideStringField(&owner);
    serial->SetFieldName("poradove_cislo");
    serial->SetDataSet(query);
    auto* id = new TAutoIncField(&owner);
    id->SetFieldName("ID");
    id->SetDataSet(query);
    query->Open();
    query->Last();
    EXPECT_EQ(id->AsInteger(), 5);
    EXPECT_THROW(id->SetDataSet(nullptr), EDatabaseError);
    int closes = 0;
    query->AfterClose = [&](TDataSet*) { ++closes; };
    delete serial;
    EXPECT_FALSE(query->Active());
    EXPECT_EQ(closes, 0); // freeing is no time for events
    EXPECT_EQ(query->FieldCount(), 1);
    query->Open();
    EXPECT_EQ(id->AsInteger(), 1);
    EXPECT_EQ(id->Index(), 0);
}

TEST_F(DataSetTest, EmptySqlIsAnError)
{
    query->SQL()->Clear();
    try {
        query->Open();
        FAIL();
    } catch (const EADOError& e) {
        EXPECT_EQ(e.Message(), "Příkaz SQL je prázdný.");
    }
    query->SQL()->Add("SELECT 1; SELECT 2");
    try {
        query->Open();
        FAIL();
    } catch (const EADOError& e) {
        EXPECT_EQ(e.Message(), "Za koncem příkazu SQL následují další znaky.");
    }
}

TEST_F(DataSetTest, AnOverlongTextNamesItsCountsWithTheCzechWordForCharacters)
{
    db.Exec("CREATE TABLE kody (ID INTEGER PRIMARY KEY AUTOINCREMENT, kod VARCHAR(3), znak VARCHAR(1))");
    query->SQL()->SetText("SELECT * FROM kody");
    query->Open();
    const auto refusal = [&](const char* field, const char* text) {
        query->Insert();
        query->FieldByName(field)->SetAsString(text);
        try {
            query->Post();
        } catch (const EADOError& e) {
            query->Cancel();
            return e.Message();
        }
        return std::string("posted");
    };
    EXPECT_EQ(refusal("kod", "abcd"), "Text v poli „kod“ je dlouhý 4 znaky, pole pojme nejvýše 3 znaky.");
    EXPECT_EQ(refusal("kod", "abcdefgh"), "Text v poli „kod“ je dlouhý 8 znaků, pole pojme nejvýše 3 znaky.");
    EXPECT_EQ(refusal("znak", "ab"), "Text v poli „znak“ je dlouhý 2 znaky, pole pojme nejvýše 1 znak.");
    EXPECT_EQ(refusal("znak", "ž"), "posted");
}

TEST_F(DataSetTest, ARowChangedOrDeletedElsewhereIsReportedWhenItIsSavedOrDeleted)
{
    query->Open();
    db.Exec("DELETE FROM konverze WHERE poradove_cislo = '1'");
    const std::string lost = "Řádek nelze v databázi najít: jiný uživatel nebo program ho mezitím změnil nebo smazal.";
    query->Edit();
    query->FieldByName("oznaceni_vstupu")->SetAsString("Usnesení");
    try {
        query->Post();
        FAIL();
    } catch (const EADOError& e) {
        EXPECT_EQ(e.Message(), lost);
    }
    query->Cancel();
    try {
        query->Delete();
        FAIL();
    } catch (const EADOError& e) {
        EXPECT_EQ(e.Message(), lost);
    }
}
