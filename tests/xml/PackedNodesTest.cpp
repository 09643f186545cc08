// A document loaded with nothing watching keeps its plainly written
// attributes, its character data and its kept whitespace packed in their
// elements' lists; one loaded with node events makes a node of each. Both
// must behave alike in everything that can be seen: the tree, the lookups,
// every change around the attribute block and in the content, copies,
// searches, the binary form and the saved bytes.

#include "xml/XmlDocument.h"

#include "xml/Declarations.h"
#include "xml/FastStreams.h"
#include "xml/NodeArena.h"

#include "LoadedDocument.h"
#include "PackedPair.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <string>
#include <vector>

using namespace xml;
using xmltest::Describe;
using xmltest::DescribeDocument;
using xmltest::Pair;
using xmltest::SaveBinary;

namespace {

const std::vector<std::string>& Texts()
{
    static const std::vector<std::string> texts = {
        "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n"
        "<katalog verze='2' zdroj=\"Žďár nad Sázavou\">\r\n"
        "  <polozka id=\"1\" cena='12.50' pozn=\"a &amp; b &quot;c&quot; &#x10D;\">Kniha <b>tučně</b></polozka>\r\n"
        "  <polozka id=\"2\"\tcena = '7'\r\n"
        "           pozn=\"dva\r\nřádky\"/>\r\n"
        "  <prazdna a=\"\" b=''></prazdna>\r\n"
        "  <!-- komentář --><![CDATA[x < y]]>\r\n"
        "</katalog>\r\n",
        "<r><e a=\"1\"/><e a=\"2\" b=\"3\">t</e><e/></r>",
        "<r x='1'><?pi data?><s y=\"&lt;\" z=\"\">v<![CDATA[w]]>tail</s></r>",
    };
    return texts;
}

} // namespace

TEST(PackedNodes, PlainLoadsPackAndEventsMakeNodes)
{
    Pair pair(Texts()[1]);
    TXmlNode* packed = pair.packed.doc.RootElement()->NodeAt(1);
    TXmlNode* nodes = pair.nodes.doc.RootElement()->NodeAt(1);
    EXPECT_TRUE(packed->HasPackedNodes());
    EXPECT_FALSE(nodes->HasPackedNodes());
    EXPECT_FALSE(pair.packed.doc.RootElement()->HasPackedNodes()) << "the root holds only elements";

    // Counting, reading by name and saving leave the attributes packed.
    EXPECT_EQ(packed->NodeCount(), 3);
    EXPECT_EQ(packed->DirectNodeCount(), 2);
    EXPECT_EQ(packed->AttributeCount(), 2);
    EXPECT_EQ(packed->AttributeNameAt(1), "b");
    EXPECT_EQ(packed->AttributeNameAt(2), "");
    EXPECT_EQ(packed->AttributeValueNamed("B"), "3") << "any letter case";
    EXPECT_EQ(packed->AttrIntOr("a", -1), 2);
    EXPECT_EQ(packed->AttributeIndexNamed("b"), 1);
    EXPECT_TRUE(packed->HasAttribute("b"));
    EXPECT_FALSE(packed->HasAttribute("B")) << "exact letter case";
    EXPECT_EQ(packed->NodeIndexNamed("a"), 0);
    EXPECT_EQ(packed->GetValue(), "t");
    EXPECT_EQ(packed->ElementCount(), 0);
    EXPECT_EQ(pair.packed.doc.RootElement()->SearchNode("e"), pair.packed.doc.RootElement()->NodeAt(0));
    EXPECT_EQ(pair.packed.doc.WriteToUtf8Text(), pair.nodes.doc.WriteToUtf8Text());
    EXPECT_TRUE(packed->HasPackedNodes());

    // The first look at the block as nodes makes them, in place, once.
    TXmlNode* a = packed->NodeAt(0);
    EXPECT_FALSE(packed->HasPackedNodes());
    ASSERT_EQ(a->NodeKind(), xeAttribute);
    EXPECT_TRUE(a->InArena()) << "made where the parser makes its nodes";
    EXPECT_EQ(a->Document(), &pair.packed.doc);
    EXPECT_EQ(a->Parent(), packed);
    EXPECT_EQ(a->FullPath(), "/r/e/a");
    EXPECT_EQ(packed->NodeAt(0), a);
    EXPECT_EQ(packed->AttributeNamed("b"), packed->NodeAt(1));
    EXPECT_EQ(DescribeDocument(pair.packed.doc), DescribeDocument(pair.nodes.doc));
}

