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

bool TxContainerNode::HasContainerChildren() const
{
    for (int i = directNodeCount_; i < nodes_.Count(); ++i)
        if (nodes_.ItemAt(i)->IsContainer())
            return true;
    return false;
}

int TxContainerNode::ContainerCount() const
{
    int count = 0;
    for (int i = directNodeCount_; i < nodes_.Count(); ++i)
        if (nodes_.ItemAt(i)->IsContainer())
            ++count;
    return count;
}

TXmlNode* TxContainerNode::ContainerAt(int index) const
{
    for (int i = directNodeCount_; i < nodes_.Count() && index >= 0; ++i) {
        TXmlNode* node = nodes_.ItemAt(i);
        if (node->IsContainer() && index-- == 0)
            return node;
    }
    return nullptr;
}

int TxContainerNode::ElementCount() const
{
    int count = 0;
    for (int i = directNodeCount_; i < nodes_.Count(); ++i)
        if (nodes_.ItemAt(i)->IsElement())
            ++count;
    return count;
}

TXmlNode* TxContainerNode::ElementAt(int index) const
{
    for (int i = directNodeCount_; i < nodes_.Count() && index >= 0; ++i) {
        TXmlNode* node = nodes_.ItemAt(i);
        if (node->IsElement() && index-- == 0)
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
    if (index < directNodeCount_)
        Unpack(); // the attribute block moves
    nodes_.Insert(index, node);
    Adopt(node);
    if (index < directNodeCount_)
        ++directNodeCount_;
    if (valueIndex_ >= 0 && index <= valueIndex_)
        ++valueIndex_;
}

TXmlNode* TxContainerNode::Remove(int index, bool free)
{
    if (index < directNodeCount_)
        Unpack(); // the attribute block moves
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

void TxContainerNode::NodeExchange(int index1, int index2)
{
    if (index1 < directNodeCount_ || index2 < directNodeCount_)
        Unpack(); // an attribute may leave the block
    nodes_.Exchange(index1, index2);
}

void TxContainerNode::NodesClear()
{
    for (int i = nodes_.Count() - 1; i >= 0; --i)
        NodeDelete(i);
    directNodeCount_ = 0;
    valueIndex_ = -1;
}

void TxContainerNode::Clear()
{
    nodes_.Clear(); // packed attributes go with the array
    family_ &= static_cast<std::uint8_t>(~kfPackedAttributes);
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

bool IsTextPiece(const TXmlNode* node)
{
    return node->NodeKind() == xeCharData || node->NodeKind() == xeCData;
}

} // namespace

int TxElement::ValueEnd() const
{
    const int first = ValueIndex();
    const TXmlNode* node = NodeAt(first);
    if (node == nullptr)
        return first;
    int end = first + 1;
    if (!IsTextPiece(node))
        return end;
    for (int i = end; i < NodeCount(); ++i) {
        const TXmlNode* next = NodeAt(i);
        if (IsTextPiece(next))
            end = i + 1;
        else if (next->NodeKind() != xeWhiteSpace)
            break;
    }
    return end;
}

std::string TxElement::GetValue() const
{
    const int first = ValueIndex();
    const TXmlNode* node = NodeAt(first);
    if (node == nullptr)
        return {};
    std::string value = node->GetValue();
    for (int i = first + 1, end = ValueEnd(); i < end; ++i)
        value += NodeAt(i)->GetValue();
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
