#include "platform/gfx/PainterDC.h"

#include "platform/gfx/Color.h"
#include "platform/gfx/FontMapping.h"

#include <QImage>
#include <QPaintEngine>
#include <QPainter>
#include <QString>

#include <algorithm>
#include <cmath>
#include <utility>

namespace gfx {

namespace {

QRect ToQRect(const TRect& r)
{
    return QRect(QPoint(r.Left, r.Top), QPoint(r.Right - 1, r.Bottom - 1));
}

TRect Normalized(const TRect& r)
{
    return {std::min(r.Left, r.Right), std::min(r.Top, r.Bottom), std::max(r.Left, r.Right),
            std::max(r.Top, r.Bottom)};
}

QPen MakePen(const TLogPen& log, TColorRef color)
{
    std::uint32_t style = log.Style & PS_STYLE_MASK;
    if (style == PS_NULL)
        return QPen(Qt::NoPen);
    QPen pen(ColorRefToQColor(color));
    pen.setWidthF(log.Width <= 0 ? 0.0 : static_cast<double>(log.Width));
    pen.setJoinStyle(log.Width > 1 ? Qt::RoundJoin : Qt::MiterJoin);
    pen.setCapStyle(log.Width > 1 ? Qt::RoundCap : Qt::FlatCap);
    // Styled lines exist only for thin pens; a wider styled pen draws solid.
    if (log.Width <= 1) {
        QList<qreal> pattern;
        switch (style) {
        case PS_DASH: pattern = {18, 6}; break;
        case PS_DOT: pattern = {3, 3}; break;
        case PS_DASHDOT: pattern = {9, 6, 3, 6}; break;
        case PS_DASHDOTDOT: pattern = {9, 3, 3, 3, 3, 3}; break;
        default: break;
        }
        if (!pattern.isEmpty())
            pen.setDashPattern(pattern);
    }
    return pen;
}

Qt::BrushStyle HatchStyle(std::uint32_t hatch)
{
    switch (hatch) {
    case HS_HORIZONTAL: return Qt::HorPattern;
    case HS_VERTICAL: return Qt::VerPattern;
    case HS_FDIAGONAL: return Qt::FDiagPattern;
    case HS_BDIAGONAL: return Qt::BDiagPattern;
    case HS_CROSS: return Qt::CrossPattern;
    case HS_DIAGCROSS: return Qt::DiagCrossPattern;
    default: return Qt::HorPattern;
    }
}

QBrush MakeBrush(const TLogBrush& log, TColorRef color)
{
    switch (log.Style) {
    case BS_NULL: return QBrush(Qt::NoBrush);
    case BS_HATCHED: return QBrush(ColorRefToQColor(color), HatchStyle(log.Hatch));
    default: return QBrush(ColorRefToQColor(color));
    }
}

QPainter::CompositionMode CompositionOf(std::uint32_t rop2)
{
    switch (rop2) {
    case R2_NOTMERGEPEN: return QPainter::RasterOp_NotSourceAndNotDestination;
    case R2_MASKNOTPEN: return QPainter::RasterOp_NotSourceAndDestination;
    case R2_NOTCOPYPEN: return QPainter::RasterOp_NotSource;
    case R2_MASKPENNOT: return QPainter::RasterOp_SourceAndNotDestination;
    case R2_NOT: return QPainter::RasterOp_NotDestination;
    case R2_XORPEN: return QPainter::RasterOp_SourceXorDestination;
    case R2_NOTMASKPEN: return QPainter::RasterOp_NotSourceOrNotDestination;
    case R2_MASKPEN: return QPainter::RasterOp_SourceAndDestination;
    case R2_NOTXORPEN: return QPainter::RasterOp_NotSourceXorDestination;
    case R2_MERGENOTPEN: return QPainter::RasterOp_NotSourceOrDestination;
    case R2_MERGEPENNOT: return QPainter::RasterOp_SourceOrNotDestination;
    case R2_MERGEPEN: return QPainter::RasterOp_SourceOrDestination;
    default: return QPainter::CompositionMode_SourceOver;
    }
}

QString ToQString(std::u16string_view text)
{
    return QString(reinterpret_cast<const QChar*>(text.data()), static_cast<qsizetype>(text.size()));
}

bool IsHighSurrogate(char16_t c) { return c >= 0xD800 && c <= 0xDBFF; }
bool IsLowSurrogate(char16_t c) { return c >= 0xDC00 && c <= 0xDFFF; }

} // namespace

TPainterDC::TPainterDC()
{
    state_.QtFont = MakeQFont(state_.Font);
}

TPainterDC::TPainterDC(QPainter* painter) : TPainterDC()
{
    SetPainter(painter);
}

void TPainterDC::SetPainter(QPainter* painter)
{
    painter_ = painter;
    outerClip_.reset();
    if (painter_ != nullptr && painter_->isActive() && painter_->hasClipping())
        outerClip_ = painter_->clipPath();
    clipDirty_ = true;
}

void TPainterDC::SelectFont(const TLogFont& font)
{
    if (font == state_.Font)
        return;
    state_.Font = font;
    state_.QtFont = MakeQFont(font);
}

void TPainterDC::ApplyClip()
{
    if (!clipDirty_ || painter_ == nullptr)
        return;
    clipDirty_ = false;
    if (outerClip_)
        painter_->setClipPath(*outerClip_);
    else
        painter_->setClipping(false);
    if (state_.Clipped)
        painter_->setClipRegion(state_.Clip, outerClip_ ? Qt::IntersectClip : Qt::ReplaceClip);
}

void TPainterDC::PaintShape(const TRect& box, const std::function<void(QPainter&, const QRectF&)>& draw)
{
    if (painter_ == nullptr || state_.Rop2 == R2_NOP)
        return;
    ApplyClip();
    TColorRef penColor = state_.Pen.Color;
    TColorRef brushColor = state_.Brush.Color;
    if (state_.Rop2 == R2_BLACK)
        penColor = brushColor = 0x000000;
    else if (state_.Rop2 == R2_WHITE)
        penColor = brushColor = 0xFFFFFF;

    TRect r = Normalized(box);
    QRectF shape(r.Left, r.Top, r.Width() - 1, r.Height() - 1);
    if ((state_.Pen.Style & PS_STYLE_MASK) == PS_INSIDEFRAME && state_.Pen.Width > 1) {
        // The outer edge of the stroke lies on the box's edges.
        double half = state_.Pen.Width / 2.0;
        shape = QRectF(r.Left + half, r.Top + half, r.Width() - 2 * half, r.Height() - 2 * half);
    }

    QPainter& p = *painter_;
    p.save();
    p.setRenderHint(QPainter::Antialiasing, false);
    if (p.paintEngine() != nullptr && p.paintEngine()->hasFeature(QPaintEngine::RasterOpModes))
        p.setCompositionMode(CompositionOf(state_.Rop2));
    if (state_.Brush.Style == BS_HATCHED && state_.BkMode == OPAQUE) {
        p.setPen(Qt::NoPen);
        p.setBrush(ColorRefToQColor(state_.BkColor));
        draw(p, shape);
    }
    p.setPen(MakePen(state_.Pen, penColor));
    p.setBrush(MakeBrush(state_.Brush, brushColor));
    draw(p, shape);
    p.restore();
}

void TPainterDC::LineTo(std::int32_t x, std::int32_t y)
{
    TPoint from = state_.Position;
    state_.Position = {x, y};
    if (painter_ == nullptr || state_.Rop2 == R2_NOP || (state_.Pen.Style & PS_STYLE_MASK) == PS_NULL)
        return;
    ApplyClip();
    TColorRef color = state_.Rop2 == R2_BLACK ? 0x000000 : state_.Rop2 == R2_WHITE ? 0xFFFFFF : state_.Pen.Color;
    QPainter& p = *painter_;
    p.save();
    p.setRenderHint(QPainter::Antialiasing, false);
    if (p.paintEngine() != nullptr && p.paintEngine()->hasFeature(QPaintEngine::RasterOpModes))
        p.setCompositionMode(CompositionOf(state_.Rop2));
    p.setPen(MakePen(state_.Pen, color));
    // A thin line takes its first point and leaves out its last one, in
    // every direction. Qt leaves out whichever end lies right (or below):
    // a line drawn leftward or upward moves one step back along itself.
    QPointF shift(0, 0);
    const int dx = x - from.X;
    const int dy = y - from.Y;
    const bool xMajor = std::abs(dx) >= std::abs(dy);
    const int major = xMajor ? std::abs(dx) : std::abs(dy);
    if (state_.Pen.Width <= 1 && major > 0 && (xMajor ? dx < 0 : dy < 0))
        shift = QPointF(-static_cast<double>(dx) / major, -static_cast<double>(dy) / major);
    p.drawLine(QPointF(from.X, from.Y) + shift, QPointF(x, y) + shift);
    p.restore();
}

void TPainterDC::Rectangle(const TRect& rect)
{
    PaintShape(rect, [](QPainter& p, const QRectF& r) { p.drawRect(r); });
}

void TPainterDC::Ellipse(const TRect& rect)
{
    PaintShape(rect, [](QPainter& p, const QRectF& r) { p.drawEllipse(r); });
}

void TPainterDC::RoundRect(const TRect& rect, std::int32_t cornerWidth, std::int32_t cornerHeight)
{
    double rx = std::abs(cornerWidth) / 2.0;
    double ry = std::abs(cornerHeight) / 2.0;
    PaintShape(rect, [rx, ry](QPainter& p, const QRectF& r) {
        if (rx <= 0 || ry <= 0)
            p.drawRect(r);
        else
            p.drawRoundedRect(r, std::min(rx, r.width() / 2), std::min(ry, r.height() / 2));
    });
}

void TPainterDC::ExtTextOut(std::int32_t x, std::int32_t y, std::uint32_t options, const TRect* rect,
                            std::u16string_view text, const std::vector<std::int32_t>* dx)
{
    if (painter_ == nullptr)
        return;
    ApplyClip();
    QPainter& p = *painter_;
    const QFont& font = state_.QtFont;
    TTextMetrics metrics = MeasureFont(font);

    // Where every character starts: the recorded advances when they agree with
    // this font's own layout (then the run is drawn whole, keeping its shaping),
    // otherwise character by character at the recorded places.
    std::vector<double> natural = CharacterPositions(font, text);
    std::vector<double> positions = natural;
    bool wholeRun = true;
    if (dx != nullptr && dx->size() >= text.size()) {
        double sum = 0;
        for (std::size_t i = 0; i < text.size(); ++i) {
            positions[i] = sum;
            sum += (*dx)[i];
        }
        positions[text.size()] = sum;
        for (std::size_t i = 0; i <= text.size() && wholeRun; ++i)
            wholeRun = std::abs(positions[i] - natural[i]) <= 1.0;
    }
    double width = positions.back();

    bool useCurrent = (state_.TextAlign & TA_UPDATECP) != 0;
    double refX = useCurrent ? state_.Position.X : x;
    double refY = useCurrent ? state_.Position.Y : y;
    std::uint32_t horizontal = state_.TextAlign & TA_CENTER;
    std::uint32_t vertical = state_.TextAlign & TA_BASELINE;
    double left = horizontal == TA_CENTER ? refX - width / 2 : horizontal == TA_RIGHT ? refX - width : refX;
    double baseline = vertical == TA_BASELINE ? refY
                      : vertical == TA_BOTTOM ? refY - metrics.Descent
                                              : refY + metrics.Ascent;

    p.save();
    p.setRenderHint(QPainter::Antialiasing, true);
    p.setRenderHint(QPainter::TextAntialiasing, true);
    if (rect != nullptr) {
        TRect r = Normalized(*rect);
        if ((options & ETO_OPAQUE) != 0)
            p.fillRect(ToQRect(r), ColorRefToQColor(state_.BkColor));
        if ((options & ETO_CLIPPED) != 0)
            p.setClipRect(ToQRect(r), p.hasClipping() ? Qt::IntersectClip : Qt::ReplaceClip);
    }
    if (state_.Font.Escapement != 0) {
        p.translate(refX, refY);
        p.rotate(-state_.Font.Escapement / 10.0);
        p.translate(-refX, -refY);
    }
    if (state_.BkMode == OPAQUE && !text.empty())
        p.fillRect(QRectF(left, baseline - metrics.Ascent, width, metrics.Height()), ColorRefToQColor(state_.BkColor));
    p.setFont(font);
    p.setPen(ColorRefToQColor(state_.TextColor));
    if (wholeRun) {
        // Qt would put tabs at stops of its own: the runs between tabs are
        // drawn whole, each where the tab before it stopped.
        for (std::size_t start = 0; start < text.size();) {
            const std::size_t tab = std::min(text.find(u'\t', start), text.size());
            if (tab > start)
                p.drawText(QPointF(left + positions[start], baseline), ToQString(text.substr(start, tab - start)));
            start = tab + 1;
        }
    } else {
        for (std::size_t i = 0; i < text.size(); ++i) {
            if (IsLowSurrogate(text[i]) || text[i] == u'\t')
                continue;
            std::size_t length = IsHighSurrogate(text[i]) && i + 1 < text.size() ? 2 : 1;
            p.drawText(QPointF(left + positions[i], baseline), ToQString(text.substr(i, length)));
        }
    }
    p.restore();

    if (useCurrent) {
        if (horizontal == TA_LEFT)
            state_.Position.X = static_cast<std::int32_t>(std::lround(refX + width));
        else if (horizontal == TA_RIGHT)
            state_.Position.X = static_cast<std::int32_t>(std::lround(refX - width));
    }
}

void TPainterDC::StretchImage(const TRect& dest, const QImage& image, const QRect& source)
{
    if (painter_ == nullptr || image.isNull() || dest.Width() == 0 || dest.Height() == 0)
        return;
    ApplyClip();
    QImage picture = image.copy(source);
    // A negative extent mirrors the picture.
    picture = picture.mirrored(dest.Width() < 0, dest.Height() < 0);
    TRect r = Normalized(dest);
    painter_->save();
    painter_->setCompositionMode(QPainter::CompositionMode_SourceOver);
    painter_->setRenderHint(QPainter::SmoothPixmapTransform, true);
    painter_->drawImage(QRectF(r.Left, r.Top, r.Width(), r.Height()), picture);
    painter_->restore();
}

void TPainterDC::PatBlt(const TRect& rect)
{
    if (painter_ == nullptr || state_.Brush.Style == BS_NULL)
        return;
    ApplyClip();
    TRect r = Normalized(rect);
    if (r.IsEmpty())
        return;
    painter_->save();
    painter_->setRenderHint(QPainter::Antialiasing, false);
    if (state_.Brush.Style == BS_HATCHED && state_.BkMode == OPAQUE)
        painter_->fillRect(ToQRect(r), ColorRefToQColor(state_.BkColor));
    painter_->fillRect(ToQRect(r), MakeBrush(state_.Brush, state_.Brush.Color));
    painter_->restore();
}

void TPainterDC::SelectClipRegion(const QRegion& region, std::uint32_t mode)
{
    QRegion current = state_.Clipped ? state_.Clip : QRegion(-(1 << 24), -(1 << 24), 1 << 25, 1 << 25);
    switch (mode) {
    case 1: state_.Clip = current.intersected(region); break;
    case 2: state_.Clip = current.united(region); break;
    case 3: state_.Clip = current.xored(region); break;
    case 4: state_.Clip = current.subtracted(region); break;
    default: state_.Clip = region; break;
    }
    state_.Clipped = true;
    clipDirty_ = true;
}

void TPainterDC::IntersectClipRect(const TRect& rect)
{
    QRegion region(ToQRect(Normalized(rect)));
    state_.Clip = state_.Clipped ? state_.Clip.intersected(region) : region;
    state_.Clipped = true;
    clipDirty_ = true;
}

void TPainterDC::ExcludeClipRect(const TRect& rect)
{
    QRegion region(ToQRect(Normalized(rect)));
    if (!state_.Clipped) {
        // Everything but the rectangle: start from a region far larger than any page.
        state_.Clip = QRegion(-(1 << 24), -(1 << 24), 1 << 25, 1 << 25);
        state_.Clipped = true;
    }
    state_.Clip = state_.Clip.subtracted(region);
    clipDirty_ = true;
}

void TPainterDC::ResetClip()
{
    state_.Clipped = false;
    state_.Clip = QRegion();
    clipDirty_ = true;
}

int TPainterDC::SaveDC()
{
    saved_.push_back(state_);
    return static_cast<int>(saved_.size());
}

bool TPainterDC::RestoreDC(int which)
{
    int depth = static_cast<int>(saved_.size());
    int target = which < 0 ? depth + which : which - 1;
    if (which == 0 || target < 0 || target >= depth)
        return false;
    state_ = std::move(saved_[static_cast<std::size_t>(target)]);
    saved_.resize(static_cast<std::size_t>(target));
    clipDirty_ = true;
    return true;
}

} // namespace gfx
