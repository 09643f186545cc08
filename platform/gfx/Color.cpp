#include "platform/gfx/Color.h"

#include <QColor>

#include <array>

namespace gfx {

namespace {

// Indexed by the system colour number.
constexpr std::array<TColorRef, 31> kSystemColors = {
    0xC8C8C8, // scroll bar
    0x000000, // desktop
    0xD1B499, // active caption
    0xDBCDBF, // inactive caption
    0xF0F0F0, // menu
    0xFFFFFF, // window
    0x646464, // window frame
    0x000000, // menu text
    0x000000, // window text
    0x000000, // caption text
    0xB4B4B4, // active border
    0xFCF7F4, // inactive border
    0xABABAB, // application work space
    0xD77800, // highlight
    0xFFFFFF, // highlighted text
    0xF0F0F0, // button face
    0xA0A0A0, // button shadow
    0x6D6D6D, // grey text
    0x000000, // button text
    0x000000, // inactive caption text
    0xFFFFFF, // button highlight
    0x696969, // dark 3D shadow
    0xE3E3E3, // 3D light
    0x000000, // tooltip text
    0xE1FFFF, // tooltip background
    0x000000, // (unused)
    0xCC6600, // hot light
    0xEAD1B9, // gradient of the active caption
    0xF2E4D7, // gradient of the inactive caption
    0xD77800, // menu highlight
    0xF0F0F0, // menu bar
};

} // namespace

TColorRef ColorToRGB(TColor color)
{
    auto value = static_cast<std::uint32_t>(color);
    if ((value & 0x80000000u) != 0) {
        std::uint32_t index = value & 0xFFu;
        return index < kSystemColors.size() ? kSystemColors[index] : 0x000000;
    }
    if (color == clNone)
        return 0xFFFFFF;
    if (color == clDefault)
        return 0x000000;
    return value & 0xFFFFFFu;
}

QColor ColorRefToQColor(TColorRef color)
{
    return QColor(GetRValue(color), GetGValue(color), GetBValue(color));
}

QColor ColorToQColor(TColor color)
{
    return ColorRefToQColor(ColorToRGB(color));
}

TColor QColorToColor(const QColor& color)
{
    if (!color.isValid())
        return clNone;
    return RGBToColor(color.red(), color.green(), color.blue());
}

} // namespace gfx
