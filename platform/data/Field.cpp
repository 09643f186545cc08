#include "platform/data/Field.h"

#include "platform/core/Letters.h"
#include "platform/core/Unicode.h"
#include "platform/core/FormatSettings.h"
#include "platform/data/DataError.h"
#include "platform/data/DataSet.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace data {

namespace {

bool IsBlank(const std::string& text) { return text.find_first_not_of(" \t") == std::string::npos; }

// A count of characters with the Czech word that goes with it ("1 znak", "2 znaky", "5 znaků").
std::string CharactersText(std::size_t count)
{
    const char* word = count == 1 ? "znak" : count >= 2 && count <= 4 ? "znaky" : "znaků";
    return std::to_string(count) + " " + word;
}

} // namespace

std::string TextTooLongMessage(const std::string& label, std::size_t length, std::size_t limit)
{
    return "Text v poli „" + label + "“ je dlouhý " + CharactersText(length) + ", pole pojme nejvýše " +
           CharactersText(limit) + ".";
}

TField::TField(core::TComponent* owner) : TField(owner, ftUnknown) {}

TField::TField(core::TComponent* owner, TFieldType type) : core::TComponent(owner), dataType_(type) {}

TField::~TField()
{
    if (dataSet_ != nullptr)
        dataSet_->FieldGone(this);
}

void TField::SetDataSet(TDataSet* dataSet)
{
    if (dataSet == dataSet_)
        return;
    if (dataSet_ != nullptr)
        dataSet_->CheckInactive();
    if (dataSet != nullptr)
        dataSet->CheckInactive();
    if (dataSet_ != nullptr)
        dataSet_->RemoveField(this);
    if (dataSet != nullptr)
        dataSet->AddField(this);
}

void TField::SetFieldName(const std::string& name)
{
    if (dataSet_ != nullptr)
        dataSet_->CheckInactive();
    fieldName_ = name;
}

int TField::DisplayWidth() const
{
    if (displayWidth_ > 0)
        return displayWidth_;
    switch (dataType_) {
    case ftString:
    case ftWideString: return std::max(size_, static_cast<int>(core::Utf8Length(DisplayLabel())));
    case ftBoolean: return 5;
    case ftDateTime: return 18;
    default: return 10;
    }
}

void TField::SetSize(int size)
{
    if (dataSet_ != nullptr)
        dataSet_->CheckInactive();
    size_ = size;
}

int TField::Index() const { return index_; }

bool TField::CanModify() const
{
    return !readOnly_ && dataSet_ != nullptr && dataSet_->CanModify() && dataSet_->CanWriteField(this);
}

Variant TField::Current() const
{
    if (dataSet_ == nullptr)
        DatabaseError("Field '" + fieldName_ + "' has no dataset");
    return dataSet_->FieldValue(this);
}

bool TField::IsNull() const { return Current().IsNull(); }

std::string NotAValueMessage(const std::string& text, const std::string& label, const std::string& what)
{
    return "Text „" + text + "“ v poli „" + label + "“ není " + what + ".";
}

std::string NotADateMessage(const std::string& text, const std::string& label)
{
    return NotAValueMessage(text, label, "platné datum");
}

void TField::NotAValue(const std::string& text, const char* what) const
{
    throw core::EConvertError(NotAValueMessage(text, DisplayLabel(), what));
}

void TField::OutOfRange(const std::string& value, std::int64_t min, std::int64_t max) const
{
    throw core::EConvertError("Hodnota " + value + " v poli „" + DisplayLabel() + "“ je mimo rozsah " +
                              std::to_string(min) + " až " + std::to_string(max) + ".");
}

void TField::AccessError(const char* typeName) const
{
    throw core::EConvertError("Cannot access field '" + fieldName_ + "' as type " + typeName);
}

std::string TField::AsString() const
{
    const Variant v = Current();
    return v.IsNull() ? std::string() : GetText(v, false);
}

std::string TField::Text() const { return AsString(); }

std::string TField::DisplayText() const
{
    const Variant v = Current();
    return v.IsNull() ? std::string() : GetText(v, true);
}

std::string TField::GetText(const Variant& value, bool) const { return value.AsString(); }