TEST(PackedNodes, TextIsReadWhereItStands)
{
    Pair pair("<r>\n <e>a &amp; b</e>\n <f>x<![CDATA[<y>]]> z<g/></f>\n <h>ř\nš</h>\n</r>");
    TXmlNode* root = pair.packed.doc.RootElement();
    EXPECT_TRUE(root->HasPackedNodes()) << "the whitespace between the elements";
    EXPECT_EQ(root->NodeCount(), 7);
    EXPECT_EQ(root->ElementCount(), 3);
    EXPECT_EQ(root->ContainerCount(), 3);
    TXmlNode* e = root->ElementAt(0);
    EXPECT_EQ(root->ContainerAt(1), root->ElementAt(1));
    EXPECT_EQ(root->ChildByName("h"), root->ElementAt(2));
    EXPECT_EQ(root->NodeIndexNamed("WhiteSpace"), 0) << "nameless nodes answer their kind's name";
    EXPECT_EQ(e->GetValue(), "a & b");
    EXPECT_EQ(root->ElementAt(1)->GetValue(), "x<y> z") << "the pieces of a value";
    pair.Both([](TXmlDocument& doc) { doc.SetLineBreakStyle(lbCRLF); });
    EXPECT_EQ(root->ElementAt(2)->GetValue(), "ř\r\nš") << "text takes the document's line breaks";
    EXPECT_EQ(root->ElementAt(2)->GetValue(), pair.nodes.doc.RootElement()->ElementAt(2)->GetValue());
    EXPECT_EQ(root->ChildStringOr("e"), "a & b");
    EXPECT_EQ(root->SearchNode("g"), root->ElementAt(1)->ElementAt(0));
    EXPECT_EQ(pair.packed.doc.WriteToUtf8Text(), pair.nodes.doc.WriteToUtf8Text());
    EXPECT_TRUE(root->HasPackedNodes());
    EXPECT_TRUE(e->HasPackedNodes());

    // A text asked for as a node is made with the rest of its list.
    TXmlNode* text = e->NodeAt(0);
    EXPECT_FALSE(e->HasPackedNodes());
    ASSERT_EQ(text->NodeKind(), xeCharData);
    EXPECT_EQ(text->Parent(), e);
    EXPECT_EQ(text->GetValue(), "a & b");
    EXPECT_EQ(static_cast<TxCharData*>(text)->RawValue(), "a &amp; b");
    EXPECT_EQ(root->SearchNode("WhiteSpace"), root->NodeAt(0));
    EXPECT_FALSE(root->HasPackedNodes());
    EXPECT_EQ(DescribeDocument(pair.packed.doc), DescribeDocument(pair.nodes.doc));
}

TEST(PackedNodes, ChangesInTheContent)
{
    const std::string text = "<r>\n <e k=\"1\">one</e>\n <f>two<g/>three</f>\n</r>";
    const std::vector<xmltest::Change> changes = {
        {"set a value", [](TXmlNode& r) { r.ElementAt(0)->SetValue("jedna"); }},
        {"clear a value", [](TXmlNode& r) { r.ElementAt(1)->SetValue(""); }},
        {"delete the text", [](TXmlNode& r) { r.ElementAt(0)->NodeDelete(1); }},
        {"delete whitespace", [](TXmlNode& r) { r.NodeDelete(2); }},
        {"delete an element between texts", [](TXmlNode& r) { r.ElementAt(1)->NodeDelete(1); }},
        {"exchange text and element", [](TXmlNode& r) { r.ElementAt(1)->NodeExchange(0, 1); }},
        {"exchange whitespace and element", [](TXmlNode& r) { r.NodeExchange(0, 1); }},
        {"insert before text", [](TXmlNode& r) { r.ElementAt(1)->NodeInsert(0, new TxElement(r.Document())); }},
        {"add after text", [](TXmlNode& r) { r.ElementAt(1)->ChildAdd("h")->SetValue("v"); }},
        {"extract a text", [](TXmlNode& r) { delete r.ElementAt(1)->NodeExtract(r.ElementAt(1)->NodeAt(2)); }},
        {"remove an element with the space before it",
         [](TXmlNode& r) { r.NodeRemoveWithSpace(r.ElementAt(1)); }},
        {"delete elements", [](TXmlNode& r) { r.ElementDelete(0); }},
        {"clear elements", [](TXmlNode& r) { r.ElementsClear(); }},
        {"delete empty nodes", [](TXmlNode& r) { r.DeleteEmptyNodes(); }},
        {"put a child value", [](TXmlNode& r) { r.PutChildValue("f", "nové"); }},
        {"sibling", [](TXmlNode& r) { r.NodeRemove(r.NextSiblingOf(r.ElementAt(0))); }},
        {"first of a kind", [](TXmlNode& r) { r.NodeRemove(r.FirstNodeOfKind(xeWhiteSpace)); }},
    };
    for (const auto& [name, change] : changes) {
        SCOPED_TRACE(name);
        Pair pair(text);
        pair.Both([&change](TXmlDocument& doc) { change(*doc.RootElement()); });
        EXPECT_EQ(pair.packed.doc.WriteToUtf8Text(), pair.nodes.doc.WriteToUtf8Text());
        EXPECT_EQ(DescribeDocument(pair.packed.doc), DescribeDocument(pair.nodes.doc));
    }
}

