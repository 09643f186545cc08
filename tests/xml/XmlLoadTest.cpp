// Loading documents: the import road's file, encodings and line ends, round
// trips of what was read, diagnostics, repair, and input that is not XML.

#include "xml/XmlDocument.h"

#include "xml/Conversions.h"
#include "xml/FastStreams.h"
#include "xml/TextRoutines.h"
#include "xml/XmlParser.h"

#include "platform/core/Exceptions.h"
#include "platform/core/Streams.h"

#include "tests/support/TestFolder.h"
#include "tests/xml/LoadedDocument.h"

#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <random>
#include <string>
#include <vector>

using namespace xml;
using xmltest::Heard;
using xmltest::Loaded;

namespace {

std::string Utf16(std::u16string_view text, bool bigEndian)
{
    std::string bytes = bigEndian ? "\xFE\xFF" : "\xFF\xFE";
    for (char16_t u : text) {
        const char hi = static_cast<char>(u >> 8), lo = static_cast<char>(u & 0xFF);
        bytes += bigEndian ? std::string{hi, lo} : std::string{lo, hi};
    }
    return bytes;
}

// Hands out its bytes a few at a time, as a pipe or a slow network would.
class TricklingStream : public core::TStream {
public:
    TricklingStream(std::string bytes, std::int64_t step) : bytes_(std::move(bytes)), step_(step) {}
    std::int64_t Read(void* buffer, std::int64_t count) override
    {
        const std::int64_t n = std::min({count, step_, static_cast<std::int64_t>(bytes_.size()) - position_});
        std::memcpy(buffer, bytes_.data() + position_, static_cast<std::size_t>(n));
        position_ += n;
        return n;
    }
    std::int64_t Write(const void*, std::int64_t) override { return 0; }
    std::int64_t Seek(std::int64_t offset, core::TSeekOrigin origin) override
    {
        if (origin == core::TSeekOrigin::soBeginning)
            position_ = offset;
        else if (origin == core::TSeekOrigin::soCurrent)
            position_ += offset;
        else
            position_ = static_cast<std::int64_t>(bytes_.size()) + offset;
        return position_;
    }

private:
    std::string bytes_;
    std::int64_t step_;
    std::int64_t position_ = 0;
};

class TempFile : public ::testing::Test {
protected:
    testsupport::TestFolder folder{"load"};
    const std::string path = folder.File("soubor.xml");
};

const std::string kImportFile = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n"
                                "<d:root xmlns:d=\"http://www.example.cz/konverze\">\r\n"
                                "  <d:evidence_provedenych_konverzi>\r\n"
                                "    <D:Oznaceni_Vstupu>Smlouva &amp; dodatek č. 1 &lt;kopie&gt;</D:Oznaceni_Vstupu>\r\n"
                                "    <d:datum_sepsani>02.01.2009</d:datum_sepsani>\r\n"
                                "    <d:poradove_cislo>123/2009</d:poradove_cislo>\r\n"
                                "  </d:evidence_provedenych_konverzi>\r\n"
                                "  <d:vystup><d:uschovna><d:id>ABC-42</d:id></d:uschovna></d:vystup>\r\n"
                                "</d:root>\r\n";

} // namespace

// --- the import road ------------------------------------------------------------------

TEST_F(TempFile, ImportRoadDocument)
{
    core::WriteFileBytes(path, kImportFile);
    Loaded l;
    l.doc.LoadFromFile(path);
    EXPECT_TRUE(l.Messages(dlHint).empty());
    EXPECT_EQ(l.Messages(), (std::vector<std::string>{"info: declaration with encoding \"UTF-8\" and codepage 65001"}));
    EXPECT_EQ(l.doc.TextEncoding(), seUtf8);
    EXPECT_EQ(l.doc.TextCodePage(), 65001);

    // The declaration, the root, and the line break after it (kept in the preserve layout).
    ASSERT_EQ(l.doc.TopNodeCount(), 3);
    EXPECT_EQ(l.Top(-1), nullptr);
    EXPECT_EQ(l.Top(3), nullptr);
    EXPECT_EQ(l.Top(0)->NodeKind(), xeDeclaration);
    TXmlNode* root = nullptr;
    for (int i = 0; i < l.doc.TopNodeCount(); ++i)
        if (l.Top(i)->GetName() == "d:root")
            root = l.Top(i);
    ASSERT_NE(root, nullptr);
    EXPECT_EQ(root, l.doc.RootElement());

    TXmlNode* record = root->SearchNode("d:evidence_provedenych_konverzi");
    ASSERT_NE(record, nullptr);
    TXmlNode* designation = record->SearchNode("d:oznaceni_vstupu");
    ASSERT_NE(designation, nullptr) << "names match without regard to letter case";
    EXPECT_EQ(designation->GetName(), "D:Oznaceni_Vstupu");
    EXPECT_EQ(designation->GetValue(), "Smlouva & dodatek č. 1 <kopie>");
    EXPECT_EQ(record->SearchNode("d:datum_sepsani")->GetValue(), "02.01.2009");
    EXPECT_EQ(record->SearchNode("D:PORADOVE_CISLO")->GetValue(), "123/2009");
    TXmlNode* output = root->SearchNode("d:vystup");
    ASSERT_NE(output, nullptr);
    EXPECT_EQ(output->SearchNode("d:uschovna")->SearchNode("d:id")->GetValue(), "ABC-42");
    EXPECT_EQ(root->SearchNode("d:nic"), nullptr);

    // And it is written back as it was read.
    EXPECT_EQ(l.doc.WriteToText(), kImportFile);
}

