// Frames: side thickness at screen and printer scale, the strips drawn on a
// canvas (checked pixel by pixel), and the shapes handed to an exporting
// report's filter.
#include "platform/gfx/PainterCanvas.h"
#include "platform/ui/controls/ExtCtrls.h"
#include "report/printables/RpFrame.h"
#include "report/printer/RpExportFilter.h"
#include "tests/report/FakeReport.h"

#include <gtest/gtest.h>

#include <QImage>
#include <QPainter>

#include <stdexcept>

using namespace report;
using report::fakes::FakeReport;
using TKind = TRpFrameShape::TKind;

namespace {

constexpr long double kScreen = 96.0L / 254;

// A printable placed in a report: opaque unless told otherwise.
class FakePrintable : public ui::TPanel, public TRpReportPart {
public:
    explicit FakePrintable(TRpReportSite* report) : ui::TPanel(nullptr), report_(report) {}
    TRpReportSite* PartReport() const override { return report_; }
    bool PartTransparent() const override { return Transparent; }
    bool Transparent = false;

private:
    TRpReportSite* report_;
};

// Draws the frame on a white 60 x 60 image and returns it.
QImage Drawn(TRpFrame& frame, const gfx::TRect& rect, long double factor = kScreen)
{
    QImage image(60, 60, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    gfx::TPainterCanvas canvas(&painter, 96);
    frame.DrawFrame(canvas, rect, factor, factor);
    painter.end();
    return image;
}

bool Black(const QImage& image, int x, int y) { return image.pixelColor(x, y) == QColor(Qt::black); }

class FrameExportTest : public testing::Test {
protected:
    void SetUp() override
    {
        previous_ = SetFrameShapeExporter([this](TRpExportFilter& filter, const TRpFrameShape& shape) {
            EXPECT_EQ(&filter, &filter_);
            shapes.push_back(shape);
        });
    }
    void TearDown() override { SetFrameShapeExporter(previous_); }

    TRpFrameShapeExporter previous_;

    TRpExportFilter filter_{"out"};
    std::vector<TRpFrameShape> shapes;
};

} // namespace

TEST(FrameTest, SideThicknessFollowsTheScale)
{
    TRpFrame frame;
    EXPECT_EQ(frame.Width(), 1);
    EXPECT_EQ(frame.Color(), gfx::clBlack);
    EXPECT_EQ(frame.Style(), gfx::TPenStyle::psSolid);
    EXPECT_FALSE(frame.AnySide());
    EXPECT_EQ(frame.SideThickness(kScreen), 1);           // 1.33
    EXPECT_EQ(frame.SideThickness(600.0L / 254), 8);      // 8.33
    EXPECT_EQ(frame.SideThickness(0.01L), 1);             // below one pixel
    frame.SetWidth(3);
    EXPECT_EQ(frame.SideThickness(kScreen), 4);
    frame.SetWidth(0);
    EXPECT_EQ(frame.SideThickness(kScreen), 0);
    frame.SetWidth(-1);
    EXPECT_EQ(frame.SideThickness(600.0L / 254), 1);
    frame.SetWidth(-5);
    EXPECT_EQ(frame.SideThickness(kScreen), 0);
}

TEST(FrameTest, SidesAreFilledStrips)
{
    TRpFrame frame;
    frame.SetWidth(2); // 2.67 -> 3 pixels
    frame.SetDrawTop(true);
    frame.SetDrawLeft(true);
    EXPECT_TRUE(frame.AnySide());
    QImage image = Drawn(frame, gfx::Rect(10, 10, 50, 40));
    EXPECT_TRUE(Black(image, 30, 10));
    EXPECT_TRUE(Black(image, 30, 12));
    EXPECT_FALSE(Black(image, 30, 13));
    EXPECT_TRUE(Black(image, 10, 30));
    EXPECT_TRUE(Black(image, 12, 30));
    EXPECT_FALSE(Black(image, 13, 30));
    EXPECT_TRUE(Black(image, 49, 11)); // the top strip ends before the right edge
    EXPECT_FALSE(Black(image, 50, 11));
    EXPECT_FALSE(Black(image, 48, 30)); // no right side
    EXPECT_FALSE(Black(image, 30, 38)); // no bottom side

    frame.SetDrawRight(true);
    frame.SetDrawBottom(true);
    frame.SetColor(gfx::clRed);
    image = Drawn(frame, gfx::Rect(10, 10, 50, 40));
    EXPECT_EQ(image.pixelColor(49, 30), QColor(Qt::red));
    EXPECT_EQ(image.pixelColor(47, 30), QColor(Qt::red));
    EXPECT_EQ(image.pixelColor(46, 30), QColor(Qt::white));
    EXPECT_EQ(image.pixelColor(30, 37), QColor(Qt::red));
    EXPECT_EQ(image.pixelColor(30, 36), QColor(Qt::white));
}

TEST(FrameTest, WidthZeroDrawsNothingAndMinusOneOnePixel)
{
    TRpFrame frame;
    for (int side = 0; side < 4; ++side)
        frame.SetDraw(side, true);
    frame.SetWidth(0);
    QImage image = Drawn(frame, gfx::Rect(10, 10, 50, 40));
    for (int x = 0; x < 60; ++x)
        for (int y = 0; y < 60; ++y)
            ASSERT_FALSE(Black(image, x, y)) << x << "," << y;

    frame.SetWidth(-1);
    image = Drawn(frame, gfx::Rect(10, 10, 50, 40), 600.0L / 254);
    EXPECT_TRUE(Black(image, 30, 10));
    EXPECT_FALSE(Black(image, 30, 11));
    EXPECT_TRUE(Black(image, 49, 30));
    EXPECT_FALSE(Black(image, 48, 30));
}

TEST(FrameTest, ThePenTakesTheFramesStyleAndColour)
{
    TRpFrame frame;
    frame.SetStyle(gfx::TPenStyle::psDash);
    frame.SetColor(gfx::clBlue);
    gfx::TPen pen;
    pen.SetWidth(5);
    frame.SetPenFromFrame(pen);
    EXPECT_EQ(pen.Width(), 1);
    EXPECT_EQ(pen.Style(), gfx::TPenStyle::psDash);
    EXPECT_EQ(pen.Color(), gfx::clBlue);

    TRpFrame copy;
    copy.Assign(&frame);
    EXPECT_EQ(copy.Style(), gfx::TPenStyle::psDash);
    EXPECT_EQ(copy.Color(), gfx::clBlue);
}

TEST_F(FrameExportTest, AnOpaquePrintableExportsItsBackgroundAndTheDrawnSides)
{
    FakeReport report;
    report.Filter = &filter_;
    FakePrintable printable(&report);
    printable.SetColor(gfx::clYellow);
    TRpFrame frame(&printable);
    frame.SetWidth(2);
    frame.SetDrawTop(true);
    frame.SetDrawRight(true);
    Drawn(frame, gfx::Rect(10, 10, 50, 40));
    ASSERT_EQ(shapes.size(), 3u);
    EXPECT_EQ(shapes[0].Kind, TKind::Rectangle);
    EXPECT_EQ(shapes[0].Bounds, gfx::Rect(10, 10, 50, 40));
    EXPECT_EQ(shapes[0].BrushStyle, gfx::TBrushStyle::bsSolid);
    EXPECT_EQ(shapes[0].BrushColor, gfx::clYellow);
    EXPECT_EQ(shapes[0].PenStyle, gfx::TPenStyle::psClear);
    EXPECT_EQ(shapes[1].Kind, TKind::HorizontalLine);
    EXPECT_EQ(shapes[1].Bounds, gfx::Rect(10, 10, 50, 13));
    EXPECT_EQ(shapes[1].ExportLeft, 10);
    EXPECT_EQ(shapes[1].ExportTop, 10);
    EXPECT_EQ(shapes[1].PenWidth, 3);
    EXPECT_EQ(shapes[1].BrushStyle, gfx::TBrushStyle::bsClear);
    EXPECT_EQ(shapes[2].Kind, TKind::VerticalLine);
    EXPECT_EQ(shapes[2].Bounds, gfx::Rect(47, 10, 50, 40));
    EXPECT_EQ(shapes[2].ExportLeft, 47);
}

TEST_F(FrameExportTest, FourSidesAreOneRectangleAndOnlyExportingReportsExport)
{
    FakeReport report;
    FakePrintable printable(&report);
    printable.Transparent = true;
    TRpFrame frame(&printable);
    for (int side = 0; side < 4; ++side)
        frame.SetDraw(side, true);
    Drawn(frame, gfx::Rect(0, 0, 20, 20));
    EXPECT_TRUE(shapes.empty()); // the report is not exporting

    report.Filter = &filter_;
    Drawn(frame, gfx::Rect(0, 0, 20, 20));
    ASSERT_EQ(shapes.size(), 1u);
    EXPECT_EQ(shapes[0].Kind, TKind::Rectangle);
    EXPECT_EQ(shapes[0].Bounds, gfx::Rect(0, 0, 20, 20));
    EXPECT_EQ(shapes[0].BrushStyle, gfx::TBrushStyle::bsClear);
    EXPECT_EQ(shapes[0].PenStyle, gfx::TPenStyle::psSolid);

    // A bottom and a left side, from a parent that is no part of a report.
    shapes.clear();
    ui::TPanel stranger(nullptr);
    TRpFrame loose(&stranger);
    loose.SetDrawBottom(true);
    Drawn(loose, gfx::Rect(0, 0, 20, 20));
    EXPECT_TRUE(shapes.empty());

    TRpFrame partial(&printable);
    partial.SetDrawBottom(true);
    partial.SetDrawLeft(true);
    Drawn(partial, gfx::Rect(0, 0, 20, 20));
    ASSERT_EQ(shapes.size(), 2u);
    EXPECT_EQ(shapes[0].Bounds, gfx::Rect(0, 19, 20, 20));
    EXPECT_EQ(shapes[0].ExportTop, 19);
    EXPECT_EQ(shapes[1].Kind, TKind::VerticalLine);
    EXPECT_EQ(shapes[1].Bounds, gfx::Rect(0, 0, 1, 20));
}

TEST_F(FrameExportTest, AFailingExportLeavesTheStripsDrawn)
{
    FakeReport report;
    report.Filter = &filter_;
    FakePrintable printable(&report);
    TRpFrame frame(&printable);
    frame.SetDrawTop(true);
    SetFrameShapeExporter([](TRpExportFilter&, const TRpFrameShape&) { throw std::runtime_error("disk full"); });
    QImage image;
    EXPECT_NO_THROW(image = Drawn(frame, gfx::Rect(10, 10, 50, 40)));
    EXPECT_TRUE(Black(image, 30, 10));
}
