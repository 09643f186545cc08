#include "platform/ui/controls/ProgressBar.h"

#include <QProgressBar>

#include <algorithm>

namespace ui {

TProgressBar::TProgressBar(core::TComponent* owner) : TWinControl(owner)
{
    auto* bar = new QProgressBar;
    bar->setRange(min_, max_);
    bar->setValue(position_);
    bar->setTextVisible(false);
    SetWidget(bar);
    SetTabStop(false);
    SetBounds(0, 0, 150, 16);
}

QProgressBar* TProgressBar::bar() const
{
    return static_cast<QProgressBar*>(Widget());
}

void TProgressBar::SetRange(int min, int max)
{
    min_ = min;
    max_ = std::max(min, max);
    position_ = std::clamp(position_, min_, max_);
    if (bar() != nullptr) {
        bar()->setRange(min_, max_);
        bar()->setValue(position_);
    }
}

void TProgressBar::SetPosition(int position)
{
    position_ = std::clamp(position, min_, max_);
    if (bar() != nullptr)
        bar()->setValue(position_);
}

} // namespace ui
