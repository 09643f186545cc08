#include "xml/XmlDocument.h"

#include "platform/core/Exceptions.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace xml;

namespace {

// Builds children under parent from a compact description: names of elements.
TxElement* Add(TXmlNode* parent, const std::string& name)
{
    return static_cast<TxElement*>(parent->ChildAdd(name));
}

std::string Names(const TxNodeList& list)
{
    std::string names;
    for (const TXmlNode* node : list)
        names += (names.empty() ? "" : ",") + node->FullPath();
    return names;
}

void ExpectMisuse(const std::function<void()>& call, const std::string& message)
{
    try {
        call();
        FAIL() << "no error";
    } catch (const core::Exception& e) {
        EXPECT_EQ(e.Message(), message);
    }
}

} // namespace

TEST(XmlNode, SearchIsDepthFirstAndTakesTheFirstMatch)
{
    TXmlDocument doc(nullptr, false, false, true, "a");
    TxElement* a = doc.RootElement();
    Add(a, "x");
    TxElement* b = Add(a, "b");
    TxElement* c = Add(a, "c");
    Add(c, "b");
    EXPECT_EQ(a->SearchNode("b"), b) << "the direct child comes first";

    TXmlDocument other(nullptr, false, false, true, "a");
    TxElement* a2 = other.RootElement();
    TxElement* c2 = Add(a2, "c");
    TxElement* inner = Add(c2, "b");
    Add(a2, "b");
    EXPECT_EQ(a2->SearchNode("b"), inner) << "c's subtree is searched before c's next sibling";
    EXPECT_EQ(a2->SearchNode("nothing"), nullptr);
    EXPECT_EQ(a2->SearchNode("a"), nullptr) << "the node itself is not a descendant";
}

TEST(XmlNode, SearchIgnoresLetterCaseAndFindsAttributesAndNamelessNodes)
{
    TXmlDocument doc(nullptr, false, false, true, "Podani");
    TxElement* root = doc.RootElement();
    TxElement* data = Add(root, "Data");
    data->AttributeAddNamed("typ", "1");
    TxElement* field = Add(data, "d:oznaceni_vstupu");
    field->SetValue("Žádost č. 5");
    Add(root, "čeština");

    EXPECT_EQ(root->SearchNode("D:Oznaceni_Vstupu"), field);
    EXPECT_EQ(root->SearchNode("D:OZNACENI_VSTUPU")->GetValue(), "Žádost č. 5");
    EXPECT_EQ(root->SearchNode("TYP"), data->AttributeAt(0)) << "attributes are nodes";
    EXPECT_EQ(root->SearchNode("ČEŠTINA")->GetName(), "čeština");
    EXPECT_EQ(root->SearchNode("CharData"), field->NodeAt(0)) << "nameless nodes answer their kind name";

    TxNodeList all(false);
    root->SearchAll("chardata", all);
    EXPECT_EQ(all.Count(), 1);
    Add(field, "Data");
    root->SearchAll("data", all);
    EXPECT_EQ(Names(all), "/Podani/Data,/Podani/Data/d:oznaceni_vstupu/Data")
        << "a match's own subtree is searched too";
}

TEST(XmlNode, SearchByFullPath)
{
    TXmlDocument doc(nullptr, false, false, true, "a");
    TxElement* a = doc.RootElement();
    TxElement* c = Add(a, "c");
    TxElement* b = Add(c, "b");
    Add(a, "b");
    EXPECT_EQ(b->FullPath(), "/a/c/b");
    EXPECT_EQ(a->FullPath(), "/a");
    EXPECT_EQ(a->SearchNode("/a/c/b"), b);
    EXPECT_EQ(a->SearchNode("/A/C/B"), b);
    EXPECT_EQ(a->SearchNode("a/c/b"), nullptr) << "without the slash only names are compared";
    EXPECT_EQ(a->SearchNode("/a/b")->Parent(), a);
    EXPECT_EQ(c->SearchNode("/a/c/b"), b) << "the path starts at the top, not at the searching node";
    EXPECT_EQ(c->SearchNode("/x/c/b"), nullptr);
    EXPECT_EQ(a->SearchNode("/a/c/b/"), nullptr);
    c->SetValue("t");
    EXPECT_EQ(c->NodeAt(0)->FullPath(), "/a/c/CharData");
    EXPECT_TRUE(b->NameMatches("/a/C/b"));
    EXPECT_TRUE(b->NameMatches("B"));
    EXPECT_EQ(b->TreeDepth(), 2);
}

