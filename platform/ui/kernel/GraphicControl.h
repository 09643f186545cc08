#pragma once
// A graphic control: a control without a window of its own in the class
// library's sense (it never takes the focus) that paints itself. Derived
// classes draw in Paint; the program hears the mouse through the events.

#include "platform/ui/kernel/Control.h"
#include "platform/ui/kernel/InputEvents.h"

class QPainter;

namespace ui {

class TGraphicControl : public TControl {
public:
    explicit TGraphicControl(core::TComponent* owner);
    std::string ClassName() const override { return "TGraphicControl"; }

    // Paints the control at once (Invalidate paints it when the events run).
    void Repaint();

    core::TNotifyEvent OnDblClick;
    TMouseEvent OnMouseDown;
    TMouseEvent OnMouseUp;
    TMouseMoveEvent OnMouseMove;

protected:
    // Draws the control; the painter's coordinates are the control's pixels.
    virtual void Paint(QPainter& painter);
    // The class library's handling of the mouse: each runs its event.
    virtual void MouseDown(TMouseButton button, TShiftState shift, int x, int y);
    virtual void MouseUp(TMouseButton button, TShiftState shift, int x, int y);
    virtual void MouseMove(TShiftState shift, int x, int y);
    virtual void DblClick();
    bool WidgetEvent(QWidget* source, QEvent* event) override;

private:
    class PaintWidget;
    bool pressedInside_ = false;
};

} // namespace ui
