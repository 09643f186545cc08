#include "xml/BinaryXml.h"

#include "xml/FastStreams.h"
#include "xml/VarInt.h"
#include "xml/XmlDocument.h"

#include "platform/core/Exceptions.h"
#include "platform/core/Streams.h"

#include "tests/support/TestFolder.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

using namespace xml;
using namespace std::string_literals;

namespace {

const std::string kPlainHeader = "$BXM\x02none\n"s;

// Collects every message that reaches the document, as "level: text".
struct Heard {
    std::vector<std::string> lines;
    explicit Heard(TXmlDocument& doc)
    {
        doc.OnDebugMessage = [this](core::TObject*, TxDebugLevel level, const std::string& text) {
            lines.push_back(std::string(DebugLevelNames[level]) + ": " + text);
        };
    }
    // Everything but the info messages.
    std::vector<std::string> Problems() const
    {
        std::vector<std::string> out;
        for (const std::string& line : lines)
            if (line.rfind("info", 0) != 0)
                out.push_back(line);
        return out;
    }
    bool Has(const std::string& line) const { return std::find(lines.begin(), lines.end(), line) != lines.end(); }
};

std::string SaveBinary(TXmlDocument& doc)
{
    TxStringStream out;
    doc.SaveBinaryStream(out);
    return out.AsString();
}

void LoadBinary(TXmlDocument& doc, const std::string& bytes)
{
    TxStringStream in(bytes);
    doc.LoadBinaryStream(in);
}

// A document with a name for its root, so that "unchanged" can be told from "empty".
struct Untouched {
    TXmlDocument doc{nullptr, false, false, true, "puvodni"};
    bool IsUnchanged() const
    {
        return doc.TopNodeCount() == 1 && doc.RootElement() != nullptr && doc.RootElement()->GetName() == "puvodni";
    }
    bool IsEmpty() const { return doc.TopNodeCount() == 0 && doc.SymbolTable().SymbolCount() == 0; }
};

TxQuotedText* AddQuoted(TxContainerNode* parent, const std::string& raw, TxQuoteStyle style)
{
    auto* text = new TxQuotedText(parent->Document());
    text->SetRawValue(raw);
    text->SetQuoteStyle(style);
    parent->NodeAdd(text);
    return text;
}

template <class T>
T* AddRaw(TXmlNode* parent, const std::string& raw)
{
    auto* node = new T(parent->Document());
    node->SetRawValue(raw);
    parent->NodeAdd(node);
    return node;
}

// Every kind of node the text form knows, as the parser leaves them: a
// declaration, a document type with literals and an internal subset,
// comments, an instruction, whitespace kept in the attribute block and
// between elements, quote styles, closing styles, CDATA and Czech text.
void BuildRichDocument(TXmlDocument& doc)
{
    doc.ResetContent(true, false, false);
    doc.SetEmptyElementStyle(csUnspecified); // each element's own closing style shows in the text

    auto* docType = new TxDocType(&doc);
    docType->SetName("Podani");
    docType->ExternalId()->SetRawValue("PUBLIC");
    docType->PublicLiteral()->SetRawValue("-//Konverze//Podani 1.0//CS");
    docType->SystemLiteral()->SetRawValue("podani.dtd");
    docType->SystemLiteral()->SetQuoteStyle(qsSingle);
    auto* dtdElement = new TxDtdElement(&doc);
    dtdElement->SetName("Podani");
    AddRaw<TxCharData>(dtdElement, "(Listina|Poznamka)*");
    docType->NodeAdd(dtdElement);
    auto* entity = new TxDtdEntity(&doc);
    entity->SetName("urad");
    AddQuoted(entity, "Městský úřad Žďár", qsDouble);
    docType->NodeAdd(entity);
    doc.TopNodes().Add(docType);

    auto* comment = new TxComment(&doc);
    comment->SetRawValue(" evidence autorizovaných konverzí ");
    doc.TopNodes().Add(comment);
    auto* instruction = new TxInstruction(&doc);
    instruction->SetRawValue("zpracovani verze=\"2\"");
    doc.TopNodes().Add(instruction);

    auto* root = new TxElement(&doc);
    root->SetName("Podani");
    root->SetNodeClosingStyle(csFull);
    doc.TopNodes().Add(root);
    root->AttributeAddNamed("cislo", "12/2024");
    auto* gap = new TxWhiteSpace(&doc);
    gap->SetRawValue("\n   ");
    root->NodeInsert(1, gap);
    root->SetDirectNodeCount(2);
    root->AttributeAddNamed("typ", "listinná");
    static_cast<TxAttribute*>(root->NodeAt(2))->ValueNode()->SetQuoteStyle(qsSingle);
    ASSERT_EQ(root->DirectNodeCount(), 3);

    AddRaw<TxWhiteSpace>(root, "\n  ");
    auto* listina = static_cast<TxElement*>(root->ChildAdd("Listina"));
    listina->SetNodeClosingStyle(csFull);
    listina->SetValue("Příliš žluťoučký kůň úpěl ďábelské ódy & <jiné>");
    AddRaw<TxWhiteSpace>(root, "\n  ");
    auto* empty = static_cast<TxElement*>(root->ChildAdd("Prazdny"));
    empty->SetNodeClosingStyle(csFull); // written "<Prazdny></Prazdny>"
    AddRaw<TxWhiteSpace>(root, "\n  ");
    auto* closed = static_cast<TxElement*>(root->ChildAdd("Prazdny"));
    closed->SetNodeClosingStyle(csSelfClosing); // written "<Prazdny/>"
    closed->AttributeAddNamed("duvod", "žádný");
    AddRaw<TxWhiteSpace>(root, "\n  ");
    auto* poznamka = static_cast<TxElement*>(root->ChildAdd("Poznamka"));
    poznamka->SetNodeClosingStyle(csFull);
    AddRaw<TxCData>(poznamka, "if (a < b && c > d) { ]]> }");
    AddRaw<TxComment>(poznamka, " vnořený ");
    poznamka->SetValueIndex(0);
    AddRaw<TxWhiteSpace>(root, "\n");
}

} // namespace

