// Recording, storing, playing and searching report pages: the work a report
// run and its preview do per page.
#include "platform/core/Streams.h"
#include "platform/gfx/MetafileCanvas.h"
#include "platform/gfx/MetafilePlayer.h"

#include <benchmark/benchmark.h>

#include <QGuiApplication>
#include <QImage>
#include <QPainter>

#include <cstdlib>
#include <string>

namespace {

// A register page: a title, a frame, 50 rows of five columns with lines between.
gfx::TMetafile RecordPage()
{
    gfx::TMetafile page;
    page.SetWidth(794);
    page.SetHeight(1123);
    {
        gfx::TMetafileCanvas canvas(&page, 96);
        canvas.Font().SetName("DejaVu Sans");
        canvas.Font().SetSize(14);
        canvas.Font().SetStyle(gfx::fsBold);
        canvas.Brush().SetStyle(gfx::TBrushStyle::bsClear);
        canvas.TextOut(40, 30, "Evidence ověřených konverzí – rok 2024");
        canvas.Font().SetSize(9);
        canvas.Font().SetStyle(0);
        canvas.Rectangle(36, 70, 758, 1090);
        for (int row = 0; row < 50; ++row) {
            int y = 80 + row * 20;
            canvas.TextOut(40, y, std::to_string(row + 1) + "/2024");
            canvas.TextOut(120, y, "Smlouva o převodu členských práv");
            canvas.TextOut(420, y, "Mgr. Jiří Dvořák");
            canvas.TextOut(600, y, "12. 3. 2024");
            canvas.SetTextAlign(gfx::TA_RIGHT);
            canvas.TextOut(750, y, "3");
            canvas.SetTextAlign(gfx::TA_LEFT);
            canvas.MoveTo(36, y + 18);
            canvas.LineTo(758, y + 18);
        }
    }
    return page;
}

void BM_RecordPage(benchmark::State& state)
{
    for (auto _ : state) {
        gfx::TMetafile page = RecordPage();
        benchmark::DoNotOptimize(page.Records().size());
    }
}
BENCHMARK(BM_RecordPage)->Unit(benchmark::kMillisecond);

void BM_SaveAndLoadPage(benchmark::State& state)
{
    gfx::TMetafile page = RecordPage();
    for (auto _ : state) {
        core::TMemoryStream stream;
        page.SaveToStream(stream);
        stream.SetPosition(0);
        gfx::TMetafile loaded;
        loaded.LoadFromStream(stream);
        benchmark::DoNotOptimize(loaded.Records().size());
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) * static_cast<std::int64_t>(page.Data().size()));
}
BENCHMARK(BM_SaveAndLoadPage)->Unit(benchmark::kMicrosecond);

// Playing at screen size (the preview at 100 %) and at 300 dots per inch.
void BM_PlayPage(benchmark::State& state)
{
    gfx::TMetafile page = RecordPage();
    double scale = static_cast<double>(state.range(0)) / 96.0;
    QImage image(static_cast<int>(794 * scale), static_cast<int>(1123 * scale), QImage::Format_RGB32);
    for (auto _ : state) {
        image.fill(Qt::white);
        QPainter painter(&image);
        gfx::PlayEnhMetafile(painter, page, QRectF(0, 0, image.width(), image.height()));
    }
}
BENCHMARK(BM_PlayPage)->Arg(96)->Arg(300)->Unit(benchmark::kMillisecond);

void BM_SearchPageTexts(benchmark::State& state)
{
    gfx::TMetafile page = RecordPage();
    for (auto _ : state) {
        bool found = false;
        gfx::EnumerateMetafileRecords(page, [&found](const gfx::TEmfRecord& record, const std::uint8_t* data) {
            if (auto text = gfx::TextRecordString(record, data))
                found = text->find(u"Dvořák") != std::u16string::npos && text->find(u"50/") != std::u16string::npos;
            return !found;
        });
        benchmark::DoNotOptimize(found);
    }
}
BENCHMARK(BM_SearchPageTexts)->Unit(benchmark::kMicrosecond);

} // namespace

int main(int argc, char** argv)
{
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    QGuiApplication application(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
