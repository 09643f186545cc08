#include "platform/ui/controls/Shape.h"

#include <QPainter>
#include <QWidget>

#include <algorithm>

namespace ui {

class TShape::Canvas : public QWidget {
public:
    explicit Canvas(TShape* shape) : shape_(shape) {}

protected:
    void paintEvent(QPaintEvent*) override
    {
        if (shape_ == nullptr)
            return;
        QPainter painter(this);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.setBrush(ColorToQColor(shape_->brushColor_));
        if (shape_->penColor_ == clNone)
            painter.setPen(Qt::NoPen);
        else
            painter.setPen(ColorToQColor(shape_->penColor_));
        QRectF area = QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5);
        TShapeType kind = shape_->shape_;
        if (kind == TShapeType::stSquare || kind == TShapeType::stRoundSquare || kind == TShapeType::stCircle) {
            double side = std::min(area.width(), area.height());
            area = QRectF(area.center().x() - side / 2, area.center().y() - side / 2, side, side);
        }
        double corner = std::min(area.width(), area.height()) / 4;
        switch (kind) {
        case TShapeType::stRoundRect:
        case TShapeType::stRoundSquare: painter.drawRoundedRect(area, corner, corner); break;
        case TShapeType::stEllipse:
        case TShapeType::stCircle: painter.drawEllipse(area); break;
        default: painter.drawRect(area); break;
        }
    }

private:
    TShape* shape_;
};

TShape::TShape(core::TComponent* owner) : TControl(owner)
{
    SetWidget(new Canvas(this));
    SetBounds(0, 0, 65, 65);
}

void TShape::SetShape(TShapeType shape)
{
    shape_ = shape;
    Invalidate();
}

void TShape::SetBrushColor(TColor color)
{
    brushColor_ = color;
    Invalidate();
}

void TShape::SetPenColor(TColor color)
{
    penColor_ = color;
    Invalidate();
}

} // namespace ui
