#pragma once
// Text measured in the report's own unit (tenths of a millimetre), the same
// for every device: the face is sized for a fine fixed resolution and laid out
// without hinting, so a page breaks its lines and its pages alike in the
// preview, in the stored pages and on a printer of any resolution. A label
// measures the same words again at every printing and every repaint, so the
// widths are kept by font and text. A tab advances to the next stop, eight
// average character widths of the font from the start of the text, so in
// native units too: its advance is part of the positions and widths here,
// and a page that records them puts the tabbed words alike on every device.

#include "platform/ui/kernel/Graphics.h"

#include <QFont>

#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace report {

class TRpTextMeasure {
public:
    TRpTextMeasure();

    // Extent of the text in the font, in native units.
    long double TextWidth(const ui::TFont& font, const std::string& text);
    long double TextHeight(const ui::TFont& font, const std::string& text);
    // The boundary before every UTF-16 unit of the text and after the last,
    // in native units from the start of the text.
    std::vector<long double> CharacterPositions(const ui::TFont& font, std::u16string_view text);

    // The resolution text is laid out at: 2540 pixels per inch, ten to a
    // native unit, fine enough that a whole point size is within a pixel.
    static constexpr int kPixelsPerInch = 2540;
    // Entries kept before the oldest ones are forgotten (all at once).
    static constexpr std::size_t kMaxEntries = 8192;

private:
    const QFont& FontFor(const ui::TFont& font);
    long double Measure(const ui::TFont& font, const std::string& text, bool width);

    gfx::TFont reference_;
    QFont qtFont_;
    std::string fontKey_;
    std::unordered_map<std::string, long double> measured_;
    std::string key_;
};

} // namespace report
