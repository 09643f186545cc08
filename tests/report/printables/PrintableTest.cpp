// The printable base: defaults, who prints, its size object in units and in
// the "Values" stream, bounds from the designer and from a stream, alignment
// to the band, placing on a report or band, the frame on the page and the
// design-time painting.
#include "PrintableFakes.h"
#include "platform/core/Filer.h"
#include "platform/core/Streams.h"
#include "report/printables/RpPrintable.h"

#include <gtest/gtest.h>

#include <QImage>

using namespace report;
using namespace report::fakes;

namespace {

constexpr long double kNativePerPixel = 254.0L / 96;

// A printable whose size counts in screen pixels of 96 per inch.
class Printable : public TRpPrintable {
public:
    explicit Printable(core::TComponent* owner = nullptr) : TRpPrintable(owner) { Size().SetResolution(96); }
    using TRpPrintable::SetPrintFinished;
};

QImage Painted(TRpPrintable& printable)
{
    QImage image(printable.Width(), printable.Height(), QImage::Format_RGB32);
    image.fill(Qt::gray);
    printable.PaintTo(image);
    return image;
}

} // namespace

TEST(PrintableTest, StartsWhiteTenPixelsSquareAndReadyToPrint)
{
    TRpPrintable printable(nullptr);
    EXPECT_EQ(printable.Color(), ui::RGBToColor(255, 255, 255));
    EXPECT_EQ(printable.Width(), 10);
    EXPECT_EQ(printable.Height(), 10);
    EXPECT_EQ(printable.Alignment(), ui::TAlignment::taLeftJustify);
    EXPECT_FALSE(printable.AlignToBand());
    EXPECT_TRUE(printable.PrintFinished());
    EXPECT_FALSE(printable.IsPrinting());
    EXPECT_TRUE(printable.Transparent());
    EXPECT_EQ(printable.LoadedLeft() + printable.LoadedTop() + printable.LoadedWidth() + printable.LoadedHeight(), 0);
    EXPECT_EQ(printable.Frame()->Parent(), &printable);
    EXPECT_EQ(printable.ParentReport(), nullptr);
    EXPECT_STREQ(printable.EditorClass().Name, "TRpPrintableEditor");
    EXPECT_EQ(printable.EditorClass().Create, nullptr);
    EXPECT_STREQ(TRpPrintable::StaticClass().Name, "TRpPrintable");

    // A size object of its own starts at 20 native units each.
    TRpPrintableSize size;
    size.SetUnits(TRpUnit::Native);
    EXPECT_EQ(size.Height(), 20);
    EXPECT_EQ(size.Left(), 20);
    EXPECT_EQ(size.Top(), 20);
    EXPECT_EQ(size.Width(), 20);
}

TEST(PrintableTest, OnlyAVisibleDisabledPrintableDoesNotPrint)
{
    TRpPrintable printable(nullptr);
    EXPECT_TRUE(printable.ShouldPrint());
    printable.SetVisible(false);
    EXPECT_TRUE(printable.ShouldPrint());
    printable.SetEnabled(false);
    EXPECT_TRUE(printable.ShouldPrint()); // invisible but disabled
    printable.SetVisible(true);
    EXPECT_FALSE(printable.ShouldPrint());
}

TEST(PrintableTest, SizeConvertsByDirectionAndStoresNothingOutsideItsIndexes)
{
    FakeReport report;
    report.FontSize = 10;
    TRpPrintableSize size;
    size.SetParentReport(&report);
    size.SetUnits(TRpUnit::MM);
    size.SetHeight(12.5L);
    size.SetLeft(1);
    size.SetTop(2);
    size.SetWidth(30);
    EXPECT_EQ(size.NativeHeight(), 125);
    EXPECT_EQ(size.NativeLeft(), 10);
    EXPECT_EQ(size.NativeTop(), 20);
    EXPECT_EQ(size.NativeWidth(), 300);

    size.SetUnits(TRpUnit::Inches);
    EXPECT_DOUBLE_EQ(static_cast<double>(size.Width()), 300.0 / 254);
    // Character cells: across by their width, down by their line height.
    size.SetUnits(TRpUnit::Characters);
    EXPECT_NEAR(static_cast<double>(size.Width()), 300 / (80.0 / 10 / 2.54) / 10, 1e-12);
    EXPECT_NEAR(static_cast<double>(size.Height()), 125 / (145.3 / 10 / 2.54) / 10, 1e-12);

    size.SetUnits(TRpUnit::Native);
    size.SetValue(4, 99);
    size.SetValue(-1, 99);
    EXPECT_EQ(size.NativeHeight(), 125);
    EXPECT_EQ(size.NativeLeft(), 10);
    EXPECT_EQ(size.NativeTop(), 20);
    EXPECT_EQ(size.NativeWidth(), 300);
    EXPECT_EQ(size.GetValue(7), 0);
}

