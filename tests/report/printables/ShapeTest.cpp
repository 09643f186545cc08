// Shapes: their defaults, the seven kinds on screen and on the page, the
// rounded corner, who prints, and the shapes an export filter receives from
// shapes and from frames.
#include "report/printer/RpExportFilter.h"
#include "platform/gfx/PainterCanvas.h"
#include "report/printables/RpShape.h"
#include "PrintableFakes.h"

#include <gtest/gtest.h>

#include <QImage>

using namespace report;
using namespace report::fakes;

namespace {

// What a filter was handed of one shape.
struct Exported {
    TRpShapeType Kind;
    int Left, Top, Width, Height;
    gfx::TBrushStyle BrushStyle;
    gfx::TColor BrushColor;
    gfx::TPenStyle PenStyle;
    gfx::TColor PenColor;
    int PenWidth;
    long double X, Y;
};

class ShapeFilter : public TRpExportFilter {
public:
    ShapeFilter() : TRpExportFilter("shapes") {}
    void ExportShape(TRpShape& shape, long double left, long double top) override
    {
        Shapes.push_back({shape.Shape(), shape.Left(), shape.Top(), shape.Width(), shape.Height(),
                          shape.Brush().Style(), shape.Brush().Color(), shape.Pen().Style(), shape.Pen().Color(),
                          shape.Pen().Width(), left, top});
    }
    std::vector<Exported> Shapes;
};

class Shape : public TRpShape {
public:
    Shape() : TRpShape(nullptr) { Size().SetResolution(96); }
};

QImage Painted(TRpShape& shape)
{
    QImage image(shape.Width(), shape.Height(), QImage::Format_RGB32);
    image.fill(Qt::gray);
    shape.PaintTo(image);
    return image;
}

// A shape on a report at 1 inch from the page's left and top, 2 inches
// wide and 1 inch high (96 pixels per inch on the page).
class PageShapeTest : public testing::Test {
protected:
    PageShapeTest() : run(report)
    {
        shape.SetParent(&report);
        shape.Size().SetUnits(TRpUnit::Native);
        shape.Size().SetLeft(254);
        shape.Size().SetTop(254);
        shape.Size().SetWidth(508);
        shape.Size().SetHeight(254);
        shape.Pen().SetColor(gfx::clRed);
        shape.Brush().SetStyle(gfx::TBrushStyle::bsClear);
    }
    // Prints the shape on a page of its own and gives the page.
    QImage Printed(TRpShapeType kind)
    {
        shape.SetShape(kind);
        run.Begin();
        shape.BeginRun();
        shape.PrintAt(0, 0);
        shape.EndRun();
        run.End();
        return run.Page(1);
    }
    PanelReport report;
    Shape shape;
    PageRun run;
};

} // namespace

TEST(ShapeTest, NewShapeIsASquareRectangleWithSquareCorners)
{
    TRpShape shape(nullptr);
    EXPECT_EQ(shape.Width(), 65);
    EXPECT_EQ(shape.Height(), 65);
    EXPECT_EQ(shape.Shape(), TRpShapeType::rpsRectangle);
    EXPECT_EQ(shape.RoundFactor(), 0);
    EXPECT_EQ(shape.CornerSize(), 0);
    EXPECT_EQ(shape.VertAdjust(), 0);
    EXPECT_TRUE(shape.Transparent());
    EXPECT_STREQ(TRpShape::StaticClass().Name, "TRpShape");
    shape.SetRoundFactor(0.25f);
    EXPECT_EQ(shape.CornerSize(), 16); // 65 x 0.25 = 16.25
    shape.SetWidth(63);
    EXPECT_EQ(shape.CornerSize(), 15); // 15.75 cut, not rounded
}

