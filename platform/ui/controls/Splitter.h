#pragma once
// A splitter: a thin bar between two aligned controls. Dragging it changes
// the size of the control it follows (the one aligned to the same side just
// before it); the aligned controls then take their new places.

#include "platform/ui/kernel/GraphicControl.h"

namespace ui {

class TSplitter : public TGraphicControl {
public:
    explicit TSplitter(core::TComponent* owner);
    std::string ClassName() const override { return "TSplitter"; }

    // The smallest size the resized control may take.
    int MinSize() const { return minSize_; }
    void SetMinSize(int minSize) { minSize_ = minSize; }
    // The control the splitter resizes; none when nothing sits before it.
    TControl* ResizedControl() const;
    // Moves the splitter by delta pixels (right or down is positive), as a drag does.
    void MoveBy(int delta);

protected:
    void Paint(QPainter& painter) override;
    void MouseDown(TMouseButton button, TShiftState shift, int x, int y) override;
    void MouseMove(TShiftState shift, int x, int y) override;
    void MouseUp(TMouseButton button, TShiftState shift, int x, int y) override;
    void BoundsChanged() override;

private:
    void ShowCursor();

    int minSize_ = 30;
    bool dragging_ = false;
    int dragFrom_ = 0;
};

} // namespace ui
