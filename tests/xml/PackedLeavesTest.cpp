// A document loaded with nothing watching keeps the whitespace runs and the
// character data of its elements' content packed in their lists, as it does
// plain attributes; one loaded with node events makes a node of each. Both
// must behave alike in everything that can be seen, and the reading paths
// (values, element lookups, saving) must not make the packed nodes.

#include "xml/XmlDocument.h"

#include "xml/CharData.h"
#include "xml/Declarations.h"
#include "xml/NodeArena.h"
#include "xml/PackedNode.h"

#include "PackedPair.h"

#include <gtest/gtest.h>

#include <functional>
#include <limits>
#include <string>
#include <utility>
#include <vector>

using namespace xml;
using xmltest::Describe;
using xmltest::DescribeDocument;
using xmltest::DescribeNode;
using xmltest::Pair;
using xmltest::SaveBinary;

namespace {

const std::vector<std::string>& Texts()
{
    static const std::vector<std::string> texts = {
        "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n"
        "<evidence verze=\"1\">\r\n"
        "  <zaznam id=\"1\">\r\n"
        "    <nazev>Smlouva &amp; dodatek &#x10D;</nazev>\r\n"
        "    <pozn>  první řádek\r\n druhý  </pozn>\r\n"
        "    <kus>a<![CDATA[<b>]]> <![CDATA[c]]>d</kus>\r\n"
        "    <smes>text <i>kurzíva</i> konec</smes>\r\n"
        "    <prazdny>   </prazdny>\r\n"
        "    <!-- poznámka --> \r\n"
        "  </zaznam>\r\n"
        "</evidence>\r\n",
        "<r> <a>1</a> <b> 2 </b>\t<c/>x</r>",
        "<r>&#x10D;&lt;<?pi data?>t<e a='1'\n  b=\"2\"> <f/> </e>\n</r>\n",
    };
    return texts;
}

// Every element below node, depth first.
void Elements(TXmlNode* node, std::vector<TXmlNode*>& into)
{
    for (int i = 0; i < node->ElementCount(); ++i) {
        into.push_back(node->ElementAt(i));
        Elements(node->ElementAt(i), into);
    }
}

std::vector<TXmlNode*> Elements(TXmlDocument& doc)
{
    std::vector<TXmlNode*> all{doc.RootElement()};
    Elements(doc.RootElement(), all);
    return all;
}

int PackedElementCount(TXmlDocument& doc)
{
    int count = 0;
    for (TXmlNode* element : Elements(doc))
        count += element->HasPackedNodes() ? 1 : 0;
    return count;
}

} // namespace

TEST(PackedLeaves, TheWordTellsItsKindsApart)
{
    const std::int32_t top = std::numeric_limits<std::int32_t>::max();
    const std::int32_t name = (1 << 29) - 1;
    TXmlNode* single = TxPackedNode::Attribute(name, top, qsSingle);
    TXmlNode* plain = TxPackedNode::Attribute(1, 0, qsDouble);
    TXmlNode* space = TxPackedNode::Text(xeWhiteSpace, top);
    TXmlNode* text = TxPackedNode::Text(xeCharData, 7);
    for (TXmlNode* slot : {single, plain, space, text})
        EXPECT_TRUE(TxPackedNode::Is(slot));
    EXPECT_EQ(TxPackedNode::Kind(single), xeAttribute);
    EXPECT_EQ(TxPackedNode::NameId(single), name);
    EXPECT_EQ(TxPackedNode::ValueId(single), top);
    EXPECT_EQ(TxPackedNode::QuoteStyle(single), qsSingle);
    EXPECT_EQ(TxPackedNode::QuoteStyle(plain), qsDouble);
    EXPECT_EQ(TxPackedNode::NameId(plain), 1);
    EXPECT_EQ(TxPackedNode::Kind(space), xeWhiteSpace);
    EXPECT_EQ(TxPackedNode::ValueId(space), top);
    EXPECT_EQ(TxPackedNode::Kind(text), xeCharData);
    EXPECT_EQ(TxPackedNode::ValueId(text), 7);
    EXPECT_EQ(TxPackedNode::NameId(text), 0);
    EXPECT_TRUE(TxPackedNode::Fits(name, top));
    EXPECT_FALSE(TxPackedNode::Fits(name + 1, 0)) << "a name beyond 29 bits is read into a node";
    EXPECT_FALSE(TxPackedNode::Fits(0, -1));
}

