#include "xml/XmlDocument.h"

#include "platform/core/Exceptions.h"
#include "platform/core/FilerError.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

using namespace xml;

namespace {

core::TDateTime At(int y, int m, int d, int h = 0, int mi = 0, int s = 0, int ms = 0)
{
    return core::ComposeDateTime(core::EncodeDate(y, m, d), core::EncodeTime(h, mi, s, ms));
}

class NodeValues : public ::testing::Test {
protected:
    TXmlDocument doc{nullptr, false, false, true, "r"};
    TxElement* root = doc.RootElement();
};

} // namespace

TEST_F(NodeValues, ReadersWithAndWithoutDefaults)
{
    TXmlNode* n = root->ChildAdd("n");
    n->SetValue("42");
    EXPECT_EQ(n->ValueAsInt(), 42);
    EXPECT_EQ(n->ValueAsInt64(), 42);
    EXPECT_EQ(n->ValueAsIntOr(7), 42);
    EXPECT_TRUE(n->ValueAsBool());
    n->SetValue("1,5");
    EXPECT_EQ(n->ValueAsFloatOr(0), 1.5) << "a comma is read as the point";
    EXPECT_THROW(n->ValueAsFloat(), core::EConvertError) << "but not without a default";
    EXPECT_EQ(n->ValueAsIntOr(7), 7);
    EXPECT_THROW(n->ValueAsInt(), core::EConvertError);
    EXPECT_EQ(n->ValueAsInt64Or(-1), -1);
    n->SetValue("kdoví");
    EXPECT_TRUE(n->ValueAsBoolOr(true));
    EXPECT_THROW(n->ValueAsBool(), core::EConvertError);
    EXPECT_EQ(n->ValueAsDateTimeOr(3.5), 3.5);
    EXPECT_THROW(n->ValueAsDateTime(), core::EConvertError);
    n->SetValue("2009-01-02T12:00:00+05:00");
    EXPECT_NEAR(n->ValueAsDateTime(), At(2009, 1, 2, 12), 1e-9) << "no zone correction";
}

TEST_F(NodeValues, SettersUseTheDocumentsFormats)
{
    TXmlNode* n = root->ChildAdd("n");
    n->SetValueBool(true);
    EXPECT_EQ(n->GetValue(), "true");
    n->SetValueFloat(2.0 / 3.0);
    EXPECT_EQ(n->GetValue(), ".666667");
    doc.SetFloatDigits(3);
    n->SetValueFloat(2.0 / 3.0);
    EXPECT_EQ(n->GetValue(), ".667");
    doc.SetFloatExponentAllowed(false);
    n->SetValueFloat(0.0001);
    EXPECT_EQ(n->GetValue(), ".0001");
    n->SetValueInt(-5);
    EXPECT_EQ(n->GetValue(), "-5");
    n->SetValueInt64(1LL << 40);
    EXPECT_EQ(n->GetValue(), "1099511627776");
    const core::TDateTime t = At(2009, 1, 2, 12, 30, 15, 250);
    n->SetValueDate(t);
    EXPECT_EQ(n->GetValue(), "2009-01-02");
    n->SetValueTime(t);
    EXPECT_EQ(n->GetValue(), "12:30:15Z");
    doc.SetSecondFractionDigits(2);
    n->SetValueDateTime(t);
    EXPECT_EQ(n->GetValue(), "2009-01-02T12:30:15.25Z");
}

TEST_F(NodeValues, AttributeReadersAndWriters)
{
    root->PutAttrInt("i", 5);
    root->PutAttrInt64("big", 1LL << 33);
    root->PutAttrFloat("f", 1.5);
    root->PutAttrBool("b", true);
    root->PutAttrString("s", "a\"b");
    root->PutAttrWideString("w", u"Žluť");
    root->PutAttrAnsiString("an", "\x9A" "koda"); // "škoda" in Windows-1250
    root->PutAttrDateTime("d", At(2010, 5, 6, 7, 8, 9));
    EXPECT_EQ(root->AttrIntOr("I"), 5);
    EXPECT_EQ(root->AttrInt64Or("big"), 1LL << 33);
    EXPECT_EQ(root->AttrFloatOr("f"), 1.5);
    EXPECT_TRUE(root->AttrBoolOr("b"));
    EXPECT_EQ(root->AttrStringOr("s"), "a\"b");
    EXPECT_EQ(root->AttrStringOr("missing", "def"), "def");
    EXPECT_EQ(root->AttrWideStringOr("w"), u"Žluť");
    EXPECT_EQ(root->AttrStringOr("an"), "škoda");
    EXPECT_EQ(root->AttrAnsiStringOr("an"), "\x9A" "koda");
    EXPECT_NEAR(root->AttrDateTimeOr("d"), At(2010, 5, 6, 7, 8, 9), 1e-9);
    EXPECT_EQ(root->AttrIntOr("s", -1), -1);
    EXPECT_EQ(root->AttrFloatOr("missing", 2.5), 2.5);
    root->SetAttributeValue("f", "1,5");
    EXPECT_EQ(root->AttrFloatOr("f", 9), 9) << "attributes take the point only";

    root->PutAttrInt("i", 6);
    EXPECT_EQ(root->AttributeCount(), 8) << "an existing attribute is set, not added";
    EXPECT_EQ(root->AttrIntOr("i"), 6);
}

