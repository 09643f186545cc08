#include "report/bands/RpDesignColors.h"

namespace report {

namespace {

constexpr gfx::TColor Grey(int n) { return gfx::RGBToColor(n, n, n); }

TRpDesignColors& Current()
{
    static TRpDesignColors colors = FullDesignColors();
    return colors;
}

} // namespace

const TRpDesignColors& FullDesignColors()
{
    static const TRpDesignColors colors{
        gfx::TPenStyle::psSolid, gfx::TPenStyle::psSolid, Grey(249), Grey(240), "Small Fonts", Grey(112), 6,
        gfx::TPenStyle::psDot,   gfx::RGBToColor(128, 128, 255), gfx::TPenStyle::psDot, Grey(96),
    };
    return colors;
}

const TRpDesignColors& ReducedDesignColors()
{
    static const TRpDesignColors colors{
        gfx::TPenStyle::psDot,  gfx::TPenStyle::psSolid, Grey(192), Grey(192), "Small Fonts", Grey(192), 6,
        gfx::TPenStyle::psDash, Grey(128),               gfx::TPenStyle::psSolid, Grey(128),
    };
    return colors;
}

const TRpDesignColors& DesignColors() { return Current(); }

void SetDesignColors(const TRpDesignColors& colors) { Current() = colors; }

const TRpDesignColors& DesignColorsForDisplay(long long colorCount)
{
    return colorCount > 256 || colorCount < 0 ? FullDesignColors() : ReducedDesignColors();
}

} // namespace report
