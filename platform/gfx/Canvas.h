#pragma once
// The drawing surface of the class library: a font, a pen and a brush, and
// drawing calls in integer device units. A canvas realizes its objects on its
// device only when a call needs them and they changed, as the platform's
// canvas does; a canvas over a painter draws them, a metafile canvas records
// them. Rectangles exclude their right and bottom edges.

#include "platform/core/Component.h"
#include "platform/gfx/GraphicsObjects.h"
#include "platform/gfx/LogicalObjects.h"
#include "platform/gfx/Types.h"

#include <QFont>

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

class QImage;

namespace gfx {

class TGraphic;
class TMetafile;

class TCanvas : public core::TPersistent {
public:
    TCanvas();
    ~TCanvas() override;
    std::string ClassName() const override { return "TCanvas"; }

    TFont& Font() { return font_; }
    const TFont& Font() const { return font_; }
    void SetFont(TFont& font) { font_.Assign(&font); }
    TPen& Pen() { return pen_; }
    const TPen& Pen() const { return pen_; }
    void SetPen(TPen& pen) { pen_.Assign(&pen); }
    TBrush& Brush() { return brush_; }
    const TBrush& Brush() const { return brush_; }
    void SetBrush(TBrush& brush) { brush_.Assign(&brush); }

    TPoint PenPos() const { return penPos_; }
    void SetPenPos(const TPoint& position) { penPos_ = position; }
    void MoveTo(int x, int y) { penPos_ = {x, y}; }
    // A line in the pen from the pen position, without its last point.
    void LineTo(int x, int y);

    // Outlined in the pen and filled with the brush.
    void Rectangle(int x1, int y1, int x2, int y2);
    void Rectangle(const TRect& rect) { Rectangle(rect.Left, rect.Top, rect.Right, rect.Bottom); }
    void Ellipse(int x1, int y1, int x2, int y2);
    void Ellipse(const TRect& rect) { Ellipse(rect.Left, rect.Top, rect.Right, rect.Bottom); }
    // x3 and y3: width and height of the ellipse that rounds the corners.
    void RoundRect(int x1, int y1, int x2, int y2, int x3, int y3);
    // Filled with the brush, no outline.
    void FillRect(const TRect& rect);
    // A one-pixel border in the brush's colour.
    void FrameRect(const TRect& rect);

    // Text at (x, y) in the font, aligned by TextAlign (top left by default);
    // with a solid brush the text cells are filled in the brush's colour. The
    // pen position moves to the end of the text.
    void TextOut(int x, int y, const std::string& text);
    // Text clipped to rect (and the rect filled unless the brush is clear).
    void TextRect(const TRect& rect, int x, int y, const std::string& text);
    // The device-level text call: options are ETO_... flags; rect may be null.
    // advances, when given, holds the advance of every UTF-16 unit of text in
    // device units, so text laid out elsewhere keeps its places here.
    void ExtTextOut(int x, int y, std::uint32_t options, const TRect* rect, const std::string& text,
                    const std::vector<std::int32_t>* advances = nullptr);
    TSize TextExtent(const std::string& text);
    int TextWidth(const std::string& text) { return TextExtent(text).cx; }
    int TextHeight(const std::string& text) { return TextExtent(text).cy; }

    void Draw(int x, int y, TGraphic& graphic);
    void StretchDraw(const TRect& rect, TGraphic& graphic);
    // The whole image scaled into dest.
    void DrawImage(const TRect& dest, const QImage& image);
    // A recorded page scaled into dest.
    void DrawMetafile(const TRect& dest, const TMetafile& metafile);

    // Extra ETO_... flags of TextOut and TextRect (right-to-left reading).
    std::uint32_t TextFlags() const { return textFlags_; }
    void SetTextFlags(std::uint32_t flags) { textFlags_ = flags; }
    // Device attributes the class library reaches through its handle.
    std::uint32_t TextAlign() const { return attrs_.TextAlign; }
    void SetTextAlign(std::uint32_t align);
    std::uint32_t BkMode() const { return attrs_.BkMode; }
    void SetBkMode(std::uint32_t mode);
    TColorRef BkColor() const { return attrs_.BkColor; }
    void SetBkColor(TColorRef color);

