#pragma once
// The enhanced-metafile byte layout: record type numbers, stock objects, and
// a writer and a reader of little-endian record fields. Every record starts
// with its type and its size in bytes, and the size is a multiple of 4.

#include "platform/gfx/LogicalObjects.h"
#include "platform/gfx/Types.h"

#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>

namespace gfx::emf {

inline constexpr std::uint32_t EMR_HEADER = 1;
inline constexpr std::uint32_t EMR_EOF = 14;
inline constexpr std::uint32_t EMR_SETBKMODE = 18;
inline constexpr std::uint32_t EMR_SETROP2 = 20;
inline constexpr std::uint32_t EMR_SETTEXTALIGN = 22;
inline constexpr std::uint32_t EMR_SETTEXTCOLOR = 24;
inline constexpr std::uint32_t EMR_SETBKCOLOR = 25;
inline constexpr std::uint32_t EMR_MOVETOEX = 27;
inline constexpr std::uint32_t EMR_EXCLUDECLIPRECT = 29;
inline constexpr std::uint32_t EMR_INTERSECTCLIPRECT = 30;
inline constexpr std::uint32_t EMR_SAVEDC = 33;
inline constexpr std::uint32_t EMR_RESTOREDC = 34;
inline constexpr std::uint32_t EMR_SELECTOBJECT = 37;
inline constexpr std::uint32_t EMR_CREATEPEN = 38;
inline constexpr std::uint32_t EMR_CREATEBRUSHINDIRECT = 39;
inline constexpr std::uint32_t EMR_DELETEOBJECT = 40;
inline constexpr std::uint32_t EMR_ELLIPSE = 42;
inline constexpr std::uint32_t EMR_RECTANGLE = 43;
inline constexpr std::uint32_t EMR_ROUNDRECT = 44;
inline constexpr std::uint32_t EMR_LINETO = 54;
inline constexpr std::uint32_t EMR_GDICOMMENT = 70;
inline constexpr std::uint32_t EMR_EXTSELECTCLIPRGN = 75;
inline constexpr std::uint32_t EMR_STRETCHDIBITS = 81;
inline constexpr std::uint32_t EMR_EXTCREATEFONTINDIRECTW = 82;
inline constexpr std::uint32_t EMR_EXTTEXTOUTA = 83;
inline constexpr std::uint32_t EMR_EXTTEXTOUTW = 84;

inline constexpr std::uint32_t ENHMETA_SIGNATURE = 0x464D4520; // " EMF"
inline constexpr std::uint32_t ENHMETA_VERSION = 0x00010000;
// The header with both extensions (pixel format and micrometre size).
inline constexpr std::uint32_t kHeaderSize = 108;
inline constexpr std::uint32_t kMinimumHeaderSize = 88;
inline constexpr std::uint32_t kEofSize = 20;

// Stock objects are selected by these numbers and never created or deleted.
inline constexpr std::uint32_t STOCK_OBJECT = 0x80000000;
inline constexpr std::uint32_t WHITE_BRUSH = STOCK_OBJECT | 0;
inline constexpr std::uint32_t BLACK_BRUSH = STOCK_OBJECT | 4;
inline constexpr std::uint32_t NULL_BRUSH = STOCK_OBJECT | 5;
inline constexpr std::uint32_t WHITE_PEN = STOCK_OBJECT | 6;
inline constexpr std::uint32_t BLACK_PEN = STOCK_OBJECT | 7;
inline constexpr std::uint32_t NULL_PEN = STOCK_OBJECT | 8;
inline constexpr std::uint32_t SYSTEM_FONT = STOCK_OBJECT | 13;

inline constexpr std::uint32_t RGN_COPY = 5;
inline constexpr std::uint32_t GM_COMPATIBLE = 1;
inline constexpr std::uint32_t DIB_RGB_COLORS = 0;
inline constexpr std::uint32_t SRCCOPY = 0x00CC0020;
inline constexpr std::uint32_t BI_RGB = 0;
inline constexpr std::uint32_t kLogFontSize = 92;
inline constexpr std::uint32_t kBitmapInfoHeaderSize = 40;

// Appends little-endian fields to a byte string, one record at a time.
class TRecordWriter {
public:
    explicit TRecordWriter(std::string& out) : out_(out) {}

    void Begin(std::uint32_t type);
    // Pads the record to a multiple of 4 and fills in its size.
    void End();

    void U8(std::uint8_t v) { out_.push_back(static_cast<char>(v)); }
    void U16(std::uint16_t v);
    void U32(std::uint32_t v);
    void I32(std::int32_t v) { U32(static_cast<std::uint32_t>(v)); }
    void F32(float v);
    void Rect(const TRect& r);
    void Bytes(std::string_view bytes) { out_.append(bytes); }
    void Zeros(std::size_t count) { out_.append(count, '\0'); }
    // Offset of the next byte from the start of the record being written.
    std::uint32_t Offset() const { return static_cast<std::uint32_t>(out_.size() - start_); }

private:
    std::string& out_;
    std::size_t start_ = 0;
};

// Reads fields of one record; reads past its end give zeros, so a damaged
// record can never reach outside its bytes.
class TRecordReader {
public:
    TRecordReader(const std::uint8_t* data, std::uint32_t size) : data_(data), size_(size) {}

    std::uint32_t Size() const { return size_; }
    bool Has(std::uint32_t offset, std::uint32_t count) const
    {
        return offset <= size_ && count <= size_ - offset;
    }
    std::uint8_t U8(std::uint32_t offset) const { return Has(offset, 1) ? data_[offset] : 0; }
    std::uint16_t U16(std::uint32_t offset) const;
    std::uint32_t U32(std::uint32_t offset) const;
    std::int32_t I32(std::uint32_t offset) const { return static_cast<std::int32_t>(U32(offset)); }
    float F32(std::uint32_t offset) const;
    TRect Rect(std::uint32_t offset) const { return {I32(offset), I32(offset + 4), I32(offset + 8), I32(offset + 12)}; }
    const std::uint8_t* Data() const { return data_; }

private:
    const std::uint8_t* data_;
    std::uint32_t size_;
};

void WriteLogFont(TRecordWriter& w, const TLogFont& font);
TLogFont ReadLogFont(const TRecordReader& r, std::uint32_t offset);

} // namespace gfx::emf