TEST_F(TempFile, BinaryFormThroughTheTextLoaders)
{
    TXmlDocument source(nullptr, true, false, true, "zaznam");
    source.RootElement()->SetValue("žluť");
    TxStringStream binary;
    source.SaveBinaryStream(binary);
    const std::string bytes = binary.AsString();
    ASSERT_EQ(bytes.compare(0, 4, "$BXM"), 0);

    core::WriteFileBytes(path, bytes);
    TXmlDocument fromFile(nullptr);
    fromFile.LoadFromFile(path);
    ASSERT_NE(fromFile.RootElement(), nullptr);
    EXPECT_EQ(fromFile.RootElement()->GetValue(), "žluť");

    // From the middle of a stream: the binary form is read from where it begins.
    TxStringStream stream("prefix" + bytes);
    stream.SetPosition(6);
    TXmlDocument fromStream(nullptr);
    fromStream.LoadFromStream(stream);
    ASSERT_NE(fromStream.RootElement(), nullptr);
    EXPECT_EQ(fromStream.RootElement()->GetName(), "zaznam");
}

TEST_F(TempFile, LargeFileLoadsAsTheSameBytesFromMemory)
{
    // Larger than the blocks in which the file is read, with CR LF pairs and
    // Czech letters across every boundary and a fault at the end.
    std::string text = "<?xml version=\"1.0\" encoding=\"utf-8\"?>\r\n<r>\r\n";
    for (int i = 0; text.size() < 700 * 1000; ++i)
        text += "<z i=\"" + std::to_string(i) + "\">Příliš žluťoučký kůň " + std::to_string(i) + "</z>\r\n";
    text += "</r><";
    core::WriteFileBytes(path, text);
    Loaded fromFile;
    fromFile.doc.LoadFromFile(path);
    Loaded fromMemory(text);
    EXPECT_EQ(fromFile.doc.WriteToText(), fromMemory.doc.WriteToText());
    EXPECT_EQ(fromFile.Messages(), fromMemory.Messages());
    EXPECT_GT(fromFile.doc.RootElement()->ElementCount(), 10000);
}

TEST(XmlLoad, FileThatCannotBeOpenedRaises)
{
    TXmlDocument doc(nullptr);
    EXPECT_THROW(doc.LoadFromFile("/nonexistent/konverze.xml"), core::EFOpenError);
    EXPECT_EQ(doc.TopNodeCount(), 1) << "the previous content stays";
}

// --- encodings and line ends ----------------------------------------------------------

TEST(XmlLoad, LineEndsAreFoldedAndWrittenInTheDocumentsStyle)
{
    Loaded l("<a>x\r\ny\rz\n</a>\r");
    TXmlNode* a = l.doc.RootElement();
    ASSERT_NE(a, nullptr);
    EXPECT_EQ(static_cast<TxCharData*>(a->NodeAt(0))->RawValue(), "x\ny\nz");
    EXPECT_EQ(l.doc.WriteToText(), "<a>x\r\ny\r\nz\r\n</a>\r\n");
    l.doc.SetLineBreakStyle(lbLF);
    EXPECT_EQ(l.doc.WriteToText(), "<a>x\ny\nz\n</a>\n");
    EXPECT_EQ(a->GetValue(), "x\ny\nz");
}

TEST(XmlLoad, CrLfSplitByTheChunkBorder)
{
    // The CR is the 256th byte: the last of the first chunk.
    const std::string head = "<a>";
    const std::string text = std::string(255 - head.size(), 'x');
    Loaded l(head + text + "\r\nb</a>");
    EXPECT_EQ(l.doc.RootElement()->GetValue(), text + "\r\nb");
    EXPECT_EQ(static_cast<TxCharData*>(l.doc.RootElement()->NodeAt(0))->RawValue(), text + "\nb");
}

