#pragma once
// The outline of a report: entries that name a place on a page, with their
// level in a tree (1 = top level). Showing them in a tree view is the
// preview's business.

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace report {

struct TRpOutlineArea {
    std::int32_t Left = 0;
    std::int32_t Top = 0;
    std::int32_t Right = 0;
    std::int32_t Bottom = 0;
    bool operator==(const TRpOutlineArea&) const = default;
};

struct TRpOutlineEntry {
    // At most kMaxCaption characters.
    std::string Caption;
    std::int32_t Level = 1;
    TRpOutlineArea Area;
    std::int32_t PageNumber = 0;
    std::int32_t NodeKey = 0;

    static constexpr std::size_t kMaxCaption = 51;
};

class TRpOutline {
public:
    // The area and page of the first entry with that key; an empty area and
    // page 0 when none has it.
    void FindEntry(std::int32_t nodeKey, TRpOutlineArea& area, std::int32_t& pageNumber) const;

    std::vector<std::unique_ptr<TRpOutlineEntry>> Entries;
};

} // namespace report
