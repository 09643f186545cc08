#include "report/RpTextMeasure.h"

#include "platform/gfx/PainterCanvas.h"
#include "platform/ui/CustomControl.h"

namespace report {

TRpTextMeasure::TRpTextMeasure() : canvas_(std::make_unique<gfx::TPainterCanvas>(nullptr)) {}

TRpTextMeasure::~TRpTextMeasure() = default;

std::int32_t TRpTextMeasure::TextWidth(const ui::TFont& font, const std::string& text)
{
    return Measure(font, text, true);
}

std::int32_t TRpTextMeasure::TextHeight(const ui::TFont& font, const std::string& text)
{
    return Measure(font, text, false);
}

std::int32_t TRpTextMeasure::Measure(const ui::TFont& font, const std::string& text, bool width)
{
    // What the measure depends on: the face, size and style, and the text.
    key_.clear();
    key_.push_back(width ? 'w' : 'h');
    key_.append(std::to_string(font.Size()));
    key_.push_back('/');
    key_.append(std::to_string(static_cast<unsigned>(font.Style())));
    key_.push_back('/');
    key_.append(font.Name());
    key_.push_back('\0');
    key_.append(text);
    if (auto found = measured_.find(key_); found != measured_.end())
        return found->second;
    ui::AssignControlFont(canvas_->Font(), font);
    const std::int32_t value = width ? canvas_->TextWidth(text) : canvas_->TextHeight(text);
    if (measured_.size() >= kMaxEntries)
        measured_.clear();
    measured_.emplace(key_, value);
    return value;
}

} // namespace report
