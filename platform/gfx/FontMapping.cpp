#include "platform/gfx/FontMapping.h"

#include <QFontMetricsF>
#include <QString>
#include <QTextLayout>

#include <algorithm>
#include <cmath>

namespace gfx {

namespace {

constexpr int kDefaultPixelSize = 12;

QString ToQString(std::u16string_view text)
{
    return QString(reinterpret_cast<const QChar*>(text.data()), static_cast<qsizetype>(text.size()));
}

QFont BaseFont(const TLogFont& font)
{
    QFont q;
    q.setFamilies(FontFamilies(font.FaceName.empty() ? QStringLiteral("Sans Serif") : ToQString(font.FaceName)));
    q.setHintingPreference(QFont::PreferNoHinting);
    int weight = std::clamp(font.Weight == 0 ? FW_NORMAL : font.Weight, 1, 1000);
    q.setWeight(static_cast<QFont::Weight>(weight));
    q.setItalic(font.Italic);
    q.setUnderline(font.Underline);
    q.setStrikeOut(font.StrikeOut);
    if ((font.PitchAndFamily & 0x03) == FIXED_PITCH) {
        q.setFixedPitch(true);
        q.setStyleHint(QFont::Monospace);
    }
    return q;
}

} // namespace

QStringList FontFamilies(const QString& face)
{
    QStringList families{face};
    // The narrow faces of the dialogs, and the tiny face of rulers and captions.
    if (face == QStringLiteral("Tahoma") || face == QStringLiteral("MS Sans Serif") ||
        face == QStringLiteral("Small Fonts"))
        families << QStringLiteral("DejaVu Sans Condensed") << QStringLiteral("Liberation Sans Narrow")
                 << QStringLiteral("Nimbus Sans Narrow") << QStringLiteral("Liberation Sans")
                 << QStringLiteral("DejaVu Sans");
    return families;
}

QFont MakeQFont(const TLogFont& font)
{
    QFont q = BaseFont(font);
    int pixels = kDefaultPixelSize;
    if (font.Height < 0) {
        pixels = -font.Height;
    } else if (font.Height > 0) {
        // A positive height is the whole cell; find the em size that fills it.
        QFont probe = q;
        probe.setPixelSize(100);
        QFontMetricsF metrics(probe);
        double cell = metrics.ascent() + metrics.descent();
        pixels = cell > 0 ? static_cast<int>(std::lround(font.Height * 100.0 / cell)) : font.Height;
    }
    q.setPixelSize(std::max(1, pixels));
    if (font.Width > 0) {
        // A requested average character width stretches the face.
        QFontMetricsF metrics(q);
        double natural = metrics.averageCharWidth();
        if (natural > 0)
            q.setStretch(std::clamp(static_cast<int>(std::lround(font.Width * 100.0 / natural)), 1, 4000));
    }
    return q;
}

TTextMetrics MeasureFont(const QFont& font)
{
    QFontMetricsF metrics(font);
    return {metrics.ascent(), metrics.descent()};
}

namespace {

// One line of text laid out left to right, as every measure here takes it.
struct TLaidOutLine {
    QTextLayout Layout;
    QTextLine Line;

    TLaidOutLine(const QFont& font, std::u16string_view text) : Layout(ToQString(text), font)
    {
        QTextOption option;
        option.setWrapMode(QTextOption::NoWrap);
        option.setTextDirection(Qt::LeftToRight);
        Layout.setTextOption(option);
        Layout.beginLayout();
        Line = Layout.createLine();
        Layout.endLayout();
    }
};

// Letters of the right-to-left scripts (Hebrew to the end of Arabic's
// extensions, their presentation forms) and surrogates, which may stand for
// further ones.
bool MayRunRightToLeft(std::u16string_view text)
{
    for (char16_t c : text)
        if ((c >= 0x0590 && c <= 0x08FF) || (c >= 0xD800 && c <= 0xDFFF) || (c >= 0xFB1D && c <= 0xFDFF) ||
            (c >= 0xFE70 && c <= 0xFEFF) || c == 0x200F || (c >= 0x202A && c <= 0x202E) ||
            (c >= 0x2066 && c <= 0x2069))
            return true;
    return false;
}

} // namespace

double TabStopDistance(const QFont& font)
{
    return 8 * QFontMetricsF(font).averageCharWidth();
}

double TextAdvance(const QFont& font, std::u16string_view text)
{
    if (text.empty())
        return 0.0;
    if (MayRunRightToLeft(text) || text.find(u'\t') != std::u16string_view::npos)
        return CharacterPositions(font, text).back();
    // Left to right the positions only grow: the last one is the largest.
    TLaidOutLine laidOut(font, text);
    if (!laidOut.Line.isValid())
        return 0.0;
    return std::max(0.0, std::max(laidOut.Line.cursorToX(static_cast<int>(text.size())),
                                  laidOut.Line.naturalTextWidth()));
}

namespace {

// The boundaries of text without tabs, from origin on, into positions[1..size].
void PlaceRun(const QFont& font, std::u16string_view text, double origin, double* positions)
{
    TLaidOutLine laidOut(font, text);
    const QTextLine& line = laidOut.Line;
    double last = origin;
    for (std::size_t i = 1; i <= text.size(); ++i) {
        if (line.isValid())
            last = std::max(last, origin + line.cursorToX(static_cast<int>(i)));
        positions[i] = last;
    }
    if (line.isValid())
        positions[text.size()] = std::max(last, origin + line.naturalTextWidth());
}

} // namespace

std::vector<double> CharacterPositions(const QFont& font, std::u16string_view text)
{
    std::vector<double> positions(text.size() + 1, 0.0);
    // Each run between tabs is laid out on its own, from where the tab before it stopped.
    double stop = -1;
    std::size_t start = 0;
    for (;;) {
        const std::size_t tab = std::min(text.find(u'\t', start), text.size());
        if (tab > start)
            PlaceRun(font, text.substr(start, tab - start), positions[start], positions.data() + start);
        if (tab == text.size())
            break;
        if (stop < 0)
            stop = TabStopDistance(font);
        const double x = positions[tab];
        positions[tab + 1] = stop > 0 ? (std::floor(x / stop) + 1) * stop : x;
        start = tab + 1;
    }
    return positions;
}

} // namespace gfx
