#include "report/pages/RpOutline.h"

#include "platform/ui/controls/TreeView.h"

#include <array>

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

void TRpOutline::SetTreeNodes(ui::TTreeNodes* nodes)
{
    treeNodes_ = nodes;
    if (nodes == nullptr)
        return;
    constexpr std::int32_t kMaxLevel = 31;
    nodes->BeginUpdate();
    nodes->Clear();
    // The last node made at each level; level 0 has none, so level 1 is top level.
    std::array<ui::TTreeNode*, kMaxLevel + 1> last{};
    for (const auto& entry : Entries) {
        if (entry->Level < 1 || entry->Level > kMaxLevel)
            continue;
        ui::TTreeNode* node = nodes->AddChild(last[static_cast<std::size_t>(entry->Level - 1)], entry->Caption);
        node->SetData(entry->NodeKey);
        last[static_cast<std::size_t>(entry->Level)] = node;
    }
    nodes->EndUpdate();
}

} // namespace report
