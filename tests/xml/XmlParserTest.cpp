#include "xml/XmlParser.h"

#include "xml/FastStreams.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace xml;

namespace {

struct Heard {
    TxDebugLevel level;
    std::string message;
};

// A parser over bytes with a listener that records every message.
struct Parsing {
    explicit Parsing(std::string bytes, std::int32_t chunkSize = 256)
        : stream(bytes), owner(nullptr), parser(stream, chunkSize, &owner)
    {
        owner.OnDebugMessage = [this](core::TObject*, TxDebugLevel level, const std::string& message) {
            heard.push_back({level, message});
        };
    }

    // Everything that is left of the decoded text.
    std::string Rest()
    {
        std::string text;
        parser.ReadStringUntilChar('\x01', text);
        return text;
    }

    TxStringStream stream;
    TDebugComponent owner;
    TxXmlParser parser;
    std::vector<Heard> heard;
};

std::string Utf16(std::u16string_view text, bool bigEndian, bool mark)
{
    std::string bytes;
    if (mark)
        bytes += bigEndian ? "\xFE\xFF" : "\xFF\xFE";
    for (char16_t u : text) {
        const char hi = static_cast<char>(u >> 8), lo = static_cast<char>(u & 0xFF);
        bytes += bigEndian ? std::string{hi, lo} : std::string{lo, hi};
    }
    return bytes;
}

} // namespace

TEST(XmlParserDetection, ShortSourceWarnsAndGivesNothing)
{
    Parsing p("<a/>");
    p.parser.DetectEncoding();
    ASSERT_EQ(p.heard.size(), 1u);
    EXPECT_EQ(p.heard[0].level, dlWarn);
    EXPECT_EQ(p.heard[0].message, "stream terminated prematurely at pos 4");
    EXPECT_TRUE(p.parser.EndOfStream());
    EXPECT_EQ(p.parser.NextChar(), 0);
}

TEST(XmlParserDetection, Utf8MarkIsSkippedAndNothingIsAppended)
{
    Parsing p("\xEF\xBB\xBF<a>\xC5\xBEluť</a>");
    p.parser.DetectEncoding();
    EXPECT_EQ(p.parser.Encoding(), seUtf8);
    EXPECT_EQ(p.parser.ByteOrderMark().MarkPresent, 1);
    ASSERT_EQ(p.heard.size(), 1u);
    EXPECT_EQ(p.heard[0].level, dlInfo);
    EXPECT_EQ(p.heard[0].message, "BOM with encoding utf-8");
    EXPECT_EQ(p.Rest(), "<a>\xC5\xBEluť</a>");
    EXPECT_TRUE(p.parser.EndOfStream());
}

TEST(XmlParserDetection, DeclarationStartIsAnsiWithoutMark)
{
    Parsing p("<?xml version=\"1.0\"?><a/>");
    p.parser.DetectEncoding();
    EXPECT_EQ(p.parser.Encoding(), seAnsi);
    EXPECT_EQ(p.parser.CodePage(), 0);
    EXPECT_EQ(p.parser.ByteOrderMark().MarkPresent, 0);
    EXPECT_TRUE(p.heard.empty());
    EXPECT_EQ(p.Rest(), "<?xml version=\"1.0\"?><a/>");
}

TEST(XmlParserDetection, UnknownStartIsTakenAsUtf8WithAWarning)
{
    Parsing p("<root>x</root>");
    p.parser.DetectEncoding();
    EXPECT_EQ(p.parser.Encoding(), seUtf8);
    ASSERT_EQ(p.heard.size(), 1u);
    EXPECT_EQ(p.heard[0].level, dlWarn);
    EXPECT_EQ(p.heard[0].message, "unknown encoding");
    EXPECT_EQ(p.Rest(), "<root>x</root>");
}

