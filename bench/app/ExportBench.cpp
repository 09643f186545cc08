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
#include "platform/ui/dialogs/ScriptedDialogs.h"
#include "platform/ui/kernel/Application.h"
#include "tests/support/StandInTool.h"

#include "bench/support/BenchRegister.h"

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <stdexcept>
#include <string>

namespace fs = std::filesystem;

namespace {

constexpr int kRows = 100000;

// The bench register and the TEMP folder inside it.
class BenchFolder {
public:
    BenchFolder() { std::filesystem::create_directories(Temp()); }
    std::string Data() const { return register_.Folder(); }
    std::string Temp() const { return register_.Folder() + "temp/"; }

private:
    bench::TBenchRegister register_{"export-bench", kRows};
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
