// Every run ends: a stretching label that a page footer cannot hold, a band
// higher than the page, a header longer than a page, and a cancel in the
// middle of a long run. What fits is printed, the rest is given up where the
// band cannot move on, and nothing prints past the page.
#include "BandTestSupport.h"

#include "report/printables/RpLabel.h"
#include "report/printer/RpPrinter.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

namespace report::testing {
namespace {

using Texts = std::vector<std::string>;

// Lines "line 1" to "line n", CR LF apart.
std::string NumberedLines(int n)
{
    std::string text;
    for (int i = 1; i <= n; ++i)
        text += (i > 1 ? "\r\n" : "") + std::string("line ") + std::to_string(i);
    return text;
}

Texts NumberedTexts(int n)
{
    Texts texts;
    for (int i = 1; i <= n; ++i)
        texts.push_back("line " + std::to_string(i));
    return texts;
}

class BandContinuation : public ::testing::Test {
protected:
    explicit BandContinuation(int records = 1) : f(Rows(records))
    {
        f.Query()->Open();
        A4(*f.Report());
        f.Report()->SetExportFilter(&lines);
    }
    TRpLabel* Label(TRpCustomBand* band, long double top, long double height, const std::string& caption,
                    bool stretch)
    {
        auto* label = Place<TRpLabel>(f.Form(), band, 0, top, 1500, height);
        label->SetAutoSize(false);
        label->SetAutoStretch(stretch);
        label->SetTransparent(true);
        label->SetCaption(caption);
        return label;
    }
    // The report's line height of a label's font.
    long double LineHeight(TRpLabel* label) { return f.Report()->ReportTextHeight(label->Font(), "W"); }
    // Every text line of the run, in order.
    Texts AllTexts() const
    {
        Texts all;
        for (const LineRecorder::Line& line : lines.Lines)
            all.push_back(line.Text);
        return all;
    }

