// Arbitrary bytes through the binary loader.
//
// A load either succeeds, or reports its failure and leaves the document as
// it was (a refused header) or empty (a damaged body); the only exception it
// may raise is the over-long varint's. A document that did load must write
// its text form, and saving it again must give a form that loads into a
// document with the same text and saves to the same bytes. A coded body is
// decoded by a copying coder, so that the bytes after the header are fuzzed
// the same way in both paths.

#include "xml/BinaryXml.h"
#include "xml/FastStreams.h"
#include "xml/XmlDocument.h"

#include "platform/core/Exceptions.h"

#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

using namespace xml;

namespace {

void Check(bool condition)
{
    if (!condition)
        std::abort();
}

void Copy(core::TStream& source, core::TStream& dest, const std::string&, std::int64_t)
{
    dest.CopyFrom(source, source.Size() - source.Position());
}

std::string Save(TXmlDocument& doc)
{
    TxStringStream out;
    doc.SaveBinaryStream(out);
    return out.AsString();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    TXmlDocument doc(nullptr, false, false, true, "puvodni");
    bool failed = false;
    doc.OnDebugMessage = [&failed](core::TObject*, TxDebugLevel level, const std::string& text) {
        if (level == dlFail && text != "duplicate symbol!")
            failed = true;
    };
    TxStringStream in(bytes);
    TxBinaryXml binary(&doc);
    binary.OnDecode = Copy;
    try {
        binary.ReadDocument(in);
    } catch (const core::Exception& e) {
        Check(e.Message() == "invalid cardinal reader");
        failed = true;
    }
    if (failed) {
        const bool unchanged = doc.TopNodeCount() == 1 && doc.RootElement() != nullptr &&
                               doc.RootElement()->GetName() == "puvodni";
        const bool empty = doc.TopNodeCount() == 0 && doc.SymbolTable().SymbolCount() == 0;
        Check(unchanged || empty);
        Check(in.Position() == 0);
        return 0;
    }
    Check(in.Position() <= static_cast<std::int64_t>(size));

    const std::string text = doc.WriteToUtf8Text();
    const std::string form = Save(doc);
    TXmlDocument again(nullptr);
    bool againFailed = false;
    again.OnDebugMessage = [&againFailed](core::TObject*, TxDebugLevel level, const std::string& message) {
        if (level >= dlWarn && message != "duplicate symbol!")
            againFailed = true;
    };
    TxStringStream second(form);
    again.LoadBinaryStream(second);
    Check(!againFailed);
    Check(second.Position() == static_cast<std::int64_t>(form.size()));
    Check(again.WriteToUtf8Text() == text);
    Check(Save(again) == form);
    return 0;
}