TEST(PackedNodes, TreesAreAlikeInEveryLayout)
{
    for (const std::string& text : Texts()) {
        for (TxXmlLayout layout : {xlCompact, xlReadable, xlPreserve}) {
            SCOPED_TRACE(text + " layout " + std::to_string(layout));
            Pair pair(text, layout);
            EXPECT_EQ(pair.packed.Messages(), pair.nodes.Messages());
            EXPECT_EQ(DescribeDocument(pair.packed.doc), DescribeDocument(pair.nodes.doc));
        }
    }
}

TEST(PackedNodes, SavedBytesInEveryLayoutLineBreakAndEncoding)
{
    for (const std::string& text : Texts()) {
        for (TxXmlLayout layout : {xlCompact, xlReadable, xlPreserve}) {
            SCOPED_TRACE(text + " layout " + std::to_string(layout));
            Pair pair(text, layout);
            xmltest::ExpectSameSavedBytes(pair, [](TXmlDocument& doc) { return doc.RootElement(); });
            // Saving read the packed attributes where they stand.
            const TXmlNode* root = pair.packed.doc.RootElement();
            const TXmlNode* withAttributes = root->AttributeCount() > 0 ? root : root->ElementAt(0);
            EXPECT_TRUE(withAttributes->HasPackedNodes()) << text;
        }
    }
}

TEST(PackedNodes, ProgressWhileSavingIsReportedAlike)
{
    Pair pair(Texts()[0]);
    std::vector<std::int64_t> packedSteps, nodeSteps;
    pair.packed.doc.OnLoadProgress = [&](core::TObject*, std::int64_t position) { packedSteps.push_back(position); };
    pair.nodes.doc.OnLoadProgress = [&](core::TObject*, std::int64_t position) { nodeSteps.push_back(position); };
    EXPECT_EQ(pair.packed.doc.WriteToUtf8Text(), pair.nodes.doc.WriteToUtf8Text());
    EXPECT_FALSE(packedSteps.empty());
    EXPECT_EQ(packedSteps, nodeSteps);
}

TEST(PackedNodes, BinaryFormHasTheSameBytes)
{
    for (const std::string& text : Texts()) {
        Pair pair(text);
        EXPECT_EQ(SaveBinary(pair.packed.doc), SaveBinary(pair.nodes.doc)) << text;
    }
}