std::int64_t TField::AsLargeInt() const
{
    const Variant v = Current();
    if (v.IsNull())
        return 0;
    if (v.VarType() == varString) {
        std::int64_t i;
        if (!core::TryStrToInt64(v.AsString(), i))
            throw core::EConvertError("'" + v.AsString() + "' is not a valid integer value");
        return i;
    }
    if (v.VarType() == varBoolean)
        AccessError("Integer");
    return v.AsInt64();
}

int TField::AsInteger() const
{
    const std::int64_t v = AsLargeInt();
    if (v < std::numeric_limits<int>::min() || v > std::numeric_limits<int>::max())
        throw core::EConvertError(std::to_string(v) + " is not a valid integer value");
    return static_cast<int>(v);
}

double TField::AsReal(TRealParser parse, const char* what, const char* typeName) const
{
    const Variant v = Current();
    if (v.IsNull())
        return 0;
    if (v.VarType() == varString) {
        double d;
        if (!parse(v.AsString(), d))
            throw core::EConvertError("'" + v.AsString() + "' is not a valid " + what);
        return d;
    }
    if (v.VarType() == varBoolean)
        AccessError(typeName);
    return v.AsFloat();
}

double TField::AsFloat() const
{
    return AsReal([](std::string_view text, double& value) { return core::TryStrToFloat(text, value); },
                  "floating point value", "Float");
}

bool TField::AsBoolean() const
{
    const Variant v = Current();
    if (v.IsNull())
        return false;
    if (v.VarType() == varString) {
        try {
            return v.AsBoolean();
        } catch (const EVariantError&) {
            throw core::EConvertError("'" + v.AsString() + "' is not a valid boolean value");
        }
    }
    if (v.VarType() == varDate || v.VarType() == varDouble)
        AccessError("Boolean");
    return v.AsBoolean();
}

double TField::AsDateTime() const
{
    return AsReal([](std::string_view text, double& value) { return core::TryStrToDateTime(text, value); },
                  "date and time", "DateTime");
}

Variant TField::AsVariant() const { return Current(); }

void TField::SetAsVariant(const Variant& value)
{
    if (dataSet_ == nullptr)
        DatabaseError("Field '" + fieldName_ + "' has no dataset");
    if (readOnly_)
        DatabaseError("Field '" + fieldName_ + "' cannot be modified");
    dataSet_->SetFieldValue(this, value.IsNull() ? value : Convert(value));
}

void TField::SetAsString(const std::string& value) { SetAsVariant(Variant(value)); }
void TField::SetAsInteger(int value) { SetAsVariant(Variant(value)); }
void TField::SetAsLargeInt(std::int64_t value) { SetAsVariant(Variant(value)); }
void TField::SetAsFloat(double value) { SetAsVariant(Variant(value)); }
void TField::SetAsBoolean(bool value) { SetAsVariant(Variant(value)); }
void TField::SetAsDateTime(double value) { SetAsVariant(Variant::FromDateTime(value)); }

Variant TField::Convert(const Variant& value) const { return value; }

void TField::FocusControl()
{
    if (dataSet_ != nullptr && dataSet_->Active())
        dataSet_->DataEvent(deFocusControl, this);
}

// --- Texts ---

TStringField::TStringField(core::TComponent* owner, TFieldType type) : TField(owner, type) { SetSize(20); }

Variant TStringField::Convert(const Variant& value) const { return Variant(value.AsString()); }

TWideMemoField::TWideMemoField(core::TComponent* owner) : TStringField(owner, ftWideMemo) { SetSize(0); }

// --- Numbers ---

std::string TNumericField::GetText(const Variant& value, bool display) const
{
    if (display && !displayFormat_.empty())
        return core::FormatFloat(displayFormat_, value.AsFloat());
    return value.AsString();
}

std::int64_t TLargeintField::MinValue() const { return std::numeric_limits<std::int64_t>::min(); }
std::int64_t TLargeintField::MaxValue() const { return std::numeric_limits<std::int64_t>::max(); }
std::int64_t TIntegerField::MinValue() const { return std::numeric_limits<int>::min(); }
std::int64_t TIntegerField::MaxValue() const { return std::numeric_limits<int>::max(); }

