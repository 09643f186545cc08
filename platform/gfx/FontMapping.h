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

// The x position of every character boundary of text (text.size() + 1 values,
// one per UTF-16 unit, the first 0), kerning included.
std::vector<double> CharacterPositions(const QFont& font, std::u16string_view text);

// The width of text: the last of its CharacterPositions, found without the
// positions in between where the text has no right-to-left letters (whose
// positions need not grow from left to right).
double TextAdvance(const QFont& font, std::u16string_view text);

} // namespace gfx