TEST(XmlParserDetection, WideFormsAreRecognisedAndRefused)
{
    const struct {
        std::string bytes;
        const char* name;
    } cases[] = {
        {std::string("\x00\x00\xFE\xFF\x00\x00\x00<", 8), "utf-32BE"},
        {std::string("\xFF\xFE\x00\x00<\x00\x00\x00", 8), "utf-32"},
        {std::string("<\x00\x00\x00?\x00\x00\x00", 8), "utf-32"},
        {std::string("\x4C\x6F\xA7\x94\x00", 5), "ebcdic"},
    };
    for (const auto& c : cases) {
        Parsing p(c.bytes);
        p.parser.DetectEncoding();
        ASSERT_EQ(p.heard.size(), 1u) << c.name;
        EXPECT_EQ(p.heard[0].level, dlFail);
        EXPECT_EQ(p.heard[0].message, std::string("unsupported encoding (") + c.name + ")");
        EXPECT_TRUE(p.parser.EndOfStream());
        EXPECT_EQ(p.Rest(), "");
    }
}

TEST(XmlParserDetection, BinaryMagicNeedsFiveBytes)
{
    EXPECT_TRUE(Parsing("$BXM\x01").parser.HasBinaryMagic());
    EXPECT_FALSE(Parsing("$BXM").parser.HasBinaryMagic());
    EXPECT_FALSE(Parsing("<BXM\x01").parser.HasBinaryMagic());
}

TEST(XmlParserDecoding, Utf16WithMarkInBothByteOrders)
{
    const std::u16string text = u"<a>Příliš\r\nžluťoučký\r</a>";
    for (bool bigEndian : {false, true}) {
        Parsing p(Utf16(text, bigEndian, true));
        p.parser.DetectEncoding();
        EXPECT_EQ(p.parser.Encoding(), bigEndian ? seUtf16BE : seUtf16LE);
        ASSERT_EQ(p.heard.size(), 1u);
        EXPECT_EQ(p.heard[0].message, bigEndian ? "BOM with encoding unicodeFFFE" : "BOM with encoding utf-16");
        EXPECT_EQ(p.Rest(), "<a>Příliš\nžluťoučký\n</a>");
    }
}

TEST(XmlParserDecoding, Utf16WithoutMarkByItsFirstCharacters)
{
    Parsing p(Utf16(u"<?xml version='1.0'?><a/>", false, false));
    p.parser.DetectEncoding();
    EXPECT_EQ(p.parser.Encoding(), seUtf16LE);
    EXPECT_EQ(p.parser.ByteOrderMark().MarkPresent, 0);
    EXPECT_TRUE(p.heard.empty());
    EXPECT_EQ(p.Rest(), "<?xml version='1.0'?><a/>");
}

TEST(XmlParserDecoding, CrLfSplitAcrossTheChunkBorderIsOneLf)
{
    // UTF-8: the CR is byte 256 of the source, its LF the first of the second chunk.
    std::string line(255, 'x');
    Parsing p("<" + line.substr(1) + "\r\n<b/>");
    p.parser.DetectEncoding();
    EXPECT_EQ(p.Rest(), "<" + line.substr(1) + "\n<b/>");

    // UTF-16: the CR ends the first 256 bytes (after the mark), the LF starts the next.
    std::u16string wide(126, u'y');
    Parsing q(Utf16(u"<" + wide + u"\r\n</a>", false, true));
    q.parser.DetectEncoding();
    EXPECT_EQ(q.Rest(), "<" + std::string(126, 'y') + "\n</a>");
}

TEST(XmlParserDecoding, CodeUnitsCutByTheChunkEndAreCarried)
{
    // Odd chunk sizes cut every other unit in half; the pair U+1F600 is cut too.
    const std::u16string text = u"<a>čšř\r\n\U0001F600ž</a>";
    for (std::int32_t chunk : {5, 6, 7, 9, 256}) {
        for (bool bigEndian : {false, true}) {
            Parsing p(Utf16(text, bigEndian, true), chunk);
            p.parser.DetectEncoding();
            EXPECT_EQ(p.Rest(), "<a>čšř\n\U0001F600ž</a>") << "chunk " << chunk;
        }
    }
}

TEST(XmlParserDecoding, OddByteAtTheVeryEndIsDropped)
{
    Parsing p(Utf16(u"<a>b</a>", false, true) + "x", 5);
    p.parser.DetectEncoding();
    EXPECT_EQ(p.Rest(), "<a>b</a>");
}