// --- exact bytes -------------------------------------------------------------------------

TEST(BinaryXml, ExactBytesOfTextInElement)
{
    TXmlDocument doc(nullptr, false, false, true, "a");
    doc.RootElement()->SetValue("b");
    doc.RootElement()->SetNodeClosingStyle(csFull);
    EXPECT_EQ(SaveBinary(doc), kPlainHeader +
                                   "\x00"s                                  // no shared strings
                                   "\x00\x01\x00\x01" "\x00\x00\x01" "a\x01"s // element: 1 child, value 0, name inline, full
                                   "\x02\x00\x00\x01" "b"s                  // character data, value inline
                                   "\x10"s);                                // end marker
}

TEST(BinaryXml, ExactBytesOfRepeatedNames)
{
    TXmlDocument doc(nullptr, false, false, true, "a");
    TxElement* a = doc.RootElement();
    a->SetNodeClosingStyle(csFull);
    for (int i = 0; i < 2; ++i)
        static_cast<TxElement*>(a->ChildAdd("b"))->SetNodeClosingStyle(csSelfClosing);
    EXPECT_EQ(SaveBinary(doc), kPlainHeader +
                                   "\x01\x00\x01" "b"s                       // "b" is shared: table slot 1
                                   "\x00\x02\x00\x00" "\x00\x00\x01" "a\x01"s // a: 2 children, name inline, full
                                   "\x00\x00\x00\x00\x02\x02"s               // b: name reference 2, self-closing
                                   "\x00\x00\x00\x00\x02\x02"s
                                   "\x10"s);
}

TEST(BinaryXml, MostUsedStringsComeFirstAndEmptyTextsTakeNoSlot)
{
    TXmlDocument doc(nullptr, false, false, true, "r");
    TxElement* root = doc.RootElement();
    root->ChildAdd("x")->AttributeAddNamed("y", "");
    root->ChildAdd("y");
    root->ChildAdd("y");
    root->ChildAdd("x");
    const std::string bytes = SaveBinary(doc);
    // "y" is used three times (twice as a name, once as an attribute name), "x" twice.
    EXPECT_EQ(bytes.substr(kPlainHeader.size(), 7), "\x02\x00\x01y\x00\x01x"s);
    // The attribute: name "y" (reference 2), the empty value (reference 1), double quotes.
    EXPECT_NE(bytes.find("\x01\x02\x01\x00"s), std::string::npos);
}

// --- round trips -----------------------------------------------------------------------

