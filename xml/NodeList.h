#pragma once
// The ordered list of nodes in which a container keeps its children and the
// document its top-level nodes. Lookups by index never fail: outside the list
// they give nullptr. A list that owns its nodes frees them when they are
// deleted or cleared, and when the list goes.

#include "xml/XmlNode.h"

#include <vector>

namespace xml {

class TxNodeList {
public:
    explicit TxNodeList(bool ownsNodes = true) : ownsNodes_(ownsNodes) {}
    ~TxNodeList();
    TxNodeList(const TxNodeList&) = delete;
    TxNodeList& operator=(const TxNodeList&) = delete;

    bool OwnsNodes() const noexcept { return ownsNodes_; }
    int Count() const noexcept { return static_cast<int>(items_.size()); }
    TXmlNode* ItemAt(int index) const noexcept
    {
        return index >= 0 && index < Count() ? items_[static_cast<std::size_t>(index)] : nullptr;
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
    int IndexOf(const TXmlNode* node) const noexcept;
    void Clear();
    int Capacity() const noexcept { return static_cast<int>(items_.capacity()); }
    void SetCapacity(int capacity);

    // Moves every node to the end of into, without freeing; the list is empty then.
    void TakeAll(std::vector<TXmlNode*>& into);

    auto begin() const noexcept { return items_.begin(); }
    auto end() const noexcept { return items_.end(); }

private:
    void CheckIndex(int index, bool allowEnd = false) const;

    std::vector<TXmlNode*> items_;
    bool ownsNodes_;
};

} // namespace xml