TEST(XmlParserDecoding, CodePageSwitchDecodesTheRestOfTheChunk)
{
    // "žluťoučký" in Windows-1250, once inside the first chunk and once far after it.
    const std::string czech = "\x9Elu\x9Dou\xE8k\xFD";
    const std::string head = "<?xml version=\"1.0\" encoding=\"windows-1250\"?>\r\n";
    const std::string source = head + "<a>" + czech + "</a>" + std::string(600, ' ') + "<b>" + czech + "</b>";
    Parsing p(source);
    p.parser.DetectEncoding();
    std::string text;
    ASSERT_TRUE(p.parser.ReadStringUntilText("?>", text));
    p.parser.SetEncoding(seAnsi);
    p.parser.SetCodePage(1250);
    EXPECT_EQ(p.parser.CodePage(), 1250);
    EXPECT_EQ(p.Rest(), "\n<a>žluťoučký</a>" + std::string(600, ' ') + "<b>žluťoučký</b>");
}

TEST(XmlParserDecoding, CodePageSwitchRightBetweenCrAndLf)
{
    Parsing p("<?xml encoding='windows-1250'?>\r\n\xE8\r\n", 256);
    p.parser.DetectEncoding();
    std::string text;
    ASSERT_TRUE(p.parser.ReadStringUntilText("?>", text));
    EXPECT_EQ(p.parser.NextChar(), '\n'); // the CR, folded
    p.parser.SetCodePage(1250);
    EXPECT_EQ(p.Rest(), "č\n") << "the LF of the pair already read does not come again";
}

TEST(XmlParserTags, KindAfterTheLessThanSign)
{
    const struct {
        const char* text;
        TxNodeKind kind;
    } cases[] = {
        {"<!DOCTYPE a>", xeDocType},       {"<!doctype a>", xeDocType},      {"<?XML version='1'?>", xeDeclaration},
        {"<?xml-stylesheet a?>", xeStylesheet}, {"<?php echo?>", xeInstruction}, {"<!-- c -->", xeComment},
        {"<![CDATA[x]]>", xeCData},        {"<![cdata[x]]>", xeCData},       {"<!ATTLIST a>", xeDtdAttList},
        {"<!ELEMENT a>", xeDtdElement},    {"<!ENTITY a>", xeDtdEntity},     {"<!NOTATION a>", xeDtdNotation},
        {"</a>    ", xeEndTag},            {"<abc/>   ", xeElement},         {"<![FOO[x]]>", xeError},
        {"<!-x-->  ", xeError},            {"<!ENTRY a>", xeError},
        // Only the whole targets: others that begin with "xml" are instructions.
        {"<?xml?>  ", xeDeclaration},      {"<?xml\tversion='1'?>", xeDeclaration},
        {"<?xml-stylesheet?>", xeStylesheet}, {"<?xml-model href='a'?>", xeInstruction},
        {"<?xmlns x?>", xeInstruction},    {"<?xml-stylesheets a?>", xeInstruction},
    };
    for (const auto& c : cases) {
        Parsing p(c.text);
        p.parser.DetectEncoding();
        p.heard.clear();
        ASSERT_EQ(p.parser.NextChar(), '<');
        EXPECT_EQ(p.parser.ReadTagKind(), c.kind) << c.text;
        EXPECT_TRUE(p.heard.empty()) << c.text;
    }
    Parsing element("<abc/>   ");
    element.parser.DetectEncoding();
    element.parser.NextChar();
    element.parser.ReadTagKind();
    EXPECT_EQ(element.Rest(), "abc/>   ") << "the element's name is not consumed";

    Parsing model("<?xml-model href='a'?>");
    model.parser.DetectEncoding();
    model.parser.NextChar();
    model.parser.ReadTagKind();
    EXPECT_EQ(model.Rest(), "xml-model href='a'?>") << "the instruction's target is its own text";
}

