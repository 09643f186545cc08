// Reading the leaf nodes from the parser: quoted literals and attributes.

#include "xml/CharData.h"
#include "xml/TextRoutines.h"
#include "xml/XmlDocument.h"
#include "xml/XmlParser.h"

namespace xml {

TXmlNode* TxQuotedText::ReadFromParser(TxXmlParser& parser)
{
    const char c = parser.SkipBlanks();
    char close = c;
    if (c == 0 && parser.EndOfStream()) {
        parser.ReportPrematureEnd(dlWarn, this);
        return this;
    }
    if (c == '"') {
        SetQuoteStyle(qsDouble);
    } else if (c == '\'') {
        SetQuoteStyle(qsSingle);
    } else {
        EmitDebug(this, dlWarn,
                  DebugFormat("quote char expected at pos %lld", AsLongLong(parser.Position())));
        if (!Document()->RepairStructure())
            return this; // empty; the unexpected character stays consumed
        // An unquoted value runs up to the next space.
        parser.Unread(c);
        close = ' ';
    }
    std::string_view text;
    if (!parser.ReadUntilChar(close, text))
        parser.ReportPrematureEnd(dlWarn, this); // what was read is kept
    parser.CheckCharacterReferences(text);
    SetValueId(parser.Intern(Document()->SymbolTable(), text)); // stored as written: escaped already
    return this;
}

TXmlNode* TxAttribute::ReadFromParser(TxXmlParser& parser)
{
    std::string_view name;
    const bool complete = parser.ReadUntilChar('=', name);
    TxSymbolTable& table = Document()->SymbolTable();
    SetNameId(parser.Intern(table, TrimmedView(name)));
    if (!complete)
        parser.ReportPrematureEnd(dlWarn, this);
    else
        ReadValue(parser, table);
    return this;
}

void TxAttribute::ReadValue(TxXmlParser& parser, TxSymbolTable& table)
{
    // A value in quotes, whole, is kept without a value node. Anything else
    // the value node reads and reports, as it reads a literal of its own.
    const char c = parser.SkipBlanks();
    if (c != '"' && c != '\'') {
        parser.Unread(c);
        ValueNode()->ReadFromParser(parser);
        return;
    }
    SetQuoteStyle(c == '"' ? qsDouble : qsSingle);
    std::string_view text;
    if (!parser.ReadUntilChar(c, text))
        parser.ReportPrematureEnd(dlWarn, ValueNode()); // what was read is kept
    parser.CheckCharacterReferences(text);
    SetValueId(parser.Intern(table, text)); // stored as written: escaped already
}

} // namespace xml
