#include "platform/ui/controls/SpeedButton.h"

#include <QToolButton>

namespace ui {

TSpeedButton::TSpeedButton(core::TComponent* owner) : TControl(owner)
{
    auto* button = new QToolButton;
    button->setFocusPolicy(Qt::NoFocus);
    SetWidget(button);
    SetBounds(0, 0, 23, 22);
    QObject::connect(button, &QToolButton::clicked, button, [this] { Fire([this] { Click(); }); });
}

QToolButton* TSpeedButton::button() const
{
    return static_cast<QToolButton*>(Widget());
}

void TSpeedButton::SetFlat(bool flat)
{
    flat_ = flat;
    if (button() != nullptr)
        button()->setAutoRaise(flat);
}

void TSpeedButton::CaptionChanged()
{
    if (button() != nullptr)
        button()->setText(QString::fromStdString(Caption()));
}

} // namespace ui