TEST(PackedLeaves, ValuesCountsAndSavingReadTheSlotsInPlace)
{
    Pair pair(Texts()[0]);
    TXmlDocument& packed = pair.packed.doc;
    TXmlDocument& nodes = pair.nodes.doc;
    EXPECT_TRUE(packed.RootElement()->HasPackedNodes()) << "whitespace only";
    EXPECT_FALSE(nodes.RootElement()->HasPackedNodes());
    const int packedElements = PackedElementCount(packed);
    EXPECT_EQ(packedElements, 8) << "every element with text or whitespace, none without";

    TXmlNode* record = packed.RootElement()->ElementAt(0);
    TXmlNode* nodeRecord = nodes.RootElement()->ElementAt(0);
    ASSERT_EQ(record->NodeCount(), nodeRecord->NodeCount());
    for (int i = 0; i < record->NodeCount(); ++i)
        EXPECT_EQ(static_cast<TxContainerNode*>(record)->NodeKindAt(i), nodeRecord->NodeAt(i)->NodeKind()) << i;
    EXPECT_EQ(record->ElementCount(), 5);
    EXPECT_EQ(record->ContainerCount(), 5);
    EXPECT_EQ(record->ElementAt(4)->GetName(), "prazdny");
    EXPECT_EQ(record->ContainerAt(4), record->ElementAt(4));
    EXPECT_EQ(record->ElementAt(5), nullptr);

    // Values of text, of CDATA pieces with the whitespace between them, and
    // of mixed content, as the nodes give them.
    EXPECT_EQ(record->ChildStringOr("nazev", "?"), "Smlouva & dodatek \xC4\x8D");
    EXPECT_EQ(record->ChildStringOr("kus", "?"), "a<b> cd");
    EXPECT_EQ(record->ChildStringOr("smes", "?"), "text") << "the value ends at the element after it";
    EXPECT_EQ(record->ChildStringOr("prazdny", "?"), "");
    EXPECT_EQ(record->ChildByName("pozn")->GetValue(), "první řádek\r\n druhý");
    EXPECT_EQ(packed.RootElement()->GetValue(), "");
    const std::vector<TXmlNode*> packedAll = Elements(packed), nodesAll = Elements(nodes);
    ASSERT_EQ(packedAll.size(), nodesAll.size());
    for (std::size_t i = 0; i < packedAll.size(); ++i) {
        SCOPED_TRACE(packedAll[i]->GetName());
        EXPECT_EQ(packedAll[i]->GetValue(), nodesAll[i]->GetValue());
        EXPECT_EQ(static_cast<TxContainerNode*>(packedAll[i])->ValueIndex(),
                  static_cast<TxContainerNode*>(nodesAll[i])->ValueIndex());
        EXPECT_EQ(static_cast<TxContainerNode*>(packedAll[i])->HasContainerChildren(),
                  static_cast<TxContainerNode*>(nodesAll[i])->HasContainerChildren());
    }
    EXPECT_EQ(record->SearchNode("i")->GetValue(), "kurzíva");
    EXPECT_EQ(packed.WriteToUtf8Text(), nodes.WriteToUtf8Text());
    EXPECT_EQ(PackedElementCount(packed), packedElements) << "reading and saving made no nodes";

    // A node asked for where a slot is packed makes the whole list's nodes,
    // once, as the parser makes them; a node that was a node stays itself.
    TXmlNode* first = record->ElementAt(0);
    EXPECT_EQ(record->NodeAt(2), first) << "an element is handed out without making the leaves";
    EXPECT_TRUE(record->HasPackedNodes());
    TXmlNode* space = record->NodeAt(1);
    EXPECT_FALSE(record->HasPackedNodes());
    ASSERT_EQ(space->NodeKind(), xeWhiteSpace);
    EXPECT_EQ(space->ClassName(), "TxWhiteSpace");
    EXPECT_TRUE(space->InArena());
    EXPECT_EQ(space->Parent(), record);
    EXPECT_EQ(record->NodeAt(1), space);
    EXPECT_EQ(record->NodeAt(2), first);
    EXPECT_EQ(record->NodeIndexOf(space), 1);
    EXPECT_EQ(DescribeDocument(packed), DescribeDocument(nodes));
}

