#include "platform/ui/controls/RadioButton.h"

#include <QRadioButton>

namespace ui {

TRadioButton::TRadioButton(core::TComponent* owner) : TWinControl(owner)
{
    auto* button = new QRadioButton;
    SetWidget(button);
    SetBounds(0, 0, 113, 17);
    QObject::connect(button, &QRadioButton::toggled, button, [this](bool checked) {
        if (checked)
            Fire([this] { Click(); });
    });
}

QRadioButton* TRadioButton::button() const
{
    return static_cast<QRadioButton*>(Widget());
}

bool TRadioButton::Checked() const
{
    return button() != nullptr && button()->isChecked();
}

void TRadioButton::SetChecked(bool checked)
{
    if (button() == nullptr)
        return;
    if (!checked && button()->isChecked()) {
        // Qt keeps one button of a group checked; unchecking one by hand leaves none.
        button()->setAutoExclusive(false);
        button()->setChecked(false);
        button()->setAutoExclusive(true);
        return;
    }
    button()->setChecked(checked);
}

void TRadioButton::CaptionChanged()
{
    if (button() != nullptr)
        button()->setText(QString::fromStdString(Caption()));
}

} // namespace ui
