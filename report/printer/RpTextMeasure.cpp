#include "report/printer/RpTextMeasure.h"

#include "platform/core/Unicode.h"
#include "platform/gfx/FontMapping.h"
#include "platform/ui/kernel/CustomControl.h"

namespace report {

namespace {

// Reference pixels per native unit.
constexpr long double kPixelsPerNative = TRpTextMeasure::kPixelsPerInch / 254.0L;

} // namespace

TRpTextMeasure::TRpTextMeasure() { reference_.SetPixelsPerInch(kPixelsPerInch); }

const QFont& TRpTextMeasure::FontFor(const ui::TFont& font)
{
    // What the measure depends on: the face, the size and the style.
    std::string key = std::to_string(font.Size());
    key.push_back('/');
    key.append(std::to_string(static_cast<unsigned>(font.Style())));
    key.push_back('/');
    key.append(font.Name());
    if (key != fontKey_) {
        ui::AssignControlFont(reference_, font);
        qtFont_ = gfx::MakeQFont(reference_.LogFont());
        fontKey_ = key;
    }
    return qtFont_;
}

long double TRpTextMeasure::TextWidth(const ui::TFont& font, const std::string& text)
{
    return Measure(font, text, true);
}

long double TRpTextMeasure::TextHeight(const ui::TFont& font, const std::string& text)
{
    return Measure(font, text, false);
}

long double TRpTextMeasure::Measure(const ui::TFont& font, const std::string& text, bool width)
{
    const QFont& qtFont = FontFor(font);
    key_.clear();
    key_.push_back(width ? 'w' : 'h');
    key_.append(fontKey_);
    key_.push_back('\0');
    key_.append(text);
    if (auto found = measured_.find(key_); found != measured_.end())
        return found->second;
    const double pixels =
        width ? gfx::TextAdvance(qtFont, core::Utf8ToUtf16(text)) : gfx::MeasureFont(qtFont).Height();
    const long double value = pixels / kPixelsPerNative;
    if (measured_.size() >= kMaxEntries)
        measured_.clear();
    measured_.emplace(key_, value);
    return value;
}

std::vector<long double> TRpTextMeasure::CharacterPositions(const ui::TFont& font, std::u16string_view text)
{
    const std::vector<double> pixels = gfx::CharacterPositions(FontFor(font), text);
    std::vector<long double> positions(pixels.size());
    for (std::size_t i = 0; i < pixels.size(); ++i)
        positions[i] = pixels[i] / kPixelsPerNative;
    return positions;
}

} // namespace report
