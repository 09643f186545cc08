// The order of a query's rows as the data layer makes it itself: the final
// ORDER BY read from the SQL, Jet's text order by keys, rows held after Close
// taken back and put in another order. Every order is checked against the
// order the database itself gives for the same SQL.

#include "Register.h"

#include "platform/data/OrderClause.h"
#include "platform/data/RowOrder.h"
#include "platform/data/SqlFunctions.h"
#include "platform/data/TextOrder.h"

#include <gtest/gtest.h>

#include <sqlite3.h>

#include <algorithm>
#include <string>
#include <vector>

using namespace data;

namespace {

// The serial numbers in the database's own order for an ORDER BY (equal rows by their key).
std::vector<std::string> DatabaseOrder(const TestDatabase& db, const std::string& where, const std::string& order)
{
    sqlite3* handle = nullptr;
    sqlite3_open_v2(db.Path().c_str(), &handle, SQLITE_OPEN_READONLY, nullptr);
    RegisterJetFunctions(handle);
    const std::string sql = "SELECT poradove_cislo FROM konverze " + where + " ORDER BY " + order + ", ID";
    sqlite3_stmt* statement = nullptr;
    std::vector<std::string> out;
    if (sqlite3_prepare_v2(handle, sql.c_str(), -1, &statement, nullptr) == SQLITE_OK)
        while (sqlite3_step(statement) == SQLITE_ROW)
            out.emplace_back(reinterpret_cast<const char*>(sqlite3_column_text(statement, 0)));
    else
        ADD_FAILURE() << sqlite3_errmsg(handle);
    sqlite3_finalize(statement);
    sqlite3_close(handle);
    return out;
}

// Designations that test the alphabet: ch after h, accents and case after letters, other scripts last.
const char* const Designations[] = {"chata", "Hrad", "cihla", "Čáp", "čap", "cap", "Cap", "ŘEKA", "reka", "řeka",
                                    "šipka", "Sipka", "ťuk", "tuk", "Žába", "zaba", "Ωmega", "10 listů", "2 listy",
                                    "(příloha)", "", "chata", "Übung", "ubytování", "ďábel", "dabel"};

class HeldRows : public testing::Test {
protected:
    void SetUp() override
    {
        int n = 0;
        for (const char* designation : Designations) {
            ++n;
            const std::string serial = std::to_string(n) + "/2010";
            // Every third without the date the input was drawn up; two days share each date.
            const std::string input = n % 3 == 0 ? "NULL" : std::to_string(40000 + n / 2);
            db.Exec("INSERT INTO konverze (poradove_cislo, datum_konverze, oznaceni_vstupu, datum_sepsani_vstupu, "
                    "osvobozeni, cislo_dokladu) VALUES ('" + serial + "', " + std::to_string(40300 + n * 1.5) +
                    ", '" + designation + "', " + input + ", 0, 'D" + std::to_string(100 - n) + "')");
        }
        db.Exec("INSERT INTO konverze (poradove_cislo, datum_konverze, oznaceni_vstupu) VALUES ('0/2010', 40300, NULL)");
    }

    void Open(const std::string& filter, const std::string& order)
    {
        r.query->Close();
        r.SetLines(filter, order);
        r.query->Open();
    }

    TestDatabase db;
    Register r{db};
};

} // namespace

TEST(OrderClause, TheFinalOrderByIsSplitIntoItsTerms)
{
    TOrderClause clause;
    ASSERT_TRUE(SplitOrderClause("SELECT * FROM t WHERE a = 'x ORDER BY y'\nORDER BY a COLLATE JETTEXT DESC, t.[b c] ASC",
                                 clause));
    EXPECT_EQ(clause.Head, "SELECT * FROM t WHERE a = 'x ORDER BY y'");
    EXPECT_EQ(clause.Terms, (std::vector<TOrderTerm>{{"a", true, true}, {"b c", false, false}}));

    ASSERT_TRUE(SplitOrderClause("SELECT * FROM (SELECT x FROM t ORDER BY x) AS q", clause));
    EXPECT_EQ(clause.Head, "SELECT * FROM (SELECT x FROM t ORDER BY x) AS q");
    EXPECT_TRUE(clause.Terms.empty());

    ASSERT_TRUE(SplitOrderClause("select x from t order by \"x\" collate jettext -- the end", clause));
    EXPECT_EQ(clause.Head, "select x from t");
    EXPECT_EQ(clause.Terms, (std::vector<TOrderTerm>{{"x", true, false}}));
}

