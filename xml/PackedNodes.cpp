// A container's packed leaves (PackedNode.h): taking them from the parser,
// reading them where they stand, and making their nodes when asked for.

#include "xml/CharData.h"
#include "xml/Elements.h"
#include "xml/NodeClasses.h"
#include "xml/PackedNode.h"
#include "xml/TextRoutines.h"
#include "xml/XmlDocument.h"

namespace xml {

void TxContainerNode::TakeParsedNodes(TXmlNode* const* nodes, std::size_t count)
{
    nodes_.AssignNodes(nodes, count, this);
    for (std::size_t i = 0; i < count; ++i) {
        if (TxPackedNode::Is(nodes[i])) {
            family_ |= kfPackedNodes;
            return;
        }
    }
}

void TxContainerNode::UnpackNodes() const
{
    // Made once, on demand; the nodes hold what the packed words held.
    auto* self = const_cast<TxContainerNode*>(this);
    TXmlDocument* document = Document();
    // The arena the container was read into (a node taken out of its
    // document keeps its own); the document's otherwise.
    TxNodeArena& arena = InArena() ? *TxNodeArena::Of(this) : ArenaOf(document);
    for (int i = 0; i < nodes_.Count(); ++i) {
        const TXmlNode* slot = nodes_.ItemAt(i);
        if (!TxPackedNode::Is(slot))
            continue;
        TXmlNode* node;
        switch (TxPackedNode::Kind(slot)) {
        case xeAttribute: {
            auto* attribute = NewInArena<TxAttribute>(arena, document);
            attribute->SetNameId(TxPackedNode::NameId(slot));
            attribute->SetValueId(TxPackedNode::ValueId(slot));
            attribute->SetQuoteStyle(TxPackedNode::QuoteStyle(slot));
            node = attribute;
            break;
        }
        case xeWhiteSpace: {
            auto* space = NewInArena<TxWhiteSpace>(arena, document);
            space->SetValueId(TxPackedNode::ValueId(slot));
            node = space;
            break;
        }
        default: {
            auto* text = NewInArena<TxCharData>(arena, document);
            text->SetValueId(TxPackedNode::ValueId(slot));
            node = text;
            break;
        }
        }
        self->Adopt(node);
        self->nodes_.Replace(i, node);
    }
    self->family_ &= static_cast<std::uint8_t>(~kfPackedNodes);
}

TxNodeKind TxContainerNode::NodeKindAt(int index) const
{
    const TXmlNode* slot = nodes_.ItemAt(index);
    return TxPackedNode::Is(slot) ? TxPackedNode::Kind(slot) : slot->NodeKind();
}

std::string_view TxContainerNode::NodeNameAt(int index) const
{
    const TXmlNode* slot = nodes_.ItemAt(index);
    if (!TxPackedNode::Is(slot))
        return slot->NameView();
    const TxNodeKind kind = TxPackedNode::Kind(slot);
    // Character data and whitespace answer their kind's name, as their nodes do.
    return kind == xeAttribute ? SymbolView(TxPackedNode::NameId(slot)) : std::string_view(NodeKindNames[kind]);
}

std::string_view TxContainerNode::RawValueAt(int index) const
{
    const TXmlNode* slot = nodes_.ItemAt(index);
    if (TxPackedNode::Is(slot))
        return SymbolView(TxPackedNode::ValueId(slot));
    if (slot->NodeKind() == xeAttribute)
        return static_cast<const TxAttribute*>(slot)->RawValueView();
    return slot->IsCharData() ? static_cast<const TxCharData*>(slot)->RawView() : std::string_view();
}

std::string TxContainerNode::ValueAt(int index) const
{
    const TXmlNode* slot = nodes_.ItemAt(index);
    if (!TxPackedNode::Is(slot))
        return slot->GetValue();
    const std::string_view raw = SymbolView(TxPackedNode::ValueId(slot));
    // An attribute's value keeps its line breaks as stored; text takes the document's.
    if (TxPackedNode::Kind(slot) == xeAttribute)
        return UnescapeText(raw);
    return UnescapeText(ApplyLineBreakStyle(raw, LineBreakStyle()));
}

} // namespace xml