TEST(PrintableTest, ValuesTravelAsFourNativeFloatsHeightLeftTopWidth)
{
    TRpPrintableSize size;
    size.SetUnits(TRpUnit::Native);
    size.SetHeight(1);
    size.SetLeft(2);
    size.SetTop(3);
    size.SetWidth(4.25L);

    core::TMemoryStream stream;
    {
        core::TWriter writer(stream);
        size.SetUnits(TRpUnit::Inches); // the unit does not change what is stored
        size.DefineProperties(writer);
    }
    stream.SetPosition(0);
    {
        core::TReader reader(stream);
        EXPECT_EQ(reader.ReadPropName(), "Values");
        reader.ReadListBegin();
        EXPECT_EQ(reader.ReadFloat(), 1);
        EXPECT_EQ(reader.ReadFloat(), 2);
        EXPECT_EQ(reader.ReadFloat(), 3);
        EXPECT_EQ(reader.ReadFloat(), 4.25L);
        reader.ReadListEnd();
    }

    stream.SetPosition(0);
    TRpPrintableSize copy;
    core::TReader reader(stream);
    reader.ReadProperty([&](core::TFiler& filer) { copy.DefineProperties(filer); });
    EXPECT_EQ(copy.NativeHeight(), 1);
    EXPECT_EQ(copy.NativeLeft(), 2);
    EXPECT_EQ(copy.NativeTop(), 3);
    EXPECT_EQ(copy.NativeWidth(), 4.25L);
}

TEST(PrintableTest, ADamagedValuesListChangesNothing)
{
    core::TMemoryStream stream;
    {
        core::TWriter writer(stream);
        writer.WritePropName("Values");
        writer.WriteListBegin();
        writer.WriteFloat(7);
        writer.WriteFloat(8);
        writer.WriteListEnd();
    }
    stream.SetPosition(0);
    TRpPrintableSize size;
    core::TReader reader(stream);
    EXPECT_THROW(reader.ReadProperty([&](core::TFiler& filer) { size.DefineProperties(filer); }),
                 core::EReadError);
    EXPECT_EQ(size.NativeHeight(), 20);
    EXPECT_EQ(size.NativeLeft(), 20);
}

TEST(PrintableTest, BoundsGoToTheSizeObjectOnlyWhereTheyDiffer)
{
    Printable printable;
    printable.Size().SetUnits(TRpUnit::Native);
    printable.SetBounds(10, 20, 30, 40);
    EXPECT_NEAR(static_cast<double>(printable.Size().Left()), 10 * kNativePerPixel, 1e-9);
    EXPECT_NEAR(static_cast<double>(printable.Size().Top()), 20 * kNativePerPixel, 1e-9);
    EXPECT_NEAR(static_cast<double>(printable.Size().Width()), 30 * kNativePerPixel, 1e-9);
    EXPECT_NEAR(static_cast<double>(printable.Size().Height()), 40 * kNativePerPixel, 1e-9);
    EXPECT_EQ(printable.Left(), 10);
    EXPECT_EQ(printable.Height(), 40);
    // The unit is the object's own again.
    EXPECT_EQ(printable.Size().Units(), TRpUnit::Native);

    // Native values that round to the same pixels are not replaced.
    printable.Size().SetLeft(100);
    printable.Size().SetWidth(501);
    const int left = printable.Left();
    const int width = printable.Width();
    printable.SetBounds(left, printable.Top(), width, printable.Height());
    EXPECT_EQ(printable.Size().NativeLeft(), 100);
    EXPECT_EQ(printable.Size().NativeWidth(), 501);
    printable.SetBounds(left, printable.Top(), width + 1, printable.Height());
    EXPECT_EQ(printable.Size().NativeLeft(), 100);
    EXPECT_NEAR(static_cast<double>(printable.Size().NativeWidth()), (width + 1) * kNativePerPixel, 1e-9);
}