TEST_F(TempFile, Windows1250DocumentIsSavedBackByteForByte)
{
    std::string body;
    for (int i = 0; i < 40; ++i)
        body += "  <zaznam jmeno=\"Nov\xE1k\">P\xF8\xEDli\x9A \x9Elu\x9Dou\xE8k\xFD k\xF9\xF2 \xFAp\xECl</zaznam>\r\n";
    const std::string source = "<?xml version=\"1.0\" encoding=\"windows-1250\"?>\r\n<r>\r\n" + body + "</r>\r\n";
    ASSERT_GT(source.size(), 2000u) << "the code page must hold over many chunks";
    core::WriteFileBytes(path, source);

    Loaded l;
    l.doc.LoadFromFile(path);
    EXPECT_TRUE(l.Messages(dlHint).empty());
    EXPECT_EQ(l.doc.TextEncoding(), seAnsi);
    EXPECT_EQ(l.doc.TextCodePage(), 1250);
    TXmlNode* last = l.doc.RootElement()->ElementAt(39);
    ASSERT_NE(last, nullptr);
    EXPECT_EQ(last->GetValue(), "Příliš žluťoučký kůň úpěl");
    EXPECT_EQ(last->AttributeValueNamed("jmeno"), "Novák");

    l.doc.SaveToFile(path);
    EXPECT_EQ(core::ReadFileBytes(path), source);
}

TEST(XmlLoad, Utf16WithByteOrderMarkInBothOrders)
{
    const std::u16string text = u"<?xml version=\"1.0\" encoding=\"utf-16\"?>\r\n<a b=\"ď\">Příliš žluťoučký\r\n</a>\r\n";
    for (bool bigEndian : {false, true}) {
        Loaded l(Utf16(text, bigEndian));
        EXPECT_EQ(l.doc.TextEncoding(), bigEndian ? seUtf16BE : seUtf16LE);
        EXPECT_EQ(l.doc.ByteOrderMark().MarkPresent, 1);
        EXPECT_EQ(l.doc.RootElement()->GetValue(), "Příliš žluťoučký");
        EXPECT_EQ(l.doc.RootElement()->AttributeValueNamed("b"), "ď");
        EXPECT_EQ(l.doc.WriteToText(), Utf16(text, bigEndian)) << (bigEndian ? "big-endian" : "little-endian");
        EXPECT_TRUE(l.Messages(dlHint).empty());
    }
}

TEST(XmlLoad, SignatureWinsOverTheDeclaration)
{
    // Saved as UTF-16 by a document whose declaration still says utf-8, and a
    // big-endian text whose declaration says "utf-16" (which names little-endian).
    std::string letters;
    for (int i = 0; i < 300; ++i)
        letters += "ž";
    for (const char16_t* declared : {u"utf-8", u"utf-16", u"windows-1250"}) {
        const std::u16string text = std::u16string(u"<?xml version=\"1.0\" encoding=\"") + declared + u"\"?><a>" +
                                    std::u16string(300, u'ž') + u"</a>";
        for (bool bigEndian : {false, true}) {
            Loaded l(Utf16(text, bigEndian));
            EXPECT_EQ(l.doc.TextEncoding(), bigEndian ? seUtf16BE : seUtf16LE);
            ASSERT_NE(l.doc.RootElement(), nullptr);
            EXPECT_EQ(l.doc.RootElement()->GetValue(), letters);
        }
    }
    // A UTF-8 mark before a declaration that names a code page.
    Loaded l("\xEF\xBB\xBF<?xml version=\"1.0\" encoding=\"windows-1250\"?><a>žluť</a>");
    EXPECT_EQ(l.doc.RootElement()->GetValue(), "žluť");
    EXPECT_EQ(l.doc.TextEncoding(), seUtf8);

    // Without a mark the declaration decides, and it cannot make 8-bit text UTF-16.
    Loaded named("<?xml version=\"1.0\" encoding=\"utf-16\"?><a>x</a>");
    EXPECT_EQ(named.doc.RootElement()->GetValue(), "x");
}

TEST(XmlLoad, Utf16UnitsCutByShortReadsAreCarried)
{
    const std::u16string text = u"<?xml version=\"1.0\"?><a>čšř\r\n\U0001F600ž</a>";
    for (std::int64_t step : {1, 3, 255}) {
        TricklingStream stream(Utf16(text, false), step);
        TXmlDocument doc(nullptr);
        doc.LoadFromStream(stream);
        ASSERT_NE(doc.RootElement(), nullptr) << step;
        EXPECT_EQ(doc.RootElement()->GetValue(), "čšř\r\n\U0001F600ž") << step;
    }
}

// --- what is written back -----------------------------------------------------------------

