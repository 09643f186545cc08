#pragma once
// What writing a subtree asks of its document at every node, looked up once
// per write: the symbol table, the line breaks, the layout's indentation and
// line feeds, how empty elements close, and whether anybody follows progress.

#include "xml/Layout.h"
#include "xml/SymbolTable.h"

#include <cstdint>
#include <string>
#include <string_view>

namespace xml {

class TXmlDocument;

class TxWriteStyle {
public:
    explicit TxWriteStyle(const TXmlDocument& document);

    std::string_view Symbol(std::int32_t id) const { return symbols_.LookupView(id); }
    TxLineBreakStyle LineBreaks() const noexcept { return lineBreaks_; }
    // The line break in the readable layout, else empty.
    std::string_view LineFeed() const noexcept { return lineFeed_; }
    // The indentation of a line at depth in the readable layout, else empty.
    std::string_view Indent(int depth) const { return readable_ ? IndentFor(depth) : std::string_view(); }
    std::string_view SelfClose() const noexcept { return selfClose_; }
    // The document's EmptyElementStyle when it is set, else own.
    TxClosingStyle Closing(TxClosingStyle own) const noexcept { return forcedClosing_ != csUnspecified ? forcedClosing_ : own; }
    bool ReportsProgress() const noexcept { return reportsProgress_; }

private:
    std::string_view IndentFor(int depth) const;

    const TXmlDocument& document_;
    TxSymbolTable& symbols_;
    std::string_view lineFeed_;
    std::string selfClose_; // a copy: the text stays even if a progress handler changes it
    TxLineBreakStyle lineBreaks_;
    TxClosingStyle forcedClosing_;
    bool readable_;
    bool reportsProgress_;
};

} // namespace xml
