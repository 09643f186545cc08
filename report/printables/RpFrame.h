#pragma once
// The frame lines that a band, the report or a printable draws around itself,
// on the design surface, on the page canvas and towards an export filter.

#include "platform/core/Component.h"
#include "platform/gfx/Canvas.h"
#include "platform/gfx/Color.h"
#include "platform/gfx/GraphicsObjects.h"
#include "platform/gfx/Types.h"

#include <cstdint>
#include <functional>
#include <vector>

namespace ui {
class TControl;
}

namespace report {

class TRpExportFilter;

// One shape that a frame hands to an export filter: a rectangle, or a
// horizontal or vertical line, with its bounds (left, top, width, height),
// its brush and pen, and the place at which it is exported.
struct TRpFrameShape {
    enum class TKind { Rectangle, HorizontalLine, VerticalLine };
    TKind Kind = TKind::Rectangle;
    gfx::TRect Bounds; // Left, Top, Left + width, Top + height
    gfx::TBrushStyle BrushStyle = gfx::TBrushStyle::bsClear;
    gfx::TColor BrushColor = gfx::clWhite;
    gfx::TPenStyle PenStyle = gfx::TPenStyle::psSolid;
    gfx::TColor PenColor = gfx::clBlack;
    std::int32_t PenWidth = 1;
    long double ExportLeft = 0;
    long double ExportTop = 0;
    bool operator==(const TRpFrameShape&) const = default;
};

// Hands one frame shape to a filter as the filter's shape control; the
// shapes of the report install it. Returns the exporter it replaces.
using TRpFrameShapeExporter = std::function<void(TRpExportFilter& filter, const TRpFrameShape& shape)>;
TRpFrameShapeExporter SetFrameShapeExporter(TRpFrameShapeExporter exporter);

class TRpFrame : public core::TPersistent {
public:
    enum TSide : int { Top = 0, Bottom = 1, Left = 2, Right = 3 };

    explicit TRpFrame(ui::TControl* parent = nullptr) : parent_(parent) {}
    std::string ClassName() const override { return "TRpFrame"; }
    void Assign(core::TPersistent* source) override;

    // The control that owns the frame: a band, the report or a printable.
    ui::TControl* Parent() const { return parent_; }
    void SetParent(ui::TControl* parent) { parent_ = parent; }

    gfx::TColor Color() const { return color_; }
    void SetColor(gfx::TColor color);
    bool DrawTop() const { return draw_[Top]; }
    bool DrawBottom() const { return draw_[Bottom]; }
    bool DrawLeft() const { return draw_[Left]; }
    bool DrawRight() const { return draw_[Right]; }
    bool GetDraw(int side) const { return draw_[side]; }
    // Index 0 top, 1 bottom, 2 left, 3 right.
    void SetDraw(int side, bool draw);
    void SetDrawTop(bool draw) { SetDraw(Top, draw); }
    void SetDrawBottom(bool draw) { SetDraw(Bottom, draw); }
    void SetDrawLeft(bool draw) { SetDraw(Left, draw); }
    void SetDrawRight(bool draw) { SetDraw(Right, draw); }
    gfx::TPenStyle Style() const { return style_; }
    void SetStyle(gfx::TPenStyle style);
    // Line width in points (1/72 inch); -1 draws one-pixel lines at any scale.
    std::int32_t Width() const { return width_; }
    void SetWidth(std::int32_t width);

    bool AnySide() const { return draw_[Top] || draw_[Bottom] || draw_[Left] || draw_[Right]; }
    void SetPenFromFrame(gfx::TPen& pen) const;

    // Thicknesses in device pixels of the left and right sides (horizontal
    // factor) and of the top and bottom sides (vertical factor).
    std::int32_t SideThickness(long double factor) const;
    // Draws the frame's sides as filled strips inside rect; the factors are
    // device pixels per native unit. A report that is exporting also gets
    // the frame (and an opaque printable's background) as shapes.
    void DrawFrame(gfx::TCanvas& canvas, const gfx::TRect& rect, long double xFactor, long double yFactor);

    // The shapes a frame hands to an export filter for rect.
    std::vector<TRpFrameShape> ExportShapes(const gfx::TRect& rect, std::int32_t tv, std::int32_t th,
                                            bool background, gfx::TColor backgroundColor) const;

private:
    void Changed();

    ui::TControl* parent_;
    gfx::TColor color_ = gfx::clBlack;
    bool draw_[4] = {false, false, false, false};
    gfx::TPenStyle style_ = gfx::TPenStyle::psSolid;
    std::int32_t width_ = 1;
};

} // namespace report
