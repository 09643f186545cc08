#include "platform/data/DataSource.h"

#include "platform/data/DataError.h"

#include <algorithm>

namespace data {

// --- TDataSource ---

TDataSource::TDataSource(core::TComponent* owner) : core::TComponent(owner) {}

TDataSource::~TDataSource()
{
    SetDataSet(nullptr);
    while (!links_.empty()) {
        TDataLink* link = links_.back();
        links_.pop_back();
        link->dataSource_ = nullptr;
        link->UpdateState();
    }
}

void TDataSource::SetDataSet(TDataSet* dataSet)
{
    if (dataSet == dataSet_)
        return;
    if (dataSet_ != nullptr) {
        dataSet_->RemoveDataSource(this);
        dataSet_->RemoveFreeNotification(this);
    }
    dataSet_ = dataSet;
    if (dataSet_ != nullptr) {
        dataSet_->AddDataSource(this);
        dataSet_->FreeNotification(this);
    }
    UpdateState();
}

void TDataSource::Notification(core::TComponent* component, core::TOperation operation)
{
    core::TComponent::Notification(component, operation);
    if (operation == core::TOperation::opRemove && component == dataSet_) {
        dataSet_ = nullptr;
        UpdateState();
    }
}

void TDataSource::SetEnabled(bool enabled)
{
    if (enabled == enabled_)
        return;
    enabled_ = enabled;
    UpdateState();
}

void TDataSource::Edit()
{
    if (autoEdit_ && state_ == dsBrowse)
        dataSet_->Edit();
}

void TDataSource::AddLink(TDataLink* link) { links_.push_back(link); }

void TDataSource::RemoveLink(TDataLink* link)
{
    links_.erase(std::remove(links_.begin(), links_.end(), link), links_.end());
}

void TDataSource::UpdateState()
{
    const TDataSetState state = enabled_ && dataSet_ != nullptr ? dataSet_->State() : dsInactive;
    if (state != state_) {
        state_ = state;
        if (OnStateChange)
            OnStateChange(this);
    }
    const std::vector<TDataLink*> links = links_;
    for (TDataLink* link : links)
        if (std::find(links_.begin(), links_.end(), link) != links_.end())
            link->UpdateState();
}

void TDataSource::DataEvent(TDataEvent event, TField* field, int distance)
{
    if (event == deUpdateState) {
        UpdateState();
        return;
    }
    if (state_ == dsInactive)
        return;
    const std::vector<TDataLink*> links = links_;
    for (TDataLink* link : links)
        if (std::find(links_.begin(), links_.end(), link) != links_.end())
            link->DataEvent(event, field, distance);
    switch (event) {
    case deFieldChange:
    case deRecordChange:
        if (OnDataChange)
            OnDataChange(this, field);
        break;
    case deDataSetChange:
    case deDataSetScroll:
    case deLayoutChange:
        if (OnDataChange)
            OnDataChange(this, nullptr);
        break;
    case deUpdateRecord:
        if (OnUpdateData)
            OnUpdateData(this);
        break;
    default: break;
    }
}

// --- TDataLink ---

TDataLink::~TDataLink()
{
    if (dataSource_ != nullptr)
        dataSource_->RemoveLink(this);
}

void TDataLink::SetDataSource(TDataSource* source)
{
    if (source == dataSource_)
        return;
    if (dataSource_ != nullptr)
        dataSource_->RemoveLink(this);
    dataSource_ = source;
    if (dataSource_ != nullptr)
        dataSource_->AddLink(this);
    UpdateState();
}

void TDataLink::SetReadOnly(bool readOnly)
{
    if (readOnly == readOnly_)
        return;
    readOnly_ = readOnly;
    UpdateState();
}

void TDataLink::UpdateState()
{
    TDataSet* ds = DataSet();
    const bool active = dataSource_ != nullptr && dataSource_->Enabled() && ds != nullptr && ds->Active();
    if (active != active_) {
        active_ = active;
        if (active_) {
            firstRecord_ = 0;
            UpdateWindow();
        }
        ActiveChanged();
    }
    const bool editing = active_ && (ds->State() == dsEdit || ds->State() == dsInsert);
    if (editing != editing_) {
        editing_ = editing;
        EditingChanged();
    }
}

void TDataLink::DataEvent(TDataEvent event, TField* field, int)
{
    switch (event) {
    case deFieldChange:
    case deRecordChange:
        if (!updating_)
            RecordChanged(field);
        break;
    case deDataSetChange: UpdateWindow(); DataSetChanged(); break;
    case deDataSetScroll: DataSetScrolled(UpdateWindow()); break;
    case deLayoutChange: UpdateWindow(); LayoutChanged(); break;
    case deUpdateRecord: UpdateRecord(); break;
    case deUpdateState: UpdateState(); break;
    case deCheckBrowseMode: CheckBrowseMode(); break;
    case deFocusControl: FocusControl(field); break;
    }
}

bool TDataLink::Edit()
{
    if (!readOnly_ && dataSource_ != nullptr && active_)
        dataSource_->Edit();
    return editing_;
}

void TDataLink::UpdateRecord()
{
    updating_ = true;
    try {
        UpdateData();
    } catch (...) {
        updating_ = false;
        throw;
    }
    updating_ = false;
}

int TDataLink::MoveBy(int distance) { return active_ ? DataSet()->MoveBy(distance) : 0; }
bool TDataLink::Bof() const { return !active_ || DataSet()->Bof(); }
bool TDataLink::Eof() const { return !active_ || DataSet()->Eof(); }

void TDataLink::SetBufferCount(int count)
{
    bufferCount_ = std::max(1, count);
    UpdateWindow();
}

int TDataLink::UpdateWindow()
{
    if (!active_)
        return 0;
    TDataSet* ds = DataSet();
    const int current = ds->CurrentPosition();
    const int old = firstRecord_;
    if (current >= 0 && current < firstRecord_)
        firstRecord_ = current;
    else if (current >= firstRecord_ + bufferCount_)
        firstRecord_ = current - bufferCount_ + 1;
    // Keep the window full when there are records enough.
    const int count = WindowRecords(*ds);
    firstRecord_ = std::max(0, std::min(firstRecord_, count - bufferCount_));
    return firstRecord_ - old;
}

int TDataLink::RecordCount() const
{
    if (!active_)
        return 0;
    return std::max(0, std::min(bufferCount_, WindowRecords(*DataSet()) - firstRecord_));
}

int TDataLink::WindowRecords(const TDataSet& ds) const
{
    // A result read in part is read on only when the window reaches past its rows.
    const int read = ds.RecordsRead();
    return firstRecord_ + bufferCount_ <= read ? read : ds.RecordCount();
}

int TDataLink::ActiveRecord() const { return active_ ? DataSet()->ReadRecord() - firstRecord_ : 0; }

void TDataLink::SetActiveRecord(int index)
{
    if (active_)
        DataSet()->SetReadRecord(firstRecord_ + index);
}

// --- TFieldDataLink ---

void TFieldDataLink::SetFieldName(const std::string& name)
{
    if (name == fieldName_)
        return;
    fieldName_ = name;
    UpdateField();
}

void TFieldDataLink::UpdateField()
{
    TField* field = nullptr;
    if (Active() && !fieldName_.empty()) {
        field_ = nullptr;
        field = DataSet()->FindField(fieldName_);
        if (field == nullptr)
            DatabaseError("Field '" + fieldName_ + "' not found", control_);
    }
    if (field != field_) {
        field_ = field;
        EditingChanged();
        RecordChanged(nullptr);
    }
}

bool TFieldDataLink::CanModify() const { return !ReadOnly() && field_ != nullptr && field_->CanModify(); }

bool TFieldDataLink::Edit()
{
    if (CanModify())
        TDataLink::Edit();
    return fieldEditing_;
}

void TFieldDataLink::Reset() { RecordChanged(nullptr); }

void TFieldDataLink::SetEditing(bool editing)
{
    if (editing == fieldEditing_)
        return;
    fieldEditing_ = editing;
    modified_ = false;
    if (OnEditingChange)
        OnEditingChange(this);
}

void TFieldDataLink::ActiveChanged()
{
    UpdateField();
    if (OnActiveChange)
        OnActiveChange(this);
}

void TFieldDataLink::EditingChanged() { SetEditing(TDataLink::Editing() && CanModify()); }

void TFieldDataLink::FocusControl(TField* field)
{
    if (field != nullptr && field == field_ && OnFocusRequest)
        OnFocusRequest(this);
}

void TFieldDataLink::LayoutChanged() { UpdateField(); }

void TFieldDataLink::RecordChanged(TField* field)
{
    if (field == nullptr || field == field_) {
        if (OnDataChange)
            OnDataChange(this);
        modified_ = false;
    }
}

void TFieldDataLink::UpdateData()
{
    if (!modified_)
        return;
    if (field_ != nullptr && OnUpdateData)
        OnUpdateData(this);
    modified_ = false;
}

} // namespace data