TEST(PackedNodes, ChangesAroundTheAttributeBlock)
{
    const std::string text = "<r><e a=\"1\" b='2' c=\"3\">text<k/></e></r>";
    const std::vector<xmltest::Change> changes = {
        {"insert at the front", [](TXmlNode& e) { e.NodeInsert(0, new TxWhiteSpace(e.Document())); }},
        {"insert at the block's end", [](TXmlNode& e) { e.NodeInsert(3, new TxComment(e.Document())); }},
        {"insert in the content", [](TXmlNode& e) { e.NodeInsert(4, new TxElement(e.Document())); }},
        {"add", [](TXmlNode& e) { e.ChildAdd("n"); }},
        {"delete an attribute", [](TXmlNode& e) { e.NodeDelete(1); }},
        {"delete content", [](TXmlNode& e) { e.NodeDelete(3); }},
        {"delete by attribute index", [](TXmlNode& e) { e.AttributeDelete(2); }},
        {"exchange attributes", [](TXmlNode& e) { e.NodeExchange(0, 2); }},
        {"exchange an attribute with content", [](TXmlNode& e) { e.NodeExchange(1, 4); }},
        {"exchange content", [](TXmlNode& e) { e.NodeExchange(3, 4); }},
        {"extract", [](TXmlNode& e) { delete e.NodeExtract(e.NodeAt(2)); }},
        {"add an attribute", [](TXmlNode& e) { e.AttributeAddNamed("d", "4"); }},
        {"set an attribute", [](TXmlNode& e) { e.SetAttributeValue("B", "x&y"); }},
        {"set the value", [](TXmlNode& e) { e.SetValue("jiný"); }},
        {"clear attributes", [](TXmlNode& e) { e.AttributesClear(); }},
        {"clear nodes", [](TXmlNode& e) { e.NodesClear(); }},
        {"clear", [](TXmlNode& e) { e.Clear(); }},
        {"direct count", [](TXmlNode& e) { static_cast<TxContainerNode&>(e).SetDirectNodeCount(1); }},
        {"delete empty nodes", [](TXmlNode& e) { e.DeleteEmptyNodes(); }},
        {"remove with space", [](TXmlNode& e) { e.NodeRemoveWithSpace(e.NodeAt(4)); }},
        {"first of a kind", [](TXmlNode& e) { e.NodeRemove(e.FirstNodeOfKind(xeAttribute)); }},
        {"through the list", [](TXmlNode& e) {
             e.NodeRemove(static_cast<TxContainerNode&>(e).Nodes().Last());
         }},
    };
    xmltest::ExpectAlikeAfterEachChange(text, changes);
}

TEST(PackedNodes, EmptyAttributesGoWithDeleteEmptyNodes)
{
    Pair pair("<r><e a=\"\" b='1' c=''/><f d=\"\"/><g>t</g></r>");
    pair.Both([](TXmlDocument& doc) { doc.RootElement()->DeleteEmptyNodes(); });
    EXPECT_EQ(pair.packed.doc.WriteToUtf8Text(), "<r><e b='1'/><g>t</g></r>");
    EXPECT_EQ(DescribeDocument(pair.packed.doc), DescribeDocument(pair.nodes.doc));
}

TEST(PackedNodes, CopiesWithinAndAcrossDocuments)
{
    Pair pair(Texts()[0]);
    pair.Both([](TXmlDocument& doc) {
        TxElement* root = doc.RootElement();
        TXmlNode* copy = root->ChildAdd("kopie");
        copy->CopyFrom(root->ElementAt(0));
        root->ElementAt(1)->CopyFrom(root->ElementAt(0));
        root->CopyFrom(root->ElementAt(1)); // a node that it holds
    });
    EXPECT_EQ(pair.packed.doc.WriteToUtf8Text(), pair.nodes.doc.WriteToUtf8Text());
    EXPECT_EQ(DescribeDocument(pair.packed.doc), DescribeDocument(pair.nodes.doc));

    Pair source(Texts()[2]);
    std::string copies[2];
    int i = 0;
    for (TXmlDocument* from : {&source.packed.doc, &source.nodes.doc}) {
        TXmlDocument to(nullptr, false, false, true, "cil");
        to.RootElement()->AttributeAddNamed("jiny", "symbol");
        to.RootElement()->CopyFrom(from->RootElement());
        copies[i++] = to.WriteToUtf8Text() + DescribeDocument(to);
    }
    EXPECT_EQ(copies[0], copies[1]);
    EXPECT_NE(copies[0].find("<r x='1'>"), std::string::npos) << copies[0];
}

TEST(PackedNodes, SearchesFindAttributesAsNodes)
{
    Pair pair(Texts()[0]);
    for (const char* name : {"cena", "/katalog/polozka/pozn", "CENA", "polozka", "/katalog/prazdna/b", "nic"}) {
        SCOPED_TRACE(name);
        const TXmlNode* packed = pair.packed.doc.RootElement()->SearchNode(name);
        const TXmlNode* nodes = pair.nodes.doc.RootElement()->SearchNode(name);
        ASSERT_EQ(packed == nullptr, nodes == nullptr);
        if (packed != nullptr) {
            EXPECT_EQ(Describe(packed), Describe(nodes));
            EXPECT_EQ(packed->Parent()->NodeIndexOf(packed), nodes->Parent()->NodeIndexOf(nodes));
        }
        TxNodeList packedAll(false), nodesAll(false);
        pair.packed.doc.RootElement()->SearchAll(name, packedAll);
        pair.nodes.doc.RootElement()->SearchAll(name, nodesAll);
        ASSERT_EQ(packedAll.Count(), nodesAll.Count());
        for (int k = 0; k < packedAll.Count(); ++k)
            EXPECT_EQ(packedAll.ItemAt(k)->FullPath(), nodesAll.ItemAt(k)->FullPath());
    }
    // Searching for elements did not make the attributes of what it passed.
    Pair other(Texts()[0]);
    EXPECT_NE(other.packed.doc.RootElement()->SearchNode("b"), nullptr);
    EXPECT_TRUE(other.packed.doc.RootElement()->HasPackedNodes());
}