TEST(XmlLoad, AttributesWithOddSpacingAndQuotes)
{
    Loaded l("<?xml version=\"1.0\"?><a  x = \"1\"\n\ty='2' z=\"a&quot;b\" w='it&apos;s'>v</a>");
    TXmlNode* a = l.doc.RootElement();
    ASSERT_EQ(a->AttributeCount(), 4);
    EXPECT_EQ(a->AttributeNameAt(0), "x");
    EXPECT_EQ(a->AttributeValueNamed("x"), "1");
    EXPECT_EQ(a->AttributeValueNamed("y"), "2");
    EXPECT_EQ(a->AttributeValueNamed("z"), "a\"b");
    EXPECT_EQ(a->AttributeValueNamed("w"), "it's");
    EXPECT_EQ(a->AttributeAt(1)->ValueNode()->QuoteStyle(), qsSingle);
    EXPECT_EQ(a->GetValue(), "v");
    EXPECT_EQ(a->DirectNodeCount(), 6) << "two runs of blanks kept between the attributes";
    EXPECT_EQ(l.Messages(dlHint), (std::vector<std::string>{"hint: non-default chardata at line 0 (pos 26)",
                                                             "hint: non-default chardata at line 1 (pos 35)"}));
    // Blanks around "=" are not kept; those between attributes are.
    EXPECT_EQ(l.doc.WriteToText(),
              "<?xml version=\"1.0\"?>\r\n<a  x=\"1\"\r\n\ty='2' z=\"a&quot;b\" w='it&apos;s'>v</a>");
}

TEST(XmlLoad, DocumentTypeCommentCDataAndInstructionAreSavedBackIdentically)
{
    const std::string source = "<?xml version=\"1.0\"?>\r\n"
                               "<!DOCTYPE note PUBLIC \"-//K//DTD Note//CS\" 'note.dtd' [\r\n"
                               "  <!ELEMENT note (#PCDATA)>\r\n"
                               "  <!ATTLIST note id CDATA #REQUIRED>\r\n"
                               "  <!ENTITY autor \"Jan Novák\">\r\n"
                               "  <!NOTATION gif SYSTEM \"image/gif\">\r\n"
                               "  <!ENTITY logo SYSTEM \"logo.gif\" NDATA gif>\r\n"
                               "  <!ENTITY % cast 'x'>\r\n"
                               "  <!-- v podmnožině -->\r\n"
                               "]>\r\n"
                               "<?xml-stylesheet type=\"text/xsl\" href=\"a.xsl\"?>\r\n"
                               "<!-- komentář -->\r\n"
                               "<note id=\"1\"><![CDATA[<b> & </b>]]><?zpracuj data?></note>\r\n";
    Loaded l(source);
    EXPECT_TRUE(l.Messages(dlWarn).empty()) << l.Messages(dlWarn).front();
    auto* docType = static_cast<TxDocType*>(l.doc.TopNodes().FindFirstOfKind(xeDocType));
    ASSERT_NE(docType, nullptr);
    EXPECT_EQ(docType->GetName(), "note");
    EXPECT_EQ(docType->ExternalId()->RawValue(), "PUBLIC");
    EXPECT_EQ(docType->PublicLiteral()->GetValue(), "-//K//DTD Note//CS");
    EXPECT_EQ(docType->SystemLiteral()->QuoteStyle(), qsSingle);
    TXmlNode* element = docType->FirstNodeOfKind(xeDtdElement);
    ASSERT_NE(element, nullptr);
    EXPECT_EQ(element->GetName(), "note");
    EXPECT_EQ(element->GetValue(), "(#PCDATA)");
    TXmlNode* entity = docType->FirstNodeOfKind(xeDtdEntity);
    ASSERT_NE(entity, nullptr);
    EXPECT_EQ(entity->NodeAt(0)->NodeKind(), xeQuotedText);
    EXPECT_EQ(entity->NodeAt(0)->GetValue(), "Jan Novák");

    TXmlNode* note = l.doc.RootElement();
    EXPECT_EQ(note->GetValue(), "<b> & </b>") << "the CDATA section is the value";
    EXPECT_EQ(note->NodeAt(note->DirectNodeCount() + 1)->GetValue(), "zpracuj data");
    EXPECT_EQ(l.doc.WriteToText(), source);
}

TEST(XmlLoad, DeclarationCommentsAndLayouts)
{
    const std::string source = "  <?xml version=\"1.0\"?>\n<!-- a -->\n<r> <b>t</b> </r>\n text \n";
    Loaded preserve(source);
    // Blanks before the declaration, the declaration (its line break with it),
    // the comment, the line break, the root, and the text after it.
    ASSERT_EQ(preserve.doc.TopNodeCount(), 6);
    EXPECT_EQ(preserve.Top(0)->NodeKind(), xeCharData);
    EXPECT_EQ(preserve.Top(2)->NodeKind(), xeComment);
    EXPECT_EQ(static_cast<TxCharData*>(preserve.Top(5))->RawValue(), "\n text \n");
    EXPECT_EQ(preserve.doc.RootElement()->NodeCount(), 3) << "whitespace, b, whitespace";

    Loaded compact;
    compact.doc.SetLayout(xlCompact);
    compact.doc.SetDropCommentsOnParse(true);
    int created = 0, parsed = 0;
    compact.doc.OnNodeCreated = [&](core::TObject*, TXmlNode* node) { created += node->NodeKind() == xeComment; };
    compact.doc.OnNodeParsed = [&](core::TObject*, TXmlNode* node) { parsed += node->NodeKind() == xeComment; };
    compact.doc.LoadFromText(source);
    ASSERT_EQ(compact.doc.TopNodeCount(), 3) << "declaration, root, the trimmed text";
    EXPECT_EQ(static_cast<TxCharData*>(compact.Top(2))->RawValue(), "text");
    EXPECT_EQ(compact.doc.RootElement()->NodeCount(), 1);
    EXPECT_EQ(created, 1);
    EXPECT_EQ(parsed, 1) << "both events fire before the comment goes";
    EXPECT_EQ(compact.Messages(dlInfo).back(), "info: option DropCommentsOnParse is true, deleting comment");

    Loaded inner;
    inner.doc.SetDropCommentsOnParse(true);
    inner.doc.LoadFromText("<?xml version=\"1.0\"?><r><!-- stays --></r>");
    EXPECT_EQ(inner.doc.RootElement()->NodeAt(0)->NodeKind(), xeComment);
}

