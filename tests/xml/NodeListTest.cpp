#include "xml/XmlDocument.h"

#include "xml/Declarations.h"
#include "xml/NodeArena.h"

#include "platform/core/Exceptions.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace xml;

TEST(NodeList, LookupsNeverFail)
{
    TXmlDocument doc(nullptr, true, false, true, "r");
    const TxNodeList& top = doc.TopNodes();
    EXPECT_EQ(top.Count(), 2);
    EXPECT_EQ(top.ItemAt(2), nullptr);
    EXPECT_EQ(top.ItemAt(-1), nullptr);
    EXPECT_EQ(top.First()->NodeKind(), xeDeclaration);
    EXPECT_THROW(top.Items(2), core::EListError);
    EXPECT_EQ(top.FindFirstOfKind(xeElement), doc.RootElement());
    EXPECT_EQ(top.FindFirstOfKind(xeDocType), nullptr);

    doc.TopNodes().Insert(0, new TxComment(&doc));
    EXPECT_EQ(top.FindFirstOfKind(xeDeclaration), top.ItemAt(1)) << "wherever it stands";
}

TEST(NodeList, SiblingsAndTheWalkThroughTheDocument)
{
    TXmlDocument doc(nullptr, true, false, true, "r");
    TxElement* root = doc.RootElement();
    TXmlNode* a = root->ChildAdd("a");
    a->AttributeAddNamed("x", "1");
    a->AttributeAddNamed("y", "2");
    TXmlNode* b = root->ChildAdd("b");
    TXmlNode* c = b->ChildAdd("c");
    TxNodeList& top = doc.TopNodes();

    std::string walk;
    for (TXmlNode* n = top.First(); n != nullptr; n = top.NextInDocument(n))
        walk += n->GetName() + " ";
    EXPECT_EQ(walk, "xml version encoding r a x y b c ") << "attributes are nodes too";
    EXPECT_EQ(top.NextInDocument(a->NodeAt(1)), b) << "from the last attribute to the next sibling";
    EXPECT_EQ(top.NextInDocument(c), nullptr);
    EXPECT_EQ(top.NextInDocument(nullptr), nullptr);

    EXPECT_EQ(top.NextSibling(a), b);
    EXPECT_EQ(top.NextSibling(b), nullptr);
    EXPECT_EQ(top.NextSibling(top.First()), root);
    EXPECT_EQ(top.LastSibling(a), b);
    EXPECT_EQ(top.LastSibling(root), root);
    EXPECT_EQ(top.LastSibling(nullptr), nullptr);

    TxElement stray(&doc);
    try {
        top.NextSibling(&stray);
        FAIL();
    } catch (const core::Exception& e) {
        EXPECT_EQ(e.Message(), "index must be >= 0");
    }
}

TEST(NodeList, OwningAndBorrowingLists)
{
    TXmlDocument doc(nullptr);
    TxNodeList owning(true);
    owning.Add(new TxElement(&doc));
    owning.Add(new TxElement(&doc));
    TXmlNode* kept = owning.ExtractAt(0);
    owning.Delete(0);
    EXPECT_EQ(owning.Count(), 0);
    delete kept;

    TxNodeList borrowing(false);
    TxElement element(&doc);
    borrowing.Add(&element);
    borrowing.Clear(); // does not free what it borrowed
    EXPECT_EQ(borrowing.Count(), 0);
    EXPECT_EQ(borrowing.Extract(&element), nullptr);
    borrowing.SetCapacity(10);
    EXPECT_GE(borrowing.Capacity(), 10);
}

TEST(NodeList, OneNodeIsKeptWithoutAnArrayAndTheListGrowsAndShrinksThroughIt)
{
    TXmlDocument doc(nullptr);
    TxNodeList list(true);
    auto* a = new TxElement(&doc);
    auto* b = new TxElement(&doc);
    auto* c = new TxElement(&doc);
    list.Add(a);
    EXPECT_EQ(list.Capacity(), 1);
    EXPECT_EQ(list.First(), a);
    EXPECT_EQ(list.Items(0), a);
    EXPECT_EQ(list.IndexOf(a), 0);
    EXPECT_EQ(std::vector<TXmlNode*>(list.begin(), list.end()), std::vector<TXmlNode*>{a});

    list.Insert(0, b); // out of the pointer into an array
    EXPECT_EQ(list.Capacity(), 2);
    EXPECT_EQ(std::vector<TXmlNode*>(list.begin(), list.end()), (std::vector<TXmlNode*>{b, a}));
    list.Add(c);
    list.Exchange(0, 2);
    EXPECT_EQ(std::vector<TXmlNode*>(list.begin(), list.end()), (std::vector<TXmlNode*>{c, a, b}));
    EXPECT_EQ(list.ExtractAt(1), a);
    delete a;
    list.Delete(0);
    list.SetCapacity(1); // back into the pointer
    EXPECT_EQ(list.Capacity(), 1);
    EXPECT_EQ(list.Last(), b);
    list.Replace(0, c = new TxElement(&doc));
    delete b;
    EXPECT_EQ(list.ItemAt(0), c);
    EXPECT_EQ(list.ItemAt(1), nullptr);
    EXPECT_EQ(list.Extract(c), c);
    EXPECT_EQ(list.Count(), 0);
    EXPECT_EQ(list.First(), nullptr);
    list.Insert(0, c);
    EXPECT_EQ(list.First(), c);
    list.Clear(); // frees c
    EXPECT_EQ(list.Capacity(), 0);
    EXPECT_EQ(list.First(), nullptr);
}

TEST(NodeList, ParsedElementsWithOneNodeGrowAndGiveBackTheirArrays)
{
    TXmlDocument doc(nullptr);
    doc.LoadFromText("<r><a>text</a><b><c/></b></r>");
    TXmlNode* a = doc.RootElement()->ElementAt(0);
    TXmlNode* b = doc.RootElement()->ElementAt(1);
    ASSERT_EQ(a->NodeCount(), 1);
    a->ChildAdd("d");
    b->NodeInsert(0, b->NodeExtract(b->NodeAt(0)));
    b->ChildAdd("e");
    a->NodeDelete(0);
    EXPECT_EQ(doc.WriteToUtf8Text(), "<r><a><d/></a><b><c/><e/></b></r>");
    doc.ResetContent(false, false, false);
    EXPECT_EQ(doc.Arena().Live(), 0u);
}
