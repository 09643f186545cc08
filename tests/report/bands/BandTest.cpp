// Bands on a report: their texts, order, links, child bands, switches and
// layout on the design surface.
#include "BandTestSupport.h"

#include "report/bands/RpControllerBand.h"
#include "report/bands/RpGroup.h"

#include "platform/gfx/Screen.h"
#include "report/bands/RpDesignColors.h"

#include <gtest/gtest.h>

#include <QImage>

#include <algorithm>

namespace report::testing {
namespace {

std::vector<std::string> Names(const std::vector<TRpCustomBand*>& bands)
{
    std::vector<std::string> names;
    for (TRpCustomBand* band : bands)
        names.push_back(band->Name());
    return names;
}

TEST(BandTypes, CaptionsAndNameStems)
{
    EXPECT_EQ(BandTypeCaptionText(TRpBandType::rbTitle), "Title");
    EXPECT_EQ(BandTypeCaptionText(TRpBandType::rbPageHeader), "Page Header");
    EXPECT_EQ(BandTypeCaptionText(TRpBandType::rbGroupFooter), "Group Footer");
    EXPECT_EQ(BandTypeCaptionText(TRpBandType::rbSubDetail), "Sub Detail");
    EXPECT_EQ(BandTypeCaptionText(TRpBandType::rbColumnHeader), "Column Header");
    EXPECT_EQ(BandTypeCaptionText(TRpBandType::rbChild), "Child");
    EXPECT_EQ(BandTypeNameText(TRpBandType::rbPageFooter), "PageFooterBand");
    EXPECT_EQ(BandTypeNameText(TRpBandType::rbOverlay), "OverlayBand");
    EXPECT_EQ(BandTypeNameText(TRpBandType::rbGroupHeader), "GroupHeaderBand");
}

TEST(BandTypes, UniqueNameTakesTheFirstFreeNumber)
{
    core::TComponent owner(nullptr);
    EXPECT_EQ(UniqueName(&owner, "DetailBand"), "DetailBand1");
    auto* a = new core::TComponent(&owner);
    a->SetName("DetailBand1");
    auto* b = new core::TComponent(&owner);
    b->SetName("DetailBand3");
    EXPECT_EQ(UniqueName(&owner, "DetailBand"), "DetailBand2");
}

TEST(BandOrder, FollowsPageHeaderTitleColumnHeaderControllerAndPageFooter)
{
    ReportForm f;
    f.AddBand(TRpBandType::rbOverlay, "Overlay", 50);
    f.AddBand(TRpBandType::rbSummary, "Summary", 50);
    f.AddBand(TRpBandType::rbPageFooter, "PageFooter", 50);
    f.AddBand(TRpBandType::rbDetail, "Detail", 50);
    auto* group = new TRpGroup(f.Form());
    group->SetName("Group");
    group->SetParent(f.Report());
    TRpBand* footer = f.AddBand(TRpBandType::rbDetail, "GroupFooter", 50);
    group->SetFooterBand(footer);
    f.AddBand(TRpBandType::rbTitle, "Title", 50);
    f.AddBand(TRpBandType::rbColumnHeader, "ColumnHeader", 50);
    f.AddBand(TRpBandType::rbPageHeader, "PageHeader", 50);

    EXPECT_EQ(footer->BandType(), TRpBandType::rbGroupFooter);
    EXPECT_EQ(group->Master(), f.Report());
    EXPECT_EQ(Names(f.Report()->BandList()),
              (std::vector<std::string>{"PageHeader", "Title", "ColumnHeader", "Group", "Detail", "GroupFooter",
                                        "Summary", "PageFooter", "Overlay"}));
}

TEST(BandOrder, WithoutTitleAndWithChildBandsAfterTheirBand)
{
    ReportForm f;
    TRpBand* footer = f.AddBand(TRpBandType::rbPageFooter, "PageFooter", 50);
    TRpBand* detail = f.AddBand(TRpBandType::rbDetail, "Detail", 50);
    f.AddBand(TRpBandType::rbColumnHeader, "ColumnHeader", 50);
    f.AddBand(TRpBandType::rbPageHeader, "PageHeader", 50);
    detail->SetHasChild(true);
    ASSERT_TRUE(detail->HasChild());
    TRpChildBand* child = detail->ChildBand();
    child->SetName("DetailChild");
    EXPECT_EQ(child->BandType(), TRpBandType::rbChild);
    EXPECT_EQ(child->Parent(), f.Report());
    child->SetHasChild(true);
    child->ChildBand()->SetName("GrandChild");
    EXPECT_EQ(Names(f.Report()->BandList()),
              (std::vector<std::string>{"PageHeader", "ColumnHeader", "Detail", "DetailChild", "GrandChild",
                                        "PageFooter"}));

    // Removing the middle child hands the grandchild to the detail band.
    detail->SetHasChild(false);
    EXPECT_EQ(Names(f.Report()->BandList()),
              (std::vector<std::string>{"PageHeader", "ColumnHeader", "Detail", "GrandChild", "PageFooter"}));
    EXPECT_EQ(detail->ChildBand()->Name(), "GrandChild");
    EXPECT_FALSE(footer->HasChild());
}

TEST(BandLinks, CircularLinksAreRefused)
{
    ReportForm f;
    TRpBand* a = f.AddBand(TRpBandType::rbDetail, "A", 50);
    TRpBand* b = f.AddBand(TRpBandType::rbDetail, "B", 50);
    a->SetLinkBand(b);
    b->SetLinkBand(a);
    EXPECT_EQ(a->LinkBand(), b);
    EXPECT_EQ(b->LinkBand(), nullptr);
    a->SetLinkBand(a);
    EXPECT_EQ(a->LinkBand(), b);
    EXPECT_EQ(a->HeightWithLinks(true), 100);
    EXPECT_EQ(a->HeightWithLinks(false), 50);

    a->SetHasChild(true);
    TRpChildBand* child = a->ChildBand();
    child->SetHasChild(true);
    TRpChildBand* grandChild = child->ChildBand();
    child->SetParentBand(grandChild);
    EXPECT_EQ(child->ParentBand(), a);

    // A freed link band leaves nothing dangling.
    delete b;
    EXPECT_EQ(a->LinkBand(), nullptr);
}

TEST(BandLinks, SubDetailMastersMustNotCloseACircle)
{
    ReportForm f;
    auto* first = new TRpSubDetail(f.Form());
    first->SetName("First");
    first->SetParent(f.Report());
    auto* second = new TRpSubDetail(f.Form());
    second->SetName("Second");
    second->SetParent(f.Report());
    EXPECT_EQ(first->Master(), f.Report());
    second->SetMaster(first);
    EXPECT_EQ(second->Master(), first);
    EXPECT_EQ(second->Controller().Master(), first);
    first->SetMaster(second);
    EXPECT_EQ(first->Master(), f.Report());
    first->SetMaster(first);
    EXPECT_EQ(first->Master(), f.Report());
    delete first;
    EXPECT_EQ(second->Master(), nullptr);
}

TEST(BandSwitches, ReportBandsCreateAndFreeStandardBands)
{
    ReportForm f;
    TRpReportBands& bands = f.Report()->Bands();
    EXPECT_FALSE(bands.HasDetail());
    bands.SetHasDetail(true);
    ASSERT_TRUE(bands.HasDetail());
    TRpCustomBand* detail = f.Report()->BandOfType(TRpBandType::rbDetail);
    EXPECT_EQ(detail->Name(), "DetailBand1");
    EXPECT_EQ(detail->Owner(), f.Form());
    bands.SetHasTitle(true);
    bands.SetHasPageFooter(true);
    EXPECT_EQ(f.Report()->BandOfType(TRpBandType::rbTitle)->Name(), "TitleBand1");
    EXPECT_EQ(Names(f.Report()->BandList()),
              (std::vector<std::string>{"TitleBand1", "DetailBand1", "PageFooterBand1"}));
    bands.SetHasDetail(false);
    EXPECT_FALSE(bands.HasDetail());
    EXPECT_EQ(f.Form()->FindComponent("DetailBand1"), nullptr);
    EXPECT_EQ(f.Report()->BandList().size(), 2u);
}

TEST(BandSwitches, SubDetailHeaderAndFooter)
{
    ReportForm f;
    auto* sub = new TRpSubDetail(f.Form());
    sub->SetName("Sub");
    sub->SetParent(f.Report());
    sub->Bands().SetHasHeader(true);
    ASSERT_NE(sub->HeaderBand(), nullptr);
    TRpCustomBand* header = sub->HeaderBand();
    EXPECT_EQ(header->BandType(), TRpBandType::rbGroupHeader);
    sub->Bands().SetHasHeader(true);
    EXPECT_EQ(sub->HeaderBand(), header);
    sub->Bands().SetHasFooter(true);
    EXPECT_EQ(sub->FooterBand()->BandType(), TRpBandType::rbGroupFooter);
    sub->Bands().SetHasHeader(false);
    EXPECT_EQ(sub->HeaderBand(), nullptr);
    EXPECT_FALSE(sub->Bands().HasHeader());
    EXPECT_TRUE(sub->Bands().HasFooter());
}

TEST(BandLayout, BandsStackBelowTheTopMarginInColumnsOrFullWidth)
{
    ReportForm f;
    TRpReport* report = f.Report();
    report->Page().SetUnits(TRpUnit::MM);
    report->Page().SetColumns(2);
    report->Page().SetColumnSpace(10);
    TRpBand* title = f.AddBand(TRpBandType::rbTitle, "Title", 100);
    TRpBand* detail = f.AddBand(TRpBandType::rbDetail, "Detail", 200);
    detail->SetHasChild(true);
    TRpChildBand* child = detail->ChildBand();

    const int dpi = detail->Size().Resolution();
    auto px = [dpi](long double native) { return static_cast<int>(std::nearbyint(native / 254 * dpi)); };
    EXPECT_EQ(title->Left(), px(100));
    EXPECT_EQ(title->Top(), px(100));
    const int usable = report->Width() - px(200);
    EXPECT_EQ(title->Width(), usable);
    EXPECT_EQ(detail->Top(), px(100) + title->Height());
    const int column = (usable - px(100)) / 2;
    EXPECT_EQ(detail->Width(), column);
    EXPECT_EQ(child->Width(), column);
    EXPECT_EQ(child->Top(), detail->Top() + detail->Height());
    // The native height survives the layout.
    detail->Size().SetUnits(TRpUnit::Native);
    EXPECT_EQ(detail->Size().Height(), 200);
}

TEST(ReportDesign, RulerMarginsAndFrameOnTheDesignSurface)
{
    SetDesignColors(FullDesignColors());
    ReportForm f;
    TRpReport& report = *f.Report();
    report.Page().SetUnits(TRpUnit::MM);
    report.Page().SetLeftMargin(20);
    report.Frame().SetDrawLeft(true);
    report.Frame().SetColor(gfx::clRed);
    const int ppi = gfx::ScreenPixelsPerInch();
    auto px = [ppi](long double mm) { return static_cast<int>(std::nearbyint(mm * 10 / 254 * ppi)); };
    QImage image(report.Width(), report.Height(), QImage::Format_RGB32);
    image.fill(Qt::white);
    report.PaintTo(image);
    // A major ruler line every centimetre, in the palette's major colour.
    EXPECT_EQ(image.pixelColor(px(10), 1), QColor(240, 240, 240));
    // The frame's left side on the left margin, between top and bottom margins.
    EXPECT_EQ(image.pixelColor(px(20), report.Height() / 2), QColor(Qt::red));

    report.Page().SetRuler(false);
    image.fill(Qt::white);
    report.PaintTo(image);
    EXPECT_EQ(image.pixelColor(px(10), 1), QColor(Qt::white));
    EXPECT_EQ(image.pixelColor(px(20), px(5)), QColor(Qt::white));
    EXPECT_EQ(image.pixelColor(px(20), report.Height() / 2), QColor(Qt::red));
}

TEST(ReportZoom, OnlyOneToThreeHundredPercent)
{
    ReportForm f;
    f.Report()->SetZoom(0);
    EXPECT_EQ(f.Report()->Zoom(), 100);
    f.Report()->SetZoom(301);
    EXPECT_EQ(f.Report()->Zoom(), 100);
    const int width = f.Report()->Width();
    f.Report()->SetZoom(300);
    EXPECT_EQ(f.Report()->Zoom(), 300);
    EXPECT_NEAR(f.Report()->Width(), width * 3, 3);
}

TEST(ReportVariables, StartWithPageColumnAndTitle)
{
    ReportForm f;
    TRpEvEnvironment& functions = f.Report()->Functions();
    ASSERT_EQ(functions.Count(), 3);
    EXPECT_EQ(functions.Get(0), "PAGENUMBER");
    EXPECT_EQ(functions.Get(1), "COLUMNNUMBER");
    EXPECT_EQ(functions.Get(2), "REPORTTITLE");
    EXPECT_EQ(functions.Variable("REPORTTITLE")->ExpressionText, "''");
    EXPECT_EQ(f.Report()->Options(), FirstPageHeader | LastPageFooter);
}

} // namespace
} // namespace report::testing
