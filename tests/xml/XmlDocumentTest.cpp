#include "xml/XmlDocument.h"

#include "platform/core/Exceptions.h"
#include "platform/core/FilerError.h"
#include "platform/core/Streams.h"

#include "tests/support/TestFolder.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <string>
#include <sys/stat.h>
#include <vector>

using namespace xml;

namespace {

const std::string kDeclaration = "<?xml version=\"1.0\" encoding=\"utf-8\"?>";

// A declaration, "root" with a="x", and an empty b.
struct Sample {
    TXmlDocument doc{nullptr, true, false, true, "root"};
    std::vector<std::string> heard;
    Sample()
    {
        doc.RootElement()->AttributeAddNamed("a", "x");
        doc.RootElement()->ChildAdd("b");
        doc.OnDebugMessage = [this](core::TObject*, TxDebugLevel level, const std::string& text) {
            heard.push_back(std::string(DebugLevelNames[level]) + ": " + text);
        };
    }
    std::vector<std::string> Warnings() const
    {
        std::vector<std::string> out;
        for (const std::string& h : heard)
            if (h.rfind("info", 0) != 0)
                out.push_back(h);
        return out;
    }
};

class TempFolder : public ::testing::Test {
protected:
    testsupport::TestFolder folder{"xml"};
    const std::filesystem::path& dir = folder.Path();
    std::vector<std::string> Entries() const { return folder.Entries(); }
};

} // namespace

TEST(XmlDocument, ConstructionAndReset)
{
    TXmlDocument plain(nullptr);
    EXPECT_EQ(plain.TopNodeCount(), 1);
    ASSERT_NE(plain.RootElement(), nullptr);
    EXPECT_EQ(plain.RootElement()->GetName(), "");
    EXPECT_EQ(plain.TopNodes().First(), plain.RootElement());

    TXmlDocument full(nullptr, true, true, true, "Podani");
    ASSERT_EQ(full.TopNodeCount(), 3);
    auto* declaration = static_cast<TxDeclaration*>(full.TopNodes().ItemAt(0));
    EXPECT_EQ(declaration->NodeKind(), xeDeclaration);
    EXPECT_EQ(declaration->AttributeValueNamed("version"), "1.0");
    EXPECT_EQ(declaration->DeclarationEncoding(), "utf-8");
    EXPECT_EQ(declaration->DirectNodeCount(), 2);
    auto* docType = static_cast<TxDocType*>(full.TopNodes().ItemAt(1));
    EXPECT_EQ(docType->GetName(), "Podani");
    EXPECT_EQ(docType->ExternalId()->GetValue(), "SYSTEM");
    EXPECT_EQ(full.RootElement()->GetName(), "Podani");
    EXPECT_EQ(full.FirstDeclaration(), declaration);
    EXPECT_EQ(full.ContainerCount(), 3);
    EXPECT_EQ(full.ContainerAt(2), full.RootElement());
    EXPECT_EQ(full.ContainerAt(3), nullptr);

    full.RootElement()->ChildAdd("child");
    full.SetDefaultDocType(false);
    full.ResetDocument();
    EXPECT_EQ(full.TopNodeCount(), 2);
    EXPECT_EQ(full.RootElement()->NodeCount(), 0);
    EXPECT_EQ(full.SymbolTable().SymbolCount(), 5) << "the symbols went with the old nodes";

    plain.ResetWithDeclaration();
    EXPECT_TRUE(plain.DefaultDeclaration());
    EXPECT_EQ(plain.TopNodes().First()->NodeKind(), xeDeclaration);
    TXmlDocument bare(nullptr, false, false, false, "");
    EXPECT_EQ(bare.TopNodeCount(), 0);
    TxDeclaration* forced = bare.ForceDeclaration();
    EXPECT_EQ(bare.ForceDeclaration(), forced);
    EXPECT_EQ(bare.TopNodeCount(), 1);
}

