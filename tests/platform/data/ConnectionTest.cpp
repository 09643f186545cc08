// The connection: its string, its provider, its file, sharing, and the SQL
// functions it brings along.

#include "TestDatabase.h"

#include "platform/data/ADOConnection.h"
#include "platform/data/ADOQuery.h"
#include "platform/data/DataError.h"
#include "platform/data/Statement.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include <sys/wait.h>
#include <unistd.h>

using namespace data;

namespace {

std::string Provider(const std::string& file) { return "Provider=Microsoft.Jet.OLEDB.4.0;User ID=Admin;Data Source=" + file; }

// The first column of the first row of a query.
std::string Scalar(TADOConnection* connection, const std::string& sql)
{
    TADOQuery query(nullptr);
    query.SetConnection(connection);
    query.SQL()->Add(sql);
    query.Open();
    return query.Fields()->Fields(0)->AsString();
}

} // namespace

TEST(Connection, ParsesKeyValuePairs)
{
    using Pairs = std::vector<std::pair<std::string, std::string>>;
    EXPECT_EQ(TADOConnection::ParseConnectionString(
                  "Provider=Microsoft.Jet.OLEDB.4.0;User ID=Admin;Data Source=/home/jan/data/konverze.mdb"),
              (Pairs{{"Provider", "Microsoft.Jet.OLEDB.4.0"},
                     {"User ID", "Admin"},
                     {"Data Source", "/home/jan/data/konverze.mdb"}}));
    EXPECT_EQ(TADOConnection::ParseConnectionString(" Data Source = \"/a;b/k.mdb\" ; Mode='Share ''Deny'' None';;x"),
              (Pairs{{"Data Source", "/a;b/k.mdb"}, {"Mode", "Share 'Deny' None"}}));
    EXPECT_TRUE(TADOConnection::ParseConnectionString("").empty());
}

TEST(Connection, OpensTheNamedFileWithTheJetProvider)
{
    TestDatabase db;
    TADOConnection connection(nullptr);
    EXPECT_TRUE(connection.LoginPrompt());
    connection.SetLoginPrompt(false);
    connection.SetMode(cmShareDenyNone);
    // The provider's name is taken without regard to letter case, as keys are.
    connection.SetConnectionString("provider=microsoft.jet.oledb.4.0;DATA SOURCE=" + db.Path());
    connection.SetConnected(true);
    EXPECT_TRUE(connection.Connected());
    EXPECT_EQ(connection.DataSource(), db.Path());
    EXPECT_THROW(connection.SetConnectionString(""), EDatabaseError);
    EXPECT_EQ(connection.Execute("INSERT INTO uzivatel (jmeno_prijmeni) VALUES ('A'), ('B')"), 2);
    connection.Close();
    EXPECT_FALSE(connection.Connected());
}

TEST(Connection, MissingFileIsAnErrorNamingItAndIsNeverCreated)
{
    TestDatabase db;
    const std::string missing = db.Folder() + "nowhere/konverze.mdb";
    const std::string alsoMissing = db.Folder() + "konverze2.mdb";
    TADOConnection connection(nullptr);
    for (const std::string& file : {missing, alsoMissing}) {
        connection.SetConnectionString(Provider(file));
        try {
            connection.Open();
            FAIL() << "opened " << file;
        } catch (const EADOError& e) {
            EXPECT_EQ(e.Message(), "Databázový soubor '" + file + "' nebyl nalezen.");
        }
        EXPECT_FALSE(connection.Connected());
        EXPECT_FALSE(std::filesystem::exists(file));
    }
}

TEST(Connection, UnknownProviderIsNamed)
{
    TestDatabase db;
    TADOConnection connection(nullptr);
    connection.SetConnectionString("Provider=Microsoft.ACE.OLEDB.12.0;Data Source=" + db.Path());
    try {
        connection.Open();
        FAIL();
    } catch (const EADOError& e) {
        EXPECT_EQ(e.Message(), "Poskytovatel 'Microsoft.ACE.OLEDB.12.0' nebyl nalezen. Možná není správně nainstalován.");
    }
    connection.SetConnectionString("Data Source=" + db.Path());
    EXPECT_THROW(connection.Open(), EADOError);
    connection.SetConnectionString("Provider=Microsoft.Jet.OLEDB.4.0");
    EXPECT_THROW(connection.Open(), EADOError);
}

