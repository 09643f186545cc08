#pragma once
// A data set: records with fields, a current record, states and events.
//
// The records form a static cursor: the whole result is read when the data
// set opens and kept in memory, so RecordCount and every move are exact.
// OpenFirst reads only the first rows at open, so that a large result can be
// shown at once; the rest comes in ReadMoreRecords steps, and all of it as
// soon as anything needs it (the count, the last record, a move past the rows
// read, a change), so every answer stays exact. A
// concrete data set (TADOQuery) supplies the records and writes changes back;
// this class keeps the cursor, the edit buffer, the states and the events.
//
// States: dsInactive (closed), dsBrowse, dsEdit (the current record is being
// changed), dsInsert (a new record is being made). Field values written in
// dsEdit or dsInsert go into an edit buffer; Post writes the buffer to the
// database and into the record, Cancel throws it away.
//
// Events: every step has a before- and an after-event (BeforeOpen/AfterOpen,
// close, insert, edit, post, cancel, delete, scroll, refresh) and a new record
// gets OnNewRecord. A before-event that calls core::Abort() stops its step:
// core::EAbort leaves the call, and the state and every value are as they were
// before the call. The application's default handler shows nothing for EAbort.
//
// Data-aware controls listen through TDataSource and TDataLink (DataSource.h);
// they hear of every change through DataEvent.

#include "platform/core/Component.h"
#include "platform/data/Field.h"
#include "platform/data/RecordStore.h"

#include <functional>
#include <string>
#include <vector>

namespace data {

class TDataSource;

enum TDataSetState { dsInactive, dsBrowse, dsEdit, dsInsert };

// What a data set tells its data sources and their links.
enum TDataEvent {
    deFieldChange,     // a field's value changed (info: the field)
    deRecordChange,    // the current record's values changed
    deDataSetChange,   // records came, went or were re-read
    deDataSetScroll,   // the current record moved (info: the distance)
    deLayoutChange,    // the fields changed
    deUpdateRecord,    // controls must write their pending values into the fields
    deUpdateState,     // the state (or activity) changed
    deCheckBrowseMode, // a pending change is about to be posted or cancelled
    deFocusControl,    // a control should take the focus (info: the field)
};

using TDataSetNotifyEvent = std::function<void(TDataSet* dataSet)>;

class TDataSet : public core::TComponent {
public:
    explicit TDataSet(core::TComponent* owner);
    ~TDataSet() override;
    std::string ClassName() const override { return "TDataSet"; }

    // Opening and closing. Closing throws away an unposted change.
    bool Active() const noexcept { return state_ != dsInactive; }
    void SetActive(bool active);
    void Open() { SetActive(true); }
    void Close() { SetActive(false); }
    // Opens as Open does, but reads only the first rows now (at least one).
    void OpenFirst(int rows);
    // The records read so far, and whether the result has been read to its end.
    int RecordsRead() const noexcept { return records_.Count(); }
    bool AllRecordsRead() const { return !MoreRecords(); }
    // Reads up to rows more records of a result not read to its end; true
    // while more remain. Controls hear nothing: they ask RecordsRead.
    bool ReadMoreRecords(int rows);
    TDataSetState State() const noexcept { return state_; }

    // Fields.
    TFields* Fields() noexcept { return &fields_; }
    const TFields* Fields() const noexcept { return &fields_; }
    int FieldCount() const noexcept { return fields_.Count(); }
    // Raises EDatabaseError "Name: Field 'x' not found" when there is none.
    TField* FieldByName(const std::string& name) const;
    TField* FindField(const std::string& name) const { return fields_.FindField(name); }
    // True while the fields were made by the data set at open (no persistent fields).
    bool DefaultFields() const noexcept { return defaultFields_; }

    // The cursor. RecNo counts from 1; it is 0 when there is no record.
    int RecordCount() const;
    int RecNo() const;
    void SetRecNo(int recNo);
    void First();
    void Last();
    void Next() { MoveBy(1); }
    void Prior() { MoveBy(-1); }
    // Moves up to distance records; returns how many it moved (negative: back).
    int MoveBy(int distance);
    bool Bof() const noexcept { return bof_; }
    bool Eof() const noexcept { return eof_; }
    bool IsEmpty() const { return RecordCount() == 0; }

    // Editing.
    bool CanModify() const;
    bool Modified() const noexcept { return modified_; }
    // Insert makes a new record before the current one, Append at the end.
    void Insert();
    void Append();
    // Edits the current record; on an empty data set it appends instead.
    void Edit();
    void Post();
    void Cancel();
    // Deletes the current record (or cancels an insert).
    void Delete();
    // Reads the records again from the database, to show what others changed,
    // and stays on the same record when it still exists (else on the same
    // position). A refresh that fails leaves the records as they were.
    void Refresh();
    // Posts a modified record, cancels an unmodified one.
    void CheckBrowseMode();
    // Asks the controls to write their pending values into the fields.
    void UpdateRecord();

    // Controls hear nothing between these; EnableControls tells them what changed.
    void DisableControls();
    void EnableControls();
    bool ControlsDisabled() const noexcept { return disableCount_ > 0; }

