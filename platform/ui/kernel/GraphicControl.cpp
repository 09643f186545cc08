#include "platform/ui/kernel/GraphicControl.h"

#include <QMouseEvent>
#include <QPainter>
#include <QPaintEvent>
#include <QWidget>

namespace ui {

// Hands its painting to the control it belongs to.
class TGraphicControl::PaintWidget : public QWidget {
public:
    explicit PaintWidget(TGraphicControl* control) : control_(control)
    {
        setMouseTracking(true);
        setFocusPolicy(Qt::NoFocus);
    }

protected:
    void paintEvent(QPaintEvent*) override
    {
        if (control_ == nullptr || control_->HasState(core::csDestroying))
            return;
        QPainter painter(this);
        control_->Fire([&] { control_->Paint(painter); });
    }

private:
    TGraphicControl* control_;
};

namespace {

TMouseButton ButtonFromQt(Qt::MouseButton button)
{
    switch (button) {
    case Qt::RightButton: return TMouseButton::mbRight;
    case Qt::MiddleButton: return TMouseButton::mbMiddle;
    default: return TMouseButton::mbLeft;
    }
}

} // namespace

TGraphicControl::TGraphicControl(core::TComponent* owner) : TControl(owner)
{
    SetWidget(new PaintWidget(this));
}

void TGraphicControl::Repaint()
{
    if (Widget() != nullptr)
        Widget()->repaint();
}

void TGraphicControl::Paint(QPainter& /*painter*/) {}

void TGraphicControl::MouseDown(TMouseButton button, TShiftState shift, int x, int y)
{
    if (OnMouseDown)
        OnMouseDown(this, button, shift, x, y);
}

void TGraphicControl::MouseUp(TMouseButton button, TShiftState shift, int x, int y)
{
    if (OnMouseUp)
        OnMouseUp(this, button, shift, x, y);
}

void TGraphicControl::MouseMove(TShiftState shift, int x, int y)
{
    if (OnMouseMove)
        OnMouseMove(this, shift, x, y);
}

void TGraphicControl::DblClick()
{
    if (OnDblClick)
        OnDblClick(this);
}

bool TGraphicControl::WidgetEvent(QWidget* source, QEvent* event)
{
    if (source != Widget() || HasState(core::csDestroying))
        return TControl::WidgetEvent(source, event);
    switch (event->type()) {
    case QEvent::MouseButtonPress: {
        auto* mouse = static_cast<QMouseEvent*>(event);
        QPoint at = mouse->position().toPoint();
        pressedInside_ = mouse->button() == Qt::LeftButton;
        TShiftState shift = ShiftStateFromQt(mouse->modifiers(), mouse->buttons());
        Fire([&] { MouseDown(ButtonFromQt(mouse->button()), shift, at.x(), at.y()); });
        return true;
    }
    case QEvent::MouseButtonRelease: {
        auto* mouse = static_cast<QMouseEvent*>(event);
        QPoint at = mouse->position().toPoint();
        TShiftState shift = ShiftStateFromQt(mouse->modifiers(), mouse->buttons());
        bool click = pressedInside_ && mouse->button() == Qt::LeftButton && Widget()->rect().contains(at);
        if (mouse->button() == Qt::LeftButton)
            pressedInside_ = false;
        Fire([&] { MouseUp(ButtonFromQt(mouse->button()), shift, at.x(), at.y()); });
        if (click)
            Fire([this] { Click(); });
        return true;
    }
    case QEvent::MouseButtonDblClick: {
        auto* mouse = static_cast<QMouseEvent*>(event);
        if (mouse->button() == Qt::LeftButton) {
            // The second press of a double click is also a press.
            QPoint at = mouse->position().toPoint();
            TShiftState shift = ShiftStateFromQt(mouse->modifiers(), mouse->buttons()) | ssDouble;
            pressedInside_ = false;
            Fire([&] { MouseDown(TMouseButton::mbLeft, shift, at.x(), at.y()); });
            Fire([this] { DblClick(); });
        }
        return true;
    }
    case QEvent::MouseMove: {
        auto* mouse = static_cast<QMouseEvent*>(event);
        QPoint at = mouse->position().toPoint();
        TShiftState shift = ShiftStateFromQt(mouse->modifiers(), mouse->buttons());
        Fire([&] { MouseMove(shift, at.x(), at.y()); });
        return true;
    }
    default:
        break;
    }
    return TControl::WidgetEvent(source, event);
}

} // namespace ui