TEST(PrintableTest, BoundsReadFromAStreamApplyOnlyWhereTheSizesGiveZero)
{
    Printable printable;
    printable.Size().SetUnits(TRpUnit::Native);
    printable.BeginLoading();
    printable.SetBounds(5, 0, 30, 12);
    EXPECT_EQ(printable.LoadedLeft(), 5);
    EXPECT_EQ(printable.LoadedTop(), 0); // zero is never remembered
    EXPECT_EQ(printable.LoadedWidth(), 30);
    EXPECT_EQ(printable.LoadedHeight(), 12);
    // The stream's sizes: left and width come out as 0 pixels, top and height not.
    printable.Size().SetLeft(0);
    printable.Size().SetTop(0);
    printable.Size().SetWidth(0);
    printable.Size().SetHeight(50);
    printable.Loaded();
    EXPECT_FALSE(printable.HasState(core::csLoading));
    EXPECT_EQ(printable.Left(), 5);
    EXPECT_EQ(printable.Top(), 0);
    EXPECT_EQ(printable.Width(), 30);
    EXPECT_EQ(printable.Height(), 19); // 50 native, not the remembered 12
    EXPECT_NEAR(static_cast<double>(printable.Size().NativeLeft()), 5 * kNativePerPixel, 1e-9);
}

TEST(PrintableTest, AlignsToItsBandAndNotToAReport)
{
    PanelReport report;
    FakeBand band(&report, &report);
    band.SetBounds(0, 0, 101, 50);
    Printable printable;
    printable.SetParent(&band);
    printable.SetBounds(7, 3, 120, 20);

    printable.SetAlignment(ui::TAlignment::taCenter);
    EXPECT_EQ(printable.Left(), 7); // AlignToBand is off
    printable.SetAlignToBand(true);
    EXPECT_EQ(printable.Left(), -9); // (101 - 120) / 2 cut toward zero
    printable.SetAlignment(ui::TAlignment::taRightJustify);
    EXPECT_EQ(printable.Left(), -19);
    printable.SetWidth(40);
    EXPECT_EQ(printable.Left(), 61); // resizing keeps it at the right
    printable.SetAlignment(ui::TAlignment::taLeftJustify);
    EXPECT_EQ(printable.Left(), 0);
    printable.SetAlignment(ui::TAlignment::taRightJustify);

    // The band grew: only its bounds notification moves the printable.
    band.SetBounds(0, 0, 201, 50);
    printable.BandNotify(&band, TRpPrintable::kBandPrinted);
    EXPECT_EQ(printable.Left(), 61);
    printable.BandNotify(&band, TRpPrintable::kBandBoundsChanged);
    EXPECT_EQ(printable.Left(), 161);
    EXPECT_FALSE(printable.AlignUpdating());

    Printable onReport;
    onReport.SetParent(&report);
    onReport.SetBounds(7, 3, 120, 20);
    onReport.SetAlignment(ui::TAlignment::taRightJustify);
    onReport.SetAlignToBand(true);
    EXPECT_EQ(onReport.Left(), 7);
    onReport.SetAlignment(ui::TAlignment::taCenter);
    EXPECT_EQ(onReport.Left(), 7);
    onReport.SetAlignment(ui::TAlignment::taLeftJustify);
    EXPECT_EQ(onReport.Left(), 0);
}

