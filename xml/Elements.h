#pragma once
// Nodes that hold nodes. A container keeps one ordered node list: the
// attributes first, as a leading block (with any whitespace between them),
// then the content. It knows which text node is its value and how it was
// closed. TxElement is the XML element: a container with a name.

#include "xml/NodeList.h"
#include "xml/PackedNode.h"
#include "xml/XmlNode.h"

namespace xml {

class TxCharData;
class TxPieceBuffer;
class TxWriteStyle;

class TxContainerNode : public TXmlNode {
public:
    explicit TxContainerNode(TXmlDocument* document) : TxContainerNode(document, xeError, 0) {}
    ~TxContainerNode() override;
    std::string ClassName() const override { return "TxContainerNode"; }
    TXmlNode* NewInstance(TXmlDocument* document) const override { return new TxContainerNode(document); }

    // The list with every node made (packed ones are made first).
    const TxNodeList& Nodes() const
    {
        Unpack();
        return nodes_;
    }
    int DirectNodeCount() const final { return directNodeCount_; }
    void SetDirectNodeCount(int count) noexcept { directNodeCount_ = count; }
    // Index of the character-data or CDATA node that is the value, or -1.
    int ValueIndex() const noexcept { return valueIndex_; }
    void SetValueIndex(int index) noexcept { valueIndex_ = index; }
    TxClosingStyle NodeClosingStyle() const noexcept { return static_cast<TxClosingStyle>(style_); }
    void SetNodeClosingStyle(TxClosingStyle style) noexcept { style_ = style; }
    // The document's EmptyElementStyle when it is set, else the node's own.
    TxClosingStyle ClosingStyle() const;
    // Whether any content node (after the attribute block) holds nodes itself.
    bool HasContainerChildren() const;

    // A node that is asked for and is packed is made first, with the other
    // packed nodes of the list.
    int NodeCount() const final { return nodes_.Count(); }
    TXmlNode* NodeAt(int index) const final
    {
        TXmlNode* node = nodes_.ItemAt(index);
        if (!TxPackedNode::Is(node))
            return node;
        Unpack();
        return nodes_.ItemAt(index);
    }
    // A packed node is no node that anyone could ask for.
    int NodeIndexOf(const TXmlNode* node) const override { return nodes_.IndexOf(node); }
    int ContainerCount() const override;
    TXmlNode* ContainerAt(int index) const override;
    int ElementCount() const override;
    TXmlNode* ElementAt(int index) const override;
    TXmlNode* FirstNodeOfKind(TxNodeKind kind) const override
    {
        Unpack();
        return nodes_.FindFirstOfKind(kind);
    }
    TXmlNode* NextSiblingOf(const TXmlNode* child) const override
    {
        // A child with a parent is found through it; the list is read directly only for one without.
        if (child != nullptr && child->Parent() == nullptr)
            Unpack();
        return nodes_.NextSibling(child);
    }

    // Makes the nodes of the packed leaves (PackedNode.h), in place, as the
    // parser makes them; nothing when there are none. Every way to the list
    // as nodes goes through here.
    void Unpack() const
    {
        if (HasPackedNodes())
            UnpackNodes();
    }
    // What the read-only lookups ask of the node at index (within the list),
    // without making a packed node: its kind, its name, the stored (escaped)
    // value of an attribute or of character data (empty for other kinds),
    // and whether it holds nodes.
    TxNodeKind NodeKindAt(int index) const;
    std::string_view NodeNameAt(int index) const;
    std::string_view RawValueAt(int index) const;
    // The value that the node at index gives with GetValue.
    std::string ValueAt(int index) const;
    bool IsContainerAt(int index) const
    {
        const TXmlNode* node = nodes_.ItemAt(index);
        return !TxPackedNode::Is(node) && node->IsContainer();
    }

    // Appends and adopts the node; -1 for nullptr. A node of another document
    // is refused with the fail message "XML owner is not assigned" (-1) and
    // stays the caller's; so in NodeInsert.
    int NodeAdd(TXmlNode* node) override;
    // Keeps the attribute block and the value index pointing at the same nodes.
    void NodeInsert(int index, TXmlNode* node) override;
    void NodeDelete(int index) override;
    TXmlNode* NodeExtract(TXmlNode* node) override;
    void NodeExchange(int index1, int index2) override;
    void NodesClear() override;
    void Clear() override;
    // Inserts at the end of the attribute block; an attribute of another
    // document (or none) is refused with a fail message and stays the caller's.
    void AttributeAdd(TxAttribute* attribute) override;

