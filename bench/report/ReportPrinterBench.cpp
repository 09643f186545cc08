// The report printer's page work: a stored run that records pages of text
// and keeps them in the page list (in memory, and past the memory limit in a
// temporary file), and reading a page back as a metafile for the preview.

#include "report/printer/RpPrinter.h"

#include <benchmark/benchmark.h>


#include <string>

using namespace report;

namespace {

constexpr int kLinesPerPage = 50;

void DrawPage(TRpPrinter& printer, int page)
{
    gfx::TCanvas& canvas = *printer.Canvas();
    for (int line = 0; line < kLinesPerPage; ++line) {
        long double y = 150 + line * 50;
        canvas.TextOut(printer.XPos(150), printer.YPos(y),
                       "Konverze č. " + std::to_string(page * 100 + line) + " – Rozsudek Okresního soudu");
        canvas.MoveTo(printer.XPos(150), printer.YPos(y + 45));
        canvas.LineTo(printer.XPos(1950), printer.YPos(y + 45));
    }
}

// Pages of a stored run per second; the argument is the memory limit in bytes.
void BM_StoredRun(benchmark::State& state)
{
    const int pages = 100;
    for (auto _ : state) {
        TRpPrinter printer(nullptr);
        printer.Settings().SetMemoryLimit(static_cast<std::int32_t>(state.range(0)));
        printer.BeginDoc();
        for (int page = 1; page <= pages; ++page) {
            printer.NewPage();
            DrawPage(printer, page);
        }
        printer.EndDoc();
        benchmark::DoNotOptimize(printer.PageCount());
    }
    state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations()) * pages);
}
BENCHMARK(BM_StoredRun)->Arg(250000)->Arg(64 << 20)->Unit(benchmark::kMillisecond);

// Reading pages in an order a user pages through a preview.
void BM_GetPage(benchmark::State& state)
{
    const int pages = 100;
    TRpPrinter printer(nullptr);
    printer.SetCompression(state.range(0) != 0);
    printer.BeginDoc();
    for (int page = 1; page <= pages; ++page) {
        printer.NewPage();
        DrawPage(printer, page);
    }
    printer.EndDoc();
    int page = 1;
    for (auto _ : state) {
        std::unique_ptr<gfx::TMetafile> metafile = printer.GetPage(page);
        benchmark::DoNotOptimize(metafile.get());
        page = (page + 36) % pages + 1; // jumps about, as a user pages and searches
    }
    state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations()));
}
BENCHMARK(BM_GetPage)->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);

} // namespace
