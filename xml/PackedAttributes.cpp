// A container's packed attributes (PackedAttribute.h): taking them from the
// parser, reading them in place, and making their nodes when asked for.

#include "xml/CharData.h"
#include "xml/Elements.h"
#include "xml/NodeClasses.h"
#include "xml/PackedAttribute.h"
#include "xml/XmlDocument.h"

namespace xml {

void TxContainerNode::TakeParsedNodes(TXmlNode* const* nodes, std::size_t count)
{
    const bool fresh = nodes_.Count() == 0;
    nodes_.AssignNodes(nodes, count, this);
    for (std::size_t i = 0; i < count; ++i) {
        if (TxPackedAttribute::Is(nodes[i])) {
            family_ |= kfPackedAttributes;
            // Packed attributes stay only where they are the attribute block.
            if (!fresh)
                UnpackAttributes();
            return;
        }
    }
}

void TxContainerNode::UnpackAttributes() const
{
    // Made once, on demand; the attributes stay what they were.
    auto* self = const_cast<TxContainerNode*>(this);
    TXmlDocument* document = Document();
    // The arena the element was read into (a node taken out of its document
    // keeps its own); the document's otherwise.
    TxNodeArena& arena = InArena() ? *TxNodeArena::Of(this) : ArenaOf(document);
    for (int i = 0; i < nodes_.Count(); ++i) {
        const TXmlNode* slot = nodes_.ItemAt(i);
        if (!TxPackedAttribute::Is(slot))
            continue;
        auto* attribute = NewInArena<TxAttribute>(arena, document);
        attribute->SetNameId(TxPackedAttribute::NameId(slot));
        attribute->SetValueId(TxPackedAttribute::ValueId(slot));
        attribute->SetQuoteStyle(TxPackedAttribute::QuoteStyle(slot));
        self->Adopt(attribute);
        self->nodes_.Replace(i, attribute);
    }
    self->family_ &= static_cast<std::uint8_t>(~kfPackedAttributes);
}

TxNodeKind TxContainerNode::NodeKindAt(int index) const
{
    const TXmlNode* slot = nodes_.ItemAt(index);
    return TxPackedAttribute::Is(slot) ? xeAttribute : slot->NodeKind();
}

std::string_view TxContainerNode::NodeNameAt(int index) const
{
    const TXmlNode* slot = nodes_.ItemAt(index);
    return TxPackedAttribute::Is(slot) ? SymbolView(TxPackedAttribute::NameId(slot)) : slot->NameView();
}

std::string_view TxContainerNode::RawAttributeValueAt(int index) const
{
    const TXmlNode* slot = nodes_.ItemAt(index);
    return TxPackedAttribute::Is(slot) ? SymbolView(TxPackedAttribute::ValueId(slot))
                                       : static_cast<const TxAttribute*>(slot)->RawValueView();
}

} // namespace xml
