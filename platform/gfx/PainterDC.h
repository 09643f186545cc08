#pragma once
// A device context over a QPainter: the selected pen, brush and font, the text
// and background attributes, the current position, clipping and a stack of
// saved states, and the drawing operations with the platform's geometry (a
// rectangle excludes its right and bottom edges, a line its last point).
// The painter canvas draws through it, and so does the metafile player, so a
// page looks the same whether it was drawn directly or recorded and played.

#include "platform/gfx/LogicalObjects.h"
#include "platform/gfx/Types.h"

#include <QFont>
#include <QPainterPath>
#include <QRegion>

#include <cstdint>
#include <functional>
#include <optional>
#include <string_view>
#include <vector>

class QImage;
class QPainter;
class QRect;
class QRectF;

namespace gfx {

class TPainterDC {
public:
    TPainterDC();
    // Logical units are the painter's coordinates as they stand now; the clip
    // that the painter has now stays in force under every clip set later.
    explicit TPainterDC(QPainter* painter);

    QPainter* Painter() const { return painter_; }
    // Attaches another painter (or none); the state is kept and re-applied.
    void SetPainter(QPainter* painter);

    void SelectPen(const TLogPen& pen) { state_.Pen = pen; }
    void SelectBrush(const TLogBrush& brush) { state_.Brush = brush; }
    void SelectFont(const TLogFont& font);
    void SetTextColor(TColorRef color) { state_.TextColor = color; }
    void SetBkColor(TColorRef color) { state_.BkColor = color; }
    void SetBkMode(std::uint32_t mode) { state_.BkMode = mode; }
    void SetTextAlign(std::uint32_t align) { state_.TextAlign = align; }
    void SetRop2(std::uint32_t rop2) { state_.Rop2 = rop2; }

    const TLogPen& Pen() const { return state_.Pen; }
    const TLogBrush& Brush() const { return state_.Brush; }
    const TLogFont& Font() const { return state_.Font; }
    const QFont& QtFont() const { return state_.QtFont; }

    void MoveTo(std::int32_t x, std::int32_t y) { state_.Position = {x, y}; }
    TPoint Position() const { return state_.Position; }
    void LineTo(std::int32_t x, std::int32_t y);
    void Rectangle(const TRect& rect);
    void Ellipse(const TRect& rect);
    void RoundRect(const TRect& rect, std::int32_t cornerWidth, std::int32_t cornerHeight);
    // dx, when given, holds the advance of every UTF-16 unit of text.
    void ExtTextOut(std::int32_t x, std::int32_t y, std::uint32_t options, const TRect* rect,
                    std::u16string_view text, const std::vector<std::int32_t>* dx);
    void StretchImage(const TRect& dest, const QImage& image, const QRect& source);
    // Fills rect with the brush alone (a pattern copy).
    void PatBlt(const TRect& rect);

    void IntersectClipRect(const TRect& rect);
    void ExcludeClipRect(const TRect& rect);
    // Back to no clipping of our own.
    void ResetClip();
    // Combines region with the clipping by a region mode (1 and, 2 or, 3 xor,
    // 4 difference, 5 copy).
    void SelectClipRegion(const QRegion& region, std::uint32_t mode);
    // Returns the new depth of the saved-state stack.
    int SaveDC();
    // A negative value goes back that many states, a positive one to that depth.
    bool RestoreDC(int which);

    // Puts the clipping of this context on the painter (done before every
    // drawing call; needed by callers that draw on the painter themselves).
    void ApplyClip();

private:
    struct State {
        TLogPen Pen{PS_SOLID, 0, 0x000000};
        TLogBrush Brush{BS_SOLID, 0xFFFFFF, 0};
        TLogFont Font;
        QFont QtFont;
        TColorRef TextColor = 0x000000;
        TColorRef BkColor = 0xFFFFFF;
        std::uint32_t BkMode = OPAQUE;
        std::uint32_t TextAlign = TA_TOP | TA_LEFT;
        std::uint32_t Rop2 = R2_COPYPEN;
        TPoint Position;
        bool Clipped = false;
        QRegion Clip;
    };

    // Fills and outlines a shape given by its box, with the pen's mix mode.
    void PaintShape(const TRect& box, const std::function<void(QPainter&, const QRectF&)>& draw);

    QPainter* painter_ = nullptr;
    std::optional<QPainterPath> outerClip_;
    bool clipDirty_ = true;
    State state_;
    std::vector<State> saved_;
};

} // namespace gfx
