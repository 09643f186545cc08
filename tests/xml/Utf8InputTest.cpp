// Text read as UTF-8 that is not: one warning names the first bytes that are
// not UTF-8, wherever they stand, and the bytes stay as they were read.

#include "xml/XmlDocument.h"

#include "tests/xml/LoadedDocument.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace xml;
using xmltest::Loaded;

namespace {

const std::string kDeclaration = "<?xml version=\"1.0\"?>";

std::string NotUtf8(std::size_t position)
{
    return "warn: bytes that are not UTF-8 at pos " + std::to_string(position) + ", kept as read";
}

} // namespace

TEST(Utf8Input, Windows1250BytesInAUtf8DocumentGiveOneWarningAndStay)
{
    const std::string source = kDeclaration + "<r a=\"\xE8\">\xF8\xED\x9E \xE8</r>";
    Loaded l(source);
    EXPECT_EQ(l.Messages(dlWarn), std::vector<std::string>{NotUtf8(kDeclaration.size() + 6)})
        << "one warning, at the first of them";
    ASSERT_NE(l.doc.RootElement(), nullptr);
    EXPECT_EQ(l.doc.RootElement()->AttributeValueNamed("a"), "\xE8");
    EXPECT_EQ(l.doc.RootElement()->GetValue(), "\xF8\xED\x9E \xE8");
    EXPECT_EQ(l.doc.WriteToText(), kDeclaration + "\r\n<r a=\"\xE8\">\xF8\xED\x9E \xE8</r>")
        << "the bytes are saved as they were read";
}

TEST(Utf8Input, EveryKindOfMalformedSequenceIsFound)
{
    struct Case {
        const char* bytes;
        const char* what;
    };
    for (const Case& c : {Case{"\x80", "a continuation byte alone"}, Case{"\xC0\xAF", "an overlong slash"},
                          Case{"\xE0\x80\xBC", "an overlong less-than"}, Case{"\xED\xA0\x80", "a surrogate"},
                          Case{"\xF4\x90\x80\x80", "past U+10FFFF"}, Case{"\xC4x", "a lead without its byte"},
                          Case{"\xFE", "a byte that never stands in UTF-8"}}) {
        const std::string source = kDeclaration + "<r>ok č " + c.bytes + " ok</r>";
        Loaded l(source);
        EXPECT_EQ(l.Messages(dlWarn), std::vector<std::string>{NotUtf8(kDeclaration.size() + 9)}) << c.what;
        EXPECT_EQ(l.doc.WriteToUtf8Text(), kDeclaration + "\r\n<r>ok č " + c.bytes + " ok</r>") << c.what;
    }
}

TEST(Utf8Input, WellFormedTextGivesNoWarning)
{
    Loaded l(kDeclaration + "<r a='Žluťoučký'>kůň € 😀 \xEF\xBF\xBD \xF4\x8F\xBF\xBF</r>");
    EXPECT_EQ(l.Messages(dlWarn), std::vector<std::string>{});

    // Characters cut by every chunk border and every flush, far beyond the first.
    std::string big = kDeclaration + "<r>";
    for (int i = 0; big.size() < 200000; ++i)
        big += "<e n=\"" + std::to_string(i) + "\">č€😀" + std::string(static_cast<std::size_t>(i % 7), 'x') + "</e>\r\n";
    big += "</r>";
    Loaded large(big);
    EXPECT_EQ(large.Messages(dlWarn), std::vector<std::string>{});
    EXPECT_EQ(large.doc.WriteToText(), kDeclaration + "\r\n" + big.substr(kDeclaration.size()));
}

TEST(Utf8Input, TheFirstBadBytesAreNamedFarIntoALargeDocument)
{
    std::string big = kDeclaration + "<r>\r\n";
    std::size_t decoded = kDeclaration.size() + 4; // CR LF read as LF
    for (int i = 0; i < 20000; ++i) {
        big += "<e>čá</e>\r\n";
        decoded += 12; // "č" and "á" take two bytes each
    }
    const std::size_t first = decoded + 3;
    big += "<e>\xE8</e>\r\n<e>\x9A</e>\r\n</r>";
    Loaded l(big);
    EXPECT_EQ(l.Messages(dlWarn), std::vector<std::string>{NotUtf8(first)}) << "once, at the first";
    ASSERT_NE(l.doc.RootElement(), nullptr);
    EXPECT_EQ(l.doc.RootElement()->ElementCount(), 20002);
    EXPECT_EQ(l.doc.RootElement()->ElementAt(20000)->GetValue(), "\xE8");

    // A character cut by the very end of the text.
    Loaded cut(kDeclaration + "<r/>\xC4");
    EXPECT_EQ(cut.Messages(dlWarn), std::vector<std::string>{NotUtf8(kDeclaration.size() + 4)});
}

TEST(Utf8Input, TextConvertedFromAnotherEncodingIsNotChecked)
{
    // Windows-1250 bytes in a document that says so: letters, not faults,
    // also those in the chunk that was read before the declaration.
    Loaded ansi("<?xml version=\"1.0\" encoding=\"windows-1250\"?><r a=\"\xE8\">\xF8\xED\x9E</r>");
    EXPECT_EQ(ansi.Messages(dlWarn), std::vector<std::string>{});
    EXPECT_EQ(ansi.doc.RootElement()->GetValue(), "říž");

    // A lone surrogate in UTF-16 becomes U+FFFD on the way in, not a fault of UTF-8.
    const std::u16string wide = std::u16string(u"<r>a") + char16_t(0xD800) + u"b</r>";
    std::string bytes = "\xFF\xFE";
    for (char16_t u : wide) {
        bytes += static_cast<char>(u & 0xFF);
        bytes += static_cast<char>(u >> 8);
    }
    Loaded utf16(bytes);
    EXPECT_EQ(utf16.Messages(dlWarn), std::vector<std::string>{});
    EXPECT_EQ(utf16.doc.RootElement()->GetValue(), "a\xEF\xBF\xBD" "b");
}

TEST(Utf8Input, MalformedBytesInLongCzechTextAreFoundAtEveryPlace)
{
    // Long runs of two-byte letters and ASCII, checked many bytes at a time;
    // one bad byte put at each place of a run is found exactly there.
    const std::string run = "Příliš žluťoučký kůň úpěl ďábelské ódy, ";
    std::string body;
    for (int i = 0; i < 4; ++i)
        body += run;
    body += "konec";
    {
        Loaded clean(kDeclaration + "<r>" + body + "</r>");
        EXPECT_EQ(clean.Messages(dlWarn), std::vector<std::string>{});
    }
    for (const char* bad : {"\x80", "\xC3", "\xC0\xAF", "\xE2\x82"}) {
        for (std::size_t at = 40; at < 90; ++at) {
            // A place between two characters: never inside a two-byte letter.
            if ((static_cast<unsigned char>(body[at]) & 0xC0) == 0x80)
                continue;
            const std::string text = body.substr(0, at) + bad + body.substr(at);
            Loaded l(kDeclaration + "<r>" + text + "</r>");
            EXPECT_EQ(l.Messages(dlWarn), std::vector<std::string>{NotUtf8(kDeclaration.size() + 3 + at)})
                << "bad bytes at " << at;
            EXPECT_EQ(l.doc.RootElement()->GetValue(), text);
        }
    }
}
