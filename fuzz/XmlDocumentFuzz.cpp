// Arbitrary bytes loaded as XML text and written back, in the ways a document
// can be set up to read them: as it comes, and repairing the structure,
// dropping comments and reading in the readable layout. Loading must never
// crash or raise on text; writing what was read must succeed. A document
// read as it comes (its plain attributes and its text packed) must write the
// same text as one read with node events (every leaf a node), before and
// after its packed leaves are made into nodes.

#include "xml/XmlDocument.h"

#include "platform/core/Exceptions.h"

#include <cstdint>
#include <string>
#include <vector>

using namespace xml;

namespace {

void Check(bool condition)
{
    if (!condition)
        std::abort();
}

// Every node of the tree asked for, which makes the packed leaves nodes.
void Visit(const TXmlNode* node)
{
    std::vector<const TXmlNode*> work{node};
    while (!work.empty()) {
        const TXmlNode* at = work.back();
        work.pop_back();
        for (int i = 0; i < at->NodeCount(); ++i) {
            const TXmlNode* child = at->NodeAt(i);
            Check(child->Parent() == at);
            work.push_back(child);
        }
    }
}

void CompareWithNodes(const std::string& text, TXmlDocument& doc, const std::string& written)
{
    TXmlDocument withNodes(nullptr);
    withNodes.OnDebugMessage = [](core::TObject*, TxDebugLevel, const std::string&) {};
    withNodes.OnNodeCreated = [](core::TObject*, TXmlNode*) {};
    withNodes.LoadFromText(text);
    withNodes.OnNodeCreated = nullptr;
    Check(withNodes.WriteToText() == written);
    for (int i = 0; i < doc.TopNodeCount(); ++i)
        Visit(doc.TopNodes().ItemAt(i));
    Check(doc.WriteToText() == written);
}

void LoadAndWrite(const std::string& text, bool repairing)
{
    TXmlDocument doc(nullptr);
    if (repairing) {
        doc.SetRepairStructure(true);
        doc.SetDropCommentsOnParse(true);
        doc.SetLayout(xlReadable);
    }
    int messages = 0;
    doc.OnDebugMessage = [&messages](core::TObject*, TxDebugLevel, const std::string&) { ++messages; };
    try {
        doc.LoadFromText(text);
    } catch (const core::Exception&) {
        // Only the binary form may raise on bad input.
        if (text.compare(0, 4, "$BXM") != 0)
            throw;
        return;
    }
    const std::string written = doc.WriteToText();
    doc.WriteToUtf8Text();
    if (!repairing)
        CompareWithNodes(text, doc, written);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string text(reinterpret_cast<const char*>(data), size);
    LoadAndWrite(text, false);
    LoadAndWrite(text, true);
    return 0;
}
