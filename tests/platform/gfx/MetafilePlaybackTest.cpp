// Recorded pages drawn back: pixels at the right places, at any scale, the
// same as drawing directly; text drawn and clipped.
#include "GfxTestSupport.h"

#include "platform/gfx/MetafileCanvas.h"
#include "platform/gfx/MetafilePlayer.h"
#include "platform/gfx/PainterCanvas.h"

#include <gtest/gtest.h>

#include <QPainter>

#include <functional>

using namespace gfx;

namespace {

using Scene = std::function<void(TCanvas&)>;

TMetafile Record(int width, int height, const Scene& scene)
{
    TMetafile page;
    page.SetWidth(width);
    page.SetHeight(height);
    {
        TMetafileCanvas canvas(&page, 96);
        scene(canvas);
    }
    return page;
}

QImage Play(const TMetafile& page, int width, int height)
{
    QImage image = gfxtest::WhiteImage(width, height);
    QPainter painter(&image);
    PlayEnhMetafile(painter, page, QRectF(0, 0, width, height));
    return image;
}

QImage DrawDirectly(int width, int height, const Scene& scene)
{
    QImage image = gfxtest::WhiteImage(width, height);
    QPainter painter(&image);
    TPainterCanvas canvas(&painter, 96);
    scene(canvas);
    return image;
}

void RedRectangle(TCanvas& canvas)
{
    canvas.Brush().SetColor(clRed);
    canvas.Rectangle(10, 20, 50, 60);
}

} // namespace

TEST(MetafilePlayback, RedRectangleLandsOnItsPixels)
{
    QImage image = Play(Record(200, 100, RedRectangle), 200, 100);
    EXPECT_EQ(image.pixel(30, 40), qRgb(255, 0, 0));
    EXPECT_EQ(image.pixel(11, 21), qRgb(255, 0, 0));
    EXPECT_EQ(image.pixel(48, 58), qRgb(255, 0, 0));
    // The outline in the black pen covers the first and the last row and column...
    EXPECT_EQ(image.pixel(10, 20), qRgb(0, 0, 0));
    EXPECT_EQ(image.pixel(49, 40), qRgb(0, 0, 0));
    EXPECT_EQ(image.pixel(30, 59), qRgb(0, 0, 0));
    // ...and the right and bottom edges are not part of the rectangle.
    EXPECT_EQ(image.pixel(50, 40), qRgb(255, 255, 255));
    EXPECT_EQ(image.pixel(30, 60), qRgb(255, 255, 255));
    EXPECT_EQ(image.pixel(9, 40), qRgb(255, 255, 255));
}

TEST(MetafilePlayback, APageScalesIntoTheTargetRectangle)
{
    TMetafile page = Record(200, 100, RedRectangle);
    QImage image = gfxtest::WhiteImage(500, 300);
    {
        QPainter painter(&image);
        PlayEnhMetafile(painter, page, QRectF(100, 50, 400, 200));
    }
    // (10, 20)-(50, 60) doubled and moved by (100, 50).
    EXPECT_EQ(image.pixel(160, 130), qRgb(255, 0, 0));
    EXPECT_EQ(image.pixel(195, 165), qRgb(255, 0, 0));
    EXPECT_EQ(image.pixel(115, 85), qRgb(255, 255, 255));
    EXPECT_EQ(image.pixel(205, 175), qRgb(255, 255, 255));
    EXPECT_EQ(image.pixel(50, 20), qRgb(255, 255, 255));
}

TEST(MetafilePlayback, ShapesAndLinesLookTheSameRecordedOrDrawnDirectly)
{
    Scene scene = [](TCanvas& canvas) {
        canvas.Pen().SetColor(clBlue);
        canvas.Pen().SetWidth(3);
        canvas.Brush().SetColor(clYellow);
        canvas.Ellipse(5, 5, 60, 40);
        canvas.Pen().SetWidth(1);
        canvas.Pen().SetStyle(TPenStyle::psDash);
        canvas.MoveTo(0, 70);
        canvas.LineTo(150, 70);
        canvas.Pen().SetStyle(TPenStyle::psSolid);
        canvas.Brush().SetStyle(TBrushStyle::bsDiagCross);
        canvas.RoundRect(70, 5, 140, 60, 16, 16);
        canvas.Brush().SetStyle(TBrushStyle::bsSolid);
        canvas.Brush().SetColor(clGreen);
        canvas.FillRect(Rect(10, 80, 30, 95));
        canvas.Brush().SetColor(clMaroon);
        canvas.FrameRect(Rect(40, 80, 60, 95));
    };
    QImage direct = DrawDirectly(160, 100, scene);
    QImage played = Play(Record(160, 100, scene), 160, 100);
    EXPECT_EQ(direct, played);
    EXPECT_EQ(direct.pixel(20, 90), qRgb(0, 128, 0));
    EXPECT_EQ(direct.pixel(10, 80), qRgb(0, 128, 0));
    EXPECT_EQ(direct.pixel(30, 90), qRgb(255, 255, 255)) << "a filled rectangle excludes its right edge";
    EXPECT_EQ(direct.pixel(40, 90), qRgb(128, 0, 0));
    EXPECT_EQ(direct.pixel(50, 90), qRgb(255, 255, 255)) << "a frame leaves the inside alone";
}