TEST(XmlDocument, SettingsHaveTheirDefaults)
{
    TXmlDocument doc(nullptr);
    EXPECT_EQ(doc.SelfCloseText(), "/>");
    EXPECT_FALSE(doc.DropCommentsOnParse());
    EXPECT_EQ(doc.LineBreakStyle(), lbCRLF);
    EXPECT_TRUE(doc.FloatExponentAllowed());
    EXPECT_EQ(doc.FloatDigits(), 6);
    EXPECT_EQ(doc.TextCodePage(), 0);
    EXPECT_EQ(doc.TextEncoding(), seUtf8);
    EXPECT_FALSE(doc.RepairStructure());
    EXPECT_EQ(doc.IndentText(), "\t");
    EXPECT_EQ(doc.EmptyElementStyle(), csSelfClosing);
    EXPECT_FALSE(doc.RootRequired());
    EXPECT_EQ(doc.SecondFractionDigits(), 0);
    EXPECT_EQ(doc.Layout(), xlPreserve);
    EXPECT_FALSE(doc.UseLocalTimeZone());
    EXPECT_TRUE(doc.StoreDefaults());
    EXPECT_EQ(doc.RepairNames(), nullptr);
    doc.SetLayout(xlReadable);
    doc.ApplyDefaults();
    EXPECT_EQ(doc.Layout(), xlPreserve);
}

TEST(XmlDocument, ReadableAndCompactLayouts)
{
    Sample s;
    s.doc.SetLayout(xlReadable);
    EXPECT_EQ(s.doc.WriteToText(), kDeclaration + "\r\n<root a=\"x\">\r\n\t<b/>\r\n</root>\r\n");
    s.doc.SetLayout(xlCompact);
    EXPECT_EQ(s.doc.WriteToText(), kDeclaration + "\r\n<root a=\"x\"><b/></root>");
    s.doc.SetLayout(xlPreserve);
    EXPECT_EQ(s.doc.WriteToText(), kDeclaration + "\r\n<root a=\"x\"><b/></root>");
    s.doc.SetLineBreakStyle(lbLF);
    s.doc.SetLayout(xlReadable);
    s.doc.SetIndentText("  ");
    EXPECT_EQ(s.doc.WriteToUtf8Text(), kDeclaration + "\n<root a=\"x\">\n  <b/>\n</root>\n");
    EXPECT_TRUE(s.Warnings().empty());
    EXPECT_EQ(s.heard.back(), "info: writing declaration with encoding \"utf-8\" and codepage 0");
}

TEST(XmlDocument, ReadableLayoutOfTextAndNesting)
{
    TXmlDocument doc(nullptr, false, false, true, "r");
    doc.SetLayout(xlReadable);
    TxElement* root = doc.RootElement();
    root->SetValue("v");
    TXmlNode* c = root->ChildAdd("c");
    c->ChildAdd("d")->SetValue("deep");
    c->NodeAdd(new TxComment(&doc));
    static_cast<TxComment*>(c->NodeAt(1))->SetValue("note");
    EXPECT_EQ(doc.WriteToText(), "<r>v\r\n"
                                 "\t<c>\r\n"
                                 "\t\t<d>deep</d>\r\n"
                                 "\t\t<!--note-->\r\n"
                                 "\t</c>\r\n"
                                 "</r>\r\n");
}

TEST(XmlDocument, EscapingInValuesAndAttributes)
{
    TXmlDocument doc(nullptr, false, false, true, "r");
    doc.RootElement()->SetValue("a<b&c\"d'e>f");
    doc.RootElement()->SetAttributeValue("t", "a<b&c\"d'e>f");
    EXPECT_EQ(doc.WriteToText(),
              "<r t=\"a&lt;b&amp;c&quot;d&apos;e&gt;f\">a&lt;b&amp;c&quot;d&apos;e&gt;f</r>");
    EXPECT_EQ(doc.RootElement()->GetValue(), "a<b&c\"d'e>f");
}

