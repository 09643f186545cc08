// The main form over a register of 100 000 rows, as a user meets it: the
// start of the forms in this process, one keystroke of the search, a click on
// a grid title (the Czech order of the designations, turning at each click,
// or sorted anew after another title; also right after the start, while the
// grid still reads the register),
// clearing the search with "Vymazat", and saving an edited row (which reads
// the register again); each until the grid has painted the rows it shows.
// The start from process start to the painted main window is measured in
// processes of their own (StartUpBench.cpp). A title click and clearing
// should stay under 100 ms, the start of the program under 300 ms.

#include "app/DataModule.h"
#include "app/ExportForm.h"
#include "app/Folders.h"
#include "app/KonverzeForm.h"
#include "app/Startup.h"
#include "app/ViewerForm.h"
#include "platform/core/FormatSettings.h"
#include "platform/ui/dialogs/ScriptedDialogs.h"
#include "platform/ui/kernel/Application.h"

#include "bench/app/StartUpBench.h"
#include "bench/app/StartUpChild.h"
#include "bench/support/BenchRegister.h"

#include <benchmark/benchmark.h>

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QWidget>

#include <cstdlib>
#include <string>

#include <sys/resource.h>


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
    std::string Path() const { return register_.Folder(); }

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

// Minor page faults so far: memory a step touches for the first time costs
// far more than memory it used before.
long MinorFaults()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_minflt;
}

void ReportFaults(benchmark::State& state, long before)
{
    if (state.iterations() > 0)
        state.counters["faults"] = double(MinorFaults() - before) / double(state.iterations());
}

// The main form on screen, as the user sees it at once: its grid shows the
// register's first rows and reads the rest from the event loop.
void ShowFormsAtStart()
{
    app::CreateForms();
    app::Konverze_Form->Show();
    QCoreApplication::processEvents();
}

// The same once the grid has read the whole register: the rest is read while
// the user looks at the window, so by the time the user acts it is all there.
void ShowForms()
{
    ShowFormsAtStart();
    QElapsedTimer waited;
    waited.start();
    while (!app::DM->Konverze_ADOQuery->AllRecordsRead() && waited.elapsed() < 10000)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
}

// What the user waits for: the grid painted with the rows now in view.
void ShowRows()
{
    QCoreApplication::processEvents();
    app::Konverze_Form->DBGrid1->Handle()->repaint();
}

void BM_SearchKeystroke(benchmark::State& state)
{
    Folder();
    ShowForms();
    const char* texts[] = {"s", "so", "sou", "soud"};
    int i = 0;
    const long faults = MinorFaults();
    for (auto _ : state) {
        app::Konverze_Form->Hledani_Edit->SetText(texts[i++ % 4]);
        ShowRows();
    }
    ReportFaults(state, faults);
    FreeForms();
}
BENCHMARK(BM_SearchKeystroke)->Unit(benchmark::kMillisecond);

// A click on the designations' title: the order turned at each click
// (afterDateTitle 0), or each after an untimed click on the date title, so
// that every click timed sorts the rows in the Czech order anew.
void BM_TitleClick(benchmark::State& state)
{
    Folder();
    ShowForms();
    const long faults = MinorFaults();
    for (auto _ : state) {
        if (state.range(0) != 0) {
            state.PauseTiming();
            app::Konverze_Form->DBGrid1TitleClick(app::Konverze_Form->DBGrid1->Columns()[2]);
            ShowRows();
            state.ResumeTiming();
        }
        app::Konverze_Form->DBGrid1TitleClick(app::Konverze_Form->DBGrid1->Columns()[1]);
        ShowRows();
    }
    ReportFaults(state, faults);
    FreeForms();
}
BENCHMARK(BM_TitleClick)->Arg(0)->Arg(1)->ArgName("afterDateTitle")->Unit(benchmark::kMillisecond);

// A title click while the grid still reads the rest of the register after
// the start: the rows are read whole, then sorted.
void BM_TitleClickAtStart(benchmark::State& state)
{
    Folder();
    for (auto _ : state) {
        state.PauseTiming();
        ShowFormsAtStart();
        state.ResumeTiming();
        app::Konverze_Form->DBGrid1TitleClick(app::Konverze_Form->DBGrid1->Columns()[1]);
        ShowRows();
        state.PauseTiming();
        FreeForms();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_TitleClickAtStart)->Iterations(5)->Unit(benchmark::kMillisecond);

// "Vymazat" after a search, in the order the register starts with and in the
// Czech order of the designations.
void BM_ClearSearch(benchmark::State& state)
{
    Folder();
    ShowForms();
    if (state.range(0) != 0)
        app::Konverze_Form->DBGrid1TitleClick(app::Konverze_Form->DBGrid1->Columns()[1]);
    const long faults = MinorFaults();
    for (auto _ : state) {
        state.PauseTiming();
        app::Konverze_Form->Hledani_Edit->SetText("Benešov");
        ShowRows();
        state.ResumeTiming();
        app::Konverze_Form->Button1Click(nullptr);
        ShowRows();
    }
    ReportFaults(state, faults);
    FreeForms();
}
BENCHMARK(BM_ClearSearch)->Arg(0)->Arg(1)->ArgName("byDesignation")->Unit(benchmark::kMillisecond);

void BM_SaveEditedRow(benchmark::State& state)
{
    Folder();
    app::CreateForms();
    data::TADOQuery* query = app::DM->Konverze_ADOQuery;
    query->RecordCount(); // the register read to its end, as it is soon after the start
    int i = 0;
    const long faults = MinorFaults();
    for (auto _ : state) {
        query->Edit();
        query->FieldByName("cislo_dokladu")->SetAsString("E-" + std::to_string(i++));
        query->Post();
    }
    ReportFaults(state, faults);
    FreeForms();
}
BENCHMARK(BM_SaveEditedRow)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv)
{
    if (argc > 1 && std::string(argv[1]) == bench::StartUpChildFlag)
        return bench::RunStartUpChild(argc, argv);
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    // As the program does: run by the superuser, the engine goes without its sandbox.
    app::PrepareWebEngineEnvironment();
    core::FormatSettings = core::TFormatSettings::Czech();
    ui::TApplication application(argc, argv);
    application.Initialize();
    ui::TScriptedDialogs dialogs;
    benchmark::Initialize(&argc, argv);
    bench::RegisterStartUpBenchmarks(Folder().Path());
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
