#pragma once
// Device fonts as Qt fonts, and the measuring of text in them. Sizes are in
// logical units of the device the text is drawn on, so the same numbers serve
// a recording canvas, a printer and a player that scales a page.

#include "platform/gfx/LogicalObjects.h"

#include <QFont>
#include <QStringList>

#include <string_view>
#include <vector>

namespace gfx {

// The faces to ask for a face name, in order: the face itself and, for the
// classic desktop faces that are rarely installed here, faces of a similar
// width that stand in for them (so that text fits the room made for it).
QStringList FontFamilies(const QString& face);

// The Qt font of a device font. Hinting is off, so that widths scale in
// proportion and a page measured at one resolution lays out the same at another.
QFont MakeQFont(const TLogFont& font);

struct TTextMetrics {
    double Ascent = 0;
    double Descent = 0;
    double Height() const { return Ascent + Descent; }
};

TTextMetrics MeasureFont(const QFont& font);

// The distance between two tab stops of the font: eight of its average
// character widths, as text editors and the platform's tabbed text place them.
// A tab advances to the next stop counted from the start of the text, so its
// advance scales with the font and is the same length on every device (Qt's
// own stops are a fixed count of device pixels and would not be).
double TabStopDistance(const QFont& font);

// The x position of every character boundary of text (text.size() + 1 values,
// one per UTF-16 unit, the first 0), kerning included; tabs by TabStopDistance.
std::vector<double> CharacterPositions(const QFont& font, std::u16string_view text);

// The width of text: the last of its CharacterPositions, found without the
// positions in between where the text has no tabs and no right-to-left
// letters (whose positions need not grow from left to right).
double TextAdvance(const QFont& font, std::u16string_view text);

} // namespace gfx