TEST(XmlDocument, Utf16WithByteOrderMarks)
{
    TXmlDocument doc(nullptr, false, false, true, "A");
    doc.SetTextEncoding(seUtf16LE);
    EXPECT_EQ(doc.WriteToText(), std::string("\xFF\xFE<\0A\0/\0>\0", 10));
    EXPECT_EQ(doc.ByteOrderMark(), EncodingSignatures[kSignatureUtf16LE]);
    doc.SetTextEncoding(seUtf16BE);
    EXPECT_EQ(doc.WriteToText(), std::string("\xFE\xFF\0<\0A\0/\0>", 10));
    EXPECT_EQ(doc.ByteOrderMark().MarkPresent, 1);
    doc.SetTextEncoding(seUtf8);
    EXPECT_EQ(doc.WriteToText(), "<A/>") << "no mark for UTF-8";
    EXPECT_EQ(doc.ByteOrderMark().Length, 0);
    EXPECT_EQ(doc.ByteOrderMark().Encoding, seUtf8);

    doc.RootElement()->SetValue("Řeka \xF0\x9F\x98\x80");
    EXPECT_EQ(doc.WriteToWideText(), u"<A>Řeka \U0001F600</A>");
    doc.SetTextEncoding(seUtf16LE);
    const std::string bytes = doc.WriteToText();
    EXPECT_EQ(bytes.substr(2, 6), std::string("<\0A\0>\0", 6));
    EXPECT_EQ(bytes.substr(8, 2), "\x58\x01") << "Ř";
    EXPECT_EQ(bytes.substr(18, 4), std::string("\x3D\xD8\x00\xDE", 4)) << "the emoji as a surrogate pair";
}

TEST(XmlDocument, WindowsCodePageOutput)
{
    Sample s;
    s.doc.SetLayout(xlCompact);
    s.doc.ForceDeclaration()->SetDeclarationEncoding("windows-1250");
    s.doc.SetTextEncoding(seAnsi);
    s.doc.SetTextCodePage(1250);
    s.doc.RootElement()->SetValue("Příliš žluťoučký kůň");
    EXPECT_EQ(s.doc.WriteToText(),
              "<?xml version=\"1.0\" encoding=\"windows-1250\"?>\r\n"
              "<root a=\"x\">P\xF8\xEDli\x9A \x9Elu\x9Dou\xE8k\xFD k\xF9\xF2<b/></root>");
    EXPECT_TRUE(s.Warnings().empty());
    EXPECT_EQ(s.heard.front(), "info: writing declaration with encoding \"windows-1250\" and codepage 1250");

    s.doc.RootElement()->SetValue("Ω je omega");
    EXPECT_EQ(s.doc.WriteToText().substr(47), "<root a=\"x\">? je omega<b/></root>");
    EXPECT_EQ(s.Warnings(), (std::vector<std::string>{"warn: default char used for codepage substitution"}));
}

TEST(XmlDocument, UnsupportedEncodingAndMissingRoot)
{
    Sample s;
    s.doc.SetTextEncoding(seUtf32BE);
    core::TMemoryStream out;
    s.doc.SaveToStream(out);
    EXPECT_EQ(out.Size(), 0);
    EXPECT_EQ(s.Warnings(), (std::vector<std::string>{"fail: unsupported encoding (utf-32BE)"}));

    TXmlDocument empty(nullptr, true, false, false, "");
    empty.SetRootRequired(true);
    try {
        empty.WriteToText();
        FAIL();
    } catch (const core::EFilerError& e) {
        EXPECT_EQ(e.Message(), "XML root element not defined.");
    }
    empty.SetTextEncoding(seUtf16LE);
    core::TMemoryStream none;
    EXPECT_THROW(empty.SaveToStream(none), core::EFilerError);
    EXPECT_EQ(none.Size(), 0) << "not even the byte-order mark";
    empty.SetRootRequired(false);
    EXPECT_EQ(empty.WriteToUtf8Text(), kDeclaration + "\r\n");
}