TEST(ShapeTest, BrushAndPenAreCopied)
{
    TRpShape shape(nullptr);
    gfx::TBrush brush;
    brush.SetColor(gfx::clYellow);
    brush.SetStyle(gfx::TBrushStyle::bsCross);
    gfx::TPen pen;
    pen.SetWidth(4);
    pen.SetStyle(gfx::TPenStyle::psDot);
    shape.SetBrush(&brush);
    shape.SetPen(&pen);
    EXPECT_NE(&shape.Brush(), &brush);
    EXPECT_EQ(shape.Brush().Color(), gfx::clYellow);
    EXPECT_EQ(shape.Brush().Style(), gfx::TBrushStyle::bsCross);
    EXPECT_EQ(shape.Pen().Width(), 4);
    EXPECT_EQ(shape.Pen().Style(), gfx::TPenStyle::psDot);
    brush.SetColor(gfx::clBlue);
    EXPECT_EQ(shape.Brush().Color(), gfx::clYellow);
}

TEST(ShapeTest, PaintsEachKindOnItsControl)
{
    Shape shape;
    shape.SetBounds(0, 0, 40, 20);
    shape.Pen().SetColor(gfx::clRed);
    shape.Brush().SetColor(gfx::clBlue);
    const QColor red(Qt::red), blue(Qt::blue);

    QImage image = Painted(shape);
    EXPECT_TRUE(IsColor(image, 20, 0, red));
    EXPECT_TRUE(IsColor(image, 39, 10, red));
    EXPECT_TRUE(IsColor(image, 20, 10, blue));

    shape.SetShape(TRpShapeType::rpsCircle);
    image = Painted(shape);
    EXPECT_TRUE(IsColor(image, 20, 10, blue));
    EXPECT_TRUE(IsColor(image, 2, 2, Qt::gray));
    EXPECT_TRUE(IsColor(image, 20, 0, red));

    shape.SetShape(TRpShapeType::rpsVertLine);
    image = Painted(shape);
    EXPECT_TRUE(IsColor(image, 20, 10, red));
    EXPECT_TRUE(IsColor(image, 19, 10, Qt::gray));
    EXPECT_TRUE(IsColor(image, 21, 10, Qt::gray));

    shape.SetShape(TRpShapeType::rpsHorLine);
    image = Painted(shape);
    EXPECT_TRUE(IsColor(image, 20, 10, red));
    EXPECT_TRUE(IsColor(image, 20, 9, Qt::gray));

    // Bottom line on the last pixel row.
    shape.SetShape(TRpShapeType::rpsTopAndBottom);
    image = Painted(shape);
    EXPECT_TRUE(IsColor(image, 20, 0, red));
    EXPECT_TRUE(IsColor(image, 20, 19, red));
    EXPECT_TRUE(IsColor(image, 20, 10, Qt::gray));
    EXPECT_TRUE(IsColor(image, 0, 10, Qt::gray));

    shape.SetShape(TRpShapeType::rpsRightAndLeft);
    image = Painted(shape);
    EXPECT_TRUE(IsColor(image, 0, 10, red));
    EXPECT_TRUE(IsColor(image, 39, 10, red));
    EXPECT_TRUE(IsColor(image, 20, 10, Qt::gray));
    EXPECT_TRUE(IsColor(image, 20, 19, Qt::gray));

    // Round corners leave the corner pixel out; a factor of 0 keeps it.
    shape.SetShape(TRpShapeType::rpsRoundRect);
    image = Painted(shape);
    EXPECT_TRUE(IsColor(image, 20, 10, blue));
    EXPECT_FALSE(IsColor(image, 1, 1, Qt::gray));
    shape.SetRoundFactor(0.5f);
    image = Painted(shape);
    EXPECT_TRUE(IsColor(image, 20, 10, blue));
    EXPECT_TRUE(IsColor(image, 1, 1, Qt::gray));
}