TEST(BinaryXml, RoundTripKeepsTextFormTreeAndStyles)
{
    TXmlDocument doc(nullptr);
    BuildRichDocument(doc);
    const std::string text = doc.WriteToUtf8Text();
    ASSERT_NE(text.find("<Prazdny></Prazdny>"), std::string::npos);
    ASSERT_NE(text.find("<Prazdny duvod=\"žádný\"/>"), std::string::npos);
    ASSERT_NE(text.find("typ='listinná'"), std::string::npos);
    ASSERT_NE(text.find("<!DOCTYPE Podani PUBLIC \"-//Konverze//Podani 1.0//CS\" 'podani.dtd'"), std::string::npos);
    const std::string bytes = SaveBinary(doc);

    TXmlDocument back(nullptr);
    Heard heard(back);
    back.SetEmptyElementStyle(csUnspecified);
    LoadBinary(back, bytes);
    EXPECT_EQ(heard.Problems(), std::vector<std::string>{});
    EXPECT_TRUE(heard.Has("info: total node count: 27")) << heard.lines.size();
    EXPECT_EQ(back.WriteToUtf8Text(), text);

    // The pieces the text form does not show directly.
    TxElement* root = back.RootElement();
    ASSERT_NE(root, nullptr);
    EXPECT_EQ(root->DirectNodeCount(), 3);
    EXPECT_EQ(root->NodeAt(1)->NodeKind(), xeWhiteSpace);
    EXPECT_EQ(root->NodeClosingStyle(), csFull);
    EXPECT_EQ(root->AttributeValueNamed("typ"), "listinná");
    auto* poznamka = static_cast<TxContainerNode*>(root->ElementAt(3));
    ASSERT_NE(poznamka, nullptr);
    EXPECT_EQ(poznamka->ValueIndex(), 0);
    EXPECT_EQ(poznamka->GetValue(), "if (a < b && c > d) { ]]> }");
    auto* docType = static_cast<TxDocType*>(back.TopNodes().ItemAt(1));
    EXPECT_EQ(docType->PublicLiteral()->QuoteStyle(), qsDouble);
    EXPECT_EQ(docType->SystemLiteral()->QuoteStyle(), qsSingle);
    EXPECT_EQ(docType->NodeAt(1)->NodeKind(), xeDtdEntity);
    EXPECT_EQ(docType->NodeAt(1)->NodeAt(0)->NodeKind(), xeQuotedText);

    // Saved again, the loaded document gives the same bytes.
    EXPECT_EQ(SaveBinary(back), bytes);
}

TEST(BinaryXml, ClosingStyleIsTheElementsOwnWhateverTheDocumentForces)
{
    TXmlDocument doc(nullptr, false, false, true, "a");
    doc.RootElement()->SetNodeClosingStyle(csFull);
    doc.SetEmptyElementStyle(csSelfClosing); // the text form would close it with "/>"
    ASSERT_EQ(doc.WriteToUtf8Text(), "<a/>");
    const std::string bytes = SaveBinary(doc);
    EXPECT_EQ(bytes[bytes.size() - 2], '\x01');

    TXmlDocument back(nullptr);
    back.SetEmptyElementStyle(csUnspecified);
    LoadBinary(back, bytes);
    EXPECT_EQ(back.RootElement()->NodeClosingStyle(), csFull);
    EXPECT_EQ(back.WriteToUtf8Text(), "<a></a>");
}

TEST(BinaryXml, ConditionalSectionComesBackAsComment)
{
    TXmlDocument doc(nullptr, false, false, false, "");
    auto* section = new TxConditionalSection(&doc);
    section->SetRawValue("[INCLUDE[ ]]");
    doc.TopNodes().Add(section);
    TXmlDocument back(nullptr);
    LoadBinary(back, SaveBinary(doc));
    ASSERT_EQ(back.TopNodeCount(), 1);
    EXPECT_EQ(back.TopNodes().First()->NodeKind(), xeComment);
    EXPECT_EQ(static_cast<TxCharData*>(back.TopNodes().First())->RawValue(), "[INCLUDE[ ]]");
}

TEST(BinaryXml, DeepTreesRoundTripWithoutRecursion)
{
    constexpr int kDepth = 200000;
    TXmlDocument doc(nullptr, false, false, true, "d");
    TXmlNode* node = doc.RootElement();
    for (int i = 0; i < kDepth; ++i)
        node = node->ChildAdd("d");
    node->SetValue("dno");
    const std::string bytes = SaveBinary(doc);

    TXmlDocument back(nullptr);
    LoadBinary(back, bytes);
    int depth = 0;
    for (TXmlNode* at = back.RootElement(); at->ElementCount() > 0; at = at->ElementAt(0))
        ++depth;
    EXPECT_EQ(depth, kDepth);
    EXPECT_EQ(SaveBinary(back), bytes);
}

TEST(BinaryXml, LoadingSetsTheEncodingOfTheDeclaration)
{
    TXmlDocument doc(nullptr, true, false, true, "r");
    doc.FirstDeclaration()->SetDeclarationEncoding("windows-1250");
    const std::string bytes = SaveBinary(doc);

    TXmlDocument back(nullptr);
    ASSERT_EQ(back.TextEncoding(), seUtf8);
    LoadBinary(back, bytes);
    EXPECT_EQ(back.TextEncoding(), seAnsi);
    EXPECT_EQ(back.TextCodePage(), 1250);
}