TEST(XmlLoad, SelfClosedAndEmptyPairsKeepTheirForm)
{
    Loaded l("<?xml version=\"1.0\"?><r><e/><e></e><e a=\"1\" /></r>");
    TXmlNode* r = l.doc.RootElement();
    EXPECT_EQ(static_cast<TxContainerNode*>(r->ElementAt(0))->NodeClosingStyle(), csSelfClosing);
    EXPECT_EQ(static_cast<TxContainerNode*>(r->ElementAt(1))->NodeClosingStyle(), csFull);
    l.doc.SetEmptyElementStyle(csUnspecified);
    // A single space is the separator that writing puts back itself.
    EXPECT_EQ(l.doc.WriteToUtf8Text(), "<?xml version=\"1.0\"?>\r\n<r><e/><e></e><e a=\"1\"/></r>");
    l.doc.SetEmptyElementStyle(csSelfClosing);
    EXPECT_EQ(l.doc.WriteToUtf8Text(), "<?xml version=\"1.0\"?>\r\n<r><e/><e/><e a=\"1\"/></r>");
}

// --- diagnostics ------------------------------------------------------------------------------

TEST(XmlLoad, DiagnosticsOfAMismatchedEndTag)
{
    Loaded l("<a><b></a>");
    EXPECT_EQ(l.Messages(), (std::vector<std::string>{
                                "warn: unknown encoding",
                                "warn: begin and end tag mismatch: \"b\" and \"a\" at line 0 (pos 10)",
                                "fail: stream terminated prematurely at pos 10",
                            }));
    ASSERT_EQ(l.heard.size(), 3u);
    TXmlNode* a = l.doc.RootElement();
    ASSERT_NE(a, nullptr);
    TXmlNode* b = a->NodeAt(0);
    ASSERT_NE(b, nullptr);
    EXPECT_EQ(l.heard[0].senderClass, "TxXmlParser");
    EXPECT_EQ(l.heard[1].sender, b);
    EXPECT_EQ(l.heard[2].sender, a);
    EXPECT_EQ(l.doc.WriteToUtf8Text(), "<a><b/></a>") << "the tree read is kept";

    Loaded repaired;
    repaired.doc.SetRepairStructure(true);
    repaired.doc.LoadFromText("<a><b></a>");
    EXPECT_EQ(repaired.Messages(),
              (std::vector<std::string>{
                  "warn: unknown encoding",
                  "warn: begin and end tag mismatch: \"b\" and \"a\" at line 0 (pos 10)",
                  "hint: parent0 = \"a\", this endtag = \"a\": maybe \"b\" should be closed",
                  "warn: level mismatch between subnode \"b\" and endnode \"a\" at line 0 (pos 10)",
              }));
    EXPECT_EQ(repaired.doc.RepairNames(), nullptr) << "only during the parse";
}

TEST(XmlLoad, MessagesClimbTheOwnerChain)
{
    std::vector<Heard> heard;
    TDebugComponent form(nullptr);
    form.OnDebugMessage = [&](core::TObject* sender, TxDebugLevel level, const std::string& message) {
        heard.push_back({sender, level, message, sender->ClassName()});
    };
    auto* doc = new TXmlDocument(&form);
    doc->LoadFromText("<?xml version=\"1.0\"?><a><b x='1' 'y'/></a");
    ASSERT_GE(heard.size(), 3u);
    EXPECT_EQ(heard[0].message, "declaration with encoding \"\" and codepage 65001");
    EXPECT_EQ(heard[0].sender, doc);
    EXPECT_EQ(heard[1].message, "illegal quote at pos 34");
    EXPECT_EQ(heard[1].sender, doc->RootElement()->NodeAt(0)) << "the node that found it";
    EXPECT_EQ(heard[1].level, dlWarn);

    // A document owned by an ordinary component: nobody listens, nothing breaks.
    core::TComponent plain(nullptr);
    auto* quiet = new TXmlDocument(&plain);
    quiet->LoadFromText("<a><b></a>");
    EXPECT_EQ(quiet->RootElement()->GetName(), "a");
}

