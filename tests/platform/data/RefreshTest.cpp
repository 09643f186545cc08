// Refresh, and the rows a query keeps after Close: whoever changed the
// database in between (this connection, another one, another process, with
// a rollback journal or a write-ahead log), the rows shown are those a fresh
// read gives, and Refresh stays on the row it was on.

#include "Register.h"

#include "platform/data/DataError.h"
#include "platform/data/Query.h"

#include <gtest/gtest.h>

#include <spawn.h>
#include <sys/wait.h>

#include <string>
#include <vector>

extern char** environ;

using namespace data;

namespace {

// Two fields of each row in cursor order; the cursor returns to its row.
std::vector<std::string> Rows(TDataSet& set, const char* first = "poradove_cislo",
                              const char* second = "oznaceni_vstupu")
{
    const int at = set.RecNo();
    std::vector<std::string> rows;
    for (set.First(); !set.Eof(); set.Next())
        rows.push_back(set.FieldByName(first)->AsString() + "|" + set.FieldByName(second)->AsString());
    set.SetRecNo(at);
    return rows;
}

// The register's rows as a query that keeps nothing reads them now, through the same connection.
std::vector<std::string> FreshRows(TADOQuery& query)
{
    TQuery fresh(nullptr);
    fresh.SetConnection(query.Connection());
    fresh.SQL()->SetText(query.SQL()->Text());
    fresh.Open();
    return Rows(fresh);
}

// Runs SQL in a process of its own (the database's command-line shell); false when there is none.
bool ExecInAnotherProcess(const std::string& file, const std::string& sql)
{
    std::string program = "sqlite3";
    std::vector<char*> argv = {program.data(), const_cast<char*>(file.c_str()), const_cast<char*>(sql.c_str()),
                               nullptr};
    pid_t pid = 0;
    int status = 0;
    return posix_spawnp(&pid, program.c_str(), nullptr, nullptr, argv.data(), environ) == 0 &&
           waitpid(pid, &status, 0) == pid && WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

void AddRows(const TestDatabase& db)
{
    db.Exec("INSERT INTO konverze (poradove_cislo, datum_konverze, oznaceni_vstupu, osvobozeni) VALUES "
            "('1/2010', 40301, 'Smlouva kupní', 0), ('2/2010', 40302, 'Rozsudek', 0), "
            "('3/2010', 40303, 'Usnesení', 0), ('4/2010', 40304, 'Čestné prohlášení', 0), "
            "('5/2010', 40305, 'Plná moc', 0)");
    db.Exec("INSERT INTO uzivatel (jmeno_prijmeni, vystavujici) VALUES ('Jana Nováková', 'Petr Novák'), "
            "('Karel Dvořák', 'Eva Dvořáková'), ('Ivana Malá', 'Jan Malý')");
}

} // namespace

TEST(Refresh, ShowsTheSameRowsAndStaysOnTheSameRow)
{
    TestDatabase db;
    AddRows(db);
    Register r(db);
    TADOQuery users(r.owner.get());
    users.SetConnection(r.connection);
    users.SQL()->Add("SELECT * from uzivatel ");
    const struct {
        const char* filter; // nullptr: the users
        const char* order;
        int recNo;
        std::size_t count;
    } cases[] = {
        {"", "ORDER BY datum_konverze DESC", 3, 5},
        {"WHERE oznaceni_vstupu like '%s%'", "ORDER BY datum_konverze DESC", 2, 4},
        {"", "ORDER BY oznaceni_vstupu ASC", 4, 5},
        {"WHERE oznaceni_vstupu like '%s%'", "ORDER BY oznaceni_vstupu DESC", 3, 4},
        {nullptr, nullptr, 2, 3},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.filter != nullptr ? std::string(c.filter) + " " + c.order : "users");
        TADOQuery& query = c.filter != nullptr ? *r.query : users;
        const auto rowsOf = [&] {
            return c.filter != nullptr ? Rows(query) : Rows(query, "jmeno_prijmeni", "vystavujici");
        };
        query.Close();
        if (c.filter != nullptr)
            r.SetLines(c.filter, c.order);
        query.Open();
        query.SetRecNo(c.recNo);
        const std::vector<std::string> rows = rowsOf();
        ASSERT_EQ(rows.size(), c.count);
        // Twice, then closed and opened: the rows the refresh read are whole.
        for (int step = 0; step < 3; ++step) {
            if (step < 2) {
                query.Refresh();
            } else {
                query.Close();
                query.Open();
                query.SetRecNo(c.recNo);
            }
            EXPECT_EQ(rowsOf(), rows) << step;
            EXPECT_EQ(query.RecNo(), c.recNo) << step;
            EXPECT_FALSE(query.Eof()) << step;
        }
    }
}