    ReportForm f;
    LineRecorder lines;
};

class ManyRecords : public BandContinuation {
protected:
    ManyRecords() : BandContinuation(60) {}
};

} // namespace

TEST_F(ManyRecords, APageFooterPrintsTheLinesItHoldsAndClipsTheRest)
{
    TRpBand* detail = f.AddBand(TRpBandType::rbDetail, "Detail", 100);
    auto* name = Place<TRpLabel>(f.Form(), detail, 0, 0, 1000, 60);
    name->SetCaption("record");
    TRpBand* footer = f.AddBand(TRpBandType::rbPageFooter, "PageFooter", 60);
    TRpLabel* text = Label(footer, 0, 50, "one\rtwo\rthree", true);
    ASSERT_LT(LineHeight(text), 50);
    f.Generate();

    // 2970 - 100 - 100 - 60 leaves 2710: 27 records a page, 60 on three pages.
    EXPECT_EQ(f.Report()->PageCount(), 3);
    const auto pages = lines.Pages();
    ASSERT_EQ(pages.size(), 3u);
    for (std::size_t p = 0; p < pages.size(); ++p) {
        EXPECT_EQ(std::count(pages[p].begin(), pages[p].end(), "one"), 1) << "page " << p + 1;
        EXPECT_EQ(std::count(pages[p].begin(), pages[p].end(), "two"), 0) << "page " << p + 1;
        EXPECT_EQ(std::count(pages[p].begin(), pages[p].end(), "three"), 0) << "page " << p + 1;
    }
    EXPECT_EQ(std::count(pages[2].begin(), pages[2].end(), "record"), 6);
    // Each footer line on its own page's footer strip, nothing on top of it.
    for (const LineRecorder::Line& line : lines.Lines)
        if (line.Text == "one")
            EXPECT_EQ(line.Y, 2970 - 100 - 60);
        else
            EXPECT_LT(line.Y, 2970 - 100 - 60);
    EXPECT_TRUE(text->PrintFinished());
}

TEST_F(BandContinuation, AFooterLabelTallerThanItsBandKeepsToTheBand)
{
    f.AddBand(TRpBandType::rbDetail, "Detail", 100);
    TRpBand* footer = f.AddBand(TRpBandType::rbPageFooter, "PageFooter", 60);
    // The label reaches four lines below its band and the page's margin.
    TRpLabel* text = Label(footer, 0, 0, "one\rtwo\rthree\rfour", false);
    text->Size().SetUnits(TRpUnit::Native);
    text->Size().SetHeight(LineHeight(text) * 4 + 10);
    f.Generate();
    EXPECT_EQ(f.Report()->PageCount(), 1);
    EXPECT_EQ(AllTexts(), (Texts{"one"}));
}

TEST_F(BandContinuation, ABandHigherThanThePageGoesOnWithItsLabelAndTheRunEnds)
{
    TRpBand* detail = f.AddBand(TRpBandType::rbDetail, "Detail", 4000);
    TRpLabel* text = Label(detail, 0, 4000, NumberedLines(200), true);
    f.Generate();
    // Nothing below the printable part of the page: the label goes on at the
    // top of the next page until its last line.
    const int perPage = static_cast<int>(std::floor((2770 + 1) / LineHeight(text)));
    const int pages = (200 + perPage - 1) / perPage;
    EXPECT_EQ(f.Report()->PageCount(), pages);
    EXPECT_EQ(AllTexts(), NumberedTexts(200));
    for (const LineRecorder::Line& line : lines.Lines)
        EXPECT_LE(line.Y + LineHeight(text), 2870 + 1) << line.Text;
    EXPECT_TRUE(f.Report()->Available());
}

TEST_F(BandContinuation, ALabelThatCannotPrintALineOnAFreshPageIsGivenUp)
{
    // The label starts below the page's printable part in a band that is
    // higher than the page: no page can hold any of its lines.
    TRpBand* detail = f.AddBand(TRpBandType::rbDetail, "Detail", 4000);
    TRpLabel* text = Label(detail, 3000, 100, NumberedLines(50), true);
    auto* first = Place<TRpLabel>(f.Form(), detail, 0, 0, 1000, 60);
    first->SetCaption("top");
    f.Generate();
    EXPECT_EQ(f.Report()->PageCount(), 1);
    EXPECT_EQ(AllTexts(), (Texts{"top"}));
    EXPECT_TRUE(text->PrintFinished());
}

TEST_F(BandContinuation, APageHeaderLongerThanAPageGoesOnOverPagesOnce)
{
    TRpBand* header = f.AddBand(TRpBandType::rbPageHeader, "PageHeader", 100);
    TRpLabel* text = Label(header, 0, 100, NumberedLines(150), true);
    TRpBand* detail = f.AddBand(TRpBandType::rbDetail, "Detail", 100);
    auto* record = Place<TRpLabel>(f.Form(), detail, 0, 0, 1000, 60);
    record->SetCaption("record");
    f.Generate();
    const int perPage = static_cast<int>(std::floor((2770 + 1) / LineHeight(text)));
    const int pages = (150 + perPage - 1) / perPage;
    EXPECT_EQ(f.Report()->PageCount(), pages);
    Texts expected = NumberedTexts(150);
    expected.push_back("record");
    EXPECT_EQ(AllTexts(), expected);
}

TEST_F(BandContinuation, APageHeaderThatLeavesNoRoomBreaksNoPageOfItsOwn)
{
    // Header and footer leave less than nothing between them.
    TRpBand* header = f.AddBand(TRpBandType::rbPageHeader, "PageHeader", 1500);
    f.AddText(header, "h");
    f.AddBand(TRpBandType::rbPageFooter, "PageFooter", 1500);
    f.AddBand(TRpBandType::rbDetail, "Detail", 100);
    f.Generate();
    // The header prints once, on its page, which the record's band began.
    EXPECT_EQ(f.Report()->PageCount(), 1);
    EXPECT_EQ(f.Log, (std::vector<std::string>{"PageHeader", "Detail", "PageFooter"}));
}

TEST_F(BandContinuation, AChildOfAPageFooterDoesNotGoOnEither)
{
    f.AddBand(TRpBandType::rbDetail, "Detail", 100);
    TRpBand* footer = f.AddBand(TRpBandType::rbPageFooter, "PageFooter", 60);
    footer->SetHasChild(true);
    TRpChildBand* child = footer->ChildBand();
    ASSERT_NE(child, nullptr);
    child->Size().SetUnits(TRpUnit::Native);
    child->Size().SetHeight(60);
    Label(child, 0, 50, "a\rb\rc", true);
    f.Generate();
    EXPECT_EQ(f.Report()->PageCount(), 1);
    EXPECT_EQ(AllTexts(), (Texts{"a"}));
}

// Cancelling stops a run at the next band, however the pages come.
class Cancelling : public BandContinuation {
protected:
    Cancelling() : BandContinuation(400)
    {
        f.Report()->OnStartPage = [this](TCustomRpReport* report) {
            if (report->PageCount() == 3)
                Cancel(*report);
        };
    }
    std::function<void(TCustomRpReport&)> Cancel = [](TCustomRpReport& report) { report.Cancel(); };
};

TEST_F(Cancelling, ManyRecordsStopOnThePageTheCancelCameOn)
{
    TRpBand* detail = f.AddBand(TRpBandType::rbDetail, "Detail", 100);
    Place<TRpLabel>(f.Form(), detail, 0, 0, 1000, 60)->SetCaption("record");
    f.Generate();
    EXPECT_EQ(f.Report()->PageCount(), 3);
    EXPECT_TRUE(f.Report()->Cancelled());
    EXPECT_TRUE(f.Report()->Available());
    EXPECT_EQ(f.Report()->RpPrinter()->Status(), TRpPrinterStatus::Finished);
    // Nothing printed on the third page after the cancel.
    EXPECT_EQ(lines.Pages().size(), 3u);
    EXPECT_TRUE(lines.Pages()[2].empty());
}

TEST_F(Cancelling, ALongTextStopsOnThePageTheCancelCameOn)
{
    TRpBand* detail = f.AddBand(TRpBandType::rbDetail, "Detail", 100);
    TRpLabel* text = Label(detail, 0, 100, NumberedLines(5000), true);
    f.Generate();
    EXPECT_EQ(f.Report()->PageCount(), 3);
    EXPECT_TRUE(f.Report()->Available());
    // The label gave up its rest: a next run starts from its first line.
    EXPECT_TRUE(text->PrintFinished());
    f.Report()->OnStartPage = nullptr;
    f.Report()->SetExportFilter(nullptr);
    text->SetCaption("a\rb");
    f.Generate();
    EXPECT_EQ(f.PageTexts().at(0).at(0), "a");
}

TEST_F(Cancelling, ACancelOfThePrinterStopsTheRunToo)
{
    // As the progress form's cancel button does during printing.
    Cancel = [](TCustomRpReport& report) { report.RpPrinter()->Cancel(); };
    TRpBand* detail = f.AddBand(TRpBandType::rbDetail, "Detail", 100);
    Label(detail, 0, 100, NumberedLines(5000), true);
    TRpBand* footer = f.AddBand(TRpBandType::rbPageFooter, "PageFooter", 60);
    Place<TRpLabel>(f.Form(), footer, 0, 0, 1000, 60)->SetCaption("footer");
    f.Generate();
    EXPECT_EQ(f.Report()->PageCount(), 3);
    EXPECT_TRUE(f.Report()->RunCancelled());
    EXPECT_TRUE(f.Report()->Available());
    // The footers of the first two pages, none after the cancel.
    const auto pages = lines.Pages();
    ASSERT_EQ(pages.size(), 3u);
    EXPECT_EQ(pages[0].back(), "footer");
    EXPECT_EQ(pages[1].back(), "footer");
    EXPECT_TRUE(pages[2].empty());
}

} // namespace report::testing
