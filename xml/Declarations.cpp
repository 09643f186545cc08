#include "xml/Declarations.h"

#include "xml/TextRoutines.h"
#include "xml/VarInt.h"

namespace xml {

// --- declaration and style sheet ----------------------------------------------------

namespace {

// The place of a pseudo-attribute in a declaration; others come after these.
int PseudoAttributeRank(std::string_view name)
{
    static constexpr std::string_view kOrder[] = {"version", "encoding", "standalone"};
    for (int i = 0; i < 3; ++i)
        if (name == kOrder[i])
            return i;
    return 3;
}

} // namespace

void TxDeclaration::SetPseudoAttribute(const std::string& name, const std::string& value)
{
    if (TxAttribute* attribute = AttributeNamed(name)) {
        attribute->SetValue(value);
        return;
    }
    auto* added = new TxAttribute(Document());
    added->SetName(name);
    added->SetValue(value);
    const int rank = PseudoAttributeRank(name);
    for (int i = 0; i < DirectNodeCount(); ++i) {
        const TXmlNode* node = NodeAt(i);
        if (node->NodeKind() == xeAttribute && PseudoAttributeRank(node->NameView()) > rank) {
            NodeInsert(i, added); // inside the block, which grows by it
            return;
        }
    }
    AttributeAdd(added);
}


void TxDeclaration::DoWrite(core::TStream& stream, int depth)
{
    WriteStringBytes(stream, IndentAt(depth));
    WriteStringBytes(stream, "<?xml");
    WriteAttributeBlock(stream, NodeCount(), depth);
    WriteStringBytes(stream, "?>");
    WriteStringBytes(stream, EolText());
    ReportProgress(stream);
}

void TxStyleSheet::DoWrite(core::TStream& stream, int depth)
{
    WriteStringBytes(stream, IndentAt(depth));
    WriteStringBytes(stream, "<?xml-stylesheet");
    WriteAttributeBlock(stream, NodeCount(), depth);
    WriteStringBytes(stream, "?>");
    WriteStringBytes(stream, LineFeedText());
    ReportProgress(stream);
}

// --- comment and CDATA ------------------------------------------------------------------


void TxComment::DoWrite(core::TStream& stream, int)
{
    WriteStringBytes(stream, "<!--");
    WriteStringBytes(stream, RawView());
    WriteStringBytes(stream, "-->");
    ReportProgress(stream);
}


void TxCData::DoWrite(core::TStream& stream, int)
{
    std::string_view rest = RawView();
    WriteStringBytes(stream, "<![CDATA[");
    for (std::size_t end = rest.find("]]>"); end != std::string_view::npos; end = rest.find("]]>")) {
        WriteStringBytes(stream, rest.substr(0, end + 2)); // "]]" closes nothing yet;
        WriteStringBytes(stream, "]]><![CDATA[");          // the ">" starts the next section
        rest.remove_prefix(end + 2);
    }
    WriteStringBytes(stream, rest);
    WriteStringBytes(stream, "]]>");
    ReportProgress(stream);
}

// --- processing instruction ------------------------------------------------------------------

void TxInstruction::SetValue(const std::string& value) { SetRawValue(NormalizeLineBreaks(value)); }


void TxInstruction::DoWrite(core::TStream& stream, int depth)
{
    WriteStringBytes(stream, IndentAt(depth));
    WriteStringBytes(stream, "<?");
    PutRawWithLineBreaks(stream);
    WriteStringBytes(stream, "?>");
    WriteStringBytes(stream, LineFeedText());
    ReportProgress(stream);
}

} // namespace xml