    // The record fields read from: normally the current one. A grid points it
    // at the rows it draws (TDataLink::SetActiveRecord); -1 returns to the current.
    int ReadRecord() const noexcept { return readRecord_ >= 0 ? readRecord_ : current_; }
    void SetReadRecord(int position);
    // Position (0-based) of the current record, -1 when there is none.
    int CurrentPosition() const noexcept { return current_; }

    TDataSetNotifyEvent BeforeOpen, AfterOpen, BeforeClose, AfterClose;
    TDataSetNotifyEvent BeforeInsert, AfterInsert, BeforeEdit, AfterEdit;
    TDataSetNotifyEvent BeforePost, AfterPost, BeforeCancel, AfterCancel;
    TDataSetNotifyEvent BeforeDelete, AfterDelete, BeforeScroll, AfterScroll;
    TDataSetNotifyEvent BeforeRefresh, AfterRefresh;
    TDataSetNotifyEvent OnNewRecord;

protected:
    // --- What a concrete data set supplies ---
    // Runs the query: binds or creates the fields (BindFields) and fills Records().
    virtual void OpenCursor() = 0;
    virtual void CloseCursor() {}
    // Reads the result again for Refresh: from the database, never from rows
    // kept from before. Records() is empty when it is called.
    virtual void RefreshCursor()
    {
        CloseCursor();
        OpenCursor();
    }
    // A result read only in part: whether rows remain, and reading up to rows
    // more of them into Records() (rows <= 0: all). The rows OpenCursor should
    // read now are FirstRows() (0: all).
    virtual bool MoreRecords() const { return false; }
    virtual void FetchRecords(int rows) { (void)rows; }
    int FirstRows() const noexcept { return firstRows_; }
    // Writes the edit buffer of the record at position (a new one when inserting)
    // to the database; may update buffer values (a new key). Raises on failure.
    virtual void WriteRecord(int position, bool inserting) = 0;
    virtual void RemoveRecord(int position) = 0;
    // Whether records may be changed at all, and whether a field is backed by
    // a column the data set writes.
    virtual bool CanWrite() const = 0;
    virtual bool CanWriteField(const TField* field) const = 0;

    // --- Helpers for concrete data sets ---
    TRecordStore& Records() noexcept { return records_; }
    // Whether the records are as the cursor read them: none inserted, posted
    // or deleted since, and none taken away.
    bool RecordsAsRead() const noexcept { return recordsAsRead_; }
    // With persistent fields: checks each has a column (columnNames) and
    // returns, per field, its column index; without: creates a field per column
    // with create(columnIndex) and returns 0..n-1.
    std::vector<int> BindFields(const std::vector<std::string>& columnNames,
                                const std::function<TField*(int column)>& create);
    // The edit buffer's value of a field, and whether it was written since Edit/Insert.
    const Variant& BufferValue(int fieldIndex) const { return buffer_[static_cast<std::size_t>(fieldIndex)]; }
    void SetBufferValue(int fieldIndex, const Variant& value) { buffer_[static_cast<std::size_t>(fieldIndex)] = value; }
    bool BufferChanged(int fieldIndex) const { return changed_[static_cast<std::size_t>(fieldIndex)] != 0; }
    [[noreturn]] void Error(const std::string& message) const;
    void CheckActive() const;
    void CheckInactive() const;

    // Closes without events and lets go of fields and data sources; the
    // destructor of a concrete data set calls it while its own parts still live.
    void ShutDown();

    // Tells the data sources and their links.
    void DataEvent(TDataEvent event, TField* field = nullptr, int distance = 0);

private:
    friend class TField;
    friend class TDataSource;

    Variant FieldValue(const TField* field) const;
    void SetFieldValue(TField* field, const Variant& value);
    void AddField(TField* field);
    void RemoveField(TField* field);
    void AddDataSource(TDataSource* source);
    void RemoveDataSource(TDataSource* source);

    void DoOpen();
    void DoClose();
    // Closes without the close events: while things are being freed.
    void CloseQuietly();
    // A persistent field is being freed.
    void FieldGone(TField* field);
    void ShutDownDefaultFields();
    void BeginInsertAppend(bool append);
    void StartEditing(TDataSetState state);
    void BackToBrowse();
    void SetState(TDataSetState state);
    void CheckEmptyOrEditable();
    // Reads the rest of a result read in part: before anything that needs all of it.
    void ReadAllRecords() const;
    static void Fire(const TDataSetNotifyEvent& event, TDataSet* self)
    {
        if (event)
            event(self);
    }

    TDataSetState state_ = dsInactive;
    TFields fields_;
    bool defaultFields_ = false;
    TRecordStore records_;
    int current_ = -1;
    int readRecord_ = -1;
    int positionBeforeInsert_ = -1;
    bool bof_ = true;
    bool eof_ = true;
    bool modified_ = false;
    std::vector<Variant> buffer_;
    std::vector<unsigned char> changed_;
    std::vector<TDataSource*> dataSources_;
    int disableCount_ = 0;
    bool changedWhileDisabled_ = false;
    bool opening_ = false;
    bool recordsAsRead_ = false;
    int firstRows_ = 0;
};

} // namespace data