TEST(XmlDocument, DeclarationsCommentsAndInstructions)
{
    TXmlDocument doc(nullptr, true, true, true, "html");
    doc.SetLayout(xlReadable);
    TxNodeList& top = doc.TopNodes();
    auto* docType = static_cast<TxDocType*>(top.ItemAt(1));
    docType->ExternalId()->SetValue("PUBLIC");
    docType->PublicLiteral()->SetRawValue("-//W3C//DTD XHTML 1.0//EN");
    docType->SystemLiteral()->SetRawValue("xhtml1.dtd");
    docType->SystemLiteral()->SetQuoteStyle(qsSingle);

    auto* sheet = new TxStyleSheet(&doc);
    sheet->SetAttributeValue("href", "a.xsl");
    top.Insert(1, sheet);
    auto* instruction = new TxInstruction(&doc);
    instruction->SetValue("php echo \"a\" && b;");
    top.Add(instruction);
    auto* comment = new TxComment(&doc);
    comment->SetValue("a < b");
    top.Add(comment);
    EXPECT_EQ(comment->RawValue(), "a &lt; b");
    EXPECT_EQ(comment->GetValue(), "a < b");
    EXPECT_EQ(instruction->GetValue(), "php echo \"a\" && b;");
    EXPECT_EQ(instruction->GetName(), "PI");
    EXPECT_EQ(sheet->GetName(), "xml-stylesheet");

    EXPECT_EQ(doc.WriteToText(), kDeclaration + "\r\n"
                                 "<?xml-stylesheet href=\"a.xsl\"?>\r\n"
                                 "<!DOCTYPE html PUBLIC \"-//W3C//DTD XHTML 1.0//EN\" 'xhtml1.dtd' >\r\n"
                                 "<html/>\r\n"
                                 "<?php echo \"a\" && b;?>\r\n"
                                 "<!--a &lt; b-->");

    docType->ExternalId()->SetValue("");
    EXPECT_NE(doc.WriteToText().find("<!DOCTYPE html >"), std::string::npos);
    docType->ExternalId()->SetValue("SYSTEM");
    auto* element = new TxDtdElement(&doc);
    element->SetName("html");
    element->NodeAdd(new TxCharData(&doc));
    static_cast<TxCharData*>(element->NodeAt(0))->SetRawValue("(#PCDATA)");
    docType->NodeAdd(element);
    auto* entity = new TxDtdEntity(&doc);
    entity->SetName("copy");
    auto* literal = new TxQuotedText(&doc);
    literal->SetRawValue("&#169;");
    entity->NodeAdd(literal);
    docType->NodeAdd(entity);
    EXPECT_EQ(element->GetValue(), "(#PCDATA)");
    EXPECT_NE(doc.WriteToText().find("<!DOCTYPE html SYSTEM 'xhtml1.dtd' [\r\n"
                                     "<!ELEMENT html (#PCDATA)>\r\n"
                                     "<!ENTITY copy \"&#169;\">\r\n"
                                     "]>\r\n"),
              std::string::npos);
}

TEST(XmlDocument, DeclarationLineBreakInEveryLayout)
{
    TXmlDocument doc(nullptr, true, false, true, "r");
    doc.SetLayout(xlCompact);
    doc.SetLineBreakStyle(lbCR);
    EXPECT_EQ(doc.WriteToText(), "<?xml version=\"1.0\" encoding=\"utf-8\"?>\r<r/>");
}

