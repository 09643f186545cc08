#include "xml/NodeClasses.h"

#include "xml/CharData.h"
#include "xml/Declarations.h"
#include "xml/DocType.h"
#include "xml/Elements.h"

namespace xml {

namespace {

template <class T>
TXmlNode* Make(TXmlDocument* document)
{
    return new T(document);
}

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

} // namespace xml