TEST(XmlNode, ChildrenAndAttributesByName)
{
    TXmlDocument doc(nullptr, false, false, true, "a");
    TxElement* a = doc.RootElement();
    a->AttributeAddNamed("x", "1");
    TxElement* child = Add(a, "x");
    child->SetValue("2");
    EXPECT_EQ(a->ChildByName("x")->NodeKind(), xeAttribute) << "the attribute stands first";
    EXPECT_EQ(a->ChildIntOr("x", 0), 1);
    EXPECT_EQ(a->NodeIndexNamed("X"), 0);
    EXPECT_EQ(a->AttributeIndexNamed("x"), 0);
    EXPECT_EQ(a->ElementAt(0), child);

    a->AttributeAddNamed("key", "v");
    EXPECT_FALSE(a->HasAttribute("KEY")) << "exact comparison";
    EXPECT_TRUE(a->HasAttribute("key"));
    EXPECT_EQ(a->AttributeNamed("KEY")->GetValue(), "v");
    EXPECT_EQ(a->AttributeValueNamed("Key"), "v");
    EXPECT_EQ(a->AttributeValueNamed("none"), "");
    EXPECT_EQ(a->AttributeCount(), 2);
    EXPECT_EQ(a->AttributeNameAt(1), "key");
    EXPECT_EQ(a->AttributeAt(2), nullptr);
    EXPECT_EQ(a->AttributeNameAt(-1), "");
    a->AttributeDelete(0);
    EXPECT_EQ(a->AttributeNameAt(0), "key");
    a->AttributesClear();
    EXPECT_EQ(a->AttributeCount(), 0);
    EXPECT_EQ(a->DirectNodeCount(), 0);
    EXPECT_EQ(a->ElementCount(), 1);
    a->ElementsClear();
    EXPECT_EQ(a->NodeCount(), 0);
}

TEST(XmlNode, MisuseOfKindsRaises)
{
    TXmlDocument doc(nullptr);
    ExpectMisuse([] { TxElement e(nullptr); }, "XML owner is not assigned");
    TXmlNode base(&doc);
    EXPECT_EQ(base.NodeKind(), xeError);
    ExpectMisuse([&] { base.SetName("n"); }, "cannot set name on this type of element");
    ExpectMisuse([&] { base.SetValue("v"); }, "cannot set value on this type of element");
    ExpectMisuse([&] { base.NodeAdd(nullptr); }, "cannot add node to this type of element");
    ExpectMisuse([&] { base.NodeDelete(0); }, "cannot manipulate nodes in this type of element");
    ExpectMisuse([&] { base.AttributeAdd(nullptr); }, "cannot add attribute");
    ExpectMisuse([&] { base.CopyFrom(nullptr); }, "CopyFrom can only be used with TXmlNode descendants");
    EXPECT_EQ(base.ChildAdd("x"), nullptr) << "no class for this kind";
    ExpectMisuse([&] { TXmlNode::CreateInParent<TxElement>(&doc, nullptr); }, "XML parent is not assigned");

    TxCharData text(&doc);
    // The new child goes with the error instead of being lost.
    ExpectMisuse([&] { text.ChildAdd("child"); }, "cannot add node to this type of element");
    TxAttribute attribute(&doc);
    ExpectMisuse([&] { attribute.AttributeAddNamed("n", "v"); }, "cannot add attribute");
    EXPECT_EQ(text.GetName(), "CharData");
    EXPECT_EQ(text.KindName(), "CharData");
}

