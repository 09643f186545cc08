#include "xml/CharData.h"

#include "xml/TextRoutines.h"
#include "xml/VarInt.h"
#include "xml/XmlDocument.h"

namespace xml {

// --- character data -------------------------------------------------------------

TxCharData::~TxCharData() = default;

std::string_view TxCharData::NameView() const { return NodeKindNames[NodeKind()]; }

void TxCharData::SetName(const std::string& name)
{
    if (!name.empty())
        EmitDebug(this, dlHint, "cannot set name on this type of element");
}

std::string TxCharData::GetValue() const { return UnescapeText(RawValueWithLineBreaks()); }

void TxCharData::SetValue(const std::string& value) { SetRawValue(EscapeText(NormalizeLineBreaks(value))); }

std::string TxCharData::RawValueWithLineBreaks() const { return ApplyLineBreakStyle(RawView(), LineBreakStyle()); }

bool TxCharData::HasOuterBlanks() const
{
    const std::string_view raw = RawView();
    return !raw.empty() && (static_cast<unsigned char>(raw.front()) <= 32 ||
                            static_cast<unsigned char>(raw.back()) <= 32);
}

void WriteWithLineBreaks(core::TStream& stream, std::string_view raw, TxLineBreakStyle style)
{
    if (style == lbLF || raw.find('\n') == std::string_view::npos)
        WriteStringBytes(stream, raw);
    else
        WriteStringBytes(stream, ApplyLineBreakStyle(raw, style));
}

void TxCharData::PutRawWithLineBreaks(core::TStream& stream) const
{
    WriteWithLineBreaks(stream, RawView(), LineBreakStyle());
}

void TxCharData::DoWrite(core::TStream& stream, int) { PutRawWithLineBreaks(stream); }

void TxCharData::CopyOwn(const TXmlNode& source)
{
    if (source.IsCharData())
        SetRawValue(static_cast<const TxCharData&>(source).RawView());
    else
        SetValue(source.GetValue());
}

// --- quoted text ------------------------------------------------------------------


void TxQuotedText::DoWrite(core::TStream& stream, int)
{
    const char quote = QuoteChar();
    WriteStringBytes(stream, std::string_view(&quote, 1));
    PutRawWithLineBreaks(stream);
    WriteStringBytes(stream, std::string_view(&quote, 1));
    ReportProgress(stream);
}

void TxQuotedText::CopyOwn(const TXmlNode& source)
{
    TxCharData::CopyOwn(source);
    if (source.NodeKind() == xeQuotedText)
        SetQuoteStyle(static_cast<const TxQuotedText&>(source).QuoteStyle());
}

// --- attribute ----------------------------------------------------------------------

TxAttribute::~TxAttribute()
{
    if (ValueNodeMade())
        delete value_.node;
}

TxQuotedText* TxAttribute::ValueNode() const
{
    if (!ValueNodeMade()) {
        auto* self = const_cast<TxAttribute*>(this); // made once, on demand; the value stays the same
        auto* node = new TxQuotedText(Document());
        node->SetValueId(value_.id);
        node->SetQuoteStyle(static_cast<TxQuoteStyle>(style_));
        self->value_.node = node;
        self->style_ = kValueNodeMade;
    }
    return value_.node;
}

std::string_view TxAttribute::RawValueView() const { return SymbolView(ValueId()); }

std::string TxAttribute::GetValue() const { return UnescapeText(RawValueView()); }

void TxAttribute::SetValue(const std::string& value) { SetValueId(SymbolId(EscapeText(value))); }

void TxAttribute::DoWrite(core::TStream& stream, int depth)
{
    WriteStringBytes(stream, NameView());
    WriteStringBytes(stream, "=");
    if (ValueNodeMade()) {
        value_.node->WriteAt(stream, depth);
        return;
    }
    // As the value node writes itself.
    const char quote = QuoteStyle() == qsSingle ? '\'' : '"';
    WriteStringBytes(stream, std::string_view(&quote, 1));
    WriteWithLineBreaks(stream, RawValueView(), LineBreakStyle());
    WriteStringBytes(stream, std::string_view(&quote, 1));
    ReportProgress(stream);
}

void TxAttribute::CopyOwn(const TXmlNode& source)
{
    if (source.NodeKind() == xeAttribute) {
        const auto& attribute = static_cast<const TxAttribute&>(source);
        SetValueId(SymbolId(attribute.RawValueView()));
        SetQuoteStyle(attribute.QuoteStyle());
    } else {
        SetValue(source.GetValue());
    }
    SetName(source.GetName());
}

} // namespace xml
