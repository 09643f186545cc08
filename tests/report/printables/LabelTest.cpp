// Labels: lines from the caption (breaks, word wrap, automatic width), the
// caption following the name, the "FontSize" stream property, printing line
// by line with stretching and continuation on the next page, OnPrint, what an
// export filter gets, and the design-time painting.
#include "PrintableFakes.h"
#include "platform/core/Filer.h"
#include "platform/core/Streams.h"
#include "report/printables/RpLabel.h"
#include "report/printables/RpShape.h"
#include "report/printer/RpExportFilter.h"

#include <gtest/gtest.h>

#include <QImage>

using namespace report;
using namespace report::fakes;
using Lines = std::vector<std::string>;

namespace {

// A label on a band of a report whose text is 7 native units a character
// and 16 high; the label's pixels are native units (254 pixels per inch).
class LabelTest : public testing::Test {
protected:
    LabelTest() : band(&report, &report), label(nullptr)
    {
        label.Size().SetResolution(254);
        label.SetParent(&band);
        label.SetBounds(0, 0, 70, 40);
    }
    const Lines& Format(const std::string& caption)
    {
        label.SetCaption(caption);
        return label.FormattedLines();
    }
    PanelReport report;
    FakeBand band;
    TRpLabel label;
};

class TextFilter : public TRpExportFilter {
public:
    TextFilter() : TRpExportFilter("texts") {}
    void ExportText(const ui::TFont& font, gfx::TColor color, long double x, long double y, ui::TAlignment alignment,
                    const std::string& text) override
    {
        Texts.push_back(text);
        Ys.push_back(y);
        Xs.push_back(x);
        Alignments.push_back(alignment);
        Colors.push_back(color);
        FontSizes.push_back(font.Size());
    }
    void ExportShape(TRpShape& shape, long double left, long double top) override
    {
        ShapeColors.push_back(shape.Brush().Color());
        ShapePens.push_back(shape.Pen().Style());
        ShapeBounds.push_back(gfx::Bounds(shape.Left(), shape.Top(), shape.Width(), shape.Height()));
        ShapeAt.push_back({static_cast<int>(left), static_cast<int>(top)});
    }
    Lines Texts;
    std::vector<long double> Xs, Ys;
    std::vector<ui::TAlignment> Alignments;
    std::vector<gfx::TColor> Colors;
    std::vector<int> FontSizes;
    std::vector<gfx::TColor> ShapeColors;
    std::vector<gfx::TPenStyle> ShapePens;
    std::vector<gfx::TRect> ShapeBounds;
    std::vector<gfx::TPoint> ShapeAt;
};

} // namespace

TEST_F(LabelTest, StartsOpaqueWrappingAndSizingItself)
{
    TRpLabel fresh(nullptr);
    EXPECT_FALSE(fresh.Transparent());
    EXPECT_TRUE(fresh.AutoSize());
    EXPECT_FALSE(fresh.AutoStretch());
    EXPECT_TRUE(fresh.WordWrap());
    EXPECT_TRUE(fresh.ParentBiDiMode());
    EXPECT_EQ(fresh.Caption(), "");
    EXPECT_EQ(fresh.FontSize(), 0);
    EXPECT_TRUE(fresh.IsCaptionBased());
    EXPECT_TRUE(fresh.FormattedLines().empty()); // no parent, nothing formatted
    fresh.SetCaption("x");
    EXPECT_TRUE(fresh.FormattedLines().empty());
    EXPECT_EQ(fresh.PrintCaption(), "x");
    EXPECT_STREQ(TRpLabel::StaticClass().Name, "TRpLabel");
}

TEST_F(LabelTest, CrLfALoneCrAndALoneLfEachEndALine)
{
    EXPECT_EQ(Format("a\r\nb"), (Lines{"a", "b"}));
    EXPECT_EQ(Format("a\r"), (Lines{"a", ""}));
    EXPECT_EQ(Format(""), (Lines{""}));
    EXPECT_EQ(Format("\r\rc"), (Lines{"", "", "c"}));
    // A lone LF, the line end of text stored on this platform.
    EXPECT_EQ(Format("jedna\ndva"), (Lines{"jedna", "dva"}));
    EXPECT_EQ(Format("a\n"), (Lines{"a", ""}));
    EXPECT_EQ(Format("a\n\nb"), (Lines{"a", "", "b"}));
    // LF CR is two line ends, CR LF one.
    EXPECT_EQ(Format("a\n\rb\r\nc"), (Lines{"a", "", "b", "c"}));
    // Wrapped lines too.
    label.SetAutoSize(false);
    label.SetBounds(0, 0, 70, 40); // ten characters
    EXPECT_EQ(Format("hello world\nfoo"), (Lines{"hello ", "world", "foo"}));
}

