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

void TxCharData::PutRawWithLineBreaks(core::TStream& stream) const
{
    const std::string_view raw = RawView();
    if (LineBreakStyle() == lbLF || raw.find('\n') == std::string_view::npos)
        WriteStringBytes(stream, raw);
    else
        WriteStringBytes(stream, ApplyLineBreakStyle(raw, LineBreakStyle()));
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

TxAttribute::TxAttribute(TXmlDocument* document)
    : TXmlNode(document, xeAttribute, 0), value_(document)
{
}

TxAttribute::~TxAttribute() = default;

std::string TxAttribute::GetValue() const { return UnescapeText(value_.RawView()); }

void TxAttribute::SetValue(const std::string& value) { value_.SetRawValue(EscapeText(value)); }


void TxAttribute::DoWrite(core::TStream& stream, int depth)
{
    WriteStringBytes(stream, NameView());
    WriteStringBytes(stream, "=");
    value_.WriteAt(stream, depth);
}

void TxAttribute::CopyOwn(const TXmlNode& source)
{
    if (source.NodeKind() == xeAttribute) {
        const auto& attribute = static_cast<const TxAttribute&>(source);
        value_.SetRawValue(attribute.value_.RawView());
        value_.SetQuoteStyle(attribute.value_.QuoteStyle());
    } else {
        SetValue(source.GetValue());
    }
    SetName(source.GetName());
}

} // namespace xml