// --- the document's own numbering ---------------------------------------------------------

TEST(BinaryXml, SavingLeavesTheSymbolTableAndLooseNodesAlone)
{
    TXmlDocument doc(nullptr, false, false, true, "koren");
    TxElement* root = doc.RootElement();
    root->ChildAdd("jednou");
    for (int i = 0; i < 3; ++i)
        root->ChildAdd("casto")->SetValue("hodnota");
    // Nodes outside the tree hold IDs of the same table.
    std::unique_ptr<TxElement> loose(doc.NewElement("volny"));
    loose->SetValue("mimo strom");
    std::unique_ptr<TXmlNode> extracted(root->NodeExtract(root->NodeAt(0)));

    std::vector<std::string> before;
    for (int id = 1; id <= doc.SymbolTable().SymbolCount(); ++id)
        before.push_back(doc.SymbolTable().Lookup(id));
    const std::string first = SaveBinary(doc);

    std::vector<std::string> after;
    for (int id = 1; id <= doc.SymbolTable().SymbolCount(); ++id)
        after.push_back(doc.SymbolTable().Lookup(id));
    EXPECT_EQ(after, before);
    EXPECT_EQ(loose->GetName(), "volny");
    EXPECT_EQ(loose->GetValue(), "mimo strom");
    EXPECT_EQ(extracted->GetName(), "jednou");
    EXPECT_EQ(doc.WriteToUtf8Text(),
              "<koren><casto>hodnota</casto><casto>hodnota</casto><casto>hodnota</casto></koren>");
    EXPECT_EQ(SaveBinary(doc), first);
    // Strings outside the tree are not written.
    EXPECT_EQ(first.find("volny"), std::string::npos);
    EXPECT_EQ(first.find("jednou"), std::string::npos);
}

// --- header --------------------------------------------------------------------------------

TEST(BinaryXml, HeadersThatAreRefusedLeaveTheDocumentAsItWas)
{
    struct Case {
        std::string bytes;
        std::string message;
    };
    const std::vector<Case> cases = {
        {"<?xml version=\"1.0\"?><a/>", "fail: invalid binary xml stream"},
        {"$BXN\x02none\n\x00\x10"s, "fail: invalid binary xml stream"},
        {"$BXM\x03none\n\x00\x10"s, "fail: incompatible binary version"},
        {"$BXM\x80\x01none\n\x00\x10"s, "fail: incompatible binary version"},
        {"$BXM\x02zlib\n\x05\x00\x10"s, "fail: OnDecode event unassigned"},
        {"$BXM"s, "fail: invalid binary xml stream"},
        {"$BXM\x02no"s, "fail: invalid binary xml stream"},
    };
    for (const Case& c : cases) {
        Untouched target;
        Heard heard(target.doc);
        TxStringStream in(c.bytes);
        target.doc.LoadBinaryStream(in);
        EXPECT_EQ(heard.lines, std::vector<std::string>{c.message}) << c.bytes;
        EXPECT_TRUE(target.IsUnchanged()) << c.bytes;
        EXPECT_EQ(in.Position(), 0) << c.bytes;
    }
}

TEST(BinaryXml, VersionOneIsReadWithAWarning)
{
    TXmlDocument doc(nullptr);
    Heard heard(doc);
    LoadBinary(doc, "$BXM\x01none\n\x00\x02\x00\x00\x02hi\x10"s);
    EXPECT_EQ(heard.Problems(), std::vector<std::string>{"warn: loading binary version=1, current version=2"});
    ASSERT_EQ(doc.TopNodeCount(), 1);
    EXPECT_EQ(doc.WriteToUtf8Text(), "hi");
}

// --- coders ----------------------------------------------------------------------------------

namespace {

// A coder that turns every byte over, so that a coded body cannot pass for a plain one.
void Invert(core::TStream& source, core::TStream& dest)
{
    std::string bytes(static_cast<std::size_t>(source.Size() - source.Position()), '\0');
    source.ReadBuffer(bytes.data(), static_cast<std::int64_t>(bytes.size()));
    for (char& c : bytes)
        c = static_cast<char>(~c);
    dest.WriteBuffer(bytes.data(), static_cast<std::int64_t>(bytes.size()));
}

} // namespace

