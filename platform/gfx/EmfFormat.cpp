#include "platform/gfx/EmfFormat.h"

namespace gfx::emf {

void TRecordWriter::Begin(std::uint32_t type)
{
    start_ = out_.size();
    U32(type);
    U32(0);
}

void TRecordWriter::End()
{
    while ((out_.size() - start_) % 4 != 0)
        out_.push_back('\0');
    auto size = static_cast<std::uint32_t>(out_.size() - start_);
    for (int i = 0; i < 4; ++i)
        out_[start_ + 4 + static_cast<std::size_t>(i)] = static_cast<char>((size >> (8 * i)) & 0xFF);
}

void TRecordWriter::U16(std::uint16_t v)
{
    out_.push_back(static_cast<char>(v & 0xFF));
    out_.push_back(static_cast<char>(v >> 8));
}

void TRecordWriter::U32(std::uint32_t v)
{
    for (int i = 0; i < 4; ++i)
        out_.push_back(static_cast<char>((v >> (8 * i)) & 0xFF));
}

void TRecordWriter::F32(float v)
{
    std::uint32_t bits;
    std::memcpy(&bits, &v, sizeof bits);
    U32(bits);
}

void TRecordWriter::Rect(const TRect& r)
{
    I32(r.Left);
    I32(r.Top);
    I32(r.Right);
    I32(r.Bottom);
}

std::uint16_t TRecordReader::U16(std::uint32_t offset) const
{
    if (!Has(offset, 2))
        return 0;
    return static_cast<std::uint16_t>(data_[offset] | (data_[offset + 1] << 8));
}

std::uint32_t TRecordReader::U32(std::uint32_t offset) const
{
    if (!Has(offset, 4))
        return 0;
    return static_cast<std::uint32_t>(data_[offset]) | (static_cast<std::uint32_t>(data_[offset + 1]) << 8) |
           (static_cast<std::uint32_t>(data_[offset + 2]) << 16) | (static_cast<std::uint32_t>(data_[offset + 3]) << 24);
}

float TRecordReader::F32(std::uint32_t offset) const
{
    std::uint32_t bits = U32(offset);
    float v;
    std::memcpy(&v, &bits, sizeof v);
    return v;
}

void WriteLogFont(TRecordWriter& w, const TLogFont& font)
{
    w.I32(font.Height);
    w.I32(font.Width);
    w.I32(font.Escapement);
    w.I32(font.Orientation);
    w.I32(font.Weight);
    w.U8(font.Italic ? 1 : 0);
    w.U8(font.Underline ? 1 : 0);
    w.U8(font.StrikeOut ? 1 : 0);
    w.U8(font.CharSet);
    w.U8(font.OutPrecision);
    w.U8(font.ClipPrecision);
    w.U8(font.Quality);
    w.U8(font.PitchAndFamily);
    // The face name: 32 UTF-16 units, ending with at least one zero.
    for (std::size_t i = 0; i < 32; ++i)
        w.U16(i < 31 && i < font.FaceName.size() ? static_cast<std::uint16_t>(font.FaceName[i]) : 0);
}

TLogFont ReadLogFont(const TRecordReader& r, std::uint32_t offset)
{
    TLogFont font;
    font.Height = r.I32(offset);
    font.Width = r.I32(offset + 4);
    font.Escapement = r.I32(offset + 8);
    font.Orientation = r.I32(offset + 12);
    font.Weight = r.I32(offset + 16);
    font.Italic = r.U8(offset + 20) != 0;
    font.Underline = r.U8(offset + 21) != 0;
    font.StrikeOut = r.U8(offset + 22) != 0;
    font.CharSet = r.U8(offset + 23);
    font.OutPrecision = r.U8(offset + 24);
    font.ClipPrecision = r.U8(offset + 25);
    font.Quality = r.U8(offset + 26);
    font.PitchAndFamily = r.U8(offset + 27);
    for (std::uint32_t i = 0; i < 32; ++i) {
        std::uint16_t c = r.U16(offset + 28 + 2 * i);
        if (c == 0)
            break;
        font.FaceName.push_back(static_cast<char16_t>(c));
    }
    return font;
}

} // namespace gfx::emf