TEST(PackedNodes, OddAttributesNextToPlainOnesAreNodesWithTheirMessages)
{
    const std::vector<std::string> texts = {
        "<r a=\"1\" b=x c='2'><e d=\"3\"/></r>",                // an unquoted value
        "<r a=\"1\" b = \"2\" c=\"konec",                         // cut inside a value
        "<r a=\"1\" b='2' c",                                      // cut inside a name
        "<r a=\"1\" b='2'",                                        // cut after a value
        "<r a=\"1\" \"b\"='2' c='&#0;'/>",                       // a stray quote, a reference to no character
        "<r a=\"1\"\n   b='2' c=\"&#55296;\"/>",
    };
    for (const std::string& text : texts) {
        SCOPED_TRACE(text);
        Pair pair(text);
        EXPECT_EQ(pair.packed.Messages(dlHint), pair.nodes.Messages(dlHint));
        ASSERT_EQ(pair.packed.heard.size(), pair.nodes.heard.size());
        for (std::size_t i = 0; i < pair.packed.heard.size(); ++i)
            EXPECT_EQ(pair.packed.heard[i].senderClass, pair.nodes.heard[i].senderClass) << i;
        EXPECT_EQ(pair.packed.doc.WriteToUtf8Text(), pair.nodes.doc.WriteToUtf8Text());
        EXPECT_EQ(DescribeDocument(pair.packed.doc), DescribeDocument(pair.nodes.doc));
    }

    // Only the plain ones are packed; the others are nodes from the start,
    // and the message about the cut names the node that the tree keeps.
    xmltest::Loaded cut("<r a=\"1\" b = \"2\" c=\"konec");
    TXmlNode* root = cut.doc.RootElement();
    ASSERT_NE(root, nullptr);
    EXPECT_TRUE(root->HasPackedNodes());
    const auto byValue = std::find_if(cut.heard.begin(), cut.heard.end(),
                                      [](const xmltest::Heard& h) { return h.senderClass == "TxQuotedText"; });
    ASSERT_NE(byValue, cut.heard.end()) << ::testing::PrintToString(cut.Messages());
    EXPECT_EQ(byValue->message.rfind("stream terminated prematurely", 0), 0u) << byValue->message;
    EXPECT_EQ(byValue->sender, static_cast<TxAttribute*>(root->NodeAt(2))->ValueNode());
    EXPECT_EQ(root->AttributeValueNamed("c"), "konec");
    EXPECT_EQ(root->AttributeValueNamed("b"), "2");
}

TEST(PackedNodes, FreeingGivesEveryPieceBack)
{
    TXmlDocument doc(nullptr);
    doc.LoadFromText(Texts()[0]);
    EXPECT_TRUE(doc.RootElement()->HasPackedNodes());
    doc.RootElement()->ElementAt(1)->NodeAt(0); // some made, some still packed
    EXPECT_GT(doc.Arena().Live(), 0u);
    doc.ResetContent(false, false, false);
    EXPECT_EQ(doc.Arena().Live(), 0u);

    // An element taken out keeps its packed attributes and makes them later.
    doc.LoadFromText(Texts()[1]);
    TXmlNode* kept = doc.RootElement()->NodeExtract(doc.RootElement()->NodeAt(1));
    ASSERT_TRUE(kept->HasPackedNodes());
    doc.LoadFromText("<s/>");
    EXPECT_EQ(kept->NodeAt(1)->NodeKind(), xeAttribute);
    EXPECT_EQ(kept->NodeAt(1)->Parent(), kept);
    delete kept;
    doc.ResetContent(false, false, false);
    EXPECT_EQ(doc.Arena().Live(), 0u);
}
