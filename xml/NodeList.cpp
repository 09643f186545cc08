#include "xml/NodeList.h"

#include "xml/NodeArena.h"
#include "xml/PackedNode.h"

#include "platform/core/Exceptions.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <new>
#include <string>

namespace xml {

namespace {

// Arrays up to this many nodes may live in an arena.
constexpr std::uint32_t kArenaArray = TxNodeArena::kLargestPiece / sizeof(TXmlNode*);

} // namespace

TxNodeList::~TxNodeList()
{
    Clear();
}

void TxNodeList::CheckIndex(int index, bool allowEnd) const
{
    if (index < 0 || index > Count() || (index == Count() && !allowEnd))
        throw core::EListError("List index out of bounds (" + std::to_string(index) + ")");
}

void TxNodeList::FreeArray() noexcept
{
    if (!Inline() && items_ != nullptr) {
        if (arenaArray_)
            TxNodeArena::Release(items_, capacity_ * sizeof(TXmlNode*));
        else
            std::free(items_);
    }
    items_ = nullptr;
    capacity_ = 0;
    arenaArray_ = 0;
}

void TxNodeList::Reallocate(std::uint32_t capacity, const TXmlNode* node)
{
    if (capacity == 1) { // kept in place of the array
        TXmlNode* only = count_ > 0 ? Slots()[0] : nullptr;
        FreeArray();
        single_ = only;
        capacity_ = 1;
        return;
    }
    TxNodeArena* arena = nullptr;
    if (capacity <= kArenaArray) {
        if (arenaArray_)
            arena = TxNodeArena::Of(items_);
        else if ((Inline() || items_ == nullptr) && node != nullptr && node->InArena())
            arena = TxNodeArena::Of(node);
    }
    void* array = arena != nullptr ? arena->Allocate(capacity * sizeof(TXmlNode*))
                                   : std::malloc(capacity * sizeof(TXmlNode*));
    if (array == nullptr)
        throw std::bad_alloc();
    if (count_ > 0)
        std::memcpy(array, Slots(), static_cast<std::size_t>(count_) * sizeof(TXmlNode*));
    FreeArray();
    items_ = static_cast<TXmlNode**>(array);
    capacity_ = capacity;
    arenaArray_ = arena != nullptr ? 1 : 0;
}

void TxNodeList::Grow(const TXmlNode* node)
{
    const std::uint32_t capacity = capacity_ < 4 ? capacity_ + 1 : capacity_ * 2;
    if (capacity >= (1u << 30))
        throw std::bad_alloc();
    Reallocate(capacity, node);
}

TXmlNode* TxNodeList::Items(int index) const
{
    CheckIndex(index);
    return Slots()[index];
}

TXmlNode* TxNodeList::FindFirstOfKind(TxNodeKind kind) const
{
    for (TXmlNode* node : *this)
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
    if (static_cast<std::uint32_t>(count_) == capacity_)
        Grow(node);
    Slots()[count_] = node;
    return count_++;
}

void TxNodeList::Insert(int index, TXmlNode* node)
{
    CheckIndex(index, true);
    if (static_cast<std::uint32_t>(count_) == capacity_)
        Grow(node);
    TXmlNode** slots = Slots();
    std::memmove(slots + index + 1, slots + index, static_cast<std::size_t>(count_ - index) * sizeof(TXmlNode*));
    slots[index] = node;
    ++count_;
}

void TxNodeList::Delete(int index)
{
    CheckIndex(index);
    std::vector<TXmlNode*> gone{ExtractAt(index)};
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
    TXmlNode** slots = Slots();
    TXmlNode* node = slots[index];
    std::memmove(slots + index, slots + index + 1, static_cast<std::size_t>(count_ - index - 1) * sizeof(TXmlNode*));
    --count_;
    return node;
}

void TxNodeList::Exchange(int index1, int index2)
{
    CheckIndex(index1);
    CheckIndex(index2);
    std::swap(Slots()[index1], Slots()[index2]);
}

int TxNodeList::IndexOf(const TXmlNode* node) const noexcept
{
    const auto it = std::find(begin(), end(), node);
    return it == end() ? -1 : static_cast<int>(it - begin());
}

void TxNodeList::Clear()
{
    std::vector<TXmlNode*> gone;
    TakeAll(gone);
    if (ownsNodes_)
        FreeNodeTree(gone);
}

void TxNodeList::AssignNodes(TXmlNode* const* nodes, std::size_t count, const TXmlNode* owner)
{
    if (count == 0)
        return;
    if (capacity_ == 0 && count == 1) {
        single_ = nodes[0];
        capacity_ = 1;
        count_ = 1;
        return;
    }
    if (capacity_ == 0 && count <= kArenaArray && owner->InArena()) {
        // The common case, a parsed element's nodes: an array of their arena.
        items_ = static_cast<TXmlNode**>(TxNodeArena::Of(owner)->Allocate(count * sizeof(TXmlNode*)));
        std::memcpy(items_, nodes, count * sizeof(TXmlNode*));
        count_ = static_cast<std::int32_t>(count);
        capacity_ = static_cast<std::uint32_t>(count);
        arenaArray_ = 1;
        return;
    }
    const std::size_t total = static_cast<std::size_t>(count_) + count;
    if (total >= (1u << 30))
        throw std::bad_alloc();
    Reallocate(static_cast<std::uint32_t>(total), owner);
    std::memcpy(Slots() + count_, nodes, count * sizeof(TXmlNode*));
    count_ = static_cast<std::int32_t>(total);
}

void TxNodeList::TakeAll(std::vector<TXmlNode*>& into)
{
    for (TXmlNode* node : *this)
        if (!TxPackedNode::Is(node))
            into.push_back(node);
    count_ = 0;
    FreeArray();
}

void TxNodeList::SetCapacity(int capacity)
{
    if (capacity < Count())
        throw core::EListError("List capacity out of bounds (" + std::to_string(capacity) + ")");
    if (capacity >= (1 << 30))
        throw std::bad_alloc();
    if (capacity == count_ && count_ == 0)
        FreeArray();
    else if (static_cast<std::uint32_t>(capacity) != capacity_ && (capacity > Capacity() || capacity == count_))
        Reallocate(static_cast<std::uint32_t>(capacity), nullptr);
}

} // namespace xml
