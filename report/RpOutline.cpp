#include "report/RpOutline.h"

namespace report {

void TRpOutline::FindEntry(std::int32_t nodeKey, TRpOutlineArea& area, std::int32_t& pageNumber) const
{
    for (const auto& entry : Entries) {
        if (entry->NodeKey == nodeKey) {
            area = entry->Area;
            pageNumber = entry->PageNumber;
            return;
        }
    }
    area = TRpOutlineArea{};
    pageNumber = 0;
}

} // namespace report
