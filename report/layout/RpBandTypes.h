#pragma once
// The kinds of band, with the caption the design surface shows for each and
// the stem from which new bands of that kind are named.

#include <cstdint>
#include <string>
#include <string_view>

namespace report {

enum class TRpBandType : std::uint8_t {
    rbTitle = 0,
    rbPageHeader = 1,
    rbDetail = 2,
    rbPageFooter = 3,
    rbSummary = 4,
    rbGroupHeader = 5,
    rbGroupFooter = 6,
    rbSubDetail = 7,
    rbColumnHeader = 8,
    rbOverlay = 9,
    rbChild = 10,
};
inline constexpr int kBandTypeCount = 11;

// "Title", "Page Header", ... "Child".
std::string_view BandTypeCaptionText(TRpBandType type);
// "TitleBand", "PageHeaderBand", ... "ChildBand".
std::string_view BandTypeNameText(TRpBandType type);

namespace msg {
inline constexpr std::string_view CircularLinking = "Circular linking not allowed";
}

} // namespace report
