#pragma once
// Colours, fonts and the alignment of controls.

#include "platform/core/Component.h"

#include <cstdint>
#include <string>

class QColor;
class QFont;

namespace ui {

// A colour as the class library stores it: 0x00BBGGRR, or a system colour
// (0x80000000 + its index), or one of the two special values.
using TColor = std::int32_t;

inline constexpr TColor clBlack = 0x000000;
inline constexpr TColor clMaroon = 0x000080;
inline constexpr TColor clGreen = 0x008000;
inline constexpr TColor clNavy = 0x800000;
inline constexpr TColor clGray = 0x808080;
inline constexpr TColor clSilver = 0xC0C0C0;
inline constexpr TColor clRed = 0x0000FF;
inline constexpr TColor clLime = 0x00FF00;
inline constexpr TColor clYellow = 0x00FFFF;
inline constexpr TColor clBlue = 0xFF0000;
inline constexpr TColor clWhite = 0xFFFFFF;
inline constexpr TColor clBackground = static_cast<TColor>(0x80000001u);
inline constexpr TColor clWindow = static_cast<TColor>(0x80000005u);
inline constexpr TColor clWindowText = static_cast<TColor>(0x80000008u);
inline constexpr TColor clHighlight = static_cast<TColor>(0x8000000Du);
inline constexpr TColor clHighlightText = static_cast<TColor>(0x8000000Eu);
inline constexpr TColor clBtnFace = static_cast<TColor>(0x8000000Fu);
inline constexpr TColor clGrayText = static_cast<TColor>(0x80000011u);
inline constexpr TColor clBtnText = static_cast<TColor>(0x80000012u);
inline constexpr TColor clInfoBk = static_cast<TColor>(0x80000018u);
inline constexpr TColor clNone = 0x1FFFFFFF;
inline constexpr TColor clDefault = 0x20000000;

constexpr TColor RGBColor(int r, int g, int b) { return (b << 16) | (g << 8) | r; }

// The Qt colour of a colour value; system colours come from the application's palette.
QColor ColorToQColor(TColor color);
TColor QColorToColor(const QColor& color);

enum TFontStyle : unsigned { fsBold = 1, fsItalic = 2, fsUnderline = 4, fsStrikeOut = 8 };
using TFontStyles = unsigned;

class TFont : public core::TPersistent {
public:
    std::string ClassName() const override { return "TFont"; }

    const std::string& Name() const { return name_; }
    void SetName(const std::string& name);
    // Size in points.
    int Size() const { return size_; }
    void SetSize(int size);
    TFontStyles Style() const { return style_; }
    void SetStyle(TFontStyles style);
    TColor Color() const { return color_; }
    void SetColor(TColor color);

    void Assign(core::TPersistent* source) override;
    QFont ToQFont() const;

    core::TNotifyEvent OnChange;

private:
    void Changed();

    std::string name_ = "Tahoma";
    int size_ = 8;
    TFontStyles style_ = 0;
    TColor color_ = clWindowText;
};

// The mouse pointer over a control.
enum class TCursor { crDefault, crArrow, crHandPoint, crHourGlass, crIBeam };

// How a text sits across its room.
enum class TAlignment { taLeftJustify, taRightJustify, taCenter };

// Where a control sits in its parent's client area.
enum class TAlign { alNone, alTop, alBottom, alLeft, alRight, alClient };

} // namespace ui
