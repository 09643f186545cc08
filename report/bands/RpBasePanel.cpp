#include "report/bands/RpBasePanel.h"

#include "platform/gfx/Canvas.h"
#include "platform/gfx/Screen.h"
#include "report/bands/RpDesignColors.h"
#include "report/layout/RpMath.h"
#include "report/printables/RpPrintable.h"

#include <string>

namespace report {

TRpBasePanel::TRpBasePanel(core::TComponent* owner)
    : ui::TCustomControl(owner), frame_(std::make_unique<TRpFrame>(this))
{
}

TRpBasePanel::~TRpBasePanel() = default;

void TRpBasePanel::SetFrame(TRpFrame* frame)
{
    if (frame != nullptr && frame != frame_.get())
        frame_->Assign(frame);
    Invalidate();
}

void TRpBasePanel::SetZoom(std::int32_t zoom)
{
    if (zoom == 0)
        return;
    zoom_ = zoom;
    for (int i = 0; i < ControlCount(); ++i) {
        ui::TControl* child = Controls(i);
        if (auto* printable = dynamic_cast<TRpPrintable*>(child))
            SetPrintableZoom(*printable, zoom);
        else if (auto* panel = dynamic_cast<TRpBasePanel*>(child))
            panel->SetZoom(zoom);
    }
}

void TRpBasePanel::BeginRunAll()
{
    for (int i = 0; i < ControlCount(); ++i) {
        ui::TControl* child = Controls(i);
        if (auto* printable = dynamic_cast<TRpPrintable*>(child))
            printable->BeginRun();
        else if (auto* panel = dynamic_cast<TRpBasePanel*>(child))
            panel->BeginRunAll();
    }
}

void TRpBasePanel::EndRunAll()
{
    for (int i = 0; i < ControlCount(); ++i) {
        ui::TControl* child = Controls(i);
        if (auto* printable = dynamic_cast<TRpPrintable*>(child))
            printable->EndRun();
        else if (auto* panel = dynamic_cast<TRpBasePanel*>(child))
            panel->EndRunAll();
    }
}

void TRpBasePanel::ForEachPrintable(ui::TWinControl& control, const std::function<void(TRpPrintable&)>& action)
{
    for (int i = 0; i < control.ControlCount(); ++i) {
        ui::TControl* child = control.Controls(i);
        if (auto* printable = dynamic_cast<TRpPrintable*>(child))
            action(*printable);
        else if (auto* container = dynamic_cast<ui::TWinControl*>(child))
            ForEachPrintable(*container, action);
    }
}

void TRpBasePanel::PaintPanel(gfx::TCanvas& canvas)
{
    canvas.Brush().SetStyle(gfx::TBrushStyle::bsSolid);
    canvas.Brush().SetColor(Enabled() ? Color() : gfx::RGBToColor(192, 192, 192));
    canvas.FillRect(gfx::Rect(0, 0, Width(), Height()));
    canvas.Brush().SetStyle(gfx::TBrushStyle::bsClear);
}

namespace {

void RulerPen(gfx::TCanvas& canvas, bool major)
{
    const TRpDesignColors& colors = DesignColors();
    canvas.Pen().SetStyle(major ? colors.RulerMajorPenStyle : colors.RulerMinorPenStyle);
    canvas.Pen().SetColor(major ? colors.RulerMajorColor : colors.RulerMinorColor);
}

void VerticalLine(gfx::TCanvas& canvas, int x, int height)
{
    canvas.MoveTo(x, 0);
    canvas.LineTo(x, height);
}

void HorizontalLine(gfx::TCanvas& canvas, int y, int width)
{
    canvas.MoveTo(0, y);
    canvas.LineTo(width, y);
}

} // namespace

void TRpBasePanel::DrawRuler(gfx::TCanvas& canvas, TRpUnit unit)
{
    const TRpDesignColors& colors = DesignColors();
    canvas.Font().SetName(colors.CaptionFontName);
    canvas.Font().SetSize(colors.CaptionFontSize);
    canvas.Font().SetColor(colors.CaptionFontColor);
    canvas.Pen().SetColor(gfx::clSilver);
    canvas.Pen().SetWidth(1);
    canvas.Brush().SetStyle(gfx::TBrushStyle::bsClear);
    const long double ppi = gfx::ScreenPixelsPerInch();
    const long double zoom = zoom_;
    const int width = Width();
    const int height = Height();
    auto label = [&](int x, int y, long long value) {
        if (rulerLabels_)
            canvas.TextOut(x, y, std::to_string(value));
    };

    switch (unit) {
    case TRpUnit::Inches: {
        const long double step = ppi / 4 * zoom / 100;
        const int columns = RpRound(width / ppi / zoom * 400);
        for (int i = 1; i <= columns; ++i) {
            const bool major = i % 4 == 0;
            if (!major && zoom_ < 50)
                continue;
            const int x = RpRound(i * step);
            RulerPen(canvas, major);
            VerticalLine(canvas, x, height);
            if (major)
                label(x + 2, 2, i / 4);
        }
        const int rows = RpRound(height / ppi / zoom * 400);
        for (int i = 1; i <= rows; ++i) {
            const bool major = i % 4 == 0;
            if (!major && zoom_ < 50)
                continue;
            const int y = RpRound(i * step);
            RulerPen(canvas, major);
            HorizontalLine(canvas, y, width);
            if (major)
                label(2, y + 2, i / 4);
        }
        break;
    }
    case TRpUnit::MM: {
        // a: lines per pixel, one every 5 mm.
        const long double a = 1 / ppi * 5.08L / zoom * 100;
        const int columns = RpRound(width * a);
        for (int i = 1; i <= columns; ++i) {
            const bool major = i % 2 == 0;
            if (!major && zoom_ < 60)
                continue;
            const int x = RpRound(i / a);
            RulerPen(canvas, major);
            VerticalLine(canvas, x, height);
            if (major && zoom_ >= 60)
                label(x + 2, 2, i / 2);
        }
        const int rows = RpRound(height * a);
        for (int i = 1; i <= rows; ++i) {
            const bool major = i % 2 == 0;
            if (!major && zoom_ < 60)
                continue;
            const int y = RpRound(i / a);
            RulerPen(canvas, major);
            HorizontalLine(canvas, y, width);
            if (major && zoom_ >= 60)
                label(2, y + 2, i / 2);
        }
        break;
    }
    case TRpUnit::Characters: {
        canvas.Pen().SetStyle(gfx::TPenStyle::psDot);
        canvas.Pen().SetColor(colors.RulerMajorColor);
        const long double cw = CharWidth(fontSize_);
        const int columns = RpRound(width / ppi * 25.4L / cw / 10);
        for (int i = 1; i <= columns; ++i) {
            const int x = RpRound(cw * i * ppi / 2.54L);
            VerticalLine(canvas, x, height);
            label(x + 2, 2, static_cast<long long>(i) * 10);
        }
        const long double ch = CharHeight(fontSize_);
        const int rows = RpRound(height / ppi * 25.4L / ch);
        for (int j = 1; j <= rows; ++j) {
            const int y = RpRound(ch * j * ppi / 25.4L);
            HorizontalLine(canvas, y, width);
            label(2, y + 2, j);
        }
        break;
    }
    default:
        break;
    }
    canvas.Pen().SetStyle(gfx::TPenStyle::psSolid);
}

} // namespace report
