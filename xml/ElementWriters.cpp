// Writing elements and their attributes as text: a whole subtree in one
// loop over a stack of our own, its pieces collected in a piece buffer.

#include "xml/CharData.h"
#include "xml/Elements.h"
#include "xml/PieceBuffer.h"
#include "xml/VarInt.h"
#include "xml/WriteStyle.h"
#include "xml/XmlDocument.h"

#include <algorithm>
#include <vector>

namespace xml {

// --- attributes and text ----------------------------------------------------------

namespace {

// Packed nodes (PackedNode.h) are written where they stand, as their nodes
// would write themselves.
TxNodeKind SlotKind(const TXmlNode* slot)
{
    return TxPackedNode::Is(slot) ? TxPackedNode::Kind(slot) : slot->NodeKind();
}

bool IsTextSlot(const TXmlNode* slot)
{
    return TxPackedNode::Is(slot) ? TxPackedNode::Kind(slot) != xeAttribute : slot->IsCharData();
}

} // namespace

void TxAttribute::WriteTo(TxPieceBuffer& out, const TxWriteStyle& style, int depth)
{
    if (ValueNodeMade()) {
        out.Flush();
        DoWrite(out.Stream(), depth);
        return;
    }
    // Until the value node is made, the attribute keeps the quote style itself.
    WritePlain(out, style, nameId_, value_.id, static_cast<TxQuoteStyle>(style_));
    if (style.ReportsProgress())
        ReportProgress(out);
}

void TxAttribute::WritePlain(TxPieceBuffer& out, const TxWriteStyle& style, std::int32_t nameId,
                             std::int32_t valueId, TxQuoteStyle quote)
{
    const bool single = quote == qsSingle;
    out.Put(style.Symbol(nameId));
    out.Put(single ? std::string_view("='", 2) : std::string_view("=\"", 2));
    out.PutWithLineBreaks(style.Symbol(valueId), style.LineBreaks());
    out.Put(single ? '\'' : '"');
}

void TxContainerNode::WriteAttributeBlock(core::TStream& stream, int count, int depth)
{
    Unpack();
    count = std::min(count, nodes_.Count());
    for (int i = 0; i < count; ++i) {
        TXmlNode* node = nodes_.ItemAt(i);
        if (node->NodeKind() == xeAttribute) {
            if (i == 0 || !nodes_.ItemAt(i - 1)->IsCharData())
                WriteStringBytes(stream, " ");
            node->WriteAt(stream, depth + 1);
        } else if (node->IsCharData()) {
            node->WriteAt(stream, depth + 1);
        }
    }
}

void TxContainerNode::WriteTextNode(TxPieceBuffer& out, const TxWriteStyle& style, TXmlNode* node, int depth)
{
    // Text and whitespace are written as stored, with the line breaks; the
    // other kinds (comments, sections, instructions) write themselves.
    if (TxPackedNode::Is(node)) {
        out.PutWithLineBreaks(style.Symbol(TxPackedNode::ValueId(node)), style.LineBreaks());
        return;
    }
    if (node->NodeKind() == xeCharData || node->NodeKind() == xeWhiteSpace) {
        out.PutWithLineBreaks(style.Symbol(static_cast<TxCharData*>(node)->ValueId()), style.LineBreaks());
        return;
    }
    out.Flush();
    node->WriteAt(out.Stream(), depth);
}

void TxContainerNode::WriteAttributeBlock(TxPieceBuffer& out, const TxWriteStyle& style, int count, int depth)
{
    count = std::min(count, nodes_.Count());
    const auto afterText = [this](int i) { return i > 0 && IsTextSlot(nodes_.ItemAt(i - 1)); };
    for (int i = 0; i < count; ++i) {
        TXmlNode* node = nodes_.ItemAt(i);
        if (SlotKind(node) == xeAttribute) {
            if (!afterText(i))
                out.Put(' ');
            if (!TxPackedNode::Is(node)) {
                static_cast<TxAttribute*>(node)->WriteTo(out, style, depth + 1);
                continue;
            }
            TxAttribute::WritePlain(out, style, TxPackedNode::NameId(node), TxPackedNode::ValueId(node),
                                    TxPackedNode::QuoteStyle(node));
            if (style.ReportsProgress())
                ReportProgress(out);
        } else if (IsTextSlot(node)) {
            WriteTextNode(out, style, node, depth + 1);
        }
    }
}

// --- element ------------------------------------------------------------------------

bool TxElement::WriteStartTag(TxPieceBuffer& out, const TxWriteStyle& style, int depth)
{
    out.Put(style.Indent(depth));
    out.Put('<');
    out.Put(style.Symbol(nameId_));
    WriteAttributeBlock(out, style, DirectNodeCount(), depth);
    if (NodeCount() == DirectNodeCount() && style.Closing(NodeClosingStyle()) == csSelfClosing) {
        out.Put(style.SelfClose());
        out.Put(style.LineFeed());
        if (style.ReportsProgress())
            ReportProgress(out);
        return false;
    }
    out.Put('>');
    return true;
}

void TxElement::WriteEndTag(TxPieceBuffer& out, const TxWriteStyle& style, int depth, bool childrenOnLines)
{
    if (childrenOnLines)
        out.Put(style.Indent(depth));
    out.Put(std::string_view("</", 2));
    out.Put(style.Symbol(nameId_));
    out.Put('>');
    out.Put(style.LineFeed());
    if (style.ReportsProgress())
        ReportProgress(out);
}

void TxElement::DoWrite(core::TStream& stream, int depth)
{
    // Child elements are opened on a stack of our own, so that nesting of any
    // depth is written without recursion.
    struct Frame {
        TxElement* element;
        int depth;
        int next;
        bool childrenOnLines; // content with containers: text and tags on lines of their own
    };
    std::vector<Frame> stack;
    // The pieces go to the stream in large writes; what every node asks of
    // the document is looked up once.
    TxPieceBuffer out(stream);
    const TxWriteStyle style(*Document());
    const auto open = [&stack, &out, &style](TxElement* element, int at) {
        if (element->WriteStartTag(out, style, at))
            stack.push_back({element, at, element->DirectNodeCount(), element->HasContainerChildren()});
    };
    const std::string_view lineFeed = style.LineFeed();
    open(this, depth);
    while (!stack.empty()) {
        Frame& top = stack.back();
        TxElement* element = top.element;
        if (top.next >= element->NodeCount()) {
            element->WriteEndTag(out, style, top.depth, top.childrenOnLines);
            stack.pop_back();
            continue;
        }
        const int index = top.next++;
        const int childDepth = top.depth + 1;
        const bool onLines = top.childrenOnLines;
        TXmlNode* child = element->SlotAt(index);
        const bool text = IsTextSlot(child);
        if (index == element->DirectNodeCount()) {
            if (!text)
                out.Put(lineFeed);
        } else if (text && onLines) {
            out.Put(style.Indent(childDepth));
        }
        if (SlotKind(child) == xeElement) {
            open(static_cast<TxElement*>(child), childDepth); // may grow the stack: top is not used after this
        } else if (text) {
            WriteTextNode(out, style, child, childDepth);
        } else if (!TxPackedNode::Is(child) && child->IsElement()) {
            out.Flush();
            child->WriteAt(stream, childDepth);
        }
        if (text && onLines)
            out.Put(lineFeed);
    }
    out.Flush();
}

} // namespace xml
