// Pages written by other programs in the documented layout: a header without
// its extensions, ANSI text records, pattern fills, styled pens and text
// alignments that our recorder writes differently or not at all.
#include "GfxTestSupport.h"

#include "platform/core/CodePage.h"
#include "platform/core/Streams.h"
#include "platform/gfx/EmfFormat.h"
#include "platform/gfx/MetafileCanvas.h"
#include "platform/gfx/MetafilePlayer.h"

#include <gtest/gtest.h>

#include <QPainter>

using namespace gfx;
using namespace gfx::emf;

namespace {

// Builds a metafile from records given without their header and end record.
std::string ForeignPage(const std::string& records, std::uint32_t recordCount)
{
    std::string header;
    TRecordWriter h(header);
    h.Begin(EMR_HEADER);
    h.Rect({0, 0, 100, 100});
    h.Rect({0, 0, 21000, 29700});         // an A4 frame in 0.01 mm
    h.U32(ENHMETA_SIGNATURE);
    h.U32(ENHMETA_VERSION);
    h.U32(static_cast<std::uint32_t>(88 + records.size() + 20));
    h.U32(recordCount + 2);
    h.U16(8);
    h.U16(0);
    h.U32(0);
    h.U32(0);
    h.U32(0);
    h.I32(1024);                           // a screen of 1024 x 768 pixels...
    h.I32(768);
    h.I32(320);                            // ...and 320 x 240 mm: 81.28 pixels per inch
    h.I32(240);
    h.End();
    std::string eof;
    TRecordWriter e(eof);
    e.Begin(EMR_EOF);
    e.U32(0);
    e.U32(16);
    e.U32(20);
    e.End();
    return header + records + eof;
}

TMetafile Load(const std::string& bytes)
{
    core::TMemoryStream stream;
    stream.WriteString(bytes);
    stream.SetPosition(0);
    TMetafile page;
    page.LoadFromStream(stream);
    return page;
}

} // namespace

TEST(ForeignMetafile, ASizeFromMillimetresAnsiTextAndAPatternFill)
{
    std::string records;
    TRecordWriter w(records);
    // A solid green brush and a pattern copy of (10, 10)-(30, 30) with it.
    w.Begin(EMR_CREATEBRUSHINDIRECT);
    w.U32(1);
    w.U32(BS_SOLID);
    w.U32(0x008000);
    w.U32(0);
    w.End();
    w.Begin(EMR_SELECTOBJECT);
    w.U32(1);
    w.End();
    w.Begin(76); // a bit-block transfer without source
    w.Rect({10, 10, 29, 29});
    w.I32(10);
    w.I32(10);
    w.I32(20);
    w.I32(20);
    w.U32(0x00F00021);
    w.Zeros(100 - 44);
    w.End();
    // ANSI text in the Central European code page, without a rectangle.
    std::string ansi = core::Utf8ToAnsi("Čeština");
    w.Begin(EMR_EXTTEXTOUTA);
    w.Rect({0, 0, -1, -1});
    w.U32(GM_COMPATIBLE);
    w.F32(1);
    w.F32(1);
    w.I32(40);
    w.I32(50);
    w.U32(static_cast<std::uint32_t>(ansi.size()));
    w.U32(60);
    w.U32(ETO_NO_RECT);
    w.U32(0);                              // no advances
    w.Bytes(ansi);
    w.End();

    TMetafile page = Load(ForeignPage(records, 4));
    EXPECT_EQ(page.Width(), 672);
    EXPECT_EQ(page.Height(), 950);
    EXPECT_NEAR(page.PixelsPerInchX(), 81.28, 0.001);
    EXPECT_EQ(MetafileTexts(page), std::vector<std::string>{"Čeština"});

    QImage image = gfxtest::WhiteImage(672, 950);
    {
        QPainter painter(&image);
        PlayEnhMetafile(painter, page, QRectF(0, 0, 672, 950));
    }
    EXPECT_EQ(image.pixel(10, 10), qRgb(0, 128, 0));
    EXPECT_EQ(image.pixel(29, 29), qRgb(0, 128, 0));
    EXPECT_EQ(image.pixel(30, 30), qRgb(255, 255, 255));
    EXPECT_GT(gfxtest::DarkPixels(image, 40, 50, 140, 80), 20) << "the ANSI text is drawn";
}