TEST_F(PageShapeTest, RectangleOnThePage)
{
    QImage page = Printed(TRpShapeType::rpsRectangle);
    // (96, 96) to (288, 192)
    EXPECT_TRUE(IsColor(page, 96, 150, Qt::red));
    EXPECT_TRUE(IsColor(page, 200, 96, Qt::red));
    EXPECT_TRUE(IsColor(page, 287, 150, Qt::red));
    EXPECT_TRUE(IsColor(page, 200, 191, Qt::red));
    EXPECT_FALSE(AnyInk(page, 98, 98, 286, 190));
    EXPECT_FALSE(AnyInk(page, 0, 0, 800, 95));
    EXPECT_FALSE(AnyInk(page, 0, 193, 800, 1000));
}

TEST_F(PageShapeTest, TopAndBottomLinesLieOnTheEdgesOfThePage)
{
    QImage page = Printed(TRpShapeType::rpsTopAndBottom);
    EXPECT_TRUE(IsColor(page, 200, 96, Qt::red));
    EXPECT_TRUE(IsColor(page, 200, 192, Qt::red));
    EXPECT_FALSE(AnyInk(page, 0, 97, 800, 192));
}

TEST_F(PageShapeTest, LinesThroughTheMiddle)
{
    QImage page = Printed(TRpShapeType::rpsVertLine);
    EXPECT_TRUE(IsColor(page, 192, 150, Qt::red));
    EXPECT_FALSE(AnyInk(page, 0, 0, 191, 1000));
    EXPECT_FALSE(AnyInk(page, 194, 0, 800, 1000));
}

TEST_F(PageShapeTest, HorizontalLineAndSidesOnThePage)
{
    shape.SetShape(TRpShapeType::rpsHorLine);
    run.Begin();
    shape.BeginRun();
    shape.PrintAt(0, 0);
    run.NewPage();
    shape.SetShape(TRpShapeType::rpsRightAndLeft);
    shape.PrintAt(0, 0);
    shape.EndRun();
    run.End();
    QImage page = run.Page(1);
    EXPECT_TRUE(IsColor(page, 200, 144, Qt::red));
    EXPECT_FALSE(AnyInk(page, 0, 0, 800, 143));
    EXPECT_FALSE(AnyInk(page, 0, 146, 800, 1000));
    page = run.Page(2);
    EXPECT_TRUE(IsColor(page, 96, 150, Qt::red));
    EXPECT_TRUE(IsColor(page, 288, 150, Qt::red));
    EXPECT_FALSE(AnyInk(page, 98, 0, 287, 1000));
}

TEST_F(PageShapeTest, FilledEllipseAndRoundedRectangle)
{
    shape.Brush().SetStyle(gfx::TBrushStyle::bsSolid);
    shape.Brush().SetColor(gfx::clBlue);
    QImage page = Printed(TRpShapeType::rpsCircle);
    EXPECT_TRUE(IsColor(page, 192, 144, Qt::blue));
    EXPECT_FALSE(AnyInk(page, 96, 96, 110, 104)); // outside the ellipse at the corner
}

TEST_F(PageShapeTest, RoundedCornersTakeTheControlsWidthTimesTheFactor)
{
    shape.SetRoundFactor(0.25f);
    EXPECT_EQ(shape.Width(), 192);
    EXPECT_EQ(shape.CornerSize(), 48);
    QImage page = Printed(TRpShapeType::rpsRoundRect);
    EXPECT_TRUE(IsColor(page, 192, 96, Qt::red));
    EXPECT_FALSE(AnyInk(page, 96, 96, 100, 100));
    // The arc meets the top edge half a corner size from the left.
    EXPECT_TRUE(AnyInk(page, 118, 96, 122, 98));
    EXPECT_FALSE(AnyInk(page, 97, 96, 110, 97));
}

TEST_F(PageShapeTest, ADisabledVisibleShapeNeitherPrintsNorExports)
{
    ShapeFilter filter;
    report.Filter = &filter;
    shape.SetEnabled(false);
    QImage page = Printed(TRpShapeType::rpsRectangle);
    EXPECT_FALSE(AnyInk(page, 0, 0, 800, 1000));
    EXPECT_TRUE(filter.Shapes.empty());
}

