#pragma once
// The node of the in-memory XML document: the base of elements, attributes,
// character data, comments, declarations and the rest. It carries the whole
// node interface; the base answers with nothing (0, an empty text, no node) or
// raises an Exception naming the misuse, and each kind overrides what applies
// to it. Names and texts live in the document's symbol table; a node holds IDs.
//
// Nodes belong to their parent's node list, which owns them. Every walk over a
// tree (freeing, searching, copying, writing) keeps its own stack, so trees of
// any depth are safe.

#include "xml/Debug.h"
#include "xml/Layout.h"
#include "xml/NodeArena.h"

#include "platform/core/DateTime.h"
#include "platform/core/Streams.h"

#include <cstdint>
#include <memory>
#include <new>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace xml {

class TXmlDocument;
class TXmlNode;
class TxAttribute;
class TxNodeList;
class TxPieceBuffer;
class TxXmlParser;

enum TxNodeKind : std::uint8_t {
    xeElement = 0,
    xeAttribute = 1,
    xeCharData = 2,
    xeComment = 3,
    xeCData = 4,
    xeConditionalSection = 5,
    xeDeclaration = 6,
    xeStylesheet = 7,
    xeDocType = 8,
    xeDtdElement = 9,
    xeDtdAttList = 10,
    xeDtdEntity = 11,
    xeDtdNotation = 12,
    xeInstruction = 13,
    xeWhiteSpace = 14,
    xeQuotedText = 15,
    xeEndTag = 16,
    xeError = 17,
};

inline constexpr int kNodeKindCount = 18;

// "Element", "Attribute", "CharData", ... "EndTag", "Error": the names nameless nodes answer.
extern const char* const NodeKindNames[kNodeKindCount];

// A set of kinds, bit k standing for kind k.
using TxNodeKinds = std::uint32_t;
constexpr TxNodeKinds KindBit(TxNodeKind kind) { return TxNodeKinds(1) << kind; }

// How ReadBuffer reads binary data from a value.
enum TxBinaryFormat : std::uint8_t { bfBase64 = 0, bfHex = 1 };

class TXmlNode : public TDebugPersistent {
public:
    // Raises "XML owner is not assigned" without a document.
    explicit TXmlNode(TXmlDocument* document);
    ~TXmlNode() override;
    std::string ClassName() const override { return "TXmlNode"; }

    // Nodes made with new live on the heap, their document kept just before
    // them; the nodes that the parser reads live in their document's arena
    // (NewInArena), whose blocks name the document. delete frees either kind.
    // A node made in any other place (on the stack) has its document noted
    // in a table of its own, which is slower but rare.
    static void* operator new(std::size_t size);
    static void operator delete(void* memory) noexcept;
    static void operator delete(TXmlNode* node, std::destroying_delete_t) noexcept;
    // A new node of class T in the arena.
    template <class T>
    static T* NewInArena(TxNodeArena& arena, TXmlDocument* document);
    bool InArena() const noexcept { return (family_ & kfInArena) != 0; }

    // A new, empty node of this node's own class in document; the kind-to-class
    // table (NodeClasses) creates nodes by kind.
    virtual TXmlNode* NewInstance(TXmlDocument* document) const;
    // A node of class T made with a name, or a name and a value; or made and
    // placed with the parent's NodeAdd ("XML parent is not assigned" without a
    // parent). The node is freed again when a later step raises.
    template <class T>
    static T* CreateNamed(TXmlDocument* document, const std::string& name)
    {
        std::unique_ptr<T> node(new T(document));
        node->SetName(name);
        return node.release();
    }
    template <class T>
    static T* CreateNamedValue(TXmlDocument* document, const std::string& name, const std::string& value)
    {
        std::unique_ptr<T> node(new T(document));
        node->SetName(name);
        node->SetValue(value);
        return node.release();
    }
    template <class T>
    static T* CreateInParent(TXmlDocument* document, TXmlNode* parent)
    {
        std::unique_ptr<T> node(new T(document));
        if (parent == nullptr)
            NoParent();
        parent->NodeAdd(node.get());
        return node.release();
    }

