// The main form over a register of 100 000 rows, as a user meets it: the start
// (the data module and the forms), one keystroke of the search, a click on a
// grid title, and saving an edited row (which reads the register again). The
// start, a keystroke and a save should stay under 100 ms; a sort of the whole
// register by a text column under 250 ms (the database sorts; the grid only
// shows the rows in view).

#include "app/DataModule.h"
#include "app/ExportForm.h"
#include "app/Folders.h"
#include "app/KonverzeForm.h"
#include "app/Startup.h"
#include "app/ViewerForm.h"
#include "platform/core/FormatSettings.h"
#include "platform/ui/Application.h"
#include "platform/ui/ScriptedDialogs.h"

#include <benchmark/benchmark.h>
#include <sqlite3.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <stdexcept>
#include <string>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

constexpr int kRows = 100000;

// A copy of the shipped database filled with kRows conversions, made once per run.
class BenchFolder {
public:
    BenchFolder()
    {
        const fs::path bin = fs::read_symlink("/proc/self/exe").parent_path();
        folder_ = fs::temp_directory_path() / ("konverze-form-bench-" + std::to_string(::getpid()));
        fs::create_directories(folder_);
        const std::string file = (folder_ / "konverze.mdb").string();
        fs::copy_file(bin / "konverze.mdb", file, fs::copy_options::overwrite_existing);
        // The start is measured without the update check over the network.
        std::ofstream(folder_ / "nastaveni.ini") << "[nastaveni]\nkontrolovat_po_startu=0\n";
        sqlite3* db = nullptr;
        if (sqlite3_open_v2(file.c_str(), &db, SQLITE_OPEN_READWRITE, nullptr) != SQLITE_OK)
            throw std::runtime_error("cannot open " + file);
        sqlite3_exec(db, "BEGIN", nullptr, nullptr, nullptr);
        sqlite3_exec(db,
                     "INSERT INTO uzivatel VALUES ('JUDr. Jana Nováková', 'Dlouhá 1', '110 00', 'Praha', "
                     "'Petr Novák', 'jana@example.cz', '12345')",
                     nullptr, nullptr, nullptr);
        sqlite3_stmt* insert = nullptr;
        sqlite3_prepare_v2(db,
                           "INSERT INTO konverze (poradove_cislo, datum_konverze, oznaceni_vstupu, "
                           "datum_sepsani_vstupu, osvobozeni, cislo_dokladu, overujici_osoba, vystavujici_osoba) "
                           "VALUES (?, ?, ?, ?, ?, ?, 'JUDr. Jana Nováková', 'Petr Novák')",
                           -1, &insert, nullptr);
        for (int i = 0; i < kRows; ++i) {
            const double converted = 39448.0 + i / 40.0;
            const std::string serial = std::to_string(i % 5000 + 1) + "/" + std::to_string(2008 + i / 14600);
            const std::string designation = (i % 2 ? "Rozsudek Okresního soudu čj. " : "Kupní smlouva č. ") +
                                            std::to_string(i);
            const std::string receipt = "D-" + std::to_string(100000 + i);
            sqlite3_bind_text(insert, 1, serial.c_str(), -1, SQLITE_TRANSIENT);
            sqlite3_bind_double(insert, 2, converted);
            sqlite3_bind_text(insert, 3, designation.c_str(), -1, SQLITE_TRANSIENT);
            sqlite3_bind_double(insert, 4, converted - 30);
            sqlite3_bind_int(insert, 5, i % 3 == 0);
            sqlite3_bind_text(insert, 6, receipt.c_str(), -1, SQLITE_TRANSIENT);
            sqlite3_step(insert);
            sqlite3_reset(insert);
        }
        sqlite3_finalize(insert);
        sqlite3_exec(db, "COMMIT", nullptr, nullptr, nullptr);
        sqlite3_close(db);
        app::DataFolder = folder_.string() + "/";
    }
    ~BenchFolder()
    {
        std::error_code ignored;
        fs::remove_all(folder_, ignored);
    }

private:
    fs::path folder_;
};

BenchFolder& Folder()
{
    static BenchFolder folder;
    return folder;
}

void FreeForms()
{
    ui::FreeComponent(app::Prohlizec_Form);
    ui::FreeComponent(app::Export_Form);
    ui::FreeComponent(app::Konverze_Form);
    ui::FreeComponent(app::DM);
    app::Prohlizec_Form = nullptr;
    app::Export_Form = nullptr;
    app::Konverze_Form = nullptr;
    app::DM = nullptr;
}

void BM_StartUp(benchmark::State& state)
{
    Folder();
    for (auto _ : state) {
        app::CreateForms();
        state.PauseTiming();
        FreeForms();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_StartUp)->Unit(benchmark::kMillisecond);

void BM_SearchKeystroke(benchmark::State& state)
{
    Folder();
    app::CreateForms();
    const char* texts[] = {"s", "so", "sou", "soud"};
    int i = 0;
    for (auto _ : state)
        app::Konverze_Form->Hledani_Edit->SetText(texts[i++ % 4]);
    FreeForms();
}
BENCHMARK(BM_SearchKeystroke)->Unit(benchmark::kMillisecond);

void BM_TitleClick(benchmark::State& state)
{
    Folder();
    app::CreateForms();
    for (auto _ : state)
        app::Konverze_Form->DBGrid1TitleClick(app::Konverze_Form->DBGrid1->Columns()[1]);
    FreeForms();
}
BENCHMARK(BM_TitleClick)->Unit(benchmark::kMillisecond);

void BM_SaveEditedRow(benchmark::State& state)
{
    Folder();
    app::CreateForms();
    data::TADOQuery* query = app::DM->Konverze_ADOQuery;
    int i = 0;
    for (auto _ : state) {
        query->Edit();
        query->FieldByName("cislo_dokladu")->SetAsString("E-" + std::to_string(i++));
        query->Post();
    }
    FreeForms();
}
BENCHMARK(BM_SaveEditedRow)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv)
{
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    core::FormatSettings = core::TFormatSettings::Czech();
    ui::TApplication application(argc, argv);
    application.Initialize();
    ui::TScriptedDialogs dialogs;
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
