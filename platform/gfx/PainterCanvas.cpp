#include "platform/gfx/PainterCanvas.h"

#include "platform/gfx/MetafilePlayer.h"
#include "platform/gfx/Screen.h"

#include <QPaintDevice>
#include <QPainter>
#include <QRect>

namespace gfx {

namespace {

int DeviceResolution(QPainter* painter)
{
    if (painter != nullptr && painter->device() != nullptr && painter->device()->logicalDpiY() > 0)
        return painter->device()->logicalDpiY();
    return ScreenPixelsPerInch();
}

} // namespace

TPainterCanvas::TPainterCanvas(QPainter* painter, int pixelsPerInch)
{
    SetPainter(painter, pixelsPerInch);
}

void TPainterCanvas::SetPainter(QPainter* painter, int pixelsPerInch)
{
    painter_ = painter;
    int resolution = pixelsPerInch > 0 ? pixelsPerInch : DeviceResolution(painter);
    if (resolution != pixelsPerInch_ || PixelsPerInch() != Font().PixelsPerInch()) {
        pixelsPerInch_ = resolution;
        AdoptResolution(resolution);
    }
    dc_.SetPainter(painter);
}

bool TPainterCanvas::CanDraw() const
{
    return const_cast<TPainterCanvas*>(this)->ActivePainter() != nullptr;
}

QPainter* TPainterCanvas::ActivePainter()
{
    return painter_ != nullptr && painter_->isActive() ? painter_ : nullptr;
}

TPainterDC& TPainterCanvas::Dc()
{
    QPainter* painter = ActivePainter();
    if (painter != dc_.Painter())
        dc_.SetPainter(painter);
    return dc_;
}

TRect TPainterCanvas::DeviceRect() const
{
    QPainter* painter = const_cast<TPainterCanvas*>(this)->ActivePainter();
    if (painter == nullptr || painter->device() == nullptr)
        return {};
    QRect window = painter->window();
    return {window.left(), window.top(), window.right() + 1, window.bottom() + 1};
}

void TPainterCanvas::DeviceLineTo(const TPoint& point)
{
    Dc().LineTo(point.X, point.Y);
}

void TPainterCanvas::DeviceRectangle(const TRect& rect)
{
    Dc().Rectangle(rect);
}

void TPainterCanvas::DeviceEllipse(const TRect& rect)
{
    Dc().Ellipse(rect);
}

void TPainterCanvas::DeviceRoundRect(const TRect& rect, const TSize& corner)
{
    Dc().RoundRect(rect, corner.cx, corner.cy);
}

void TPainterCanvas::DeviceExtTextOut(const TPoint& point, std::uint32_t options, const TRect* rect,
                                      std::u16string_view text, const std::vector<std::int32_t>* advances)
{
    Dc().ExtTextOut(point.X, point.Y, options, rect, text, advances);
}

void TPainterCanvas::DeviceStretchImage(const TRect& dest, const QImage& image)
{
    Dc().StretchImage(dest, image, image.rect());
}

void TPainterCanvas::DeviceDrawMetafile(const TRect& dest, const TMetafile& metafile)
{
    TPainterDC& dc = Dc();
    dc.ApplyClip();
    PlayEnhMetafile(*dc.Painter(), metafile, QRectF(dest.Left, dest.Top, dest.Width(), dest.Height()));
}

} // namespace gfx
