#pragma once
// One text loaded twice: quietly, so that the parser packs attributes,
// whitespace and text into their elements' lists, and with node events, so
// that it makes a node of each. The tests compare what both show.

#include "xml/CharData.h"
#include "xml/Elements.h"
#include "xml/FastStreams.h"
#include "xml/XmlDocument.h"

#include "LoadedDocument.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <utility>
#include <vector>

namespace xmltest {

// With an event listener the parser makes every node.
inline void LoadWithNodes(xml::TXmlDocument& doc, const std::string& text)
{
    doc.OnNodeCreated = [](core::TObject*, xml::TXmlNode*) {};
    doc.LoadFromText(text);
    doc.OnNodeCreated = nullptr;
}

// Both loads of one text, side by side.
struct Pair {
    Loaded packed;
    Loaded nodes;

    explicit Pair(const std::string& text, xml::TxXmlLayout layout = xml::xlPreserve)
    {
        packed.doc.SetLayout(layout);
        nodes.doc.SetLayout(layout);
        packed.doc.LoadFromText(text);
        LoadWithNodes(nodes.doc, text);
    }
    // Applies the same change to both documents.
    void Both(const std::function<void(xml::TXmlDocument&)>& change)
    {
        change(packed.doc);
        change(nodes.doc);
    }
};

// One line for node: what the public interface shows of it, and how it was
// made (its class, whether in its document's arena).
inline std::string DescribeNode(const xml::TXmlNode* node)
{
    std::string out = node->KindName() + " " + node->GetName() + " " + node->ClassName();
    out += node->InArena() ? " arena" : " heap";
    if (node->NodeKind() == xml::xeAttribute) {
        const auto* attribute = static_cast<const xml::TxAttribute*>(node);
        out += attribute->QuoteStyle() == xml::qsSingle ? " '" : " \"";
        out += attribute->GetValue() + "|" + std::string(attribute->RawValueView());
    } else if (node->IsCharData()) {
        const auto* text = static_cast<const xml::TxCharData*>(node);
        out += " [" + node->GetValue() + "] #" + std::to_string(text->ValueId());
    }
    out += " path=" + node->FullPath();
    if (node->IsContainer()) {
        const auto* container = static_cast<const xml::TxContainerNode*>(node);
        out += " direct=" + std::to_string(container->DirectNodeCount()) +
               " value=" + std::to_string(container->ValueIndex()) +
               " attributes=" + std::to_string(node->AttributeCount()) + " [" + node->GetValue() + "]";
    }
    return out;
}

// The tree below node, a line a node, children indented.
inline void DescribeInto(const xml::TXmlNode* node, int depth, std::string& out)
{
    out += std::string(static_cast<std::size_t>(depth) * 2, ' ') + DescribeNode(node) + "\n";
    for (int i = 0; i < node->NodeCount(); ++i) {
        const xml::TXmlNode* child = node->NodeAt(i);
        EXPECT_EQ(child->Parent(), node) << out;
        EXPECT_EQ(node->NodeIndexOf(child), i) << out;
        DescribeInto(child, depth + 1, out);
    }
}

inline std::string Describe(const xml::TXmlNode* node)
{
    std::string out;
    DescribeInto(node, 0, out);
    return out;
}

inline std::string DescribeDocument(const xml::TXmlDocument& doc)
{
    std::string out;
    for (int i = 0; i < doc.TopNodeCount(); ++i)
        out += Describe(doc.TopNodes().ItemAt(i));
    return out;
}

inline std::string SaveBinary(xml::TXmlDocument& doc)
{
    xml::TxStringStream out;
    doc.SaveBinaryStream(out);
    return out.AsString();
}

// Saves both documents in every line-break style and encoding, whole and
// from the element that pick chooses in each, and compares the bytes.
inline void ExpectSameSavedBytes(Pair& pair, const std::function<xml::TXmlNode*(xml::TXmlDocument&)>& pick)
{
    struct Encoding {
        xml::TxTextEncoding encoding;
        int codePage;
    };
    const Encoding encodings[] = {
        {xml::seUtf8, 65001}, {xml::seAnsi, 1250}, {xml::seUtf16LE, 1200}, {xml::seUtf16BE, 1201}};
    for (xml::TxLineBreakStyle lineBreaks : {xml::lbLF, xml::lbCRLF, xml::lbCR}) {
        for (const Encoding& encoding : encodings) {
            SCOPED_TRACE("breaks " + std::to_string(lineBreaks) + " encoding " + std::to_string(encoding.encoding));
            pair.Both([&](xml::TXmlDocument& doc) {
                doc.SetLineBreakStyle(lineBreaks);
                doc.SetTextEncoding(encoding.encoding);
                doc.SetTextCodePage(encoding.codePage);
            });
            EXPECT_EQ(pair.packed.doc.WriteToText(), pair.nodes.doc.WriteToText());
            xml::TxStringStream stream, nodeStream;
            pick(pair.packed.doc)->WriteToStream(stream);
            pick(pair.nodes.doc)->WriteToStream(nodeStream);
            EXPECT_EQ(stream.AsString(), nodeStream.AsString());
        }
    }
}

// A change made to the first node of the root element.
using Change = std::pair<const char*, std::function<void(xml::TXmlNode&)>>;

// Makes each change in a fresh pair of loads of text, whose changed element
// holds packed nodes, and compares the saved text and the trees.
inline void ExpectAlikeAfterEachChange(const std::string& text, const std::vector<Change>& changes)
{
    for (const auto& [name, change] : changes) {
        SCOPED_TRACE(name);
        Pair pair(text);
        ASSERT_TRUE(pair.packed.doc.RootElement()->NodeAt(0)->HasPackedNodes());
        pair.Both([&change](xml::TXmlDocument& doc) { change(*doc.RootElement()->NodeAt(0)); });
        EXPECT_EQ(pair.packed.doc.WriteToUtf8Text(), pair.nodes.doc.WriteToUtf8Text());
        EXPECT_EQ(DescribeDocument(pair.packed.doc), DescribeDocument(pair.nodes.doc));
    }
}

} // namespace xmltest
