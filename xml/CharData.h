#pragma once
// The leaf nodes: character data, whitespace kept as read, quoted literals and
// attributes. Texts are stored escaped, as they stand in XML, with LF line
// ends; SetValue escapes and GetValue unescapes.

#include "xml/XmlNode.h"

namespace xml {

class TxSymbolTable;
class TxWriteStyle;

// Writes stored text with each LF as style's line break, without a copy when none changes.
void WriteWithLineBreaks(core::TStream& stream, std::string_view raw, TxLineBreakStyle style);

class TxCharData : public TXmlNode {
public:
    explicit TxCharData(TXmlDocument* document) : TxCharData(document, xeCharData) {}
    ~TxCharData() override;
    std::string ClassName() const override { return "TxCharData"; }
    TXmlNode* NewInstance(TXmlDocument* document) const override { return new TxCharData(document); }

    std::string_view NameView() const override;
    // A name is not an error here: a non-empty one is reported as a hint and ignored.
    void SetName(const std::string& name) override;
    // The stored text with the document's line breaks, unescaped.
    std::string GetValue() const override;
    // Line ends to LF, escaped, stored.
    void SetValue(const std::string& value) override;

    // The stored, escaped text.
    std::string RawValue() const { return std::string(RawView()); }
    std::string_view RawView() const { return SymbolView(valueId_); }
    // The stored text with each LF as the document's line break.
    std::string RawValueWithLineBreaks() const;
    // Stores the text as it is.
    void SetRawValue(std::string_view text) { valueId_ = SymbolId(text); }
    std::int32_t ValueId() const noexcept { return valueId_; }
    void SetValueId(std::int32_t id) noexcept { valueId_ = id; }
    // Whether the stored text begins or ends with bytes of code 32 or below.
    bool HasOuterBlanks() const;

protected:
    TxCharData(TXmlDocument* document, TxNodeKind kind) : TXmlNode(document, kind, kfCharData) {}
    void DoWrite(core::TStream& stream, int depth) override;
    void CopyOwn(const TXmlNode& source) override;
    // The stored text with line breaks applied, written without an extra copy when none change.
    void PutRawWithLineBreaks(core::TStream& stream) const;

private:
    std::int32_t valueId_ = 0;
};

// Whitespace kept as it was read, in the preserve layout.
class TxWhiteSpace : public TxCharData {
public:
    explicit TxWhiteSpace(TXmlDocument* document) : TxCharData(document, xeWhiteSpace) {}
    std::string ClassName() const override { return "TxWhiteSpace"; }
    TXmlNode* NewInstance(TXmlDocument* document) const override { return new TxWhiteSpace(document); }
};

// A quoted literal: an attribute's value, a document type's literal, an entity's value.
class TxQuotedText : public TxCharData {
public:
    explicit TxQuotedText(TXmlDocument* document) : TxCharData(document, xeQuotedText) {}
    std::string ClassName() const override { return "TxQuotedText"; }
    TXmlNode* NewInstance(TXmlDocument* document) const override { return new TxQuotedText(document); }

    TxQuoteStyle QuoteStyle() const noexcept { return static_cast<TxQuoteStyle>(style_); }
    void SetQuoteStyle(TxQuoteStyle style) noexcept { style_ = style; }
    char QuoteChar() const noexcept { return QuoteStyle() == qsSingle ? '\'' : '"'; }

    TXmlNode* ReadFromParser(TxXmlParser& parser) override;

protected:
    void DoWrite(core::TStream& stream, int depth) override;
    void CopyOwn(const TXmlNode& source) override;
};

// A name with a quoted value. The value node belongs to the attribute and is
// in no node list. It is made when it is first asked for: until then the
// attribute keeps the value's symbol and quote style itself, which halves the
// room that the many attributes of a loaded document take.
class TxAttribute : public TXmlNode {
public:
    explicit TxAttribute(TXmlDocument* document) : TXmlNode(document, xeAttribute, 0) {}
    ~TxAttribute() override;
    std::string ClassName() const override { return "TxAttribute"; }
    TXmlNode* NewInstance(TXmlDocument* document) const override { return new TxAttribute(document); }

    std::string_view NameView() const override { return SymbolView(nameId_); }
    void SetName(const std::string& name) override { nameId_ = SymbolId(name); }
    // The stored value unescaped; line breaks as stored.
    std::string GetValue() const override;
    // Escaped and stored; line breaks are not changed.
    void SetValue(const std::string& value) override;

    TxQuotedText* ValueNode() const;
    std::int32_t NameId() const noexcept { return nameId_; }
    void SetNameId(std::int32_t id) noexcept { nameId_ = id; }
    // The value node's stored text, symbol and quote style, without making it.
    std::string_view RawValueView() const;
    std::int32_t ValueId() const noexcept { return ValueNodeMade() ? value_.node->ValueId() : value_.id; }
    void SetValueId(std::int32_t id) noexcept
    {
        if (ValueNodeMade())
            value_.node->SetValueId(id);
        else
            value_.id = id;
    }
    TxQuoteStyle QuoteStyle() const noexcept
    {
        return ValueNodeMade() ? value_.node->QuoteStyle() : static_cast<TxQuoteStyle>(style_);
    }
    void SetQuoteStyle(TxQuoteStyle style) noexcept
    {
        if (ValueNodeMade())
            value_.node->SetQuoteStyle(style);
        else
            style_ = style;
    }

    TXmlNode* ReadFromParser(TxXmlParser& parser) override;
    // An attribute is read in two steps, so that one written plainly needs no
    // node: ReadPlain reads the name and a quoted value as far as they are
    // whole and says where it stopped; FinishReading gives a node what was
    // read and reads and reports the rest, with the node as the sender.
    struct Reading {
        enum Stop : std::uint8_t { Whole, CutInName, Unquoted, CutInValue };
        Stop stop = Whole;
        TxQuoteStyle quote = qsDouble;
        std::int32_t nameId = 0;
        std::int32_t valueId = 0;   // when Whole
        std::string_view cutValue; // when CutInValue: what the stream held of it
    };
    static Reading ReadPlain(TxXmlParser& parser, TxSymbolTable& table);
    void FinishReading(TxXmlParser& parser, TxSymbolTable& table, const Reading& read);
    // Writes the attribute as DoWrite does, into out.
    void WriteTo(TxPieceBuffer& out, const TxWriteStyle& style, int depth);
    // Writes name="value" (or with single quotes) of an attribute without a value node.
    static void WritePlain(TxPieceBuffer& out, const TxWriteStyle& style, std::int32_t nameId, std::int32_t valueId,
                           TxQuoteStyle quote);

protected:
    void DoWrite(core::TStream& stream, int depth) override;
    void CopyOwn(const TXmlNode& source) override;

private:
    // Set in style_ once the value node is made; the low bits hold the quote style until then.
    static constexpr std::uint8_t kValueNodeMade = 0x80;
    bool ValueNodeMade() const noexcept { return (style_ & kValueNodeMade) != 0; }

    std::int32_t nameId_ = 0;
    union {
        std::int32_t id;    // before the node is made
        TxQuotedText* node; // after
    } value_{};
};

} // namespace xml