TEST(BinaryXml, CodedBodyRoundTripThroughTheEvents)
{
    TXmlDocument doc(nullptr);
    BuildRichDocument(doc);
    const std::string plain = SaveBinary(doc);
    const std::string plainBody = plain.substr(kPlainHeader.size());

    TxBinaryXml writer(&doc);
    writer.OnEncode = [](core::TStream& source, core::TStream& dest, std::string& name, std::int64_t) {
        Invert(source, dest);
        name = "inv1";
    };
    TxStringStream out;
    out.WriteString("HLAVA"); // what stands before the form is not touched
    writer.WriteDocument(out);
    const std::string coded = out.AsString();
    ASSERT_EQ(coded.substr(0, 15), "HLAVA$BXM\x02inv1\n"s);
    std::string size;
    {
        TxStringStream s;
        WriteVarUInt(s, static_cast<std::uint32_t>(plainBody.size()));
        size = s.AsString();
    }
    EXPECT_EQ(coded.substr(15, size.size()), size);
    std::string inverted = plainBody;
    for (char& c : inverted)
        c = static_cast<char>(~c);
    EXPECT_EQ(coded.substr(15 + size.size()), inverted);

    TXmlDocument back(nullptr);
    back.SetEmptyElementStyle(csUnspecified);
    Heard heard(back);
    TxBinaryXml reader(&back);
    std::string seenName;
    std::int64_t seenSize = 0;
    reader.OnDecode = [&](core::TStream& source, core::TStream& dest, const std::string& name, std::int64_t size) {
        seenName = name;
        seenSize = size;
        Invert(source, dest);
    };
    TxStringStream in(coded);
    in.SetPosition(5);
    reader.ReadDocument(in);
    EXPECT_EQ(heard.Problems(), std::vector<std::string>{});
    EXPECT_TRUE(heard.Has(DebugFormat("info: coder name: inv1, compressed size: %zu, plain size: %zu",
                                      plainBody.size(), plainBody.size())));
    EXPECT_EQ(seenName, "inv1");
    EXPECT_EQ(seenSize, static_cast<std::int64_t>(plainBody.size()));
    EXPECT_EQ(back.WriteToUtf8Text(), doc.WriteToUtf8Text());
    EXPECT_EQ(in.AsString(), coded) << "the caller's stream is read, never written";
}

TEST(BinaryXml, EncoderNamesThatCannotBeWrittenKeepThePlainForm)
{
    TXmlDocument doc(nullptr, false, false, true, "a");
    const std::string plain = SaveBinary(doc);
    for (const std::string& name : std::vector<std::string>{"abc", "none", "abcde"}) {
        Heard heard(doc);
        TxBinaryXml writer(&doc);
        writer.OnEncode = [&name](core::TStream& source, core::TStream& dest, std::string& coder, std::int64_t) {
            Invert(source, dest);
            coder = name;
        };
        TxStringStream out;
        writer.WriteDocument(out);
        EXPECT_EQ(out.AsString(), plain) << name;
        EXPECT_EQ(heard.Problems(),
                  name.size() == 4 ? std::vector<std::string>{} : std::vector<std::string>{"fail: coder name length <> 4"});
    }
}

TEST(BinaryXml, DecodedBodyOfAnotherSizeIsDamage)
{
    Untouched target;
    Heard heard(target.doc);
    TxBinaryXml reader(&target.doc);
    reader.OnDecode = [](core::TStream&, core::TStream& dest, const std::string&, std::int64_t) {
        dest.WriteString("\x00\x10"s);
    };
    TxStringStream in("$BXM\x02inv1\n\x07\x01\x02"s);
    reader.ReadDocument(in);
    EXPECT_TRUE(heard.Has("fail: invalid binary xml stream"));
    EXPECT_TRUE(target.IsUnchanged());
}

// --- damaged streams ----------------------------------------------------------------------------

TEST(BinaryXml, TruncatedAtEveryByteFailsCleanly)
{
    TXmlDocument doc(nullptr);
    BuildRichDocument(doc);
    const std::string bytes = SaveBinary(doc);
    for (std::size_t length = 0; length < bytes.size(); ++length) {
        Untouched target;
        Heard heard(target.doc);
        TxStringStream in("vpredu" + bytes.substr(0, length));
        in.SetPosition(6);
        ASSERT_NO_THROW(target.doc.LoadBinaryStream(in)) << length;
        EXPECT_EQ(heard.Problems(), std::vector<std::string>{"fail: invalid binary xml stream"}) << length;
        if (length < kPlainHeader.size())
            EXPECT_TRUE(target.IsUnchanged()) << length;
        else
            EXPECT_TRUE(target.IsEmpty()) << length;
        EXPECT_EQ(in.Position(), 6) << length;
    }
}

