#include "xml/DocType.h"

#include "xml/VarInt.h"
#include "xml/XmlDocument.h"

namespace xml {

// --- document type --------------------------------------------------------------------

TxDocType::TxDocType(TXmlDocument* document)
    : TxContainerNode(document, xeDocType, 0), externalId_(new TxCharData(document)),
      systemLiteral_(new TxQuotedText(document)), publicLiteral_(new TxQuotedText(document))
{
}

TxDocType::~TxDocType()
{
    delete externalId_;
    delete systemLiteral_;
    delete publicLiteral_;
}


void TxDocType::DoWrite(core::TStream& stream, int depth)
{
    WriteStringBytes(stream, IndentAt(depth));
    WriteStringBytes(stream, "<!DOCTYPE ");
    WriteStringBytes(stream, NameView());
    const std::string_view external = externalId_->RawView();
    if (external == "SYSTEM") {
        WriteStringBytes(stream, " SYSTEM ");
        systemLiteral_->WriteAt(stream, depth + 1);
    } else if (external == "PUBLIC") {
        WriteStringBytes(stream, " PUBLIC ");
        publicLiteral_->WriteAt(stream, depth + 1);
        WriteStringBytes(stream, " ");
        systemLiteral_->WriteAt(stream, depth + 1);
    }
    WriteStringBytes(stream, " ");
    if (NodeCount() > 0) {
        WriteStringBytes(stream, "[");
        WriteStringBytes(stream, LineFeedText());
        for (int i = 0; i < NodeCount(); ++i)
            NodeAt(i)->WriteAt(stream, depth + 1);
        WriteStringBytes(stream, "]");
    }
    WriteStringBytes(stream, ">");
    WriteStringBytes(stream, LineFeedText());
    ReportProgress(stream);
}

void TxDocType::CopyOwn(const TXmlNode& source)
{
    SetName(source.GetName());
    if (source.NodeKind() != xeDocType)
        return;
    const auto& other = static_cast<const TxDocType&>(source);
    externalId_->CopyFrom(other.externalId_);
    systemLiteral_->CopyFrom(other.systemLiteral_);
    publicLiteral_->CopyFrom(other.publicLiteral_);
}

// --- DTD declarations --------------------------------------------------------------------

namespace {

const char* Keyword(TxNodeKind kind)
{
    switch (kind) {
    case xeDtdAttList: return "ATTLIST";
    case xeDtdEntity: return "ENTITY";
    case xeDtdNotation: return "NOTATION";
    default: return "ELEMENT";
    }
}

} // namespace

void TxDtdElement::WriteContent(core::TStream& stream) const
{
    // Two parts with no blanks between them (a literal after a literal or a
    // word, as code or an older binary file may hold them) are separated by a
    // space: touching, they would no longer be a declaration.
    const TXmlNode* previous = nullptr;
    for (int i = DirectNodeCount(); i < NodeCount(); ++i) {
        TXmlNode* node = NodeAt(i);
        if (previous != nullptr && previous->NodeKind() != xeWhiteSpace && node->NodeKind() != xeWhiteSpace)
            WriteStringBytes(stream, " ");
        node->WriteAt(stream, 0);
        previous = node;
    }
}


void TxDtdElement::DoWrite(core::TStream& stream, int)
{
    WriteStringBytes(stream, "<!");
    WriteStringBytes(stream, Keyword(NodeKind()));
    WriteStringBytes(stream, " ");
    WriteStringBytes(stream, NameView());
    WriteStringBytes(stream, " ");
    WriteContent(stream);
    WriteStringBytes(stream, ">");
    WriteStringBytes(stream, LineFeedText());
    ReportProgress(stream);
}

} // namespace xml
