// Printables at work: cutting a long caption into lines with the report's
// own text measuring, and a generated report of pages full of labels and
// expression labels (one record per detail band, values and a running total).

#include "platform/ui/kernel/Forms.h"
#include "report/bands/RpBand.h"
#include "report/bands/RpReport.h"
#include "report/printables/RpExprLabel.h"
#include "report/printables/RpLabel.h"
#include "report/printer/RpPrinter.h"

#include <benchmark/benchmark.h>

#include <string>

using namespace report;

namespace {

template <class T>
T* Place(ui::TForm* form, ui::TWinControl* parent, long double left, long double width, long double height)
{
    auto* printable = new T(form);
    printable->SetParent(parent);
    TRpPrintableSize& size = printable->Size();
    const TRpUnit unit = size.Units();
    size.SetUnits(TRpUnit::Native);
    size.SetLeft(left);
    size.SetTop(0);
    size.SetWidth(width);
    size.SetHeight(height);
    size.SetUnits(unit);
    return printable;
}

// Lines per second of a word-wrapped caption of the argument's words.
void BM_FormatLines(benchmark::State& state)
{
    auto* form = ui::CreateComponent<ui::TForm>(nullptr);
    auto* report = new TRpReport(form);
    report->SetParent(form);
    auto* label = Place<TRpLabel>(form, report, 100, 1200, 50);
    label->SetAutoSize(false);
    std::string caption;
    for (int i = 0; i < state.range(0); ++i)
        caption += (i % 40 == 39 ? "konverze\r\n" : "ověřená-listina ");
    label->SetCaption(caption);
    for (auto _ : state) {
        label->FormatLines();
        benchmark::DoNotOptimize(label->FormattedLines().size());
    }
    state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations()) *
                            static_cast<std::int64_t>(label->FormattedLines().size()));
    ui::FreeComponent(form);
}
BENCHMARK(BM_FormatLines)->Arg(100)->Arg(2000)->Unit(benchmark::kMicrosecond);

// The same with words never measured before (every caption new), as the
// values of an expression label are.
void BM_FormatLinesFresh(benchmark::State& state)
{
    auto* form = ui::CreateComponent<ui::TForm>(nullptr);
    auto* report = new TRpReport(form);
    report->SetParent(form);
    auto* label = Place<TRpLabel>(form, report, 100, 1200, 50);
    label->SetAutoSize(false);
    std::int64_t lines = 0;
    long long serial = 0;
    for (auto _ : state) {
        std::string caption;
        for (int i = 0; i < state.range(0); ++i)
            caption += "listina-" + std::to_string(++serial) + (i % 40 == 39 ? "\r\n" : " ");
        label->SetCaption(caption);
        lines += static_cast<std::int64_t>(label->FormattedLines().size());
    }
    state.SetItemsProcessed(lines);
    ui::FreeComponent(form);
}
BENCHMARK(BM_FormatLinesFresh)->Arg(100)->Unit(benchmark::kMicrosecond);

// Detail bands per second of a stored run: each band holds a label and three
// expression labels (the record number, a money amount and a running total).
void BM_GenerateLabels(benchmark::State& state)
{
    const int records = static_cast<int>(state.range(0));
    auto* form = ui::CreateComponent<ui::TForm>(nullptr);
    auto* report = new TRpReport(form);
    report->SetParent(form);
    auto* detail = new TRpBand(form);
    detail->SetParent(report);
    detail->SetBandType(TRpBandType::rbDetail);
    detail->Size().SetUnits(TRpUnit::Native);
    detail->Size().SetHeight(50);
    auto* label = Place<TRpLabel>(form, detail, 0, 400, 45);
    label->SetCaption("Konverze č.");
    auto* number = Place<TRpExpr>(form, detail, 400, 300, 45);
    number->SetExpression("COUNT");
    auto* amount = Place<TRpExpr>(form, detail, 700, 400, 45);
    amount->SetExpression("COUNT * 12.5");
    amount->SetMask("%m");
    auto* total = Place<TRpExpr>(form, detail, 1100, 500, 45);
    total->SetExpression("SUM(12.5)");
    total->SetMask("#,##0.00");
    int left = 0;
    report->OnNeedData = [&](core::TObject*, bool& more) { more = left-- > 0; };
    for (auto _ : state) {
        left = records;
        report->GenerateReport(false);
        benchmark::DoNotOptimize(report->PageCount());
    }
    state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations()) * records);
    ui::FreeComponent(form);
}
BENCHMARK(BM_GenerateLabels)->Arg(1000)->Unit(benchmark::kMillisecond);

} // namespace
