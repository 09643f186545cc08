#include "xml/XmlDocument.h"

#include "platform/core/Exceptions.h"

#include <gtest/gtest.h>

#include <string>

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
