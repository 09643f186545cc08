#include "app/NavigatorGlyphs.h"

#include <QPainter>
#include <QPainterPath>

namespace app {
namespace {

const QColor kMove(40, 90, 170);
const QColor kAdd(30, 140, 60);
const QColor kRemove(190, 40, 40);
const QColor kEdit(200, 130, 20);

void Triangle(QPainter& p, bool left, double x)
{
    QPainterPath path;
    if (left) {
        path.moveTo(x + 7, 5);
        path.lineTo(x, 11);
        path.lineTo(x + 7, 17);
    } else {
        path.moveTo(x, 5);
        path.lineTo(x + 7, 11);
        path.lineTo(x, 17);
    }
    path.closeSubpath();
    p.fillPath(path, kMove);
}

void Bar(QPainter& p, double x)
{
    p.fillRect(QRectF(x, 5, 2.5, 12), kMove);
}

} // namespace

QPixmap NavigatorGlyph(int index)
{
    QPixmap pixmap(NavigatorGlyphSize, NavigatorGlyphSize);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    switch (index) {
    case 0: // first
        Bar(p, 5);
        Triangle(p, true, 9);
        break;
    case 1: // prior
        Triangle(p, true, 7.5);
        break;
    case 2: // next
        Triangle(p, false, 7.5);
        break;
    case 3: // last
        Triangle(p, false, 6);
        Bar(p, 14.5);
        break;
    case 4: // insert
        p.fillRect(QRectF(9.5, 4, 3, 14), kAdd);
        p.fillRect(QRectF(4, 9.5, 14, 3), kAdd);
        break;
    case 5: // delete
        p.fillRect(QRectF(4, 9.5, 14, 3), kRemove);
        break;
    case 6: { // edit: a pencil
        p.translate(11, 11);
        p.rotate(-45);
        p.fillRect(QRectF(-6, -2, 10, 4), kEdit);
        QPainterPath tip;
        tip.moveTo(4, -2);
        tip.lineTo(8, 0);
        tip.lineTo(4, 2);
        tip.closeSubpath();
        p.fillPath(tip, QColor(60, 60, 60));
        p.fillRect(QRectF(-8, -2, 2, 4), QColor(220, 120, 140));
        break;
    }
    case 7: { // post: a tick
        QPen pen(kAdd, 3, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
        p.setPen(pen);
        p.drawPolyline(QPolygonF({QPointF(5, 11.5), QPointF(9.5, 16), QPointF(17, 6)}));
        break;
    }
    case 8: { // cancel: a cross
        QPen pen(kRemove, 3, Qt::SolidLine, Qt::RoundCap);
        p.setPen(pen);
        p.drawLine(QPointF(6, 6), QPointF(16, 16));
        p.drawLine(QPointF(16, 6), QPointF(6, 16));
        break;
    }
    default: { // refresh: a circular arrow
        QPen pen(kMove, 2.5, Qt::SolidLine, Qt::RoundCap);
        p.setPen(pen);
        p.drawArc(QRectF(5, 5, 12, 12), 60 * 16, 270 * 16);
        QPainterPath head;
        head.moveTo(13, 2.5);
        head.lineTo(18, 6.5);
        head.lineTo(12.5, 9);
        head.closeSubpath();
        p.fillPath(head, kMove);
        break;
    }
    }
    return pixmap;
}

void LoadNavigatorGlyphs(ui::TImageList& images)
{
    images.SetSize(NavigatorGlyphSize, NavigatorGlyphSize);
    images.Clear();
    for (int i = 0; i < 10; ++i)
        images.Add(NavigatorGlyph(i));
}

} // namespace app
