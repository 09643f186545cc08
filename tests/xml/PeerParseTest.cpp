// What the library saves, an independent parser reads: documents covering
// every node kind and every form of document type declaration are loaded in
// each layout, saved in each encoding, and handed to libxml2, which must find
// them well-formed and see the same elements and attributes. Our own loader
// must read the saved bytes back to the same document.

#include "xml/XmlDocument.h"

#include <libxml/parser.h>
#include <libxml/tree.h>
#include <libxml/xmlerror.h>

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

using namespace xml;

namespace {

struct Sample {
    const char* name;
    std::string text;
};

std::string Deep(int levels)
{
    std::string text = "<?xml version=\"1.0\"?>\n";
    for (int i = 0; i < levels; ++i)
        text += "<n i=\"" + std::to_string(i) + "\">";
    text += "dno";
    for (int i = 0; i < levels; ++i)
        text += "</n>";
    return text + "\n";
}

const std::vector<Sample>& Samples()
{
    static const std::vector<Sample> samples = {
        {"register",
         "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n"
         "<!-- Evidence provedených konverzí -->\r\n"
         "<d:root xmlns:d=\"http://www.example.cz/konverze\" verze='2.0'>\r\n"
         "  <d:zaznam id=\"1\" pozn=\"Smlouva &amp; dodatek &quot;A&quot;\">\r\n"
         "    <d:oznaceni>Smlouva č. 1 &lt;kopie&gt; – Žďár nad Sázavou</d:oznaceni>\r\n"
         "    <d:datum>02.01.2009</d:datum>\r\n"
         "    <d:prazdny/>\r\n"
         "    <d:par></d:par>\r\n"
         "  </d:zaznam>\r\n"
         "</d:root>\r\n"},
        {"every node kind",
         "<?xml version=\"1.0\" encoding=\"utf-8\"?>\n"
         "<?xml-stylesheet type=\"text/xsl\" href=\"a.xsl\"?>\n"
         "<?xml-model href=\"r.rng\"?>\n"
         "<!DOCTYPE r PUBLIC \"-//K//DTD R//CS\" 'r.dtd' [\n"
         "  <!ELEMENT r (#PCDATA|p|q|b)*>\n"
         "  <!ATTLIST r a CDATA #IMPLIED b (x|y) \"x\" c CDATA #FIXED 'a>b' d CDATA \"it's\">\n"
         "  <!ATTLIST p>\n"
         "  <!ENTITY e \"x>y &#169;\">\n"
         "  <!ENTITY f 'say \"hi\"'>\n"
         "  <!ENTITY m \"<b>tučně</b>\">\n"
         "  <!NOTATION gif SYSTEM \"image/gif\">\n"
         "  <!NOTATION png PUBLIC \"-//W3C//NOTATION PNG//EN\">\n"
         "  <!NOTATION jpg PUBLIC '-//J//EN' \"viewer>.exe\">\n"
         "  <!ENTITY logo SYSTEM \"logo.gif\" NDATA gif>\n"
         "  <!ENTITY ext PUBLIC \"-//K//ENTITIES ext//CS\"\n"
         "                      \"ext.ent\">\n"
         "  <!ENTITY % pe \"<!ENTITY g 'gg'>\">\n"
         "  %pe;\n"
         "  <!ENTITY % pext SYSTEM \"p.ent\">\n"
         "  <?pi in subset?>\n"
         "  <!-- comment in subset -->\n"
         "]>\n"
         "<!-- top comment -->\n"
         "<r a=\"1\" b='y' d=\"&lt;&amp;&gt;&quot;&apos;\">\n"
         "  text &e; &f; &m; &g; &#x10D;&#269; a > b\n"
         "  <p x=\"a&#10;b\"\ty='z'\n"
         "     z=\"multi\n"
         "line\"/>\n"
         "  <![CDATA[<cdata> & ]]]]><![CDATA[>]]>\n"
         "  <?target data with > and ? inside?>\n"
         "  <q>mixed <b>bold</b> tail</q>\n"
         "  <!-- inner -->\n"
         "</r>\n"
         "<?after root?>\n"
         "<!-- end -->\n"},
        {"standalone", "<?xml version='1.0' standalone='yes'?><a b=\"c\"/>"},
        {"system id only", "<!DOCTYPE a SYSTEM \"a.dtd\"><a><b/><b>t</b></a>\n"},
        {"attribute list with >", "<!DOCTYPE doc [<!ATTLIST doc a CDATA \"x>y\">]><doc/>"},
        {"parameter entity with public id", "<!DOCTYPE d [<!ENTITY % e PUBLIC 'whatever' \"e.dtd\">]><d/>"},
        {"reference right before the subset's end",
         "<!DOCTYPE d [<!ENTITY % e \"<!ENTITY f 'g'>\">%e;]><d>&f;</d>"},
        {"bare doctype", "<!DOCTYPE d><d/>"},
        {"text outside the basic plane",
         "<t>Příliš žluťoučký kůň 😀 &#x1F600; ∑</t>\n"},
        {"value nodes", "<?xml version=\"1.0\"?><?before root?><v a=\"\"><![CDATA[x<y]]>tail</v><!-- after -->"},
        {"byte-order mark", "\xEF\xBB\xBF<?xml version=\"1.0\"?>\r\n<b>BOM</b>\r\n"},
        {"entity references in attributes",
         "<!DOCTYPE r [<!ENTITY e \"eee\">]><r a=\"&e;&amp;&#60;\" b='&#x9;tab&#xA;'>&e;</r>"},
        {"windows-1250", "<?xml version=\"1.0\" encoding=\"windows-1250\"?>\r\n<r k=\"\x9A\xE8\">\xF8\xED\x9E</r>\r\n"},
        {"deep", Deep(300)},
    };
    return samples;
}

struct Encoding {
    const char* label; // the declaration's name for it
    TxTextEncoding encoding;
    int codePage;
};

const Encoding kEncodings[] = {
    {"UTF-8", seUtf8, 65001},
    {"windows-1250", seAnsi, 1250},
    {"UTF-16", seUtf16LE, 1200},
    {"UTF-16", seUtf16BE, 1201},
};

const TxXmlLayout kLayouts[] = {xlCompact, xlReadable, xlPreserve};

// The declaration names the encoding the text is saved in; a document saved
// in another encoding than UTF-8 gets a declaration when it has none.
void DeclareEncoding(TXmlDocument& doc, const Encoding& encoding)
{
    doc.SetTextEncoding(encoding.encoding);
    doc.SetTextCodePage(encoding.codePage);
    TXmlNode* first = doc.TopNodes().First();
    if (first != nullptr && first->NodeKind() == xeDeclaration) {
        static_cast<TxDeclaration*>(first)->SetDeclarationEncoding(encoding.label);
    } else if (encoding.encoding != seUtf8) {
        auto* declaration = new TxDeclaration(&doc);
        declaration->SetDeclarationEncoding(encoding.label);
        declaration->SetDeclarationVersion("1.0");
        doc.TopNodes().Insert(0, declaration);
    }
}

// libxml2's reading of bytes: well-formed or the messages why not.
struct PeerReading {
    bool wellFormed = false;
    std::vector<std::string> errors;
    std::vector<std::string> outline; // elements and attributes in document order
};

void Outline(xmlNode* node, std::vector<std::string>& out)
{
    for (; node != nullptr; node = node->next) {
        if (node->type != XML_ELEMENT_NODE)
            continue;
        std::string name = reinterpret_cast<const char*>(node->name);
        if (node->ns != nullptr && node->ns->prefix != nullptr)
            name = std::string(reinterpret_cast<const char*>(node->ns->prefix)) + ":" + name;
        out.push_back("<" + name);
        // Namespace declarations are attributes to us.
        for (xmlNsPtr ns = node->nsDef; ns != nullptr; ns = ns->next)
            out.push_back(ns->prefix != nullptr ? "@xmlns:" + std::string(reinterpret_cast<const char*>(ns->prefix))
                                                : std::string("@xmlns"));
        for (xmlAttr* attribute = node->properties; attribute != nullptr; attribute = attribute->next)
            out.push_back("@" + std::string(reinterpret_cast<const char*>(attribute->name)));
        Outline(node->children, out);
        out.push_back(">");
    }
}

void Outline(const TXmlNode* node, std::vector<std::string>& out)
{
    out.push_back("<" + node->GetName());
    for (int i = 0; i < node->AttributeCount(); ++i)
        out.push_back("@" + node->AttributeNameAt(i));
    for (int i = 0; i < node->ElementCount(); ++i)
        Outline(node->ElementAt(i), out);
    out.push_back(">");
}

void CollectError(void* context, xmlErrorPtr error)
{
    if (error->level >= XML_ERR_ERROR)
        static_cast<PeerReading*>(context)->errors.push_back(
            "line " + std::to_string(error->line) + ": " + (error->message != nullptr ? error->message : "?"));
}

PeerReading ReadWithPeer(const std::string& bytes)
{
    PeerReading reading;
    xmlParserCtxtPtr context = xmlNewParserCtxt();
    xmlSetStructuredErrorFunc(&reading, CollectError);
    // Nothing is fetched: external identifiers stay names. Without its
    // "huge" option the peer refuses more than 256 levels, which is a limit
    // of its own and not a rule of XML.
    xmlDocPtr doc = xmlCtxtReadMemory(context, bytes.data(), static_cast<int>(bytes.size()), "saved.xml", nullptr,
                                      XML_PARSE_NONET | XML_PARSE_HUGE);
    xmlSetStructuredErrorFunc(nullptr, nullptr);
    reading.wellFormed = doc != nullptr && context->wellFormed != 0;
    if (doc != nullptr) {
        Outline(xmlDocGetRootElement(doc), reading.outline);
        xmlFreeDoc(doc);
    }
    xmlFreeParserCtxt(context);
    return reading;
}

std::string Hex(const std::string& bytes, std::size_t limit = 400)
{
    std::string shown;
    for (std::size_t i = 0; i < bytes.size() && i < limit; ++i) {
        const auto c = static_cast<unsigned char>(bytes[i]);
        static constexpr char kDigits[] = "0123456789ABCDEF";
        shown += c >= 32 && c < 127 ? std::string(1, static_cast<char>(c))
                                    : std::string{'\\', 'x', kDigits[c >> 4], kDigits[c & 15]};
    }
    return shown;
}

} // namespace

