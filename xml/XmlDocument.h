#pragma once
// The XML document: a component that owns the top-level nodes (declaration,
// document type, comments, text, the root element) and the symbol table in
// which every name and text of its nodes is interned, and holds the settings
// by which it is read and written. It writes XML text in four encodings and
// three layouts. Problems are reported as messages (see Debug.h), not raised.
//
// A document, its reads included, is used by one thread at a time. Loaded
// quietly (no OnNodeCreated, OnNodeParsed or OnLoadProgress handler, no
// RepairStructure), it keeps plain attributes and texts packed (PackedNode.h)
// and makes their nodes when a read first asks for them, so two threads
// reading it at once race to make them, which corrupts it or crashes.
// To share one for reading, load it with a node event attached (an empty
// OnNodeParsed will do), or walk it once on one thread from
// TopNodes().First() with NextInDocument, which makes every node; then
// threads may read it together (names, values and their typed readers,
// attributes, NodeAt and the other lookups, SearchNode) while nobody
// changes it. Some calls change a document although they look like reads,
// and stay on one thread: writing it in any form, SearchAll (the list takes
// its array from the document's memory), TxAttribute::ValueNode (made on
// first call), IndentText, NodeIndent and IndentFor (they grow a cache the
// document shares), and SymbolTable().SortedSymbols.
//
// This is the library's chief header: it brings every node class along.

#include "xml/CharData.h"
#include "xml/Declarations.h"
#include "xml/Debug.h"
#include "xml/DocType.h"
#include "xml/Elements.h"
#include "xml/Layout.h"
#include "xml/NodeClasses.h"
#include "xml/NodeList.h"
#include "xml/SymbolTable.h"
#include "xml/TextEncoding.h"
#include "xml/XmlNode.h"

#include "platform/core/StringList.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <span>
#include <string>
#include <unordered_set>

namespace xml {

using TOnXmlNodeEvent = std::function<void(core::TObject* sender, TXmlNode* node)>;
using TOnXmlProgress = std::function<void(core::TObject* sender, std::int64_t position)>;

class TXmlDocument : public TDebugComponent {
public:
    // No declaration, no document type, one root element with an empty name.
    explicit TXmlDocument(core::TComponent* owner);
    // The chosen parts; the root element and the document type are named rootName.
    TXmlDocument(core::TComponent* owner, bool withDeclaration, bool withDocType, bool withRoot,
                 const std::string& rootName);
    ~TXmlDocument() override;
    std::string ClassName() const override { return "TXmlDocument"; }

    // --- content ----------------------------------------------------------------
    TxNodeList& TopNodes() noexcept { return topNodes_; }
    const TxNodeList& TopNodes() const noexcept { return topNodes_; }
    int TopNodeCount() const noexcept { return topNodes_.Count(); }
    TxSymbolTable& SymbolTable() const noexcept { return *symbolTable_; }
    // Where the nodes that the parser reads live (NodeArena.h).
    TxNodeArena& Arena() const noexcept { return *arena_; }
    // The first top-level element, or nullptr.
    TxElement* RootElement() const;
    TxDeclaration* FirstDeclaration() const;
    // The first top-level node when it is a declaration (a style sheet counts);
    // else a new, empty declaration put first.
    virtual TxDeclaration* ForceDeclaration();
    // Top-level containers only: elements, declarations, style sheets, document types.
    virtual int ContainerCount() const;
    virtual TxContainerNode* ContainerAt(int index) const;

    // The settings to their defaults (the Default... settings stay).
    void ApplyDefaults();
    // Clears symbols and nodes, then makes the chosen parts: a declaration with
    // version "1.0" and encoding "utf-8", a document type with "SYSTEM", a root.
    void ResetContent(bool withDeclaration, bool withDocType, bool withRoot);
    virtual void ResetDocument();
    virtual void ResetWithDeclaration();
    // The node class of root elements.
    virtual TxNodeClass RootElementClass() const;

    // A node of the kind's class with name and value set (an empty one is left
    // alone), given the attributes and nodes. It is not put into the document.
    TXmlNode* NewNode(TxNodeKind kind, const std::string& name, const std::string& value,
                      std::span<TxAttribute* const> attributes, std::span<TXmlNode* const> nodes);
    virtual TxElement* NewElement(const std::string& name);
    virtual TxElement* NewElementWithNodes(const std::string& name, std::span<TXmlNode* const> nodes);