TEST(Connection, AFileThatIsNoDatabaseIsRefused)
{
    TestDatabase db;
    const std::string file = db.Folder() + "text.mdb";
    std::ofstream(file) << "Standard Jet DB, or so it says. This is plain text and long enough to be a header.\n";
    TADOConnection connection(nullptr);
    connection.SetConnectionString(Provider(file));
    try {
        connection.Open();
        FAIL();
    } catch (const EADOError& e) {
        EXPECT_EQ(e.Message(), "Databázi '" + file + "' nelze otevřít. Soubor není databáze, kterou program umí číst, "
                               "nebo je poškozen.");
    }
    EXPECT_FALSE(connection.Connected());
}

TEST(Connection, ReadModeRefusesChanges)
{
    TestDatabase db;
    db.Exec("INSERT INTO uzivatel (jmeno_prijmeni) VALUES ('Jan')");
    core::TComponent owner(nullptr);
    auto* connection = new TADOConnection(&owner);
    connection->SetConnectionString(db.ConnectionString());
    connection->SetMode(cmRead);
    auto* query = new TADOQuery(&owner);
    query->SetConnection(connection);
    query->SQL()->Add("SELECT * from uzivatel ");
    query->Open();
    EXPECT_FALSE(query->CanModify());
    EXPECT_FALSE(query->FieldByName("jmeno_prijmeni")->CanModify());
    EXPECT_THROW(query->Edit(), EDatabaseError);
    try {
        connection->Execute("DELETE FROM uzivatel");
        FAIL();
    } catch (const EADOError& e) {
        EXPECT_EQ(e.Message(), "Do databáze nelze zapisovat: soubor je otevřen jen pro čtení nebo k zápisu do něj "
                               "nemáte oprávnění.");
    }
}

TEST(Connection, ABusyDatabaseWaitsThenReports)
{
    TestDatabase db;
    TADOConnection writer(nullptr), other(nullptr);
    writer.SetConnectionString(db.ConnectionString());
    other.SetConnectionString(db.ConnectionString());
    other.SetBusyTimeout(100);
    writer.Execute("BEGIN IMMEDIATE");
    writer.Execute("INSERT INTO uzivatel (jmeno_prijmeni) VALUES ('Jan')");
    try {
        other.Execute("INSERT INTO uzivatel (jmeno_prijmeni) VALUES ('Eva')");
        FAIL();
    } catch (const EADOError& e) {
        EXPECT_EQ(e.Message(), "Databáze je uzamčena, právě ji používá jiný uživatel nebo program. Zkuste to prosím "
                               "znovu.");
    }
    EXPECT_EQ(Scalar(&other, "SELECT COUNT(*) FROM uzivatel"), "0"); // readers are not kept out
    writer.Execute("COMMIT");
    other.Execute("INSERT INTO uzivatel (jmeno_prijmeni) VALUES ('Eva')");
    EXPECT_EQ(Scalar(&writer, "SELECT COUNT(*) FROM uzivatel"), "2");
}

TEST(Connection, ARowPostedByAnotherProcessIsSeenHere)
{
    TestDatabase db;
    int toChild[2], toParent[2];
    ASSERT_EQ(pipe(toChild), 0);
    ASSERT_EQ(pipe(toParent), 0);
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        // The other process: waits for its turn, posts a row through its own connection.
        int status = 1;
        char go = 0;
        if (read(toChild[0], &go, 1) == 1) {
            try {
                TADOConnection other(nullptr);
                other.SetConnectionString(db.ConnectionString());
                TADOQuery users(nullptr);
                users.SetConnection(&other);
                users.SQL()->Add("SELECT * FROM uzivatel");
                users.Open();
                users.Append();
                users.FieldByName("jmeno_prijmeni")->SetAsString("Eva Dvořáková");
                users.Post();
                status = 0;
            } catch (...) {
            }
        }
        const char done = static_cast<char>(status);
        (void)!write(toParent[1], &done, 1);
        _exit(status);
    }
    // This process keeps its connection open the whole time.
    TADOConnection here(nullptr);
    here.SetConnectionString(db.ConnectionString());
    EXPECT_EQ(Scalar(&here, "SELECT COUNT(*) FROM uzivatel"), "0");
    const char go = 1;
    ASSERT_EQ(write(toChild[1], &go, 1), 1);
    char done = 1;
    ASSERT_EQ(read(toParent[0], &done, 1), 1);
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    EXPECT_EQ(done, 0);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    EXPECT_EQ(Scalar(&here, "SELECT jmeno_prijmeni FROM uzivatel"), "Eva Dvořáková");
    for (int fd : {toChild[0], toChild[1], toParent[0], toParent[1]})
        close(fd);
}

