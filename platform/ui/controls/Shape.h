#pragma once
// A shape: a rectangle, square, rounded rectangle or ellipse filled with a
// brush colour and outlined with a pen colour, drawn across the control.

#include "platform/ui/kernel/Control.h"

namespace ui {

enum class TShapeType { stRectangle, stSquare, stRoundRect, stRoundSquare, stEllipse, stCircle };

class TShape : public TControl {
public:
    explicit TShape(core::TComponent* owner);
    std::string ClassName() const override { return "TShape"; }

    TShapeType Shape() const { return shape_; }
    void SetShape(TShapeType shape);
    TColor BrushColor() const { return brushColor_; }
    void SetBrushColor(TColor color);
    // clNone draws no outline.
    TColor PenColor() const { return penColor_; }
    void SetPenColor(TColor color);

private:
    class Canvas;
    TShapeType shape_ = TShapeType::stRectangle;
    TColor brushColor_ = clWhite;
    TColor penColor_ = clBlack;
};

} // namespace ui
