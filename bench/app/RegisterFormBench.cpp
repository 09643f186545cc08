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

#include "bench/support/BenchRegister.h"

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <string>


namespace {

constexpr int kRows = 100000;

// The bench register as the data folder, started without the update check.
class BenchFolder {
public:
    BenchFolder()
    {
        register_.DisableStartupUpdateCheck();
        app::DataFolder = register_.Folder();
    }

private:
    bench::TBenchRegister register_{"form-bench", kRows};
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
    // As the program does: run by the superuser, the engine goes without its sandbox.
    app::PrepareWebEngineEnvironment();
    core::FormatSettings = core::TFormatSettings::Czech();
    ui::TApplication application(argc, argv);
    application.Initialize();
    ui::TScriptedDialogs dialogs;
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