TEST(ForeignMetafile, BaselineAndBottomAlignedTextSitsAboveItsPoint)
{
    TMetafile page;
    page.SetWidth(300);
    page.SetHeight(100);
    {
        TMetafileCanvas canvas(&page, 96);
        canvas.Font().SetName("DejaVu Sans");
        canvas.Font().SetSize(20);
        canvas.Brush().SetStyle(TBrushStyle::bsClear);
        canvas.SetTextAlign(TA_BASELINE | TA_LEFT);
        canvas.TextOut(10, 60, "Hxx");
        canvas.SetTextAlign(TA_BOTTOM | TA_CENTER);
        canvas.TextOut(200, 60, "Hxx");
    }
    QImage image = gfxtest::WhiteImage(300, 100);
    {
        QPainter painter(&image);
        PlayEnhMetafile(painter, page, QRectF(0, 0, 300, 100));
    }
    EXPECT_GT(gfxtest::DarkPixels(image, 10, 0, 150, 60), 50);
    EXPECT_EQ(gfxtest::DarkPixels(image, 0, 61, 300, 100), 0) << "nothing below the baseline of capital letters";
    EXPECT_GT(gfxtest::DarkPixels(image, 150, 0, 300, 60), 50);
}

TEST(ForeignMetafile, PenModesHatchesAndInsideFramePens)
{
    TMetafile page;
    page.SetWidth(100);
    page.SetHeight(40);
    {
        TMetafileCanvas canvas(&page, 96);
        canvas.Brush().SetColor(clBlack);
        canvas.FillRect(Rect(0, 0, 50, 40));
        // An exclusive-or pen turns the black half white and the white half black.
        canvas.Pen().SetMode(TPenMode::pmXor);
        canvas.Pen().SetColor(clWhite);
        canvas.MoveTo(0, 20);
        canvas.LineTo(100, 20);
        canvas.Pen().SetMode(TPenMode::pmCopy);
        // A thick pen drawn inside the box stays inside it.
        canvas.Pen().SetColor(clRed);
        canvas.Pen().SetWidth(6);
        canvas.Pen().SetStyle(TPenStyle::psInsideFrame);
        canvas.Brush().SetStyle(TBrushStyle::bsCross);
        canvas.Brush().SetColor(clBlue);
        canvas.Rectangle(60, 2, 90, 32);
    }
    QImage image = gfxtest::WhiteImage(100, 40);
    {
        QPainter painter(&image);
        PlayEnhMetafile(painter, page, QRectF(0, 0, 100, 40));
    }
    EXPECT_EQ(image.pixel(10, 20), qRgb(255, 255, 255));
    EXPECT_EQ(image.pixel(55, 20), qRgb(0, 0, 0));
    // Thick pens have round joins; the middles of the sides touch the box.
    EXPECT_EQ(image.pixel(60, 17), qRgb(255, 0, 0));
    EXPECT_EQ(image.pixel(89, 17), qRgb(255, 0, 0));
    EXPECT_EQ(image.pixel(75, 2), qRgb(255, 0, 0));
    EXPECT_EQ(image.pixel(75, 31), qRgb(255, 0, 0));
    EXPECT_EQ(image.pixel(75, 32), qRgb(255, 255, 255));
    EXPECT_EQ(image.pixel(90, 17), qRgb(255, 255, 255));
    EXPECT_EQ(image.pixel(59, 17), qRgb(255, 255, 255));
    int blue = 0;
    for (int y = 9; y < 25; ++y)
        for (int x = 67; x < 83; ++x)
            blue += image.pixel(x, y) == qRgb(0, 0, 255) ? 1 : 0;
    EXPECT_GT(blue, 10) << "the cross hatch is drawn";
    EXPECT_LT(blue, 16 * 16) << "between the hatch lines the page shows through";
}