    // --- identity and place -------------------------------------------------
    TxNodeKind NodeKind() const noexcept { return kind_; }
    std::string KindName() const;
    TXmlDocument* Document() const noexcept
    {
        if (family_ & kfInArena)
            return TxNodeArena::Of(this)->Owner();
        if (family_ & kfOnHeap)
            return reinterpret_cast<TXmlDocument* const*>(this)[-1];
        return DocumentNotedApart();
    }
    // The document, the owner of the node's messages.
    TDebugComponent* DebugOwner() const noexcept override;
    // The node keeps its parent where its base keeps a link.
    TXmlNode* Parent() const noexcept { return static_cast<TXmlNode*>(link_); }
    bool IsContainer() const noexcept { return (family_ & kfContainer) != 0; }
    bool IsCharData() const noexcept { return (family_ & kfCharData) != 0; }
    // Elements and the DTD declarations, which are elements too.
    bool IsElement() const noexcept { return (family_ & kfElement) != 0; }
    // Whether the node's list still holds attributes that the parser packed
    // instead of making their nodes (PackedNode.h).
    bool HasPackedNodes() const noexcept { return (family_ & kfPackedNodes) != 0; }
    // Ancestors: 0 for a node without parent.
    int TreeDepth() const;
    // "/" and the name, after the parent's full path: "/a/b/c".
    std::string FullPath() const;
    // A name beginning with "/" is compared with FullPath, any other with the
    // name; both ignoring letter case.
    bool NameMatches(std::string_view name) const;
    // Nodes do not remember where they were read: always 0.
    std::int64_t SourcePosition() const { return 0; }

    // --- name and value -----------------------------------------------------
    // The name; nameless kinds answer their kind name.
    std::string GetName() const { return std::string(NameView()); }
    virtual std::string_view NameView() const;
    virtual std::string GetValue() const;
    // Raise "cannot set name/value on this type of element" in the base.
    virtual void SetName(const std::string& name);
    virtual void SetValue(const std::string& value);
    // What WriteContent writes, as a string.
    std::string ContentAsString() const;

    // --- nodes ---------------------------------------------------------------
    // Length of the leading block of attributes (and whitespace between them).
    virtual int DirectNodeCount() const;
    virtual int NodeCount() const;
    // Nothing (nullptr) outside 0..NodeCount-1.
    virtual TXmlNode* NodeAt(int index) const;
    virtual int NodeIndexOf(const TXmlNode* node) const;
    virtual int ContainerCount() const;
    virtual TXmlNode* ContainerAt(int index) const;
    virtual int ElementCount() const;
    virtual TXmlNode* ElementAt(int index) const;
    virtual TXmlNode* FirstNodeOfKind(TxNodeKind kind) const;
    virtual TXmlNode* NextSiblingOf(const TXmlNode* child) const;
    // First node whose name matches without regard to letter case, or -1.
    int NodeIndexNamed(std::string_view name) const;

    // Raise "cannot add node to this type of element" / "cannot manipulate nodes
    // in this type of element" in the base. NodeAdd returns the new index.
    virtual int NodeAdd(TXmlNode* node);
    virtual void NodeInsert(int index, TXmlNode* node);
    virtual void NodeDelete(int index);
    // Takes the node out without freeing it; it is the caller's then.
    virtual TXmlNode* NodeExtract(TXmlNode* node);
    virtual void NodeExchange(int index1, int index2);
    virtual void NodesClear();
    // Removes the content that a reset of this node clears.
    virtual void Clear();
    void NodeRemove(TXmlNode* node);
    // Deletes node and the whitespace nodes right before it.
    void NodeRemoveWithSpace(TXmlNode* node);
    // The parent's NodeRemove: frees this node. Nothing without a parent.
    void DeleteSelf();
    // Deletes, deepest first, every node without nodes whose value is empty.
    void DeleteEmptyNodes();

