#include "xml/XmlDocument.h"

#include "xml/Conversions.h"
#include "xml/FastStreams.h"
#include "xml/NodeArena.h"
#include "xml/XmlWriter.h"

#include "platform/core/Exceptions.h"
#include "platform/core/FilerError.h"
#include "platform/core/ReplacingFileStream.h"

namespace xml {

namespace {

// Text goes to its target in chunks of this size; larger than a parser chunk,
// since each chunk may cost a system call.
constexpr std::int32_t kTextChunkSize = 64 * 1024;

template <class T>
TXmlNode* MakeNode(TXmlDocument* document)
{
    return new T(document);
}

} // namespace

// --- construction ----------------------------------------------------------------

TXmlDocument::TXmlDocument(core::TComponent* owner) : TXmlDocument(owner, false, false, true, "") {}

TXmlDocument::TXmlDocument(core::TComponent* owner, bool withDeclaration, bool withDocType, bool withRoot,
                           const std::string& rootName)
    : TDebugComponent(owner), symbolTable_(new TxSymbolTable(this)), arena_(new TxNodeArena(this)),
      defaultDeclaration_(withDeclaration),
      defaultDocType_(withDocType), defaultRoot_(withRoot), defaultRootName_(rootName)
{
    ApplyDefaults();
    ResetContent(withDeclaration, withDocType, withRoot);
}

TXmlDocument::~TXmlDocument()
{
    topNodes_.Clear(); // the nodes go before the symbol table, which the owner frees
    arena_->Detach();  // and the arena with them, unless a node taken out lives on
}

void TXmlDocument::ClearNodes()
{
    topNodes_.Clear();
    arena_->Reset(); // nothing is done while a node taken out of the tree lives on
    symbolTable_->Clear();
}

void TXmlDocument::ApplyDefaults()
{
    selfCloseText_ = "/>";
    dropCommentsOnParse_ = false;
    lineBreakStyle_ = lbCRLF;
    floatExponentAllowed_ = true;
    floatDigits_ = 6;
    byteOrderMark_ = TxEncodingSignature{};
    textCodePage_ = 0;
    textEncoding_ = seUtf8;
    repairStructure_ = false;
    SetIndentText("\t");
    emptyElementStyle_ = csSelfClosing;
    rootRequired_ = false;
    secondFractionDigits_ = 0;
    layout_ = xlPreserve;
    useLocalTimeZone_ = false;
    storeDefaults_ = true;
}

void TXmlDocument::ResetContent(bool withDeclaration, bool withDocType, bool withRoot)
{
    ClearNodes();
    if (withDeclaration) {
        std::unique_ptr<TxDeclaration> declaration(new TxDeclaration(this));
        declaration->SetDeclarationVersion("1.0");
        declaration->SetDeclarationEncoding("utf-8");
        topNodes_.Add(declaration.release());
    }
    if (withDocType) {
        std::unique_ptr<TxDocType> docType(new TxDocType(this));
        docType->SetName(defaultRootName_);
        docType->ExternalId()->SetValue("SYSTEM");
        topNodes_.Add(docType.release());
    }
    if (withRoot) {
        std::unique_ptr<TXmlNode> root(RootElementClass()(this));
        root->SetName(defaultRootName_);
        topNodes_.Add(root.release());
    }
}

void TXmlDocument::ResetDocument() { ResetContent(defaultDeclaration_, defaultDocType_, defaultRoot_); }

void TXmlDocument::ResetWithDeclaration()
{
    defaultDeclaration_ = true;
    ResetDocument();
}

TxNodeClass TXmlDocument::RootElementClass() const { return MakeNode<TxElement>; }

// --- content ---------------------------------------------------------------------

TxElement* TXmlDocument::RootElement() const
{
    return static_cast<TxElement*>(topNodes_.FindFirstOfKind(xeElement));
}

TxDeclaration* TXmlDocument::FirstDeclaration() const
{
    return static_cast<TxDeclaration*>(topNodes_.FindFirstOfKind(xeDeclaration));
}

TxDeclaration* TXmlDocument::ForceDeclaration()
{
    TXmlNode* first = topNodes_.First();
    if (first != nullptr && (first->NodeKind() == xeDeclaration || first->NodeKind() == xeStylesheet))
        return static_cast<TxDeclaration*>(first);
    std::unique_ptr<TxDeclaration> declaration(new TxDeclaration(this));
    topNodes_.Insert(0, declaration.get());
    return declaration.release();
}

int TXmlDocument::ContainerCount() const
{
    int count = 0;
    for (const TXmlNode* node : topNodes_)
        if (node->IsContainer())
            ++count;
    return count;
}

TxContainerNode* TXmlDocument::ContainerAt(int index) const
{
    if (index < 0)
        return nullptr;
    for (TXmlNode* node : topNodes_)
        if (node->IsContainer() && index-- == 0)
            return static_cast<TxContainerNode*>(node);
    return nullptr;
}

TXmlNode* TXmlDocument::NewNode(TxNodeKind kind, const std::string& name, const std::string& value,
                                std::span<TxAttribute* const> attributes, std::span<TXmlNode* const> nodes)
{
    std::unique_ptr<TXmlNode> node(NewNodeOfKind(kind, this));
    if (node == nullptr)
        return nullptr;
    // Kinds without a name or value of their own refuse even an empty one.
    if (!name.empty())
        node->SetName(name);
    if (!value.empty())
        node->SetValue(value);
    node->AttributesAddAll(attributes);
    node->NodesAddAll(nodes);
    return node.release();
}

TxElement* TXmlDocument::NewElement(const std::string& name)
{
    return static_cast<TxElement*>(NewNode(xeElement, name, "", {}, {}));
}

TxElement* TXmlDocument::NewElementWithNodes(const std::string& name, std::span<TXmlNode* const> nodes)
{
    return static_cast<TxElement*>(NewNode(xeElement, name, "", {}, nodes));
}

// --- writing -----------------------------------------------------------------------

void TXmlDocument::SaveToFile(const std::string& fileName)
{
    core::TReplacingFileStream file(fileName);
    if (WriteEncoded(file))
        file.Commit();
}

void TXmlDocument::SaveToStream(core::TStream& stream) { WriteEncoded(stream); }

bool TXmlDocument::WriteEncoded(core::TStream& stream)
{
    TxEncodingSignature mark{};
    switch (textEncoding_) {
    case seAnsi:
    case seUtf8:
        mark.Encoding = textEncoding_;
        break;
    case seUtf16BE:
        mark = EncodingSignatures[kSignatureUtf16BE];
        break;
    case seUtf16LE:
        mark = EncodingSignatures[kSignatureUtf16LE];
        break;
    default:
        EmitDebug(this, dlFail, DebugFormat("unsupported encoding (%s)", EncodingNames[textEncoding_]));
        return false;
    }
    TxXmlWriter writer(this, kTextChunkSize, stream);
    byteOrderMark_ = mark;
    if (mark.MarkPresent != 0) {
        writer.SetEncoding(seUtf8); // the mark's bytes pass unchanged
        writer.Write(mark.Pattern.data(), mark.Length);
    }
    writer.SetEncoding(textEncoding_);
    writer.SetCodePage(textCodePage_);
    WriteDocument(writer);
    writer.Flush();
    return true;
}

std::string TXmlDocument::WriteToText()
{
    TxStringStream text;
    SaveToStream(text);
    return text.AsString();
}

std::string TXmlDocument::WriteToUtf8Text()
{
    TxStringStream text;
    WriteDocument(text);
    return text.AsString();
}

std::u16string TXmlDocument::WriteToWideText() { return Utf8ToWide(WriteToUtf8Text()); }

void TXmlDocument::WriteDocument(core::TStream& stream)
{
    if (rootRequired_ && RootElement() == nullptr)
        throw core::EFilerError("XML root element not defined.");
    DoProgress(0);
    for (int i = 0; i < topNodes_.Count(); ++i) {
        TXmlNode* node = topNodes_.ItemAt(i);
        if (i == 0 && node->NodeKind() == xeDeclaration)
            EmitDebug(this, dlInfo,
                      DebugFormat("writing declaration with encoding \"%s\" and codepage %d",
                                  static_cast<TxDeclaration*>(node)->DeclarationEncoding().c_str(), textCodePage_));
        node->WriteAt(stream, 0);
    }
    if (OnLoadProgress)
        DoProgress(stream.Size());
}

// --- settings and events ----------------------------------------------------------------

void TXmlDocument::SetIndentText(const std::string& text)
{
    indentText_ = text;
    indentCache_.clear();
}

std::string_view TXmlDocument::IndentFor(int depth) const
{
    if (layout_ != xlReadable || depth <= 0 || indentText_.empty())
        return {};
    const std::size_t needed = static_cast<std::size_t>(depth) * indentText_.size();
    if (indentCache_.size() < needed) {
        indentCache_.reserve(2 * needed); // kept for the deeper lines to come
        while (indentCache_.size() < needed)
            indentCache_ += indentText_;
    }
    return std::string_view(indentCache_).substr(0, needed);
}

void TXmlDocument::DoNodeCreated(TXmlNode* node)
{
    if (OnNodeCreated)
        OnNodeCreated(this, node);
}

void TXmlDocument::DoNodeParsed(TXmlNode* node)
{
    if (OnNodeParsed)
        OnNodeParsed(this, node);
}

void TXmlDocument::DoProgress(std::int64_t position)
{
    if (OnLoadProgress)
        OnLoadProgress(this, position);
}

} // namespace xml
