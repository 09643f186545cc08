// Colours, fonts, pens and brushes, and the painter canvas's pixel geometry.
#include "GfxTestSupport.h"

#include "platform/core/Unicode.h"
#include "platform/gfx/Color.h"
#include "platform/gfx/FontMapping.h"
#include "platform/gfx/GfxErrors.h"
#include "platform/gfx/GraphicsObjects.h"
#include "platform/gfx/PainterCanvas.h"

#include <gtest/gtest.h>

#include <QColor>
#include <QFont>
#include <QPainter>

#include <algorithm>
#include <cstdlib>
#include <string>

using namespace gfx;

TEST(Colors, PlainSystemAndSpecialValues)
{
    EXPECT_EQ(ColorToRGB(clRed), 0x0000FFu);
    EXPECT_EQ(ColorToRGB(RGBToColor(1, 2, 3)), 0x030201u);
    EXPECT_EQ(ColorToRGB(clWindow), 0xFFFFFFu);
    EXPECT_EQ(ColorToRGB(clWindowText), 0x000000u);
    EXPECT_EQ(ColorToRGB(clBtnFace), 0xF0F0F0u);
    EXPECT_EQ(ColorToRGB(clNone), 0xFFFFFFu);
    EXPECT_EQ(ColorToRGB(clDefault), 0x000000u);
    EXPECT_EQ(ColorToQColor(clNavy), QColor(0, 0, 128));
    EXPECT_EQ(QColorToColor(QColor(255, 128, 0)), 0x0080FF);
    EXPECT_EQ(QColorToColor(QColor()), clNone);
}

TEST(Fonts, SizeAndHeightFollowTheResolution)
{
    TFont font;
    font.SetPixelsPerInch(96);
    font.SetSize(10);
    EXPECT_EQ(font.Height(), -13);
    EXPECT_EQ(font.Size(), 10);
    font.SetHeight(-16);
    EXPECT_EQ(font.Size(), 12);

    TFont printer;
    printer.SetPixelsPerInch(600);
    int changes = 0;
    printer.OnChange = [&changes](core::TObject*) { ++changes; };
    font.SetSize(10);
    font.SetStyle(fsBold | fsItalic);
    font.SetName("DejaVu Serif");
    printer.Assign(&font);
    EXPECT_EQ(changes, 1);
    EXPECT_EQ(printer.Size(), 10) << "a font keeps its point size on another device";
    EXPECT_EQ(printer.Height(), -83);
    EXPECT_EQ(printer.Name(), "DejaVu Serif");
    TLogFont log = printer.LogFont();
    EXPECT_EQ(log.Weight, FW_BOLD);
    EXPECT_TRUE(log.Italic);
    EXPECT_EQ(log.FaceName, u"DejaVu Serif");
    EXPECT_EQ(MulDiv(10, 96, 72), 13);
    EXPECT_EQ(MulDiv(-3, 1, 2), -2);
}

TEST(Fonts, AControlsFontOnTheScreenKeepsItsPointSizeAndStyle)
{
    TFont font;
    QFont screen = font.ToQFont();
    EXPECT_EQ(screen.pointSize(), 8);
    EXPECT_EQ(screen.families().value(0), "Tahoma");
    EXPECT_GT(screen.families().size(), 1) << "a face of similar width stands in for the classic one";
    EXPECT_FALSE(screen.bold());

    font.SetName("DejaVu Serif");
    font.SetSize(12);
    font.SetStyle(fsBold | fsUnderline | fsStrikeOut);
    screen = font.ToQFont();
    EXPECT_EQ(screen.families(), QStringList{"DejaVu Serif"});
    EXPECT_EQ(screen.pointSize(), 12);
    EXPECT_TRUE(screen.bold());
    EXPECT_FALSE(screen.italic());
    EXPECT_TRUE(screen.underline());
    EXPECT_TRUE(screen.strikeOut());
}