Variant TLargeintField::Convert(const Variant& value) const
{
    std::int64_t result;
    switch (value.VarType()) {
    case varString: {
        const std::string text = value.AsString();
        if (IsBlank(text))
            return Variant();
        std::int64_t i;
        if (!core::TryStrToInt64(text, i))
            NotAValue(text, "celé číslo");
        result = i;
        break;
    }
    case varDouble:
    case varDate: {
        const double d = value.AsFloat();
        if (!std::isfinite(d) || d < static_cast<double>(MinValue()) || d > static_cast<double>(MaxValue()))
            OutOfRange(value.AsString(), MinValue(), MaxValue());
        result = value.AsInt64();
        break;
    }
    default: result = value.AsInt64(); break;
    }
    if (result < MinValue() || result > MaxValue())
        OutOfRange(std::to_string(result), MinValue(), MaxValue());
    return Variant(result);
}

TAutoIncField::TAutoIncField(core::TComponent* owner) : TIntegerField(owner, ftAutoInc) { SetReadOnly(true); }

Variant TFloatField::Convert(const Variant& value) const
{
    if (value.VarType() == varString) {
        const std::string text = value.AsString();
        if (IsBlank(text))
            return Variant();
        double d;
        if (!core::TryStrToFloat(text, d))
            NotAValue(text, "číslo");
        return Variant(d);
    }
    return Variant(value.AsFloat());
}

// --- Booleans ---

TBooleanField::TBooleanField(core::TComponent* owner) : TField(owner, ftBoolean) {}

void TBooleanField::SetDisplayValues(const std::string& values)
{
    const std::size_t semi = values.find(';');
    std::string t = values.substr(0, semi);
    std::string f = semi == std::string::npos ? std::string() : values.substr(semi + 1);
    displayValues_ = values;
    trueText_ = std::move(t);
    falseText_ = std::move(f);
}

std::string TBooleanField::GetText(const Variant& value, bool) const
{
    return value.AsBoolean() ? trueText_ : falseText_;
}

Variant TBooleanField::Convert(const Variant& value) const
{
    if (value.VarType() != varString)
        return Variant(value.AsBoolean());
    const std::string text = value.AsString();
    if (text.empty())
        return Variant();
    // A text matches a display value when it is the start of it, letter case aside.
    auto starts = [&](const std::string& whole) {
        return !whole.empty() && core::AnsiSameText(core::Utf8Copy(whole, 0, core::Utf8Length(text)), text);
    };
    if (starts(trueText_))
        return Variant(true);
    if (starts(falseText_))
        return Variant(false);
    NotAValue(text, "platná hodnota");
}

// --- Date-times ---

Variant TDateTimeField::Convert(const Variant& value) const
{
    if (value.VarType() == varString) {
        const std::string text = value.AsString();
        if (IsBlank(text))
            return Variant();
        double d;
        if (!core::TryStrToDateTime(text, d))
            throw core::EConvertError(NotADateMessage(text, DisplayLabel()));
        return Variant::FromDateTime(d);
    }
    if (value.VarType() == varBoolean)
        AccessError("DateTime");
    return Variant::FromDateTime(value.AsDateTime());
}

std::string TDateTimeField::GetText(const Variant& value, bool display) const
{
    if (display && !displayFormat_.empty())
        return core::FormatDateTime(displayFormat_, value.AsDateTime());
    return core::DateTimeToStr(value.AsDateTime());
}

// --- The list ---

TField* TFields::Fields(int index) const
{
    if (index < 0 || index >= Count())
        throw core::EListError("List index out of bounds (" + std::to_string(index) + ")");
    return list_[static_cast<std::size_t>(index)];
}

TField* TFields::FindField(const std::string& name) const
{
    for (TField* f : list_)
        if (core::AnsiSameText(f->FieldName(), name))
            return f;
    return nullptr;
}

int TFields::IndexOf(const TField* field) const
{
    auto it = std::find(list_.begin(), list_.end(), field);
    return it == list_.end() ? -1 : static_cast<int>(it - list_.begin());
}

TField* CreateField(TFieldType type, core::TComponent* owner)
{
    switch (type) {
    case ftString: return new TStringField(owner);
    case ftWideString: return new TWideStringField(owner);
    case ftWideMemo: return new TWideMemoField(owner);
    case ftInteger: return new TIntegerField(owner);
    case ftLargeint: return new TLargeintField(owner);
    case ftAutoInc: return new TAutoIncField(owner);
    case ftFloat: return new TFloatField(owner);
    case ftBoolean: return new TBooleanField(owner);
    case ftDateTime: return new TDateTimeField(owner);
    case ftUnknown: break;
    }
    return new TWideStringField(owner);
}

} // namespace data