TEST(XmlLoad, ShortOrUnsupportedSourcesGiveAnEmptyDocument)
{
    Loaded tiny("<a/>");
    EXPECT_EQ(tiny.doc.TopNodeCount(), 0);
    EXPECT_EQ(tiny.Messages(), (std::vector<std::string>{"warn: stream terminated prematurely at pos 4"}));

    Loaded wide(std::string("\x00\x00\xFE\xFF\x00\x00\x00<\x00\x00\x00a", 12));
    EXPECT_EQ(wide.doc.TopNodeCount(), 0);
    EXPECT_EQ(wide.Messages(), (std::vector<std::string>{"fail: unsupported encoding (utf-32BE)"}));
}

TEST(XmlLoad, TopLevelEndTagOrIllegalTagEndsTheParse)
{
    Loaded end("<?xml version=\"1.0\"?><a/></a><b/>");
    EXPECT_EQ(end.doc.TopNodeCount(), 2);
    EXPECT_EQ(end.Messages(dlWarn), (std::vector<std::string>{"warn: unsupported tag (\"EndTag\") at pos 27"}));

    Loaded illegal("<?xml version=\"1.0\"?><a/><!x><b/>");
    EXPECT_EQ(illegal.doc.TopNodeCount(), 2);
    EXPECT_EQ(illegal.Messages(dlWarn), (std::vector<std::string>{"fail: illegal tag (\"x\") at pos 28",
                                                                  "warn: illegal tag (\"<\") at pos 28"}));

    Loaded nested("<?xml version=\"1.0\"?><a><!DOCTYPE x></a>");
    EXPECT_EQ(nested.Messages(dlWarn).front(), "warn: illegal tag (\"DocType\") at pos 33");
}

TEST(XmlLoad, EventsAndAbort)
{
    Loaded l;
    std::vector<std::string> events;
    std::vector<std::int64_t> progress;
    l.doc.OnNodeCreated = [&](core::TObject* sender, TXmlNode* node) {
        EXPECT_EQ(sender, &l.doc);
        events.push_back("created " + node->GetName());
    };
    l.doc.OnNodeParsed = [&](core::TObject*, TXmlNode* node) {
        events.push_back("parsed " + node->GetName());
        if (node->GetName() == "stop")
            l.doc.SetAbortParsing(true);
    };
    l.doc.OnLoadProgress = [&](core::TObject*, std::int64_t position) { progress.push_back(position); };
    const std::string text = "<?xml version=\"1.0\"?><r a=\"1\">t<stop/><after/></r><late/>";
    l.doc.LoadFromText(text);
    EXPECT_EQ(events, (std::vector<std::string>{"created xml", "created ", "parsed version", "parsed xml",
                                                "created r", "created ", "parsed a", "created CharData",
                                                "parsed CharData", "created stop", "parsed stop", "parsed r"}));
    EXPECT_EQ(l.doc.RootElement()->ElementCount(), 1) << "nothing after the node that aborted";
    EXPECT_EQ(l.doc.TopNodeCount(), 2);
    EXPECT_EQ(progress.back(), static_cast<std::int64_t>(text.size()));

    l.doc.LoadFromText(text);
    EXPECT_TRUE(l.doc.AbortParsing()) << "set again by the handler";
    l.doc.OnNodeParsed = nullptr;
    l.doc.LoadFromText(text);
    EXPECT_FALSE(l.doc.AbortParsing()) << "cleared when a parse starts";
    EXPECT_EQ(l.doc.TopNodeCount(), 3);
}

// --- repair -----------------------------------------------------------------------------------

TEST(XmlLoad, RepairMovesTheContentOfUnclosedElementsOnly)
{
    Loaded l;
    l.doc.SetRepairStructure(true);
    // The first i is never closed; the second one is, and keeps its text.
    l.doc.LoadFromText("<?xml version=\"1.0\"?><r><p><i>one</p><p><i>two</i></p></r>");
    EXPECT_EQ(l.Messages().back(), "info: correctly closed node \"i\" at pos 0");
    EXPECT_EQ(l.doc.WriteToUtf8Text(), "<?xml version=\"1.0\"?>\r\n<r><p><i/>one</p><p><i>two</i></p></r>");

    // An element moved up past a parent whose end tag never came.
    Loaded moved;
    moved.doc.SetRepairStructure(true);
    moved.doc.LoadFromText("<?xml version=\"1.0\"?><r><a><b>x<c>y</a><d/></r>");
    EXPECT_EQ(moved.doc.WriteToUtf8Text(), "<?xml version=\"1.0\"?>\r\n<r><a><b/>x<c/>y</a><d/></r>");
    const std::vector<std::string> messages = moved.Messages();
    EXPECT_NE(std::find(messages.begin(), messages.end(),
                        "info: moving node \"c\" from parent \"b\" to grandparent \"a\""),
              messages.end());
}

