#pragma once
// A canvas that records: every drawing call becomes enhanced-metafile records
// (objects created, selected and deleted as the calls need them). Freeing the
// canvas, or Close, completes the metafile, which then holds the page; an
// earlier picture of the metafile is replaced.

#include "platform/gfx/Canvas.h"
#include "platform/gfx/Metafile.h"

#include <cstdint>
#include <string>
#include <vector>

namespace gfx {

class TMetafile;

class TMetafileCanvas : public TCanvas {
public:
    // Logical units are pixels of a reference device with the given resolution
    // (0: the screen's). The page size is the metafile's Width and Height when
    // they are set, else the extent of what was drawn.
    explicit TMetafileCanvas(TMetafile* metafile, int referencePixelsPerInch = 0);
    ~TMetafileCanvas() override;
    std::string ClassName() const override { return "TMetafileCanvas"; }

    // Writes the header and the end record into the metafile; drawing after it raises.
    void Close();

    int PixelsPerInch() const override { return pixelsPerInch_; }
    bool CanDraw() const override { return !closed_; }

protected:
    TRect DeviceRect() const override;

    void DeviceSelectPen(const TLogPen& pen) override;
    void DeviceSelectBrush(const TLogBrush& brush) override;
    void DeviceSelectFont(const TLogFont& font) override;
    void DeviceSetTextColor(TColorRef color) override;
    void DeviceSetBkColor(TColorRef color) override;
    void DeviceSetBkMode(std::uint32_t mode) override;
    void DeviceSetTextAlign(std::uint32_t align) override;
    void DeviceSetRop2(std::uint32_t rop2) override;
    void DeviceMoveTo(const TPoint& point) override;
    void DeviceLineTo(const TPoint& point) override;
    void DeviceRectangle(const TRect& rect) override;
    void DeviceEllipse(const TRect& rect) override;
    void DeviceRoundRect(const TRect& rect, const TSize& corner) override;
    void DeviceExtTextOut(const TPoint& point, std::uint32_t options, const TRect* rect,
                          std::u16string_view text, const std::vector<std::int32_t>* advances) override;
    void DeviceStretchImage(const TRect& dest, const QImage& image) override;
    void DeviceDrawMetafile(const TRect& dest, const TMetafile& metafile) override;
    void DeviceIntersectClipRect(const TRect& rect) override;
    void DeviceExcludeClipRect(const TRect& rect) override;
    void DeviceResetClip() override;
    void DeviceSaveDC() override;
    void DeviceRestoreDC(int which) override;

private:
    // The objects selected in the device: handle-table indexes or stock objects.
    struct Selection {
        std::uint32_t Pen;
        std::uint32_t Brush;
        std::uint32_t Font;
    };

    void Simple(std::uint32_t type, std::uint32_t value);
    void PointRecord(std::uint32_t type, const TPoint& point);
    void BoxRecord(std::uint32_t type, const TRect& rect);
    void Touch(const TRect& area);
    std::uint32_t NewHandle();
    void Select(std::uint32_t handle, std::uint32_t Selection::*slot);
    bool InUse(std::uint32_t handle) const;
    // What SaveDC keeps of the device besides the objects.
    struct Saved {
        Selection Objects;
        TLogFont Font;
        std::uint32_t TextAlign;
        TPoint Position;
        std::int32_t PenWidth;
    };
    void DeleteUnused(std::uint32_t handle);
    void DeletePending();

    TMetafile* metafile_;
    int pixelsPerInch_;
    bool closed_ = false;
    std::string records_;
    std::uint32_t recordCount_ = 0;
    TRect bounds_;

    std::vector<bool> handles_{true}; // index 0 is reserved
    std::uint32_t handleCount_ = 1;
    Selection selected_;
    std::vector<Saved> saved_;
    std::vector<std::uint32_t> pending_;

    TLogFont deviceFont_;
    std::uint32_t textAlign_ = TA_TOP | TA_LEFT;
    TPoint position_;
    std::int32_t penWidth_ = 0;
};

} // namespace gfx
