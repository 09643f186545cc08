#pragma once
// The outline of a report: entries that name a place on a page, with their
// level in a tree (1 = top level), shown in the nodes of a tree view.

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace ui {
class TTreeNodes;
}

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

    // The nodes that show the outline (not owned), or none.
    ui::TTreeNodes* TreeNodes() const { return treeNodes_; }
    // Remembers the nodes and, when there are some, fills them again with
    // one node per entry (levels 1 to 31), each node carrying its entry's
    // NodeKey as its data.
    void SetTreeNodes(ui::TTreeNodes* nodes);

    std::vector<std::unique_ptr<TRpOutlineEntry>> Entries;

private:
    ui::TTreeNodes* treeNodes_ = nullptr;
};

} // namespace report
