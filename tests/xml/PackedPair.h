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

} // namespace xmltest