TEST(BinaryXml, DamagedBodiesLeaveTheDocumentEmpty)
{
    struct Case {
        std::string body;
        std::string message;
    };
    const std::string damaged = "fail: invalid binary xml stream";
    const std::vector<Case> cases = {
        {"\x05\x00\x01x\x10"s, damaged},                           // five shared strings announced, one there
        {"\x00\x00\x00\x00\x01\x00\x00\x01" "a\x00\x10"s, damaged}, // value index 0 of no children
        {"\x00\x00\x01\x02\x00\x00\x00\x01" "a\x00\x10"s, damaged},  // attribute block longer than the children
        {"\x00\x00\xFF\xFF\x03\x00\x00\x00\x01" "a\x00\x10"s, damaged}, // 65535 children in a few bytes
        {"\x00\x02\x05\x10"s, damaged},                            // reference to string 4 of none
        {"\x00\x02\x00\x00\x05" "abc\x10"s, damaged},              // inline string longer than the rest
        {"\x00\x00\x00\x00\x00\x01\x03\x10"s, damaged},            // closing style 3
        {"\x00\x0F\x01\x02\x10"s, damaged},                        // quote style 2
        {"\x00\x00\x01\x00\x00\x01\x00\x10"s, damaged},            // end marker inside an open element
        {"\x00\x02\x01\x11\x10"s, "fail: unknown element type 17"},
        {"\x00\x02\x01\xC8\x01\x10"s, "fail: unknown element type 200"},
        {"\x00\x02\x01"s, damaged},                                // no end marker
    };
    for (const Case& c : cases) {
        Untouched target;
        Heard heard(target.doc);
        TxStringStream in(kPlainHeader + c.body);
        ASSERT_NO_THROW(target.doc.LoadBinaryStream(in));
        EXPECT_EQ(heard.Problems(), std::vector<std::string>{c.message}) << testing::PrintToString(c.body);
        EXPECT_TRUE(target.IsEmpty()) << testing::PrintToString(c.body);
        EXPECT_EQ(in.Position(), 0);
    }
}

TEST(BinaryXml, SixthVarintGroupRaises)
{
    for (const std::string& body : {"\x00\x02\x80\x80\x80\x80\x80\x01\x10"s, "\x80\x80\x80\x80\x80\x00"s}) {
        Untouched target;
        TxStringStream in(kPlainHeader + body);
        try {
            target.doc.LoadBinaryStream(in);
            ADD_FAILURE() << "no exception";
        } catch (const core::Exception& e) {
            EXPECT_EQ(e.Message(), "invalid cardinal reader");
        }
        EXPECT_TRUE(target.IsEmpty());
    }
    TxStringStream five("\x80\x80\x80\x80\x01"s);
    EXPECT_EQ(TxBinaryXml::ReadCardinal(five), 1u << 28);
    TxStringStream six("\x80\x80\x80\x80\x80\x01"s);
    EXPECT_THROW(TxBinaryXml::ReadCardinal(six), core::Exception);
    TxStringStream big;
    TxBinaryXml::WriteCardinal(big, 0xFFFFFFFFu);
    EXPECT_EQ(big.AsString(), "\xFF\xFF\xFF\xFF\x0F"s);
}

TEST(BinaryXml, DeclarationsNestOnlySoDeep)
{
    // Markup declarations inside one another, deeper than any document type holds.
    std::string body = "\x00"s;
    constexpr int kDepth = 300;
    for (int i = 0; i < kDepth; ++i)
        body += "\x09\x01\x00\x00\x01\x00"s;
    body += "\x02\x01"s;
    body += "\x10"s;
    Untouched target;
    Heard heard(target.doc);
    LoadBinary(target.doc, kPlainHeader + body);
    EXPECT_EQ(heard.Problems(), std::vector<std::string>{"fail: invalid binary xml stream"});
    EXPECT_TRUE(target.IsEmpty());
}

TEST(BinaryXml, DuplicateSharedStringsAreReportedAndRead)
{
    TXmlDocument doc(nullptr);
    Heard heard(doc);
    LoadBinary(doc, kPlainHeader + "\x02\x00\x01x\x00\x01x\x00\x00\x00\x00\x03\x00\x10"s);
    EXPECT_EQ(heard.Problems(), std::vector<std::string>{"fail: duplicate symbol!"});
    EXPECT_EQ(doc.WriteToUtf8Text(), "<x/>");
}

// --- streams and files ---------------------------------------------------------------------------