TEST(OrderClause, AnOrderThatIsNotColumnNamesIsLeftToTheDatabase)
{
    TOrderClause clause;
    EXPECT_FALSE(SplitOrderClause("SELECT * FROM t ORDER BY a LIMIT 5", clause));
    EXPECT_FALSE(SplitOrderClause("SELECT * FROM t ORDER BY a + 1", clause));
    EXPECT_FALSE(SplitOrderClause("SELECT * FROM t ORDER BY a COLLATE NOCASE", clause));
    EXPECT_FALSE(SplitOrderClause("SELECT * FROM t ORDER BY length(a)", clause));
    EXPECT_FALSE(SplitOrderClause("SELECT * FROM t ORDER BY a;", clause));
}

TEST(TextKeys, SortingByKeysGivesJetsTextOrder)
{
    // Each key orders as the comparison's first level; where keys differ, they decide.
    std::vector<std::string> texts(std::begin(Designations), std::end(Designations));
    for (const std::string& a : texts)
        for (const std::string& b : texts) {
            std::string ka, kb;
            AppendJetTextKey(a, ka);
            AppendJetTextKey(b, kb);
            if (ka != kb) {
                EXPECT_EQ(ka < kb, CompareJetText(a, b) < 0) << a << " / " << b;
            }
        }
    std::string chata, hrad;
    AppendJetTextKey("Chata", chata);
    AppendJetTextKey("hrad", hrad);
    EXPECT_GT(chata, hrad) << "ch comes after h";

    // The rows of a store sorted by keys: as a sort by the comparison itself.
    TRecordStore store;
    store.Reset(1);
    for (const std::string& text : texts) {
        store.AppendRow();
        store.SetLastText(0, text);
    }
    SortRows(store, {{0, true, false}});
    std::vector<std::string> sorted;
    for (int i = 0; i < store.Count(); ++i)
        sorted.emplace_back(store.View(i, 0).text);
    std::vector<std::string> expected = texts;
    std::stable_sort(expected.begin(), expected.end(),
                     [](const std::string& a, const std::string& b) { return CompareJetText(a, b) < 0; });
    EXPECT_EQ(sorted, expected);
}

TEST_F(HeldRows, AnOrderInJetsTextOrderIsTheDatabasesOwn)
{
    Open("", "ORDER BY oznaceni_vstupu ASC");
    EXPECT_EQ(Serials(r), DatabaseOrder(db, "", "oznaceni_vstupu COLLATE JETTEXT ASC"));
    Open("", "ORDER BY oznaceni_vstupu DESC");
    EXPECT_EQ(Serials(r), DatabaseOrder(db, "", "oznaceni_vstupu COLLATE JETTEXT DESC"));
    Open("WHERE oznaceni_vstupu like '%a%'", "ORDER BY oznaceni_vstupu, datum_sepsani_vstupu DESC");
    EXPECT_EQ(Serials(r), DatabaseOrder(db, "WHERE oznaceni_vstupu like '%a%'",
                                        "oznaceni_vstupu COLLATE JETTEXT, datum_sepsani_vstupu DESC"));
}

TEST_F(HeldRows, TheRowsHeldTakeAnyNewOrderAsTheDatabaseWouldGiveIt)
{
    Open("", "ORDER BY datum_konverze DESC");
    const struct {
        const char* order;
        const char* databaseOrder;
    } orders[] = {
        {"ORDER BY oznaceni_vstupu ASC", "oznaceni_vstupu COLLATE JETTEXT ASC"},
        {"ORDER BY datum_sepsani_vstupu ASC", "datum_sepsani_vstupu ASC"},
        {"ORDER BY datum_sepsani_vstupu DESC", "datum_sepsani_vstupu DESC"},
        {"ORDER BY cislo_dokladu DESC", "cislo_dokladu COLLATE JETTEXT DESC"},
        {"ORDER BY poradove_cislo ASC", "poradove_cislo COLLATE JETTEXT ASC"},
        {"ORDER BY osvobozeni, datum_konverze DESC", "osvobozeni, datum_konverze DESC"},
        {"ORDER BY datum_konverze DESC", "datum_konverze DESC"},
    };
    for (const auto& order : orders) {
        Open("", order.order);
        EXPECT_EQ(r.query->RecNo(), 1);
        EXPECT_EQ(r.pocet_rok->AsInteger(), 27);
        EXPECT_EQ(Serials(r), DatabaseOrder(db, "", order.databaseOrder)) << order.order;
    }
}

