#include "report/preview/RpPreviewGlyphs.h"

#include <QPainter>
#include <QPainterPath>
#include <QPolygon>

namespace report {

namespace {

const QColor kInk(40, 40, 40);
const QColor kPaper(255, 255, 255);
const QColor kBlue(30, 90, 170);

// A sheet of paper filling the given box.
void Sheet(QPainter& p, const QRect& box)
{
    p.setPen(kInk);
    p.setBrush(kPaper);
    p.drawRect(box);
}

void Triangle(QPainter& p, int x, int y, bool pointsRight)
{
    QPolygon shape;
    if (pointsRight)
        shape << QPoint(x, y - 4) << QPoint(x + 4, y) << QPoint(x, y + 4);
    else
        shape << QPoint(x + 4, y - 4) << QPoint(x, y) << QPoint(x + 4, y + 4);
    p.setPen(Qt::NoPen);
    p.setBrush(kBlue);
    p.drawPolygon(shape);
}

void Printer(QPainter& p)
{
    p.setPen(kInk);
    p.setBrush(kPaper);
    p.drawRect(4, 1, 8, 5);
    p.setBrush(QColor(170, 170, 170));
    p.drawRect(1, 6, 14, 6);
    p.setBrush(kPaper);
    p.drawRect(4, 10, 8, 5);
    p.setPen(QColor(0, 150, 0));
    p.drawPoint(13, 8);
}

} // namespace

QPixmap RpPreviewGlyph(TRpPreviewGlyph glyph)
{
    QPixmap picture(kRpPreviewGlyphSize, kRpPreviewGlyphSize);
    picture.fill(Qt::transparent);
    QPainter p(&picture);
    switch (glyph) {
    case TRpPreviewGlyph::ZoomFit:
        Sheet(p, QRect(4, 1, 8, 13));
        p.setPen(kBlue);
        p.drawLine(1, 1, 1, 14);
        p.drawLine(14, 1, 14, 14);
        break;
    case TRpPreviewGlyph::ZoomToWidth:
        Sheet(p, QRect(1, 3, 13, 12));
        p.setPen(kBlue);
        p.drawLine(2, 1, 13, 1);
        p.drawLine(2, 1, 4, 0);
        p.drawLine(13, 1, 11, 0);
        break;
    case TRpPreviewGlyph::Zoom100: {
        p.setPen(kInk);
        QFont font = p.font();
        font.setPixelSize(9);
        font.setBold(true);
        p.setFont(font);
        p.drawText(QRect(0, 0, 16, 16), Qt::AlignCenter, QStringLiteral("1:1"));
        break;
    }
    case TRpPreviewGlyph::FirstPage:
        p.fillRect(3, 4, 2, 9, kBlue);
        Triangle(p, 6, 8, false);
        Triangle(p, 10, 8, false);
        break;
    case TRpPreviewGlyph::PreviousPage:
        Triangle(p, 6, 8, false);
        break;
    case TRpPreviewGlyph::NextPage:
        Triangle(p, 6, 8, true);
        break;
    case TRpPreviewGlyph::LastPage:
        Triangle(p, 2, 8, true);
        Triangle(p, 6, 8, true);
        p.fillRect(11, 4, 2, 9, kBlue);
        break;
    case TRpPreviewGlyph::GotoPage:
        Sheet(p, QRect(1, 1, 9, 13));
        Triangle(p, 10, 8, true);
        p.fillRect(5, 7, 5, 2, kBlue);
        break;
    case TRpPreviewGlyph::Find:
        p.setRenderHint(QPainter::Antialiasing);
        p.setPen(QPen(kInk, 2));
        p.setBrush(QColor(200, 225, 255));
        p.drawEllipse(QRectF(1.5, 1.5, 8, 8));
        p.drawLine(QPointF(9, 9), QPointF(14, 14));
        break;
    case TRpPreviewGlyph::PrintSetup:
        Printer(p);
        p.setPen(QPen(kBlue, 2));
        p.drawLine(9, 13, 14, 13);
        break;
    case TRpPreviewGlyph::Print:
        Printer(p);
        break;
    case TRpPreviewGlyph::Save:
        p.setPen(kInk);
        p.setBrush(kBlue);
        p.drawRect(1, 1, 13, 13);
        p.setBrush(kPaper);
        p.drawRect(4, 1, 7, 5);
        p.drawRect(3, 9, 9, 5);
        break;
    case TRpPreviewGlyph::Load: {
        p.setPen(kInk);
        p.setBrush(QColor(230, 190, 80));
        QPolygon folder;
        folder << QPoint(1, 3) << QPoint(6, 3) << QPoint(7, 5) << QPoint(14, 5) << QPoint(14, 13)
               << QPoint(1, 13);
        p.drawPolygon(folder);
        break;
    }
    }
    return picture;
}

} // namespace report
