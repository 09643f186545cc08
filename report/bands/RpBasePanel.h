#pragma once
// The panel that bands and the report share: a windowed control that paints
// itself, holds printables, owns a frame, and knows the zoom of the design
// view and the point size the character ruler measures by.

#include "platform/ui/kernel/CustomControl.h"
#include "report/layout/RpReportSite.h"
#include "report/layout/RpUnits.h"
#include "report/printables/RpFrame.h"

#include <cstdint>
#include <functional>
#include <memory>

namespace gfx {
class TCanvas;
}

namespace report {

class TRpPrintable;

class TRpBasePanel : public ui::TCustomControl, public TRpPanelSite {
public:
    explicit TRpBasePanel(core::TComponent* owner);
    ~TRpBasePanel() override;
    std::string ClassName() const override { return "TRpBasePanel"; }

    // The panel owns its frame; assigning another copies its settings.
    TRpFrame& Frame() { return *frame_; }
    const TRpFrame& Frame() const { return *frame_; }
    void SetFrame(TRpFrame* frame);

    std::int32_t FontSize() const { return fontSize_; }
    void SetFontSize(std::int32_t size) { fontSize_ = size; }
    std::int32_t Zoom() const { return zoom_; }
    std::int32_t PanelZoom() const override { return zoom_; }
    // 0 is ignored; the children follow the zoom.
    virtual void SetZoom(std::int32_t zoom);
    // Ruler lines (and, on the report, their figures) in unit.
    virtual void DrawRuler(gfx::TCanvas& canvas, TRpUnit unit);

    // Every printable below the panel starts or ends its run.
    void BeginRunAll();
    void EndRunAll();
    // Every printable below the control, at any depth.
    static void ForEachPrintable(ui::TWinControl& control, const std::function<void(TRpPrintable&)>& action);

protected:
    void Paint() override { PaintPanel(Canvas()); }
    // The design surface: the panel's colour, silver when disabled.
    virtual void PaintPanel(gfx::TCanvas& canvas);
    // Whether DrawRuler writes figures beside the major lines.
    bool rulerLabels_ = false;

private:
    std::unique_ptr<TRpFrame> frame_;
    std::int32_t fontSize_ = 12;
    std::int32_t zoom_ = 100;
};

} // namespace report
