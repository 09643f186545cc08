#include "platform/gfx/Metafile.h"

#include "platform/core/Streams.h"
#include "platform/gfx/Canvas.h"
#include "platform/gfx/EmfFormat.h"
#include "platform/gfx/GfxErrors.h"
#include "platform/gfx/Screen.h"

#include <cmath>
#include <limits>

namespace gfx {

namespace {

// Larger pictures are refused as damaged rather than allocated.
constexpr std::uint32_t kMaximumBytes = 512u * 1024u * 1024u;

int RoundToInt(double value)
{
    return static_cast<int>(std::lround(value));
}

[[noreturn]] void Invalid(const std::string& why)
{
    throw EInvalidGraphic("Metafile is not valid: " + why);
}

} // namespace

std::string BuildMetafileHeader(const TRect& bounds, const TRect& frame, const TSize& devicePixels,
                                double pixelsPerInch, std::uint32_t totalBytes, std::uint32_t recordCount,
                                std::uint16_t handleCount)
{
    std::string out;
    emf::TRecordWriter w(out);
    w.Begin(emf::EMR_HEADER);
    w.Rect(bounds);
    w.Rect(frame);
    w.U32(emf::ENHMETA_SIGNATURE);
    w.U32(emf::ENHMETA_VERSION);
    w.U32(totalBytes);
    w.U32(recordCount);
    w.U16(handleCount);
    w.U16(0);  // reserved
    w.U32(0);  // no description
    w.U32(0);
    w.U32(0);  // no palette
    w.I32(devicePixels.cx);
    w.I32(devicePixels.cy);
    w.I32(RoundToInt(devicePixels.cx * 25.4 / pixelsPerInch));
    w.I32(RoundToInt(devicePixels.cy * 25.4 / pixelsPerInch));
    w.U32(0);  // no pixel format
    w.U32(0);
    w.U32(0);  // no OpenGL records
    w.U32(static_cast<std::uint32_t>(RoundToInt(devicePixels.cx * 25400.0 / pixelsPerInch)));
    w.U32(static_cast<std::uint32_t>(RoundToInt(devicePixels.cy * 25400.0 / pixelsPerInch)));
    w.End();
    return out;
}

TMetafile::TMetafile()
{
    ppiX_ = ppiY_ = ScreenPixelsPerInch();
}

TMetafile::TMetafile(TMetafile&& other) noexcept : TGraphic()
{
    *this = std::move(other);
}

TMetafile& TMetafile::operator=(TMetafile&& other) noexcept
{
    if (&other == this)
        return *this;
    bytes_ = std::move(other.bytes_);
    records_ = std::move(other.records_);
    width_ = other.width_;
    height_ = other.height_;
    mmWidth_ = other.mmWidth_;
    mmHeight_ = other.mmHeight_;
    ppiX_ = other.ppiX_;
    ppiY_ = other.ppiY_;
    origin_ = other.origin_;
    other.Clear();
    return *this;
}

void TMetafile::SetWidth(int width)
{
    width_ = width;
    mmWidth_ = RoundToInt(width * 2540.0 / ppiX_);
    PatchFrame();
}

void TMetafile::SetHeight(int height)
{
    height_ = height;
    mmHeight_ = RoundToInt(height * 2540.0 / ppiY_);
    PatchFrame();
}

void TMetafile::SetMMWidth(int mmWidth)
{
    mmWidth_ = mmWidth;
    width_ = RoundToInt(mmWidth * ppiX_ / 2540.0);
    PatchFrame();
}

void TMetafile::SetMMHeight(int mmHeight)
{
    mmHeight_ = mmHeight;
    height_ = RoundToInt(mmHeight * ppiY_ / 2540.0);
    PatchFrame();
}

void TMetafile::PatchFrame()
{
    // A recorded picture keeps its header in step with a new size: the frame's
    // right and bottom edges move.
    if (bytes_.size() < emf::kMinimumHeaderSize)
        return;
    emf::TRecordReader r(reinterpret_cast<const std::uint8_t*>(bytes_.data()), static_cast<std::uint32_t>(bytes_.size()));
    std::int32_t left = r.I32(24);
    std::int32_t top = r.I32(28);
    std::string patch;
    emf::TRecordWriter w(patch);
    w.I32(left + mmWidth_);
    w.I32(top + mmHeight_);
    bytes_.replace(32, 8, patch);
}

void TMetafile::SetEnhanced(bool enhanced)
{
    if (!enhanced)
        throw EInvalidGraphicOperation("Only enhanced metafiles are supported");
}

void TMetafile::Clear()
{
    bytes_.clear();
    records_.clear();
    origin_ = {};
}

void TMetafile::Draw(TCanvas& canvas, const TRect& rect) const
{
    canvas.DrawMetafile(rect, *this);
}

void TMetafile::Assign(core::TPersistent* source)
{
    auto* other = dynamic_cast<TMetafile*>(source);
    if (other == nullptr) {
        TGraphic::Assign(source);
        return;
    }
    if (other == this)
        return;
    bytes_ = other->bytes_;
    records_ = other->records_;
    width_ = other->width_;
    height_ = other->height_;
    mmWidth_ = other->mmWidth_;
    mmHeight_ = other->mmHeight_;
    ppiX_ = other->ppiX_;
    ppiY_ = other->ppiY_;
    origin_ = other->origin_;
}

std::string TMetafile::Data() const
{
    if (!bytes_.empty())
        return bytes_;
    // Nothing recorded: an empty picture of the current size.
    double ppi = ppiX_;
    std::uint32_t total = emf::kHeaderSize + emf::kEofSize;
    std::string out = BuildMetafileHeader({0, 0, -1, -1}, {0, 0, mmWidth_, mmHeight_}, {width_, height_}, ppi, total, 2, 1);
    emf::TRecordWriter w(out);
    w.Begin(emf::EMR_EOF);
    w.U32(0);
    w.U32(16);
    w.U32(emf::kEofSize);
    w.End();
    return out;
}

void TMetafile::SaveToStream(core::TStream& stream) const
{
    stream.WriteString(Data());
}

void TMetafile::LoadFromStream(core::TStream& stream)
{
    std::uint8_t start[emf::kMinimumHeaderSize];
    if (stream.Read(start, 8) != 8)
        Invalid("the data ends before its header");
    emf::TRecordReader head(start, 8);
    if (head.U32(0) != emf::EMR_HEADER)
        Invalid("no header record");
    std::uint32_t headerSize = head.U32(4);
    if (headerSize < emf::kMinimumHeaderSize || headerSize % 4 != 0 || headerSize > kMaximumBytes)
        Invalid("wrong header size");
    if (stream.Read(start + 8, emf::kMinimumHeaderSize - 8) != emf::kMinimumHeaderSize - 8)
        Invalid("the data ends inside its header");
    emf::TRecordReader header(start, emf::kMinimumHeaderSize);
    if (header.U32(40) != emf::ENHMETA_SIGNATURE)
        Invalid("no signature");
    std::uint32_t total = header.U32(48);
    if (total < headerSize || total % 4 != 0 || total > kMaximumBytes)
        Invalid("wrong size");
    std::int64_t remaining = stream.Size() - stream.Position();
    if (remaining < static_cast<std::int64_t>(total - emf::kMinimumHeaderSize))
        Invalid("the data is shorter than its header says");
    std::string bytes(reinterpret_cast<const char*>(start), emf::kMinimumHeaderSize);
    bytes.resize(total);
    stream.ReadBuffer(bytes.data() + emf::kMinimumHeaderSize, total - emf::kMinimumHeaderSize);
    SetData(std::move(bytes));
}

void TMetafile::SaveToFile(const std::string& fileName) const
{
    core::TFileStream stream(fileName, core::fmCreate);
    SaveToStream(stream);
}

void TMetafile::LoadFromFile(const std::string& fileName)
{
    core::TFileStream stream(fileName, core::fmOpenRead | core::fmShareDenyNone);
    LoadFromStream(stream);
}

const std::uint8_t* TMetafile::RecordData(const TEmfRecord& record) const
{
    return reinterpret_cast<const std::uint8_t*>(bytes_.data()) + record.Offset;
}

void TMetafile::SetData(std::string bytes)
{
    // Every record must lie inside the data with a size that is a multiple of
    // 4; the first is the header, the last the end record, and the header's
    // byte and record counts must hold.
    std::vector<TEmfRecord> records;
    emf::TRecordReader all(reinterpret_cast<const std::uint8_t*>(bytes.data()), static_cast<std::uint32_t>(bytes.size()));
    std::uint32_t offset = 0;
    while (offset < all.Size()) {
        if (!all.Has(offset, 8))
            Invalid("a record is cut off");
        std::uint32_t type = all.U32(offset);
        std::uint32_t size = all.U32(offset + 4);
        if (size < 8 || size % 4 != 0 || !all.Has(offset, size))
            Invalid("a record has a wrong size");
        records.push_back({type, offset, size});
        offset += size;
        if (type == emf::EMR_EOF)
            break;
    }
    if (records.empty() || records.front().Type != emf::EMR_HEADER)
        Invalid("no header record");
    if (records.back().Type != emf::EMR_EOF || offset != all.Size())
        Invalid("no end record");
    if (all.U32(48) != all.Size() || all.U32(52) != records.size())
        Invalid("the header's counts do not match the records");
    bytes_ = std::move(bytes);
    records_ = std::move(records);
    ReadHeader();
}

void TMetafile::ReadHeader()
{
    emf::TRecordReader r(reinterpret_cast<const std::uint8_t*>(bytes_.data()), records_.front().Size);
    TRect frame = r.Rect(24);
    TSize device{r.I32(72), r.I32(76)};
    TSize millimetres{r.I32(80), r.I32(84)};
    double screen = ScreenPixelsPerInch();
    ppiX_ = ppiY_ = screen;
    // The reference resolution: the micrometre size when the header has it,
    // else the millimetre size.
    if (r.Size() >= emf::kHeaderSize && r.U32(100) > 0 && r.U32(104) > 0 && device.cx > 0 && device.cy > 0) {
        ppiX_ = device.cx * 25400.0 / r.U32(100);
        ppiY_ = device.cy * 25400.0 / r.U32(104);
    } else if (millimetres.cx > 0 && millimetres.cy > 0 && device.cx > 0 && device.cy > 0) {
        ppiX_ = device.cx * 25.4 / millimetres.cx;
        ppiY_ = device.cy * 25.4 / millimetres.cy;
    }
    mmWidth_ = frame.Right - frame.Left;
    mmHeight_ = frame.Bottom - frame.Top;
    width_ = RoundToInt(mmWidth_ * ppiX_ / 2540.0);
    height_ = RoundToInt(mmHeight_ * ppiY_ / 2540.0);
    origin_ = {RoundToInt(frame.Left * ppiX_ / 2540.0), RoundToInt(frame.Top * ppiY_ / 2540.0)};
}

} // namespace gfx
