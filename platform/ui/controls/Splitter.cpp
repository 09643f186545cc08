#include "platform/ui/controls/Splitter.h"

#include "platform/ui/kernel/WinControl.h"

#include <QPainter>
#include <QWidget>

#include <algorithm>

namespace ui {

namespace {

bool Horizontal(TAlign align) { return align == TAlign::alLeft || align == TAlign::alRight; }

} // namespace

TSplitter::TSplitter(core::TComponent* owner) : TGraphicControl(owner)
{
    SetBounds(0, 0, 3, 100);
    SetAlign(TAlign::alLeft);
    ShowCursor();
}

void TSplitter::ShowCursor()
{
    if (Widget() != nullptr)
        Widget()->setCursor(Horizontal(Align()) ? Qt::SplitHCursor : Qt::SplitVCursor);
}

void TSplitter::BoundsChanged()
{
    ShowCursor();
}

TControl* TSplitter::ResizedControl() const
{
    TWinControl* parent = Parent();
    if (parent == nullptr)
        return nullptr;
    // The control of the same alignment whose edge touches the splitter.
    for (int i = 0; i < parent->ControlCount(); ++i) {
        TControl* c = parent->Controls(i);
        if (c == this || c->Align() != Align() || !c->Visible())
            continue;
        bool touches = false;
        switch (Align()) {
        case TAlign::alLeft: touches = c->Left() + c->Width() == Left(); break;
        case TAlign::alRight: touches = c->Left() == Left() + Width(); break;
        case TAlign::alTop: touches = c->Top() + c->Height() == Top(); break;
        case TAlign::alBottom: touches = c->Top() == Top() + Height(); break;
        default: break;
        }
        if (touches)
            return c;
    }
    return nullptr;
}

void TSplitter::MoveBy(int delta)
{
    TControl* control = ResizedControl();
    if (control == nullptr || delta == 0)
        return;
    // Right and bottom controls grow when the splitter moves towards the start.
    bool grows = Align() == TAlign::alLeft || Align() == TAlign::alTop;
    int change = grows ? delta : -delta;
    if (Horizontal(Align()))
        control->SetWidth(std::max(minSize_, control->Width() + change));
    else
        control->SetHeight(std::max(minSize_, control->Height() + change));
}

void TSplitter::Paint(QPainter& painter)
{
    painter.fillRect(QRect(0, 0, Width(), Height()), ColorToQColor(clBtnFace));
}

void TSplitter::MouseDown(TMouseButton button, TShiftState shift, int x, int y)
{
    TGraphicControl::MouseDown(button, shift, x, y);
    if (button != TMouseButton::mbLeft)
        return;
    dragging_ = true;
    dragFrom_ = Horizontal(Align()) ? x : y;
}

void TSplitter::MouseMove(TShiftState shift, int x, int y)
{
    TGraphicControl::MouseMove(shift, x, y);
    if (!dragging_)
        return;
    // Positions are the splitter's own; it moves with the control it resizes.
    MoveBy((Horizontal(Align()) ? x : y) - dragFrom_);
}

void TSplitter::MouseUp(TMouseButton button, TShiftState shift, int x, int y)
{
    TGraphicControl::MouseUp(button, shift, x, y);
    if (button == TMouseButton::mbLeft)
        dragging_ = false;
}

} // namespace ui
