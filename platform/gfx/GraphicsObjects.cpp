#include "platform/gfx/GraphicsObjects.h"

#include "platform/core/Unicode.h"
#include "platform/gfx/FontMapping.h"

#include <QFont>

#include <cstdint>
#include <cstdlib>

namespace gfx {

int MulDiv(int a, int b, int c)
{
    if (c == 0)
        return -1;
    std::int64_t product = static_cast<std::int64_t>(a) * b;
    std::int64_t half = std::llabs(c) / 2;
    bool negative = (product < 0) != (c < 0);
    std::int64_t magnitude = (std::llabs(product) + half) / std::llabs(c);
    return static_cast<int>(negative ? -magnitude : magnitude);
}

void TGraphicsObject::Changed()
{
    if (OnChange)
        OnChange(this);
}

TFont::TFont()
{
    height_ = -MulDiv(8, pixelsPerInch_, 72);
}

void TFont::SetName(const std::string& name)
{
    if (name == name_ || name.empty())
        return;
    name_ = name;
    Changed();
}

int TFont::Size() const
{
    return -MulDiv(height_, 72, pixelsPerInch_);
}

void TFont::SetSize(int points)
{
    SetHeight(-MulDiv(points, pixelsPerInch_, 72));
}

void TFont::SetHeight(int height)
{
    if (height == height_)
        return;
    height_ = height;
    Changed();
}

void TFont::SetPixelsPerInch(int pixelsPerInch)
{
    if (pixelsPerInch > 0)
        pixelsPerInch_ = pixelsPerInch;
}

void TFont::SetStyle(TFontStyles style)
{
    if (style == style_)
        return;
    style_ = style;
    Changed();
}

void TFont::SetColor(TColor color)
{
    if (color == color_)
        return;
    color_ = color;
    Changed();
}

void TFont::SetCharset(TFontCharset charset)
{
    if (charset == charset_)
        return;
    charset_ = charset;
    Changed();
}

void TFont::SetPitch(TFontPitch pitch)
{
    if (pitch == pitch_)
        return;
    pitch_ = pitch;
    Changed();
}

void TFont::Assign(core::TPersistent* source)
{
    auto* font = dynamic_cast<TFont*>(source);
    if (font == nullptr) {
        TGraphicsObject::Assign(source);
        return;
    }
    if (font == this)
        return;
    name_ = font->name_;
    height_ = font->pixelsPerInch_ == pixelsPerInch_ ? font->height_ : -MulDiv(font->Size(), pixelsPerInch_, 72);
    style_ = font->style_;
    color_ = font->color_;
    charset_ = font->charset_;
    pitch_ = font->pitch_;
    Changed();
}

TLogFont TFont::LogFont() const
{
    TLogFont log;
    log.Height = height_;
    log.Weight = (style_ & fsBold) != 0 ? FW_BOLD : FW_NORMAL;
    log.Italic = (style_ & fsItalic) != 0;
    log.Underline = (style_ & fsUnderline) != 0;
    log.StrikeOut = (style_ & fsStrikeOut) != 0;
    log.CharSet = charset_;
    switch (pitch_) {
    case TFontPitch::fpDefault: log.PitchAndFamily = DEFAULT_PITCH; break;
    case TFontPitch::fpVariable: log.PitchAndFamily = VARIABLE_PITCH; break;
    case TFontPitch::fpFixed: log.PitchAndFamily = FIXED_PITCH; break;
    }
    std::u16string face = core::Utf8ToUtf16(name_);
    if (face.size() > 31)
        face.resize(31);
    log.FaceName = face;
    return log;
}

QFont TFont::ToQFont() const
{
    QFont font;
    font.setFamilies(FontFamilies(QString::fromStdString(name_)));
    font.setPointSize(Size());
    font.setBold((style_ & fsBold) != 0);
    font.setItalic((style_ & fsItalic) != 0);
    font.setUnderline((style_ & fsUnderline) != 0);
    font.setStrikeOut((style_ & fsStrikeOut) != 0);
    return font;
}

void TPen::SetColor(TColor color)
{
    if (color == color_)
        return;
    color_ = color;
    Changed();
}

void TPen::SetWidth(int width)
{
    if (width < 0 || width == width_)
        return;
    width_ = width;
    Changed();
}

void TPen::SetStyle(TPenStyle style)
{
    if (style == style_)
        return;
    style_ = style;
    Changed();
}

void TPen::SetMode(TPenMode mode)
{
    if (mode == mode_)
        return;
    mode_ = mode;
    Changed();
}

void TPen::Assign(core::TPersistent* source)
{
    auto* pen = dynamic_cast<TPen*>(source);
    if (pen == nullptr) {
        TGraphicsObject::Assign(source);
        return;
    }
    if (pen == this)
        return;
    color_ = pen->color_;
    width_ = pen->width_;
    style_ = pen->style_;
    mode_ = pen->mode_;
    Changed();
}

TLogPen TPen::LogPen() const
{
    TLogPen log;
    log.Style = static_cast<std::uint32_t>(style_); // the enumeration follows PS_SOLID .. PS_INSIDEFRAME
    log.Width = width_;
    log.Color = ColorToRGB(color_);
    return log;
}

std::uint32_t TPen::Rop2() const
{
    switch (mode_) {
    case TPenMode::pmBlack: return R2_BLACK;
    case TPenMode::pmWhite: return R2_WHITE;
    case TPenMode::pmNop: return R2_NOP;
    case TPenMode::pmNot: return R2_NOT;
    case TPenMode::pmCopy: return R2_COPYPEN;
    case TPenMode::pmNotCopy: return R2_NOTCOPYPEN;
    case TPenMode::pmMergePenNot: return R2_MERGEPENNOT;
    case TPenMode::pmMaskPenNot: return R2_MASKPENNOT;
    case TPenMode::pmMergeNotPen: return R2_MERGENOTPEN;
    case TPenMode::pmMaskNotPen: return R2_MASKNOTPEN;
    case TPenMode::pmMerge: return R2_MERGEPEN;
    case TPenMode::pmNotMerge: return R2_NOTMERGEPEN;
    case TPenMode::pmMask: return R2_MASKPEN;
    case TPenMode::pmNotMask: return R2_NOTMASKPEN;
    case TPenMode::pmXor: return R2_XORPEN;
    case TPenMode::pmNotXor: return R2_NOTXORPEN;
    }
    return R2_COPYPEN;
}

void TBrush::SetColor(TColor color)
{
    if (color == color_)
        return;
    color_ = color;
    Changed();
}

void TBrush::SetStyle(TBrushStyle style)
{
    if (style == style_)
        return;
    style_ = style;
    Changed();
}

void TBrush::Assign(core::TPersistent* source)
{
    auto* brush = dynamic_cast<TBrush*>(source);
    if (brush == nullptr) {
        TGraphicsObject::Assign(source);
        return;
    }
    if (brush == this)
        return;
    color_ = brush->color_;
    style_ = brush->style_;
    Changed();
}

TLogBrush TBrush::LogBrush() const
{
    TLogBrush log;
    log.Color = ColorToRGB(color_);
    switch (style_) {
    case TBrushStyle::bsSolid: log.Style = BS_SOLID; break;
    case TBrushStyle::bsClear: log.Style = BS_NULL; break;
    case TBrushStyle::bsHorizontal: log.Style = BS_HATCHED; log.Hatch = HS_HORIZONTAL; break;
    case TBrushStyle::bsVertical: log.Style = BS_HATCHED; log.Hatch = HS_VERTICAL; break;
    case TBrushStyle::bsFDiagonal: log.Style = BS_HATCHED; log.Hatch = HS_FDIAGONAL; break;
    case TBrushStyle::bsBDiagonal: log.Style = BS_HATCHED; log.Hatch = HS_BDIAGONAL; break;
    case TBrushStyle::bsCross: log.Style = BS_HATCHED; log.Hatch = HS_CROSS; break;
    case TBrushStyle::bsDiagCross: log.Style = BS_HATCHED; log.Hatch = HS_DIAGCROSS; break;
    }
    return log;
}

} // namespace gfx