TEST_F(PageShapeTest, AnExportingReportHandsTheShapeToItsFilter)
{
    ShapeFilter filter;
    report.Filter = &filter;
    shape.Pen().SetWidth(3);
    shape.SetShape(TRpShapeType::rpsCircle);
    run.Begin();
    shape.BeginRun();
    shape.PrintAt(127, 254);
    shape.EndRun();
    run.End();
    ASSERT_EQ(filter.Shapes.size(), 1u);
    const Exported& e = filter.Shapes[0];
    EXPECT_EQ(e.Kind, TRpShapeType::rpsCircle);
    EXPECT_EQ(e.X, 144); // device position of 381 native
    EXPECT_EQ(e.Y, 192);
    EXPECT_EQ(e.PenWidth, 3);
    EXPECT_EQ(e.PenColor, gfx::clRed);
    // It still prints too.
    EXPECT_TRUE(AnyInk(run.Page(1), 140, 180, 340, 300));
}

TEST(ShapeTest, FramesReachAnExportingReportsFilterAsShapes)
{
    PanelReport report;
    ShapeFilter filter;
    report.Filter = &filter;
    TRpShape printable(nullptr);
    printable.SetParent(&report);
    TRpFrame& frame = *printable.Frame();
    frame.SetDrawTop(true);
    frame.SetDrawLeft(true);
    frame.SetColor(gfx::clGreen);
    QImage image(100, 100, QImage::Format_RGB32);
    QPainter painter(&image);
    gfx::TPainterCanvas canvas(&painter, 96);
    frame.DrawFrame(canvas, gfx::Rect(10, 20, 60, 50), 96.0L / 254, 96.0L / 254);

    ASSERT_EQ(filter.Shapes.size(), 2u);
    const Exported& top = filter.Shapes[0];
    EXPECT_EQ(top.Kind, TRpShapeType::rpsHorLine);
    EXPECT_EQ(top.Left, 10);
    EXPECT_EQ(top.Top, 20);
    EXPECT_EQ(top.Width, 50);
    EXPECT_EQ(top.Height, 1);
    EXPECT_EQ(top.PenColor, gfx::clGreen);
    EXPECT_EQ(top.PenStyle, gfx::TPenStyle::psSolid);
    EXPECT_EQ(top.BrushStyle, gfx::TBrushStyle::bsClear);
    EXPECT_EQ(top.X, 10);
    EXPECT_EQ(top.Y, 20);
    const Exported& left = filter.Shapes[1];
    EXPECT_EQ(left.Kind, TRpShapeType::rpsVertLine);
    EXPECT_EQ(left.Width, 1);
    EXPECT_EQ(left.Height, 30);

    // An opaque printable's background goes first, in its colour.
    filter.Shapes.clear();
    printable.SetTransparent(false);
    printable.SetColor(gfx::clYellow);
    frame.SetDrawBottom(true);
    frame.SetDrawRight(true);
    frame.DrawFrame(canvas, gfx::Rect(10, 20, 60, 50), 96.0L / 254, 96.0L / 254);
    ASSERT_EQ(filter.Shapes.size(), 2u);
    EXPECT_EQ(filter.Shapes[0].Kind, TRpShapeType::rpsRectangle);
    EXPECT_EQ(filter.Shapes[0].BrushStyle, gfx::TBrushStyle::bsSolid);
    EXPECT_EQ(filter.Shapes[0].BrushColor, gfx::clYellow);
    EXPECT_EQ(filter.Shapes[0].PenStyle, gfx::TPenStyle::psClear);
    EXPECT_EQ(filter.Shapes[1].Kind, TRpShapeType::rpsRectangle);
    EXPECT_EQ(filter.Shapes[1].BrushStyle, gfx::TBrushStyle::bsClear);
    EXPECT_EQ(filter.Shapes[1].Width, 50);
    EXPECT_EQ(filter.Shapes[1].Height, 30);
}
