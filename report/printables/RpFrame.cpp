#include "report/printables/RpFrame.h"

#include "platform/ui/kernel/Control.h"
#include "report/layout/RpMath.h"
#include "report/layout/RpReportSite.h"
#include "report/printer/RpExportFilter.h"

#include <utility>

namespace report {

namespace {

TRpFrameShapeExporter& Exporter()
{
    static TRpFrameShapeExporter exporter;
    return exporter;
}

} // namespace

TRpFrameShapeExporter SetFrameShapeExporter(TRpFrameShapeExporter exporter)
{
    return std::exchange(Exporter(), std::move(exporter));
}

void TRpFrame::Assign(core::TPersistent* source)
{
    auto* other = dynamic_cast<TRpFrame*>(source);
    if (other == nullptr) {
        core::TPersistent::Assign(source);
        return;
    }
    color_ = other->color_;
    std::copy(std::begin(other->draw_), std::end(other->draw_), std::begin(draw_));
    style_ = other->style_;
    width_ = other->width_;
    Changed();
}

void TRpFrame::Changed()
{
    if (parent_ != nullptr)
        parent_->Invalidate();
}

void TRpFrame::SetColor(gfx::TColor color)
{
    color_ = color;
    Changed();
}

void TRpFrame::SetDraw(int side, bool draw)
{
    if (side < Top || side > Right)
        return;
    draw_[side] = draw;
    Changed();
}

void TRpFrame::SetStyle(gfx::TPenStyle style)
{
    style_ = style;
    Changed();
}

void TRpFrame::SetWidth(std::int32_t width)
{
    width_ = width;
    Changed();
}

void TRpFrame::SetPenFromFrame(gfx::TPen& pen) const
{
    pen.SetWidth(1);
    pen.SetStyle(style_);
    pen.SetColor(color_);
}

std::int32_t TRpFrame::SideThickness(long double factor) const
{
    if (width_ == -1)
        return 1;
    // Other negative widths draw nothing rather than strips turned inside out.
    if (width_ <= 0)
        return 0;
    std::int32_t thickness = RpRound(factor * 254 / 72 * width_);
    return thickness < 1 ? 1 : thickness;
}

void TRpFrame::DrawFrame(gfx::TCanvas& canvas, const gfx::TRect& rect, long double xFactor, long double yFactor)
{
    const std::int32_t tv = SideThickness(xFactor);
    const std::int32_t th = SideThickness(yFactor);
    const auto [l, t, r, b] = rect;

    canvas.Brush().SetStyle(gfx::TBrushStyle::bsSolid);
    canvas.Brush().SetColor(color_);
    SetPenFromFrame(canvas.Pen());
    if (draw_[Top])
        canvas.FillRect(gfx::Rect(l, t, r, t + th));
    if (draw_[Bottom])
        canvas.FillRect(gfx::Rect(l, b - th, r, b));
    if (draw_[Left])
        canvas.FillRect(gfx::Rect(l, t, l + tv, b));
    if (draw_[Right])
        canvas.FillRect(gfx::Rect(r - tv, t, r, b));

    if (parent_ == nullptr)
        return;
    TRpReportSite* report = nullptr;
    bool background = false;
    if (auto* part = dynamic_cast<TRpReportPart*>(parent_)) {
        report = part->PartReport();
        background = !part->PartTransparent();
    } else if (auto* site = dynamic_cast<TRpReportSite*>(parent_)) {
        report = site;
    } else {
        return;
    }
    canvas.Brush().SetStyle(gfx::TBrushStyle::bsClear);
    if (report == nullptr)
        return;
    TRpExportFilter* filter = report->ExportingFilter();
    if (filter == nullptr || !Exporter())
        return;
    try {
        for (const TRpFrameShape& shape : ExportShapes(rect, tv, th, background, parent_->Color()))
            Exporter()(*filter, shape);
    } catch (...) {
        // The strips on the page stay; the export of a frame is best effort.
    }
}

std::vector<TRpFrameShape> TRpFrame::ExportShapes(const gfx::TRect& rect, std::int32_t tv, std::int32_t th,
                                                  bool background, gfx::TColor backgroundColor) const
{
    using TKind = TRpFrameShape::TKind;
    const auto [l, t, r, b] = rect;
    std::vector<TRpFrameShape> shapes;
    auto add = [&](TKind kind, gfx::TRect bounds, long double x, long double y) {
        TRpFrameShape shape;
        shape.Kind = kind;
        shape.Bounds = bounds;
        shape.BrushStyle = gfx::TBrushStyle::bsClear;
        shape.PenStyle = gfx::TPenStyle::psSolid;
        shape.PenColor = color_;
        shape.PenWidth = tv;
        shape.ExportLeft = x;
        shape.ExportTop = y;
        shapes.push_back(shape);
        return &shapes.back();
    };
    if (background) {
        TRpFrameShape* shape = add(TKind::Rectangle, gfx::Bounds(l, t, r - l, b - t), l, t);
        shape->BrushStyle = gfx::TBrushStyle::bsSolid;
        shape->BrushColor = backgroundColor;
        shape->PenStyle = gfx::TPenStyle::psClear;
    }
    if (draw_[Top] && draw_[Bottom] && draw_[Left] && draw_[Right]) {
        add(TKind::Rectangle, gfx::Bounds(l, t, r - l, b - t), l, t);
        return shapes;
    }
    if (draw_[Top])
        add(TKind::HorizontalLine, gfx::Bounds(l, t, r - l, th), l, t);
    if (draw_[Bottom])
        add(TKind::HorizontalLine, gfx::Bounds(l, b - th, r - l, th), l, b - th);
    if (draw_[Left])
        add(TKind::VerticalLine, gfx::Bounds(l, t, tv, b - t), l, t);
    if (draw_[Right])
        add(TKind::VerticalLine, gfx::Bounds(r - tv, t, tv, b - t), r - tv, t);
    return shapes;
}

} // namespace report