TEST(PensAndBrushes, DeviceValuesOfTheClassLibraryEnumerations)
{
    TPen pen;
    EXPECT_EQ(pen.LogPen(), (TLogPen{PS_SOLID, 1, 0}));
    pen.SetStyle(TPenStyle::psInsideFrame);
    pen.SetWidth(3);
    pen.SetColor(clRed);
    EXPECT_EQ(pen.LogPen(), (TLogPen{PS_INSIDEFRAME, 3, 0x0000FF}));
    pen.SetWidth(-1);
    EXPECT_EQ(pen.Width(), 3);
    pen.SetMode(TPenMode::pmXor);
    EXPECT_EQ(pen.Rop2(), R2_XORPEN);
    pen.SetMode(TPenMode::pmNotXor);
    EXPECT_EQ(pen.Rop2(), R2_NOTXORPEN);

    TBrush brush;
    EXPECT_EQ(brush.LogBrush(), (TLogBrush{BS_SOLID, 0xFFFFFF, 0}));
    brush.SetStyle(TBrushStyle::bsBDiagonal);
    EXPECT_EQ(brush.LogBrush(), (TLogBrush{BS_HATCHED, 0xFFFFFF, HS_BDIAGONAL}));
    brush.SetStyle(TBrushStyle::bsClear);
    EXPECT_EQ(brush.LogBrush().Style, BS_NULL);
}

TEST(PainterCanvas, RectanglesExcludeTheirRightAndBottomEdges)
{
    QImage image = gfxtest::WhiteImage(40, 40);
    QPainter painter(&image);
    TPainterCanvas canvas(&painter);
    canvas.Brush().SetColor(clBlack);
    canvas.FillRect(Rect(10, 10, 20, 20));
    canvas.Pen().SetStyle(TPenStyle::psClear);
    canvas.Rectangle(25, 25, 35, 35);
    painter.end();
    EXPECT_EQ(gfxtest::DarkPixels(image, 10, 10, 20, 20), 100);
    // Without an outline a rectangle fills one pixel less each way.
    EXPECT_EQ(gfxtest::DarkPixels(image, 25, 25, 34, 34), 81);
    EXPECT_EQ(gfxtest::DarkPixels(image, 0, 0, 40, 40), 181);
}

TEST(PainterCanvas, ALineLeavesOutItsLastPointAndMovesThePen)
{
    QImage image = gfxtest::WhiteImage(20, 5);
    QPainter painter(&image);
    TPainterCanvas canvas(&painter);
    canvas.MoveTo(2, 2);
    canvas.LineTo(12, 2);
    EXPECT_EQ(canvas.PenPos(), Point(12, 2));
    painter.end();
    EXPECT_EQ(gfxtest::DarkPixels(image, 0, 0, 20, 5), 10);
    EXPECT_TRUE(gfxtest::IsDark(image.pixel(2, 2)));
    EXPECT_FALSE(gfxtest::IsDark(image.pixel(12, 2)));
}

TEST(PainterCanvas, ALineTakesItsFirstPointAndLeavesOutItsLastInEveryDirection)
{
    struct Line {
        int x1, y1, x2, y2;
    };
    // Rightward, leftward, down, up, the four diagonals, and a steep and a flat slope backwards.
    const Line lines[] = {{2, 5, 8, 5}, {8, 5, 2, 5}, {5, 2, 5, 8}, {5, 8, 5, 2}, {2, 2, 8, 8}, {8, 8, 2, 2},
                          {2, 8, 8, 2}, {8, 2, 2, 8}, {9, 4, 1, 1}, {5, 9, 3, 1}, {5, 4, 4, 4}};
    for (const Line& l : lines) {
        QImage image = gfxtest::WhiteImage(12, 12);
        QPainter painter(&image);
        TPainterCanvas canvas(&painter);
        canvas.MoveTo(l.x1, l.y1);
        canvas.LineTo(l.x2, l.y2);
        painter.end();
        const int length = std::max(std::abs(l.x2 - l.x1), std::abs(l.y2 - l.y1));
        const std::string line = std::to_string(l.x1) + "," + std::to_string(l.y1) + " to " + std::to_string(l.x2) +
                                 "," + std::to_string(l.y2);
        EXPECT_TRUE(gfxtest::IsDark(image.pixel(l.x1, l.y1))) << line;
        EXPECT_FALSE(gfxtest::IsDark(image.pixel(l.x2, l.y2))) << line;
        EXPECT_EQ(gfxtest::DarkPixels(image, 0, 0, 12, 12), length) << line;
    }
    // Four lines round a box close it: each corner is the first point of a line.
    QImage image = gfxtest::WhiteImage(12, 12);
    QPainter painter(&image);
    TPainterCanvas canvas(&painter);
    canvas.MoveTo(1, 1);
    canvas.LineTo(1, 9);
    canvas.LineTo(9, 9);
    canvas.LineTo(9, 1);
    canvas.LineTo(1, 1);
    painter.end();
    for (int corner : {1, 9})
        for (int other : {1, 9})
            EXPECT_TRUE(gfxtest::IsDark(image.pixel(corner, other))) << corner << "," << other;
    EXPECT_EQ(gfxtest::DarkPixels(image, 0, 0, 12, 12), 32);
}