    // --- reading (DocumentLoading.cpp, DocumentWeb.cpp) ------------------------------
    // Text in any of the four encodings, or the binary form; the previous
    // content goes first. Bad text is reported, not raised; what was read stays.
    virtual void LoadFromFile(const std::string& fileName);
    virtual void LoadFromStream(core::TStream& stream);
    virtual void LoadFromText(const std::string& text);
    // The bytes loaded; 0, with the content untouched, when the URL cannot be fetched.
    virtual std::int64_t LoadFromWeb(const std::string& url);
    // The binary form (BinaryXml.h); after a load the first declaration, when
    // there is one, sets TextEncoding and TextCodePage.
    virtual void LoadBinaryFile(const std::string& fileName);
    virtual void LoadBinaryStream(core::TStream& stream);
    virtual void SaveBinaryFile(const std::string& fileName);
    virtual void SaveBinaryStream(core::TStream& stream);

    // --- writing ---------------------------------------------------------------------
    // Replaces the file only when the whole document was written; a failure
    // (an unsupported encoding, a missing root, a full disk) leaves it as it was.
    virtual void SaveToFile(const std::string& fileName);
    // The byte-order mark of the encoding and the text in it. An encoding other
    // than ansi, utf-8 and the two UTF-16 forms writes nothing and reports
    // "unsupported encoding (%s)".
    virtual void SaveToStream(core::TStream& stream);
    // What SaveToStream writes, as bytes.
    virtual std::string WriteToText();
    // The text as UTF-8, without mark or conversion.
    virtual std::string WriteToUtf8Text();
    virtual std::u16string WriteToWideText();
    // Every top-level node in order. Raises EFilerError "XML root element not
    // defined." when RootRequired is set and there is no root.
    void WriteDocument(core::TStream& stream);

    // --- settings ------------------------------------------------------------------------
    const std::string& SelfCloseText() const noexcept { return selfCloseText_; }
    void SetSelfCloseText(const std::string& text) { selfCloseText_ = text; }
    bool DropCommentsOnParse() const noexcept { return dropCommentsOnParse_; }
    void SetDropCommentsOnParse(bool drop) noexcept { dropCommentsOnParse_ = drop; }
    TxLineBreakStyle LineBreakStyle() const noexcept { return lineBreakStyle_; }
    void SetLineBreakStyle(TxLineBreakStyle style) noexcept { lineBreakStyle_ = style; }
    bool FloatExponentAllowed() const noexcept { return floatExponentAllowed_; }
    void SetFloatExponentAllowed(bool allowed) noexcept { floatExponentAllowed_ = allowed; }
    int FloatDigits() const noexcept { return floatDigits_; }
    void SetFloatDigits(int digits) noexcept { floatDigits_ = digits; }
    const TxEncodingSignature& ByteOrderMark() const noexcept { return byteOrderMark_; }
    void SetByteOrderMark(const TxEncodingSignature& mark) noexcept { byteOrderMark_ = mark; }
    std::int32_t TextCodePage() const noexcept { return textCodePage_; }
    void SetTextCodePage(std::int32_t codePage) noexcept { textCodePage_ = codePage; }
    TxTextEncoding TextEncoding() const noexcept { return textEncoding_; }
    void SetTextEncoding(TxTextEncoding encoding) noexcept { textEncoding_ = encoding; }
    bool RepairStructure() const noexcept { return repairStructure_; }
    void SetRepairStructure(bool repair) noexcept { repairStructure_ = repair; }
    bool DefaultDeclaration() const noexcept { return defaultDeclaration_; }
    void SetDefaultDeclaration(bool value) noexcept { defaultDeclaration_ = value; }
    bool DefaultDocType() const noexcept { return defaultDocType_; }
    void SetDefaultDocType(bool value) noexcept { defaultDocType_ = value; }
    bool DefaultRoot() const noexcept { return defaultRoot_; }
    void SetDefaultRoot(bool value) noexcept { defaultRoot_ = value; }
    const std::string& IndentText() const noexcept { return indentText_; }
    void SetIndentText(const std::string& text);
    TxClosingStyle EmptyElementStyle() const noexcept { return emptyElementStyle_; }
    void SetEmptyElementStyle(TxClosingStyle style) noexcept { emptyElementStyle_ = style; }
    bool RootRequired() const noexcept { return rootRequired_; }
    void SetRootRequired(bool required) noexcept { rootRequired_ = required; }
    const std::string& DefaultRootName() const noexcept { return defaultRootName_; }
    void SetDefaultRootName(const std::string& name) { defaultRootName_ = name; }
    int SecondFractionDigits() const noexcept { return secondFractionDigits_; }
    void SetSecondFractionDigits(int digits) noexcept { secondFractionDigits_ = digits; }
    TxXmlLayout Layout() const noexcept { return layout_; }
    void SetLayout(TxXmlLayout layout) noexcept { layout_ = layout; }
    bool PreservesWhiteSpace() const noexcept { return layout_ == xlPreserve; }
    bool UseLocalTimeZone() const noexcept { return useLocalTimeZone_; }
    void SetUseLocalTimeZone(bool use) noexcept { useLocalTimeZone_ = use; }
    bool StoreDefaults() const noexcept { return storeDefaults_; }
    void SetStoreDefaults(bool store) noexcept { storeDefaults_ = store; }

