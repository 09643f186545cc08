#pragma once
// Colours and fonts of controls, which are the canvas's own, and the pointer
// and alignment of controls.

#include "platform/gfx/Color.h"
#include "platform/gfx/GraphicsObjects.h"

#include <Qt>

class QColor;

namespace ui {

using gfx::TColor;

using gfx::clBlack;
using gfx::clMaroon;
using gfx::clGreen;
using gfx::clNavy;
using gfx::clGray;
using gfx::clSilver;
using gfx::clRed;
using gfx::clLime;
using gfx::clYellow;
using gfx::clBlue;
using gfx::clWhite;
using gfx::clBackground;
using gfx::clWindow;
using gfx::clWindowText;
using gfx::clHighlight;
using gfx::clHighlightText;
using gfx::clBtnFace;
using gfx::clGrayText;
using gfx::clBtnText;
using gfx::clInfoBk;
using gfx::clNone;
using gfx::clDefault;

using gfx::RGBToColor;
using gfx::QColorToColor;

// The Qt colour of a colour value on the screen: system colours come from the
// application's palette, so controls follow the desktop's scheme; clNone and
// clDefault give an invalid colour (nothing drawn, Qt's own choice).
QColor ColorToQColor(TColor color);

using gfx::TFontStyle;
using gfx::TFontStyles;
using gfx::fsBold;
using gfx::fsItalic;
using gfx::fsUnderline;
using gfx::fsStrikeOut;
using gfx::TFont;

// The mouse pointer over a control; crDrag and crNoDrop show while a control is
// dragged, over a control that takes it and over one that does not.
enum class TCursor { crDefault, crArrow, crHandPoint, crHourGlass, crIBeam, crDrag, crNoDrop };
// The Qt pointer shape of a pointer (crDefault: Qt's arrow).
Qt::CursorShape CursorShape(TCursor cursor);

// How a text sits across its room.
enum class TAlignment { taLeftJustify, taRightJustify, taCenter };

// Where a control sits in its parent's client area.
enum class TAlign { alNone, alTop, alBottom, alLeft, alRight, alClient };

// The edges of its parent to which a control keeps its distance when the parent
// is resized. Anchored to both opposite edges it stretches; to neither, it keeps
// its centre at the same share of the parent's size.
enum TAnchorKind : unsigned {
    akLeft = 1u << 0,
    akTop = 1u << 1,
    akRight = 1u << 2,
    akBottom = 1u << 3,
};
using TAnchors = unsigned;

} // namespace ui