TEST(XmlLoad, RepairOfAnUnclosedTopLevelElement)
{
    Loaded l;
    l.doc.SetRepairStructure(true);
    l.doc.LoadFromText("<?xml version=\"1.0\"?><a>text<b/></><c/>");
    // The top-level a is the one to close: its content follows it at the top level.
    EXPECT_EQ(l.doc.WriteToUtf8Text(), "<?xml version=\"1.0\"?>\r\n<a/>text<b/><c/>");
    EXPECT_EQ(l.doc.TopNodeCount(), 5);
    EXPECT_EQ(l.Top(2)->Parent(), nullptr);
}

TEST(XmlLoad, RepairReadsUnquotedValues)
{
    Loaded l;
    l.doc.SetRepairStructure(true);
    l.doc.LoadFromText("<?xml version=\"1.0\"?><a x=b y=\"c\"/>");
    EXPECT_EQ(l.doc.RootElement()->AttributeValueNamed("x"), "b");
    EXPECT_EQ(l.doc.RootElement()->AttributeValueNamed("y"), "c");

    Loaded strict("<?xml version=\"1.0\"?><a x=b y=\"c\"/>");
    EXPECT_EQ(strict.doc.RootElement()->AttributeValueNamed("x"), "");
    EXPECT_EQ(strict.Messages(dlWarn).front(), "warn: quote char expected at pos 27");
}

// --- mends and limits -------------------------------------------------------------------------

TEST(XmlLoad, NestingAsDeepAsTheWriterGoesIsReadBack)
{
    // The writer, copying, searching and the binary form handle a million
    // levels; the parser reads every one of them back, in every layout (the
    // readable one indents each level, so its text grows with the square).
    for (const TxXmlLayout layout : {xlCompact, xlReadable, xlPreserve}) {
        const int kDepth = layout == xlReadable ? 3000 : 1000000;
        auto built = std::make_unique<TXmlDocument>(nullptr, true, false, true, "d");
        TXmlNode* node = built->RootElement();
        for (int i = 1; i < kDepth; ++i)
            node = node->ChildAdd("d");
        node->SetValue("x");
        node->AttributeAddNamed("a", "1");
        built->SetLayout(layout);
        const std::string text = built->WriteToUtf8Text();
        Loaded l(text + "<after/>");
        EXPECT_EQ(l.Messages(dlWarn), std::vector<std::string>{}) << int(layout);
        int levels = 0;
        TXmlNode* deepest = nullptr;
        for (TXmlNode* n = l.doc.RootElement(); n != nullptr; n = n->ElementAt(0)) {
            deepest = n;
            ++levels;
        }
        EXPECT_EQ(levels, kDepth) << int(layout);
        ASSERT_NE(deepest, nullptr);
        EXPECT_EQ(deepest->GetValue(), "x");
        EXPECT_EQ(deepest->AttributeValueNamed("a"), "1");
        EXPECT_EQ(deepest->TreeDepth(), kDepth - 1);
        EXPECT_EQ(l.doc.TopNodes().Last()->GetName(), "after") << "what follows the deep tree is read too";
        l.doc.TopNodes().Delete(l.doc.TopNodeCount() - 1);
        EXPECT_EQ(l.doc.WriteToUtf8Text(), text) << int(layout);
    }
}

TEST(XmlLoad, DeepNestingReportsThePlaceAtTheBottom)
{
    constexpr int kDepth = 200000;
    std::string text = "<?xml version=\"1.0\"?>\n";
    for (int i = 0; i < kDepth; ++i)
        text += "<d>\n";
    const std::size_t bottom = text.size() + 4;
    text += "</x>";
    Loaded l(text);
    const std::vector<std::string> warnings = l.Messages(dlWarn);
    ASSERT_FALSE(warnings.empty());
    EXPECT_EQ(warnings.front(), "warn: begin and end tag mismatch: \"d\" and \"x\" at line " +
                                    std::to_string(kDepth + 1) + " (pos " + std::to_string(bottom) + ")");
    int levels = 0;
    for (TXmlNode* n = l.doc.RootElement(); n != nullptr; n = n->ElementAt(0))
        ++levels;
    EXPECT_EQ(levels, kDepth) << "every level read is kept";
}

TEST(XmlLoad, ReferencesToNoCharacterStayAsWritten)
{
    Loaded l("<?xml version=\"1.0\"?><a v=\"&#0;\">&#xD800;&#65;&#x110000;</a>");
    EXPECT_EQ(l.Messages(dlWarn),
              (std::vector<std::string>{
                  "warn: character reference \"&#0;\" names no character, kept as written at pos 32",
                  "warn: character reference \"&#xD800;\" names no character, kept as written at pos 57",
                  "warn: character reference \"&#x110000;\" names no character, kept as written at pos 57",
              }));
    EXPECT_EQ(l.doc.RootElement()->AttributeValueNamed("v"), "&#0;");
    EXPECT_EQ(l.doc.RootElement()->GetValue(), "&#xD800;A&#x110000;");
    EXPECT_EQ(UnescapeText("&#0;&#x00;"), "&#0;&#x00;");
    EXPECT_EQ(l.doc.WriteToUtf8Text(), "<?xml version=\"1.0\"?>\r\n<a v=\"&#0;\">&#xD800;&#65;&#x110000;</a>");
}