TEST(XmlDocument, CDataIsWrittenExactlyAndStaysWellFormed)
{
    TXmlDocument doc(nullptr, false, false, true, "r");
    auto* cdata = new TxCData(&doc);
    cdata->SetValue("if (a < b && c) { x = y[z[0]]>1; }");
    doc.RootElement()->NodeAdd(cdata);
    EXPECT_EQ(cdata->GetValue(), "if (a < b && c) { x = y[z[0]]>1; }");
    EXPECT_EQ(doc.WriteToText(), "<r><![CDATA[if (a < b && c) { x = y[z[0]]]]><![CDATA[>1; }]]></r>");
    cdata->SetValue("]]>]]>");
    EXPECT_EQ(doc.WriteToText(), "<r><![CDATA[]]]]><![CDATA[>]]]]><![CDATA[>]]></r>");
    auto* section = new TxConditionalSection(&doc);
    EXPECT_EQ(section->NodeKind(), xeComment);
    std::unique_ptr<TXmlNode> same(section->NewInstance(&doc));
    EXPECT_EQ(same->ClassName(), "TxConditionalSection");
    delete section;
}

TEST(XmlDocument, NewNodesAndEvents)
{
    TXmlDocument doc(nullptr);
    std::unique_ptr<TxElement> element(doc.NewElement("e"));
    EXPECT_EQ(element->GetName(), "e");
    EXPECT_EQ(element->Parent(), nullptr);
    EXPECT_EQ(doc.TopNodeCount(), 1) << "not put into the document";

    auto* attribute = new TxAttribute(&doc);
    attribute->SetName("k");
    std::vector<TxAttribute*> attributes{attribute};
    std::vector<TXmlNode*> nodes{doc.NewElement("child")};
    std::unique_ptr<TXmlNode> node(doc.NewNode(xeElement, "n", "text", attributes, nodes));
    EXPECT_EQ(node->AttributeNameAt(0), "k");
    EXPECT_EQ(node->GetValue(), "text");
    EXPECT_EQ(node->ElementAt(0)->GetName(), "child");
    std::unique_ptr<TXmlNode> declaration(doc.NewNode(xeDeclaration, "", "", {}, {}));
    EXPECT_EQ(declaration->GetName(), "xml");
    EXPECT_EQ(doc.NewNode(xeEndTag, "x", "", {}, {}), nullptr);
    std::unique_ptr<TxElement> withNodes(doc.NewElementWithNodes("w", nodes = {doc.NewElement("i")}));
    EXPECT_EQ(withNodes->NodeCount(), 1);

    std::vector<std::int64_t> progress;
    std::vector<TXmlNode*> created;
    doc.OnLoadProgress = [&](core::TObject* sender, std::int64_t position) {
        EXPECT_EQ(sender, &doc);
        progress.push_back(position);
    };
    doc.OnNodeCreated = [&](core::TObject*, TXmlNode* n) { created.push_back(n); };
    doc.RootElement()->SetName("root");
    doc.RootElement()->NotifyNodeCreated(doc.RootElement());
    EXPECT_EQ(created, (std::vector<TXmlNode*>{doc.RootElement()}));
    doc.WriteToText();
    EXPECT_EQ(progress, (std::vector<std::int64_t>{0, 7, 7})) << "start, after the element, the end";
}

TEST(XmlDocument, LoadingATooShortTextLeavesItEmpty)
{
    TXmlDocument doc(nullptr);
    doc.LoadFromText("<a/>");
    EXPECT_EQ(doc.TopNodeCount(), 0) << "four bytes tell no encoding";
}

