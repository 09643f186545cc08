// Reading declarations, comments, CDATA sections, processing instructions, the
// document type and the declarations of its internal subset. Each reader
// starts after the keyword that the parser's ReadTagKind consumed.

#include "xml/Declarations.h"
#include "xml/DocType.h"
#include "xml/TextRoutines.h"
#include "xml/XmlDocument.h"
#include "xml/XmlParser.h"

namespace xml {

namespace {

std::string Char(char c) { return std::string(1, c); }

// Reads a text up to its terminator into the node's value, as written; at the
// end of the stream the value stays empty.
void ReadText(TxCharData& node, TxXmlParser& parser, std::string_view terminator)
{
    std::string_view text;
    if (parser.ReadUntilText(terminator, text))
        node.SetRawValue(text);
}

// The body of a markup declaration up to its ">", which is consumed. Quoted
// literals are read as units: a ">" inside one (a default value, a public
// identifier) does not end the declaration. At the end of the stream the
// body stays empty, as a text cut off before its terminator does.
void ReadDeclarationBody(TxCharData& node, TxXmlParser& parser)
{
    std::string body;
    char quote = 0;
    for (;;) {
        const char c = parser.NextChar();
        if (c == 0 && parser.EndOfStream()) {
            parser.ReportPrematureEnd(dlWarn, &node);
            return;
        }
        if (quote != 0) {
            if (c == quote)
                quote = 0;
        } else if (c == '"' || c == '\'') {
            quote = c;
        } else if (c == '>') {
            break;
        }
        body.push_back(c);
    }
    node.SetRawValue(body);
}

// After a "%" in the internal subset: a parameter-entity reference, "%name;",
// is kept as character data of the document type, to be written back where
// it stood. False, with the read position at the "%"'s next byte again, when
// no reference follows; true, with nothing added, at the end of the stream.
bool ReadParameterEntityReference(TxDocType& docType, TxXmlParser& parser)
{
    std::string reference = "%";
    for (;;) {
        const char c = parser.NextChar();
        if (c == ';' && reference.size() > 1)
            break;
        if (c == 0 && parser.EndOfStream())
            return true; // the subset's list reports the end
        if (std::string_view("\t\n\r ;%<>[]\"'").find(c) != std::string_view::npos || c == 0) {
            parser.Unread(c);
            for (std::size_t i = 1; i < reference.size(); ++i)
                parser.MoveBack();
            return false;
        }
        reference.push_back(c);
    }
    reference.push_back(';');
    TXmlDocument* document = docType.Document();
    auto* text = NewParsedNode<TxCharData>(document);
    text->SetValueId(parser.Intern(document->SymbolTable(), reference));
    docType.NodeAdd(text);
    docType.NotifyNodeCreated(text);
    docType.NotifyNodeParsed(text);
    return true;
}

// SkipBlanks and step back: the read position at the next non-blank byte.
void SkipToContent(TxXmlParser& parser) { parser.Unread(parser.SkipBlanks()); }

} // namespace

TXmlNode* TxDeclaration::ReadFromParser(TxXmlParser& parser)
{
    char c = ParseAttributeList(parser);
    if (c == 0 && parser.EndOfStream())
        return this; // reported by the attribute list
    if (c == '?') {
        c = parser.NextChar();
        if (c == 0 && parser.EndOfStream()) {
            parser.ReportPrematureEnd(dlWarn, this);
            return this;
        }
        if (c == '>') {
            // The line break after the declaration belongs to it: it is written
            // with it in every layout. A style sheet's is not, so it stays text.
            if (NodeKind() == xeDeclaration) {
                parser.SkipChar('\r');
                parser.SkipChar('\n');
            }
            return this;
        }
    }
    EmitDebug(this, dlWarn,
              DebugFormat("illegal end tag (\"%s\") at line %lld (streampos %lld)", Char(c).c_str(),
                          AsLongLong(parser.LineNumber()), AsLongLong(parser.Position())));
    return this;
}

TXmlNode* TxComment::ReadFromParser(TxXmlParser& parser)
{
    ReadText(*this, parser, "-->");
    return this;
}

TXmlNode* TxCData::ReadFromParser(TxXmlParser& parser)
{
    ReadText(*this, parser, "]]>");
    return this;
}

TXmlNode* TxInstruction::ReadFromParser(TxXmlParser& parser)
{
    ReadText(*this, parser, "?>");
    return this;
}

TXmlNode* TxDocType::ReadFromParser(TxXmlParser& parser)
{
    SkipToContent(parser);
    std::string_view name;
    if (parser.ReadName(name))
        SetName(std::string(TrimmedView(name)));
    char c = parser.SkipBlanks();
    if (c == 0 && parser.EndOfStream()) {
        parser.ReportPrematureEnd(dlWarn, this);
        return this;
    }
    if (c != '>' && c != '[') {
        parser.Unread(c);
        if (parser.MatchKeyword("SYSTEM")) {
            ExternalId()->SetRawValue("SYSTEM");
            SystemLiteral()->ReadFromParser(parser);
        } else if (parser.MatchKeyword("PUBLIC")) {
            ExternalId()->SetRawValue("PUBLIC");
            PublicLiteral()->ReadFromParser(parser);
            SystemLiteral()->ReadFromParser(parser);
        } else if (parser.EndsWithin("SYSTEM") || parser.EndsWithin("PUBLIC")) {
            parser.ReportPrematureEnd(dlWarn, this);
            return this;
        } else {
            EmitDebug(this, dlWarn,
                      DebugFormat("illegal tag (\"%s\") at pos %lld", Char(c).c_str(), AsLongLong(parser.Position())));
            return this;
        }
        c = parser.SkipBlanks();
    }
    TXmlNode* result = this;
    if (c == '[') {
        result = ParseElementList(parser, kInternalSubsetKinds);
        c = parser.SkipBlanks();
    }
    if (c == 0 && parser.EndOfStream())
        parser.ReportPrematureEnd(dlWarn, this);
    else if (c != '>')
        EmitDebug(this, dlWarn,
                  DebugFormat("illegal tag (\"%s\") at pos %lld", Char(c).c_str(), AsLongLong(parser.Position())));
    return result;
}

void TxDocType::ParseTextBetweenTags(TxXmlParser& parser)
{
    TXmlDocument* document = Document();
    for (;;) {
        std::string_view blanks;
        const char c = parser.SkipBlanks(blanks);
        if (document->PreservesWhiteSpace() && !blanks.empty() && !IsSingleSpace(blanks)) {
            AppendWhiteSpace(parser, blanks);
        }
        if (c == '<' || c == ']' || (c == 0 && parser.EndOfStream()))
            return; // the element list reads the "<" or "]" again
        if (c == '%' && ReadParameterEntityReference(*this, parser))
            continue;
        EmitDebug(this, dlWarn,
                  DebugFormat("illegal tag (\"%s\") at pos %lld", Char(c).c_str(), AsLongLong(parser.Position())));
        std::string_view word;
        parser.ReadName(word);
    }
}

TXmlNode* TxDtdElement::ReadFromParser(TxXmlParser& parser)
{
    SkipToContent(parser);
    std::string_view name;
    if (parser.ReadName(name))
        SetName(std::string(TrimmedView(name)));
    SkipToContent(parser);
    ParseContent(parser);
    return this;
}

void TxDtdElement::ParseContent(TxXmlParser& parser)
{
    // The whole body up to ">" is one text.
    auto* body = NewParsedNode<TxCharData>(Document());
    NodeAdd(body);
    NotifyNodeCreated(body);
    ReadDeclarationBody(*body, parser);
    NotifyNodeParsed(body);
}

void TxDtdEntity::ParseContent(TxXmlParser& parser)
{
    const char c = ParseQuotedTextList(parser);
    if (c == 0 && parser.EndOfStream())
        parser.ReportPrematureEnd(dlWarn, this);
    else if (c != '>')
        EmitDebug(this, dlFail,
                  DebugFormat("illegal end tag (\"%s\") at line %lld (streampos %lld)", Char(c).c_str(),
                              AsLongLong(parser.LineNumber()), AsLongLong(parser.Position())));
}

} // namespace xml
