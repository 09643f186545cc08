#pragma once
// The date-time picker bound to one date-time field of a data set.
//
// A null field shows the blank picture (the format "gg") while the control
// keeps its own date; a date the user picks puts the data set into edit
// state and is written into the field at the next update, as is a whole date
// typed over the field (the first key puts the data set into edit state). A
// date set by the program is only shown. While a typed date is refused the
// row cannot be saved: the post raises, naming the field.

#include "platform/data/DataSource.h"
#include "platform/ui/controls/DateTimePicker.h"

#include <memory>

namespace app {

class TadpDBDateTimePicker : public ui::TDateTimePicker {
public:
    explicit TadpDBDateTimePicker(core::TComponent* owner);
    ~TadpDBDateTimePicker() override;
    std::string ClassName() const override { return "TadpDBDateTimePicker"; }

    const std::string& DataField() const { return link_->FieldName(); }
    void SetDataField(const std::string& name) { link_->SetFieldName(name); }
    data::TDataSource* DataSource() const { return link_->DataSource(); }
    void SetDataSource(data::TDataSource* source);
    bool ReadOnly() const { return link_->ReadOnly(); }
    void SetReadOnly(bool readOnly) { link_->SetReadOnly(readOnly); }
    bool ShowWeekNumbers() const { return showWeekNumbers_; }
    void SetShowWeekNumbers(bool show) { showWeekNumbers_ = show; }

    void DataChange(core::TObject* Sender);
    void UpdateData(core::TObject* Sender);
    // Prepares the drop-down calendar: week numbers, and room for them.
    void ApplyWeekNumbers();

protected:
    void Change() override;
    bool TypingBegins() override;
    void DoExit() override;
    void DropDown() override;
    void Notification(core::TComponent* component, core::TOperation operation) override;

private:
    // Puts the data set into edit state, if it can, without showing the row again.
    bool EditKeepingWhatIsShown();

    std::unique_ptr<data::TFieldDataLink> link_;
    bool showWeekNumbers_ = false;
    // True while the user's change puts the data set into edit state.
    bool takingChange_ = false;
    // True while leaving the field writes its value.
    bool leaving_ = false;
};

} // namespace app
