#pragma once
// How data-aware controls meet a data set.
//
// A TDataSource stands between one data set and any number of data links;
// each control owns a link (TDataLink, or TFieldDataLink for a control bound
// to one field) and hears through its virtual methods what happened:
//
//   ActiveChanged      the data set opened or closed (or the link was re-pointed)
//   DataSetChanged     records were re-read, inserted, posted or deleted
//   DataSetScrolled    the current record moved
//   RecordChanged      a value of the current record changed (field, or nullptr
//                      for the whole record)
//   EditingChanged     the data set entered or left edit/insert state
//   UpdateData         the data set is about to post: write your pending value
//   CheckBrowseMode    a pending change is about to be posted or cancelled
//   LayoutChanged      the fields changed
//
// A grid shows many records at once: the link keeps a window of BufferCount
// records that always holds the current one. FirstRecord is the position of
// the window's top row in the data set, RecordCount the rows it holds and
// ActiveRecord the current record's row in it. SetActiveRecord(i) points
// every field of the data set at row i of the window, so the grid can read
// DisplayText row by row; it must put the old value back when done.

#include "platform/core/Component.h"
#include "platform/data/DataSet.h"

#include <functional>
#include <string>
#include <vector>

namespace data {

class TDataLink;

using TDataChangeEvent = std::function<void(core::TObject* sender, TField* field)>;

class TDataSource : public core::TComponent {
public:
    explicit TDataSource(core::TComponent* owner);
    ~TDataSource() override;
    std::string ClassName() const override { return "TDataSource"; }

    TDataSet* DataSet() const noexcept { return dataSet_; }
    void SetDataSet(TDataSet* dataSet);
    // A disabled source tells its links the data set is inactive.
    bool Enabled() const noexcept { return enabled_; }
    void SetEnabled(bool enabled);
    // Whether a control's change puts the data set into edit state by itself.
    bool AutoEdit() const noexcept { return autoEdit_; }
    void SetAutoEdit(bool autoEdit) { autoEdit_ = autoEdit; }
    // The data set's state, dsInactive without an enabled, active data set.
    TDataSetState State() const noexcept { return state_; }
    // Puts a browsing data set into edit state when AutoEdit allows it.
    void Edit();
    bool IsLinkedTo(const TDataSet* dataSet) const { return dataSet_ != nullptr && dataSet_ == dataSet; }

    TDataChangeEvent OnDataChange;
    core::TNotifyEvent OnStateChange;
    core::TNotifyEvent OnUpdateData;

protected:
    void Notification(core::TComponent* component, core::TOperation operation) override;

private:
    friend class TDataSet;
    friend class TDataLink;
    void DataEvent(TDataEvent event, TField* field, int distance);
    void AddLink(TDataLink* link);
    void RemoveLink(TDataLink* link);
    void UpdateState();

    TDataSet* dataSet_ = nullptr;
    bool enabled_ = true;
    bool autoEdit_ = true;
    TDataSetState state_ = dsInactive;
    std::vector<TDataLink*> links_;
};

class TDataLink : public core::TPersistent {
public:
    TDataLink() = default;
    ~TDataLink() override;
    std::string ClassName() const override { return "TDataLink"; }

    TDataSource* DataSource() const noexcept { return dataSource_; }
    void SetDataSource(TDataSource* source);
    TDataSet* DataSet() const { return dataSource_ != nullptr ? dataSource_->DataSet() : nullptr; }
    // A data source that is enabled and a data set that is open.
    bool Active() const noexcept { return active_; }
    // Active and the data set in edit or insert state.
    bool Editing() const noexcept { return editing_; }
    bool ReadOnly() const noexcept { return readOnly_; }
    void SetReadOnly(bool readOnly);
    // Asks the data set to edit (through the source's AutoEdit); true when it is editing.
    virtual bool Edit();
    // Calls UpdateData: the control writes its pending value into its field.
    void UpdateRecord();
    int MoveBy(int distance);
    bool Bof() const;
    bool Eof() const;

    // The window of records for controls that show several.
    int BufferCount() const noexcept { return bufferCount_; }
    void SetBufferCount(int count);
    int FirstRecord() const noexcept { return firstRecord_; }
    int RecordCount() const;
    int ActiveRecord() const;
    void SetActiveRecord(int index);

protected:
    virtual void ActiveChanged() {}
    virtual void CheckBrowseMode() {}
    virtual void DataSetChanged() { RecordChanged(nullptr); }
    virtual void DataSetScrolled(int /*distance*/) { DataSetChanged(); }
    virtual void EditingChanged() {}
    virtual void FocusControl(TField* /*field*/) {}
    virtual void LayoutChanged() { DataSetChanged(); }
    virtual void RecordChanged(TField* /*field*/) {}
    virtual void UpdateData() {}
    bool Updating() const noexcept { return updating_; }

private:
    friend class TDataSource;
    void DataEvent(TDataEvent event, TField* field, int distance);
    void UpdateState();
    // Moves the window so that it holds the current record; returns how far it moved.
    int UpdateWindow();
    // The data set's records as far as the window needs them.
    int WindowRecords(const TDataSet& ds) const;

    TDataSource* dataSource_ = nullptr;
    bool active_ = false;
    bool editing_ = false;
    bool readOnly_ = false;
    bool updating_ = false;
    int bufferCount_ = 1;
    int firstRecord_ = 0;
};

using TDataLinkNotifyEvent = std::function<void(core::TObject* sender)>;

// The link of a control bound to one field.
class TFieldDataLink : public TDataLink {
public:
    std::string ClassName() const override { return "TFieldDataLink"; }

    const std::string& FieldName() const noexcept { return fieldName_; }
    void SetFieldName(const std::string& name);
    // The field named FieldName while the link is active, else nullptr.
    TField* Field() const noexcept { return field_; }
    // The control that owns the link (reported in errors).
    core::TComponent* Control() const noexcept { return control_; }
    void SetControl(core::TComponent* control) { control_ = control; }
    // Not read-only and the field can be written.
    bool CanModify() const;
    // Editing and the field can be written.
    bool Editing() const noexcept { return fieldEditing_; }
    bool Edit() override;
    // The control's value changed: it is written at the next UpdateData.
    void Modified() { modified_ = true; }
    bool IsModified() const noexcept { return modified_; }
    // Forgets the control's change and shows the field's value again.
    void Reset();

    TDataLinkNotifyEvent OnDataChange;    // show the field's value
    TDataLinkNotifyEvent OnEditingChange; // editing began or ended
    TDataLinkNotifyEvent OnUpdateData;    // write the control's value into the field
    TDataLinkNotifyEvent OnActiveChange;  // the data set opened or closed
    std::function<void(core::TObject* sender)> OnFocusRequest; // the data set wants this control focused

protected:
    void ActiveChanged() override;
    void EditingChanged() override;
    void FocusControl(TField* field) override;
    void LayoutChanged() override;
    void RecordChanged(TField* field) override;
    void UpdateData() override;

private:
    void UpdateField();
    void SetEditing(bool editing);

    std::string fieldName_;
    TField* field_ = nullptr;
    core::TComponent* control_ = nullptr;
    bool fieldEditing_ = false;
    bool modified_ = false;
};

} // namespace data
