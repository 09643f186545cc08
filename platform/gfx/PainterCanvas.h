#pragma once
// A canvas that draws through a QPainter: on the screen, on an image or on a
// printer. Its units are the painter's coordinates as they stand when the
// canvas is made (device pixels, unless the caller transformed the painter).

#include "platform/gfx/Canvas.h"
#include "platform/gfx/PainterDC.h"

class QPainter;

namespace gfx {

class TPainterCanvas : public TCanvas {
public:
    // pixelsPerInch 0 takes the resolution of the painter's device. A canvas
    // without a painter only measures text, at the given resolution.
    explicit TPainterCanvas(QPainter* painter, int pixelsPerInch = 0);
    std::string ClassName() const override { return "TPainterCanvas"; }

    QPainter* Painter() { return ActivePainter(); }
    // Moves the canvas to another painter (or none); fonts, pens and brushes stay.
    void SetPainter(QPainter* painter, int pixelsPerInch = 0);

    int PixelsPerInch() const override { return pixelsPerInch_; }
    bool CanDraw() const override;

protected:
    // The painter to draw with; a bitmap's canvas starts its painter here.
    virtual QPainter* ActivePainter();
    // Tells the device context that painting (re)started on painter.
    void PainterBegun(QPainter* painter) { dc_.SetPainter(painter); }
    TRect DeviceRect() const override;

    void DeviceSelectPen(const TLogPen& pen) override { dc_.SelectPen(pen); }
    void DeviceSelectBrush(const TLogBrush& brush) override { dc_.SelectBrush(brush); }
    void DeviceSelectFont(const TLogFont& font) override { dc_.SelectFont(font); }
    void DeviceSetTextColor(TColorRef color) override { dc_.SetTextColor(color); }
    void DeviceSetBkColor(TColorRef color) override { dc_.SetBkColor(color); }
    void DeviceSetBkMode(std::uint32_t mode) override { dc_.SetBkMode(mode); }
    void DeviceSetTextAlign(std::uint32_t align) override { dc_.SetTextAlign(align); }
    void DeviceSetRop2(std::uint32_t rop2) override { dc_.SetRop2(rop2); }
    void DeviceMoveTo(const TPoint& point) override { dc_.MoveTo(point.X, point.Y); }
    void DeviceLineTo(const TPoint& point) override;
    void DeviceRectangle(const TRect& rect) override;
    void DeviceEllipse(const TRect& rect) override;
    void DeviceRoundRect(const TRect& rect, const TSize& corner) override;
    void DeviceExtTextOut(const TPoint& point, std::uint32_t options, const TRect* rect,
                          std::u16string_view text, const std::vector<std::int32_t>* advances) override;
    void DeviceStretchImage(const TRect& dest, const QImage& image) override;
    void DeviceDrawMetafile(const TRect& dest, const TMetafile& metafile) override;
    void DeviceIntersectClipRect(const TRect& rect) override { dc_.IntersectClipRect(rect); }
    void DeviceExcludeClipRect(const TRect& rect) override { dc_.ExcludeClipRect(rect); }
    void DeviceResetClip() override { dc_.ResetClip(); }
    void DeviceSaveDC() override { dc_.SaveDC(); }
    void DeviceRestoreDC(int which) override { dc_.RestoreDC(which); }

private:
    // Attaches the active painter to the device context before drawing.
    TPainterDC& Dc();

    QPainter* painter_ = nullptr;
    int pixelsPerInch_ = 96;
    TPainterDC dc_;
};

} // namespace gfx