TEST(PackedLeaves, LineBreakStyleShapesValuesAlike)
{
    Pair pair(Texts()[0]);
    for (TxLineBreakStyle lineBreaks : {lbLF, lbCRLF, lbCR}) {
        pair.Both([lineBreaks](TXmlDocument& doc) { doc.SetLineBreakStyle(lineBreaks); });
        const std::vector<TXmlNode*> packedAll = Elements(pair.packed.doc), nodesAll = Elements(pair.nodes.doc);
        for (std::size_t i = 0; i < packedAll.size(); ++i)
            EXPECT_EQ(packedAll[i]->GetValue(), nodesAll[i]->GetValue()) << lineBreaks << " " << i;
    }
    EXPECT_EQ(pair.packed.doc.RootElement()->ElementAt(0)->ChildStringOr("pozn", ""), "první řádek\r druhý");
    EXPECT_GT(PackedElementCount(pair.packed.doc), 0);
}

TEST(PackedLeaves, TreesAreAlikeWithAndWithoutKeptWhiteSpace)
{
    for (const std::string& text : Texts()) {
        for (TxXmlLayout layout : {xlCompact, xlReadable, xlPreserve}) {
            SCOPED_TRACE(text + " layout " + std::to_string(layout));
            Pair pair(text, layout);
            EXPECT_EQ(pair.packed.Messages(), pair.nodes.Messages());
            EXPECT_EQ(DescribeDocument(pair.packed.doc), DescribeDocument(pair.nodes.doc));
        }
    }
    // Without kept whitespace only text is packed.
    Pair compact("<r> <a> 1 </a> <b/> </r>", xlCompact);
    EXPECT_FALSE(compact.packed.doc.RootElement()->HasPackedNodes());
    EXPECT_TRUE(compact.packed.doc.RootElement()->ElementAt(0)->HasPackedNodes());
    EXPECT_EQ(compact.packed.doc.RootElement()->NodeCount(), 2);
}

TEST(PackedLeaves, SavedBytesInEveryLayoutLineBreakAndEncoding)
{
    for (const std::string& text : Texts()) {
        for (TxXmlLayout layout : {xlCompact, xlReadable, xlPreserve}) {
            SCOPED_TRACE(text + " layout " + std::to_string(layout));
            Pair pair(text, layout);
            const int packedElements = PackedElementCount(pair.packed.doc);
            xmltest::ExpectSameSavedBytes(pair, [](TXmlDocument& doc) { return doc.RootElement()->ElementAt(0); });
            EXPECT_GT(packedElements, 0) << text;
            EXPECT_EQ(PackedElementCount(pair.packed.doc), packedElements) << "saving made no nodes";
        }
    }
}

TEST(PackedLeaves, ProgressWhileSavingIsReportedAlike)
{
    for (const std::string& text : Texts()) {
        Pair pair(text);
        std::vector<std::int64_t> packedSteps, nodeSteps;
        pair.packed.doc.OnLoadProgress = [&](core::TObject*, std::int64_t at) { packedSteps.push_back(at); };
        pair.nodes.doc.OnLoadProgress = [&](core::TObject*, std::int64_t at) { nodeSteps.push_back(at); };
        EXPECT_EQ(pair.packed.doc.WriteToUtf8Text(), pair.nodes.doc.WriteToUtf8Text());
        EXPECT_FALSE(packedSteps.empty());
        EXPECT_EQ(packedSteps, nodeSteps);
    }
}

TEST(PackedLeaves, BinaryFormHasTheSameBytesAndReadsBack)
{
    for (const std::string& text : Texts()) {
        Pair pair(text);
        const std::string bytes = SaveBinary(pair.packed.doc);
        EXPECT_EQ(bytes, SaveBinary(pair.nodes.doc)) << text;
        TXmlDocument back(nullptr);
        TxStringStream in(bytes);
        back.LoadBinaryStream(in);
        EXPECT_EQ(back.WriteToUtf8Text(), pair.nodes.doc.WriteToUtf8Text());
    }
}