TEST_F(LabelTest, AutoSizeTakesTheWidestLineAndTheFrameSides)
{
    label.SetBounds(100, 0, 70, 40);
    EXPECT_EQ(Format("abc\r\nabcdef"), (Lines{"abc", "abcdef"}));
    EXPECT_EQ(label.Width(), 42);
    EXPECT_EQ(label.Left(), 100);
    label.Frame()->SetWidth(2);
    label.Frame()->SetDrawLeft(true);
    label.Frame()->SetDrawRight(true);
    label.SetCaption("abcdefghij");
    // A side of 2 points is 7 native units, as the printing moves the text.
    EXPECT_EQ(label.Width(), 84);
    EXPECT_EQ(label.Size().NativeWidth(), 84);

    // Right alignment keeps the right edge, centre the middle.
    label.SetAlignment(ui::TAlignment::taRightJustify);
    label.SetCaption("ab");
    EXPECT_EQ(label.Width(), 28);
    EXPECT_EQ(label.Left(), 156);
    label.SetAlignment(ui::TAlignment::taCenter);
    label.SetCaption("abcd");
    EXPECT_EQ(label.Width(), 42);
    EXPECT_EQ(label.Left(), 149);
    // Mirrored for right-to-left alignment.
    label.SetAlignment(ui::TAlignment::taLeftJustify);
    label.SetBiDiMode(TBiDiMode::bdRightToLeft);
    EXPECT_EQ(label.EffectiveAlignment(), ui::TAlignment::taRightJustify);
    label.SetCaption("ab");
    EXPECT_EQ(label.Left(), 163);
}

TEST_F(LabelTest, ALabelLowerThanALineGrows)
{
    label.SetBounds(0, 0, 70, 5);
    label.SetCaption("x");
    EXPECT_EQ(label.Height(), 17);
    report.Zoom = 200;
    label.SetParent(&report);
    EXPECT_EQ(label.Height(), 34); // the zoom doubles it
    label.SetHeight(5);
    label.SetCaption("y");
    EXPECT_EQ(label.Height(), 33); // a line at the zoom
}

TEST_F(LabelTest, WordsWrapAtBlanksAndHyphens)
{
    label.SetAutoSize(false);
    label.SetBounds(0, 0, 70, 40); // ten characters
    EXPECT_EQ(Format("hello world foo"), (Lines{"hello ", "world foo"}));
    EXPECT_EQ(Format("well-known facts"), (Lines{"well-", "known ", "facts"}));
    EXPECT_EQ(Format("one two\r\nthree four five"), (Lines{"one two", "three ", "four five"}));
    // Exactly the width still fits.
    EXPECT_EQ(Format("abcdefghij"), (Lines{"abcdefghij"}));
    // A tab (stops eight characters apart) is a break too: the word behind it
    // begins the next line, after the tab only where it fits there.
    EXPECT_EQ(Format("ab\tcd"), (Lines{"ab\tcd"}));
    EXPECT_EQ(Format("ab\tcdef"), (Lines{"ab", "cdef"}));
    EXPECT_EQ(Format("abcdefghi\tx"), (Lines{"abcdefghi", "\tx"}));
    EXPECT_EQ(Format("Kód\tZboží\tcena dodavatel"), (Lines{"Kód", "Zboží", "cena ", "dodavatel"}));
    EXPECT_EQ(Format("abc def\tgh ij"), (Lines{"abc def", "gh ij"}));
}

