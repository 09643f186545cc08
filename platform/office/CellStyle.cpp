#include "platform/office/CellStyle.h"

#include "platform/office/Constants.h"

#include <functional>
#include <utility>

namespace office {

namespace {

template <std::size_t N>
std::optional<std::uint8_t> ToCode(const std::array<std::pair<int, std::uint8_t>, N>& table, int value) {
    for (const auto& [automation, code] : table)
        if (automation == value)
            return code;
    return std::nullopt;
}

template <std::size_t N>
int ToValue(const std::array<std::pair<int, std::uint8_t>, N>& table, std::uint8_t code, int fallback) {
    for (const auto& [automation, fileCode] : table)
        if (fileCode == code)
            return automation;
    return fallback;
}

// The automation's line styles, drawn with the default (thin) weight.
constexpr std::array<std::pair<int, std::uint8_t>, 8> kLineStyles{{
    {xlLineStyleNone, 0},
    {xlContinuous, 1},
    {xlDash, 3},
    {xlDot, 4},
    {xlDouble, 6},
    {xlDashDot, 9},
    {xlDashDotDot, 11},
    {xlSlantDashDot, 13},
}};

constexpr std::array<std::pair<int, std::uint8_t>, 8> kHorizontal{{
    {xlGeneral, 0},
    {xlLeft, 1},
    {xlCenter, 2},
    {xlRight, 3},
    {xlFill, 4},
    {xlJustify, 5},
    {xlCenterAcrossSelection, 6},
    {xlDistributed, 7},
}};

constexpr std::array<std::pair<int, std::uint8_t>, 5> kVertical{{
    {xlTop, 0},
    {xlCenter, 1},
    {xlBottom, 2},
    {xlJustify, 3},
    {xlDistributed, 4},
}};

} // namespace

std::size_t TCellStyleHash::operator()(const TCellStyle& style) const noexcept {
    std::size_t hash = std::hash<std::string>()(style.numberFormat);
    auto mix = [&hash](std::size_t value) { hash ^= value + 0x9e3779b97f4a7c15ULL + (hash << 6) + (hash >> 2); };
    mix(style.bold);
    mix(style.horizontal);
    mix(style.vertical);
    mix(style.wrap);
    for (const TBorderLine& line : style.borders)
        mix(static_cast<std::size_t>(line.style) << 8 | line.theme);
    return hash;
}

TCellStylePool::TCellStylePool() { Intern(TCellStyle{}); }

std::uint32_t TCellStylePool::Intern(const TCellStyle& style) {
    const auto [it, added] = index_.try_emplace(style, static_cast<std::uint32_t>(styles_.size()));
    if (added)
        styles_.push_back(style);
    return it->second;
}

std::optional<std::uint8_t> LineStyleCode(int lineStyle) { return ToCode(kLineStyles, lineStyle); }
int LineStyleValue(std::uint8_t code) { return ToValue(kLineStyles, code, xlContinuous); }
std::optional<std::uint8_t> HorizontalCode(int alignment) { return ToCode(kHorizontal, alignment); }
int HorizontalValue(std::uint8_t code) { return ToValue(kHorizontal, code, xlGeneral); }
std::optional<std::uint8_t> VerticalCode(int alignment) { return ToCode(kVertical, alignment); }
int VerticalValue(std::uint8_t code) { return ToValue(kVertical, code, xlBottom); }

} // namespace office
