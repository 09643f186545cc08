#pragma once
// A scroll box: a window whose controls are placed on an area that may be
// larger than the box and is scrolled into view.

#include "platform/ui/kernel/WinControl.h"

class QScrollArea;

namespace ui {

class TScrollBox;

// One scroll bar of a scroll box: the height (or width) of the scrolled area
// and the distance of one step. A range of 0 makes the area as large as the box.
class TControlScrollBar {
public:
    int Range() const { return range_; }
    void SetRange(int range);
    int Increment() const { return increment_; }
    void SetIncrement(int increment);
    // How far the area is scrolled.
    int Position() const;
    void SetPosition(int position);

private:
    friend class TScrollBox;
    TControlScrollBar(TScrollBox* box, bool vertical) : box_(box), vertical_(vertical) {}

    TScrollBox* box_;
    bool vertical_;
    int range_ = 0;
    int increment_ = 8;
};

class TScrollBox : public TWinControl {
public:
    explicit TScrollBox(core::TComponent* owner);
    std::string ClassName() const override { return "TScrollBox"; }

    TControlScrollBar& VertScrollBar() { return vert_; }
    TControlScrollBar& HorzScrollBar() { return horz_; }

    // Controls are placed on the scrolled area.
    QWidget* ClientWidget() const override;

protected:
    bool WidgetEvent(QWidget* source, QEvent* event) override;

private:
    friend class TControlScrollBar;
    QScrollArea* area() const;
    // The area follows the ranges and the size of the box.
    void SizeArea();

    QWidget* client_ = nullptr;
    TControlScrollBar vert_{this, true};
    TControlScrollBar horz_{this, false};
};

} // namespace ui
