#include "xml/NodeList.h"

#include "platform/core/Exceptions.h"

#include <algorithm>
#include <string>

namespace xml {

TxNodeList::~TxNodeList() { Clear(); }

void TxNodeList::CheckIndex(int index, bool allowEnd) const
{
    if (index < 0 || index > Count() || (index == Count() && !allowEnd))
        throw core::EListError("List index out of bounds (" + std::to_string(index) + ")");
}

TXmlNode* TxNodeList::Items(int index) const
{
    CheckIndex(index);
    return items_[static_cast<std::size_t>(index)];
}

TXmlNode* TxNodeList::FindFirstOfKind(TxNodeKind kind) const
{
    for (TXmlNode* node : items_)
        if (node->NodeKind() == kind)
            return node;
    return nullptr;
}

TXmlNode* TxNodeList::NextSibling(const TXmlNode* node) const
{
    if (node == nullptr)
        return nullptr;
    if (TXmlNode* parent = node->Parent())
        return parent->NodeAt(parent->NodeIndexOf(node) + 1);
    const int index = IndexOf(node);
    if (index < 0)
        throw core::Exception("index must be >= 0");
    return ItemAt(index + 1);
}

TXmlNode* TxNodeList::LastSibling(const TXmlNode* node) const
{
    if (node == nullptr)
        return nullptr;
    if (TXmlNode* parent = node->Parent())
        return parent->NodeAt(parent->NodeCount() - 1);
    return Last();
}

TXmlNode* TxNodeList::NextInDocument(const TXmlNode* node) const
{
    if (node == nullptr)
        return nullptr;
    if (node->NodeCount() > 0)
        return node->NodeAt(0);
    for (const TXmlNode* at = node; at != nullptr; at = at->Parent())
        if (at != LastSibling(at))
            return NextSibling(at);
    return nullptr;
}

int TxNodeList::Add(TXmlNode* node)
{
    items_.push_back(node);
    return Count() - 1;
}

void TxNodeList::Insert(int index, TXmlNode* node)
{
    CheckIndex(index, true);
    items_.insert(items_.begin() + index, node);
}

void TxNodeList::Delete(int index)
{
    CheckIndex(index);
    std::vector<TXmlNode*> gone{items_[static_cast<std::size_t>(index)]};
    items_.erase(items_.begin() + index);
    if (ownsNodes_)
        FreeNodeTree(gone);
}

TXmlNode* TxNodeList::Extract(TXmlNode* node)
{
    const int index = IndexOf(node);
    return index < 0 ? nullptr : ExtractAt(index);
}

TXmlNode* TxNodeList::ExtractAt(int index)
{
    CheckIndex(index);
    TXmlNode* node = items_[static_cast<std::size_t>(index)];
    items_.erase(items_.begin() + index);
    return node;
}

void TxNodeList::Exchange(int index1, int index2)
{
    CheckIndex(index1);
    CheckIndex(index2);
    std::swap(items_[static_cast<std::size_t>(index1)], items_[static_cast<std::size_t>(index2)]);
}

int TxNodeList::IndexOf(const TXmlNode* node) const noexcept
{
    const auto it = std::find(items_.begin(), items_.end(), node);
    return it == items_.end() ? -1 : static_cast<int>(it - items_.begin());
}

void TxNodeList::Clear()
{
    std::vector<TXmlNode*> gone;
    gone.swap(items_);
    if (ownsNodes_)
        FreeNodeTree(gone);
}

void TxNodeList::TakeAll(std::vector<TXmlNode*>& into)
{
    into.insert(into.end(), items_.begin(), items_.end());
    items_.clear();
}

void TxNodeList::SetCapacity(int capacity)
{
    if (capacity < Count())
        throw core::EListError("List capacity out of bounds (" + std::to_string(capacity) + ")");
    if (capacity > Capacity())
        items_.reserve(static_cast<std::size_t>(capacity));
    else
        items_.shrink_to_fit(); // trimming to the count is all a vector offers
}

} // namespace xml