TEST(XmlLoad, MalformedInputNeverCrashesAndKeepsWhatWasRead)
{
    Loaded truncated("<?xml version=\"1.0\"?><root><item id=\"1\">va");
    TXmlNode* item = truncated.doc.RootElement()->ElementAt(0);
    ASSERT_NE(item, nullptr);
    EXPECT_EQ(item->GetValue(), "va");
    EXPECT_EQ(item->AttributeValueNamed("id"), "1");
    EXPECT_EQ(truncated.Messages(dlFail).front(), "fail: stream terminated prematurely at pos 42");

    Loaded mismatched("<?xml version=\"1.0\"?><a><b>x</c></a><d/>");
    EXPECT_EQ(mismatched.doc.WriteToUtf8Text(), "<?xml version=\"1.0\"?>\r\n<a><b>x</b></a><d/>");

    for (const char* text : {"<", "<!", "<!-", "<?", "<a", "<a ", "<a b", "<a b=", "<a b='", "</", "<![CDATA[x",
                             "<!DOCTYPE", "<!DOCTYPE x [", "<!DOCTYPE x [<!ENTITY", "<!DOCTYPE x PUBLIC",
                             "<?xml version='1.0' encoding='windows-1250'", "<a>&#", "]]>", "<a/><!-- x"}) {
        TXmlDocument doc(nullptr);
        doc.LoadFromText(std::string("<?xml version=\"1.0\"?>") + text);
        doc.WriteToText();
        doc.LoadFromText(std::string("     ") + text);
        doc.WriteToText();
    }

    // Garbage, and garbage that looks a little like markup.
    std::mt19937 random(2009);
    const std::string alphabet = "<>/!?-[]'\"= \r\nabxCDATA&#;\x00\xC5\xBE\xFF\xFE";
    for (int round = 0; round < 300; ++round) {
        std::string bytes(static_cast<std::size_t>(random() % 600), '\0');
        for (char& c : bytes)
            c = round % 2 ? static_cast<char>(random()) : alphabet[random() % alphabet.size()];
        if (round % 3 == 0)
            bytes = "<?xml version=\"1.0\"?><r>" + bytes;
        Loaded l;
        l.doc.SetRepairStructure(round % 4 == 0);
        EXPECT_NO_THROW(l.doc.LoadFromText(bytes));
        EXPECT_NO_THROW(l.doc.WriteToText());
    }
}

TEST(XmlLoad, LoadingReplacesTheContentAndTheSymbols)
{
    TXmlDocument doc(nullptr, true, false, true, "old");
    doc.LoadFromText("<?xml version=\"1.0\"?><new>v</new>");
    EXPECT_EQ(doc.TopNodeCount(), 2);
    EXPECT_EQ(doc.RootElement()->GetName(), "new");
    EXPECT_EQ(doc.SymbolTable().SymbolCount(), 4) << "version, 1.0, new, v, and nothing of the old";
}

TEST(XmlLoad, RecurringAndUniqueTextsOfEveryLengthShareTheirSymbols)
{
    // Short and long texts, each recurring or not: a text read again gets the
    // ID it got the first time, and the table holds each text once.
    const std::vector<std::string> recurring = {"7", "Praha", "Matice M6 &amp; podložka s dlouhým názvem",
                                                std::string(300, 'x'), "Šroub M6×20 pozinkovaný"};
    std::string text = "<r>";
    for (int i = 0; i < 3000; ++i) {
        text += "<e a=\"" + recurring[static_cast<std::size_t>(i) % recurring.size()] + "\">";
        text += i % 2 == 0 ? "jedinečný text číslo " + std::to_string(i) + " a ještě kus navíc"
                           : recurring[static_cast<std::size_t>(i / 2) % recurring.size()];
        text += "</e>";
    }
    text += "</r>";
    TXmlDocument doc(nullptr);
    doc.LoadFromText(text);
    TxElement* root = doc.RootElement();
    ASSERT_EQ(root->ElementCount(), 3000);
    std::vector<std::int32_t> ids(recurring.size(), 0);
    for (int i = 0; i < 3000; ++i) {
        const TXmlNode* e = root->ElementAt(i);
        const std::size_t k = static_cast<std::size_t>(i) % recurring.size();
        const std::int32_t id = doc.SymbolTable().Intern(recurring[k]);
        EXPECT_EQ(e->AttributeAt(0)->ValueId(), id) << i;
        if (ids[k] == 0)
            ids[k] = id;
        EXPECT_EQ(id, ids[k]);
    }
    // The names r, e, a; 5 recurring texts; 1500 unique ones.
    EXPECT_EQ(doc.SymbolTable().SymbolCount(), 3 + 5 + 1500);
    EXPECT_EQ(doc.WriteToUtf8Text(), text);
}