    // IndentText depth times in the readable layout, else empty; valid until
    // the next call, which may grow the cache it lies in: one thread only.
    std::string_view IndentFor(int depth) const;

    // --- parsing state ------------------------------------------------------------------------
    bool AbortParsing() const noexcept { return abortParsing_; }
    void SetAbortParsing(bool abort) noexcept { abortParsing_ = abort; }
    // Names of elements to close, collected by a parse with RepairStructure; nullptr otherwise.
    core::TStringList* RepairNames() const noexcept { return repairNames_.get(); }

    // --- events -----------------------------------------------------------------------------------
    void DoNodeCreated(TXmlNode* node);
    void DoNodeParsed(TXmlNode* node);
    void DoProgress(std::int64_t position);

    TOnXmlNodeEvent OnNodeCreated;
    TOnXmlNodeEvent OnNodeParsed;
    TOnXmlProgress OnLoadProgress;

private:
    friend class TxElement; // its end-tag repair marks the elements to close

    // Records an element whose end tag never came: the repair pass at the end
    // of the parse moves its content after it. Nothing without RepairStructure.
    void MarkUnclosed(TXmlNode* node);
    bool WriteEncoded(core::TStream& stream);
    // TextEncoding and TextCodePage from the first declaration's encoding, when there is one.
    void TakeEncodingFromDeclaration();
    void ParseDocument(TxXmlParser& parser);
    // Frees every node and symbol.
    void ClearNodes();
    void CloseUnclosed();

    TxNodeList topNodes_;
    TxSymbolTable* symbolTable_; // owned as a component
    TxNodeArena* arena_;         // owned; freed by its Detach
    bool abortParsing_ = false;
    std::unique_ptr<core::TStringList> repairNames_;
    std::unordered_set<const TXmlNode*> unclosed_;

    std::string selfCloseText_;
    bool dropCommentsOnParse_ = false;
    TxLineBreakStyle lineBreakStyle_ = lbCRLF;
    bool floatExponentAllowed_ = true;
    int floatDigits_ = 6;
    TxEncodingSignature byteOrderMark_{};
    std::int32_t textCodePage_ = 0;
    TxTextEncoding textEncoding_ = seUtf8;
    bool repairStructure_ = false;
    bool defaultDeclaration_ = false;
    bool defaultDocType_ = false;
    bool defaultRoot_ = true;
    std::string indentText_;
    TxClosingStyle emptyElementStyle_ = csSelfClosing;
    bool rootRequired_ = false;
    std::string defaultRootName_;
    int secondFractionDigits_ = 0;
    TxXmlLayout layout_ = xlPreserve;
    bool useLocalTimeZone_ = false;
    bool storeDefaults_ = true;

    mutable std::string indentCache_;
};

} // namespace xml