TEST(Refresh, ChangesOfOthersAreShownInEitherJournalMode)
{
    TestDatabase probe;
    const bool haveShell = ExecInAnotherProcess(probe.Path(), "SELECT 1 WHERE 0");
    enum Moment { Refreshing, Reopening, Reordering };
    for (const char* journal : {"DELETE", "WAL"})
        for (const bool process : {false, true})
            for (const Moment moment : {Refreshing, Reopening, Reordering}) {
                if (process && !haveShell)
                    continue;
                SCOPED_TRACE(std::string(journal) + (process ? " process " : " connection ") + std::to_string(moment));
                TestDatabase db;
                AddRows(db);
                db.Exec("PRAGMA journal_mode = " + std::string(journal));
                Register r(db);
                r.SetLines();
                r.query->Open();
                bool byDate = true;
                for (const char* change :
                     {"INSERT INTO konverze (poradove_cislo, datum_konverze, oznaceni_vstupu, osvobozeni) "
                      "VALUES ('6/2010', 40306, 'Výpis', 0)",
                      "UPDATE konverze SET oznaceni_vstupu = 'Absolutorium' WHERE poradove_cislo = '2/2010'",
                      "DELETE FROM konverze WHERE poradove_cislo = '4/2010'"}) {
                    SCOPED_TRACE(change);
                    if (moment != Refreshing)
                        r.query->Close();
                    if (process)
                        ASSERT_TRUE(ExecInAnotherProcess(db.Path(), change));
                    else
                        db.Exec(change);
                    if (moment == Reordering) {
                        byDate = !byDate;
                        r.SetLines("", byDate ? "ORDER BY datum_konverze DESC" : "ORDER BY oznaceni_vstupu ASC");
                    }
                    if (moment == Refreshing)
                        r.query->Refresh();
                    else
                        r.query->Open();
                    EXPECT_EQ(Rows(*r.query), FreshRows(*r.query));
                }
                EXPECT_EQ(r.query->RecordCount(), 5);
                EXPECT_EQ(r.pocet_rok->AsInteger(), 5);
            }
}

TEST(Refresh, OnlyAWholeUnchangedResultIsTakenBack)
{
    const struct {
        const char* name;
        void (*run)(Register& r);
    } cases[] = {
        {"a row being inserted when the query closes",
         [](Register& r) {
             r.query->Insert();
             r.query->Close();
         }},
        {"rows read in a transaction rolled back after",
         [](Register& r) {
             r.query->Close();
             r.connection->Execute("BEGIN");
             r.connection->Execute("UPDATE konverze SET oznaceni_vstupu = 'Zpět' WHERE poradove_cislo = '1/2010'");
             r.query->Open();
             r.query->Close();
             r.connection->Execute("ROLLBACK");
         }},
        {"a temporary table hiding the register's",
         [](Register& r) {
             r.query->Close();
             r.connection->Execute("CREATE TEMP TABLE konverze AS SELECT * FROM main.konverze WHERE ID < 3");
         }},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        TestDatabase db;
        AddRows(db);
        Register r(db);
        r.SetLines();
        r.query->Open();
        c.run(r);
        r.query->Open();
        EXPECT_EQ(Rows(*r.query), FreshRows(*r.query));
        EXPECT_FALSE(Rows(*r.query).empty());
    }
}

TEST(Refresh, ARefreshThatFailsLeavesTheWholeResultAsItWas)
{
    TestDatabase db;
    AddRows(db);
    // With a write-ahead log, others write while a result is still being read.
    db.Exec("PRAGMA journal_mode = WAL");
    Register r(db);
    r.SetLines();
    const std::vector<std::string> rows = FreshRows(*r.query);
    r.query->OpenFirst(2);
    r.query->SetRecNo(2);
    db.Exec("ALTER TABLE konverze RENAME TO konverze_jinde");
    EXPECT_THROW(r.query->Refresh(), EDatabaseError);
    EXPECT_EQ(Rows(*r.query), rows);
    EXPECT_EQ(r.query->RecNo(), 2);
    db.Exec("ALTER TABLE konverze_jinde RENAME TO konverze");
    // What the query knows of its columns stayed with the rows: it still writes.
    r.query->Edit();
    r.cislo_dokladu->SetAsString("D-1");
    r.query->Post();
    r.query->Refresh();
    r.query->SetRecNo(2);
    EXPECT_EQ(r.cislo_dokladu->AsString(), "D-1");
    EXPECT_EQ(Rows(*r.query), rows);
}