TEST(XmlNode, NamesOnCharacterDataAreAHint)
{
    TXmlDocument doc(nullptr);
    std::vector<std::string> heard;
    doc.OnDebugMessage = [&heard](core::TObject*, TxDebugLevel level, const std::string& text) {
        heard.push_back(std::string(DebugLevelNames[level]) + ": " + text);
    };
    std::unique_ptr<TxCharData> text(TXmlNode::CreateNamed<TxCharData>(&doc, "name"));
    EXPECT_EQ(text->GetName(), "CharData");
    ASSERT_EQ(heard.size(), 1u);
    EXPECT_EQ(heard[0], "hint: cannot set name on this type of element");
    text->SetName("");
    EXPECT_EQ(heard.size(), 1u);
}

TEST(XmlNode, CreateHelpersAndChildren)
{
    TXmlDocument doc(nullptr, false, false, true, "r");
    TxElement* root = doc.RootElement();
    auto* made = TXmlNode::CreateInParent<TxElement>(&doc, root);
    EXPECT_EQ(made->Parent(), root);
    std::unique_ptr<TxElement> named(TXmlNode::CreateNamedValue<TxElement>(&doc, "n", "v"));
    EXPECT_EQ(named->GetName(), "n");
    EXPECT_EQ(named->GetValue(), "v");

    TXmlNode* found = root->ChildFindOrAdd("k");
    EXPECT_EQ(root->ChildFindOrAdd("K"), found);
    root->PutChildValue("k", "1");
    EXPECT_EQ(found->GetValue(), "1");
    TXmlNode* first = root->ChildInsert(0, "first");
    EXPECT_EQ(root->NodeAt(0), first);
    EXPECT_EQ(first->NodeKind(), xeElement);
}

TEST(XmlNode, DeleteEmptyNodesAndRemoveWithSpace)
{
    TXmlDocument doc(nullptr, false, false, true, "r");
    TxElement* root = doc.RootElement();
    root->AttributeAddNamed("empty", "");
    root->AttributeAddNamed("full", "1");
    TxElement* keep = Add(root, "keep");
    keep->SetValue("v");
    TxElement* hollow = Add(root, "hollow");
    Add(hollow, "inner");
    root->DeleteEmptyNodes();
    EXPECT_EQ(root->NodeCount(), 2) << "the empty attribute and the element with only empty ones go";
    EXPECT_EQ(root->NodeAt(0)->GetName(), "full");
    EXPECT_EQ(root->NodeAt(1), keep);
    EXPECT_EQ(root->DirectNodeCount(), 1);

    auto* space1 = new TxWhiteSpace(&doc);
    auto* space2 = new TxWhiteSpace(&doc);
    root->NodeAdd(space1);
    root->NodeAdd(space2);
    TxElement* last = Add(root, "last");
    root->NodeRemoveWithSpace(last);
    EXPECT_EQ(root->NodeCount(), 2);
    keep->DeleteSelf();
    EXPECT_EQ(root->NodeCount(), 1);
}

TEST(XmlNode, CopyFromCopiesTheWholeSubtree)
{
    TXmlDocument doc(nullptr, false, false, true, "r");
    TxElement* root = doc.RootElement();
    root->AttributeAddNamed("a", "1 & 2");
    root->SetValue("text");
    TxElement* child = Add(root, "child");
    child->SetNodeClosingStyle(csFull);
    Add(child, "grandchild")->SetValue("deep");

    TXmlDocument other(nullptr, false, false, true, "x");
    TxElement* copy = other.RootElement();
    Add(copy, "old");
    copy->CopyFrom(root);
    EXPECT_EQ(copy->GetName(), "r");
    EXPECT_EQ(copy->GetValue(), "text");
    EXPECT_EQ(copy->AttributeValueNamed("a"), "1 & 2");
    EXPECT_EQ(copy->DirectNodeCount(), 1);
    EXPECT_EQ(copy->ValueIndex(), 1);
    ASSERT_EQ(copy->NodeCount(), 3);
    auto* copiedChild = static_cast<TxElement*>(copy->NodeAt(2));
    EXPECT_EQ(copiedChild->NodeClosingStyle(), csFull);
    EXPECT_EQ(copiedChild->Parent(), copy);
    EXPECT_EQ(copy->SearchNode("grandchild")->GetValue(), "deep");
    EXPECT_EQ(copy->SearchNode("grandchild")->Document(), &other) << "the copy lives in its own document";
    EXPECT_EQ(copy->SearchNode("old"), nullptr);

    // Copying a node's own descendant into it must not free the source first.
    root->CopyFrom(child);
    EXPECT_EQ(root->GetName(), "child");
    EXPECT_EQ(root->NodeCount(), 1);
    EXPECT_EQ(root->NodeAt(0)->GetValue(), "deep");

    TxElement assigned(&doc);
    assigned.Assign(copiedChild);
    EXPECT_EQ(assigned.GetName(), "child");
}

