#pragma once
// The device-level drawing objects and attributes: what a canvas selects into
// its device and what a recorded page stores. Numbers are those of the
// documented enhanced-metafile layout, so a record can be written and read
// with them directly.

#include "platform/gfx/Color.h"

#include <cstdint>
#include <string>

namespace gfx {

// Pen styles.
inline constexpr std::uint32_t PS_SOLID = 0;
inline constexpr std::uint32_t PS_DASH = 1;
inline constexpr std::uint32_t PS_DOT = 2;
inline constexpr std::uint32_t PS_DASHDOT = 3;
inline constexpr std::uint32_t PS_DASHDOTDOT = 4;
inline constexpr std::uint32_t PS_NULL = 5;
inline constexpr std::uint32_t PS_INSIDEFRAME = 6;
inline constexpr std::uint32_t PS_STYLE_MASK = 0x0F;

// Brush styles and hatches.
inline constexpr std::uint32_t BS_SOLID = 0;
inline constexpr std::uint32_t BS_NULL = 1;
inline constexpr std::uint32_t BS_HATCHED = 2;
inline constexpr std::uint32_t HS_HORIZONTAL = 0;
inline constexpr std::uint32_t HS_VERTICAL = 1;
inline constexpr std::uint32_t HS_FDIAGONAL = 2;
inline constexpr std::uint32_t HS_BDIAGONAL = 3;
inline constexpr std::uint32_t HS_CROSS = 4;
inline constexpr std::uint32_t HS_DIAGCROSS = 5;

// Background modes.
inline constexpr std::uint32_t TRANSPARENT = 1;
inline constexpr std::uint32_t OPAQUE = 2;

// Text alignment flags.
inline constexpr std::uint32_t TA_NOUPDATECP = 0;
inline constexpr std::uint32_t TA_UPDATECP = 1;
inline constexpr std::uint32_t TA_LEFT = 0;
inline constexpr std::uint32_t TA_RIGHT = 2;
inline constexpr std::uint32_t TA_CENTER = 6;
inline constexpr std::uint32_t TA_TOP = 0;
inline constexpr std::uint32_t TA_BOTTOM = 8;
inline constexpr std::uint32_t TA_BASELINE = 24;
inline constexpr std::uint32_t TA_RTLREADING = 256;

// Text output options.
inline constexpr std::uint32_t ETO_OPAQUE = 0x0002;
inline constexpr std::uint32_t ETO_CLIPPED = 0x0004;
inline constexpr std::uint32_t ETO_RTLREADING = 0x0080;
inline constexpr std::uint32_t ETO_NO_RECT = 0x0100;

// Binary raster operations of a pen (mix modes).
inline constexpr std::uint32_t R2_BLACK = 1;
inline constexpr std::uint32_t R2_NOTMERGEPEN = 2;
inline constexpr std::uint32_t R2_MASKNOTPEN = 3;
inline constexpr std::uint32_t R2_NOTCOPYPEN = 4;
inline constexpr std::uint32_t R2_MASKPENNOT = 5;
inline constexpr std::uint32_t R2_NOT = 6;
inline constexpr std::uint32_t R2_XORPEN = 7;
inline constexpr std::uint32_t R2_NOTMASKPEN = 8;
inline constexpr std::uint32_t R2_MASKPEN = 9;
inline constexpr std::uint32_t R2_NOTXORPEN = 10;
inline constexpr std::uint32_t R2_NOP = 11;
inline constexpr std::uint32_t R2_MERGENOTPEN = 12;
inline constexpr std::uint32_t R2_COPYPEN = 13;
inline constexpr std::uint32_t R2_MERGEPENNOT = 14;
inline constexpr std::uint32_t R2_MERGEPEN = 15;
inline constexpr std::uint32_t R2_WHITE = 16;

// Font weights, character sets and pitches.
inline constexpr std::int32_t FW_NORMAL = 400;
inline constexpr std::int32_t FW_BOLD = 700;
inline constexpr std::uint8_t ANSI_CHARSET = 0;
inline constexpr std::uint8_t DEFAULT_CHARSET = 1;
inline constexpr std::uint8_t SYMBOL_CHARSET = 2;
inline constexpr std::uint8_t EASTEUROPE_CHARSET = 238;
inline constexpr std::uint8_t DEFAULT_PITCH = 0;
inline constexpr std::uint8_t FIXED_PITCH = 1;
inline constexpr std::uint8_t VARIABLE_PITCH = 2;

struct TLogPen {
    std::uint32_t Style = PS_SOLID;
    std::int32_t Width = 0; // logical units; 0 draws one device pixel
    TColorRef Color = 0;
    friend bool operator==(const TLogPen&, const TLogPen&) = default;
};

struct TLogBrush {
    std::uint32_t Style = BS_SOLID;
    TColorRef Color = 0xFFFFFF;
    std::uint32_t Hatch = 0;
    friend bool operator==(const TLogBrush&, const TLogBrush&) = default;
};

struct TLogFont {
    // Negative: the character height (em) in logical units; positive: the cell
    // height including internal leading; zero: a default size.
    std::int32_t Height = 0;
    std::int32_t Width = 0;
    std::int32_t Escapement = 0; // tenths of a degree, counter-clockwise
    std::int32_t Orientation = 0;
    std::int32_t Weight = FW_NORMAL;
    bool Italic = false;
    bool Underline = false;
    bool StrikeOut = false;
    std::uint8_t CharSet = DEFAULT_CHARSET;
    std::uint8_t OutPrecision = 0;
    std::uint8_t ClipPrecision = 0;
    std::uint8_t Quality = 0;
    std::uint8_t PitchAndFamily = DEFAULT_PITCH;
    std::u16string FaceName; // at most 31 characters are stored
    friend bool operator==(const TLogFont&, const TLogFont&) = default;
};

} // namespace gfx
