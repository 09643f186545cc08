#pragma once
// The document type with its external identifier and internal subset, and the
// four markup declarations of the subset (elements, attribute lists, entities,
// notations), which are elements whose content is their declaration's body.

#include "xml/CharData.h"
#include "xml/Elements.h"

namespace xml {

class TxDocType : public TxContainerNode {
public:
    explicit TxDocType(TXmlDocument* document);
    ~TxDocType() override;
    std::string ClassName() const override { return "TxDocType"; }
    TXmlNode* NewInstance(TXmlDocument* document) const override { return new TxDocType(document); }

    std::string_view NameView() const override { return SymbolView(nameId_); }
    void SetName(const std::string& name) override { nameId_ = SymbolId(name); }
    std::int32_t NameId() const noexcept { return nameId_; }
    void SetNameId(std::int32_t id) noexcept { nameId_ = id; }

    // "SYSTEM", "PUBLIC" or empty; and the two literals. Owned, in no node list.
    TxCharData* ExternalId() const noexcept { return externalId_; }
    TxQuotedText* SystemLiteral() const noexcept { return systemLiteral_; }
    TxQuotedText* PublicLiteral() const noexcept { return publicLiteral_; }

    TXmlNode* ReadFromParser(TxXmlParser& parser) override;
    void ParseTextBetweenTags(TxXmlParser& parser) override;

protected:
    void DoWrite(core::TStream& stream, int depth) override;
    // The name, the external identifier and both literals.
    void CopyOwn(const TXmlNode& source) override;

private:
    std::int32_t nameId_ = 0;
    TxCharData* externalId_;
    TxQuotedText* systemLiteral_;
    TxQuotedText* publicLiteral_;
};

// "<!ELEMENT name body>"; the value is the body as written.
class TxDtdElement : public TxElement {
public:
    explicit TxDtdElement(TXmlDocument* document) : TxElement(document, xeDtdElement) {}
    std::string ClassName() const override { return "TxDtdElement"; }
    TXmlNode* NewInstance(TXmlDocument* document) const override { return new TxDtdElement(document); }

    // What WriteContent writes.
    std::string GetValue() const override { return ContentAsString(); }
    // The content nodes one after the other, quoted literals without separators.
    void WriteContent(core::TStream& stream) const override;

    TXmlNode* ReadFromParser(TxXmlParser& parser) override;
    virtual void ParseContent(TxXmlParser& parser);

protected:
    TxDtdElement(TXmlDocument* document, TxNodeKind kind) : TxElement(document, kind) {}
    void DoWrite(core::TStream& stream, int depth) override;
};

class TxDtdAttList : public TxDtdElement {
public:
    explicit TxDtdAttList(TXmlDocument* document) : TxDtdElement(document, xeDtdAttList) {}
    std::string ClassName() const override { return "TxDtdAttList"; }
    TXmlNode* NewInstance(TXmlDocument* document) const override { return new TxDtdAttList(document); }
};

// The body is a list of quoted literals.
class TxDtdEntity : public TxDtdElement {
public:
    explicit TxDtdEntity(TXmlDocument* document) : TxDtdElement(document, xeDtdEntity) {}
    std::string ClassName() const override { return "TxDtdEntity"; }
    TXmlNode* NewInstance(TXmlDocument* document) const override { return new TxDtdEntity(document); }
    void ParseContent(TxXmlParser& parser) override;
};

class TxDtdNotation : public TxDtdElement {
public:
    explicit TxDtdNotation(TXmlDocument* document) : TxDtdElement(document, xeDtdNotation) {}
    std::string ClassName() const override { return "TxDtdNotation"; }
    TXmlNode* NewInstance(TXmlDocument* document) const override { return new TxDtdNotation(document); }
};

} // namespace xml
