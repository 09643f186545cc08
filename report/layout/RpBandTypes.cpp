#include "report/layout/RpBandTypes.h"

#include <array>

namespace report {

namespace {

constexpr std::array<std::string_view, kBandTypeCount> kCaptions = {
    "Title",        "Page Header",  "Detail",     "Page Footer",   "Summary", "Group Header",
    "Group Footer", "Sub Detail",   "Column Header", "Overlay",    "Child",
};

constexpr std::array<std::string_view, kBandTypeCount> kNames = {
    "TitleBand",       "PageHeaderBand",  "DetailBand",    "PageFooterBand",   "SummaryBand", "GroupHeaderBand",
    "GroupFooterBand", "SubDetailBand",   "ColumnHeaderBand", "OverlayBand",   "ChildBand",
};

std::size_t Index(TRpBandType type)
{
    auto i = static_cast<std::size_t>(type);
    return i < kBandTypeCount ? i : 0;
}

} // namespace

std::string_view BandTypeCaptionText(TRpBandType type) { return kCaptions[Index(type)]; }

std::string_view BandTypeNameText(TRpBandType type) { return kNames[Index(type)]; }

} // namespace report
