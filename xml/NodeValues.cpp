// The typed readers and writers of TXmlNode: values, attributes and child
// values as Booleans, integers, floats, date-times, wide and ANSI texts, and
// binary data as base64 or hexadecimal.

#include "xml/XmlNode.h"

#include "xml/BinaryTexts.h"
#include "xml/CharData.h"
#include "xml/Conversions.h"
#include "xml/DateTimeTexts.h"
#include "xml/TextRoutines.h"
#include "xml/ValueTexts.h"
#include "xml/XmlDocument.h"

#include "platform/core/BoolText.h"
#include "platform/core/Exceptions.h"
#include "platform/core/FilerError.h"
#include "platform/core/FormatSettings.h"

#include <cstdio>

namespace xml {

namespace {

constexpr int kAnsiCodePage = 0;

[[noreturn]] void NotValid(const std::string& text, const char* what)
{
    throw core::EConvertError("'" + text + "' is not a valid " + what);
}

// Floats equal to the default are not written; a NaN never differs.
bool Differs(double value, double fallback) { return value < fallback || value > fallback; }

bool ReadBool(const std::string& text, bool fallback)
{
    bool value = false;
    return core::TryStrToBool(text, value) ? value : fallback;
}

double ReadFloat(const std::string& text, double fallback)
{
    double value = 0;
    return TryXmlTextToFloat(text, value) ? value : fallback;
}

int ReadInt(const std::string& text, int fallback)
{
    std::int32_t value = 0;
    return TryXmlTextToInt(text, value) ? value : fallback;
}

std::int64_t ReadInt64(const std::string& text, std::int64_t fallback)
{
    std::int64_t value = 0;
    return core::TryStrToInt64(text, value) ? value : fallback;
}

} // namespace

// --- value readers ------------------------------------------------------------------

bool TXmlNode::ValueAsBoolOr(bool fallback) const { return ReadBool(GetValue(), fallback); }

double TXmlNode::ValueAsFloatOr(double fallback) const { return ReadFloat(CommaToPoint(GetValue()), fallback); }

core::TDateTime TXmlNode::ValueAsDateTimeOr(core::TDateTime fallback) const
{
    return XmlTextToDateTimeDef(GetValue(), false, fallback);
}

int TXmlNode::ValueAsIntOr(int fallback) const { return ReadInt(GetValue(), fallback); }

std::int64_t TXmlNode::ValueAsInt64Or(std::int64_t fallback) const { return ReadInt64(GetValue(), fallback); }

bool TXmlNode::ValueAsBool() const { return core::StrToBool(GetValue()); }

double TXmlNode::ValueAsFloat() const
{
    const std::string text = GetValue();
    double value = 0;
    if (!TryXmlTextToFloat(text, value))
        NotValid(text, "floating point value");
    return value;
}

core::TDateTime TXmlNode::ValueAsDateTime() const { return XmlTextToDateTime(GetValue(), false); }

int TXmlNode::ValueAsInt() const
{
    const std::string text = GetValue();
    std::int32_t value = 0;
    if (!TryXmlTextToInt(text, value))
        NotValid(text, "integer value");
    return value;
}

std::int64_t TXmlNode::ValueAsInt64() const { return core::StrToInt64(GetValue()); }

// --- value setters ---------------------------------------------------------------------

void TXmlNode::SetValueBool(bool value) { SetValue(BoolToXmlText(value)); }

void TXmlNode::SetValueFloat(double value)
{
    const TXmlDocument* document = Document();
    SetValue(FloatToXmlText(document->FloatDigits(), document->FloatExponentAllowed(), value));
}

void TXmlNode::SetValueDate(core::TDateTime value) { SetValue(DateTimeToXmlText(true, false, 0, false, value)); }

void TXmlNode::SetValueTime(core::TDateTime value)
{
    const TXmlDocument* document = Document();
    SetValue(DateTimeToXmlText(false, true, document->SecondFractionDigits(), document->UseLocalTimeZone(), value));
}

void TXmlNode::SetValueDateTime(core::TDateTime value)
{
    const TXmlDocument* document = Document();
    SetValue(DateTimeToXmlText(true, true, document->SecondFractionDigits(), document->UseLocalTimeZone(), value));
}

void TXmlNode::SetValueInt(int value) { SetValue(IntToXmlText(value)); }

void TXmlNode::SetValueInt64(std::int64_t value) { SetValue(Int64ToXmlText(value)); }

// --- attribute readers --------------------------------------------------------------------

bool TXmlNode::AttrBoolOr(std::string_view name, bool fallback) const
{
    return ReadBool(AttributeValueNamed(name), fallback);
}

int TXmlNode::AttrIntOr(std::string_view name, int fallback) const
{
    return ReadInt(AttributeValueNamed(name), fallback);
}

std::int64_t TXmlNode::AttrInt64Or(std::string_view name, std::int64_t fallback) const
{
    return ReadInt64(AttributeValueNamed(name), fallback);
}

double TXmlNode::AttrFloatOr(std::string_view name, double fallback) const
{
    return ReadFloat(AttributeValueNamed(name), fallback);
}

std::string TXmlNode::AttrStringOr(std::string_view name, const std::string& fallback) const
{
    std::string value = AttributeValueNamed(name);
    return value.empty() ? fallback : value;
}

std::u16string TXmlNode::AttrWideStringOr(std::string_view name, const std::u16string& fallback) const
{
    const std::string value = AttributeValueNamed(name);
    return value.empty() ? fallback : Utf8ToWide(value);
}

std::string TXmlNode::AttrAnsiStringOr(std::string_view name, const std::string& fallback) const
{
    const std::string value = AttributeValueNamed(name);
    return value.empty() ? fallback : Utf8ToAnsi(value, kAnsiCodePage);
}

core::TDateTime TXmlNode::AttrDateTimeOr(std::string_view name, core::TDateTime fallback) const
{
    return XmlTextToDateTimeDef(AttributeValueNamed(name), Document()->UseLocalTimeZone(), fallback);
}

// --- child readers ---------------------------------------------------------------------------

bool TXmlNode::ChildBoolOr(std::string_view name, bool fallback) const
{
    const TXmlNode* child = ChildByName(name);
    return child != nullptr ? child->ValueAsBoolOr(fallback) : fallback;
}

core::TDateTime TXmlNode::ChildDateTimeOr(std::string_view name, core::TDateTime fallback) const
{
    const TXmlNode* child = ChildByName(name);
    return child != nullptr ? child->ValueAsDateTimeOr(fallback) : fallback;
}

double TXmlNode::ChildFloatOr(std::string_view name, double fallback) const
{
    const TXmlNode* child = ChildByName(name);
    return child != nullptr ? child->ValueAsFloatOr(fallback) : fallback;
}

int TXmlNode::ChildIntOr(std::string_view name, int fallback) const
{
    const TXmlNode* child = ChildByName(name);
    return child != nullptr ? child->ValueAsIntOr(fallback) : fallback;
}

std::int64_t TXmlNode::ChildInt64Or(std::string_view name, std::int64_t fallback) const
{
    const TXmlNode* child = ChildByName(name);
    return child != nullptr ? child->ValueAsInt64Or(fallback) : fallback;
}

std::string TXmlNode::ChildStringOr(std::string_view name, const std::string& fallback) const
{
    const TXmlNode* child = ChildByName(name);
    return child != nullptr ? child->GetValue() : fallback;
}

std::u16string TXmlNode::ChildWideStringOr(std::string_view name, const std::u16string& fallback) const
{
    return Utf8ToWide(ChildStringOr(name, WideToUtf8(fallback)));
}

std::string TXmlNode::ChildAnsiStringOr(std::string_view name, const std::string& fallback) const
{
    return Utf8ToAnsi(ChildStringOr(name, AnsiToUtf8(fallback, kAnsiCodePage)), kAnsiCodePage);
}

// --- attribute and child writers -----------------------------------------------------------------

void TXmlNode::PutDefaultable(bool differs, const std::string& name, const std::string& text, bool asAttribute)
{
    if (!differs && !StoreDefaults())
        return; // whatever stands there already stays
    if (!asAttribute) {
        PutChildValue(name, text);
    } else if (TxAttribute* attribute = AttributeNamed(name)) {
        attribute->SetValue(text);
    } else {
        AttributeAddNamed(name, text);
    }
}

void TXmlNode::PutAttrInt(const std::string& name, int value, int fallback)
{
    PutDefaultable(value != fallback, name, IntToXmlText(value), true);
}

void TXmlNode::PutAttrInt64(const std::string& name, std::int64_t value, std::int64_t fallback)
{
    PutDefaultable(value != fallback, name, Int64ToXmlText(value), true);
}

void TXmlNode::PutAttrFloat(const std::string& name, double value, double fallback)
{
    const TXmlDocument* document = Document();
    PutDefaultable(Differs(value, fallback), name,
                   FloatToXmlText(document->FloatDigits(), document->FloatExponentAllowed(), value), true);
}

void TXmlNode::PutAttrString(const std::string& name, const std::string& value, const std::string& fallback)
{
    PutDefaultable(value != fallback, name, value, true);
}

void TXmlNode::PutAttrWideString(const std::string& name, const std::u16string& value, const std::u16string& fallback)
{
    PutAttrString(name, WideToUtf8(value), WideToUtf8(fallback));
}

void TXmlNode::PutAttrAnsiString(const std::string& name, const std::string& value, const std::string& fallback)
{
    PutAttrString(name, AnsiToUtf8(value, kAnsiCodePage), AnsiToUtf8(fallback, kAnsiCodePage));
}

void TXmlNode::PutAttrDateTime(const std::string& name, core::TDateTime value, core::TDateTime fallback)
{
    const TXmlDocument* document = Document();
    PutDefaultable(Differs(value, fallback), name,
                   DateTimeToXmlText(true, true, document->SecondFractionDigits(), document->UseLocalTimeZone(),
                                     value),
                   true);
}

void TXmlNode::PutAttrBool(const std::string& name, bool value, bool fallback)
{
    PutDefaultable(value != fallback, name, BoolToXmlText(value), true);
}

void TXmlNode::PutChildBool(const std::string& name, bool value, bool fallback)
{
    PutDefaultable(value != fallback, name, BoolToXmlText(value), false);
}

void TXmlNode::PutChildDateTime(const std::string& name, core::TDateTime value, core::TDateTime fallback)
{
    const TXmlDocument* document = Document();
    PutDefaultable(Differs(value, fallback), name,
                   DateTimeToXmlText(true, true, document->SecondFractionDigits(), document->UseLocalTimeZone(),
                                     value),
                   false);
}

void TXmlNode::PutChildFloat(const std::string& name, double value, double fallback)
{
    const TXmlDocument* document = Document();
    PutDefaultable(Differs(value, fallback), name,
                   FloatToXmlText(document->FloatDigits(), document->FloatExponentAllowed(), value), false);
}

void TXmlNode::PutChildHex(const std::string& name, int value, int digits, int fallback)
{
    char text[32];
    std::snprintf(text, sizeof(text), "$%0*X", digits < 0 ? 0 : (digits > 16 ? 16 : digits),
                  static_cast<unsigned>(value));
    PutDefaultable(value != fallback, name, text, false);
}

void TXmlNode::PutChildInt(const std::string& name, int value, int fallback)
{
    PutDefaultable(value != fallback, name, IntToXmlText(value), false);
}

void TXmlNode::PutChildInt64(const std::string& name, std::int64_t value, std::int64_t fallback)
{
    PutDefaultable(value != fallback, name, Int64ToXmlText(value), false);
}

void TXmlNode::PutChildString(const std::string& name, const std::string& value, const std::string& fallback)
{
    PutDefaultable(value != fallback, name, value, false);
}

void TXmlNode::PutChildWideString(const std::string& name, const std::u16string& value,
                                  const std::u16string& fallback)
{
    PutChildString(name, WideToUtf8(value), WideToUtf8(fallback));
}

void TXmlNode::PutChildAnsiString(const std::string& name, const std::string& value, const std::string& fallback)
{
    PutChildString(name, AnsiToUtf8(value, kAnsiCodePage), AnsiToUtf8(fallback, kAnsiCodePage));
}

// --- binary data ---------------------------------------------------------------------------------------

int TXmlNode::Base64Length() const
{
    const std::string text = RemoveBlanks(GetValue());
    if (text.size() % 4 != 0)
        throw core::EFilerError("error while calculating streamlength");
    int length = static_cast<int>(text.size() / 4 * 3);
    if (text.ends_with("=="))
        length -= 2;
    else if (text.ends_with("="))
        length -= 1;
    return length;
}

void TXmlNode::ReadBuffer(void* buffer, int count, TxBinaryFormat format) const
{
    const std::string text = RemoveBlanks(GetValue());
    if (format == bfBase64)
        DecodeBase64(text, buffer, count);
    else if (format == bfHex)
        DecodeHex(text, buffer, count);
}

void TXmlNode::WriteBufferBase64(const void* buffer, int count)
{
    const std::string separator = std::string(LineFeedText()) + std::string(IndentText());
    SetValue(BreakLines(EncodeBase64(buffer, count), separator, 76));
}

} // namespace xml