TEST(MetafilePlayback, TextIsDrawnInsideItsCellAndMatchesDirectDrawing)
{
    Scene scene = [](TCanvas& canvas) {
        canvas.Font().SetName("DejaVu Sans");
        canvas.Font().SetSize(12);
        canvas.Brush().SetStyle(TBrushStyle::bsClear);
        canvas.TextOut(10, 10, "Žluťoučký kůň");
    };
    QImage played = Play(Record(300, 60, scene), 300, 60);
    QImage direct = DrawDirectly(300, 60, scene);
    EXPECT_EQ(played, direct);

    QImage probe = gfxtest::WhiteImage(1, 1);
    QPainter painter(&probe);
    TPainterCanvas measure(&painter, 96);
    measure.Font().SetName("DejaVu Sans");
    measure.Font().SetSize(12);
    TSize extent = measure.TextExtent("Žluťoučký kůň");
    EXPECT_GT(extent.cx, 60);
    EXPECT_GT(gfxtest::DarkPixels(played, 10, 10, 10 + extent.cx, 10 + extent.cy), 100);
    EXPECT_EQ(gfxtest::DarkPixels(played, 10, 10, 10 + extent.cx + 1, 10 + extent.cy + 1, false), 0);
}

TEST(MetafilePlayback, AlignedAndClippedTextStaysInItsPlace)
{
    Scene scene = [](TCanvas& canvas) {
        canvas.Font().SetName("DejaVu Sans");
        canvas.Font().SetSize(10);
        canvas.Brush().SetStyle(TBrushStyle::bsClear);
        canvas.SetTextAlign(TA_RIGHT | TA_TOP);
        canvas.TextOut(190, 5, "vpravo");
        canvas.SetTextAlign(TA_LEFT | TA_TOP);
        canvas.TextRect(Rect(10, 40, 40, 60), 10, 40, "velmi dlouhý text, který se nevejde");
    };
    QImage image = Play(Record(200, 80, scene), 200, 80);
    EXPECT_GT(gfxtest::DarkPixels(image, 120, 5, 190, 25), 20) << "right-aligned text ends at x";
    EXPECT_EQ(gfxtest::DarkPixels(image, 190, 0, 200, 80), 0);
    EXPECT_GT(gfxtest::DarkPixels(image, 10, 40, 40, 60), 10);
    EXPECT_EQ(gfxtest::DarkPixels(image, 40, 30, 200, 80), 0) << "clipped to its rectangle";
}

TEST(MetafilePlayback, ClippingEndsWithTheRestoredStateOrAReset)
{
    Scene scene = [](TCanvas& canvas) {
        canvas.Brush().SetColor(clBlack);
        canvas.SaveDC();
        canvas.IntersectClipRect(Rect(0, 0, 20, 20));
        canvas.FillRect(Rect(0, 0, 100, 10));
        canvas.RestoreDC(-1);
        canvas.FillRect(Rect(0, 20, 100, 30));
        canvas.IntersectClipRect(Rect(0, 40, 10, 50));
        canvas.FillRect(Rect(0, 40, 100, 50));
        canvas.ResetClip();
        canvas.FillRect(Rect(0, 60, 100, 70));
    };
    QImage image = Play(Record(100, 80, scene), 100, 80);
    EXPECT_TRUE(gfxtest::IsDark(image.pixel(19, 5)));
    EXPECT_FALSE(gfxtest::IsDark(image.pixel(20, 5)));
    EXPECT_TRUE(gfxtest::IsDark(image.pixel(90, 25)));
    EXPECT_TRUE(gfxtest::IsDark(image.pixel(9, 45)));
    EXPECT_FALSE(gfxtest::IsDark(image.pixel(10, 45)));
    EXPECT_TRUE(gfxtest::IsDark(image.pixel(90, 65)));
}

TEST(MetafilePlayback, BitmapsAreStoredAndDrawnBack)
{
    TBitmap bitmap;
    bitmap.SetSize(4, 2);
    bitmap.Canvas().Brush().SetColor(clBlue);
    bitmap.Canvas().FillRect(Rect(0, 0, 2, 2));
    bitmap.Canvas().Brush().SetColor(clLime);
    bitmap.Canvas().FillRect(Rect(2, 0, 4, 1));
    EXPECT_EQ(bitmap.Image().pixel(0, 0), qRgb(0, 0, 255));
    EXPECT_EQ(bitmap.Image().pixel(3, 0), qRgb(0, 255, 0));
    EXPECT_EQ(bitmap.Image().pixel(3, 1), qRgb(255, 255, 255));

    QImage image = Play(Record(40, 40, [&bitmap](TCanvas& canvas) { canvas.StretchDraw(Rect(0, 0, 40, 20), bitmap); }),
                        40, 40);
    EXPECT_EQ(image.pixel(5, 5), qRgb(0, 0, 255));
    EXPECT_EQ(image.pixel(35, 2), qRgb(0, 255, 0));
    EXPECT_EQ(image.pixel(35, 17), qRgb(255, 255, 255));
    EXPECT_EQ(image.pixel(20, 30), qRgb(255, 255, 255));
}

TEST(MetafilePlayback, APageDrawsOnAnotherCanvasAndIntoAnotherPage)
{
    TMetafile inner = Record(200, 100, RedRectangle);
    QImage direct = DrawDirectly(200, 100, [&inner](TCanvas& canvas) { canvas.StretchDraw(Rect(0, 0, 200, 100), inner); });
    EXPECT_EQ(direct.pixel(30, 40), qRgb(255, 0, 0));

    TMetafile outer = Record(200, 100, [&inner](TCanvas& canvas) { canvas.Draw(0, 0, inner); });
    QImage played = Play(outer, 200, 100);
    EXPECT_EQ(played.pixel(30, 40), qRgb(255, 0, 0));
    EXPECT_EQ(played.pixel(60, 40), qRgb(255, 255, 255));
}