TEST(PainterCanvas, TextOnASolidBrushFillsItsCellsUnlessTheModeIsTransparent)
{
    QImage image = gfxtest::WhiteImage(120, 40);
    QPainter painter(&image);
    TPainterCanvas canvas(&painter);
    canvas.Font().SetName("DejaVu Sans");
    canvas.Brush().SetColor(clBlack);
    canvas.Font().SetColor(clWhite);
    canvas.TextOut(0, 0, "A");
    canvas.SetBkMode(TRANSPARENT);
    canvas.Font().SetColor(clBlack);
    canvas.TextOut(60, 0, "A");
    int height = canvas.TextHeight("A");
    int width = canvas.TextWidth("A");
    painter.end();
    EXPECT_GT(gfxtest::DarkPixels(image, 0, 0, width, height), width * height / 2) << "cell filled in the brush's colour";
    EXPECT_LT(gfxtest::DarkPixels(image, 60, 0, 60 + width, height), width * height / 2);
}

TEST(PainterCanvas, WithoutAPainterItMeasuresButDoesNotDraw)
{
    TPainterCanvas canvas(nullptr, 600);
    EXPECT_EQ(canvas.PixelsPerInch(), 600);
    EXPECT_FALSE(canvas.CanDraw());
    canvas.Font().SetName("DejaVu Sans");
    canvas.Font().SetSize(10);
    EXPECT_EQ(canvas.Font().Height(), -83);
    TPainterCanvas screen(nullptr, 96);
    screen.Font().SetName("DejaVu Sans");
    screen.Font().SetSize(10);
    double ratio = static_cast<double>(canvas.TextWidth("Konverze dokumentů")) / screen.TextWidth("Konverze dokumentů");
    EXPECT_NEAR(ratio, 600.0 / 96.0, 0.3) << "unhinted text widths scale with the resolution";
    EXPECT_THROW(canvas.Rectangle(0, 0, 5, 5), EInvalidGraphicOperation);
    EXPECT_THROW(canvas.TextOut(0, 0, "x"), EInvalidGraphicOperation);
}

TEST(Fonts, TheWidthOfATextIsTheLastOfItsCharacterPositions)
{
    const char* texts[] = {"", "W", "Konverze dokumentů", "Příliš žluťoučký kůň úpěl ďábelské ódy", "office ffi AV To.",
                           "a\u0301e\u0308 ", "  trailing blanks  ", "abc \u05D0\u05D1\u05D2 def", "1234,56 Kč", "a\tb", "\t\tčást\tx"};
    for (const char* face : {"DejaVu Sans", "DejaVu Serif", "Nimbus Sans"})
        for (int pixels : {7, 13, 29}) {
            TLogFont log;
            log.FaceName = core::Utf8ToUtf16(face);
            log.Height = -pixels;
            QFont font = MakeQFont(log);
            for (const char* text : texts) {
                std::u16string wide = core::Utf8ToUtf16(text);
                EXPECT_DOUBLE_EQ(TextAdvance(font, wide), CharacterPositions(font, wide).back())
                    << face << " " << pixels << " \"" << text << "\"";
            }
        }
}

TEST(Fonts, ClassicFacesGetANarrowStandInOnPagesAndControlsAlike)
{
    const std::u16string text = core::Utf8ToUtf16("Page Header 12 cm");
    TLogFont wide;
    wide.FaceName = u"DejaVu Sans";
    wide.Height = -12;
    const double wideWidth = TextAdvance(MakeQFont(wide), text);
    for (const char* face : {"Small Fonts", "Tahoma", "MS Sans Serif"}) {
        TLogFont classic = wide;
        classic.FaceName = core::Utf8ToUtf16(face);
        EXPECT_LT(TextAdvance(MakeQFont(classic), text), wideWidth * 0.95) << face;
        TFont control;
        control.SetName(face);
        EXPECT_EQ(control.ToQFont().families(), FontFamilies(QString::fromUtf8(face))) << face;
    }
    // A face of this system is asked for alone.
    EXPECT_EQ(FontFamilies(QStringLiteral("DejaVu Serif")), QStringList{QStringLiteral("DejaVu Serif")});
}
