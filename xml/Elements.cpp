#include "xml/Elements.h"

#include "xml/CharData.h"
#include "xml/VarInt.h"
#include "xml/XmlDocument.h"

#include <algorithm>

namespace xml {

void FreeNodeTree(std::vector<TXmlNode*>& nodes)
{
    // A container hands its nodes to this list before it goes, so no
    // destructor ever descends: trees of any depth are freed with a flat loop.
    while (!nodes.empty()) {
        TXmlNode* node = nodes.back();
        nodes.pop_back();
        if (node->IsContainer())
            static_cast<TxContainerNode*>(node)->nodes_.TakeAll(nodes);
        delete node;
    }
}

// --- container ------------------------------------------------------------------

TxContainerNode::~TxContainerNode() = default;

TxClosingStyle TxContainerNode::ClosingStyle() const
{
    const TxClosingStyle forced = Document()->EmptyElementStyle();
    return forced != csUnspecified ? forced : NodeClosingStyle();
}

// Containers and elements are never packed: these read the list as it stands.

bool TxContainerNode::HasContainerChildren() const
{
    for (int i = directNodeCount_; i < nodes_.Count(); ++i)
        if (IsContainerAt(i))
            return true;
    return false;
}

int TxContainerNode::ContainerCount() const
{
    int count = 0;
    for (int i = directNodeCount_; i < nodes_.Count(); ++i)
        if (IsContainerAt(i))
            ++count;
    return count;
}

TXmlNode* TxContainerNode::ContainerAt(int index) const
{
    for (int i = directNodeCount_; i < nodes_.Count() && index >= 0; ++i)
        if (IsContainerAt(i) && index-- == 0)
            return nodes_.ItemAt(i);
    return nullptr;
}

namespace {

bool IsElementSlot(const TXmlNode* node) { return !TxPackedNode::Is(node) && node->IsElement(); }

} // namespace

int TxContainerNode::ElementCount() const
{
    int count = 0;
    for (int i = directNodeCount_; i < nodes_.Count(); ++i)
        if (IsElementSlot(nodes_.ItemAt(i)))
            ++count;
    return count;
}

TXmlNode* TxContainerNode::ElementAt(int index) const
{
    for (int i = directNodeCount_; i < nodes_.Count() && index >= 0; ++i) {
        TXmlNode* node = nodes_.ItemAt(i);
        if (IsElementSlot(node) && index-- == 0)
            return node;
    }
    return nullptr;
}

bool TxContainerNode::Accepts(const TXmlNode* node)
{
    if (node == nullptr)
        return false;
    if (node->Document() != Document()) {
        // Its names are symbols of the other document's table.
        EmitDebug(this, dlFail, "XML owner is not assigned");
        return false;
    }
    return true;
}

int TxContainerNode::NodeAdd(TXmlNode* node)
{
    if (!Accepts(node))
        return -1;
    const int index = nodes_.Add(node);
    Adopt(node);
    return index;
}

void TxContainerNode::NodeInsert(int index, TXmlNode* node)
{
    if (!Accepts(node))
        return;
    nodes_.Insert(index, node);
    Adopt(node);
    if (index < directNodeCount_)
        ++directNodeCount_;
    if (valueIndex_ >= 0 && index <= valueIndex_)
        ++valueIndex_;
}

TXmlNode* TxContainerNode::Remove(int index, bool free)
{
    if (TxPackedNode::Is(nodes_.ItemAt(index)))
        Unpack(); // the node goes out as a node
    TXmlNode* node = nodes_.Items(index); // raises outside the list
    if (index < directNodeCount_)
        --directNodeCount_;
    if (index == valueIndex_)
        valueIndex_ = -1;
    else if (index < valueIndex_)
        --valueIndex_;
    if (free) {
        nodes_.Delete(index);
        return nullptr;
    }
    nodes_.ExtractAt(index);
    node->SetParent(nullptr);
    return node;
}

void TxContainerNode::NodeDelete(int index) { Remove(index, true); }

TXmlNode* TxContainerNode::NodeExtract(TXmlNode* node)
{
    const int index = nodes_.IndexOf(node);
    return index < 0 ? nullptr : Remove(index, false);
}

// Packed nodes may stand anywhere in the list: moving them needs no nodes.
void TxContainerNode::NodeExchange(int index1, int index2) { nodes_.Exchange(index1, index2); }

void TxContainerNode::NodesClear()
{
    for (int i = nodes_.Count() - 1; i >= 0; --i)
        NodeDelete(i);
    directNodeCount_ = 0;
    valueIndex_ = -1;
}

void TxContainerNode::Clear()
{
    nodes_.Clear(); // packed nodes go with the array
    family_ &= static_cast<std::uint8_t>(~kfPackedNodes);
    directNodeCount_ = 0;
    valueIndex_ = -1;
}

void TxContainerNode::AttributeAdd(TxAttribute* attribute)
{
    if (attribute == nullptr) {
        EmitDebug(this, dlFail, "XML owner is not assigned");
        return;
    }
    if (!Accepts(attribute))
        return;
    NodeInsert(directNodeCount_, attribute);
    ++directNodeCount_;
}

void TxContainerNode::ParseTextBetweenTags(TxXmlParser&) {}

void TxContainerNode::CopyNodes(const TXmlNode& source)
{
    struct Pair {
        TxContainerNode* target;
        const TXmlNode* source;
    };
    TXmlDocument* document = Document();
    std::vector<Pair> work{{this, &source}};
    while (!work.empty()) {
        const Pair pair = work.back();
        work.pop_back();
        const int count = pair.source->NodeCount();
        if (pair.target->nodes_.Count() + count > pair.target->nodes_.Capacity())
            pair.target->nodes_.SetCapacity(pair.target->nodes_.Count() + count);
        for (int i = 0; i < count; ++i) {
            const TXmlNode* original = pair.source->NodeAt(i);
            std::unique_ptr<TXmlNode> copy(original->NewInstance(document));
            copy->CopyOwn(*original);
            TXmlNode* node = copy.release();
            pair.target->NodeAdd(node);
            if (node->IsContainer() && original->NodeCount() > 0)
                work.push_back({static_cast<TxContainerNode*>(node), original});
        }
        pair.target->directNodeCount_ = std::clamp(pair.source->DirectNodeCount(), 0, count);
        const int valueIndex =
            pair.source->IsContainer() ? static_cast<const TxContainerNode*>(pair.source)->valueIndex_ : -1;
        pair.target->valueIndex_ = valueIndex < count ? valueIndex : -1;
    }
}

// --- element ------------------------------------------------------------------------

namespace {

bool IsTextPiece(TxNodeKind kind) { return kind == xeCharData || kind == xeCData; }

} // namespace

// The value is read where it stands: reading it makes no packed node.
int TxElement::ValueEnd() const
{
    const int first = ValueIndex();
    if (first < 0 || first >= NodeCount())
        return first;
    int end = first + 1;
    if (!IsTextPiece(NodeKindAt(first)))
        return end;
    for (int i = end; i < NodeCount(); ++i) {
        const TxNodeKind kind = NodeKindAt(i);
        if (IsTextPiece(kind))
            end = i + 1;
        else if (kind != xeWhiteSpace)
            break;
    }
    return end;
}

std::string TxElement::GetValue() const
{
    const int first = ValueIndex();
    if (first < 0 || first >= NodeCount())
        return {};
    std::string value = ValueAt(first);
    for (int i = first + 1, end = ValueEnd(); i < end; ++i)
        value += ValueAt(i);
    return value;
}

void TxElement::SetValue(const std::string& value)
{
    const int first = ValueIndex();
    TXmlNode* node = NodeAt(first);
    if (node != nullptr)
        for (int i = ValueEnd() - 1; i > first; --i)
            NodeDelete(i);
    if (value.empty()) {
        if (node != nullptr)
            NodeDelete(first);
        SetValueIndex(-1);
        return;
    }
    if (node != nullptr) {
        node->SetValue(value);
        return;
    }
    std::unique_ptr<TxCharData> text(new TxCharData(Document()));
    text->SetValue(value);
    const int index = DirectNodeCount();
    NodeInsert(index, text.get());
    text.release();
    SetValueIndex(index);
}


void TxElement::CopyOwn(const TXmlNode& source)
{
    SetName(source.GetName());
    if (source.IsContainer())
        SetNodeClosingStyle(static_cast<const TxContainerNode&>(source).NodeClosingStyle());
}

} // namespace xml