TEST(PeerParse, EverySavedDocumentIsWellFormedForLibxml2)
{
    xmlInitParser();
    for (const Sample& sample : Samples()) {
        for (TxXmlLayout layout : kLayouts) {
            for (const Encoding& encoding : kEncodings) {
                SCOPED_TRACE(std::string(sample.name) + ", layout " + std::to_string(layout) + ", " +
                             EncodingNames[encoding.encoding]);
                TXmlDocument doc(nullptr);
                doc.SetLayout(layout);
                doc.LoadFromText(sample.text);
                ASSERT_NE(doc.RootElement(), nullptr);
                DeclareEncoding(doc, encoding);
                bool substituted = false; // a character the code page lacks became "?"
                doc.OnDebugMessage = [&](core::TObject*, TxDebugLevel, const std::string& message) {
                    substituted |= message == "default char used for codepage substitution";
                };
                const std::string saved = doc.WriteToText();

                // Loaded with node events, which make every attribute a node
                // where a quiet load packs the plain ones, it saves the same bytes.
                TXmlDocument withNodes(nullptr);
                withNodes.SetLayout(layout);
                withNodes.OnNodeCreated = [](core::TObject*, TXmlNode*) {};
                withNodes.LoadFromText(sample.text);
                withNodes.OnNodeCreated = nullptr;
                DeclareEncoding(withNodes, encoding);
                EXPECT_EQ(withNodes.WriteToText(), saved);

                const PeerReading peer = ReadWithPeer(saved);
                if (!peer.wellFormed) {
                    ADD_FAILURE() << (peer.errors.empty() ? "" : peer.errors.front()) << "\n" << Hex(saved);
                    continue;
                }
                std::vector<std::string> ours;
                Outline(doc.RootElement(), ours);
                EXPECT_EQ(peer.outline, ours);

                // Our own loader reads the bytes back to the same document.
                TXmlDocument back(nullptr);
                back.SetLayout(layout);
                back.LoadFromText(saved);
                EXPECT_EQ(back.TextEncoding(), encoding.encoding);
                if (!substituted) {
                    EXPECT_EQ(back.WriteToUtf8Text(), doc.WriteToUtf8Text());
                }
            }
        }
    }
}
