#include "xml/WriteStyle.h"

#include "xml/XmlDocument.h"

namespace xml {

TxWriteStyle::TxWriteStyle(const TXmlDocument& document)
    : document_(document), symbols_(document.SymbolTable()), selfClose_(document.SelfCloseText()),
      lineBreaks_(document.LineBreakStyle()), forcedClosing_(document.EmptyElementStyle()),
      readable_(document.Layout() == xlReadable), reportsProgress_(static_cast<bool>(document.OnLoadProgress))
{
    if (readable_)
        lineFeed_ = LineBreakText(lineBreaks_);
}

std::string_view TxWriteStyle::IndentFor(int depth) const { return document_.IndentFor(depth); }

} // namespace xml
