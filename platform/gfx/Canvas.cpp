#include "platform/gfx/Canvas.h"

#include "platform/core/Unicode.h"
#include "platform/gfx/FontMapping.h"
#include "platform/gfx/GfxErrors.h"
#include "platform/gfx/Graphic.h"
#include "platform/gfx/Screen.h"

#include <algorithm>
#include <cmath>

namespace gfx {

TCanvas::TCanvas()
{
    font_.SetPixelsPerInch(ScreenPixelsPerInch());
    font_.SetSize(8);
    devicePos_ = TPoint{0, 0};
}

TCanvas::~TCanvas() = default;

void TCanvas::AdoptResolution(int pixelsPerInch)
{
    int size = font_.Size();
    font_.SetPixelsPerInch(pixelsPerInch);
    font_.SetSize(size);
}

void TCanvas::RequireDrawing() const
{
    if (!CanDraw())
        throw EInvalidGraphicOperation("Canvas does not allow drawing");
}

void TCanvas::SetRop2Attr(std::uint32_t rop2)
{
    if (attrs_.Rop2 == rop2)
        return;
    DeviceSetRop2(rop2);
    attrs_.Rop2 = rop2;
}

void TCanvas::SetTextColorAttr(TColorRef color)
{
    if (attrs_.TextColor == color)
        return;
    DeviceSetTextColor(color);
    attrs_.TextColor = color;
}

void TCanvas::SelectPenObject(const TLogPen& pen)
{
    if (realizedPen_ && *realizedPen_ == pen)
        return;
    DeviceSelectPen(pen);
    realizedPen_ = pen;
}

void TCanvas::RequirePen()
{
    SelectPenObject(pen_.LogPen());
    SetRop2Attr(pen_.Rop2());
}

void TCanvas::RequireBrush()
{
    TLogBrush brush = brush_.LogBrush();
    if (realizedBrush_ && *realizedBrush_ == brush)
        return;
    DeviceSelectBrush(brush);
    realizedBrush_ = brush;
    // Selecting a brush sets the text background as the platform does: cells
    // filled in a solid brush's colour, nothing behind the text otherwise.
    if (brush.Style == BS_SOLID) {
        SetBkColor(brush.Color);
        SetBkMode(OPAQUE);
    } else {
        SetBkMode(TRANSPARENT);
    }
}

void TCanvas::RequireFont()
{
    TLogFont font = font_.LogFont();
    if (!realizedFont_ || !(*realizedFont_ == font)) {
        DeviceSelectFont(font);
        realizedFont_ = font;
    }
    SetTextColorAttr(ColorToRGB(font_.Color()));
}

void TCanvas::SetTextAlign(std::uint32_t align)
{
    if (attrs_.TextAlign == align)
        return;
    DeviceSetTextAlign(align);
    attrs_.TextAlign = align;
}

void TCanvas::SetBkMode(std::uint32_t mode)
{
    if (attrs_.BkMode == mode)
        return;
    DeviceSetBkMode(mode);
    attrs_.BkMode = mode;
}

void TCanvas::SetBkColor(TColorRef color)
{
    if (attrs_.BkColor == color)
        return;
    DeviceSetBkColor(color);
    attrs_.BkColor = color;
}

void TCanvas::LineTo(int x, int y)
{
    RequireDrawing();
    RequirePen();
    if (!devicePos_ || !(*devicePos_ == penPos_))
        DeviceMoveTo(penPos_);
    DeviceLineTo({x, y});
    penPos_ = {x, y};
    devicePos_ = penPos_;
}

void TCanvas::Rectangle(int x1, int y1, int x2, int y2)
{
    RequireDrawing();
    RequirePen();
    RequireBrush();
    DeviceRectangle({x1, y1, x2, y2});
}

void TCanvas::Ellipse(int x1, int y1, int x2, int y2)
{
    RequireDrawing();
    RequirePen();
    RequireBrush();
    DeviceEllipse({x1, y1, x2, y2});
}

void TCanvas::RoundRect(int x1, int y1, int x2, int y2, int x3, int y3)
{
    RequireDrawing();
    RequirePen();
    RequireBrush();
    DeviceRoundRect({x1, y1, x2, y2}, {x3, y3});
}

void TCanvas::FillBox(const TRect& rect)
{
    // Without an outline a rectangle covers one pixel less each way, so the
    // box is widened by one to fill exactly rect.
    DeviceRectangle({rect.Left, rect.Top, rect.Right + 1, rect.Bottom + 1});
}

void TCanvas::FillRect(const TRect& rect)
{
    RequireDrawing();
    RequireBrush();
    if (rect.IsEmpty())
        return;
    SelectPenObject(TLogPen{PS_NULL, 0, 0});
    SetRop2Attr(R2_COPYPEN);
    FillBox(rect);
}

void TCanvas::FrameRect(const TRect& rect)
{
    RequireDrawing();
    RequireBrush();
    if (rect.IsEmpty())
        return;
    SelectPenObject(TLogPen{PS_NULL, 0, 0});
    SetRop2Attr(R2_COPYPEN);
    FillBox({rect.Left, rect.Top, rect.Right, rect.Top + 1});
    if (rect.Height() > 1)
        FillBox({rect.Left, rect.Bottom - 1, rect.Right, rect.Bottom});
    if (rect.Height() > 2) {
        FillBox({rect.Left, rect.Top + 1, rect.Left + 1, rect.Bottom - 1});
        if (rect.Width() > 1)
            FillBox({rect.Right - 1, rect.Top + 1, rect.Right, rect.Bottom - 1});
    }
}

void TCanvas::ExtTextOut(int x, int y, std::uint32_t options, const TRect* rect, const std::string& text,
                         const std::vector<std::int32_t>* advances)
{
    RequireDrawing();
    RequireFont();
    RequireBrush();
    const std::u16string wide = core::Utf8ToUtf16(text);
    // Advances that do not cover the text are not used at all.
    if (advances != nullptr && advances->size() != wide.size())
        advances = nullptr;
    DeviceExtTextOut({x, y}, options, rect, wide, advances);
    if ((attrs_.TextAlign & TA_UPDATECP) != 0)
        devicePos_.reset();
}

void TCanvas::TextOut(int x, int y, const std::string& text)
{
    ExtTextOut(x, y, textFlags_, nullptr, text);
    penPos_ = {x + TextWidth(text), y};
}

void TCanvas::TextRect(const TRect& rect, int x, int y, const std::string& text)
{
    std::uint32_t options = ETO_CLIPPED | textFlags_;
    if (brush_.Style() != TBrushStyle::bsClear)
        options |= ETO_OPAQUE;
    ExtTextOut(x, y, options, &rect, text);
}

const QFont& TCanvas::QtFontFor(const TLogFont& font)
{
    if (!measuredFont_ || !(*measuredFont_ == font)) {
        measuredQtFont_ = MakeQFont(font);
        measuredFont_ = font;
    }
    return measuredQtFont_;
}

TSize TCanvas::TextExtent(const std::string& text)
{
    const QFont& font = QtFontFor(font_.LogFont());
    std::u16string wide = core::Utf8ToUtf16(text);
    TTextMetrics metrics = MeasureFont(font);
    return {static_cast<std::int32_t>(std::lround(TextAdvance(font, wide))),
            static_cast<std::int32_t>(std::lround(metrics.Height()))};
}

void TCanvas::Draw(int x, int y, TGraphic& graphic)
{
    if (graphic.Empty())
        return;
    graphic.Draw(*this, Bounds(x, y, graphic.Width(), graphic.Height()));
}

void TCanvas::StretchDraw(const TRect& rect, TGraphic& graphic)
{
    if (graphic.Empty())
        return;
    graphic.Draw(*this, rect);
}

void TCanvas::DrawImage(const TRect& dest, const QImage& image)
{
    RequireDrawing();
    DeviceStretchImage(dest, image);
}

void TCanvas::DrawMetafile(const TRect& dest, const TMetafile& metafile)
{
    RequireDrawing();
    DeviceDrawMetafile(dest, metafile);
}

TRect TCanvas::ClipRect() const
{
    return clip_ ? *clip_ : DeviceRect();
}

void TCanvas::IntersectClipRect(const TRect& rect)
{
    DeviceIntersectClipRect(rect);
    clip_ = IntersectRect(ClipRect(), rect);
}

void TCanvas::ExcludeClipRect(const TRect& rect)
{
    // The bounding box of what remains is kept as it was: a rectangle taken out
    // of the middle does not make it smaller.
    DeviceExcludeClipRect(rect);
    if (!clip_)
        clip_ = DeviceRect();
}

void TCanvas::ResetClip()
{
    DeviceResetClip();
    clip_.reset();
}

int TCanvas::SaveDC()
{
    DeviceSaveDC();
    saved_.push_back({realizedPen_, realizedBrush_, realizedFont_, devicePos_, attrs_, clip_});
    return static_cast<int>(saved_.size());
}

bool TCanvas::RestoreDC(int which)
{
    int depth = static_cast<int>(saved_.size());
    int target = which < 0 ? depth + which : which - 1;
    if (which == 0 || target < 0 || target >= depth)
        return false;
    DeviceRestoreDC(which);
    Realized& state = saved_[static_cast<std::size_t>(target)];
    realizedPen_ = state.Pen;
    realizedBrush_ = state.Brush;
    realizedFont_ = state.Font;
    devicePos_ = state.Position;
    attrs_ = state.Attrs;
    clip_ = state.Clip;
    saved_.resize(static_cast<std::size_t>(target));
    return true;
}

void TCanvas::Refresh()
{
    realizedPen_.reset();
    realizedBrush_.reset();
    realizedFont_.reset();
}

} // namespace gfx