    TXmlNode* ChildByName(std::string_view name) const;
    TXmlNode* ChildFindOrAdd(const std::string& name);
    // A new node of this node's own class, named, added (or inserted at index).
    TXmlNode* ChildAdd(const std::string& name);
    TXmlNode* ChildInsert(int index, const std::string& name);
    void PutChildValue(const std::string& name, const std::string& value);
    void ElementDelete(int index);
    void ElementsClear();
    void NodesAddAll(std::span<TXmlNode* const> nodes);

    // Depth first, parents before children, this node itself not included:
    // the first descendant whose name matches (see NameMatches), or nullptr.
    TXmlNode* SearchNode(std::string_view name) const;
    // Every matching descendant, in the order SearchNode meets them; the list is
    // cleared first and does not own what it gets.
    void SearchAll(std::string_view name, TxNodeList& list) const;

    // --- attributes ------------------------------------------------------------
    // Raises "cannot add attribute" in the base.
    virtual void AttributeAdd(TxAttribute* attribute);
    int AttributeCount() const;
    // The index-th attribute among all nodes, or nullptr.
    TxAttribute* AttributeAt(int index) const;
    std::string AttributeNameAt(int index) const;
    TxAttribute* AttributeNamed(std::string_view name) const;
    std::string AttributeValueNamed(std::string_view name) const;
    int AttributeIndexNamed(std::string_view name) const;
    // Exact, letter case included.
    bool HasAttribute(std::string_view name) const;
    void AttributeAddNamed(const std::string& name, const std::string& value);
    // The attribute of that name (any letter case) gets the value; a missing
    // one is added at the end of the attribute block.
    void SetAttributeValue(const std::string& name, const std::string& value);
    void AttributeDelete(int index);
    void AttributesClear();
    void AttributesAddAll(std::span<TxAttribute* const> attributes);

    // --- typed values -------------------------------------------------------------
    // Readers with a default give it when the text does not convert; readers
    // without one raise EConvertError. Writers with a default write nothing when
    // the document does not store defaults and the value equals the default.
    bool ValueAsBoolOr(bool fallback) const;
    double ValueAsFloatOr(double fallback) const; // "," read as "."
    core::TDateTime ValueAsDateTimeOr(core::TDateTime fallback) const;
    int ValueAsIntOr(int fallback) const;
    std::int64_t ValueAsInt64Or(std::int64_t fallback) const;
    bool ValueAsBool() const;
    double ValueAsFloat() const;
    core::TDateTime ValueAsDateTime() const;
    int ValueAsInt() const;
    std::int64_t ValueAsInt64() const;

    void SetValueBool(bool value);
    void SetValueFloat(double value);
    void SetValueDate(core::TDateTime value);
    void SetValueTime(core::TDateTime value);
    void SetValueDateTime(core::TDateTime value);
    void SetValueInt(int value);
    void SetValueInt64(std::int64_t value);

    bool AttrBoolOr(std::string_view name, bool fallback = false) const;
    int AttrIntOr(std::string_view name, int fallback = 0) const;
    std::int64_t AttrInt64Or(std::string_view name, std::int64_t fallback = 0) const;
    double AttrFloatOr(std::string_view name, double fallback = 0) const;
    std::string AttrStringOr(std::string_view name, const std::string& fallback = "") const;
    std::u16string AttrWideStringOr(std::string_view name, const std::u16string& fallback = u"") const;
    // ANSI texts are Windows-1250 bytes.
    std::string AttrAnsiStringOr(std::string_view name, const std::string& fallback = "") const;
    core::TDateTime AttrDateTimeOr(std::string_view name, core::TDateTime fallback = 0) const;

    bool ChildBoolOr(std::string_view name, bool fallback = false) const;
    core::TDateTime ChildDateTimeOr(std::string_view name, core::TDateTime fallback = 0) const;
    double ChildFloatOr(std::string_view name, double fallback = 0) const;
    int ChildIntOr(std::string_view name, int fallback = 0) const;
    std::int64_t ChildInt64Or(std::string_view name, std::int64_t fallback = 0) const;
    std::string ChildStringOr(std::string_view name, const std::string& fallback = "") const;
    std::u16string ChildWideStringOr(std::string_view name, const std::u16string& fallback = u"") const;
    std::string ChildAnsiStringOr(std::string_view name, const std::string& fallback = "") const;

