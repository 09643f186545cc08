// The XML declaration's pseudo-attributes, and the document type's internal
// subset: markup declarations read with their quoted literals as units,
// parameter-entity references kept, and every declaration written back as a
// declaration.

#include "xml/XmlDocument.h"

#include "xml/FastStreams.h"

#include "tests/xml/LoadedDocument.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace xml;
using xmltest::Loaded;

namespace {

const std::string kDeclaration = "<?xml version=\"1.0\"?>\r\n";

TxDocType* DocTypeOf(const Loaded& l) { return static_cast<TxDocType*>(l.doc.TopNodes().FindFirstOfKind(xeDocType)); }

// The kinds of a node's nodes, in order.
std::vector<TxNodeKind> KindsOf(const TXmlNode* node)
{
    std::vector<TxNodeKind> kinds;
    for (int i = 0; i < node->NodeCount(); ++i)
        kinds.push_back(node->NodeAt(i)->NodeKind());
    return kinds;
}

} // namespace

TEST(DocTypeSubset, GreaterThanInsideAQuotedLiteralDoesNotEndTheDeclaration)
{
    const std::string source = kDeclaration + "<!DOCTYPE doc [<!ATTLIST doc a CDATA \"x>y\">]><doc/>";
    Loaded l(source);
    EXPECT_TRUE(l.Messages(dlHint).empty()) << l.Messages(dlHint).front();
    ASSERT_NE(l.doc.RootElement(), nullptr) << "the root survives";
    EXPECT_EQ(l.doc.RootElement()->GetName(), "doc");
    TXmlNode* attList = DocTypeOf(l)->FirstNodeOfKind(xeDtdAttList);
    ASSERT_NE(attList, nullptr);
    EXPECT_EQ(attList->GetName(), "doc");
    EXPECT_EQ(attList->GetValue(), "a CDATA \"x>y\"") << "one body, the literal in it whole";
    EXPECT_EQ(l.doc.WriteToText(), source);
}

TEST(DocTypeSubset, EveryDeclarationKindReadsItsLiteralsAsUnits)
{
    const std::string source = kDeclaration + "<!DOCTYPE d [\r\n"
                                              "<!ELEMENT d (#PCDATA|e)*>\r\n"
                                              "<!ATTLIST d a CDATA #FIXED '>' b (x|y) \"y\" c CDATA 'say \"hi\" > bye'>\r\n"
                                              "<!ENTITY e \"x>y\">\r\n"
                                              "<!ENTITY f 'a\">b'>\r\n"
                                              "<!NOTATION n PUBLIC \"-//p>q//EN\">\r\n"
                                              "<!NOTATION m PUBLIC '-//r//EN' \"m>.exe\">\r\n"
                                              "]>\r\n<d>&e;</d>";
    Loaded l(source);
    EXPECT_TRUE(l.Messages(dlHint).empty()) << l.Messages(dlHint).front();
    TxDocType* docType = DocTypeOf(l);
    ASSERT_NE(docType, nullptr);
    EXPECT_EQ(docType->ElementCount(), 6) << "six declarations, nothing split off";
    EXPECT_EQ(docType->ElementAt(1)->GetValue(), "a CDATA #FIXED '>' b (x|y) \"y\" c CDATA 'say \"hi\" > bye'");
    TXmlNode* e = docType->ElementAt(2);
    ASSERT_EQ(e->NodeCount(), 1);
    EXPECT_EQ(e->NodeAt(0)->NodeKind(), xeQuotedText);
    EXPECT_EQ(e->NodeAt(0)->GetValue(), "x>y");
    EXPECT_EQ(docType->ElementAt(3)->NodeAt(0)->GetValue(), "a\">b");
    EXPECT_EQ(docType->ElementAt(4)->GetValue(), "PUBLIC \"-//p>q//EN\"");
    EXPECT_EQ(docType->ElementAt(5)->GetName(), "m");
    ASSERT_NE(l.doc.RootElement(), nullptr);
    EXPECT_EQ(l.doc.RootElement()->GetValue(), "&e;");
    EXPECT_EQ(l.doc.WriteToText(), source);
}

