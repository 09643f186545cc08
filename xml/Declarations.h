#pragma once
// The XML declaration and the style-sheet instruction (containers whose
// attributes are the pseudo-attributes between "<?xml" and "?>"), comments,
// CDATA sections and processing instructions.

#include "xml/CharData.h"
#include "xml/Elements.h"

namespace xml {

class TxDeclaration : public TxContainerNode {
public:
    explicit TxDeclaration(TXmlDocument* document) : TxContainerNode(document, xeDeclaration, 0) {}
    std::string ClassName() const override { return "TxDeclaration"; }
    TXmlNode* NewInstance(TXmlDocument* document) const override { return new TxDeclaration(document); }

    std::string_view NameView() const override { return "xml"; }
    // The "encoding" pseudo-attribute; empty when there is none.
    std::string DeclarationEncoding() const { return AttributeValueNamed("encoding"); }
    // A missing pseudo-attribute is added where XML wants it: version first,
    // then encoding, then standalone; others keep their place.
    void SetDeclarationEncoding(const std::string& encoding) { SetPseudoAttribute("encoding", encoding); }
    void SetDeclarationVersion(const std::string& version) { SetPseudoAttribute("version", version); }

    TXmlNode* ReadFromParser(TxXmlParser& parser) override;

protected:
    TxDeclaration(TXmlDocument* document, TxNodeKind kind) : TxContainerNode(document, kind, 0) {}
    // The line break after "?>" is written in every layout.
    void DoWrite(core::TStream& stream, int depth) override;

private:
    void SetPseudoAttribute(const std::string& name, const std::string& value);
};

class TxStyleSheet : public TxDeclaration {
public:
    explicit TxStyleSheet(TXmlDocument* document) : TxDeclaration(document, xeStylesheet) {}
    std::string ClassName() const override { return "TxStyleSheet"; }
    TXmlNode* NewInstance(TXmlDocument* document) const override { return new TxStyleSheet(document); }

    std::string_view NameView() const override { return "xml-stylesheet"; }

protected:
    void DoWrite(core::TStream& stream, int depth) override;
};

// "<!--" text "-->": the text is written as stored.
class TxComment : public TxCharData {
public:
    explicit TxComment(TXmlDocument* document) : TxCharData(document, xeComment) {}
    std::string ClassName() const override { return "TxComment"; }
    TXmlNode* NewInstance(TXmlDocument* document) const override { return new TxComment(document); }

    TXmlNode* ReadFromParser(TxXmlParser& parser) override;

protected:
    TxComment(TXmlDocument* document, TxNodeKind kind) : TxCharData(document, kind) {}
    void DoWrite(core::TStream& stream, int depth) override;
};

// "<![CDATA[" text "]]>": the text is stored and given back exactly as it is.
class TxCData : public TxComment {
public:
    explicit TxCData(TXmlDocument* document) : TxComment(document, xeCData) {}
    std::string ClassName() const override { return "TxCData"; }
    TXmlNode* NewInstance(TXmlDocument* document) const override { return new TxCData(document); }

    std::string GetValue() const override { return RawValue(); }
    void SetValue(const std::string& value) override { SetRawValue(value); }
    TXmlNode* ReadFromParser(TxXmlParser& parser) override;

protected:
    // A "]]>" inside the text ends one section and starts the next, so the
    // output stays well-formed.
    void DoWrite(core::TStream& stream, int depth) override;
};

// Carried only as a kind of comment: it reports the kind Comment and reads and
// writes as one.
class TxConditionalSection : public TxComment {
public:
    explicit TxConditionalSection(TXmlDocument* document) : TxComment(document) {}
    std::string ClassName() const override { return "TxConditionalSection"; }
    TXmlNode* NewInstance(TXmlDocument* document) const override { return new TxConditionalSection(document); }
};

// "<?" target and data "?>". The text is kept as written, without references
// to resolve: SetValue and GetValue change only line breaks.
class TxInstruction : public TxCharData {
public:
    explicit TxInstruction(TXmlDocument* document) : TxCharData(document, xeInstruction) {}
    std::string ClassName() const override { return "TxInstruction"; }
    TXmlNode* NewInstance(TXmlDocument* document) const override { return new TxInstruction(document); }

    std::string_view NameView() const override { return "PI"; }
    std::string GetValue() const override { return RawValueWithLineBreaks(); }
    void SetValue(const std::string& value) override;
    TXmlNode* ReadFromParser(TxXmlParser& parser) override;

protected:
    void DoWrite(core::TStream& stream, int depth) override;
};

} // namespace xml
