#include "xml/XmlDocument.h"

#include "xml/FastStreams.h"

#include "platform/core/Exceptions.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

using namespace xml;

namespace {

class Elements : public ::testing::Test {
protected:
    TXmlDocument doc{nullptr, false, false, true, "r"};
    TxElement* root = doc.RootElement();

    std::string Written()
    {
        doc.SetLayout(xlCompact);
        return doc.WriteToUtf8Text();
    }
};

} // namespace

TEST_F(Elements, ValueNodeStaysFoundWhileNodesComeAndGo)
{
    root->AttributeAddNamed("a", "1");
    root->SetValue("v");
    EXPECT_EQ(root->ValueIndex(), 1) << "the value goes right after the attributes";
    root->AttributeAddNamed("b", "2");
    EXPECT_EQ(root->GetValue(), "v");
    EXPECT_EQ(root->ValueIndex(), 2);
    EXPECT_EQ(root->DirectNodeCount(), 2);

    root->NodeInsert(0, new TxWhiteSpace(&doc));
    EXPECT_EQ(root->DirectNodeCount(), 3) << "inserting inside the block lengthens it";
    EXPECT_EQ(root->ValueIndex(), 3);
    root->NodeDelete(0);
    EXPECT_EQ(root->DirectNodeCount(), 2);
    EXPECT_EQ(root->GetValue(), "v");

    TXmlNode* extracted = root->NodeExtract(root->NodeAt(0));
    ASSERT_NE(extracted, nullptr);
    EXPECT_EQ(extracted->Parent(), nullptr);
    delete extracted;
    EXPECT_EQ(root->DirectNodeCount(), 1);
    EXPECT_EQ(root->GetValue(), "v");

    root->SetValue("w");
    EXPECT_EQ(root->NodeCount(), 2) << "the value node gets the new text";
    root->SetValue("");
    EXPECT_EQ(root->ValueIndex(), -1);
    EXPECT_EQ(root->GetValue(), "");
    EXPECT_EQ(root->NodeCount(), 1);
    EXPECT_THROW(root->NodeDelete(5), core::EListError);
}

TEST_F(Elements, AttributesOfAnotherDocumentAreRefused)
{
    std::vector<std::string> heard;
    doc.OnDebugMessage = [&heard](core::TObject*, TxDebugLevel level, const std::string& text) {
        heard.push_back(std::string(DebugLevelNames[level]) + ": " + text);
    };
    TXmlDocument other(nullptr);
    TxAttribute foreign(&other);
    root->AttributeAdd(&foreign);
    root->AttributeAdd(nullptr);
    EXPECT_EQ(root->AttributeCount(), 0);
    EXPECT_EQ(foreign.Parent(), nullptr);
    EXPECT_EQ(heard, (std::vector<std::string>{"fail: XML owner is not assigned", "fail: XML owner is not assigned"}));
}

TEST_F(Elements, NodesOfAnotherDocumentAreRefused)
{
    // A node keeps its names in its own document's symbol table: placed in
    // another document it would name nothing there, and outlive its table.
    std::vector<std::string> heard;
    doc.OnDebugMessage = [&heard](core::TObject*, TxDebugLevel level, const std::string& text) {
        heard.push_back(std::string(DebugLevelNames[level]) + ": " + text);
    };
    auto other = std::make_unique<TXmlDocument>(nullptr);
    std::unique_ptr<TxElement> foreign(other->NewElement("x"));
    EXPECT_EQ(root->NodeAdd(foreign.get()), -1);
    root->NodeInsert(0, foreign.get());
    std::vector<TXmlNode*> nodes{foreign.get()};
    root->NodesAddAll(nodes);
    EXPECT_EQ(root->NodeCount(), 0);
    EXPECT_EQ(foreign->Parent(), nullptr) << "the node stays the caller's";
    EXPECT_EQ(heard, std::vector<std::string>(3, "fail: XML owner is not assigned"));
    foreign.reset();
    other.reset();
    EXPECT_EQ(Written(), "<r/>");

    std::unique_ptr<TxElement> own(doc.NewElement("y"));
    EXPECT_EQ(root->NodeAdd(own.release()), 0);
    EXPECT_EQ(Written(), "<r><y/></r>");
}

TEST_F(Elements, AttributeSetBehindContentIsStillWritten)
{
    root->ChildAdd("child");
    root->SetValue("text");
    root->SetAttributeValue("late", "yes");
    EXPECT_EQ(root->DirectNodeCount(), 1);
    EXPECT_EQ(root->NodeAt(0)->GetName(), "late");
    EXPECT_EQ(Written(), "<r late=\"yes\">text<child/></r>");
}

