#pragma once
// The kind-to-class table: how the parser, ChildAdd, the document's NewNode and
// the binary reader make a node of a given kind. EndTag and Error have no class.

#include "xml/XmlNode.h"

#include <array>

namespace xml {

// Makes a new, empty node of one class in the document.
using TxNodeClass = TXmlNode* (*)(TXmlDocument* document);

extern const std::array<TxNodeClass, kNodeKindCount> NodeClasses;

// A new node of the kind's class, or nullptr for a kind without one.
TXmlNode* NewNodeOfKind(TxNodeKind kind, TXmlDocument* document);

// The same for the parser: the node lives in the document's arena.
TXmlNode* NewParsedNodeOfKind(TxNodeKind kind, TXmlDocument* document);
TxNodeArena& ArenaOf(TXmlDocument* document);
template <class T>
T* NewParsedNode(TXmlDocument* document)
{
    return TXmlNode::NewInArena<T>(ArenaOf(document), document);
}

} // namespace xml