    // The bounding box of the clipping region, or the whole surface.
    TRect ClipRect() const;
    void IntersectClipRect(const TRect& rect);
    void ExcludeClipRect(const TRect& rect);
    // Removes every clipping region.
    void ResetClip();
    // Saves the device state (objects, attributes, clipping); returns its depth.
    int SaveDC();
    // -1 goes back one state, a positive value to that depth.
    bool RestoreDC(int which);
    // Forgets what the device holds, so every object is selected anew.
    void Refresh();

    // Pixels per inch of the device; fonts are sized for it.
    virtual int PixelsPerInch() const = 0;
    // False while a canvas has no surface to draw on (it can still measure).
    virtual bool CanDraw() const { return true; }

protected:
    // The device's whole surface in its own units.
    virtual TRect DeviceRect() const = 0;
    // Makes the font sized for this device; called by the constructors of
    // devices whose resolution is not the screen's.
    void AdoptResolution(int pixelsPerInch);

    virtual void DeviceSelectPen(const TLogPen& pen) = 0;
    virtual void DeviceSelectBrush(const TLogBrush& brush) = 0;
    virtual void DeviceSelectFont(const TLogFont& font) = 0;
    virtual void DeviceSetTextColor(TColorRef color) = 0;
    virtual void DeviceSetBkColor(TColorRef color) = 0;
    virtual void DeviceSetBkMode(std::uint32_t mode) = 0;
    virtual void DeviceSetTextAlign(std::uint32_t align) = 0;
    virtual void DeviceSetRop2(std::uint32_t rop2) = 0;
    virtual void DeviceMoveTo(const TPoint& point) = 0;
    virtual void DeviceLineTo(const TPoint& point) = 0;
    virtual void DeviceRectangle(const TRect& rect) = 0;
    virtual void DeviceEllipse(const TRect& rect) = 0;
    virtual void DeviceRoundRect(const TRect& rect, const TSize& corner) = 0;
    // advances: none, or one for every UTF-16 unit of text.
    virtual void DeviceExtTextOut(const TPoint& point, std::uint32_t options, const TRect* rect,
                                  std::u16string_view text, const std::vector<std::int32_t>* advances) = 0;
    virtual void DeviceStretchImage(const TRect& dest, const QImage& image) = 0;
    virtual void DeviceDrawMetafile(const TRect& dest, const TMetafile& metafile) = 0;
    virtual void DeviceIntersectClipRect(const TRect& rect) = 0;
    virtual void DeviceExcludeClipRect(const TRect& rect) = 0;
    virtual void DeviceResetClip() = 0;
    virtual void DeviceSaveDC() = 0;
    virtual void DeviceRestoreDC(int which) = 0;

    // The Qt font of a device font, kept for the last one asked.
    const QFont& QtFontFor(const TLogFont& font);

private:
    struct Attributes {
        TColorRef TextColor = 0x000000;
        TColorRef BkColor = 0xFFFFFF;
        std::uint32_t BkMode = OPAQUE;
        std::uint32_t TextAlign = TA_TOP | TA_LEFT;
        std::uint32_t Rop2 = R2_COPYPEN;
    };
    struct Realized {
        std::optional<TLogPen> Pen;
        std::optional<TLogBrush> Brush;
        std::optional<TLogFont> Font;
        std::optional<TPoint> Position;
        Attributes Attrs;
        std::optional<TRect> Clip;
    };

    void RequireDrawing() const;
    void RequirePen();
    void RequireBrush();
    void RequireFont();
    void SelectPenObject(const TLogPen& pen);
    void SetTextColorAttr(TColorRef color);
    void SetRop2Attr(std::uint32_t rop2);
    void FillBox(const TRect& rect);

    TFont font_;
    TPen pen_;
    TBrush brush_;
    TPoint penPos_;
    std::uint32_t textFlags_ = 0;

    // What the device holds now, and what SaveDC kept.
    std::optional<TLogPen> realizedPen_;
    std::optional<TLogBrush> realizedBrush_;
    std::optional<TLogFont> realizedFont_;
    std::optional<TPoint> devicePos_;
    Attributes attrs_;
    std::optional<TRect> clip_;
    std::vector<Realized> saved_;

    std::optional<TLogFont> measuredFont_;
    QFont measuredQtFont_;
};

} // namespace gfx