TEST_F(TempFolder, SaveToFileReplacesOnlyAfterSuccess)
{
    const std::string name = (dir / "register.xml").string();
    core::WriteFileBytes(name, "old content");
    ::chmod(name.c_str(), 0640);

    Sample s;
    s.doc.SetTextEncoding(seUtf32LE);
    s.doc.SaveToFile(name);
    EXPECT_EQ(core::ReadFileBytes(name), "old content") << "an unsupported encoding leaves the file";
    EXPECT_EQ(Entries(), std::vector<std::string>{"register.xml"}) << "and no temporary file";

    TXmlDocument rootless(nullptr, true, false, false, "");
    rootless.SetRootRequired(true);
    EXPECT_THROW(rootless.SaveToFile(name), core::EFilerError);
    EXPECT_EQ(core::ReadFileBytes(name), "old content");
    EXPECT_EQ(Entries(), std::vector<std::string>{"register.xml"});

    s.doc.SetTextEncoding(seUtf8);
    s.doc.SetLayout(xlCompact);
    s.doc.SaveToFile(name);
    EXPECT_EQ(core::ReadFileBytes(name), kDeclaration + "\r\n<root a=\"x\"><b/></root>");
    struct stat st {};
    ASSERT_EQ(::stat(name.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0640u) << "the file keeps its permissions";
    EXPECT_EQ(Entries(), std::vector<std::string>{"register.xml"});

    const std::string fresh = (dir / "new.xml").string();
    s.doc.SaveToFile(fresh);
    EXPECT_EQ(core::ReadFileBytes(fresh), core::ReadFileBytes(name));
    EXPECT_THROW(s.doc.SaveToFile((dir / "missing" / "x.xml").string()), core::EFCreateError);
}

TEST(XmlDocument, DeepTreesAreBuiltSearchedCopiedWrittenAndFreed)
{
    constexpr int kDepth = 100000;
    auto doc = std::make_unique<TXmlDocument>(nullptr, false, false, true, "n");
    doc->SetLayout(xlCompact);
    TXmlNode* node = doc->RootElement();
    for (int i = 1; i < kDepth; ++i)
        node = node->ChildAdd("n");
    node->SetValue("bottom");
    EXPECT_EQ(node->TreeDepth(), kDepth - 1);

    TXmlNode* found = doc->RootElement()->SearchNode("CharData");
    ASSERT_NE(found, nullptr);
    EXPECT_EQ(found->GetValue(), "bottom");
    EXPECT_EQ(doc->RootElement()->SearchNode("missing"), nullptr);
    std::string path;
    for (int i = 0; i < 5; ++i)
        path += "/n";
    EXPECT_EQ(doc->RootElement()->SearchNode(path)->TreeDepth(), 4);

    const std::string text = doc->WriteToText();
    EXPECT_EQ(text.size(), static_cast<std::size_t>(kDepth) * 7 + 6);
    EXPECT_EQ(text.substr(0, 9), "<n><n><n>");
    EXPECT_EQ(text.substr(static_cast<std::size_t>(kDepth) * 3 - 3, 17), "<n>bottom</n></n>");
    EXPECT_EQ(text.substr(text.size() - 8), "</n></n>");

    TXmlDocument copy(nullptr, false, false, true, "c");
    copy.RootElement()->CopyFrom(doc->RootElement());
    EXPECT_EQ(copy.RootElement()->SearchNode("CharData")->TreeDepth(), kDepth);
    copy.RootElement()->DeleteEmptyNodes();

    doc.reset(); // freed without recursion
    SUCCEED();
}

TEST(XmlDocument, InstructionsAreWrittenAsTheyWereRead)
{
    TXmlDocument doc(nullptr, false, false, false, "");
    auto* instruction = new TxInstruction(&doc);
    instruction->SetRawValue("target a=\"x&amp;y\" b='&lt;'\nc");
    doc.TopNodes().Add(instruction);
    EXPECT_EQ(doc.WriteToText(), "<?target a=\"x&amp;y\" b='&lt;'\r\nc?>") << "no references resolved on the way out";
    EXPECT_EQ(instruction->GetValue(), "target a=\"x&amp;y\" b='&lt;'\r\nc");
    instruction->SetValue("set \"by\" code\r\n&");
    EXPECT_EQ(instruction->RawValue(), "set \"by\" code\n&");
}

TEST(XmlDocument, DocumentTypesCopyTheirNameAndLiterals)
{
    TXmlDocument doc(nullptr, false, true, false, "Podani");
    auto* original = static_cast<TxDocType*>(doc.TopNodes().First());
    original->SystemLiteral()->SetRawValue("podani.dtd");
    original->SystemLiteral()->SetQuoteStyle(qsSingle);
    original->NodeAdd(new TxDtdNotation(&doc));

    TXmlDocument other(nullptr, false, true, false, "x");
    auto* copy = static_cast<TxDocType*>(other.TopNodes().First());
    copy->CopyFrom(original);
    EXPECT_EQ(copy->GetName(), "Podani");
    EXPECT_EQ(copy->ExternalId()->GetValue(), "SYSTEM");
    EXPECT_EQ(copy->SystemLiteral()->RawValue(), "podani.dtd");
    EXPECT_EQ(copy->SystemLiteral()->QuoteStyle(), qsSingle);
    ASSERT_EQ(copy->NodeCount(), 1);
    EXPECT_EQ(copy->NodeAt(0)->NodeKind(), xeDtdNotation);
    EXPECT_EQ(other.WriteToText(), "<!DOCTYPE Podani SYSTEM 'podani.dtd' [<!NOTATION  >]>");
}

// --- nodes read by the parser ---------------------------------------------------------

TEST(XmlDocument, ParsedNodesTakenOutOutliveReloadsAndTheirDocument)
{
    auto doc = std::make_unique<TXmlDocument>(nullptr);
    doc->LoadFromText("<?xml version=\"1.0\"?><r><a x=\"1\">text</a><b/></r>");
    TXmlNode* a = doc->RootElement()->NodeExtract(doc->RootElement()->ElementAt(0));
    ASSERT_NE(a, nullptr);
    EXPECT_TRUE(a->InArena());
    std::unique_ptr<TXmlNode> kept(a);

    // A reload frees the tree; the node taken out stays whole.
    doc->LoadFromText("<?xml version=\"1.0\"?><s><c/></s>");
    EXPECT_EQ(doc->RootElement()->GetName(), "s");
    EXPECT_EQ(kept->NodeCount(), 2);
    EXPECT_EQ(kept->NodeAt(0)->NodeKind(), xeAttribute);

    // Nodes of the parser and of code mix in one tree and are freed alike.
    TXmlNode* built = doc->RootElement()->ChildAdd("built");
    EXPECT_FALSE(built->InArena());
    doc->RootElement()->ElementAt(0)->ChildAdd("inner")->SetValue("v");
    doc->RootElement()->NodeDelete(0);
    EXPECT_EQ(doc->WriteToUtf8Text(), "<?xml version=\"1.0\"?>\r\n<s><built/></s>");

    // The document goes first; the node it read is freed after it.
    doc.reset();
    kept.reset();
    SUCCEED();
}

TEST(XmlDocument, ListsOfParsedNodesGrowPastTheArenaAndShrinkBack)
{
    std::string text = "<r>";
    for (int i = 0; i < 1000; ++i)
        text += "<e i=\"" + std::to_string(i) + "\"/>";
    text += "</r>";
    TXmlDocument doc(nullptr);
    doc.LoadFromText(text);
    TXmlNode* root = doc.RootElement();
    ASSERT_EQ(root->NodeCount(), 1000);
    for (int i = 999; i >= 0; i -= 2)
        root->NodeDelete(i);
    EXPECT_EQ(root->NodeCount(), 500);
    EXPECT_EQ(root->NodeAt(499)->AttributeValueNamed("i"), "998");
    for (int i = 0; i < 10; ++i)
        root->NodeInsert(0, root->NodeExtract(root->NodeAt(root->NodeCount() - 1)));
    EXPECT_EQ(root->NodeAt(0)->AttributeValueNamed("i"), "980");
    TxNodeList& top = doc.TopNodes();
    top.Add(root->NodeExtract(root->NodeAt(1)));
    EXPECT_EQ(top.Count(), 2);
    EXPECT_EQ(top.Last()->AttributeValueNamed("i"), "982");
}