TEST_F(Elements, ClosingStyles)
{
    auto* own = static_cast<TxElement*>(root->ChildAdd("own"));
    auto* full = static_cast<TxElement*>(root->ChildAdd("full"));
    auto* self = static_cast<TxElement*>(root->ChildAdd("self"));
    full->SetNodeClosingStyle(csFull);
    self->SetNodeClosingStyle(csSelfClosing);
    EXPECT_EQ(own->NodeClosingStyle(), csUnspecified);

    EXPECT_EQ(Written(), "<r><own/><full/><self/></r>") << "self-closing by default";
    doc.SetEmptyElementStyle(csUnspecified);
    EXPECT_EQ(Written(), "<r><own></own><full></full><self/></r>") << "each element's own style";
    doc.SetEmptyElementStyle(csFull);
    EXPECT_EQ(Written(), "<r><own></own><full></full><self></self></r>");
    doc.SetEmptyElementStyle(csSelfClosing);
    doc.SetSelfCloseText(" />");
    EXPECT_EQ(Written(), "<r><own /><full /><self /></r>");
}

TEST_F(Elements, ContainersAndWhitespaceInTheBlock)
{
    auto* space = new TxWhiteSpace(&doc);
    space->SetRawValue("\n\t");
    root->AttributeAddNamed("a", "1");
    root->NodeAdd(space);
    root->SetDirectNodeCount(2);
    root->AttributeAddNamed("b", "2");
    EXPECT_EQ(Written(), "<r a=\"1\"\r\n\tb=\"2\"/>") << "kept whitespace stands in place of the space";

    auto* inner = static_cast<TxElement*>(root->ChildAdd("inner"));
    root->NodeAdd(new TxComment(&doc));
    EXPECT_EQ(root->ContainerCount(), 1);
    EXPECT_EQ(root->ContainerAt(0), inner);
    EXPECT_EQ(root->ContainerAt(1), nullptr);
    EXPECT_TRUE(root->HasContainerChildren());
    EXPECT_EQ(root->FirstNodeOfKind(xeComment), root->NodeAt(4));
    EXPECT_EQ(root->NextSiblingOf(inner), root->NodeAt(4));
    root->NodeExchange(3, 4);
    EXPECT_EQ(root->NodeAt(4), inner);
    root->NodesClear();
    EXPECT_EQ(root->NodeCount(), 0);
    EXPECT_EQ(root->DirectNodeCount(), 0);
}

TEST_F(Elements, CharacterDataConvertsOnTheWayInAndOut)
{
    auto* text = new TxCharData(&doc);
    root->NodeAdd(text);
    text->SetValue("a\r\nb<c");
    EXPECT_EQ(text->RawValue(), "a\nb&lt;c");
    EXPECT_EQ(text->RawValueWithLineBreaks(), "a\r\nb&lt;c");
    EXPECT_EQ(text->GetValue(), "a\r\nb<c");
    EXPECT_FALSE(text->HasOuterBlanks());
    text->SetRawValue(" x");
    EXPECT_TRUE(text->HasOuterBlanks());

    auto* attribute = new TxAttribute(&doc);
    attribute->SetName("q");
    attribute->SetValue("say \"hi\"\r\nnow");
    root->AttributeAdd(attribute);
    EXPECT_EQ(attribute->ValueNode()->RawValue(), "say &quot;hi&quot;\r\nnow") << "line breaks as given";
    attribute->ValueNode()->SetQuoteStyle(qsSingle);
    doc.SetLineBreakStyle(lbLF);
    EXPECT_EQ(Written(), "<r q='say &quot;hi&quot;\r\nnow'> x</r>");
    doc.SetLineBreakStyle(lbCRLF);
    EXPECT_EQ(Written(), "<r q='say &quot;hi&quot;\r\r\nnow'> x</r>") << "the style applies to LFs only";
}

