// Reading containers and elements from the parser: attribute lists, content
// lists, lists of literals, and the repair of end tags that do not match.

#include "xml/Elements.h"

#include "xml/CharData.h"
#include "xml/NodeClasses.h"
#include "xml/PackedNode.h"
#include "xml/TextRoutines.h"
#include "xml/XmlDocument.h"
#include "xml/XmlParser.h"

#include <vector>

namespace xml {

namespace {

bool EndsTagOrList(char c) { return c == '!' || c == '/' || c == '>'; }

void IllegalEndTag(TXmlNode* node, TxXmlParser& parser, char c)
{
    node->EmitDebug(node, dlWarn,
                    DebugFormat("illegal end tag (\"%s\") at line %lld (streampos %lld)", std::string(1, c).c_str(),
                                AsLongLong(parser.LineNumber()), AsLongLong(parser.Position())));
}

// The end tag after "</": closes node, or, when it names another element and
// the document repairs, the element that the repair found.
TXmlNode* ReadEndTag(TxContainerNode& node, TxXmlParser& parser)
{
    std::string_view read;
    const bool complete = parser.ReadUntilChar('>', read);
    const std::string_view name = TrimmedView(read);
    node.SetNodeClosingStyle(csFull);
    TXmlNode* result = &node;
    if (!complete) {
        // Cut inside its end tag: the element is closed there all the same.
        parser.ReportPrematureEnd(dlWarn, &node);
    } else if (name != node.NameView()) {
        const std::string endName(name);
        node.EmitDebug(&node, dlWarn,
                       DebugFormat("begin and end tag mismatch: \"%s\" and \"%s\" at line %lld (pos %lld)",
                                   std::string(node.NameView()).c_str(), endName.c_str(), AsLongLong(parser.LineNumber()),
                                   AsLongLong(parser.Position())));
        if (node.Document()->RepairStructure() && node.IsElement())
            result = static_cast<TxElement&>(node).RepairEndTag(endName);
    }
    node.TrimCapacity();
    return result;
}

void LevelMismatch(TxContainerNode& node, TxXmlParser& parser, const TXmlNode* child, const TXmlNode* ended)
{
    node.EmitDebug(&node, dlWarn,
                   DebugFormat("level mismatch between subnode \"%s\" and endnode \"%s\" at line %lld (pos %lld)",
                               std::string(child->NameView()).c_str(),
                               ended != nullptr ? std::string(ended->NameView()).c_str() : "nil",
                               AsLongLong(parser.LineNumber()), AsLongLong(parser.Position())));
}

} // namespace

void TxContainerNode::AppendWhiteSpace(TxXmlParser& parser, std::string_view blanks)
{
    AddParsedText(parser, xeWhiteSpace, parser.Intern(Document()->SymbolTable(), blanks));
}

int TxContainerNode::AddParsedText(TxXmlParser& parser, TxNodeKind kind, std::int32_t valueId)
{
    // No one can look at the tree before the load ends: the text needs no
    // node until someone asks for it.
    if (parser.Collecting(this) && TxPackedNode::Fits(0, valueId))
        return parser.Collect(TxPackedNode::Text(kind, valueId));
    TXmlDocument* document = Document();
    TxCharData* text = kind == xeWhiteSpace ? NewParsedNode<TxWhiteSpace>(document) : NewParsedNode<TxCharData>(document);
    text->SetValueId(valueId);
    return AddParsed(text, parser);
}

int TxContainerNode::AddParsed(TXmlNode* node, TxXmlParser& parser)
{
    if (!parser.Collecting(this))
        return NodeAdd(node);
    Adopt(node); // the parser made it in this document
    return parser.Collect(node);
}

void TxContainerNode::AddParsedAttribute(TxAttribute* attribute, TxXmlParser& parser)
{
    if (!parser.Collecting(this)) {
        AttributeAdd(attribute);
        return;
    }
    // In a start tag the attribute block is all the nodes so far.
    Adopt(attribute);
    parser.Collect(attribute);
    ++directNodeCount_;
}

void TxContainerNode::ReadCollectedAttribute(TxXmlParser& parser, TXmlDocument* document)
{
    // No one can look at the tree before the load ends: an attribute read
    // whole needs no node until someone asks for it.
    TxSymbolTable& table = document->SymbolTable();
    const TxAttribute::Reading read = TxAttribute::ReadPlain(parser, table);
    if (read.stop == TxAttribute::Reading::Whole && TxPackedNode::Fits(read.nameId, read.valueId)) {
        parser.Collect(TxPackedNode::Attribute(read.nameId, read.valueId, read.quote));
        ++directNodeCount_;
        return;
    }
    auto* attribute = NewParsedNode<TxAttribute>(document);
    AddParsedAttribute(attribute, parser);
    attribute->FinishReading(parser, table, read);
}

char TxContainerNode::ParseAttributeList(TxXmlParser& parser)
{
    TXmlDocument* document = Document();
    for (;;) {
        std::string_view blanks;
        const char c = parser.SkipBlanks(blanks);
        if (!blanks.empty() && !IsSingleSpace(blanks)) {
            if (document->PreservesWhiteSpace()) {
                AppendWhiteSpace(parser, blanks);
                SetDirectNodeCount(DirectNodeCount() + 1);
            }
            EmitDebug(this, dlHint,
                      DebugFormat("non-default chardata at line %lld (pos %lld)", AsLongLong(parser.LineNumber()),
                                  AsLongLong(parser.Position())));
        }
        if (c == 0 && parser.EndOfStream()) {
            parser.ReportPrematureEnd(dlWarn, this);
            return 0;
        }
        if (EndsTagOrList(c) || c == '?')
            return c;
        if (c == '"' || c == '\'') {
            EmitDebug(this, dlWarn, DebugFormat("illegal quote at pos %lld", AsLongLong(parser.Position())));
            continue;
        }
        parser.MoveBack();
        if (parser.Collecting(this)) {
            ReadCollectedAttribute(parser, document);
            continue;
        }
        auto* attribute = NewParsedNode<TxAttribute>(document);
        AddParsedAttribute(attribute, parser);
        if (parser.MayNotify())
            NotifyNodeCreated(attribute);
        attribute->ReadFromParser(parser);
        if (parser.MayNotify())
            NotifyNodeParsed(attribute);
    }
}

char TxContainerNode::ParseQuotedTextList(TxXmlParser& parser)
{
    TXmlDocument* document = Document();
    // Words outside quotes (SYSTEM, PUBLIC, NDATA, a parameter entity's name)
    // and literals are kept as written, with the blanks between them, so that
    // the list is written back as it was read: a public identifier and the
    // system literal after it must not come to touch.
    char c = 0;
    do {
        std::string_view blanks;
        c = parser.SkipBlanks(blanks);
        const bool spaced = !blanks.empty();
        if (spaced && !IsSingleSpace(blanks))
            EmitDebug(this, dlHint,
                      DebugFormat("non-default chardata at line %lld (pos %lld)", AsLongLong(parser.LineNumber()),
                                  AsLongLong(parser.Position())));
        if (c == 0 && parser.EndOfStream())
            return 0;
        if (EndsTagOrList(c))
            return c;
        if (spaced && DirectNodeCount() < NodeCount()) {
            AppendWhiteSpace(parser, blanks);
        }
        parser.MoveBack();
        if (c == '"' || c == '\'') {
            auto* literal = NewParsedNode<TxQuotedText>(document);
            NodeAdd(literal);
            NotifyNodeCreated(literal);
            literal->ReadFromParser(parser);
            NotifyNodeParsed(literal);
        } else {
            std::string_view word;
            if (!parser.ReadName(word))
                break;
            auto* text = NewParsedNode<TxCharData>(document);
            if (word.empty()) { // a "[" alone, where ReadName stops
                parser.NextChar();
                text->SetRawValue(std::string_view(&c, 1));
            } else {
                text->SetRawValue(word);
            }
            NodeAdd(text);
            NotifyNodeCreated(text);
            NotifyNodeParsed(text);
        }
    } while (!parser.EndOfStream());
    return 0; // the stream ended inside the list
}

namespace {

// The start tag of an element after its "<": the name, the attributes and the
// end of the tag. True when content follows (the tag ended with ">").
bool ReadStartTag(TxElement& element, TxXmlParser& parser)
{
    parser.Flush();
    element.SetValueIndex(-1);
    if (parser.CollectNodes())
        parser.BeginNodes(&element);
    std::string_view name;
    if (parser.ReadName(name))
        element.SetNameId(parser.Intern(element.Document()->SymbolTable(), TrimmedView(name)));
    if (parser.MayNotify())
        element.NotifyNodeCreated(&element);
    const char c = element.ParseAttributeList(parser);
    element.SetDirectNodeCount(parser.Collecting(&element) ? parser.CollectedCount() : element.NodeCount());
    if (c == '>')
        return true;
    if (parser.Collecting(&element))
        parser.EndNodes(); // no content follows
    if (c == '/') {
        const char next = parser.NextChar();
        if (next == '>') {
            element.SetNodeClosingStyle(csSelfClosing);
            if (parser.MayNotify())
                element.Document()->DoProgress(parser.Position());
        } else if (next == 0 && parser.EndOfStream()) {
            parser.ReportPrematureEnd(dlWarn, &element);
        } else {
            IllegalEndTag(&element, parser, next);
        }
    } else if (c != 0 || !parser.EndOfStream()) { // the end is reported already
        IllegalEndTag(&element, parser, c);
    }
    return false;
}

// Reads the content of node until its list ends or an element with content
// begins. The element is returned (its start tag read, its level entered);
// when the list ends, nullptr, and ended is the node at which it ended.
TxElement* ReadContent(TxContainerNode& node, TxXmlParser& parser, TxNodeKinds allowed, TXmlNode*& ended)
{
    TXmlDocument* document = node.Document();
    ended = nullptr;
    do {
        node.ParseTextBetweenTags(parser);
        if (parser.EndOfStream()) {
            parser.ReportPrematureEnd(dlFail, &node);
            return nullptr;
        }
        parser.MoveBack();
        const char c = parser.NextChar();
        if (c == '<') {
            const TxNodeKind kind = parser.ReadTagKind();
            if (kind == xeError && parser.PrematureEndReported())
                return nullptr; // a tag cut by the end, reported as such
            if (kind >= 32 || (allowed & KindBit(kind)) == 0) {
                node.EmitDebug(&node, dlWarn,
                               DebugFormat("illegal tag (\"%s\") at pos %lld", NodeKindNames[kind],
                                           AsLongLong(parser.Position())));
                return nullptr;
            }
            if (kind == xeEndTag) {
                ended = ReadEndTag(node, parser);
                return nullptr;
            }
            TXmlNode* child = NewParsedNodeOfKind(kind, document);
            const int index = node.AddParsed(child, parser);
            if (kind == xeElement) {
                auto* element = static_cast<TxElement*>(child);
                if (ReadStartTag(*element, parser))
                    return element;
            } else {
                if (parser.MayNotify())
                    node.NotifyNodeCreated(child);
                TXmlNode* end = child->ReadFromParser(parser);
                if (!document->AbortParsing() && end != child) {
                    LevelMismatch(node, parser, child, end);
                    ended = end;
                    return nullptr;
                }
                if (kind == xeCData && node.ValueIndex() < 0)
                    node.SetValueIndex(index);
            }
            // An abort ends every list without reporting each level.
            if (document->AbortParsing())
                return nullptr;
            if (parser.MayNotify())
                node.NotifyNodeParsed(child);
        } else if (c == ']' && node.NodeKind() == xeDocType) {
            return nullptr; // the end of the internal subset
        }
    } while (!document->AbortParsing() && !parser.EndOfStream());
    return nullptr;
}

} // namespace

// Nested elements are read in this loop, not by recursion, so that no depth
// of nesting can exhaust the stack: open holds the elements whose content is
// being read, innermost last, as the calls of a recursive reader would.
TXmlNode* TxContainerNode::ParseElementList(TxXmlParser& parser, TxNodeKinds allowed)
{
    TXmlDocument* document = Document();
    std::vector<TxElement*> open;
    TxContainerNode* node = this;
    for (;;) {
        TXmlNode* ended = nullptr;
        if (TxElement* entered = ReadContent(*node, parser, node == this ? allowed : kElementContentKinds, ended)) {
            open.push_back(entered);
            node = entered;
            continue;
        }
        // The list of node ended at ended; close the elements that end with it.
        for (;;) {
            if (parser.Collecting(node))
                parser.EndNodes();
            if (open.empty())
                return ended;
            if (document->AbortParsing())
                return nullptr;
            TxElement* element = open.back();
            open.pop_back();
            if (parser.MayNotify())
                document->DoProgress(parser.Position());
            node = open.empty() ? this : open.back();
            if (ended != element) {
                // Elements left open by the end of the stream were reported
                // with it, once, not level by level.
                if (ended != nullptr || !parser.EndOfStream())
                    LevelMismatch(*node, parser, element, ended);
                continue; // node's list ends there too
            }
            if (parser.MayNotify())
                node->NotifyNodeParsed(element);
            if (document->AbortParsing() || parser.EndOfStream()) {
                ended = nullptr; // node's list ends without its end tag
                continue;
            }
            break; // node's content goes on
        }
    }
}

// --- element ---------------------------------------------------------------------

TXmlNode* TxElement::ReadFromParser(TxXmlParser& parser)
{
    // Whatever ends the reading, every element gets the nodes collected for it.
    const std::size_t depth = parser.CollectDepth();
    TXmlNode* result = nullptr;
    try {
        if (!ReadStartTag(*this, parser)) {
            parser.EndNodesDownTo(depth);
            return this;
        }
        result = ParseElementList(parser, kElementContentKinds);
    } catch (...) {
        parser.EndNodesDownTo(depth);
        throw;
    }
    parser.EndNodesDownTo(depth);
    Document()->DoProgress(parser.Position());
    return result;
}

void TxElement::ParseTextBetweenTags(TxXmlParser& parser)
{
    const std::string_view text = parser.ReadUntilChar('<');
    if (text.empty())
        return;
    TXmlDocument* document = Document();
    const TxSplitText parts = SplitBlanks(text);
    const bool preserve = document->PreservesWhiteSpace();
    if (preserve && !parts.Leading.empty()) {
        AppendWhiteSpace(parser, parts.Leading);
    }
    if (!parts.Core.empty()) {
        // Stored escaped, as read.
        const int index = AddParsedText(parser, xeCharData, parser.Intern(document->SymbolTable(), parts.Core));
        if (ValueIndex() < 0)
            SetValueIndex(index);
        parser.CheckCharacterReferences(parts.Core);
        if (parser.MayNotify()) { // then the text is a node
            TXmlNode* data = NodeAt(index);
            NotifyNodeCreated(data);
            NotifyNodeParsed(data);
        }
    }
    if (preserve && !parts.Trailing.empty()) {
        AppendWhiteSpace(parser, parts.Trailing);
    }
}

TXmlNode* TxElement::RepairEndTag(const std::string& endTagName)
{
    TXmlDocument* document = Document();
    for (int counter = 0;; ++counter) {
        TXmlNode* parent = Parent();
        const std::string parentName = parent != nullptr ? std::string(parent->NameView()) : std::string();
        if (parentName == endTagName) {
            EmitDebug(this, dlHint,
                      DebugFormat("parent%d = \"%s\", this endtag = \"%s\": maybe \"%s\" should be closed", counter,
                                  parentName.c_str(), endTagName.c_str(), std::string(NameView()).c_str()));
            document->MarkUnclosed(this);
            break;
        }
        if (parent == nullptr)
            break;
        TXmlNode* grandparent = parent->Parent();
        if (grandparent == nullptr)
            break; // nowhere to move it
        EmitDebug(this, dlInfo,
                  DebugFormat("moving node \"%s\" from parent \"%s\" to grandparent \"%s\"",
                              std::string(NameView()).c_str(), parentName.c_str(),
                              std::string(grandparent->NameView()).c_str()));
        // The parent's end tag never came: it is the element to close.
        document->MarkUnclosed(parent);
        parent->NodeExtract(this);
        grandparent->NodeAdd(this);
        if (parentName.empty())
            break;
    }
    return Parent();
}

} // namespace xml
