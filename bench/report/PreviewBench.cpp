// The preview's page work: searching every page of a stored run for a text
// (as the search button does), and painting a page as the preview shows it.

#include "platform/gfx/PainterCanvas.h"
#include "report/pages/RpPageSearch.h"
#include "report/preview/RpPreview.h"
#include "report/printer/RpPrinter.h"

#include <benchmark/benchmark.h>

#include <QImage>
#include <QPainter>

#include <memory>
#include <string>

using namespace report;

namespace {

constexpr int kPages = 100;
constexpr int kLinesPerPage = 50;

// A stored run of pages full of text lines; the last page alone holds the needle.
std::unique_ptr<TRpPrinter> StoredRun(bool compressed)
{
    auto printer = std::make_unique<TRpPrinter>(nullptr);
    printer->SetCompression(compressed);
    printer->BeginDoc();
    for (int page = 1; page <= kPages; ++page) {
        printer->NewPage();
        gfx::TCanvas& canvas = *printer->Canvas();
        for (int line = 0; line < kLinesPerPage; ++line) {
            long double y = 150 + line * 50;
            std::string text = "Konverze č. " + std::to_string(page * 100 + line) + " – Rozsudek Okresního soudu";
            if (page == kPages && line == kLinesPerPage - 1)
                text += " ŘÍZENÍ UKONČENO";
            canvas.TextOut(printer->XPos(150), printer->YPos(y), text);
        }
    }
    printer->EndDoc();
    return printer;
}

// Pages searched per second; arguments: compressed pages, match case.
void BM_SearchAllPages(benchmark::State& state)
{
    std::unique_ptr<TRpPrinter> printer = StoredRun(state.range(0) != 0);
    bool matchCase = state.range(1) != 0;
    const std::string needle = matchCase ? "ŘÍZENÍ UKONČENO" : "řízení ukončeno";
    for (auto _ : state) {
        int found = 0;
        for (int page = 1; page <= printer->PageCount(); ++page) {
            std::unique_ptr<gfx::TMetafile> metafile = printer->GetPage(page);
            if (metafile != nullptr && MetafileContainsText(needle, *metafile, matchCase))
                ++found;
        }
        if (found != 1)
            state.SkipWithError("the needle was not found once");
    }
    state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations()) * kPages);
}
BENCHMARK(BM_SearchAllPages)->Args({0, 0})->Args({0, 1})->Args({1, 0})->Unit(benchmark::kMillisecond);

// A page painted on its sheet at about the size of a maximised preview.
void BM_PaintPage(benchmark::State& state)
{
    std::unique_ptr<TRpPrinter> printer = StoredRun(false);
    std::unique_ptr<gfx::TMetafile> page = printer->GetPage(1);
    QImage image(620, 880, QImage::Format_ARGB32_Premultiplied);
    for (auto _ : state) {
        QPainter painter(&image);
        gfx::TPainterCanvas canvas(&painter);
        TRpPreviewImage::PaintPage(canvas, image.width(), image.height(), page.get());
    }
    state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations()));
}
BENCHMARK(BM_PaintPage)->Unit(benchmark::kMillisecond);

} // namespace
