#pragma once
// The ordered list of nodes in which a container keeps its children and the
// document its top-level nodes. Lookups by index never fail: outside the list
// they give nullptr. A list that owns its nodes frees them when they are
// deleted or cleared, and when the list goes.
//
// The list is small (a pointer and two counts): a document holds one per
// element. A list of nodes read by the parser keeps its short arrays in their
// document's arena; longer arrays, and those of other nodes, are on the heap.
// A list with room for one node keeps it in place of the array pointer, so
// that the many elements holding just a text need no array.

#include "xml/XmlNode.h"

#include <vector>

namespace xml {

class TxNodeList {
public:
    explicit TxNodeList(bool ownsNodes = true) : ownsNodes_(ownsNodes ? 1 : 0) {}
    ~TxNodeList();
    TxNodeList(const TxNodeList&) = delete;
    TxNodeList& operator=(const TxNodeList&) = delete;

    bool OwnsNodes() const noexcept { return ownsNodes_ != 0; }
    int Count() const noexcept { return count_; }
    TXmlNode* ItemAt(int index) const noexcept
    {
        return static_cast<unsigned>(index) < static_cast<unsigned>(count_) ? Slots()[index] : nullptr;
    }
    // Raises EListError outside the list, as the class library's lists do.
    TXmlNode* Items(int index) const;
    TXmlNode* First() const noexcept { return ItemAt(0); }
    TXmlNode* Last() const noexcept { return ItemAt(Count() - 1); }

    TXmlNode* FindFirstOfKind(TxNodeKind kind) const;
    // The node after node among its siblings: in its parent when it has one,
    // else in this list; nullptr after the last. A parentless node that is not
    // in this list raises "index must be >= 0".
    TXmlNode* NextSibling(const TXmlNode* node) const;
    // The last of node's siblings (its parent's last node, or this list's last).
    TXmlNode* LastSibling(const TXmlNode* node) const;
    // The node after node in a walk of the whole tree whose top level this list
    // is: its first node, else the next sibling of it or of its nearest ancestor
    // that has one; nullptr at the end.
    TXmlNode* NextInDocument(const TXmlNode* node) const;

    int Add(TXmlNode* node);
    void Insert(int index, TXmlNode* node);
    // Removes and, when the list owns it, frees the node.
    void Delete(int index);
    // Removes without freeing; nullptr when the node is not in the list.
    TXmlNode* Extract(TXmlNode* node);
    TXmlNode* ExtractAt(int index);
    void Exchange(int index1, int index2);
    // Puts node in the slot at index in place of what is there, which is
    // neither freed nor returned: a packed node becoming a node.
    void Replace(int index, TXmlNode* node)
    {
        CheckIndex(index);
        Slots()[index] = node;
    }
    int IndexOf(const TXmlNode* node) const noexcept;
    void Clear();
    int Capacity() const noexcept { return static_cast<int>(capacity_); }
    // Raises EListError below the count; the capacity is then at least the
    // one asked for, or exactly the count when that is asked for.
    void SetCapacity(int capacity);

    // Appends the nodes that the parser read for owner, which may include
    // packed nodes (PackedNode.h); the array then holds exactly the
    // list's count, in owner's arena when owner lives in one and it is short.
    void AssignNodes(TXmlNode* const* nodes, std::size_t count, const TXmlNode* owner);
    // Moves every node to the end of into, without freeing; the list is empty
    // then. Packed nodes are no nodes: they go with the array.
    void TakeAll(std::vector<TXmlNode*>& into);

    TXmlNode* const* begin() const noexcept { return Slots(); }
    TXmlNode* const* end() const noexcept { return Slots() + count_; }

private:
    void CheckIndex(int index, bool allowEnd = false) const;
    // Room for one more node; node is the one to come.
    void Grow(const TXmlNode* node);
    // Moves the nodes to an array of capacity, from node's arena when it is
    // short and node lives in one (or the array is there already).
    void Reallocate(std::uint32_t capacity, const TXmlNode* node);
    void FreeArray() noexcept;
    bool Inline() const noexcept { return capacity_ == 1; }
    TXmlNode** Slots() noexcept { return Inline() ? &single_ : items_; }
    TXmlNode* const* Slots() const noexcept { return Inline() ? &single_ : items_; }

    union {
        TXmlNode** items_ = nullptr; // with a capacity other than 1
        TXmlNode* single_;           // with a capacity of 1
    };
    std::int32_t count_ = 0;
    std::uint32_t capacity_ : 30 = 0;
    std::uint32_t arenaArray_ : 1 = 0;
    std::uint32_t ownsNodes_ : 1;
};

} // namespace xml