TEST(PrintableTest, PlacedOnAReportItTakesItsUnitZoomAndKeepsItsPlace)
{
    PanelReport report;
    report.Units = TRpUnit::Inches;
    report.Zoom = 200;
    Printable printable;
    printable.SetBounds(40, 30, 20, 10);
    printable.SetParent(&report);
    EXPECT_EQ(printable.ParentReport(), &report);
    EXPECT_EQ(printable.PartReport(), &report);
    EXPECT_EQ(printable.Size().ParentReport(), &report);
    EXPECT_EQ(printable.Size().Units(), TRpUnit::Inches);
    EXPECT_EQ(printable.Zoom(), 200);
    // The extent doubles with the zoom, the position stays where it was put.
    EXPECT_EQ(printable.Left(), 40);
    EXPECT_EQ(printable.Top(), 30);
    EXPECT_EQ(printable.Width(), 40);
    EXPECT_EQ(printable.Height(), 20);
    EXPECT_NEAR(static_cast<double>(printable.Size().NativeLeft()), 20 * kNativePerPixel, 1e-9);
    EXPECT_GT(report.DesignInvalidations, 0);

    // Setting the bounds it has stores nothing, also at a zoom.
    const long double width = printable.Size().NativeWidth();
    printable.SetBounds(printable.Left(), printable.Top(), printable.Width(), printable.Height());
    EXPECT_EQ(printable.Size().NativeWidth(), width);
}

TEST(PrintableTest, PlacedOnABandItTakesTheBandsUnitAndReport)
{
    PanelReport report;
    FakeBand band(&report, &report);
    band.Units = TRpUnit::MM;
    Printable printable;
    printable.SetBounds(12, 6, 20, 10);
    printable.SetParent(&band);
    EXPECT_EQ(printable.Size().Units(), TRpUnit::MM);
    EXPECT_EQ(printable.ParentReport(), &report);
    EXPECT_EQ(printable.Left(), 12);
    EXPECT_EQ(printable.Top(), 6);

    FakeBand loose;
    Printable alone;
    alone.SetParent(&loose);
    EXPECT_EQ(alone.ParentReport(), nullptr);
    EXPECT_EQ(alone.Size().Units(), TRpUnit::Native);
}

TEST(PrintableTest, PixelValuesFollowThePanelsZoomButTheBoundsDoNot)
{
    FakeBand band;
    band.Zoom = 200;
    Printable printable;
    printable.SetParent(&band);
    printable.Size().SetUnits(TRpUnit::Native);
    printable.Size().SetWidth(254);
    EXPECT_EQ(printable.Width(), 96);
    printable.Size().SetUnits(TRpUnit::Pixels);
    EXPECT_DOUBLE_EQ(static_cast<double>(printable.Size().Width()), 192);
    printable.Size().ApplySizes();
    EXPECT_EQ(printable.Width(), 96);
}

TEST(PrintableTest, RunHooksKnowThePrinter)
{
    PanelReport report;
    Printable printable;
    printable.SetParent(&report);
    PageRun run(report);
    printable.BeginRun();
    EXPECT_TRUE(printable.IsPrinting());
    EXPECT_EQ(printable.RpPrinter(), &run.Printer());
    printable.EndRun();
    EXPECT_FALSE(printable.IsPrinting());
}

TEST(PrintableTest, PrintsItsFrameAtTheBandsOffset)
{
    PanelReport report;
    Printable printable;
    printable.SetParent(&report);
    printable.Size().SetUnits(TRpUnit::Native);
    printable.Size().SetLeft(254);  // 96 pixels
    printable.Size().SetTop(127);   // 48 pixels
    printable.Size().SetWidth(508); // 192 pixels
    printable.Size().SetHeight(254);
    PageRun run(report);
    run.Begin();
    printable.BeginRun();
    printable.PrintAt(254, 254); // nothing: no side to draw
    run.NewPage();
    printable.Frame()->SetDrawTop(true);
    printable.Frame()->SetDrawRight(true);
    printable.Frame()->SetColor(gfx::clRed);
    printable.PrintAt(254, 254);
    printable.EndRun();
    run.End();

    EXPECT_FALSE(AnyInk(run.Page(1), 0, 0, 800, 800));
    QImage page = run.Page(2);
    // From (192, 144) to (384, 240), one pixel thick at the screen's scale.
    EXPECT_TRUE(IsColor(page, 200, 144, Qt::red));
    EXPECT_TRUE(IsColor(page, 383, 200, Qt::red));
    EXPECT_FALSE(AnyInk(page, 0, 0, 800, 143));
    EXPECT_FALSE(AnyInk(page, 193, 146, 382, 240)); // inside
    EXPECT_FALSE(AnyInk(page, 0, 241, 800, 800));
}

