// Input that ends early: wherever a document is cut, the load says so, once,
// with "stream terminated prematurely at pos N", and keeps what was read.

#include "xml/XmlDocument.h"

#include "tests/xml/LoadedDocument.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace xml;
using xmltest::Loaded;

namespace {

// Every kind of markup, with LF line ends and Czech letters, so that a byte
// of the source is a byte of the decoded text.
const std::string kRoot = "<r a=\"1\" b='ž'>\n"
                          " t&amp;&e;<x y=\"2\"/><![CDATA[<&]]><?pi x?><!--k--><z>ř</z>\n"
                          "</r>";
const std::string kPrologue = "<?xml version=\"1.0\" encoding=\"utf-8\"?>\n"
                              "<!DOCTYPE r PUBLIC \"-//K//R\" \"r.dtd\" [\n"
                              "<!ELEMENT r ANY>\n"
                              "<!ATTLIST r a CDATA \"x>y\">\n"
                              "<!ENTITY e \"č>\">\n"
                              "<!NOTATION n SYSTEM \"n\">\n"
                              "<!ENTITY % p \"<!ENTITY f 'f'>\">%p;\n"
                              "<?pi in?>\n"
                              "<!-- c -->\n"
                              "]>\n"
                              "<?xml-stylesheet href=\"a.xsl\"?>\n";
const std::string kDocument = kPrologue + kRoot + "\n<!--end-->\n";

std::string Premature(std::size_t position)
{
    return "stream terminated prematurely at pos " + std::to_string(position);
}

// The messages at warn and above.
std::vector<std::string> Warnings(const Loaded& l)
{
    std::vector<std::string> out;
    for (const xmltest::Heard& h : l.heard)
        if (h.level >= dlWarn)
            out.push_back(h.message);
    return out;
}

// Part of a UTF-8 character at the end of a cut.
bool EndsInsideACharacter(const std::string& text)
{
    std::size_t i = text.size();
    while (i > 0 && (static_cast<unsigned char>(text[i - 1]) & 0xC0) == 0x80)
        --i;
    if (i == 0 || static_cast<unsigned char>(text[i - 1]) < 0xC0)
        return false;
    const auto lead = static_cast<unsigned char>(text[i - 1]);
    const std::size_t length = lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : 2;
    return text.size() - (i - 1) < length;
}

} // namespace

TEST(CutInput, EveryCutIsReportedOnceAndACompleteDocumentIsNot)
{
    const std::size_t rootEnd = kPrologue.size() + kRoot.size();
    for (std::size_t length = 0; length <= kDocument.size(); ++length) {
        const std::string cut = kDocument.substr(0, length);
        SCOPED_TRACE("cut after " + std::to_string(length) + " bytes: ..." +
                     cut.substr(cut.size() > 40 ? cut.size() - 40 : 0));
        Loaded l(cut);
        std::vector<std::string> warnings = Warnings(l);
        const bool complete = length >= rootEnd && (length <= rootEnd + 1 || length == kDocument.size() ||
                                                    length == kDocument.size() - 1);
        if (complete) {
            EXPECT_EQ(warnings, std::vector<std::string>{});
            continue;
        }
        // A cut inside a letter also leaves bytes that are not UTF-8; that is
        // said apart.
        if (EndsInsideACharacter(cut) && !warnings.empty())
            std::erase_if(warnings, [](const std::string& m) { return m.find("not UTF-8") != std::string::npos; });
        EXPECT_EQ(warnings, std::vector<std::string>{Premature(length)});
    }
}

TEST(CutInput, WhatWasReadIsKept)
{
    // Cut inside the end tag of the root's second child.
    const std::string cut = kPrologue + kRoot.substr(0, kRoot.find("</z>") + 3);
    Loaded l(cut);
    TXmlNode* root = l.doc.RootElement();
    ASSERT_NE(root, nullptr);
    EXPECT_EQ(root->AttributeValueNamed("b"), "ž");
    ASSERT_EQ(root->ElementCount(), 2);
    EXPECT_EQ(root->ElementAt(1)->GetName(), "z");
    EXPECT_EQ(root->ElementAt(1)->GetValue(), "ř");
    EXPECT_NE(l.doc.TopNodes().FindFirstOfKind(xeDocType), nullptr);
    EXPECT_EQ(l.doc.TopNodes().FindFirstOfKind(xeDocType)->ElementCount(), 5);
}

