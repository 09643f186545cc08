#include "platform/gfx/MetafileCanvas.h"

#include "platform/gfx/EmfFormat.h"
#include "platform/gfx/FontMapping.h"
#include "platform/gfx/GfxErrors.h"
#include "platform/gfx/Metafile.h"
#include "platform/gfx/MetafilePlayer.h"
#include "platform/gfx/Screen.h"

#include <QImage>
#include <QPainter>

#include <algorithm>
#include <cmath>

namespace gfx {

namespace {

TRect Normalized(const TRect& r)
{
    return {std::min(r.Left, r.Right), std::min(r.Top, r.Bottom), std::max(r.Left, r.Right), std::max(r.Top, r.Bottom)};
}

// Inclusive bounds as the records store them; an empty area is (0, 0, -1, -1).
TRect Inclusive(const TRect& r)
{
    if (r.IsEmpty())
        return {0, 0, -1, -1};
    return {r.Left, r.Top, r.Right - 1, r.Bottom - 1};
}

std::int32_t Round(double value)
{
    return static_cast<std::int32_t>(std::lround(value));
}

} // namespace

TMetafileCanvas::TMetafileCanvas(TMetafile* metafile, int referencePixelsPerInch)
    : metafile_(metafile), pixelsPerInch_(referencePixelsPerInch > 0 ? referencePixelsPerInch : ScreenPixelsPerInch())
{
    if (metafile_ == nullptr)
        throw EInvalidGraphicOperation("A metafile canvas needs a metafile");
    selected_ = {emf::BLACK_PEN, emf::WHITE_BRUSH, emf::SYSTEM_FONT};
    AdoptResolution(pixelsPerInch_);
}

TMetafileCanvas::~TMetafileCanvas()
{
    try {
        Close();
    } catch (const core::Exception&) {
        // Closing only assembles what was recorded here; a destructor must not throw.
    }
}

void TMetafileCanvas::Close()
{
    if (closed_)
        return;
    closed_ = true;

    int width = metafile_->Width() > 0 ? metafile_->Width() : std::max(0, bounds_.Right);
    int height = metafile_->Height() > 0 ? metafile_->Height() : std::max(0, bounds_.Bottom);
    TRect frame{0, 0, Round(width * 2540.0 / pixelsPerInch_), Round(height * 2540.0 / pixelsPerInch_)};

    std::string eof;
    emf::TRecordWriter w(eof);
    w.Begin(emf::EMR_EOF);
    w.U32(0);  // no palette entries
    w.U32(16); // where they would start
    w.U32(emf::kEofSize);
    w.End();

    auto total = static_cast<std::uint32_t>(emf::kHeaderSize + records_.size() + eof.size());
    std::string bytes = BuildMetafileHeader(Inclusive(bounds_), frame, {width, height}, pixelsPerInch_, total,
                                            recordCount_ + 2, static_cast<std::uint16_t>(handleCount_));
    bytes += records_;
    bytes += eof;
    records_.clear();
    metafile_->SetData(std::move(bytes));
}

TRect TMetafileCanvas::DeviceRect() const
{
    return {0, 0, metafile_->Width(), metafile_->Height()};
}

void TMetafileCanvas::Touch(const TRect& area)
{
    bounds_ = UnionRect(bounds_, Normalized(area));
}

void TMetafileCanvas::Simple(std::uint32_t type, std::uint32_t value)
{
    emf::TRecordWriter w(records_);
    w.Begin(type);
    w.U32(value);
    w.End();
    ++recordCount_;
}

void TMetafileCanvas::PointRecord(std::uint32_t type, const TPoint& point)
{
    emf::TRecordWriter w(records_);
    w.Begin(type);
    w.I32(point.X);
    w.I32(point.Y);
    w.End();
    ++recordCount_;
}

void TMetafileCanvas::BoxRecord(std::uint32_t type, const TRect& rect)
{
    emf::TRecordWriter w(records_);
    w.Begin(type);
    w.Rect(rect);
    w.End();
    ++recordCount_;
}

std::uint32_t TMetafileCanvas::NewHandle()
{
    auto free = std::find(handles_.begin() + 1, handles_.end(), false);
    auto index = static_cast<std::uint32_t>(free - handles_.begin());
    if (free == handles_.end())
        handles_.push_back(true);
    else
        *free = true;
    handleCount_ = std::max<std::uint32_t>(handleCount_, index + 1);
    return index;
}

bool TMetafileCanvas::InUse(std::uint32_t handle) const
{
    auto uses = [handle](const Selection& s) { return s.Pen == handle || s.Brush == handle || s.Font == handle; };
    return uses(selected_) ||
           std::any_of(saved_.begin(), saved_.end(), [&uses](const Saved& s) { return uses(s.Objects); });
}

void TMetafileCanvas::DeleteUnused(std::uint32_t handle)
{
    // Stock objects are never deleted; an object that a saved state still
    // holds waits until that state is gone.
    if ((handle & emf::STOCK_OBJECT) != 0 || handle >= handles_.size() || !handles_[handle])
        return;
    if (InUse(handle)) {
        if (std::find(pending_.begin(), pending_.end(), handle) == pending_.end())
            pending_.push_back(handle);
        return;
    }
    Simple(emf::EMR_DELETEOBJECT, handle);
    handles_[handle] = false;
    pending_.erase(std::remove(pending_.begin(), pending_.end(), handle), pending_.end());
}

void TMetafileCanvas::DeletePending()
{
    std::vector<std::uint32_t> pending;
    pending.swap(pending_);
    for (std::uint32_t handle : pending)
        DeleteUnused(handle);
}

void TMetafileCanvas::Select(std::uint32_t handle, std::uint32_t Selection::*slot)
{
    Simple(emf::EMR_SELECTOBJECT, handle);
    std::uint32_t old = selected_.*slot;
    selected_.*slot = handle;
    DeleteUnused(old);
}

void TMetafileCanvas::DeviceSelectPen(const TLogPen& pen)
{
    penWidth_ = pen.Width;
    if ((pen.Style & PS_STYLE_MASK) == PS_NULL) {
        Select(emf::NULL_PEN, &Selection::Pen);
        return;
    }
    std::uint32_t handle = NewHandle();
    emf::TRecordWriter w(records_);
    w.Begin(emf::EMR_CREATEPEN);
    w.U32(handle);
    w.U32(pen.Style);
    w.I32(pen.Width);
    w.I32(0);
    w.U32(pen.Color);
    w.End();
    ++recordCount_;
    Select(handle, &Selection::Pen);
}

void TMetafileCanvas::DeviceSelectBrush(const TLogBrush& brush)
{
    if (brush.Style == BS_NULL) {
        Select(emf::NULL_BRUSH, &Selection::Brush);
        return;
    }
    std::uint32_t handle = NewHandle();
    emf::TRecordWriter w(records_);
    w.Begin(emf::EMR_CREATEBRUSHINDIRECT);
    w.U32(handle);
    w.U32(brush.Style);
    w.U32(brush.Color);
    w.U32(brush.Hatch);
    w.End();
    ++recordCount_;
    Select(handle, &Selection::Brush);
}

void TMetafileCanvas::DeviceSelectFont(const TLogFont& font)
{
    deviceFont_ = font;
    std::uint32_t handle = NewHandle();
    emf::TRecordWriter w(records_);
    w.Begin(emf::EMR_EXTCREATEFONTINDIRECTW);
    w.U32(handle);
    emf::WriteLogFont(w, font);
    w.End();
    ++recordCount_;
    Select(handle, &Selection::Font);
}

void TMetafileCanvas::DeviceSetTextColor(TColorRef color)
{
    Simple(emf::EMR_SETTEXTCOLOR, color);
}

void TMetafileCanvas::DeviceSetBkColor(TColorRef color)
{
    Simple(emf::EMR_SETBKCOLOR, color);
}

void TMetafileCanvas::DeviceSetBkMode(std::uint32_t mode)
{
    Simple(emf::EMR_SETBKMODE, mode);
}

void TMetafileCanvas::DeviceSetTextAlign(std::uint32_t align)
{
    textAlign_ = align;
    Simple(emf::EMR_SETTEXTALIGN, align);
}

void TMetafileCanvas::DeviceSetRop2(std::uint32_t rop2)
{
    Simple(emf::EMR_SETROP2, rop2);
}

void TMetafileCanvas::DeviceMoveTo(const TPoint& point)
{
    position_ = point;
    PointRecord(emf::EMR_MOVETOEX, point);
}

void TMetafileCanvas::DeviceLineTo(const TPoint& point)
{
    std::int32_t half = std::max(1, (penWidth_ + 1) / 2);
    TRect area = Normalized({position_.X, position_.Y, point.X, point.Y});
    Touch({area.Left - half, area.Top - half, area.Right + half, area.Bottom + half});
    position_ = point;
    PointRecord(emf::EMR_LINETO, point);
}

void TMetafileCanvas::DeviceRectangle(const TRect& rect)
{
    Touch(rect);
    BoxRecord(emf::EMR_RECTANGLE, rect);
}

void TMetafileCanvas::DeviceEllipse(const TRect& rect)
{
    Touch(rect);
    BoxRecord(emf::EMR_ELLIPSE, rect);
}

void TMetafileCanvas::DeviceRoundRect(const TRect& rect, const TSize& corner)
{
    Touch(rect);
    emf::TRecordWriter w(records_);
    w.Begin(emf::EMR_ROUNDRECT);
    w.Rect(rect);
    w.I32(corner.cx);
    w.I32(corner.cy);
    w.End();
    ++recordCount_;
}

void TMetafileCanvas::DeviceExtTextOut(const TPoint& point, std::uint32_t options, const TRect* rect,
                                       std::u16string_view text, const std::vector<std::int32_t>* advances)
{
    // The advance of every character is stored, so a player lays the text out
    // exactly as it was measured here (or as the caller laid it out).
    const QFont& font = QtFontFor(deviceFont_);
    std::vector<std::int32_t> dx(text.size());
    std::int32_t width = 0;
    if (advances != nullptr) {
        dx = *advances;
        for (std::int32_t advance : dx)
            width += advance;
    } else {
        std::vector<double> positions = CharacterPositions(font, text);
        for (std::size_t i = 0; i < text.size(); ++i)
            dx[i] = Round(positions[i + 1]) - Round(positions[i]);
        width = Round(positions.back());
    }
    TTextMetrics metrics = MeasureFont(font);

    TPoint reference = (textAlign_ & TA_UPDATECP) != 0 ? position_ : point;
    std::uint32_t horizontal = textAlign_ & TA_CENTER;
    std::uint32_t vertical = textAlign_ & TA_BASELINE;
    std::int32_t left = horizontal == TA_CENTER ? reference.X - width / 2
                        : horizontal == TA_RIGHT ? reference.X - width
                                                 : reference.X;
    std::int32_t top = vertical == TA_BASELINE ? reference.Y - Round(metrics.Ascent)
                       : vertical == TA_BOTTOM ? reference.Y - Round(metrics.Height())
                                               : reference.Y;
    TRect area{left, top, left + width, top + Round(metrics.Height())};
    if (rect != nullptr && (options & ETO_CLIPPED) != 0)
        area = IntersectRect(area, Normalized(*rect));
    if (rect != nullptr && (options & ETO_OPAQUE) != 0)
        area = UnionRect(area, Normalized(*rect));
    if (!text.empty() || (rect != nullptr && (options & ETO_OPAQUE) != 0))
        Touch(area);
    if ((textAlign_ & TA_UPDATECP) != 0) {
        if (horizontal == TA_LEFT)
            position_.X += width;
        else if (horizontal == TA_RIGHT)
            position_.X -= width;
    }

    const auto scaleX = static_cast<float>(2540.0 / pixelsPerInch_);
    constexpr std::uint32_t kStringOffset = 76;
    auto stringBytes = static_cast<std::uint32_t>(text.size() * 2);
    std::uint32_t dxOffset = kStringOffset + ((stringBytes + 3) & ~3u);

    emf::TRecordWriter w(records_);
    w.Begin(emf::EMR_EXTTEXTOUTW);
    w.Rect(Inclusive(area));
    w.U32(emf::GM_COMPATIBLE);
    w.F32(scaleX);
    w.F32(scaleX);
    w.I32(point.X);
    w.I32(point.Y);
    w.U32(static_cast<std::uint32_t>(text.size()));
    w.U32(kStringOffset);
    w.U32(options & ~ETO_NO_RECT);
    w.Rect(rect != nullptr ? *rect : TRect{});
    w.U32(dxOffset);
    for (char16_t c : text)
        w.U16(static_cast<std::uint16_t>(c));
    w.Zeros(dxOffset - kStringOffset - stringBytes);
    for (std::int32_t advance : dx)
        w.I32(advance);
    w.End();
    ++recordCount_;
}

void TMetafileCanvas::DeviceStretchImage(const TRect& dest, const QImage& image)
{
    if (image.isNull())
        return;
    // A device-independent bitmap of 24 bits per pixel, rows from the bottom
    // up, each padded to 4 bytes.
    QImage rgb = image.convertToFormat(QImage::Format_RGB888);
    auto width = static_cast<std::uint32_t>(rgb.width());
    auto height = static_cast<std::uint32_t>(rgb.height());
    std::uint32_t stride = (width * 3 + 3) & ~3u;
    std::uint32_t bitsSize = stride * height;
    constexpr std::uint32_t kInfoOffset = 80;
    constexpr std::uint32_t kBitsOffset = kInfoOffset + emf::kBitmapInfoHeaderSize;

    Touch(dest);
    emf::TRecordWriter w(records_);
    w.Begin(emf::EMR_STRETCHDIBITS);
    w.Rect(Inclusive(Normalized(dest)));
    w.I32(dest.Left);
    w.I32(dest.Top);
    w.I32(0);
    w.I32(0);
    w.I32(static_cast<std::int32_t>(width));
    w.I32(static_cast<std::int32_t>(height));
    w.U32(kInfoOffset);
    w.U32(emf::kBitmapInfoHeaderSize);
    w.U32(kBitsOffset);
    w.U32(bitsSize);
    w.U32(emf::DIB_RGB_COLORS);
    w.U32(emf::SRCCOPY);
    w.I32(dest.Width());
    w.I32(dest.Height());
    w.U32(emf::kBitmapInfoHeaderSize);
    w.I32(static_cast<std::int32_t>(width));
    w.I32(static_cast<std::int32_t>(height));
    w.U16(1);
    w.U16(24);
    w.U32(emf::BI_RGB);
    w.U32(bitsSize);
    w.I32(0);
    w.I32(0);
    w.U32(0);
    w.U32(0);
    std::string row(stride, '\0');
    for (std::uint32_t y = height; y-- > 0;) {
        const uchar* line = rgb.constScanLine(static_cast<int>(y));
        for (std::uint32_t x = 0; x < width; ++x) {
            row[x * 3] = static_cast<char>(line[x * 3 + 2]);
            row[x * 3 + 1] = static_cast<char>(line[x * 3 + 1]);
            row[x * 3 + 2] = static_cast<char>(line[x * 3]);
        }
        w.Bytes(row);
    }
    w.End();
    ++recordCount_;
}

void TMetafileCanvas::DeviceDrawMetafile(const TRect& dest, const TMetafile& metafile)
{
    // A page inside a page is kept as a picture at this device's resolution.
    TRect r = Normalized(dest);
    if (r.IsEmpty())
        return;
    QImage picture(r.Width(), r.Height(), QImage::Format_RGB32);
    picture.fill(Qt::white);
    {
        QPainter painter(&picture);
        PlayEnhMetafile(painter, metafile, QRectF(dest.Left - r.Left, dest.Top - r.Top, dest.Width(), dest.Height()));
    }
    DeviceStretchImage(r, picture);
}

void TMetafileCanvas::DeviceIntersectClipRect(const TRect& rect)
{
    BoxRecord(emf::EMR_INTERSECTCLIPRECT, rect);
}

void TMetafileCanvas::DeviceExcludeClipRect(const TRect& rect)
{
    BoxRecord(emf::EMR_EXCLUDECLIPRECT, rect);
}

void TMetafileCanvas::DeviceResetClip()
{
    // A region record without region data and the copy mode restores the
    // default clipping (none).
    emf::TRecordWriter w(records_);
    w.Begin(emf::EMR_EXTSELECTCLIPRGN);
    w.U32(0);
    w.U32(emf::RGN_COPY);
    w.End();
    ++recordCount_;
}

void TMetafileCanvas::DeviceSaveDC()
{
    emf::TRecordWriter w(records_);
    w.Begin(emf::EMR_SAVEDC);
    w.End();
    ++recordCount_;
    saved_.push_back({selected_, deviceFont_, textAlign_, position_, penWidth_});
}

void TMetafileCanvas::DeviceRestoreDC(int which)
{
    int depth = static_cast<int>(saved_.size());
    int target = which < 0 ? depth + which : which - 1;
    if (which == 0 || target < 0 || target >= depth)
        return;
    // The record counts back from the current state.
    Simple(emf::EMR_RESTOREDC, static_cast<std::uint32_t>(target - depth));
    Selection before = selected_;
    const Saved& state = saved_[static_cast<std::size_t>(target)];
    selected_ = state.Objects;
    deviceFont_ = state.Font;
    textAlign_ = state.TextAlign;
    position_ = state.Position;
    penWidth_ = state.PenWidth;
    saved_.resize(static_cast<std::size_t>(target));
    DeleteUnused(before.Pen);
    DeleteUnused(before.Brush);
    DeleteUnused(before.Font);
    DeletePending();
}

} // namespace gfx