TEST_F(NodeValues, DefaultsAreLeftOutWhenTheDocumentDoesNotStoreThem)
{
    doc.SetStoreDefaults(false);
    root->PutAttrInt("n", 7, 0);
    root->PutAttrInt("n", 5, 5);
    EXPECT_EQ(root->AttrIntOr("n"), 7) << "a default leaves what stands there";
    root->PutAttrInt("absent", 5, 5);
    EXPECT_EQ(root->AttributeNamed("absent"), nullptr);
    root->PutChildString("c", "", "");
    EXPECT_EQ(root->ChildByName("c"), nullptr);
    root->PutAttrFloat("nan", std::nan(""), 0);
    EXPECT_EQ(root->AttributeNamed("nan"), nullptr) << "a NaN never differs from the default";

    doc.SetStoreDefaults(true);
    root->PutAttrInt("absent", 5, 5);
    EXPECT_EQ(root->AttrIntOr("absent"), 5);
    root->PutChildBool("flag", false);
    EXPECT_EQ(root->ChildStringOr("flag"), "false");
}

TEST_F(NodeValues, ChildReadersAndWriters)
{
    root->PutChildInt("count", 3);
    root->PutChildInt64("size", 1LL << 35);
    root->PutChildFloat("ratio", 0.25);
    root->PutChildBool("ok", true);
    root->PutChildDateTime("when", At(2011, 12, 24, 18));
    root->PutChildString("name", "Čapek");
    root->PutChildWideString("wide", u"Řím");
    root->PutChildAnsiString("ansi", "\xE8" "aj"); // "čaj"
    EXPECT_EQ(root->ChildIntOr("COUNT"), 3);
    EXPECT_EQ(root->ChildInt64Or("size"), 1LL << 35);
    EXPECT_EQ(root->ChildFloatOr("ratio"), 0.25);
    EXPECT_TRUE(root->ChildBoolOr("ok"));
    EXPECT_NEAR(root->ChildDateTimeOr("when"), At(2011, 12, 24, 18), 1e-9);
    EXPECT_EQ(root->ChildStringOr("name"), "Čapek");
    EXPECT_EQ(root->ChildWideStringOr("wide"), u"Řím");
    EXPECT_EQ(root->ChildStringOr("ansi"), "čaj");
    EXPECT_EQ(root->ChildAnsiStringOr("ansi"), "\xE8" "aj");
    EXPECT_EQ(root->ChildIntOr("none", 9), 9);
    EXPECT_EQ(root->ChildStringOr("none", "d"), "d");
    EXPECT_EQ(root->ChildWideStringOr("none", u"ž"), u"ž");
    EXPECT_EQ(root->ChildAnsiStringOr("none", "\x9E"), "\x9E");
    root->ChildAdd("blank");
    EXPECT_EQ(root->ChildStringOr("blank", "d"), "") << "a present child gives its value, even empty";
}

TEST_F(NodeValues, HexValuesReadBackAsIntegers)
{
    root->PutChildHex("mask", 31, 4);
    EXPECT_EQ(root->ChildStringOr("mask"), "$001F");
    EXPECT_EQ(root->ChildIntOr("mask"), 31);
    root->PutChildHex("neg", -1, 4);
    EXPECT_EQ(root->ChildStringOr("neg"), "$FFFFFFFF");
    EXPECT_EQ(root->ChildIntOr("neg"), -1);
    root->PutChildHex("wide", 0xABCDE, 2);
    EXPECT_EQ(root->ChildStringOr("wide"), "$ABCDE");
}

TEST_F(NodeValues, BinaryDataInValues)
{
    TXmlNode* n = root->ChildAdd("data");
    n->SetValue("TWFu");
    EXPECT_EQ(n->Base64Length(), 3);
    n->SetValue("TWE=");
    EXPECT_EQ(n->Base64Length(), 2);
    n->SetValue("TQ==");
    EXPECT_EQ(n->Base64Length(), 1);
    n->SetValue(" TW\r\nF u ");
    EXPECT_EQ(n->Base64Length(), 3) << "blanks are not counted";
    n->SetValue("TWF");
    try {
        n->Base64Length();
        FAIL();
    } catch (const core::EFilerError& e) {
        EXPECT_EQ(e.Message(), "error while calculating streamlength");
    }

    std::vector<unsigned char> bytes(100);
    for (std::size_t i = 0; i < bytes.size(); ++i)
        bytes[i] = static_cast<unsigned char>(i * 7);
    n->WriteBufferBase64(bytes.data(), 100);
    EXPECT_EQ(n->GetValue().find('\n'), std::string::npos) << "one line outside the readable layout";
    std::vector<unsigned char> back(100);
    n->ReadBuffer(back.data(), 100, bfBase64);
    EXPECT_EQ(back, bytes);
    EXPECT_THROW(n->ReadBuffer(back.data(), 200, bfBase64), core::EFilerError);

    doc.SetLayout(xlReadable);
    n->WriteBufferBase64(bytes.data(), 100);
    const std::string value = n->GetValue();
    // 136 characters in lines of 76, each line led by a line break and the node's indentation.
    EXPECT_EQ(value.substr(0, 3), "\r\n\t");
    EXPECT_EQ(value.substr(79, 3), "\r\n\t");
    EXPECT_EQ(value.substr(value.size() - 3), "\r\n\t");
    EXPECT_EQ(n->Base64Length(), 100);
    std::fill(back.begin(), back.end(), 0);
    n->ReadBuffer(back.data(), 100, bfBase64);
    EXPECT_EQ(back, bytes);

    n->SetValue("0aff10");
    unsigned char hex[3] = {};
    n->ReadBuffer(hex, 3, bfHex);
    EXPECT_EQ(hex[0], 0x0A);
    EXPECT_EQ(hex[1], 0xFF);
    EXPECT_EQ(hex[2], 0x10);
}
