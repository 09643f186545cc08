#include "platform/data/DataSet.h"

#include "platform/core/Letters.h"
#include "platform/data/DataError.h"
#include "platform/data/DataSource.h"

#include <algorithm>

namespace data {

TDataSet::TDataSet(core::TComponent* owner) : core::TComponent(owner) {}

TDataSet::~TDataSet() { ShutDown(); }

void TDataSet::ShutDown()
{
    CloseQuietly();
    while (!dataSources_.empty())
        dataSources_.back()->SetDataSet(nullptr);
    // Fields the data set made are its own; persistent ones only forget it.
    while (!fields_.list_.empty()) {
        TField* f = fields_.list_.back();
        fields_.list_.pop_back();
        f->dataSet_ = nullptr;
        f->index_ = -1;
        if (defaultFields_)
            delete f;
    }
    defaultFields_ = false;
}

void DatabaseError(const std::string& message, const core::TComponent* component)
{
    if (component != nullptr && !component->Name().empty())
        throw EDatabaseError(component->Name() + ": " + message);
    throw EDatabaseError(message);
}

void TDataSet::Error(const std::string& message) const { DatabaseError(message, this); }

void TDataSet::CheckActive() const
{
    if (state_ == dsInactive)
        Error("Cannot perform this operation on a closed dataset");
}

void TDataSet::CheckInactive() const
{
    if (state_ != dsInactive || opening_)
        Error("Cannot perform this operation on an open dataset");
}

// --- Fields ---

void TDataSet::AddField(TField* field)
{
    field->dataSet_ = this;
    field->index_ = fields_.Count();
    fields_.list_.push_back(field);
}

void TDataSet::RemoveField(TField* field)
{
    auto& list = fields_.list_;
    auto it = std::find(list.begin(), list.end(), field);
    if (it == list.end())
        return;
    list.erase(it);
    field->dataSet_ = nullptr;
    field->index_ = -1;
    for (std::size_t i = 0; i < list.size(); ++i)
        list[i]->index_ = static_cast<int>(i);
}

TField* TDataSet::FieldByName(const std::string& name) const
{
    TField* f = fields_.FindField(name);
    if (f == nullptr)
        Error("Field '" + name + "' not found");
    return f;
}

std::vector<int> TDataSet::BindFields(const std::vector<std::string>& columnNames,
                                      const std::function<TField*(int column)>& create)
{
    std::vector<int> columns;
    if (fields_.Count() == 0) {
        defaultFields_ = true;
        for (int i = 0; i < static_cast<int>(columnNames.size()); ++i) {
            TField* f = create(i);
            f->fieldName_ = columnNames[static_cast<std::size_t>(i)];
            AddField(f);
            columns.push_back(i);
        }
        return columns;
    }
    for (TField* f : fields_) {
        int found = -1;
        for (int i = 0; i < static_cast<int>(columnNames.size()) && found < 0; ++i)
            if (core::AnsiSameText(columnNames[static_cast<std::size_t>(i)], f->FieldName()))
                found = i;
        if (found < 0)
            Error("Field '" + f->FieldName() + "' not found");
        columns.push_back(found);
    }
    return columns;
}

Variant TDataSet::FieldValue(const TField* field) const
{
    const int row = ReadRecord();
    if (state_ == dsInactive || row < 0 || field->index_ < 0)
        return Variant();
    if ((state_ == dsEdit || state_ == dsInsert) && row == current_)
        return buffer_[static_cast<std::size_t>(field->index_)];
    return records_.Get(row, field->index_, field->ValueType());
}

void TDataSet::SetFieldValue(TField* field, const Variant& value)
{
    if (state_ != dsEdit && state_ != dsInsert)
        Error("Dataset not in edit or insert mode");
    if (!CanWriteField(field))
        DatabaseError("Field '" + field->FieldName() + "' cannot be modified");
    buffer_[static_cast<std::size_t>(field->index_)] = value;
    changed_[static_cast<std::size_t>(field->index_)] = 1;
    DataEvent(deFieldChange, field);
    if (field->OnChange)
        field->OnChange(field);
}

// --- Opening and closing ---

void TDataSet::SetActive(bool active)
{
    if (active == Active() || opening_)
        return;
    if (active)
        DoOpen();
    else
        DoClose();
}

void TDataSet::OpenFirst(int rows)
{
    if (Active() || opening_)
        return;
    firstRows_ = std::max(rows, 1);
    try {
        DoOpen();
    } catch (...) {
        firstRows_ = 0;
        throw;
    }
    firstRows_ = 0;
}

bool TDataSet::ReadMoreRecords(int rows)
{
    if (state_ == dsInactive || !MoreRecords())
        return false;
    FetchRecords(std::max(rows, 1));
    return MoreRecords();
}

void TDataSet::ReadAllRecords() const
{
    if (state_ != dsInactive && MoreRecords())
        const_cast<TDataSet*>(this)->FetchRecords(0);
}

void TDataSet::DoOpen()
{
    Fire(BeforeOpen, this);
    opening_ = true;
    try {
        OpenCursor();
    } catch (...) {
        opening_ = false;
        CloseCursor();
        records_.Reset(0);
        ShutDownDefaultFields();
        throw;
    }
    opening_ = false;
    recordsAsRead_ = true;
    const auto n = static_cast<std::size_t>(fields_.Count());
    buffer_.assign(n, Variant());
    changed_.assign(n, 0);
    current_ = records_.Count() > 0 ? 0 : -1;
    readRecord_ = -1;
    bof_ = true;
    eof_ = records_.Count() == 0;
    SetState(dsBrowse);
    Fire(AfterOpen, this);
    if (records_.Count() > 0)
        Fire(AfterScroll, this);
}

void TDataSet::ShutDownDefaultFields()
{
    if (!defaultFields_)
        return;
    while (!fields_.list_.empty()) {
        TField* f = fields_.list_.back();
        fields_.list_.pop_back();
        f->dataSet_ = nullptr;
        delete f;
    }
    defaultFields_ = false;
}

void TDataSet::DoClose()
{
    Fire(BeforeClose, this);
    CloseQuietly();
    Fire(AfterClose, this);
}

void TDataSet::CloseQuietly()
{
    if (state_ == dsInactive)
        return;
    SetState(dsInactive);
    CloseCursor();
    records_.Reset(0);
    current_ = -1;
    readRecord_ = -1;
    bof_ = eof_ = true;
    buffer_.clear();
    changed_.clear();
    ShutDownDefaultFields();
}

void TDataSet::FieldGone(TField* field)
{
    // The records hold a column per field: without this one they no longer fit.
    if (!defaultFields_)
        CloseQuietly();
    RemoveField(field);
}

void TDataSet::SetState(TDataSetState state)
{
    if (state_ == state)
        return;
    state_ = state;
    modified_ = false;
    DataEvent(deUpdateState);
}

// --- The cursor ---

int TDataSet::RecordCount() const
{
    CheckActive();
    ReadAllRecords();
    return records_.Count();
}

int TDataSet::RecNo() const { return state_ == dsInactive ? 0 : current_ + 1; }

void TDataSet::SetRecNo(int recNo)
{
    CheckBrowseMode();
    if (recNo > records_.Count())
        ReadAllRecords();
    if (recNo < 1 || recNo > records_.Count() || recNo == current_ + 1)
        return;
    Fire(BeforeScroll, this);
    const int old = current_;
    current_ = recNo - 1;
    bof_ = eof_ = false;
    DataEvent(deDataSetScroll, nullptr, current_ - old);
    Fire(AfterScroll, this);
}

void TDataSet::First()
{
    CheckBrowseMode();
    Fire(BeforeScroll, this);
    const int old = current_;
    current_ = records_.Count() > 0 ? 0 : -1;
    bof_ = true;
    eof_ = records_.Count() == 0;
    DataEvent(deDataSetScroll, nullptr, current_ - old);
    Fire(AfterScroll, this);
}

void TDataSet::Last()
{
    CheckBrowseMode();
    ReadAllRecords();
    Fire(BeforeScroll, this);
    const int old = current_;
    current_ = records_.Count() - 1;
    eof_ = true;
    bof_ = records_.Count() == 0;
    DataEvent(deDataSetScroll, nullptr, current_ - old);
    Fire(AfterScroll, this);
}

int TDataSet::MoveBy(int distance)
{
    CheckBrowseMode();
    Fire(BeforeScroll, this);
    int moved = 0;
    if (distance > 0 && static_cast<long long>(current_) + distance >= records_.Count())
        ReadAllRecords();
    if ((distance > 0 && !eof_) || (distance < 0 && !bof_)) {
        bof_ = eof_ = false;
        const int count = records_.Count();
        long long target = static_cast<long long>(current_) + distance;
        if (target >= count) {
            target = count - 1;
            eof_ = true;
        }
        if (target < 0) {
            target = count > 0 ? 0 : -1;
            bof_ = true;
        }
        moved = static_cast<int>(target) - current_;
        current_ = static_cast<int>(target);
    }
    DataEvent(deDataSetScroll, nullptr, moved);
    Fire(AfterScroll, this);
    return moved;
}

void TDataSet::SetReadRecord(int position)
{
    readRecord_ = position >= 0 && position < records_.Count() && position != current_ ? position : -1;
}

// --- Editing ---

bool TDataSet::CanModify() const { return CanWrite(); }

void TDataSet::CheckBrowseMode()
{
    CheckActive();
    DataEvent(deCheckBrowseMode);
    if (state_ == dsEdit || state_ == dsInsert) {
        UpdateRecord();
        if (modified_)
            Post();
        else
            Cancel();
    }
}

void TDataSet::UpdateRecord()
{
    if (state_ != dsEdit && state_ != dsInsert)
        Error("Dataset not in edit or insert mode");
    DataEvent(deUpdateRecord);
}

void TDataSet::Insert() { BeginInsertAppend(false); }
void TDataSet::Append() { BeginInsertAppend(true); }

void TDataSet::BeginInsertAppend(bool append)
{
    CheckBrowseMode();
    if (!CanModify())
        Error("Cannot modify a read-only dataset");
    // Rows are written while no statement still reads the table.
    ReadAllRecords();
    Fire(BeforeInsert, this);
    Fire(BeforeScroll, this);
    const int pos = append || current_ < 0 ? records_.Count() : current_;
    positionBeforeInsert_ = current_;
    records_.InsertRow(pos);
    recordsAsRead_ = false;
    current_ = pos;
    bof_ = eof_ = false;
    buffer_.assign(static_cast<std::size_t>(fields_.Count()), Variant());
    changed_.assign(buffer_.size(), 0);
    SetState(dsInsert);
    try {
        Fire(OnNewRecord, this);
    } catch (...) {
        BackToBrowse();
        throw;
    }
    modified_ = false;
    DataEvent(deDataSetChange);
    Fire(AfterInsert, this);
    Fire(AfterScroll, this);
}

// Leaves edit or insert state without writing: an inserted record goes away
// and the record that was current before it comes back.
void TDataSet::BackToBrowse()
{
    if (state_ == dsInsert) {
        records_.EraseRow(current_);
        const int count = records_.Count();
        current_ = std::min(positionBeforeInsert_, count - 1);
        if (current_ < 0 && count > 0)
            current_ = 0;
        bof_ = eof_ = count == 0;
    }
    std::fill(buffer_.begin(), buffer_.end(), Variant());
    std::fill(changed_.begin(), changed_.end(), 0);
    SetState(dsBrowse);
    DataEvent(deDataSetChange);
}

void TDataSet::Edit()
{
    if (state_ == dsEdit || state_ == dsInsert)
        return;
    CheckActive();
    if (!CanModify())
        Error("Cannot modify a read-only dataset");
    ReadAllRecords();
    if (records_.Count() == 0) {
        Append();
        return;
    }
    Fire(BeforeEdit, this);
    for (int i = 0; i < fields_.Count(); ++i)
        buffer_[static_cast<std::size_t>(i)] = records_.Get(current_, i, fields_.list_[static_cast<std::size_t>(i)]->ValueType());
    std::fill(changed_.begin(), changed_.end(), 0);
    SetState(dsEdit);
    DataEvent(deRecordChange);
    Fire(AfterEdit, this);
}

void TDataSet::Post()
{
    UpdateRecord();
    DataEvent(deCheckBrowseMode);
    Fire(BeforePost, this);
    for (TField* f : fields_)
        if (f->Required() && buffer_[static_cast<std::size_t>(f->index_)].IsNull())
            Error("Field '" + f->DisplayLabel() + "' must have a value");
    WriteRecord(current_, state_ == dsInsert);
    recordsAsRead_ = false;
    for (int i = 0; i < fields_.Count(); ++i)
        records_.Set(current_, i, buffer_[static_cast<std::size_t>(i)]);
    std::fill(changed_.begin(), changed_.end(), 0);
    SetState(dsBrowse);
    DataEvent(deDataSetChange);
    Fire(AfterPost, this);
}

void TDataSet::Cancel()
{
    if (state_ != dsEdit && state_ != dsInsert)
        return;
    DataEvent(deCheckBrowseMode);
    Fire(BeforeCancel, this);
    BackToBrowse();
    Fire(AfterCancel, this);
}

void TDataSet::Delete()
{
    CheckActive();
    if (state_ == dsInsert) {
        Cancel();
        return;
    }
    if (records_.Count() == 0)
        Error("Cannot perform this operation on an empty dataset");
    if (!CanModify())
        Error("Cannot modify a read-only dataset");
    ReadAllRecords();
    DataEvent(deCheckBrowseMode);
    Fire(BeforeDelete, this);
    Fire(BeforeScroll, this);
    RemoveRecord(current_);
    records_.EraseRow(current_);
    recordsAsRead_ = false;
    const int count = records_.Count();
    if (current_ >= count)
        current_ = count - 1;
    bof_ = eof_ = count == 0;
    std::fill(changed_.begin(), changed_.end(), 0);
    if (state_ == dsEdit)
        SetState(dsBrowse);
    DataEvent(deDataSetChange);
    Fire(AfterDelete, this);
    Fire(AfterScroll, this);
}

void TDataSet::Refresh()
{
    CheckBrowseMode();
    // A refresh that fails leaves the whole result, not rows that can no longer be read on.
    ReadAllRecords();
    Fire(BeforeRefresh, this);
    const std::int64_t rowId = current_ >= 0 ? records_.RowId(current_) : TRecordStore::kNoRowId;
    const int oldPosition = current_;
    // The records stay aside until the new ones are read; meanwhile the
    // cursor holds none, which is no result to keep.
    TRecordStore saved = std::move(records_);
    records_ = TRecordStore();
    recordsAsRead_ = false;
    opening_ = true;
    try {
        RefreshCursor();
    } catch (...) {
        opening_ = false;
        records_ = std::move(saved);
        throw;
    }
    opening_ = false;
    recordsAsRead_ = true;
    const int count = records_.Count();
    current_ = -1;
    if (rowId != TRecordStore::kNoRowId)
        for (int i = 0; i < count && current_ < 0; ++i)
            if (records_.RowId(i) == rowId)
                current_ = i;
    if (current_ < 0)
        current_ = std::min(std::max(oldPosition, 0), count - 1);
    bof_ = eof_ = count == 0;
    readRecord_ = -1;
    DataEvent(deDataSetChange);
    Fire(AfterRefresh, this);
}

// --- Telling the controls ---

void TDataSet::DisableControls() { ++disableCount_; }

void TDataSet::EnableControls()
{
    if (disableCount_ == 0 || --disableCount_ > 0 || !changedWhileDisabled_)
        return;
    changedWhileDisabled_ = false;
    DataEvent(deUpdateState);
    DataEvent(deDataSetChange);
}

void TDataSet::AddDataSource(TDataSource* source) { dataSources_.push_back(source); }

void TDataSet::RemoveDataSource(TDataSource* source)
{
    dataSources_.erase(std::remove(dataSources_.begin(), dataSources_.end(), source), dataSources_.end());
}

void TDataSet::DataEvent(TDataEvent event, TField* field, int distance)
{
    if (event == deFieldChange)
        modified_ = true;
    // A grid that pointed the fields at another row gets the current one back.
    if (event == deDataSetChange || event == deDataSetScroll || event == deUpdateState)
        readRecord_ = -1;
    // Pending values and checks before a post reach the controls even while
    // they are disabled; everything else waits for EnableControls.
    if (disableCount_ > 0 && event != deUpdateRecord && event != deCheckBrowseMode) {
        changedWhileDisabled_ = true;
        return;
    }
    const std::vector<TDataSource*> sources = dataSources_;
    for (TDataSource* source : sources)
        if (std::find(dataSources_.begin(), dataSources_.end(), source) != dataSources_.end())
            source->DataEvent(event, field, distance);
}

} // namespace data
