#pragma once
// An image: a picture shown in the control, at its own size from the top
// left corner, centred, or stretched across the control.

#include "platform/ui/kernel/Control.h"

#include <QPixmap>

class QLabel;

namespace ui {

class TImage : public TControl {
public:
    explicit TImage(core::TComponent* owner);
    std::string ClassName() const override { return "TImage"; }

    const QPixmap& Picture() const { return picture_; }
    void SetPicture(const QPixmap& picture);
    bool Stretch() const { return stretch_; }
    void SetStretch(bool stretch);
    bool Center() const { return center_; }
    void SetCenter(bool center);

private:
    QLabel* label() const;
    void ShowPicture();

    QPixmap picture_;
    bool stretch_ = false;
    bool center_ = false;
};

} // namespace ui
