// Arbitrary bytes through the parser's decoding and token readers.
//
// The first byte picks a chunk size; the decoded text must not depend on it
// (a CR LF pair, a UTF-16 unit or a surrogate pair cut by a chunk end is
// carried over). Then the readers run in an order drawn from the input over a
// parser of that chunk size; they must stay inside the text and end.

#include "xml/FastStreams.h"
#include "xml/XmlParser.h"

#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

using namespace xml;

namespace {

std::string DecodeAll(std::string_view bytes, std::int32_t chunkSize)
{
    TxStringStream stream(bytes);
    TxXmlParser parser(stream, chunkSize, nullptr);
    parser.DetectEncoding();
    std::string text;
    while (!parser.EndOfStream())
        text.push_back(parser.NextChar());
    return text;
}

void RunReaders(std::string_view bytes, std::int32_t chunkSize, std::uint32_t seed)
{
    TxStringStream stream(bytes);
    TxXmlParser parser(stream, chunkSize, nullptr);
    parser.DetectEncoding();
    std::string text;
    std::string_view view;
    // Every reader but MoveBack consumes or ends, so the loop is bounded by the text.
    for (int steps = 0; !parser.EndOfStream() && steps < 100000; ++steps) {
        seed = seed * 1103515245u + 12345u;
        switch ((seed >> 16) % 12) {
        case 0: parser.NextChar(); break;
        case 1: parser.NextChar(); parser.MoveBack(); parser.NextChar(); break;
        case 2: parser.SkipBlanks(view); break;
        case 3: parser.ReadStringUntilChar("<>\"'=/"[(seed >> 8) % 6], text); break;
        case 4: parser.ReadUntilText((seed & 0x100) ? "-->" : "]]>", view); break;
        case 5: parser.ReadName(view); parser.NextChar(); break;
        case 6: parser.MatchKeyword((seed & 0x100) ? "doctype" : "<?xml"); parser.NextChar(); break;
        case 7: parser.ReadTagKind(); parser.NextChar(); break;
        case 8: parser.Flush(); parser.NextChar(); break;
        case 9: parser.LineNumber(); parser.NextChar(); break;
        case 10:
            parser.SetEncoding(seAnsi);
            parser.SetCodePage((seed & 0x100) ? 1250 : 0);
            parser.NextChar();
            break;
        default: parser.CheckCharacterReferences(parser.ReadUntilChar('<')); break;
        }
        if (parser.Position() < 0 || parser.LineNumber() < 0)
            std::abort();
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size == 0)
        return 0;
    const std::int32_t chunkSize = 1 + data[0] % 64;
    const std::string_view bytes(reinterpret_cast<const char*>(data) + 1, size - 1);
    if (DecodeAll(bytes, chunkSize) != DecodeAll(bytes, 256)) {
        // A document whose first chunk is too short to detect is the one exception.
        if (bytes.size() >= 5 && static_cast<std::size_t>(chunkSize) >= 5)
            std::abort();
    }
    RunReaders(bytes, chunkSize, size > 1 ? data[1] : 0);
    return 0;
}
