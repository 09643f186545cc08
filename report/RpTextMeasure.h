#pragma once
// Text measured as the report's pages draw it: through the platform's canvas
// in the screen's resolution, with the same font mapping as the canvas of a
// stored page. A label measures the same words again at every printing and
// every repaint, so the widths are kept by font and text.

#include "platform/ui/Graphics.h"

#include <cstdint>
#include <memory>
#include <string>
#include <unordered_map>

namespace gfx {
class TPainterCanvas;
}

namespace report {

class TRpTextMeasure {
public:
    TRpTextMeasure();
    ~TRpTextMeasure();
    TRpTextMeasure(const TRpTextMeasure&) = delete;
    TRpTextMeasure& operator=(const TRpTextMeasure&) = delete;

    // Pixels the text takes in the font, as TextWidth and TextHeight of the
    // canvas of a stored page give them.
    std::int32_t TextWidth(const ui::TFont& font, const std::string& text);
    std::int32_t TextHeight(const ui::TFont& font, const std::string& text);

    // Entries kept before the oldest ones are forgotten (all at once).
    static constexpr std::size_t kMaxEntries = 8192;

private:
    std::int32_t Measure(const ui::TFont& font, const std::string& text, bool width);

    std::unique_ptr<gfx::TPainterCanvas> canvas_;
    std::unordered_map<std::string, std::int32_t> measured_;
    std::string key_;
};

} // namespace report