TEST_F(LabelTest, AWordWiderThanTheLabelKeepsWhatFits)
{
    label.SetAutoSize(false);
    label.SetBounds(0, 0, 70, 40);
    // Alone on its line: the characters that stay below the width.
    EXPECT_EQ(Format("abcdefghijklmno"), (Lines{"abcdefghi"}));
    EXPECT_EQ(Format("abcdefghijklmno xy"), (Lines{"abcdefghi", "xy"}));
    // After other words: cut from its end to the width, on a line of its own.
    EXPECT_EQ(Format("ab abcdefghijklmno"), (Lines{"ab ", "abcdefghij"}));
    EXPECT_EQ(Format("ab abcdefghijklmno\rz"), (Lines{"ab ", "abcdefghij", "z"}));
    // Behind a tab too, whether the tab began the line or not.
    EXPECT_EQ(Format("\tabcdefghijklmno"), (Lines{"abcdefghi"}));
    EXPECT_EQ(Format("ab\tabcdefghijklmno"), (Lines{"ab", "abcdefghij"}));
    // Characters, not bytes, are moved.
    EXPECT_EQ(Format("ččččččččččččč"), (Lines{"ččččččččč"}));
    label.SetWidth(0);
    EXPECT_EQ(Format("ab cd"), (Lines{"", ""}));
}

TEST_F(LabelTest, WithoutWordWrapAParagraphKeepsItsFirstLine)
{
    label.SetAutoSize(false);
    label.SetWordWrap(false);
    label.SetBounds(0, 0, 70, 40);
    EXPECT_EQ(Format("hello world foo\rsecond paragraph"), (Lines{"hello ", "second "}));
    EXPECT_EQ(Format("abcdefghijklmno"), (Lines{"abcdefghi"}));
}

TEST_F(LabelTest, TheCaptionFollowsTheNameUntilItIsChanged)
{
    core::TComponent owner(nullptr);
    auto* named = new TRpLabel(&owner);
    named->SetName("TRpLabel1");
    EXPECT_EQ(named->Caption(), "TRpLabel1");
    named->SetName("Total");
    EXPECT_EQ(named->Caption(), "Total");
    named->SetCaption("Sum of all");
    named->SetName("Other");
    EXPECT_EQ(named->Caption(), "Sum of all");
    EXPECT_EQ(named->Name(), "Other");
}

TEST_F(LabelTest, FontSizeIsStoredAndAppliedAfterLoading)
{
    label.Font().SetSize(14);
    core::TMemoryStream stream;
    {
        core::TWriter writer(stream);
        label.DefineProperties(writer);
    }
    stream.SetPosition(0);
    TRpLabel copy(nullptr);
    copy.BeginLoading();
    core::TReader reader(stream);
    reader.ReadProperty([&](core::TFiler& filer) { copy.DefineProperties(filer); });
    EXPECT_EQ(copy.FontSize(), 14);
    EXPECT_EQ(copy.Font().Size(), 8);
    copy.Loaded();
    EXPECT_EQ(copy.Font().Size(), 14);

    // A stored size of 0 leaves the font alone.
    TRpLabel zero(nullptr);
    zero.BeginLoading();
    core::TMemoryStream none;
    {
        core::TWriter writer(none);
        writer.WritePropName("FontSize");
        writer.WriteInteger(0);
    }
    none.SetPosition(0);
    core::TReader reader0(none);
    reader0.ReadProperty([&](core::TFiler& filer) { zero.DefineProperties(filer); });
    zero.Loaded();
    EXPECT_EQ(zero.Font().Size(), 8);
}

TEST_F(LabelTest, WordWrapAndStretchWritersOnlyStore)
{
    label.SetAutoSize(false);
    label.SetCaption("hello world foo");
    label.SetWordWrap(false);
    EXPECT_EQ(label.FormattedLines().size(), 2u); // until the next formatting
    label.FormatLines();
    EXPECT_EQ(label.FormattedLines().size(), 1u);
    label.SetAutoStretch(true);
    EXPECT_TRUE(label.AutoStretch());
}

namespace {

// A label on a band, printed on the pages of a report printer.
class PrintedLabelTest : public LabelTest {
protected:
    PrintedLabelTest() : run(report)
    {
        label.SetAutoSize(false);
        label.SetTransparent(true);
        label.Size().SetUnits(TRpUnit::Native);
        label.Size().SetLeft(100);
        label.Size().SetTop(50);
        label.Size().SetWidth(1000);
        run.Begin();
        // The report's line height, the same on every device.
        lineHeight = report.TextHeight;
        label.BeginRun();
    }
    // Room for n lines.
    void LinesHigh(int n) { label.Size().SetHeight(lineHeight * n); }

    PageRun run;
    long double lineHeight = 0;
};

} // namespace