TEST(DocTypeSubset, PublicAndSystemLiteralsOfAnEntityKeepTheBlankBetweenThem)
{
    const std::string source = kDeclaration + "<!DOCTYPE d [<!ENTITY % e PUBLIC 'whatever' \"e.dtd\">]><d/>";
    Loaded l(source);
    EXPECT_TRUE(l.Messages(dlHint).empty()) << l.Messages(dlHint).front();
    TXmlNode* entity = DocTypeOf(l)->FirstNodeOfKind(xeDtdEntity);
    ASSERT_NE(entity, nullptr);
    EXPECT_EQ(entity->GetName(), "%");
    EXPECT_EQ(KindsOf(entity), (std::vector<TxNodeKind>{xeCharData, xeWhiteSpace, xeCharData, xeWhiteSpace,
                                                        xeQuotedText, xeWhiteSpace, xeQuotedText}));
    EXPECT_EQ(entity->GetValue(), "e PUBLIC 'whatever' \"e.dtd\"");
    EXPECT_EQ(l.doc.WriteToText(), source);

    // Blanks of another kind are kept as they were read, in every layout.
    const std::string spread = kDeclaration + "<!DOCTYPE d [<!ENTITY e PUBLIC \"p\"\r\n\t'e.xml'>]><d/>";
    Loaded compact;
    compact.doc.SetLayout(xlCompact);
    compact.doc.LoadFromText(spread);
    EXPECT_EQ(compact.Messages(dlWarn), std::vector<std::string>{});
    EXPECT_EQ(compact.doc.WriteToText(), spread);
}

TEST(DocTypeSubset, LiteralsThatTouchInTheTreeAreWrittenApart)
{
    // As code builds it, or as a binary file written before the blanks were
    // kept holds it: a word and two literals with nothing between them.
    TXmlDocument doc(nullptr, false, true, true, "d");
    auto* docType = static_cast<TxDocType*>(doc.TopNodes().First());
    docType->ExternalId()->SetRawValue("");
    auto* entity = new TxDtdEntity(&doc);
    entity->SetName("e");
    auto* word = new TxCharData(&doc);
    word->SetRawValue("PUBLIC");
    auto* publicId = new TxQuotedText(&doc);
    publicId->SetRawValue("p");
    auto* system = new TxQuotedText(&doc);
    system->SetRawValue("e.xml");
    system->SetQuoteStyle(qsSingle);
    entity->NodeAdd(word);
    entity->NodeAdd(publicId);
    entity->NodeAdd(system);
    docType->NodeAdd(entity);
    EXPECT_EQ(entity->GetValue(), "PUBLIC \"p\" 'e.xml'");
    EXPECT_EQ(doc.WriteToText(), "<!DOCTYPE d [<!ENTITY e PUBLIC \"p\" 'e.xml'>]><d/>");

    // A single literal stands alone, as before.
    auto* value = new TxDtdEntity(&doc);
    value->SetName("v");
    auto* literal = new TxQuotedText(&doc);
    literal->SetRawValue("x");
    value->NodeAdd(literal);
    EXPECT_EQ(value->GetValue(), "\"x\"");
    delete value;
}

TEST(DocTypeSubset, ParameterEntityReferencesAreKeptWhereTheyStood)
{
    const std::string source =
        kDeclaration + "<!DOCTYPE d [<!ENTITY % e \"<!ENTITY f 'g'>\">%e; %e;\r\n<!ELEMENT d ANY>%e;]><d/>";
    Loaded l(source);
    EXPECT_TRUE(l.Messages(dlHint).empty()) << l.Messages(dlHint).front();
    ASSERT_NE(l.doc.RootElement(), nullptr) << "a reference right before \"]\" no longer hides the subset's end";
    TxDocType* docType = DocTypeOf(l);
    EXPECT_EQ(KindsOf(docType), (std::vector<TxNodeKind>{xeDtdEntity, xeCharData, xeCharData, xeWhiteSpace,
                                                         xeDtdElement, xeCharData}));
    EXPECT_EQ(static_cast<TxCharData*>(docType->NodeAt(1))->RawValue(), "%e;");
    EXPECT_EQ(l.doc.WriteToText(),
              kDeclaration + "<!DOCTYPE d [<!ENTITY % e \"<!ENTITY f 'g'>\">%e;%e;\r\n<!ELEMENT d ANY>%e;]><d/>")
        << "single spaces between declarations are not kept, as before";

    // A "%" that starts no reference is still refused, and the subset still ends.
    Loaded stray(kDeclaration + "<!DOCTYPE d [ % e; %f ]><d/>");
    EXPECT_EQ(stray.Messages(dlWarn), (std::vector<std::string>{"warn: illegal tag (\"%\") at pos 37",
                                                                "warn: illegal tag (\"e\") at pos 39",
                                                                "warn: illegal tag (\"%\") at pos 42"}));
    EXPECT_NE(stray.doc.RootElement(), nullptr);
}

