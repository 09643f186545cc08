#pragma once
// The shapes in which a document is written: layout, line breaks, how an
// element was closed, and which quote surrounds a literal.

#include <cstdint>
#include <string_view>

namespace xml {

enum TxXmlLayout : std::uint8_t {
    xlCompact = 0,  // no indentation, no line breaks between nodes
    xlReadable = 1, // one element a line, indented by depth
    xlPreserve = 2, // whitespace kept as read
};

enum TxLineBreakStyle : std::uint8_t { lbLF = 0, lbCRLF = 1, lbCR = 2 };

// "\r\n", "\r" or "\n".
constexpr std::string_view LineBreakText(TxLineBreakStyle style) noexcept
{
    return style == lbCRLF ? std::string_view("\r\n", 2) : style == lbCR ? std::string_view("\r", 1) : std::string_view("\n", 1);
}

enum TxClosingStyle : std::uint8_t {
    csUnspecified = 0, // made by code
    csFull = 1,        // closed by an end tag
    csSelfClosing = 2, // closed by "/>"
};

enum TxQuoteStyle : std::uint8_t { qsDouble = 0, qsSingle = 1 };

} // namespace xml