TEST_F(PrintedLabelTest, LinesBelowTheLabelAreNotPrintedWithoutStretching)
{
    label.SetCaption("one\rtwo\rthree\rfour");
    LinesHigh(2);
    label.PrintAt(0, 0);
    EXPECT_TRUE(label.PrintFinished());
    label.EndRun();
    run.End();
    EXPECT_EQ(run.Texts(1), (Lines{"one", "two"}));
    EXPECT_EQ(band.ExpandCalls, 0);
}

TEST_F(PrintedLabelTest, AStretchingLabelGrowsItsBandAndContinuesOnTheNextPage)
{
    label.SetCaption("one\rtwo\rthree\rfour\rfive\rsix");
    label.SetAutoStretch(true);
    LinesHigh(2);
    band.Room = lineHeight * 1.5L; // one more line fits
    label.PrintAt(0, 0);
    EXPECT_FALSE(label.PrintFinished());
    EXPECT_EQ(label.CurrentLine(), 3);
    EXPECT_EQ(band.ExpandCalls, 1);

    // The band prints it again on the next page, from where it stopped.
    run.NewPage();
    band.Expanded = 0;
    label.PrintAt(0, 0);
    EXPECT_TRUE(label.PrintFinished());
    // And a new printing starts from the first line.
    run.NewPage();
    band.Expanded = 0;
    band.Room = 0;
    label.PrintAt(0, 0);
    label.EndRun();
    run.End();
    EXPECT_EQ(run.Texts(1), (Lines{"one", "two", "three"}));
    EXPECT_EQ(run.Texts(2), (Lines{"four", "five", "six"}));
    EXPECT_EQ(run.Texts(3), (Lines{"one", "two"}));
}

TEST_F(PrintedLabelTest, WithoutRoomOnTheBandTheRestWaits)
{
    label.SetCaption("one\rtwo\rthree");
    label.SetAutoStretch(true);
    LinesHigh(1);
    label.PrintAt(0, 0);
    EXPECT_FALSE(label.PrintFinished());
    EXPECT_EQ(label.CurrentLine(), 1);
    // Without a band there is nothing to grow.
    TRpLabel loose(nullptr);
    loose.SetParent(&report);
    loose.SetAutoSize(false);
    loose.SetAutoStretch(true);
    loose.Size().SetUnits(TRpUnit::Native);
    loose.Size().SetHeight(lineHeight);
    loose.SetCaption("a\rb");
    loose.BeginRun();
    loose.PrintAt(0, 0);
    EXPECT_FALSE(loose.PrintFinished());
    loose.EndRun();
}

TEST_F(PrintedLabelTest, OnPrintChangesOnlyThatPrinting)
{
    label.SetCaption("Amount");
    LinesHigh(2);
    int calls = 0;
    label.OnPrint = [&](core::TObject* sender, std::string& value) {
        EXPECT_EQ(sender, &label);
        EXPECT_EQ(value, "Amount");
        if (++calls == 1)
            value = "Changed\rtwice";
    };
    label.PrintAt(0, 0);
    EXPECT_EQ(label.PrintCaption(), "Amount");
    run.NewPage();
    label.PrintAt(0, 0);
    label.EndRun();
    run.End();
    EXPECT_EQ(calls, 2);
    EXPECT_EQ(run.Texts(1), (Lines{"Changed", "twice"}));
    EXPECT_EQ(run.Texts(2), (Lines{"Amount"}));
}

TEST_F(PrintedLabelTest, AHandlerIsNotAskedForAnEmptyText)
{
    label.SetCaption("");
    int calls = 0;
    label.OnPrint = [&](core::TObject*, std::string&) { ++calls; };
    label.PrintAt(0, 0);
    EXPECT_EQ(calls, 0);
}

TEST_F(PrintedLabelTest, DisabledVisibleLabelsDoNotPrint)
{
    label.SetCaption("hidden");
    LinesHigh(1);
    label.SetEnabled(false);
    label.PrintAt(0, 0);
    label.SetVisible(false);
    label.PrintAt(0, 0);
    label.EndRun();
    run.End();
    EXPECT_EQ(run.Texts(1), (Lines{"hidden"}));
}