TEST(CutInput, EachPlaceOfACutGivesTheMessageFromTheNodeBeingRead)
{
    const std::string declaration = "<?xml version=\"1.0\"?>";
    struct Case {
        const char* text;
        const char* sender; // the class of the node that reports it
    };
    for (const Case& c : {Case{"<r><x>t</x", "TxElement"}, Case{"<r>t</r", "TxElement"},
                          Case{"<r a=\"1\"", "TxElement"}, Case{"<r a=\"1\"/", "TxElement"},
                          Case{"<r a=\"abc", "TxQuotedText"}, Case{"<r a", "TxAttribute"},
                          Case{"<r><!-- abc", "TxXmlParser"}, Case{"<r><![CDATA[ abc", "TxXmlParser"},
                          Case{"<r><![CDA", "TxXmlParser"}, Case{"<r><?pi abc", "TxXmlParser"},
                          Case{"<r><!", "TxXmlParser"}, Case{"<r><x>", "TxElement"},
                          Case{"<r/><", "TxXmlParser"}, Case{"<!DOCTYPE r SYS", "TxDocType"},
                          Case{"<!DOCTYPE r [<!ENTITY e 'x", "TxQuotedText"},
                          Case{"<!DOCTYPE r [<!ATTLIST r a CDATA 'x>", "TxCharData"},
                          Case{"<!DOCTYPE r [", "TxDocType"}, Case{"<!DOCTYPE r []", "TxDocType"},
                          Case{"<!-- before the root -->", "TXmlDocument"}}) {
        const std::string text = declaration + c.text;
        Loaded l(text);
        SCOPED_TRACE(c.text);
        const std::vector<std::string> warnings = Warnings(l);
        ASSERT_EQ(warnings, std::vector<std::string>{Premature(text.size())});
        for (const xmltest::Heard& h : l.heard) {
            if (h.level >= dlWarn) {
                EXPECT_EQ(h.senderClass, c.sender);
            }
        }
    }
}

TEST(CutInput, ElementsLeftOpenAreOneMessageNotOnePerLevel)
{
    std::string text = "<?xml version=\"1.0\"?>";
    for (int i = 0; i < 500; ++i)
        text += "<e>";
    Loaded l(text);
    EXPECT_EQ(l.Messages(dlWarn), std::vector<std::string>{"fail: " + Premature(text.size())});
    int depth = 0;
    for (const TXmlNode* node = l.doc.RootElement(); node != nullptr; node = node->ElementAt(0))
        ++depth;
    EXPECT_EQ(depth, 500);

    // A list that ends at an error, not at the end, still names each level.
    Loaded illegal("<?xml version=\"1.0\"?><a><b><!x></b></a>");
    EXPECT_EQ(illegal.Messages(dlWarn),
              (std::vector<std::string>{"fail: illegal tag (\"x\") at pos 30",
                                        "warn: illegal tag (\"Error\") at pos 30",
                                        "warn: level mismatch between subnode \"b\" and endnode \"nil\" at line 0 (pos 30)",
                                        "warn: unsupported tag (\"EndTag\") at pos 33"}));
}

TEST(CutInput, ShortAndEmptySourcesAreReportedOnce)
{
    Loaded empty("");
    EXPECT_EQ(empty.Messages(), std::vector<std::string>{"warn: " + Premature(0)});
    Loaded blanks("   \n   ");
    EXPECT_EQ(blanks.Messages(dlWarn),
              (std::vector<std::string>{"warn: unknown encoding", "warn: " + Premature(7)}));
    Loaded declarationOnly("<?xml version=\"1.0\"?>\r\n");
    EXPECT_EQ(declarationOnly.Messages(dlWarn), std::vector<std::string>{"warn: " + Premature(22)});
    EXPECT_EQ(declarationOnly.doc.TopNodeCount(), 1);
}