TEST(XmlParserTags, ExclamationMarkBeforeAnUnknownLetterIsReported)
{
    Parsing p("<a><!x></a>");
    p.parser.DetectEncoding();
    p.heard.clear();
    std::string text;
    p.parser.ReadStringUntilChar('!', text);
    p.parser.MoveBack();
    p.parser.MoveBack();
    ASSERT_EQ(p.parser.NextChar(), '<');
    EXPECT_EQ(p.parser.ReadTagKind(), xeError);
    ASSERT_EQ(p.heard.size(), 1u);
    EXPECT_EQ(p.heard[0].level, dlFail);
    EXPECT_EQ(p.heard[0].message, "illegal tag (\"x\") at pos 6");
}

TEST(XmlParserTags, EndInsideATagIsAnError)
{
    Parsing p("     <");
    p.parser.DetectEncoding();
    p.heard.clear();
    EXPECT_EQ(p.parser.SkipBlanks(), '<');
    EXPECT_EQ(p.parser.ReadTagKind(), xeError);
    EXPECT_TRUE(p.parser.EndOfStream());
}

TEST(XmlParserReaders, TokensAndWhatTheyConsume)
{
    Parsing p("<?xml ?> \t\r\n name  x = 'v' rest\r\nof]]> and then", 7);
    p.parser.DetectEncoding();
    std::string text;
    EXPECT_TRUE(p.parser.MatchKeyword("<?XML"));
    EXPECT_FALSE(p.parser.MatchKeyword(" ?>x")) << "a mismatch consumes nothing";
    EXPECT_TRUE(p.parser.MatchKeyword(" ?>"));
    std::string blanks;
    EXPECT_EQ(p.parser.SkipBlanks(blanks), 'n');
    EXPECT_EQ(blanks, " \t\n ");
    p.parser.MoveBack();
    ASSERT_TRUE(p.parser.ReadName(text));
    EXPECT_EQ(text, "name");
    p.parser.ReadStringUntilChar('=', text);
    EXPECT_EQ(text, "  x ");
    EXPECT_EQ(p.parser.SkipBlanks(), '\'');
    p.parser.ReadQuotedValue('\'', text);
    EXPECT_EQ(text, "v");
    ASSERT_TRUE(p.parser.ReadStringUntilText("]]>", text));
    EXPECT_EQ(text, " rest\nof");
    EXPECT_EQ(p.Rest(), " and then");
    EXPECT_TRUE(p.heard.empty());
}

TEST(XmlParserReaders, ANameEndsAtItsFirstEndingByteWhereverItStands)
{
    // Names of every length up to 40 bytes, ended by each byte that ends a
    // name, in chunks that cut them at many places; control bytes other
    // than the blanks belong to the name, as does every other byte.
    const std::string enders = "\t\n\r />[";
    for (std::size_t length = 1; length <= 40; ++length) {
        std::string name;
        for (std::size_t i = 0; i < length; ++i)
            name += i % 7 == 3 ? '\x01' : i % 5 == 2 ? '\xC3' : static_cast<char>('a' + i % 26);
        for (const char ender : enders) {
            for (const std::int32_t chunk : {5, 16, 256}) {
                Parsing p(name + ender + "rest", chunk);
                p.parser.DetectEncoding();
                std::string text;
                ASSERT_TRUE(p.parser.ReadName(text));
                EXPECT_EQ(text, name) << "length " << length << ", ender " << int(ender) << ", chunk " << chunk;
                EXPECT_EQ(p.parser.NextChar(), ender == '\r' ? '\n' : ender) << "the ending byte is not consumed";
            }
        }
    }
}

TEST(XmlParserReaders, EndOfStreamInsideATextOrName)
{
    Parsing p("<!-- no end - ->");
    p.parser.DetectEncoding();
    p.heard.clear();
    std::string text = "kept";
    EXPECT_FALSE(p.parser.ReadStringUntilText("-->", text));
    EXPECT_EQ(text, "kept");
    ASSERT_EQ(p.heard.size(), 1u);
    EXPECT_EQ(p.heard[0].level, dlWarn);
    EXPECT_EQ(p.heard[0].message, "stream terminated prematurely at pos 16");
    EXPECT_TRUE(p.parser.EndOfStream());

    Parsing q("<abcdef");
    q.parser.DetectEncoding();
    q.heard.clear();
    q.parser.NextChar();
    text = "kept";
    EXPECT_FALSE(q.parser.ReadName(text));
    EXPECT_EQ(text, "kept");
    ASSERT_EQ(q.heard.size(), 1u);
    EXPECT_EQ(q.heard[0].message, "stream terminated prematurely at pos 7");

    Parsing r("<abcdef");
    r.parser.DetectEncoding();
    r.parser.ReadStringUntilChar('>', text);
    EXPECT_EQ(text, "<abcdef") << "the text up to the end, without a message";
    EXPECT_FALSE(r.parser.MatchKeyword("x")) << "nothing left to match";
}

