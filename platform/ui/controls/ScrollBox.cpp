#include "platform/ui/controls/ScrollBox.h"

#include <QEvent>
#include <QScrollArea>
#include <QScrollBar>

#include <algorithm>

namespace ui {

void TControlScrollBar::SetRange(int range)
{
    range_ = std::max(0, range);
    box_->SizeArea();
}

void TControlScrollBar::SetIncrement(int increment)
{
    increment_ = std::max(1, increment);
    box_->SizeArea();
}

int TControlScrollBar::Position() const
{
    QScrollArea* area = box_->area();
    if (area == nullptr)
        return 0;
    return (vertical_ ? area->verticalScrollBar() : area->horizontalScrollBar())->value();
}

void TControlScrollBar::SetPosition(int position)
{
    if (QScrollArea* area = box_->area())
        (vertical_ ? area->verticalScrollBar() : area->horizontalScrollBar())->setValue(position);
}

TScrollBox::TScrollBox(core::TComponent* owner) : TWinControl(owner)
{
    auto* area = new QScrollArea;
    area->setWidgetResizable(false);
    client_ = new QWidget;
    area->setWidget(client_);
    SetWidget(area);
    SetBounds(0, 0, 185, 41);
    SizeArea();
}

QScrollArea* TScrollBox::area() const
{
    return static_cast<QScrollArea*>(Widget());
}

QWidget* TScrollBox::ClientWidget() const
{
    return Widget() != nullptr ? client_ : nullptr;
}

void TScrollBox::SizeArea()
{
    QScrollArea* a = area();
    if (a == nullptr)
        return;
    QSize view = a->maximumViewportSize();
    bool vertical = vert_.range_ > view.height();
    bool horizontal = horz_.range_ > view.width();
    // A scroll bar that shows takes room from the other direction.
    int width = view.width() - (vertical ? a->verticalScrollBar()->sizeHint().width() : 0);
    int height = view.height() - (horizontal ? a->horizontalScrollBar()->sizeHint().height() : 0);
    client_->resize(std::max(width, horz_.range_), std::max(height, vert_.range_));
    a->verticalScrollBar()->setSingleStep(vert_.increment_);
    a->horizontalScrollBar()->setSingleStep(horz_.increment_);
}

bool TScrollBox::WidgetEvent(QWidget* source, QEvent* event)
{
    bool result = TWinControl::WidgetEvent(source, event);
    if (source == Widget() && event->type() == QEvent::Resize)
        SizeArea();
    return result;
}

} // namespace ui
