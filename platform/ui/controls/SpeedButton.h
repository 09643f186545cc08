#pragma once
// A speed button: a small button that never takes the keyboard focus, so
// pressing it leaves the focus where the user is typing.

#include "platform/ui/kernel/Control.h"

class QToolButton;

namespace ui {

class TSpeedButton : public TControl {
public:
    explicit TSpeedButton(core::TComponent* owner);
    std::string ClassName() const override { return "TSpeedButton"; }

    bool Flat() const { return flat_; }
    void SetFlat(bool flat);

protected:
    void CaptionChanged() override;

private:
    QToolButton* button() const;

    bool flat_ = false;
};

} // namespace ui