TEST(XmlParserReaders, KeywordCutByTheEnd)
{
    // Cut inside a target that is neither "xml" nor "xml-stylesheet": an
    // instruction, whose reader then meets the end.
    Parsing p("<?xml-styl");
    p.parser.DetectEncoding();
    p.parser.NextChar();
    EXPECT_EQ(p.parser.ReadTagKind(), xeInstruction);
    EXPECT_EQ(p.Rest(), "xml-styl");
}

TEST(XmlParserPositions, PositionsAndLinesCountDecodedText)
{
    Parsing wide(Utf16(u"<abc>", false, true));
    wide.parser.DetectEncoding();
    EXPECT_EQ(wide.parser.Position(), 0);
    for (int i = 0; i < 4; ++i)
        wide.parser.NextChar();
    EXPECT_EQ(wide.parser.Position(), 4) << "bytes of the decoded text, not of the source";

    // Positions and lines survive flushes (which wait for 16 KB of consumed text).
    std::string source;
    for (int i = 0; i < 3000; ++i)
        source += "<e>line " + std::to_string(i) + "</e>\r\n";
    Parsing p(source, 16);
    p.parser.DetectEncoding();
    std::int64_t decoded = 0; // offset in the text with CR LF as LF
    for (int i = 0; i < 3000; ++i) {
        ASSERT_EQ(p.parser.NextChar(), '<');
        p.parser.Flush();
        std::string text;
        p.parser.ReadStringUntilChar('\n', text);
        decoded += static_cast<std::int64_t>(text.size()) + 2;
        ASSERT_EQ(p.parser.Position(), decoded);
        ASSERT_EQ(p.parser.LineNumber(), i + 1);
        p.parser.MoveBack();
        ASSERT_EQ(p.parser.LineNumber(), i) << "the LF is no longer behind the read position";
        p.parser.NextChar();
    }
    EXPECT_EQ(p.parser.Position(), static_cast<std::int64_t>(source.size()) - 3000);
}

TEST(XmlParserPositions, ReferencesToNoCharacterAreReported)
{
    const struct {
        std::string text;
        std::vector<std::string> reported; // each once, in order
    } cases[] = {
        {"&#65; &#x41; &amp; &#; &#0 &#x10FFFF; &#1114111; &#x110000z; &#x;", {}},
        {"a&#0;b&#x000;c", {"&#0;", "&#x000;"}},
        {"&#xD800;&#57343;&#xdbff;", {"&#xD800;", "&#57343;", "&#xdbff;"}},
        {"&#x110000;&#1114112;", {"&#x110000;", "&#1114112;"}},
        {"&#99999999999999999999999999999999999999;", {"&#99999999999999999999999999999999999999;"}},
        // Numbers that wrap round to "A" in 32 or 64 bits.
        {"&#x100000041;&#4294967361;", {"&#x100000041;", "&#4294967361;"}},
        {"&#x10000000000000041;", {"&#x10000000000000041;"}},
    };
    for (const auto& c : cases) {
        Parsing p("<a>text</a>");
        p.parser.DetectEncoding();
        p.heard.clear();
        p.parser.CheckCharacterReferences(c.text);
        std::vector<std::string> expected, heard;
        for (const std::string& reference : c.reported)
            expected.push_back("character reference \"" + reference + "\" names no character, kept as written at pos 0");
        for (const Heard& h : p.heard) {
            EXPECT_EQ(h.level, dlWarn) << c.text;
            heard.push_back(h.message);
        }
        EXPECT_EQ(heard, expected) << c.text;
    }
}
