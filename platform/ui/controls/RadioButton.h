#pragma once
// A radio button: of the radio buttons placed in one parent, one is checked.

#include "platform/ui/kernel/WinControl.h"

class QRadioButton;

namespace ui {

class TRadioButton : public TWinControl {
public:
    explicit TRadioButton(core::TComponent* owner);
    std::string ClassName() const override { return "TRadioButton"; }

    bool Checked() const;
    // Checking the button, by the user or the program, runs OnClick and
    // unchecks its siblings.
    void SetChecked(bool checked);

protected:
    void CaptionChanged() override;

private:
    QRadioButton* button() const;
};

} // namespace ui