    // Readers of markup (ElementReaders.cpp). ParseAttributeList returns the
    // byte that ended the list; ParseElementList the node at which the content
    // ended: this node at its end tag, another after a repair, nullptr after an error.
    virtual char ParseAttributeList(TxXmlParser& parser);
    virtual TXmlNode* ParseElementList(TxXmlParser& parser, TxNodeKinds allowed);
    virtual void ParseTextBetweenTags(TxXmlParser& parser);
    virtual char ParseQuotedTextList(TxXmlParser& parser);
    // Appends a node read by the parser: to the nodes that the parser
    // collects for this container, or else with NodeAdd. Its index.
    int AddParsed(TXmlNode* node, TxXmlParser& parser);
    // The same for an attribute read in the start tag.
    void AddParsedAttribute(TxAttribute* attribute, TxXmlParser& parser);
    // The nodes the parser collected for this container, whose list is
    // empty; leaves among them may be packed.
    void TakeParsedNodes(TXmlNode* const* nodes, std::size_t count);
    // Lets the node list's capacity go down to its count.
    void TrimCapacity() { nodes_.SetCapacity(nodes_.Count()); }

    // Writes the first count nodes: an attribute after one space (unless the
    // node before it is character data, such as kept whitespace), character
    // data as it is, anything else not at all. The piece-buffer form writes
    // packed nodes without making them.
    void WriteAttributeBlock(core::TStream& stream, int count, int depth);
    void WriteAttributeBlock(core::TStream& stream, int count) { WriteAttributeBlock(stream, count, TreeDepth()); }
    void WriteAttributeBlock(TxPieceBuffer& out, const TxWriteStyle& style, int count, int depth);
    // Writes a character-data node (text, whitespace, comment, ...) standing
    // at depth, packed or not.
    static void WriteTextNode(TxPieceBuffer& out, const TxWriteStyle& style, TXmlNode* node, int depth);

protected:
    // Appends a whitespace node holding blanks as they were read.
    void AppendWhiteSpace(TxXmlParser& parser, std::string_view blanks);
    // Appends character data or whitespace holding the symbol valueId: packed
    // while the parser collects this container's nodes. Its index.
    int AddParsedText(TxXmlParser& parser, TxNodeKind kind, std::int32_t valueId);
    // The slot at index as it stands, which may be a packed node (PackedNode.h):
    // for the writer, which reads packed nodes where they stand.
    TXmlNode* SlotAt(int index) const noexcept { return nodes_.ItemAt(index); }
    TxContainerNode(TXmlDocument* document, TxNodeKind kind, std::uint8_t family)
        : TXmlNode(document, kind, static_cast<std::uint8_t>(family | kfContainer))
    {
    }

private:
    friend class TXmlNode;
    friend void FreeNodeTree(std::vector<TXmlNode*>& nodes);
    // Copies the nodes of source below this node, without recursion.
    void CopyNodes(const TXmlNode& source);
    // A node of this document; reports one of another.
    bool Accepts(const TXmlNode* node);
    void Adopt(TXmlNode* node) { node->SetParent(this); }
    TXmlNode* Remove(int index, bool free);
    // An attribute read in a start tag whose nodes the parser collects:
    // packed when plainly written, else a node.
    void ReadCollectedAttribute(TxXmlParser& parser, TXmlDocument* document);
    void UnpackNodes() const;

    int directNodeCount_ = 0; // first, in the room the base leaves after its last byte
    TxNodeList nodes_;
    int valueIndex_ = -1;
};

class TxElement : public TxContainerNode {
public:
    explicit TxElement(TXmlDocument* document) : TxElement(document, xeElement) {}
    std::string ClassName() const override { return "TxElement"; }
    TXmlNode* NewInstance(TXmlDocument* document) const override { return new TxElement(document); }

    std::string_view NameView() const override { return SymbolView(nameId_); }
    void SetName(const std::string& name) override { nameId_ = SymbolId(name); }
    std::int32_t NameId() const noexcept { return nameId_; }
    void SetNameId(std::int32_t id) noexcept { nameId_ = id; }
    // The value: the value node's text, and when it is character data or a
    // CDATA section, the texts of the character data and CDATA sections that
    // follow it (with the whitespace between them), as text read back in
    // pieces stands: a CDATA section cannot hold "]]>", so a value holding it
    // is written as two sections. Empty without a value node.
    std::string GetValue() const override;
    // An empty text removes the value node and the pieces that follow it;
    // another goes to the value node, which is made right after the attributes
    // when there is none, and the pieces that followed it go.
    void SetValue(const std::string& value) override;

    TXmlNode* ReadFromParser(TxXmlParser& parser) override;
    void ParseTextBetweenTags(TxXmlParser& parser) override;
    // Moves this node up towards the ancestor that the stray end tag names.
    TXmlNode* RepairEndTag(const std::string& endTagName);

protected:
    TxElement(TXmlDocument* document, TxNodeKind kind) : TxContainerNode(document, kind, kfElement) {}
    void DoWrite(core::TStream& stream, int depth) override;
    void CopyOwn(const TXmlNode& source) override;

private:
    // One past the last node of the value that begins at ValueIndex.
    int ValueEnd() const;
    // The start tag; false when the element closed itself there.
    bool WriteStartTag(TxPieceBuffer& out, const TxWriteStyle& style, int depth);
    void WriteEndTag(TxPieceBuffer& out, const TxWriteStyle& style, int depth, bool childrenOnLines);

    std::int32_t nameId_ = 0;
};

} // namespace xml
