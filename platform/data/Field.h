#pragma once
// Fields of a data set: one column of the current record, read and written
// as text, number, date-time, Boolean or variant.
//
// A field is a component. Persistent fields are created by their owner (a
// form or data module), given a FieldName and attached with SetDataSet before
// the data set opens; the data set then binds them to the result's columns by
// name and fails to open when one is missing. Without persistent fields the
// data set creates one field per column at open (owned by the data set) and
// frees them at close.
//
// Values live in the data set's records; a field only knows how to convert.
// Writing a value needs the data set in edit or insert state; a read-only
// field, or one whose column the query computes, refuses writes.

#include "platform/core/Component.h"
#include "platform/data/Variant.h"

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace data {

class TDataSet;
class TField;

enum TFieldType {
    ftUnknown,
    ftString,
    ftWideString,
    ftInteger,
    ftLargeint,
    ftAutoInc,
    ftFloat,
    ftBoolean,
    ftDateTime,
    ftWideMemo,
};

using TFieldNotifyEvent = std::function<void(TField* sender)>;

// The refusal of a text longer than its field, naming the field by its label:
// "Text v poli „Označení vstupu“ je dlouhý 264 znaků, pole pojme nejvýše 255 znaků."
// Lengths count characters, not bytes.
std::string TextTooLongMessage(const std::string& label, std::size_t length, std::size_t limit);

// The refusal of a text that is not a value of the field the user knows as
// label, what saying what it would have to be:
// "Text „29.2.2023“ v poli „Datum konverze“ není platné datum."
std::string NotAValueMessage(const std::string& text, const std::string& label, const std::string& what);
// The same for a text that names no date.
std::string NotADateMessage(const std::string& text, const std::string& label);

class TField : public core::TComponent {
public:
    explicit TField(core::TComponent* owner);
    ~TField() override;
    std::string ClassName() const override { return "TField"; }

    TDataSet* DataSet() const noexcept { return dataSet_; }
    // Attaches the field to a closed data set's field list (nullptr detaches).
    void SetDataSet(TDataSet* dataSet);
    const std::string& FieldName() const noexcept { return fieldName_; }
    void SetFieldName(const std::string& name);
    // The caption a grid shows; the field name unless set.
    std::string DisplayLabel() const { return displayLabel_.empty() ? fieldName_ : displayLabel_; }
    void SetDisplayLabel(const std::string& label) { displayLabel_ = label; }
    // Width in characters a grid gives the field by default.
    int DisplayWidth() const;
    void SetDisplayWidth(int width) { displayWidth_ = width; }
    TFieldType DataType() const noexcept { return dataType_; }
    // Text fields: the number of characters; 0 for other fields.
    int Size() const noexcept { return size_; }
    void SetSize(int size);
    // Position in the data set's field list, -1 when detached.
    int Index() const;
    bool ReadOnly() const noexcept { return readOnly_; }
    void SetReadOnly(bool readOnly) { readOnly_ = readOnly; }
    bool Required() const noexcept { return required_; }
    void SetRequired(bool required) { required_ = required; }
    bool Visible() const noexcept { return visible_; }
    void SetVisible(bool visible) { visible_ = visible; }
    // True when a value may be written now or after Edit: not read-only, the
    // data set can be modified and the field stands for a column of the
    // table the data set writes to (not a value the query computes).
    bool CanModify() const;

    bool IsNull() const;
    std::string AsString() const;
    void SetAsString(const std::string& value);
    int AsInteger() const;
    void SetAsInteger(int value);
    std::int64_t AsLargeInt() const;
    void SetAsLargeInt(std::int64_t value);
    double AsFloat() const;
    void SetAsFloat(double value);
    bool AsBoolean() const;
    void SetAsBoolean(bool value);
    double AsDateTime() const;
    void SetAsDateTime(double value);
    Variant AsVariant() const;
    void SetAsVariant(const Variant& value);
    Variant Value() const { return AsVariant(); }
    void SetValue(const Variant& value) { SetAsVariant(value); }
    // The text an edit control shows and takes.
    std::string Text() const;
    void SetText(const std::string& text) { SetAsString(text); }
    // The text a grid or label shows (with the display format, if any).
    std::string DisplayText() const;
    void Clear() { SetAsVariant(Variant()); }
    // Asks the control bound to this field to take the focus.
    void FocusControl();

    // The kind of value the field holds; its records store exactly this kind.
    virtual TVarType ValueType() const = 0;

    TFieldNotifyEvent OnChange;

protected:
    TField(core::TComponent* owner, TFieldType type);
    // Turns an incoming value into the field's kind (Null stays Null), raising
    // EConvertError for a value that does not fit (NotAValue, OutOfRange).
    virtual Variant Convert(const Variant& value) const;
    // The user's text is not a value of this field: what ("platné datum") it is not.
    [[noreturn]] void NotAValue(const std::string& text, const char* what) const;
    [[noreturn]] void OutOfRange(const std::string& value, std::int64_t min, std::int64_t max) const;
    // The text of a non-null value, for display or for editing.
    virtual std::string GetText(const Variant& value, bool display) const;
    [[noreturn]] void AccessError(const char* typeName) const;

private:
    friend class TDataSet;
    Variant Current() const;
    // The value as a double or a date-time: Null reads 0, a text must be one
    // that parse reads ("'...' is not a valid " + what), a Boolean raises the
    // access error of typeName.
    double AsReal(TRealParser parse, const char* what, const char* typeName) const;

    TDataSet* dataSet_ = nullptr;
    int index_ = -1;
    std::string fieldName_;
    std::string displayLabel_;
    int displayWidth_ = 0;
    TFieldType dataType_;
    int size_ = 0;
    bool readOnly_ = false;
    bool required_ = false;
    bool visible_ = true;
};

class TStringField : public TField {
public:
    explicit TStringField(core::TComponent* owner) : TStringField(owner, ftString) {}
    std::string ClassName() const override { return "TStringField"; }
    TVarType ValueType() const override { return varString; }

protected:
    TStringField(core::TComponent* owner, TFieldType type);
    Variant Convert(const Variant& value) const override;
};

// Text is UTF-8 everywhere here, so the wide field differs only in its type.
class TWideStringField : public TStringField {
public:
    explicit TWideStringField(core::TComponent* owner) : TStringField(owner, ftWideString) {}
    std::string ClassName() const override { return "TWideStringField"; }
};

// Text without a size limit (long text columns).
class TWideMemoField : public TStringField {
public:
    explicit TWideMemoField(core::TComponent* owner);
    std::string ClassName() const override { return "TWideMemoField"; }
};

// Numeric fields show their value with DisplayFormat when one is set.
class TNumericField : public TField {
public:
    const std::string& DisplayFormat() const noexcept { return displayFormat_; }
    void SetDisplayFormat(const std::string& format) { displayFormat_ = format; }

protected:
    using TField::TField;
    std::string GetText(const Variant& value, bool display) const override;

private:
    std::string displayFormat_;
};

class TLargeintField : public TNumericField {
public:
    explicit TLargeintField(core::TComponent* owner) : TNumericField(owner, ftLargeint) {}
    std::string ClassName() const override { return "TLargeintField"; }
    TVarType ValueType() const override { return varInteger; }

protected:
    TLargeintField(core::TComponent* owner, TFieldType type) : TNumericField(owner, type) {}
    Variant Convert(const Variant& value) const override;
    virtual std::int64_t MinValue() const;
    virtual std::int64_t MaxValue() const;
};

// A 32-bit integer.
class TIntegerField : public TLargeintField {
public:
    explicit TIntegerField(core::TComponent* owner) : TLargeintField(owner, ftInteger) {}
    std::string ClassName() const override { return "TIntegerField"; }

protected:
    TIntegerField(core::TComponent* owner, TFieldType type) : TLargeintField(owner, type) {}
    std::int64_t MinValue() const override;
    std::int64_t MaxValue() const override;
};

// The key the database numbers itself; read-only from the start.
class TAutoIncField : public TIntegerField {
public:
    explicit TAutoIncField(core::TComponent* owner);
    std::string ClassName() const override { return "TAutoIncField"; }
};

class TFloatField : public TNumericField {
public:
    explicit TFloatField(core::TComponent* owner) : TNumericField(owner, ftFloat) {}
    std::string ClassName() const override { return "TFloatField"; }
    TVarType ValueType() const override { return varDouble; }

protected:
    Variant Convert(const Variant& value) const override;
};

class TBooleanField : public TField {
public:
    explicit TBooleanField(core::TComponent* owner);
    std::string ClassName() const override { return "TBooleanField"; }
    TVarType ValueType() const override { return varBoolean; }
    // "text for true;text for false", "True;False" by default.
    const std::string& DisplayValues() const noexcept { return displayValues_; }
    void SetDisplayValues(const std::string& values);

protected:
    Variant Convert(const Variant& value) const override;
    std::string GetText(const Variant& value, bool display) const override;

private:
    std::string displayValues_ = "True;False";
    std::string trueText_ = "True";
    std::string falseText_ = "False";
};

class TDateTimeField : public TField {
public:
    explicit TDateTimeField(core::TComponent* owner) : TField(owner, ftDateTime) {}
    std::string ClassName() const override { return "TDateTimeField"; }
    TVarType ValueType() const override { return varDate; }
    // A date-time format ("dd.mm.yyyy") for DisplayText; empty shows date and time.
    const std::string& DisplayFormat() const noexcept { return displayFormat_; }
    void SetDisplayFormat(const std::string& format) { displayFormat_ = format; }

protected:
    Variant Convert(const Variant& value) const override;
    std::string GetText(const Variant& value, bool display) const override;

private:
    std::string displayFormat_;
};

// The fields of a data set, in column order.
class TFields {
public:
    int Count() const noexcept { return static_cast<int>(list_.size()); }
    TField* Fields(int index) const;
    TField* operator[](int index) const { return Fields(index); }
    // Finds a field by name without regard to letter case; nullptr when none.
    TField* FindField(const std::string& name) const;
    int IndexOf(const TField* field) const;

    auto begin() const { return list_.begin(); }
    auto end() const { return list_.end(); }

private:
    friend class TDataSet;
    std::vector<TField*> list_;
};

// The field class the data sets create for a column of the given type.
TField* CreateField(TFieldType type, core::TComponent* owner);

} // namespace data
