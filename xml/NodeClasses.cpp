#include "xml/NodeClasses.h"

#include "xml/CharData.h"
#include "xml/Declarations.h"
#include "xml/DocType.h"
#include "xml/Elements.h"
#include "xml/XmlDocument.h"

namespace xml {

namespace {

template <class T>
TXmlNode* Make(TXmlDocument* document)
{
    return new T(document);
}

template <class T>
TXmlNode* MakeParsed(TXmlDocument* document)
{
    return NewParsedNode<T>(document);
}

const TxNodeClass ParsedNodeClasses[kNodeKindCount] = {
    MakeParsed<TxElement>,     MakeParsed<TxAttribute>,  MakeParsed<TxCharData>,    MakeParsed<TxComment>,
    MakeParsed<TxCData>,       MakeParsed<TxConditionalSection>, MakeParsed<TxDeclaration>, MakeParsed<TxStyleSheet>,
    MakeParsed<TxDocType>,     MakeParsed<TxDtdElement>, MakeParsed<TxDtdAttList>,  MakeParsed<TxDtdEntity>,
    MakeParsed<TxDtdNotation>, MakeParsed<TxInstruction>, MakeParsed<TxWhiteSpace>, MakeParsed<TxQuotedText>,
    nullptr,                   nullptr,
};

} // namespace

const TxNodeClass NodeClasses[kNodeKindCount] = {
    Make<TxElement>,     Make<TxAttribute>,  Make<TxCharData>,    Make<TxComment>,
    Make<TxCData>,       Make<TxConditionalSection>, Make<TxDeclaration>, Make<TxStyleSheet>,
    Make<TxDocType>,     Make<TxDtdElement>, Make<TxDtdAttList>,  Make<TxDtdEntity>,
    Make<TxDtdNotation>, Make<TxInstruction>, Make<TxWhiteSpace>, Make<TxQuotedText>,
    nullptr,             nullptr,
};

TXmlNode* NewNodeOfKind(TxNodeKind kind, TXmlDocument* document)
{
    if (kind >= kNodeKindCount || NodeClasses[kind] == nullptr)
        return nullptr;
    return NodeClasses[kind](document);
}

TXmlNode* NewParsedNodeOfKind(TxNodeKind kind, TXmlDocument* document)
{
    if (kind >= kNodeKindCount || ParsedNodeClasses[kind] == nullptr)
        return nullptr;
    return ParsedNodeClasses[kind](document);
}

TxNodeArena& ArenaOf(TXmlDocument* document) { return document->Arena(); }

} // namespace xml