TEST(Connection, JetFunctionsInSql)
{
    TestDatabase db;
    TADOConnection connection(nullptr);
    connection.SetConnectionString(db.ConnectionString());
    EXPECT_EQ(Scalar(&connection, "SELECT YEAR(#2010/12/31 23:59:59#)"), "2010");
    EXPECT_EQ(Scalar(&connection, "SELECT MONTH(#2010/12/31 23:59:59#) * 100 + DAY(#2010/12/31#)"), "1231");
    EXPECT_EQ(Scalar(&connection, "SELECT YEAR(#1899/12/29 06:00#)"), "1899");
    EXPECT_EQ(Scalar(&connection, "SELECT YEAR('2011-01-01 00:00:00')"), "2011");
    EXPECT_EQ(Scalar(&connection, "SELECT YEAR(NULL) IS NULL"), "1");
    EXPECT_EQ(Scalar(&connection, "SELECT 'Čj. 5' LIKE '%čj%'"), "1");
    EXPECT_EQ(Scalar(&connection, "SELECT '50% sleva' LIKE '50!%%' ESCAPE '!'"), "1");
    EXPECT_EQ(Scalar(&connection, "SELECT '500 Kč' LIKE '50!%%' ESCAPE '!'"), "0");
    EXPECT_EQ(Scalar(&connection, "SELECT NULL LIKE '%' IS NULL"), "1");
    EXPECT_EQ(Scalar(&connection, "SELECT 'x' NOT LIKE 'X'"), "0");
    EXPECT_THROW(Scalar(&connection, "SELECT 'x' LIKE 'x' ESCAPE 'ab'"), EADOError);
    // Texts are ordered as Jet orders them: by the Czech alphabet before letter case; numbers as numbers.
    EXPECT_EQ(Scalar(&connection, "SELECT group_concat(w, ' ') FROM (SELECT 'Zub' AS w UNION ALL SELECT 'čaj' "
                                  "UNION ALL SELECT 'chata' UNION ALL SELECT 'Cop' UNION ALL SELECT 'hrad' "
                                  "ORDER BY w)"),
              "Cop čaj hrad chata Zub");
    EXPECT_EQ(Scalar(&connection, "SELECT group_concat(n, ' ') FROM (SELECT 10 AS n UNION ALL SELECT 9 "
                                  "UNION ALL SELECT 2.5 ORDER BY n DESC)"),
              "10 9 2.5");
}

TEST(Connection, TheRegisterReadsInDateOrderFromItsIndexAndTextsInJetOrder)
{
    TestDatabase db;
    TADOConnection connection(nullptr);
    connection.SetConnectionString(db.ConnectionString());
    // A date needs no sort of its own: the index gives the rows newest first.
    std::string plan;
    TStatement explain(connection.Handle(),
                       "EXPLAIN QUERY PLAN " +
                           connection.TranslateSql("SELECT * FROM konverze ORDER BY datum_konverze DESC"));
    while (explain.Step())
        plan += std::string(reinterpret_cast<const char*>(sqlite3_column_text(explain.Handle(), 3))) + " | ";
    EXPECT_EQ(plan.find("TEMP B-TREE"), std::string::npos) << plan;

    connection.Execute("INSERT INTO konverze (poradove_cislo, datum_konverze) VALUES ('čaj', 40300.5)");
    connection.Execute("INSERT INTO konverze (poradove_cislo, datum_konverze) VALUES ('Cop', 40300.25)");
    connection.Execute("INSERT INTO konverze (poradove_cislo, datum_konverze) VALUES ('chata', 40301)");
    EXPECT_EQ(Scalar(&connection, "SELECT group_concat(poradove_cislo, ' ') FROM "
                                  "(SELECT poradove_cislo FROM konverze ORDER BY datum_konverze DESC)"),
              "chata čaj Cop");
    EXPECT_EQ(Scalar(&connection, "SELECT group_concat(poradove_cislo, ' ') FROM "
                                  "(SELECT poradove_cislo FROM konverze ORDER BY poradove_cislo)"),
              "Cop čaj chata");

    // A table made later with a text column of the same name: that name sorts as text again.
    connection.Execute("CREATE TABLE jina (datum_konverze VARCHAR(20))");
    connection.Execute("INSERT INTO jina VALUES ('Zub'), ('čaj'), ('Cop')");
    EXPECT_EQ(Scalar(&connection, "SELECT group_concat(datum_konverze, ' ') FROM "
                                  "(SELECT datum_konverze FROM jina ORDER BY datum_konverze)"),
              "Cop čaj Zub");
}