    void PutAttrInt(const std::string& name, int value, int fallback = 0);
    void PutAttrInt64(const std::string& name, std::int64_t value, std::int64_t fallback = 0);
    void PutAttrFloat(const std::string& name, double value, double fallback = 0);
    void PutAttrString(const std::string& name, const std::string& value, const std::string& fallback = "");
    void PutAttrWideString(const std::string& name, const std::u16string& value, const std::u16string& fallback = u"");
    void PutAttrAnsiString(const std::string& name, const std::string& value, const std::string& fallback = "");
    void PutAttrDateTime(const std::string& name, core::TDateTime value, core::TDateTime fallback = 0);
    void PutAttrBool(const std::string& name, bool value, bool fallback = false);

    void PutChildBool(const std::string& name, bool value, bool fallback = false);
    void PutChildDateTime(const std::string& name, core::TDateTime value, core::TDateTime fallback = 0);
    void PutChildFloat(const std::string& name, double value, double fallback = 0);
    // "$" and the value in upper-case hexadecimal, at least digits digits.
    void PutChildHex(const std::string& name, int value, int digits, int fallback = 0);
    void PutChildInt(const std::string& name, int value, int fallback = 0);
    void PutChildInt64(const std::string& name, std::int64_t value, std::int64_t fallback = 0);
    void PutChildString(const std::string& name, const std::string& value, const std::string& fallback = "");
    void PutChildWideString(const std::string& name, const std::u16string& value, const std::u16string& fallback = u"");
    void PutChildAnsiString(const std::string& name, const std::string& value, const std::string& fallback = "");

    // --- binary data in the value ---------------------------------------------------
    // Bytes in the base64 value (blanks ignored); raises EFilerError "error
    // while calculating streamlength" when its length is no multiple of 4.
    int Base64Length() const;
    // Decodes count bytes of the value; EFilerError "missing data in binary
    // stream" when it holds fewer.
    void ReadBuffer(void* buffer, int count, TxBinaryFormat format) const;
    // The value becomes the base64 of the bytes, in lines of 76 characters in the
    // readable layout.
    void WriteBufferBase64(const void* buffer, int count);

    // --- copying, reading, writing -----------------------------------------------------
    // Clears this node and makes it a copy of source, its nodes included.
    // Raises "CopyFrom can only be used with TXmlNode descendants" for nullptr.
    void CopyFrom(const TXmlNode* source);
    void Assign(core::TPersistent* source) override;
    // Reads the node's markup from the parser; returns the node at which
    // parsing ended. The base reads nothing and returns itself.
    virtual TXmlNode* ReadFromParser(TxXmlParser& parser);
    // Writes the node as XML text (UTF-8, the document's line breaks).
    void WriteToStream(core::TStream& stream);
    // The same for a node known to stand at depth (its number of ancestors).
    void WriteAt(core::TStream& stream, int depth) { DoWrite(stream, depth); }
    virtual void WriteContent(core::TStream& stream) const;

    // --- layout -------------------------------------------------------------------------
    // "\r\n", "\r" or "\n" by the document's line-break style.
    std::string_view EolText() const;
    // EolText in the readable layout, else empty.
    std::string_view LineFeedText() const;
    // The document's indentation, TreeDepth times, in the readable layout.
    std::string_view IndentText() const;
    std::string NodeIndent() const { return std::string(IndentText()); }
    bool StoreDefaults() const;
    TxLineBreakStyle LineBreakStyle() const;
    TxXmlLayout Layout() const;
    bool PreservesWhiteSpace() const;

