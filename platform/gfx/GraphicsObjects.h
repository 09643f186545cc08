#pragma once
// The font, pen and brush of a canvas, with the class library's properties.
// Each tells its owner of a change through OnChange.

#include "platform/core/Component.h"
#include "platform/gfx/Color.h"
#include "platform/gfx/LogicalObjects.h"

#include <string>

class QFont;

namespace gfx {

class TGraphicsObject : public core::TPersistent {
public:
    std::string ClassName() const override { return "TGraphicsObject"; }
    core::TNotifyEvent OnChange;

protected:
    void Changed();
};

enum TFontStyle : unsigned { fsBold = 1, fsItalic = 2, fsUnderline = 4, fsStrikeOut = 8 };
using TFontStyles = unsigned;

enum class TFontPitch { fpDefault, fpVariable, fpFixed };
using TFontCharset = std::uint8_t;

class TFont : public TGraphicsObject {
public:
    TFont();
    std::string ClassName() const override { return "TFont"; }

    const std::string& Name() const { return name_; }
    void SetName(const std::string& name);
    // Size in points; Height in pixels of a device with PixelsPerInch pixels per
    // inch (negative: the character height without internal leading).
    int Size() const;
    void SetSize(int points);
    int Height() const { return height_; }
    void SetHeight(int height);
    // Changing the resolution keeps Height, as the class library does; a canvas
    // that adopts a font for its device sets the size again afterwards.
    int PixelsPerInch() const { return pixelsPerInch_; }
    void SetPixelsPerInch(int pixelsPerInch);
    TFontStyles Style() const { return style_; }
    void SetStyle(TFontStyles style);
    TColor Color() const { return color_; }
    void SetColor(TColor color);
    TFontCharset Charset() const { return charset_; }
    void SetCharset(TFontCharset charset);
    TFontPitch Pitch() const { return pitch_; }
    void SetPitch(TFontPitch pitch);

    // Copies a font. Between different resolutions the point size is kept, so a
    // control's font put on a printer canvas prints at its size.
    void Assign(core::TPersistent* source) override;

    // The device font for a device of the font's resolution.
    TLogFont LogFont() const;
    // The Qt font of a control showing this font on the screen: its face, point
    // size and style.
    QFont ToQFont() const;

private:
    std::string name_ = "Tahoma";
    int height_ = 0;
    int pixelsPerInch_ = 96;
    TFontStyles style_ = 0;
    TColor color_ = clWindowText;
    TFontCharset charset_ = DEFAULT_CHARSET;
    TFontPitch pitch_ = TFontPitch::fpDefault;
};

enum class TPenStyle { psSolid, psDash, psDot, psDashDot, psDashDotDot, psClear, psInsideFrame };
enum class TPenMode {
    pmBlack, pmWhite, pmNop, pmNot, pmCopy, pmNotCopy, pmMergePenNot, pmMaskPenNot,
    pmMergeNotPen, pmMaskNotPen, pmMerge, pmNotMerge, pmMask, pmNotMask, pmXor, pmNotXor
};

class TPen : public TGraphicsObject {
public:
    std::string ClassName() const override { return "TPen"; }

    TColor Color() const { return color_; }
    void SetColor(TColor color);
    int Width() const { return width_; }
    void SetWidth(int width);
    TPenStyle Style() const { return style_; }
    void SetStyle(TPenStyle style);
    TPenMode Mode() const { return mode_; }
    void SetMode(TPenMode mode);

    void Assign(core::TPersistent* source) override;

    TLogPen LogPen() const;
    // The mix mode (R2_...) of the pen's Mode.
    std::uint32_t Rop2() const;

private:
    TColor color_ = clBlack;
    int width_ = 1;
    TPenStyle style_ = TPenStyle::psSolid;
    TPenMode mode_ = TPenMode::pmCopy;
};

enum class TBrushStyle { bsSolid, bsClear, bsHorizontal, bsVertical, bsFDiagonal, bsBDiagonal, bsCross, bsDiagCross };

class TBrush : public TGraphicsObject {
public:
    std::string ClassName() const override { return "TBrush"; }

    TColor Color() const { return color_; }
    void SetColor(TColor color);
    TBrushStyle Style() const { return style_; }
    void SetStyle(TBrushStyle style);

    void Assign(core::TPersistent* source) override;

    TLogBrush LogBrush() const;

private:
    TColor color_ = clWhite;
    TBrushStyle style_ = TBrushStyle::bsSolid;
};

// Integer a * b / c rounded to the nearest, halves away from zero, as the
// platform's scaling helper computes font heights.
int MulDiv(int a, int b, int c);

} // namespace gfx
