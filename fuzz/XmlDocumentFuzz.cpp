// Arbitrary bytes loaded as XML text and written back, in the ways a document
// can be set up to read them: as it comes, and repairing the structure,
// dropping comments and reading in the readable layout. Loading must never
// crash or raise on text; writing what was read must succeed.

#include "xml/XmlDocument.h"

#include "platform/core/Exceptions.h"

#include <cstdint>
#include <string>

using namespace xml;

namespace {

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
    doc.WriteToText();
    doc.WriteToUtf8Text();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string text(reinterpret_cast<const char*>(data), size);
    LoadAndWrite(text, false);
    LoadAndWrite(text, true);
    return 0;
}
