#include "xml/NodeClasses.h"

#include "xml/CharData.h"
#include "xml/Declarations.h"
#include "xml/DocType.h"
#include "xml/Elements.h"
#include "xml/XmlDocument.h"

namespace xml {

namespace {

// A node of class T on the heap, or, for the parser, in the document's arena.
template <bool parsed, class T>
TXmlNode* Make(TXmlDocument* document)
{
    if constexpr (parsed)
        return NewParsedNode<T>(document);
    else
        return new T(document);
}

template <bool parsed>
constexpr std::array<TxNodeClass, kNodeKindCount> ClassTable()
{
    return {
        Make<parsed, TxElement>,     Make<parsed, TxAttribute>,  Make<parsed, TxCharData>,
        Make<parsed, TxComment>,     Make<parsed, TxCData>,      Make<parsed, TxConditionalSection>,
        Make<parsed, TxDeclaration>, Make<parsed, TxStyleSheet>, Make<parsed, TxDocType>,
        Make<parsed, TxDtdElement>,  Make<parsed, TxDtdAttList>, Make<parsed, TxDtdEntity>,
        Make<parsed, TxDtdNotation>, Make<parsed, TxInstruction>, Make<parsed, TxWhiteSpace>,
        Make<parsed, TxQuotedText>,  nullptr,                    nullptr,
    };
}

constexpr std::array<TxNodeClass, kNodeKindCount> ParsedNodeClasses = ClassTable<true>();

} // namespace

const std::array<TxNodeClass, kNodeKindCount> NodeClasses = ClassTable<false>();

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
