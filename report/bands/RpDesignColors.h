#pragma once
// The design-time colour scheme of the report engine: rulers, band captions,
// band outlines, margin rectangle and column guides. A display of more than
// 256 colours gets the full scheme, a poorer one the reduced scheme, chosen
// once at start-up.

#include "platform/gfx/Color.h"
#include "platform/gfx/GraphicsObjects.h"

#include <string>

namespace report {

struct TRpDesignColors {
    gfx::TPenStyle RulerMinorPenStyle;
    gfx::TPenStyle RulerMajorPenStyle;
    gfx::TColor RulerMinorColor;
    gfx::TColor RulerMajorColor;
    std::string CaptionFontName;
    gfx::TColor CaptionFontColor;
    int CaptionFontSize;
    gfx::TPenStyle GuidePenStyle;
    gfx::TColor GuideColor;
    gfx::TPenStyle BandPenStyle;
    gfx::TColor BandColor;
};

const TRpDesignColors& FullDesignColors();
const TRpDesignColors& ReducedDesignColors();

// The scheme in use; the full one until start-up chooses.
const TRpDesignColors& DesignColors();
void SetDesignColors(const TRpDesignColors& colors);
// The scheme for a display that reports colorCount colours (-1: more than 256).
const TRpDesignColors& DesignColorsForDisplay(long long colorCount);

} // namespace report