TEST(PackedLeaves, ChangesBeforeAndAfterPackedLeaves)
{
    // e holds: a=1 (0), " " (1), "x" (2), " " (3), <k/> (4), "text" (5),
    // CDATA (6), " " (7), "y" (8), " " (9).
    const std::string text = "<r><e a=\"1\"> x <k/>text<![CDATA[c]]> y </e></r>";
    const std::vector<xmltest::Change> changes = {
        {"insert before the leaves", [](TXmlNode& e) { e.NodeInsert(1, new TxComment(e.Document())); }},
        {"insert between leaves", [](TXmlNode& e) { e.NodeInsert(3, new TxElement(e.Document())); }},
        {"insert at the end", [](TXmlNode& e) { e.NodeInsert(10, new TxWhiteSpace(e.Document())); }},
        {"add", [](TXmlNode& e) { e.ChildAdd("n"); }},
        {"delete the value", [](TXmlNode& e) { e.NodeDelete(2); }},
        {"delete an element between leaves", [](TXmlNode& e) { e.NodeDelete(4); }},
        {"delete the last", [](TXmlNode& e) { e.NodeDelete(9); }},
        {"delete the attribute", [](TXmlNode& e) { e.NodeDelete(0); }},
        {"exchange text and element", [](TXmlNode& e) { e.NodeExchange(2, 4); }},
        {"exchange leaves", [](TXmlNode& e) { e.NodeExchange(3, 8); }},
        {"exchange the attribute and a leaf", [](TXmlNode& e) { e.NodeExchange(0, 9); }},
        {"extract an element", [](TXmlNode& e) { delete e.NodeExtract(e.ElementAt(0)); }},
        {"set the value", [](TXmlNode& e) { e.SetValue("jiný <text>"); }},
        {"clear the value", [](TXmlNode& e) { e.SetValue(""); }},
        {"add an attribute", [](TXmlNode& e) { e.AttributeAddNamed("b", "2"); }},
        {"clear attributes", [](TXmlNode& e) { e.AttributesClear(); }},
        {"clear elements", [](TXmlNode& e) { e.ElementsClear(); }},
        {"clear nodes", [](TXmlNode& e) { e.NodesClear(); }},
        {"clear", [](TXmlNode& e) { e.Clear(); }},
        {"direct count", [](TXmlNode& e) { static_cast<TxContainerNode&>(e).SetDirectNodeCount(3); }},
        {"delete empty nodes", [](TXmlNode& e) { e.DeleteEmptyNodes(); }},
        {"remove with space", [](TXmlNode& e) { e.NodeRemoveWithSpace(e.ElementAt(0)); }},
        {"first of a kind", [](TXmlNode& e) { e.NodeRemove(e.FirstNodeOfKind(xeCharData)); }},
        {"next sibling", [](TXmlNode& e) { e.NodeRemove(e.NextSiblingOf(e.ElementAt(0))); }},
        {"through the list", [](TXmlNode& e) {
             e.NodeRemove(static_cast<TxContainerNode&>(e).Nodes().Last());
         }},
        {"value node", [](TXmlNode& e) {
             e.NodeAt(static_cast<TxContainerNode&>(e).ValueIndex())->SetValue("z");
         }},
    };
    xmltest::ExpectAlikeAfterEachChange(text, changes);
}

TEST(PackedLeaves, DeleteEmptyNodesTakesEmptyElementsAmongPackedText)
{
    Pair pair("<r>\n <a></a>\n <b>t</b>\n <c> </c>\n</r>");
    pair.Both([](TXmlDocument& doc) { doc.RootElement()->DeleteEmptyNodes(); });
    EXPECT_EQ(pair.packed.doc.WriteToUtf8Text(), pair.nodes.doc.WriteToUtf8Text());
    EXPECT_EQ(DescribeDocument(pair.packed.doc), DescribeDocument(pair.nodes.doc));
    EXPECT_EQ(pair.packed.doc.RootElement()->ElementCount(), pair.nodes.doc.RootElement()->ElementCount());
}

TEST(PackedLeaves, CopiesWithinAndAcrossDocuments)
{
    Pair pair(Texts()[0]);
    pair.Both([](TXmlDocument& doc) {
        TXmlNode* record = doc.RootElement()->ElementAt(0);
        TXmlNode* copy = record->ChildAdd("kopie");
        copy->CopyFrom(record->ElementAt(2));
        record->ElementAt(0)->CopyFrom(record->ElementAt(3));
        record->CopyFrom(record->ElementAt(1)); // a node that it holds
    });
    EXPECT_EQ(pair.packed.doc.WriteToUtf8Text(), pair.nodes.doc.WriteToUtf8Text());
    EXPECT_EQ(DescribeDocument(pair.packed.doc), DescribeDocument(pair.nodes.doc));

    Pair source(Texts()[2]);
    std::string copies[2];
    int i = 0;
    for (TXmlDocument* from : {&source.packed.doc, &source.nodes.doc}) {
        TXmlDocument to(nullptr, false, false, true, "cil");
        to.RootElement()->SetValue("jiný");
        to.RootElement()->CopyFrom(from->RootElement());
        copies[i++] = to.WriteToUtf8Text() + DescribeDocument(to);
    }
    EXPECT_EQ(copies[0], copies[1]);
    EXPECT_NE(copies[0].find("&#x10D;&lt;"), std::string::npos) << copies[0];
}

