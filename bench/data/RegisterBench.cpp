// The register query on 100 000 rows: opening it as the program does (three
// SQL lines, ten persistent fields, the yearly count), the LIKE search and the
// date search of the register tab. Each should stay under 30 ms.

#include "platform/core/Component.h"
#include "platform/data/ADOConnection.h"
#include "platform/data/ADOQuery.h"

#include <benchmark/benchmark.h>
#include <sqlite3.h>

#include <cstdio>
#include <filesystem>
#include <memory>
#include <stdexcept>
#include <string>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

constexpr int kRows = 100000;

// A copy of the shipped database beside this program, filled with a register
// of kRows conversions from 2008 on (about 40 a day), made once per run.
class BenchDatabase {
public:
    BenchDatabase()
    {
        const fs::path bin = fs::read_symlink("/proc/self/exe").parent_path();
        folder_ = fs::temp_directory_path() / ("konverze-bench-" + std::to_string(::getpid()));
        fs::create_directories(folder_);
        path_ = (folder_ / "konverze.mdb").string();
        fs::copy_file(bin / "konverze.mdb", path_, fs::copy_options::overwrite_existing);
        Fill();
    }
    ~BenchDatabase()
    {
        std::error_code ignored;
        fs::remove_all(folder_, ignored);
    }
    std::string ConnectionString() const { return "Provider=Microsoft.Jet.OLEDB.4.0;User ID=Admin;Data Source=" + path_; }

private:
    void Fill()
    {
        sqlite3* db = nullptr;
        if (sqlite3_open_v2(path_.c_str(), &db, SQLITE_OPEN_READWRITE, nullptr) != SQLITE_OK)
            throw std::runtime_error("cannot open " + path_);
        sqlite3_exec(db, "BEGIN", nullptr, nullptr, nullptr);
        sqlite3_stmt* insert = nullptr;
        sqlite3_prepare_v2(db,
                           "INSERT INTO konverze (poradove_cislo, datum_konverze, oznaceni_vstupu, "
                           "datum_sepsani_vstupu, osvobozeni, cislo_dokladu, overujici_osoba, vystavujici_osoba) "
                           "VALUES (?, ?, ?, ?, ?, ?, ?, ?)",
                           -1, &insert, nullptr);
        static const char* const kinds[] = {"Rozsudek Okresního soudu v Benešově čj. ",
                                            "Usnesení Krajského soudu v Brně čj. ",
                                            "Kupní smlouva o prodeji bytové jednotky ze dne ",
                                            "Plná moc k zastupování ve věci sp. zn. "};
        const double start = 39448.0; // 1 January 2008
        for (int i = 0; i < kRows; ++i) {
            const double converted = start + i / 40.0 + (i % 7) * 0.001;
            const std::string serial = std::to_string(i % 5000 + 1) + "/" + std::to_string(2008 + i / 14600);
            const std::string designation = std::string(kinds[i % 4]) + std::to_string(i % 97 + 1) + " C " +
                                            std::to_string(i % 1000) + "/20" + std::to_string(10 + i % 10);
            const std::string receipt = "D-" + std::to_string(100000 + i);
            sqlite3_bind_text(insert, 1, serial.c_str(), -1, SQLITE_TRANSIENT);
            sqlite3_bind_double(insert, 2, converted);
            sqlite3_bind_text(insert, 3, designation.c_str(), -1, SQLITE_TRANSIENT);
            sqlite3_bind_double(insert, 4, converted - 30);
            sqlite3_bind_int(insert, 5, i % 3 == 0);
            sqlite3_bind_text(insert, 6, receipt.c_str(), -1, SQLITE_TRANSIENT);
            sqlite3_bind_text(insert, 7, "JUDr. Jana Nováková", -1, SQLITE_STATIC);
            sqlite3_bind_text(insert, 8, "Mgr. Petr Svoboda", -1, SQLITE_STATIC);
            sqlite3_step(insert);
            sqlite3_reset(insert);
        }
        sqlite3_finalize(insert);
        sqlite3_exec(db, "COMMIT", nullptr, nullptr, nullptr);
        sqlite3_close(db);
    }

    fs::path folder_;
    std::string path_;
};

BenchDatabase& Database()
{
    static BenchDatabase db;
    return db;
}

// The data module's register: connection, query with its persistent fields.
struct Register {
    Register()
    {
        connection = new data::TADOConnection(owner.get());
        connection->SetLoginPrompt(false);
        connection->SetConnectionString(Database().ConnectionString());
        connection->Open();
        query = new data::TADOQuery(owner.get());
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
    data::TADOQuery* query;
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
    for (auto _ : state) {
        r.query->Open();
        benchmark::DoNotOptimize(r.query->RecordCount());
        r.query->Close();
    }
}

} // namespace

BENCHMARK(BM_OpenRegister)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LikeSearch)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_DateSearch)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_OpenRegisterWithoutCount)->Unit(benchmark::kMillisecond);
