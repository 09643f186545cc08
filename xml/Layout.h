#pragma once
// The shapes in which a document is written: layout, line breaks, how an
// element was closed, and which quote surrounds a literal.

#include <cstdint>

namespace xml {

enum TxXmlLayout : std::uint8_t {
    xlCompact = 0,  // no indentation, no line breaks between nodes
    xlReadable = 1, // one element a line, indented by depth
    xlPreserve = 2, // whitespace kept as read
};

enum TxLineBreakStyle : std::uint8_t { lbLF = 0, lbCRLF = 1, lbCR = 2 };

enum TxClosingStyle : std::uint8_t {
    csUnspecified = 0, // made by code
    csFull = 1,        // closed by an end tag
    csSelfClosing = 2, // closed by "/>"
};

enum TxQuoteStyle : std::uint8_t { qsDouble = 0, qsSingle = 1 };

} // namespace xml
