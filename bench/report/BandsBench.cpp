// The banded report's own work: a grouped report over a query of many
// records generated to stored pages (groups breaking, page headers and
// footers, expression labels reading fields), and laying out the bands of a
// report on its design surface.

#include "platform/data/ADOConnection.h"
#include "platform/data/ADOQuery.h"
#include "platform/ui/kernel/Forms.h"
#include "report/bands/RpBand.h"
#include "report/bands/RpGroup.h"
#include "report/bands/RpReport.h"
#include "report/printables/RpExprLabel.h"

#include <benchmark/benchmark.h>
#include <sqlite3.h>

#include <filesystem>
#include <string>
#include <unistd.h>

using namespace report;

namespace {

// A database file of n items in groups of 50 and sub-groups of 10.
std::string MakeItems(int n)
{
    const std::string path =
        (std::filesystem::temp_directory_path() / ("konverze-bands-bench-" + std::to_string(::getpid()) + ".mdb"))
            .string();
    std::filesystem::remove(path);
    sqlite3* db = nullptr;
    sqlite3_open_v2(path.c_str(), &db, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr);
    sqlite3_exec(db, "CREATE TABLE items (id INTEGER PRIMARY KEY, grp VARCHAR(20), sub VARCHAR(20), "
                     "name VARCHAR(50), amount INTEGER); BEGIN;",
                 nullptr, nullptr, nullptr);
    for (int i = 0; i < n; ++i) {
        const std::string sql = "INSERT INTO items (grp, sub, name, amount) VALUES ('G" + std::to_string(i / 50) +
                                "', 'S" + std::to_string(i / 10) + "', 'Konverze č. " + std::to_string(i) + "', " +
                                std::to_string(i % 97) + ")";
        sqlite3_exec(db, sql.c_str(), nullptr, nullptr, nullptr);
    }
    sqlite3_exec(db, "COMMIT;", nullptr, nullptr, nullptr);
    sqlite3_close(db);
    return path;
}

TRpBand* AddBand(ui::TForm* form, TRpReport* report, TRpBandType type, long double height)
{
    auto* band = new TRpBand(form);
    band->SetParent(report);
    band->SetBandType(type);
    band->Size().SetUnits(TRpUnit::Native);
    band->Size().SetHeight(height);
    return band;
}

TRpExpr* AddExpr(ui::TForm* form, TRpCustomBand* band, const std::string& expression)
{
    auto* expr = new TRpExpr(form);
    expr->SetParent(band);
    TRpPrintableSize& size = expr->Size();
    size.SetUnits(TRpUnit::Native);
    size.SetLeft(0);
    size.SetTop(0);
    size.SetWidth(800);
    size.SetHeight(40);
    expr->SetExpression(expression);
    return expr;
}

TRpGroup* AddGroup(ui::TForm* form, TRpReport* report, const std::string& expression)
{
    auto* group = new TRpGroup(form);
    group->SetParent(report);
    group->SetExpression(expression);
    group->Size().SetUnits(TRpUnit::Native);
    group->Size().SetHeight(60);
    AddExpr(form, group, expression);
    TRpBand* footer = AddBand(form, report, TRpBandType::rbDetail, 60);
    group->SetFooterBand(footer);
    AddExpr(form, footer, "SUM(amount)")->SetMaster(report);
    return group;
}

// Records per second of a grouped report with page headers and footers.
void BM_GenerateGroupedReport(benchmark::State& state)
{
    const int records = static_cast<int>(state.range(0));
    const std::string path = MakeItems(records);
    auto* form = ui::CreateComponent<ui::TForm>(nullptr);
    auto* connection = new data::TADOConnection(form);
    connection->SetLoginPrompt(false);
    connection->SetConnectionString("Provider=Microsoft.Jet.OLEDB.4.0;Data Source=" + path);
    auto* query = new data::TADOQuery(form);
    query->SetName("Items");
    query->SetConnection(connection);
    query->SQL()->Add("SELECT * FROM items ORDER BY id");
    query->Open();
    auto* report = new TRpReport(form);
    report->SetParent(form);
    report->SetDataSet(query);
    report->SetShowProgress(false);
    AddExpr(form, AddBand(form, report, TRpBandType::rbPageHeader, 60), "'Strana ' + STR(PAGENUMBER)");
    AddExpr(form, AddBand(form, report, TRpBandType::rbPageFooter, 60), "REPORTTITLE");
    AddGroup(form, report, "grp");
    AddGroup(form, report, "sub");
    AddExpr(form, AddBand(form, report, TRpBandType::rbDetail, 45), "name");
    report->CreateRunPrinter();
    for (auto _ : state) {
        report->GenerateReport(false);
        benchmark::DoNotOptimize(report->PageCount());
    }
    state.counters["pages"] = report->PageCount();
    state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations()) * records);
    ui::FreeComponent(form);
    std::filesystem::remove(path);
}
BENCHMARK(BM_GenerateGroupedReport)->Arg(1000)->Arg(10000)->Unit(benchmark::kMillisecond);

// Bands laid out per second on the design surface.
void BM_ArrangeBands(benchmark::State& state)
{
    auto* form = ui::CreateComponent<ui::TForm>(nullptr);
    auto* report = new TRpReport(form);
    report->SetParent(form);
    for (int i = 0; i < state.range(0); ++i)
        AddBand(form, report, i % 2 == 0 ? TRpBandType::rbDetail : TRpBandType::rbOverlay, 100);
    for (auto _ : state)
        report->ArrangeBands();
    state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations()) * state.range(0));
    ui::FreeComponent(form);
}
BENCHMARK(BM_ArrangeBands)->Arg(50)->Unit(benchmark::kMicrosecond);

} // namespace
