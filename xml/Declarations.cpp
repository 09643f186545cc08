#include "xml/Declarations.h"

#include "xml/TextRoutines.h"

namespace xml {

// --- declaration and style sheet ----------------------------------------------------


void TxDeclaration::DoWrite(core::TStream& stream, int depth)
{
    Put(stream, IndentAt(depth));
    Put(stream, "<?xml");
    WriteAttributeBlock(stream, NodeCount(), depth);
    Put(stream, "?>");
    Put(stream, EolText());
    ReportProgress(stream);
}

void TxStyleSheet::DoWrite(core::TStream& stream, int depth)
{
    Put(stream, IndentAt(depth));
    Put(stream, "<?xml-stylesheet");
    WriteAttributeBlock(stream, NodeCount(), depth);
    Put(stream, "?>");
    Put(stream, LineFeedText());
    ReportProgress(stream);
}

// --- comment and CDATA ------------------------------------------------------------------


void TxComment::DoWrite(core::TStream& stream, int)
{
    Put(stream, "<!--");
    Put(stream, RawView());
    Put(stream, "-->");
    ReportProgress(stream);
}


void TxCData::DoWrite(core::TStream& stream, int)
{
    std::string_view rest = RawView();
    Put(stream, "<![CDATA[");
    for (std::size_t end = rest.find("]]>"); end != std::string_view::npos; end = rest.find("]]>")) {
        Put(stream, rest.substr(0, end + 2)); // "]]" closes nothing yet;
        Put(stream, "]]><![CDATA[");          // the ">" starts the next section
        rest.remove_prefix(end + 2);
    }
    Put(stream, rest);
    Put(stream, "]]>");
    ReportProgress(stream);
}

// --- processing instruction ------------------------------------------------------------------

void TxInstruction::SetValue(const std::string& value) { SetRawValue(NormalizeLineBreaks(value)); }


void TxInstruction::DoWrite(core::TStream& stream, int depth)
{
    Put(stream, IndentAt(depth));
    Put(stream, "<?");
    PutRawWithLineBreaks(stream);
    Put(stream, "?>");
    Put(stream, LineFeedText());
    ReportProgress(stream);
}

} // namespace xml
