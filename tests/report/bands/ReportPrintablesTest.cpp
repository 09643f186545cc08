// Labels, expression labels and shapes in a generated report: field values
// and totals on the pages, a label stretching its band and continuing on the
// next page, and shapes drawn where their band printed.
#include "BandTestSupport.h"

#include "platform/core/FormatSettings.h"
#include "platform/gfx/MetafilePlayer.h"
#include "platform/ui/controls/ExtCtrls.h"
#include "report/printables/RpExprLabel.h"
#include "report/printables/RpLabel.h"
#include "report/printables/RpShape.h"
#include "report/printer/RpPrinter.h"

#include <gtest/gtest.h>

#include <QImage>
#include <QPainter>

namespace report::testing {
namespace {

using Pages = std::vector<std::vector<std::string>>;

class ReportPrintables : public ::testing::Test {
protected:
    ReportPrintables() : saved_(core::FormatSettings) { core::FormatSettings = core::TFormatSettings::Czech(); }
    ~ReportPrintables() override { core::FormatSettings = saved_; }
    core::TFormatSettings saved_;
};

} // namespace

TEST_F(ReportPrintables, FieldValuesPerRecordAndATotalInTheSummary)
{
    ReportForm f({"'A', 'x', 'první', 1200", "'A', 'x', 'druhá', 34", "'B', 'y', 'třetí', 5"});
    f.Query()->Open();
    A4(*f.Report());
    TRpBand* detail = f.AddBand(TRpBandType::rbDetail, "Detail", 60);
    TRpBand* summary = f.AddBand(TRpBandType::rbSummary, "Summary", 60);
    auto* name = Place<TRpExpr>(f.Form(), detail, 0, 0, 600, 50);
    name->SetExpression("Query.NAME");
    auto* amount = Place<TRpExpr>(f.Form(), detail, 700, 0, 400, 50);
    amount->SetExpression("Query.AMOUNT");
    amount->SetMask("#,##0.00");
    auto* title = Place<TRpLabel>(f.Form(), summary, 0, 0, 600, 50);
    title->SetCaption("Celkem");
    auto* total = Place<TRpExpr>(f.Form(), summary, 700, 0, 400, 50);
    total->SetExpression("SUM(Query.AMOUNT)");
    total->SetMask("%m");
    auto* count = Place<TRpExpr>(f.Form(), summary, 1200, 0, 300, 50);
    count->SetExpression("COUNT");

    f.Generate();
    const std::string nbsp = "\u00A0";
    EXPECT_EQ(f.PageTexts(), (Pages{{"první", "1" + nbsp + "200,00", "druhá", "34,00", "třetí", "5,00", "Celkem",
                                     "1" + nbsp + "239,00 Kč", "3"}}));
    // After the run the labels show their expressions again.
    EXPECT_EQ(total->PrintCaption(), "SUM(Query.AMOUNT)");
    EXPECT_FALSE(total->IsPrinting());

    // A second run starts the totals afresh.
    f.Generate();
    EXPECT_EQ(f.PageTexts().at(0).at(7), "1" + nbsp + "239,00 Kč");
}

TEST_F(ReportPrintables, AStretchingLabelGrowsItsBandAndGoesOnOnTheNextPage)
{
    ReportForm f({"'A', 'x', 'r1', 1"});
    f.Query()->Open();
    A4(*f.Report());
    TRpBand* detail = f.AddBand(TRpBandType::rbDetail, "Detail", 100);
    TRpBand* summary = f.AddBand(TRpBandType::rbSummary, "Summary", 50);
    auto* label = Place<TRpLabel>(f.Form(), detail, 0, 0, 1000, 60);
    label->SetAutoSize(false);
    label->SetAutoStretch(true);
    std::string caption;
    const int lines = 120; // more than one page holds
    for (int i = 1; i <= lines; ++i)
        caption += (i > 1 ? "\r\n" : "") + std::string("line ") + std::to_string(i);
    label->SetCaption(caption);
    auto* after = Place<TRpLabel>(f.Form(), summary, 0, 0, 1000, 50);
    after->SetCaption("end");

    f.Generate();
    const Pages pages = f.PageTexts();
    ASSERT_GE(pages.size(), 2u);
    std::vector<std::string> all;
    for (const auto& page : pages)
        all.insert(all.end(), page.begin(), page.end());
    ASSERT_EQ(all.size(), static_cast<std::size_t>(lines + 1));
    for (int i = 1; i <= lines; ++i)
        EXPECT_EQ(all[static_cast<std::size_t>(i - 1)], "line " + std::to_string(i));
    EXPECT_EQ(all.back(), "end");
    // Every page but the last is filled, and the summary follows the last line.
    EXPECT_EQ(pages.back().back(), "end");
    EXPECT_GT(pages.front().size(), 40u);
}

TEST_F(ReportPrintables, ShapesPrintWhereTheirBandPrinted)
{
    ReportForm f({"'A', 'x', 'r1', 1", "'A', 'x', 'r2', 2"});
    f.Query()->Open();
    A4(*f.Report());
    TRpBand* detail = f.AddBand(TRpBandType::rbDetail, "Detail", 254);
    auto* box = Place<TRpShape>(f.Form(), detail, 254, 0, 254, 127);
    box->Pen().SetColor(gfx::clRed);
    box->Brush().SetColor(gfx::clRed);
    f.Generate();

    TRpPrinter* printer = f.Report()->RpPrinter();
    ASSERT_NE(printer, nullptr);
    std::unique_ptr<gfx::TMetafile> page = printer->GetPage(1);
    ASSERT_NE(page, nullptr);
    QImage image(page->Width(), page->Height(), QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    gfx::PlayEnhMetafile(painter, *page, QRectF(0, 0, page->Width(), page->Height()));
    painter.end();
    // Left margin 100 + 254, top margin 100; the second record 254 lower.
    for (long double top : {100.0L, 354.0L}) {
        EXPECT_EQ(image.pixelColor(printer->XPos(354 + 127), printer->YPos(top + 60)), QColor(Qt::red)) << top;
        EXPECT_EQ(image.pixelColor(printer->XPos(354 + 127), printer->YPos(top + 200)), QColor(Qt::white)) << top;
    }
}

TEST_F(ReportPrintables, ALabelPlacedBeforeItsBandJoinsTheReportPrintsForIt)
{
    ReportForm f({"'A', 'x', 'r1', 1"});
    f.Query()->Open();
    A4(*f.Report());
    // A band built apart, its label placed on it, and only then put on the report.
    auto* detail = new TRpBand(f.Form());
    detail->SetName("Detail");
    detail->SetBandType(TRpBandType::rbDetail);
    auto* label = Place<TRpLabel>(f.Form(), detail, 0, 0, 1000, 60);
    label->SetCaption("Ověřovací doložka");
    // A label further down, in a panel on the band.
    auto* panel = new ui::TPanel(f.Form());
    panel->SetParent(detail);
    auto* deep = new TRpLabel(f.Form());
    deep->SetParent(panel);
    EXPECT_EQ(label->ParentReport(), nullptr);
    detail->SetParent(f.Report());
    EXPECT_EQ(label->ParentReport(), f.Report());
    detail->Size().SetUnits(TRpUnit::Native);
    detail->Size().SetHeight(100);

    f.Generate();
    EXPECT_EQ(f.PageTexts(), (Pages{{"Ověřovací doložka"}}));
    EXPECT_EQ(deep->ParentReport(), f.Report());

    // Off the report the labels let go of it.
    detail->SetParent(f.Form());
    EXPECT_EQ(label->ParentReport(), nullptr);
    EXPECT_EQ(deep->ParentReport(), nullptr);
}

} // namespace report::testing
