// The period export of 100 000 register rows through the export form's own
// handlers, as the user runs it: the register lent to the export, the
// period's rows read, the file written (a Windows-1250 text file, or a
// workbook saved and then handed to the desktop), the register given back.
// Target: each under 1 s.

#include "app/DataModule.h"
#include "app/ExportForm.h"
#include "app/Folders.h"
#include "platform/core/DateTime.h"
#include "platform/core/FormatSettings.h"
#include "platform/ui/Application.h"
#include "platform/ui/ScriptedDialogs.h"
#include "tests/support/StandInTool.h"

#include <benchmark/benchmark.h>
#include <sqlite3.h>

#include <cstdlib>
#include <filesystem>
#include <stdexcept>
#include <string>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

constexpr int kRows = 100000;

// A data folder with a copy of the shipped database holding one user and
// kRows conversions from 2008 on (about 40 a day), and the TEMP folder.
class BenchFolder {
public:
    BenchFolder()
    {
        const fs::path bin = fs::read_symlink("/proc/self/exe").parent_path();
        folder_ = fs::temp_directory_path() / ("konverze-export-bench-" + std::to_string(::getpid()));
        fs::create_directories(folder_ / "temp");
        fs::copy_file(bin / "konverze.mdb", folder_ / "konverze.mdb", fs::copy_options::overwrite_existing);
        Fill((folder_ / "konverze.mdb").string());
    }
    ~BenchFolder()
    {
        std::error_code ignored;
        fs::remove_all(folder_, ignored);
    }
    std::string Data() const { return folder_.string() + "/"; }
    std::string Temp() const { return (folder_ / "temp").string() + "/"; }

private:
    static void Fill(const std::string& path)
    {
        sqlite3* db = nullptr;
        if (sqlite3_open_v2(path.c_str(), &db, SQLITE_OPEN_READWRITE, nullptr) != SQLITE_OK)
            throw std::runtime_error("cannot open " + path);
        sqlite3_exec(db, "BEGIN", nullptr, nullptr, nullptr);
        sqlite3_exec(db,
                     "INSERT INTO uzivatel (jmeno_prijmeni, ulice, psc, mesto, vystavujici, email, ID_advokata) "
                     "VALUES ('JUDr. Jana Nováková', 'Dlouhá 1', '110 00', 'Praha', 'Mgr. Petr Svoboda', "
                     "'jana@novakova.cz', '12345')",
                     nullptr, nullptr, nullptr);
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
        const double start = core::EncodeDate(2008, 1, 1);
        for (int i = 0; i < kRows; ++i) {
            const double converted = start + i / 40.0 + (i % 7) * 0.001;
            const std::string serial = std::to_string(i % 5000 + 1) + "/" + std::to_string(2008 + i / 14600);
            const std::string designation = std::string(kinds[i % 4]) + std::to_string(i % 97 + 1) + " C " +
                                            std::to_string(i % 1000) + "/20" + std::to_string(10 + i % 10);
            const std::string receipt = "D-" + std::to_string(100000 + i);
            sqlite3_bind_text(insert, 1, serial.c_str(), -1, SQLITE_TRANSIENT);
            sqlite3_bind_double(insert, 2, converted);
            sqlite3_bind_text(insert, 3, designation.c_str(), -1, SQLITE_TRANSIENT);
            if (i % 5 == 0)
                sqlite3_bind_null(insert, 4);
            else
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
};

// The data module and the export form over the bench folder, the period
// covering every row, fee columns on, no mail.
class ExportSetup {
public:
    ExportSetup()
    {
        setenv("TEMP", folder_.Temp().c_str(), 1);
        app::DataFolder = folder_.Data();
        ui::Application->CreateForm(app::DM);
        ui::Application->CreateForm(app::Export_Form);
        app::TExport_Form* form = app::Export_Form;
        form->Od_DTP->SetDateTime(core::EncodeDate(2008, 1, 1));
        form->Do_DTP->SetDateTime(core::EncodeDate(2030, 12, 31));
        form->CheckBox3->SetChecked(true);
        form->CheckBox1->SetChecked(true);
        form->CheckBox2->SetChecked(false);
    }
    ~ExportSetup()
    {
        ui::FreeComponent(app::Export_Form);
        ui::FreeComponent(app::DM);
        app::Export_Form = nullptr;
        app::DM = nullptr;
    }
    std::string Target(const std::string& name) const { return folder_.Data() + name; }

private:
    BenchFolder folder_;
    // The workbook handed to the desktop goes to a stand-in opener.
    testsupport::StandInTool opener_{"xdg-open"};
};

ExportSetup* setup = nullptr;
ui::TScriptedDialogs* dialogs = nullptr;

void Export(benchmark::State& state, app::TExport_Form* form, void (app::TExport_Form::*handler)(core::TObject*),
            const std::string& target)
{
    for (auto _ : state) {
        state.PauseTiming();
        std::error_code error;
        fs::remove(target, error);  // no question about replacing it
        form->Edit1->SetText(target);
        state.ResumeTiming();
        (form->*handler)(nullptr);
    }
    std::error_code error;
    if (!dialogs->Questions().empty())
        state.SkipWithError(dialogs->Describe().c_str());
    state.counters["bytes"] = static_cast<double>(fs::file_size(target, error));
    if (app::DM->Konverze_ADOQuery->SQL()->Count() != 3)
        state.SkipWithError("the register was not given back");
}

void BM_ExportCsv(benchmark::State& state)
{
    Export(state, app::Export_Form, &app::TExport_Form::Button5Click, setup->Target("vypis.csv"));
}

void BM_ExportXls(benchmark::State& state)
{
    Export(state, app::Export_Form, &app::TExport_Form::Button2Click, setup->Target("vypis.xls"));
}

BENCHMARK(BM_ExportCsv)->Unit(benchmark::kMillisecond)->Iterations(5);
BENCHMARK(BM_ExportXls)->Unit(benchmark::kMillisecond)->Iterations(5);

} // namespace

int main(int argc, char** argv)
{
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    core::FormatSettings = core::TFormatSettings::Czech();
    ui::TApplication application(argc, argv);
    application.Initialize();
    benchmark::Initialize(&argc, argv);
    // A question would wait for nobody: every one is answered from an empty script.
    ui::TScriptedDialogs dialogs;
    ExportSetup bench;
    setup = &bench;
    ::dialogs = &dialogs;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