TEST(XmlNode, CopyFromAnAncestorTakesItAsItStoodBefore)
{
    // The ancestor holds the node being filled: copied as it was walked, it
    // would grow with every node added and never end.
    TXmlDocument doc(nullptr, false, false, true, "r");
    TxElement* root = doc.RootElement();
    root->AttributeAddNamed("a", "1");
    TxElement* child = Add(root, "child");
    Add(child, "old")->SetValue("o");
    TxElement* grandchild = Add(child, "grandchild");
    Add(root, "last")->SetValue("z");

    grandchild->CopyFrom(root);
    EXPECT_EQ(grandchild->GetName(), "r");
    EXPECT_EQ(grandchild->AttributeValueNamed("a"), "1");
    EXPECT_EQ(grandchild->Parent(), child) << "it stays where it was";
    ASSERT_EQ(grandchild->ElementCount(), 2);
    const TXmlNode* copiedChild = grandchild->ElementAt(0);
    ASSERT_EQ(copiedChild->ElementCount(), 2) << "the copy holds the node as it was: empty";
    EXPECT_EQ(copiedChild->ElementAt(0)->GetValue(), "o");
    EXPECT_EQ(copiedChild->ElementAt(1)->GetName(), "grandchild");
    EXPECT_EQ(copiedChild->ElementAt(1)->NodeCount(), 0);
    EXPECT_EQ(grandchild->ElementAt(1)->GetValue(), "z");
    TXmlDocument other(nullptr, false, false, true, "x");
    other.RootElement()->CopyFrom(root);
    const TXmlNode* innermost = other.RootElement()->SearchNode("/r/child/r/child/grandchild");
    ASSERT_NE(innermost, nullptr);
    EXPECT_EQ(innermost->NodeCount(), 0) << "nothing past the node as it was";
    EXPECT_EQ(other.RootElement()->SearchNode("/r/child/r/child/r"), nullptr);
}

namespace {

// A stream with room for a few bytes only, like a full disk.
class NearlyFull : public core::TStream {
public:
    explicit NearlyFull(std::size_t room) : room_(room) {}
    std::string bytes;
    std::int64_t Read(void*, std::int64_t) override { return 0; }
    std::int64_t Write(const void* buffer, std::int64_t count) override
    {
        const std::size_t n = std::min(room_ - bytes.size(), static_cast<std::size_t>(count));
        bytes.append(static_cast<const char*>(buffer), n);
        return static_cast<std::int64_t>(n);
    }
    std::int64_t Seek(std::int64_t, core::TSeekOrigin) override { return static_cast<std::int64_t>(bytes.size()); }

private:
    std::size_t room_;
};

} // namespace

TEST(XmlNode, WritingToAStreamThatFallsShortRaises)
{
    TXmlDocument doc(nullptr);
    doc.LoadFromText("<!DOCTYPE r><r a=\"1\">text<![CDATA[x]]><!--c--><?pi?><b/></r>");
    const std::string whole = doc.WriteToUtf8Text();
    // Every node kind writes through the same helper: a stream that takes
    // fewer bytes than it is given fails the write, wherever it fills up.
    for (std::size_t room = 0; room < whole.size(); ++room) {
        NearlyFull stream(room);
        EXPECT_THROW(doc.WriteDocument(stream), core::EWriteError) << room;
        EXPECT_EQ(stream.bytes, whole.substr(0, room));
    }
    NearlyFull enough(whole.size());
    doc.WriteDocument(enough);
    EXPECT_EQ(enough.bytes, whole);
}