TEST(PackedLeaves, SearchesFindLeavesAsNodesAndPassThemOtherwise)
{
    for (const char* name : {"CharData", "WhiteSpace", "/evidence/zaznam/kus/CharData", "i", "prazdny", "nic"}) {
        SCOPED_TRACE(name);
        Pair pair(Texts()[0]);
        const int packedElements = PackedElementCount(pair.packed.doc);
        const TXmlNode* packed = pair.packed.doc.RootElement()->SearchNode(name);
        const TXmlNode* nodes = pair.nodes.doc.RootElement()->SearchNode(name);
        ASSERT_EQ(packed == nullptr, nodes == nullptr);
        if (packed == nullptr || packed->IsElement()) {
            EXPECT_EQ(PackedElementCount(pair.packed.doc), packedElements) << "the walk made no leaves";
        }
        if (packed != nullptr) {
            EXPECT_EQ(Describe(packed), Describe(nodes));
            EXPECT_EQ(packed->Parent()->NodeIndexOf(packed), nodes->Parent()->NodeIndexOf(nodes));
        }
        TxNodeList packedAll(false), nodesAll(false);
        pair.packed.doc.RootElement()->SearchAll(name, packedAll);
        pair.nodes.doc.RootElement()->SearchAll(name, nodesAll);
        ASSERT_EQ(packedAll.Count(), nodesAll.Count());
        for (int k = 0; k < packedAll.Count(); ++k)
            EXPECT_EQ(DescribeNode(packedAll.ItemAt(k)), DescribeNode(nodesAll.ItemAt(k)));
    }
}

TEST(PackedLeaves, WalksThroughTheDocumentMeetTheSameNodes)
{
    for (const std::string& text : Texts()) {
        Pair pair(text);
        std::vector<std::string> walks[2];
        int i = 0;
        for (TXmlDocument* doc : {&pair.packed.doc, &pair.nodes.doc}) {
            const TxNodeList& top = doc->TopNodes();
            // Bounded: the documents hold a few dozen nodes.
            for (const TXmlNode* node = top.First(); node != nullptr && walks[i].size() < 1000;
                 node = top.NextInDocument(node))
                walks[i].push_back(DescribeNode(node));
            ++i;
        }
        EXPECT_EQ(walks[0], walks[1]) << text;
        EXPECT_GT(walks[0].size(), 5u);
    }
}

TEST(PackedLeaves, LeavesTakeNoNodesAndFreeingGivesEveryPieceBack)
{
    TXmlDocument doc(nullptr);
    doc.SetLayout(xlPreserve);
    doc.LoadFromText(Texts()[0]);
    const std::size_t packedLive = doc.Arena().Live();
    TXmlNode* record = doc.RootElement()->ElementAt(0);
    const int count = record->NodeCount();
    record->NodeAt(1); // the record's leaves are made, the others stay packed
    EXPECT_EQ(doc.Arena().Live(), packedLive + 8) << "the record's attribute and its seven runs of whitespace";
    EXPECT_EQ(count, 14);
    doc.ResetContent(false, false, false);
    EXPECT_EQ(doc.Arena().Live(), 0u);

    // An element taken out keeps its packed leaves and makes them later.
    doc.LoadFromText(Texts()[0]);
    TXmlNode* kept = doc.RootElement()->ElementAt(0)->NodeExtract(doc.RootElement()->ElementAt(0)->ElementAt(2));
    ASSERT_TRUE(kept->HasPackedNodes());
    EXPECT_EQ(kept->GetValue(), "a<b> cd");
    doc.LoadFromText("<s/>");
    EXPECT_EQ(kept->NodeAt(0)->NodeKind(), xeCharData);
    EXPECT_EQ(kept->NodeAt(0)->Parent(), kept);
    delete kept;
    doc.ResetContent(false, false, false);
    EXPECT_EQ(doc.Arena().Live(), 0u);
}