TEST_F(Elements, ValueStandingInSeveralPiecesIsReadWhole)
{
    // A CDATA section cannot hold "]]>": such a value is written as two
    // sections, and read back it is one value again, the text unchanged.
    root->SetValue("x");
    root->NodeDelete(root->ValueIndex());
    auto* cdata = new TxCData(&doc);
    cdata->SetValue("a]]>b");
    root->NodeAdd(cdata);
    root->SetValueIndex(0);
    const std::string text = Written();
    EXPECT_EQ(text, "<r><![CDATA[a]]]]><![CDATA[>b]]></r>");

    TXmlDocument again(nullptr);
    again.LoadFromText(text);
    TxElement* r = again.RootElement();
    ASSERT_EQ(r->NodeCount(), 2) << "the tree is what the text holds";
    EXPECT_EQ(r->GetValue(), "a]]>b");
    EXPECT_EQ(r->ValueAsIntOr(7), 7);
    EXPECT_EQ(again.WriteToUtf8Text(), text) << "written back byte for byte";

    // Text and sections that follow one another make one value; whitespace
    // between them belongs to it, an element or comment ends it.
    again.LoadFromText("<r> x <![CDATA[<y>]]>&amp;z\n<b>w</b>v</r>");
    EXPECT_EQ(again.RootElement()->GetValue(), "x <y>&z");
    again.LoadFromText("<r>1<![CDATA[2]]><!--c-->3</r>");
    EXPECT_EQ(again.RootElement()->GetValue(), "12");
    EXPECT_EQ(again.RootElement()->ValueAsInt(), 12);
    again.LoadFromText("<p><![CDATA[x]]]]><![CDATA[>]]></p>");
    EXPECT_EQ(again.RootElement()->ChildStringOr("nothing", "d"), "d");
    EXPECT_EQ(again.RootElement()->GetValue(), "x]]>");
}

TEST_F(Elements, SettingAValueReplacesAllItsPieces)
{
    doc.LoadFromText("<r a=\"1\">x<![CDATA[y]]> <![CDATA[z]]> <b/>w</r>");
    root = doc.RootElement();
    root->SetValue("new");
    EXPECT_EQ(root->GetValue(), "new");
    EXPECT_EQ(doc.WriteToUtf8Text(), "<r a=\"1\">new <b/>w</r>") << "blanks after the value and what follows stay";

    doc.LoadFromText("<r><![CDATA[a]]><![CDATA[b]]>c<b/></r>");
    root = doc.RootElement();
    root->SetValue("");
    EXPECT_EQ(root->GetValue(), "");
    EXPECT_EQ(root->ValueIndex(), -1);
    EXPECT_EQ(doc.WriteToUtf8Text(), "<r><b/></r>");
}

TEST(Attribute, ValueReadWithoutItsNodeActsAsTheNodeOnceItIsAskedFor)
{
    TXmlDocument doc(nullptr);
    doc.LoadFromText("<?xml version=\"1.0\"?><r a='x &amp; y' b=\"line\r\nnext\"/>");
    auto* a = doc.RootElement()->AttributeAt(0);
    auto* b = doc.RootElement()->AttributeAt(1);
    EXPECT_EQ(a->QuoteStyle(), qsSingle);
    EXPECT_EQ(a->GetValue(), "x & y");
    EXPECT_EQ(a->RawValueView(), "x &amp; y");
    EXPECT_EQ(doc.WriteToUtf8Text(), "<?xml version=\"1.0\"?>\r\n<r a='x &amp; y' b=\"line\r\nnext\"/>");

    // Asked for, the node holds what the attribute held, and changes through it show.
    TxQuotedText* node = a->ValueNode();
    EXPECT_EQ(node, a->ValueNode()) << "made once";
    EXPECT_EQ(node->RawValue(), "x &amp; y");
    EXPECT_EQ(node->QuoteStyle(), qsSingle);
    node->SetQuoteStyle(qsDouble);
    node->SetRawValue("z");
    EXPECT_EQ(a->GetValue(), "z");
    a->SetValue("<");
    EXPECT_EQ(node->RawValue(), "&lt;");

    // Copies take the value and the quotes whether or not the node was made.
    TxAttribute copyA(&doc), copyB(&doc);
    copyA.CopyFrom(a);
    copyB.CopyFrom(b);
    EXPECT_EQ(copyA.GetValue(), "<");
    EXPECT_EQ(copyA.QuoteStyle(), qsDouble);
    EXPECT_EQ(copyB.RawValueView(), "line\nnext");
    doc.SetLineBreakStyle(lbLF);
    EXPECT_EQ(doc.WriteToUtf8Text(), "<?xml version=\"1.0\"?>\n<r a=\"&lt;\" b=\"line\nnext\"/>");

    // The binary form keeps the quotes of both kinds.
    TxStringStream binary;
    doc.SaveBinaryStream(binary);
    binary.SetPosition(0);
    TXmlDocument back(nullptr);
    back.LoadBinaryStream(binary);
    EXPECT_EQ(back.RootElement()->AttributeAt(0)->QuoteStyle(), qsDouble);
    EXPECT_EQ(back.RootElement()->AttributeAt(1)->QuoteStyle(), qsDouble);
    EXPECT_EQ(back.RootElement()->AttributeAt(1)->GetValue(), "line\nnext");
}