    // --- the document's symbols and events ------------------------------------------------
    std::string SymbolText(std::int32_t id) const;
    std::string_view SymbolView(std::int32_t id) const;
    std::int32_t SymbolId(std::string_view text) const;
    void NotifyNodeCreated(TXmlNode* node);
    void NotifyNodeParsed(TXmlNode* node);
    void ReportProgress(core::TStream& stream);
    // The same for text collected in out, which goes to its stream first.
    void ReportProgress(TxPieceBuffer& out);

protected:
    enum : std::uint8_t {
        kfContainer = 1,
        kfCharData = 2,
        kfElement = 4,
        kfInArena = 8,
        kfOnHeap = 16,
        kfPackedNodes = 32,
    };
    TXmlNode(TXmlDocument* document, TxNodeKind kind, std::uint8_t family);

    // Writes the node standing at depth (its number of ancestors).
    virtual void DoWrite(core::TStream& stream, int depth);
    // Copies what this kind holds of its own (name, value, quotes, literals),
    // not the nodes of a container.
    virtual void CopyOwn(const TXmlNode& source);
    std::string_view IndentAt(int depth) const;
    [[noreturn]] static void NoParent();
    void SetParent(TXmlNode* parent) noexcept { link_ = parent; }

    friend class TxContainerNode;

private:
    // A new, named node of the class of this node's kind; nullptr for a kind without one.
    std::unique_ptr<TXmlNode> NewChild(const std::string& name) const;
    void CopyTree(const TXmlNode& source);
    template <typename Visit>
    void WalkDescendants(std::string_view name, Visit&& visit) const;
    void PutDefaultable(bool differs, const std::string& name, const std::string& text, bool asAttribute);

    TXmlDocument* DocumentNotedApart() const noexcept;
    [[noreturn]] static void NoDocument();
    // Notes the document of a node made neither in an arena nor with new;
    // nullptr forgets the node.
    static void NoteApart(const TXmlNode* node, TXmlDocument* document);
    // Keeps the document in the room that operator new left before the node.
    static void NoteOnHeap(TXmlNode* node, TXmlDocument* document) noexcept;

    TxNodeKind kind_;
    std::uint8_t family_;
    // The node's size in units of 8 bytes when it lives in an arena, else 0.
    std::uint8_t arenaUnits_ = 0;

protected:
    // A byte that a kind keeps for itself (the quote style of a literal, the
    // closing style of a container), here where it costs no room of its own.
    std::uint8_t style_ = 0;
};

// The piece of an arena in which a node is being made, or nullptr.
inline void*& ArenaPieceToBuild() noexcept
{
    thread_local void* piece = nullptr;
    return piece;
}

// The node made with new whose constructor has not run yet, or nullptr.
inline void*& HeapNodeToBuild() noexcept
{
    thread_local void* node = nullptr;
    return node;
}

inline TXmlNode::TXmlNode(TXmlDocument* document, TxNodeKind kind, std::uint8_t family)
    : TDebugPersistent(OwnerFoundElsewhere{}), kind_(kind), family_(family)
{
    // Where the node is made is taken first, so that no mark outlives this node.
    const bool inArena = this == ArenaPieceToBuild();
    const bool onHeap = this == HeapNodeToBuild();
    ArenaPieceToBuild() = nullptr;
    HeapNodeToBuild() = nullptr;
    if (document == nullptr)
        NoDocument();
    if (inArena) {
        family_ |= kfInArena; // the arena names the document
    } else if (onHeap) {
        family_ |= kfOnHeap;
        NoteOnHeap(this, document);
    } else {
        NoteApart(this, document);
    }
}

// Frees the nodes and everything below them without recursion.
void FreeNodeTree(std::vector<TXmlNode*>& nodes);

template <class T>
T* TXmlNode::NewInArena(TxNodeArena& arena, TXmlDocument* document)
{
    static_assert(sizeof(T) % 8 == 0 && sizeof(T) <= TxNodeArena::kLargestPiece);
    void* memory = arena.Allocate(sizeof(T));
    T* node;
    try {
        ArenaPieceToBuild() = memory; // the constructor knows the node is in the arena
        node = ::new (memory) T(document);
    } catch (...) {
        ArenaPieceToBuild() = nullptr;
        TxNodeArena::Release(memory, sizeof(T));
        throw;
    }
    node->arenaUnits_ = sizeof(T) / 8;
    return node;
}

} // namespace xml