TEST(DocTypeSubset, ADeclarationCutInsideALiteralEndsWithTheMessage)
{
    for (const std::string cut : {"<!DOCTYPE d [<!ATTLIST d a CDATA \"x>", "<!DOCTYPE d [<!NOTATION n PUBLIC 'p>]>"}) {
        Loaded l(kDeclaration + cut);
        const std::vector<std::string> warnings = l.Messages(dlWarn);
        ASSERT_FALSE(warnings.empty()) << cut;
        EXPECT_EQ(warnings.front(),
                  "warn: stream terminated prematurely at pos " + std::to_string(kDeclaration.size() - 1 + cut.size()))
            << cut;
        EXPECT_NE(DocTypeOf(l), nullptr) << cut;
    }
}

TEST(DocTypeSubset, DeclarationsSurviveTheBinaryForm)
{
    const std::string source =
        kDeclaration + "<!DOCTYPE d [<!ATTLIST d a CDATA \"x>y\"><!ENTITY % e PUBLIC 'w' \"e.dtd\">%e;]><d/>";
    Loaded l(source);
    TxFastMemStream binary(0);
    l.doc.SaveBinaryStream(binary);
    binary.SetPosition(0);
    TXmlDocument back(nullptr);
    back.LoadBinaryStream(binary);
    EXPECT_EQ(back.WriteToText(), source);
}

TEST(DeclarationPseudoAttributes, MissingOnesAreAddedInTheOrderXmlWants)
{
    Loaded l("<?xml version=\"1.0\"\n standalone='yes'?><a/>");
    TxDeclaration* declaration = l.doc.FirstDeclaration();
    ASSERT_NE(declaration, nullptr);
    declaration->SetDeclarationEncoding("windows-1250");
    EXPECT_EQ(l.doc.WriteToUtf8Text(), "<?xml version=\"1.0\"\r\n encoding=\"windows-1250\" standalone='yes'?>\r\n<a/>")
        << "before standalone, after the blanks that stood there";
    declaration->SetDeclarationEncoding("utf-8");
    EXPECT_EQ(declaration->DeclarationEncoding(), "utf-8") << "a present one keeps its place";

    // An empty declaration given its encoding first still starts with the version.
    TXmlDocument doc(nullptr);
    TxDeclaration* empty = doc.ForceDeclaration();
    empty->SetDeclarationEncoding("utf-8");
    empty->SetDeclarationVersion("1.0");
    EXPECT_EQ(empty->DirectNodeCount(), 2);
    EXPECT_EQ(doc.WriteToUtf8Text(), "<?xml version=\"1.0\" encoding=\"utf-8\"?>\r\n</>");

    // Pseudo-attributes of a style sheet have no fixed order: added last.
    Loaded sheet("<?xml-stylesheet href=\"a.xsl\"?><a/>");
    auto* styleSheet = static_cast<TxDeclaration*>(sheet.doc.TopNodes().First());
    styleSheet->SetAttributeValue("type", "text/xsl");
    styleSheet->SetDeclarationVersion("1.0");
    EXPECT_EQ(styleSheet->AttributeNameAt(0), "version");
    EXPECT_EQ(styleSheet->AttributeNameAt(2), "type");
}

TEST(DeclarationPseudoAttributes, OtherTargetsBeginningWithXmlAreInstructions)
{
    const std::string source = kDeclaration + "<?xml-model href=\"a.rng\" type=\"application/xml\"?>\r\n"
                                              "<?xmlfoo bar?><r/>";
    Loaded l(source);
    EXPECT_TRUE(l.Messages(dlHint).empty()) << l.Messages(dlHint).front();
    ASSERT_EQ(l.doc.TopNodeCount(), 5) << "the line break between the two is text";
    EXPECT_EQ(l.Top(1)->NodeKind(), xeInstruction);
    EXPECT_EQ(l.Top(1)->GetValue(), "xml-model href=\"a.rng\" type=\"application/xml\"");
    EXPECT_EQ(l.Top(3)->NodeKind(), xeInstruction);
    EXPECT_EQ(l.doc.ContainerCount(), 2) << "the declaration and the root, no second declaration";
    EXPECT_EQ(l.doc.WriteToText(), source);
}
