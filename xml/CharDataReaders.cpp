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
    TxSymbolTable& table = Document()->SymbolTable();
    FinishReading(parser, table, ReadPlain(parser, table));
    return this;
}

TxAttribute::Reading TxAttribute::ReadPlain(TxXmlParser& parser, TxSymbolTable& table)
{
    Reading read;
    std::string_view name;
    const bool complete = parser.ReadUntilChar('=', name);
    read.nameId = parser.Intern(table, TrimmedView(name));
    if (!complete) {
        read.stop = Reading::CutInName;
        return read;
    }
    // A value in quotes, whole, is kept without a value node. Anything else
    // the value node reads and reports, as it reads a literal of its own.
    const char c = parser.SkipBlanks();
    if (c != '"' && c != '\'') {
        parser.Unread(c);
        read.stop = Reading::Unquoted;
        return read;
    }
    read.quote = c == '"' ? qsDouble : qsSingle;
    std::string_view text;
    if (!parser.ReadUntilChar(c, text)) {
        read.stop = Reading::CutInValue; // what was read is kept
        read.cutValue = text;
        return read;
    }
    parser.CheckCharacterReferences(text);
    read.valueId = parser.Intern(table, text); // stored as written: escaped already
    return read;
}

void TxAttribute::FinishReading(TxXmlParser& parser, TxSymbolTable& table, const Reading& read)
{
    SetNameId(read.nameId);
    switch (read.stop) {
    case Reading::CutInName:
        parser.ReportPrematureEnd(dlWarn, this);
        return;
    case Reading::Unquoted:
        ValueNode()->ReadFromParser(parser);
        return;
    case Reading::CutInValue:
        SetQuoteStyle(read.quote);
        parser.ReportPrematureEnd(dlWarn, ValueNode());
        parser.CheckCharacterReferences(read.cutValue);
        SetValueId(parser.Intern(table, read.cutValue));
        return;
    case Reading::Whole:
        SetQuoteStyle(read.quote);
        SetValueId(read.valueId);
        return;
    }
}

} // namespace xml