TEST(BinaryXml, ReadingFromTheMiddleOfAStreamStopsAfterTheForm)
{
    TXmlDocument doc(nullptr, false, false, true, "a");
    const std::string form = SaveBinary(doc);
    TXmlDocument back(nullptr);
    std::vector<std::int64_t> progress;
    back.OnLoadProgress = [&progress](core::TObject*, std::int64_t position) { progress.push_back(position); };
    core::TMemoryStream in;
    in.WriteString("pred" + form + "za");
    in.SetPosition(4);
    back.LoadBinaryStream(in);
    EXPECT_EQ(back.WriteToUtf8Text(), "<a/>");
    EXPECT_EQ(in.Position(), static_cast<std::int64_t>(4 + form.size()));
    EXPECT_EQ(progress.front(), static_cast<std::int64_t>(4 + kPlainHeader.size() + 1)) << "after the table";
}

class BinaryXmlFiles : public ::testing::Test {
protected:
    testsupport::TestFolder folder{"bxm"};
    const std::filesystem::path& dir = folder.Path();
};

TEST_F(BinaryXmlFiles, FileRoundTripAndEncoding)
{
    TXmlDocument doc(nullptr);
    BuildRichDocument(doc);
    doc.FirstDeclaration()->SetDeclarationEncoding("windows-1250");
    const std::string file = (dir / "podani.bxm").string();
    doc.SaveBinaryFile(file);
    EXPECT_EQ(core::ReadFileBytes(file), SaveBinary(doc));

    TXmlDocument back(nullptr);
    back.SetEmptyElementStyle(csUnspecified);
    back.LoadBinaryFile(file);
    EXPECT_EQ(back.WriteToUtf8Text(), doc.WriteToUtf8Text());
    EXPECT_EQ(back.TextEncoding(), seAnsi);
    EXPECT_EQ(back.TextCodePage(), 1250);

    // A file stream is read through a copy of its own.
    core::TFileStream stream(file, core::fmOpenRead);
    TXmlDocument third(nullptr);
    third.LoadBinaryStream(stream);
    EXPECT_EQ(third.TopNodeCount(), doc.TopNodeCount());
    EXPECT_EQ(stream.Position(), stream.Size());

    EXPECT_THROW(back.LoadBinaryFile((dir / "chybi.bxm").string()), core::EFOpenError);
}

TEST(BinaryXml, NodesWithoutARecordAreLeftOutWithAWarning)
{
    TXmlDocument doc(nullptr, false, false, true, "a");
    TxElement* root = doc.RootElement();
    root->ChildAdd("b");
    root->NodeInsert(0, new TxContainerNode(&doc)); // reports kind Error, which has no record
    root->ChildAdd("c");
    Heard heard(doc);
    const std::string bytes = SaveBinary(doc);
    ASSERT_EQ(heard.Problems().size(), 1u);
    EXPECT_EQ(heard.Problems()[0].rfind("warn: unknown Error \"", 0), 0u) << heard.Problems()[0];

    TXmlDocument back(nullptr);
    LoadBinary(back, bytes);
    EXPECT_EQ(back.WriteToUtf8Text(), "<a><b/><c/></a>");
}

namespace {

// An element that claims to be character data, which its class cannot hold.
class TMisfit : public TxElement {
public:
    explicit TMisfit(TXmlDocument* document) : TxElement(document, xeCharData) {}
};

} // namespace

TEST(BinaryXml, NodeWhoseClassDoesNotFitItsKindIsWrittenEmpty)
{
    TXmlDocument doc(nullptr, false, false, true, "a");
    TxElement* root = doc.RootElement();
    root->ChildAdd("b");
    TXmlNode* misfit = new TMisfit(&doc);
    root->NodeAdd(misfit);
    misfit->NodeAdd(new TxElement(&doc));
    root->ChildAdd("c");
    Heard heard(doc);
    const std::string bytes = SaveBinary(doc);
    EXPECT_EQ(heard.Problems(), std::vector<std::string>{"fail: wrong element type"});

    TXmlDocument back(nullptr);
    LoadBinary(back, bytes);
    ASSERT_EQ(back.RootElement()->NodeCount(), 3);
    EXPECT_EQ(back.RootElement()->NodeAt(1)->NodeKind(), xeCharData);
    EXPECT_EQ(back.RootElement()->NodeAt(1)->GetValue(), "");
    EXPECT_EQ(back.WriteToUtf8Text(), "<a><b/><c/></a>");
}