TEST_F(HeldRows, AnOrderTurnedAgainAndAgainIsTheDatabasesOwn)
{
    // Read in the database's order first: turning it is a sort of its own.
    Open("", "ORDER BY datum_sepsani_vstupu DESC");
    for (const char* order : {"datum_sepsani_vstupu ASC", "datum_sepsani_vstupu DESC", "oznaceni_vstupu ASC",
                              "oznaceni_vstupu DESC", "oznaceni_vstupu ASC", "osvobozeni, datum_konverze DESC",
                              "osvobozeni DESC, datum_konverze ASC", "osvobozeni, datum_konverze DESC"}) {
        Open("", std::string("ORDER BY ") + order);
        std::string databaseOrder = order;
        if (databaseOrder.starts_with("oznaceni_vstupu"))
            databaseOrder.insert(std::string("oznaceni_vstupu").size(), " COLLATE JETTEXT");
        EXPECT_EQ(Serials(r), DatabaseOrder(db, "", databaseOrder)) << order;
    }
}

TEST_F(HeldRows, ClearingASearchGivesEveryRowAgain)
{
    Open("", "ORDER BY oznaceni_vstupu ASC");
    const std::vector<std::string> all = Serials(r);
    for (const char* text : {"c", "ch", "cha"}) {
        Open(std::string("WHERE oznaceni_vstupu like '%") + text + "%'", "ORDER BY oznaceni_vstupu ASC");
        EXPECT_EQ(Serials(r),
                  DatabaseOrder(db, std::string("WHERE oznaceni_vstupu like '%") + text + "%'",
                                "oznaceni_vstupu COLLATE JETTEXT ASC"));
    }
    Open("", "ORDER BY oznaceni_vstupu ASC");
    EXPECT_EQ(Serials(r), all);
    Open("", "ORDER BY datum_konverze DESC");
    EXPECT_EQ(Serials(r), DatabaseOrder(db, "", "datum_konverze DESC"));
}

TEST_F(HeldRows, ChangesMadeMeanwhileAreReadWhoeverMadeThem)
{
    Open("", "ORDER BY oznaceni_vstupu ASC");
    r.query->Close();
    // Another connection adds a row while the query is closed.
    db.Exec("INSERT INTO konverze (poradove_cislo, datum_konverze, oznaceni_vstupu) VALUES ('99/2010', 40299, 'ahoj')");
    r.query->Open();
    EXPECT_EQ(Serials(r), DatabaseOrder(db, "", "oznaceni_vstupu COLLATE JETTEXT ASC"));
    EXPECT_EQ(r.query->RecordCount(), 28);
    EXPECT_EQ(Serials(r).front(), "0/2010");

    // A row posted through the query itself, then the order turned.
    r.Add("100/2010", 40299.5, "Abeceda");
    Open("", "ORDER BY oznaceni_vstupu DESC");
    EXPECT_EQ(Serials(r), DatabaseOrder(db, "", "oznaceni_vstupu COLLATE JETTEXT DESC"));
    EXPECT_EQ(r.query->RecordCount(), 29);

    // A change of a value by another connection, and the same SQL opened again.
    r.query->Close();
    db.Exec("UPDATE konverze SET oznaceni_vstupu = 'Zzz' WHERE poradove_cislo = '100/2010'");
    r.query->Open();
    EXPECT_EQ(Serials(r), DatabaseOrder(db, "", "oznaceni_vstupu COLLATE JETTEXT DESC"));
    // Descending: the other script's text, then Ž, then the new "Zzz".
    EXPECT_EQ(Serials(r)[2], "100/2010");
}

TEST_F(HeldRows, AColumnHoldingOtherValuesThanItsKindIsOrderedByTheDatabase)
{
    // A word where a date belongs: the field reads it as empty, the database orders it after every number.
    db.Exec("UPDATE konverze SET datum_sepsani_vstupu = 'neznámé' WHERE poradove_cislo = '4/2010'");
    Open("", "ORDER BY oznaceni_vstupu ASC");
    Open("", "ORDER BY datum_sepsani_vstupu DESC");
    EXPECT_EQ(Serials(r), DatabaseOrder(db, "", "datum_sepsani_vstupu DESC"));
    EXPECT_EQ(Serials(r).front(), "4/2010");
    Open("", "ORDER BY oznaceni_vstupu ASC");
    EXPECT_EQ(Serials(r), DatabaseOrder(db, "", "oznaceni_vstupu COLLATE JETTEXT ASC"));
}
