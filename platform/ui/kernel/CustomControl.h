#pragma once
// The class library's custom control: a windowed control that paints itself
// on its canvas. Outside a paint the canvas has no surface but still measures
// text in the screen's resolution.

#include "platform/gfx/Canvas.h"
#include "platform/gfx/GraphicsObjects.h"
#include "platform/ui/kernel/WinControl.h"

#include <cstdint>
#include <memory>

class QImage;

namespace gfx {
class TPainterCanvas;
}

namespace ui {

// Control style marks of a custom control.
enum TControlStyleFlag : std::uint32_t {
    // The control paints its whole client area itself.
    csOpaque = 1u << 0,
};
using TControlStyle = std::uint32_t;

class TCustomControl : public TWinControl {
public:
    explicit TCustomControl(core::TComponent* owner);
    ~TCustomControl() override;
    std::string ClassName() const override { return "TCustomControl"; }

    gfx::TCanvas& Canvas();
    // Paints the control at once (Invalidate paints it when the events run).
    void Repaint();
    // Paints the control into image, whose top left is the control's (0, 0).
    void PaintTo(QImage& image);

    TControlStyle ControlStyle() const { return controlStyle_; }
    void SetControlStyle(TControlStyle style) { controlStyle_ = style; }

protected:
    // Draws the control on Canvas, in the control's pixels.
    virtual void Paint() {}

private:
    class PaintWidget;
    void PaintOn(QPainter& painter);

    std::unique_ptr<gfx::TPainterCanvas> canvas_;
    TControlStyle controlStyle_ = 0;
};

// Copies a control's font into a canvas font (name, size, style, colour),
// keeping the canvas font's resolution, character set and pitch.
void AssignControlFont(gfx::TFont& dest, const gfx::TFont& source);

} // namespace ui