TEST(BinaryXml, WithoutADocumentRaises)
{
    TxBinaryXml orphan(nullptr);
    TxStringStream stream;
    EXPECT_THROW(orphan.WriteDocument(stream), core::Exception);
    EXPECT_EQ(stream.Size(), 0);
    TxStringStream form("$BXM\x02none\n\x00\x10"s);
    EXPECT_THROW(orphan.ReadDocument(form), core::Exception);
}

// --- through the text loaders ----------------------------------------------------------------------

namespace {

const std::string kRichText =
    "<?xml version=\"1.0\" encoding=\"utf-8\"?>\n"
    "<!DOCTYPE Podani SYSTEM 'podani.dtd' [\n"
    "<!ELEMENT Podani (Listina|Poznamka)*>\n"
    "<!ENTITY urad \"Městský úřad Žďár\">\n"
    "]>\n"
    "<!-- evidence autorizovaných konverzí -->\n"
    "<?zpracovani verze=\"2\"?>\n"
    "<Podani cislo=\"12/2024\"\n"
    "        typ='listinná'>\n"
    "  <Listina>Příliš žluťoučký kůň &amp; &lt;jiné&gt;</Listina>\n"
    "  <Prazdny></Prazdny>\n"
    "  <Prazdny duvod=\"žádný\"/>\n"
    "  <Poznamka><![CDATA[if (a < b && c > d) {]]><!-- vnořený --></Poznamka>\n"
    "</Podani>\n";

} // namespace

TEST(BinaryXml, ParsedDocumentsGiveTheExactBytes)
{
    TXmlDocument doc(nullptr);
    doc.LoadFromText("<a>b</a>");
    EXPECT_EQ(SaveBinary(doc), kPlainHeader + "\x00"s + "\x00\x01\x00\x01" "\x00\x00\x01" "a\x01"s +
                                   "\x02\x00\x00\x01" "b"s + "\x10"s);
    doc.LoadFromText("<a><b/><b/></a>");
    EXPECT_EQ(SaveBinary(doc), kPlainHeader + "\x01\x00\x01" "b"s + "\x00\x02\x00\x00" "\x00\x00\x01" "a\x01"s +
                                   "\x00\x00\x00\x00\x02\x02"s + "\x00\x00\x00\x00\x02\x02"s + "\x10"s);
}

TEST(BinaryXml, ParsedTextRoundTripsThroughTheBinaryForm)
{
    TXmlDocument doc(nullptr);
    doc.SetEmptyElementStyle(csUnspecified);
    Heard heard(doc);
    doc.LoadFromText(kRichText);
    // Only the note on the line break kept between the attributes.
    ASSERT_EQ(heard.Problems(), std::vector<std::string>{"hint: non-default chardata at line 8 (pos 263)"});
    const std::string text = doc.WriteToUtf8Text();
    ASSERT_NE(text.find("<Prazdny></Prazdny>"), std::string::npos) << text;
    ASSERT_NE(text.find("Městský úřad Žďár"), std::string::npos) << text;

    TXmlDocument back(nullptr);
    back.SetEmptyElementStyle(csUnspecified);
    Heard backHeard(back);
    LoadBinary(back, SaveBinary(doc));
    EXPECT_EQ(backHeard.Problems(), std::vector<std::string>{});
    EXPECT_EQ(back.WriteToUtf8Text(), text);
    EXPECT_EQ(SaveBinary(back), SaveBinary(doc));
}

TEST(BinaryXml, TextLoadersTakeTheBinaryFormFromWhereTheyStart)
{
    TXmlDocument doc(nullptr);
    doc.LoadFromText(kRichText);
    const std::string form = SaveBinary(doc);

    TXmlDocument back(nullptr);
    core::TMemoryStream in;
    in.WriteString("hlava" + form + "<zbytek/>");
    in.SetPosition(5);
    back.LoadFromStream(in);
    EXPECT_EQ(back.WriteToUtf8Text(), doc.WriteToUtf8Text());
    EXPECT_EQ(in.Position(), static_cast<std::int64_t>(5 + form.size()));

    TXmlDocument fromText(nullptr);
    fromText.LoadFromText(form);
    EXPECT_EQ(fromText.WriteToUtf8Text(), doc.WriteToUtf8Text());
}

TEST_F(BinaryXmlFiles, LoadFromFileReadsABinaryFile)
{
    TXmlDocument doc(nullptr);
    doc.LoadFromText(kRichText);
    const std::string file = (dir / "podani.xml").string();
    doc.SaveBinaryFile(file);
    TXmlDocument back(nullptr);
    back.LoadFromFile(file);
    EXPECT_EQ(back.WriteToUtf8Text(), doc.WriteToUtf8Text());
}
