// The register query on 100 000 rows: opening it as the program does (three
// SQL lines, ten persistent fields, the yearly count), the LIKE search and the
// date search of the register tab, each read from the database every time;
// the register in the Czech order of its designations; and the same rows
// opened again in another order, which the query does with the rows it holds.

#include "platform/core/Component.h"
#include "platform/data/ADOConnection.h"
#include "platform/data/ADOQuery.h"

#include "bench/support/BenchRegister.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <memory>
#include <string>


namespace {

constexpr int kRows = 100000;

bench::TBenchRegister& Database()
{
    static bench::TBenchRegister db("bench", kRows);
    return db;
}

// A query that reads from the database at every opening.
class TReadingQuery : public data::TADOQuery {
public:
    using TADOQuery::TADOQuery;

protected:
    bool KeepsRows() const override { return keeps; }

public:
    bool keeps = false;
};

// The data module's register: connection, query with its persistent fields.
struct Register {
    Register()
    {
        connection = new data::TADOConnection(owner.get());
        connection->SetLoginPrompt(false);
        connection->SetConnectionString(Database().ConnectionString());
        connection->Open();
        query = new TReadingQuery(owner.get());
        query->SetConnection(connection);
        auto declare = [&](data::TField* f, const char* name) {
            f->SetFieldName(name);
            f->SetDataSet(query);
        };
        declare(new data::TAutoIncField(owner.get()), "ID");
        declare(new data::TWideStringField(owner.get()), "poradove_cislo");
        declare(new data::TDateTimeField(owner.get()), "datum_konverze");
        declare(new data::TWideStringField(owner.get()), "oznaceni_vstupu");
        declare(new data::TDateTimeField(owner.get()), "datum_sepsani_vstupu");
        declare(new data::TBooleanField(owner.get()), "osvobozeni");
        declare(new data::TWideStringField(owner.get()), "cislo_dokladu");
        declare(new data::TWideStringField(owner.get()), "overujici_osoba");
        declare(new data::TWideStringField(owner.get()), "vystavujici_osoba");
        declare(new data::TIntegerField(owner.get()), "pocet_rok");
        query->SQL()->Add("SELECT *, (SELECT COUNT(ID) from konverze WHERE YEAR(datum_konverze)='2010') as "
                          "pocet_rok from konverze ");
        query->SQL()->Add("");
        query->SQL()->Add("ORDER BY datum_konverze DESC");
    }

    std::unique_ptr<core::TComponent> owner = std::make_unique<core::TComponent>(nullptr);
    data::TADOConnection* connection;
    TReadingQuery* query;
};

void Run(benchmark::State& state, const std::string& filter, int expectedRows)
{
    Register r;
    r.query->SQL()->Put(1, filter);
    for (auto _ : state) {
        r.query->Open();
        if (expectedRows >= 0 && r.query->RecordCount() != expectedRows)
            state.SkipWithError(("unexpected row count " + std::to_string(r.query->RecordCount())).c_str());
        benchmark::DoNotOptimize(r.query->FieldByName("pocet_rok")->AsInteger());
        r.query->Close();
    }
    state.counters["rows"] = expectedRows;
}

// Opens the register and reads it to its end, again and again.
void OpenRepeatedly(benchmark::State& state, Register& r)
{
    for (auto _ : state) {
        r.query->Open();
        benchmark::DoNotOptimize(r.query->RecordCount());
        r.query->Close();
    }
}

void BM_OpenRegister(benchmark::State& state) { Run(state, "", kRows); }

// The search of the register tab for a designation containing a text, as typed.
void BM_LikeSearch(benchmark::State& state) { Run(state, "WHERE oznaceni_vstupu like '%BRNĚ ČJ. 12 C%'", -1); }

// The search for a conversion date: any time on 12.5.2010.
void BM_DateSearch(benchmark::State& state)
{
    Run(state, "WHERE (datum_konverze < #2010/05/13#) and (datum_konverze > #2010/05/11#)", -1);
}

// The same register without the yearly count: the difference is what the
// count costs, once per open (an uncorrelated sub-select runs once).
void BM_OpenRegisterWithoutCount(benchmark::State& state)
{
    Register r;
    r.query->SQL()->Put(0, "SELECT *, 0 as pocet_rok from konverze ");
    OpenRepeatedly(state, r);
}

// The register in the Czech order of its designations, as a click on the
// grid's title asks for it.
void BM_OpenRegisterByDesignation(benchmark::State& state)
{
    Register r;
    r.query->SQL()->Put(2, "ORDER BY oznaceni_vstupu ASC");
    OpenRepeatedly(state, r);
}

// A click on a grid title: the same rows in another order, by designation and
// back by date, from the rows the query holds.
void BM_ReorderHeldRegister(benchmark::State& state)
{
    Register r;
    r.query->keeps = true;
    r.query->Open();
    const char* orders[] = {"ORDER BY oznaceni_vstupu ASC", "ORDER BY datum_konverze DESC"};
    int i = 0;
    for (auto _ : state) {
        r.query->Close();
        r.query->SQL()->Put(2, orders[i++ % 2]);
        r.query->Open();
        benchmark::DoNotOptimize(r.query->RecordCount());
    }
}

} // namespace

BENCHMARK(BM_OpenRegister)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LikeSearch)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_DateSearch)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_OpenRegisterWithoutCount)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_OpenRegisterByDesignation)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ReorderHeldRegister)->Unit(benchmark::kMillisecond);
