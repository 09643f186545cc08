// Generating reports to stored pages: page headers and footers, columns,
// forced breaks, continued bands, the texts on the pages, messages and
// failing runs.
#include "BandTestSupport.h"

#include "platform/core/Unicode.h"
#include "platform/gfx/PainterCanvas.h"
#include "platform/ui/kernel/Windows.h"
#include "report/bands/RpGroup.h"
#include "report/printer/RpPrinter.h"
#include "report/printer/RpWindowMessages.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <stdexcept>

namespace report::testing {
namespace {

using Names = std::vector<std::string>;
using Place = TextPrintable::Place;

TEST(ReportRun, PagesFillBetweenPageHeaderAndFooter)
{
    ReportForm f(Rows(10));
    f.Query()->Open();
    A4(*f.Report());
    TRpBand* header = f.AddBand(TRpBandType::rbPageHeader, "PageHeader", 100);
    TRpBand* footer = f.AddBand(TRpBandType::rbPageFooter, "PageFooter", 100);
    TRpBand* detail = f.AddBand(TRpBandType::rbDetail, "Detail", 500);
    TextPrintable* h = f.AddText(header, "h");
    TextPrintable* d = f.AddText(detail, "d");
    TextPrintable* p = f.AddText(footer, "p");
    f.Generate();
    EXPECT_EQ(f.Report()->PageCount(), 2);
    EXPECT_EQ(f.Report()->RpPrinter()->PageCount(), 2);
    EXPECT_EQ(h->Printed, (std::vector<Place>{{1, 100, 100}, {2, 100, 100}}));
    EXPECT_EQ(p->Printed, (std::vector<Place>{{1, 100, 2770}, {2, 100, 2770}}));
    ASSERT_EQ(d->Printed.size(), 10u);
    EXPECT_EQ(d->Printed[0], (Place{1, 100, 200}));
    EXPECT_EQ(d->Printed[4], (Place{1, 100, 2200}));
    EXPECT_EQ(d->Printed[5], (Place{2, 100, 200}));

    f.Report()->SetOptions(0);
    f.Generate();
    EXPECT_EQ(h->Printed, (std::vector<Place>{{2, 100, 100}}));
    EXPECT_EQ(p->Printed, (std::vector<Place>{{1, 100, 2770}}));
}

TEST(ReportRun, ColumnsFillBeforeANewPage)
{
    ReportForm f(Rows(7));
    f.Query()->Open();
    A4(*f.Report());
    f.Report()->Page().SetColumns(3);
    f.Report()->Page().SetColumnSpace(5);
    TRpBand* title = f.AddBand(TRpBandType::rbTitle, "Title", 300);
    TRpBand* detail = f.AddBand(TRpBandType::rbDetail, "Detail", 1000);
    TextPrintable* t = f.AddText(title, "t");
    TextPrintable* d = f.AddText(detail, "d");
    f.Generate();
    const int width = static_cast<int>(std::nearbyint(detail->Size().NativeWidth()));
    EXPECT_EQ(t->Printed, (std::vector<Place>{{1, 100, 100}}));
    ASSERT_EQ(d->Printed.size(), 7u);
    // Page 1 holds columns under the title; column 2 starts at the column top.
    EXPECT_EQ(d->Printed[0], (Place{1, 100, 400}));
    EXPECT_EQ(d->Printed[1], (Place{1, 100, 1400}));
    EXPECT_EQ(d->Printed[2], (Place{1, 100 + 50 + width, 400}));
    EXPECT_EQ(d->Printed[4], (Place{1, 100 + 2 * (50 + width), 400}));
    // Page 2 starts in column 1 at the top margin.
    EXPECT_EQ(d->Printed[6], (Place{2, 100, 100}));
    EXPECT_EQ(f.Report()->PageCount(), 2);
}

TEST(ReportRun, ForcedNewPageRightAfterTheTitleStaysOnItsPage)
{
    ReportForm f(Rows(3));
    f.Query()->Open();
    A4(*f.Report());
    TRpBand* title = f.AddBand(TRpBandType::rbTitle, "Title", 200);
    TRpBand* detail = f.AddBand(TRpBandType::rbDetail, "Detail", 100);
    detail->SetForceNewPage(true);
    f.AddText(title, "t");
    TextPrintable* d = f.AddText(detail, "d");
    f.Generate();
    EXPECT_EQ(d->Printed, (std::vector<Place>{{1, 100, 300}, {2, 100, 100}, {3, 100, 100}}));
}

TEST(ReportRun, ForcedNewPageWithoutTitleBreaksFromTheSecondRecord)
{
    ReportForm f(Rows(3));
    f.Query()->Open();
    A4(*f.Report());
    TRpBand* detail = f.AddBand(TRpBandType::rbDetail, "Detail", 100);
    detail->SetForceNewPage(true);
    TextPrintable* d = f.AddText(detail, "d");
    f.Generate();
    EXPECT_EQ(d->Printed, (std::vector<Place>{{1, 100, 100}, {2, 100, 100}, {3, 100, 100}}));
}

TEST(ReportRun, ForcedNewColumnsSkipTheFirstRequestInColumnOne)
{
    ReportForm f(Rows(4));
    f.Query()->Open();
    A4(*f.Report());
    f.Report()->Page().SetColumns(2);
    TRpBand* detail = f.AddBand(TRpBandType::rbDetail, "Detail", 100);
    detail->SetForceNewColumn(true);
    TextPrintable* d = f.AddText(detail, "d");
    f.Generate();
    ASSERT_EQ(d->Printed.size(), 4u);
    EXPECT_EQ(d->Printed[0], (Place{1, 100, 100}));
    EXPECT_EQ(d->Printed[1], (Place{1, 100, 200}));
    EXPECT_EQ(d->Printed[2].Page, 1);
    EXPECT_GT(d->Printed[2].X, 100);
    EXPECT_EQ(d->Printed[2].Y, 100);
    EXPECT_EQ(d->Printed[3], (Place{2, 100, 100}));
}

TEST(ReportRun, APageFootersChildPrintsBelowItAsAPageFooter)
{
    ReportForm f(Rows(30));
    f.Query()->Open();
    A4(*f.Report());
    TRpBand* footer = f.AddBand(TRpBandType::rbPageFooter, "PageFooter", 100);
    footer->SetHasChild(true);
    TRpChildBand* child = footer->ChildBand();
    child->SetName("FooterChild");
    child->Size().SetUnits(TRpUnit::Native);
    child->Size().SetHeight(50);
    f.Watch(child);
    TextPrintable* c = f.AddText(child, "c");
    TextPrintable* d = f.AddText(f.AddBand(TRpBandType::rbDetail, "Detail", 530), "d");
    f.Generate();
    // The page keeps room for the footer and its child: a fifth band would
    // end at 2750, past 2970 - 100 - 150.
    EXPECT_EQ(d->Printed[3], (Place{1, 100, 1690}));
    EXPECT_EQ(d->Printed[4], (Place{2, 100, 100}));
    ASSERT_FALSE(c->Printed.empty());
    EXPECT_EQ(c->Printed[0], (Place{1, 100, 2720 + 100}));
    EXPECT_EQ(child->BandType(), TRpBandType::rbChild);
}

TEST(ReportRun, ABandWithOutputLeftGoesOnAtTheTopOfTheNextPage)
{
    ReportForm f(Rows(1));
    f.Query()->Open();
    A4(*f.Report());
    TRpBand* header = f.AddBand(TRpBandType::rbPageHeader, "PageHeader", 100);
    TRpBand* detail = f.AddBand(TRpBandType::rbDetail, "Detail", 300);
    f.AddText(header, "h");
    TextPrintable* once = f.AddText(detail, "once");
    TextPrintable* twice = f.AddText(detail, "twice", 50);
    twice->Passes = 2;
    f.Generate();
    EXPECT_EQ(once->Printed, (std::vector<Place>{{1, 100, 200}}));
    EXPECT_EQ(twice->Printed, (std::vector<Place>{{1, 100, 250}, {2, 100, 250}}));
    EXPECT_EQ(f.Log, (Names{"PageHeader", "PageHeader", "Detail"}));
    EXPECT_EQ(f.Report()->PageCount(), 2);
}

TEST(ReportRun, ABandHigherThanThePagePrintsOnceAtTheTopOfAPageOfItsOwn)
{
    ReportForm f(Rows(3));
    f.Query()->Open();
    A4(*f.Report());
    TRpBand* title = f.AddBand(TRpBandType::rbTitle, "Title", 200);
    f.AddText(title, "t");
    TRpBand* detail = f.AddBand(TRpBandType::rbDetail, "Detail", 3000);
    TextPrintable* d = f.AddText(detail, "d");
    f.Generate();
    // Not below the title, off the paper: each record at the top of its page.
    EXPECT_EQ(d->Printed, (std::vector<Place>{{2, 100, 100}, {3, 100, 100}, {4, 100, 100}}));
    EXPECT_EQ(f.Report()->PageCount(), 4);
    EXPECT_TRUE(f.Report()->Available());
}

TEST(ReportRun, SummaryAlignedToTheBottom)
{
    ReportForm f(Rows(1));
    f.Query()->Open();
    A4(*f.Report());
    f.AddBand(TRpBandType::rbPageFooter, "PageFooter", 100);
    f.AddBand(TRpBandType::rbDetail, "Detail", 100);
    TRpBand* summary = f.AddBand(TRpBandType::rbSummary, "Summary", 200);
    summary->SetAlignToBottom(true);
    TextPrintable* s = f.AddText(summary, "s");
    f.Generate();
    EXPECT_EQ(s->Printed, (std::vector<Place>{{1, 100, 2970 - 100 - 100 - 200}}));
    f.Report()->SetOptions(FirstPageHeader);
    f.Generate();
    EXPECT_EQ(s->Printed, (std::vector<Place>{{1, 100, 2970 - 100 - 200}}));
}

TEST(ReportRun, TextsOfAGroupedReportOnItsPages)
{
    ReportForm f({"'A', 'x', 'jedna', 1", "'A', 'x', 'dvě', 2", "'A', 'x', 'tři', 3", "'B', 'x', 'čtyři', 4",
                  "'B', 'x', 'pět', 5"});
    f.Query()->Open();
    A4(*f.Report());
    f.AddText(f.AddBand(TRpBandType::rbPageHeader, "PageHeader", 100), "Strana {PAGE}");
    f.AddText(f.AddBand(TRpBandType::rbPageFooter, "PageFooter", 100), "Zápatí {PAGE}");
    f.AddText(f.AddBand(TRpBandType::rbTitle, "Title", 200), "Přehled konverzí");
    auto* group = new TRpGroup(f.Form());
    group->SetName("Group");
    group->SetParent(f.Report());
    group->SetExpression("grp");
    group->Size().SetUnits(TRpUnit::Native);
    group->Size().SetHeight(100);
    f.AddText(group, "Skupina {grp}");
    TRpBand* groupFooter = f.AddBand(TRpBandType::rbDetail, "GroupFooter", 100);
    group->SetFooterBand(groupFooter);
    f.AddText(groupFooter, "Konec {grp}");
    f.AddText(f.AddBand(TRpBandType::rbDetail, "Detail", 400), "{name}");
    f.AddText(f.AddBand(TRpBandType::rbSummary, "Summary", 100), "Celkem");
    f.Report()->SetReportTitle("Konverze");
    f.Generate();

    ASSERT_EQ(f.Report()->PageCount(), 2);
    EXPECT_EQ(f.PageTexts(), (std::vector<Names>{{"Strana 1", "Přehled konverzí", "Skupina A", "jedna", "dvě", "tři",
                                                  "Konec A", "Skupina B", "čtyři", "pět", "Zápatí 1"},
                                                 {"Strana 2", "Konec B", "Celkem", "Zápatí 2"}}));
    EXPECT_EQ(f.Report()->RpPrinter()->Title(), "Konverze");
    EXPECT_EQ(f.Report()->RpPrinter()->Status(), TRpPrinterStatus::Finished);
}

TEST(ReportRun, BeforePrintCanRefuseTheRun)
{
    ReportForm f(Rows(2));
    f.Query()->Open();
    f.AddBand(TRpBandType::rbDetail, "Detail", 100);
    f.Report()->BeforePrint = [](TCustomRpReport*, bool& print) { print = false; };
    f.Generate();
    EXPECT_TRUE(f.Log.empty());
    EXPECT_EQ(f.Report()->RpPrinter(), nullptr);
    EXPECT_TRUE(f.Report()->Available());
}

TEST(ReportRun, AnErrorInTheLoopLeavesTheReportReadyForTheNextRun)
{
    ReportForm f(Rows(3));
    f.Query()->Open();
    TRpBand* detail = f.AddBand(TRpBandType::rbDetail, "Detail", 100);
    int n = 0;
    detail->BeforePrint = [&](TRpCustomBand*, bool&) {
        if (++n == 2)
            throw std::runtime_error("broken");
    };
    EXPECT_THROW(f.Generate(), std::runtime_error);
    EXPECT_TRUE(f.Report()->Available());
    EXPECT_EQ(f.Report()->DataSets(), nullptr);
    EXPECT_EQ(f.Report()->RpPrinter()->Status(), TRpPrinterStatus::Finished);
    EXPECT_EQ(f.Report()->Page().Units(), TRpUnit::MM);
    EXPECT_FALSE(f.Report()->Functions().IsPrepared());
    f.Generate();
    EXPECT_EQ(f.Log, (Names{"Detail", "Detail", "Detail"}));
}

TEST(ReportMessages, PagesAvailableAndPreviewClosed)
{
    ReportForm f(Rows(2));
    f.Query()->Open();
    f.AddText(f.AddBand(TRpBandType::rbDetail, "Detail", 100), "d");
    f.Generate();
    ASSERT_NE(f.Report()->RpPrinter(), nullptr);
    ui::SendMessage(f.Report()->Handle(), WM_RPAVAILABLEPAGES, 2);
    EXPECT_EQ(f.Report()->DesignImage(), nullptr);
    ui::SendMessage(f.Report()->Handle(), WM_RPAVAILABLEPAGES, 1);
    ASSERT_NE(f.Report()->DesignImage(), nullptr);
    ui::SendMessage(f.Report()->Handle(), WM_RPPREVIEWCLOSED);
    EXPECT_EQ(f.Report()->RpPrinter(), nullptr);
}

TEST(ReportMessages, ClosingThePreviewDuringARunCancelsIt)
{
    ReportForm f(Rows(5));
    f.Query()->Open();
    TRpBand* detail = f.AddBand(TRpBandType::rbDetail, "Detail", 100);
    detail->AfterPrint = [&](TRpCustomBand*, bool) {
        f.Log.push_back("Detail");
        ui::SendMessage(f.Report()->Handle(), WM_RPPREVIEWCLOSED);
    };
    f.Generate();
    EXPECT_EQ(f.Log, (Names{"Detail"}));
    EXPECT_TRUE(f.Report()->Cancelled());
    EXPECT_TRUE(f.Report()->Available());
}

TEST(ReportText, MeasuredInNativeUnitsAlikeForEveryDevice)
{
    ReportForm f;
    TRpReport& report = *f.Report();
    ui::TFont plain;
    plain.SetName("Arial");
    plain.SetSize(10);
    ui::TFont bold;
    bold.Assign(&plain);
    bold.SetStyle(ui::fsBold);
    bold.SetSize(14);
    // A face this system lacks is measured in its stand-in face.
    ui::TFont classic;
    classic.SetName("Tahoma");
    classic.SetSize(8);
    const std::string text = "Ověřená listina č. 12";
    for (const ui::TFont* font : {&plain, &bold, &classic, &plain}) {
        // Ten pixels of a 2540-pixels-per-inch device to a native unit.
        gfx::TPainterCanvas fine(nullptr, 2540);
        ui::AssignControlFont(fine.Font(), *font);
        EXPECT_NEAR(report.ReportTextWidth(*font, text), fine.TextWidth(text) / 10.0L, 0.1L) << font->Name();
        EXPECT_NEAR(report.ReportTextHeight(*font, "W"), fine.TextHeight("W") / 10.0L, 0.1L) << font->Name();
        // The character places end where the width does.
        const std::vector<long double> positions = report.ReportTextPositions(*font, core::Utf8ToUtf16(text));
        ASSERT_EQ(positions.size(), core::Utf8ToUtf16(text).size() + 1);
        EXPECT_EQ(positions.front(), 0);
        EXPECT_NEAR(positions.back(), report.ReportTextWidth(*font, text), 0.01L);
        EXPECT_TRUE(std::is_sorted(positions.begin(), positions.end()));
    }
    EXPECT_GT(report.ReportTextWidth(bold, text), report.ReportTextWidth(plain, text));
    EXPECT_EQ(report.ReportTextWidth(plain, ""), 0);
    // 10 points are 3.5 mm: a line of the face is about 4 mm high.
    EXPECT_GT(report.ReportTextHeight(plain, "W"), 30);
    EXPECT_LT(report.ReportTextHeight(plain, "W"), 50);
}

} // namespace
} // namespace report::testing