TEST_F(PrintedLabelTest, AnExportFilterGetsEveryLineAndAColouredBackground)
{
    TextFilter filter;
    report.Filter = &filter;
    label.SetCaption("first\r\rthird");
    label.SetTransparent(false);
    label.SetColor(gfx::clYellow);
    label.SetAlignment(ui::TAlignment::taRightJustify);
    LinesHigh(3);
    label.PrintAt(200, 300);
    label.EndRun();
    run.End();
    // The empty line is skipped, but takes its height.
    ASSERT_EQ(filter.Texts, (Lines{"first", "third"}));
    EXPECT_EQ(filter.Xs[0], 300 + 1000); // right alignment writes from the right edge
    EXPECT_EQ(filter.Ys[0], 350);
    EXPECT_NEAR(static_cast<double>(filter.Ys[1]), static_cast<double>(350 + 2 * lineHeight), 1e-9);
    EXPECT_EQ(filter.Alignments[0], ui::TAlignment::taRightJustify);
    EXPECT_EQ(filter.Colors[0], gfx::clYellow);
    EXPECT_EQ(filter.FontSizes[0], 8);
    ASSERT_EQ(filter.ShapeColors.size(), 1u);
    EXPECT_EQ(filter.ShapeColors[0], gfx::clYellow);
    EXPECT_EQ(filter.ShapePens[0], gfx::TPenStyle::psClear);
    const auto& printer = run.Printer();
    EXPECT_EQ(filter.ShapeAt[0], (gfx::TPoint{printer.XPos(300), printer.YPos(350)}));
    EXPECT_EQ(filter.ShapeBounds[0].Width(), printer.XSize(1000));
    EXPECT_EQ(filter.ShapeBounds[0].Height(), printer.YSize(lineHeight * 3));
    // The page has the yellow background and the text on it.
    QImage page = run.Page(1);
    EXPECT_TRUE(IsColor(page, printer.XPos(320), printer.YPos(360), Qt::yellow));
}

TEST_F(PrintedLabelTest, AWhiteBackgroundIsNotExported)
{
    TextFilter filter;
    report.Filter = &filter;
    label.SetCaption("x");
    label.SetTransparent(false);
    label.PrintAt(0, 0);
    EXPECT_TRUE(filter.ShapeColors.empty());
    EXPECT_EQ(filter.Texts, (Lines{"x"}));
}

TEST_F(PrintedLabelTest, TheFrameIsDrawnAroundTheLinesAndTheGrowth)
{
    label.SetCaption("a\rb\rc");
    label.SetAutoStretch(true);
    label.Frame()->SetDrawBottom(true);
    label.Frame()->SetDrawTop(true);
    label.Frame()->SetColor(gfx::clRed);
    LinesHigh(1);
    band.Room = lineHeight * 5;
    label.PrintAt(0, 0);
    label.EndRun();
    run.End();
    EXPECT_EQ(run.Texts(1), (Lines{"a", "b", "c"}));
    const auto& printer = run.Printer();
    QImage page = run.Page(1);
    const int w = 4; // 1 point in native units, rounded
    EXPECT_TRUE(IsColor(page, printer.XPos(500), printer.YPos(50), Qt::red));
    // The bottom side lies below the two lines the band grew by.
    const int bottom = printer.YPos(50 + w + lineHeight + band.Expanded) - 1;
    EXPECT_TRUE(IsColor(page, printer.XPos(500), bottom, Qt::red));
    EXPECT_EQ(band.Expanded, lineHeight * 2);
}

TEST_F(LabelTest, DesignPaintingShowsTheTextOnTheLabelsColour)
{
    label.SetAutoSize(false);
    label.SetBounds(0, 0, 60, 30);
    label.SetColor(gfx::clYellow);
    label.SetCaption("");
    QImage image(60, 30, QImage::Format_RGB32);
    label.PaintTo(image);
    EXPECT_TRUE(IsColor(image, 30, 15, Qt::yellow));
    EXPECT_TRUE(IsColor(image, 1, 0, Qt::black)); // corner marks stay on top
    label.SetCaption("WWW");
    label.Font().SetColor(gfx::clBlue);
    label.PaintTo(image);
    bool blue = false;
    for (int y = 0; y < 16; ++y)
        for (int x = 0; x < 30; ++x)
            blue = blue || (image.pixelColor(x, y).blue() > 200 && image.pixelColor(x, y).red() < 100);
    EXPECT_TRUE(blue);
    label.BeginRun();
    QImage untouched(60, 30, QImage::Format_RGB32);
    untouched.fill(Qt::gray);
    label.PaintTo(untouched);
    EXPECT_TRUE(IsColor(untouched, 30, 15, Qt::gray));
    label.EndRun();
}