TEST(PrintableTest, PaintsBackgroundCornerMarksAndFrameButNothingWhilePrinting)
{
    Printable printable;
    printable.SetBounds(0, 0, 20, 12);
    QImage image = Painted(printable);
    // Transparent: the background stays as it was; an L of black strokes
    // three pixels long at each corner (the middle pixels of each stroke are
    // checked, the ends are the line drawing's own).
    EXPECT_TRUE(IsColor(image, 10, 6, Qt::gray));
    EXPECT_TRUE(IsColor(image, 0, 1, Qt::black));
    EXPECT_TRUE(IsColor(image, 1, 0, Qt::black));
    EXPECT_TRUE(IsColor(image, 0, 9, Qt::black));
    EXPECT_TRUE(IsColor(image, 1, 11, Qt::black));
    EXPECT_TRUE(IsColor(image, 17, 0, Qt::black));
    EXPECT_TRUE(IsColor(image, 19, 1, Qt::black));
    EXPECT_TRUE(IsColor(image, 17, 11, Qt::black));
    EXPECT_TRUE(IsColor(image, 19, 9, Qt::black));
    EXPECT_TRUE(IsColor(image, 5, 0, Qt::gray));
    EXPECT_TRUE(IsColor(image, 0, 5, Qt::gray));
    EXPECT_TRUE(IsColor(image, 19, 5, Qt::gray));
    EXPECT_TRUE(IsColor(image, 10, 11, Qt::gray));

    printable.SetTransparent(false);
    printable.Frame()->SetDrawLeft(true);
    printable.Frame()->SetColor(gfx::clBlue);
    image = Painted(printable);
    EXPECT_TRUE(IsColor(image, 10, 6, Qt::white));
    EXPECT_TRUE(IsColor(image, 0, 6, Qt::blue));
    EXPECT_TRUE(IsColor(image, 19, 6, Qt::white));

    printable.BeginRun();
    image = Painted(printable);
    EXPECT_TRUE(IsColor(image, 10, 6, Qt::gray));
    EXPECT_TRUE(IsColor(image, 0, 0, Qt::gray));
    printable.EndRun();
}

TEST(PrintableTest, AssignedFrameIsCopiedAndTransparencyTogglesOnce)
{
    Printable printable;
    TRpFrame other;
    other.SetDrawBottom(true);
    other.SetWidth(3);
    printable.SetFrame(&other);
    EXPECT_NE(printable.Frame(), &other);
    EXPECT_TRUE(printable.Frame()->DrawBottom());
    EXPECT_EQ(printable.Frame()->Width(), 3);
    EXPECT_EQ(printable.Frame()->Parent(), &printable);

    printable.SetTransparent(false);
    EXPECT_FALSE(printable.Transparent());
    EXPECT_FALSE(printable.PartTransparent());
    printable.SetTransparent(false);
    EXPECT_EQ(printable.ControlStyle(), static_cast<ui::TControlStyle>(ui::csOpaque));
    printable.SetTransparent(true);
    EXPECT_TRUE(printable.Transparent());
}

TEST(PrintableTest, EditorBaseAnswersEmpty)
{
    class Editor : public TRpPrintableEditor {
    public:
        using TRpPrintableEditor::TRpPrintableEditor;
        void SetColor(ui::TColor) override {}
        void SetFont(ui::TFont*) override {}
        void SetText(const std::string&) override {}
        bool Execute() override { return false; }
    };
    Printable printable;
    Editor editor(&printable);
    EXPECT_EQ(editor.Control(), &printable);
    EXPECT_EQ(editor.GetColor(), 0);
    EXPECT_EQ(editor.GetFont(), nullptr);
    EXPECT_EQ(&editor.ControlClass(), &TRpPrintable::StaticClass());
    EXPECT_EQ(editor.GetText(), "");
    EXPECT_EQ(editor.GetName(), "");
    EXPECT_EQ(editor.GetDescription(), "");
    editor.SetAlignment(ui::TAlignment::taCenter);
    EXPECT_EQ(editor.GetAlignment(), ui::TAlignment::taLeftJustify);
    EXPECT_EQ(printable.Alignment(), ui::TAlignment::taLeftJustify);

    core::TComponent owner(nullptr);
    TRpPrintable* made = TRpPrintable::StaticClass().Create(&owner);
    EXPECT_EQ(made->Owner(), &owner);
    EXPECT_EQ(made->ClassName(), "TRpPrintable");
}
