#pragma once
// A query over the connection's database: SQL lines in, a static cursor out.
//
// SQL holds the statement as lines; it runs as the lines joined. Changing the
// lines closes the query. The SQL is written for the Jet engine and
// translated on the way (JetSql.h); nothing of the caller's text is changed
// but date literals, YEAR/MONTH/DAY and double-quoted literals.
//
// Open reads the whole result into memory (OpenFirst its first rows, the
// statement reading on as more are asked for). The rows read last stay at hand
// after Close (the largest few results of the query): opened again with the
// same SQL on a database that nobody changed since, through this connection
// or any other, in this process or another, it takes them back instead of
// reading again, put in the new order when only the ORDER BY differs. Only a
// whole result as read is kept: not one read in part, nor one whose records
// were inserted, posted or deleted. Refresh always reads from the database.
// An ORDER BY in Jet's text order is applied in memory too. Rows
// equal in every term of the order come as they were entered.
//
// Records inserted, edited or
// deleted in the query are written to the table the result's columns come
// from (the FROM table), the row found by its key ID (the table's integer
// primary key) or, for a table without one, by the values read. Columns the
// query computes (such as a sub-select "as pocet_rok") are never written, and
// after an insert the new key is in its field. Post refuses a text longer
// than its column's declared size (VARCHAR(255): 255 characters) and leaves
// the record in its editing state.

#include "platform/core/StringList.h"
#include "platform/data/DataSet.h"
#include "platform/data/OrderClause.h"
#include "platform/data/RowOrder.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

struct sqlite3;

namespace data {

class TADOConnection;
class TStatement;

// All cursors here are static; the type is kept for the callers' settings.
enum TCursorType { ctUnspecified, ctOpenForwardOnly, ctKeyset, ctDynamic, ctStatic };

class TADOQuery : public TDataSet {
public:
    explicit TADOQuery(core::TComponent* owner);
    ~TADOQuery() override;
    std::string ClassName() const override { return "TADOQuery"; }

    TADOConnection* Connection() const noexcept { return connection_; }
    // Closes the query first.
    void SetConnection(TADOConnection* connection);
    core::TStrings* SQL() noexcept { return &sql_; }
    const core::TStrings* SQL() const noexcept { return &sql_; }
    TCursorType CursorType() const noexcept { return cursorType_; }
    void SetCursorType(TCursorType type) { cursorType_ = type; }

    // Runs SQL that returns no rows; the number of rows changed.
    int ExecSQL();
    int RowsAffected() const noexcept { return rowsAffected_; }

    // The table that Post and Delete write to; empty while closed or when the
    // result comes from no table.
    const std::string& UpdateTable() const noexcept { return updateTable_; }

protected:
    // Whether the rows read may be kept for opening again; a query whose
    // parameters may change between openings says no (and one that must
    // read every time, as a benchmark of the reading does).
    virtual bool KeepsRows() const { return true; }
    // A query with parameters gives them their values on the statement about to run.
    virtual void BindParameters(TStatement& statement) { (void)statement; }
    // The SQL lines changed; the query is closed.
    virtual void SqlChanged();
    void OpenCursor() override;
    void CloseCursor() override;
    void RefreshCursor() override;
    bool MoreRecords() const override { return pending_ != nullptr; }
    void FetchRecords(int rows) override;
    void WriteRecord(int position, bool inserting) override;
    void RemoveRecord(int position) override;
    bool CanWrite() const override;
    bool CanWriteField(const TField* field) const override;
    void Notification(core::TComponent* component, core::TOperation operation) override;

private:
    // What the query knows of the result column behind each field.
    struct Binding {
        int column = -1;           // in the result
        std::string tableColumn;   // the update table's column; empty when computed or another table's
        int maxChars = 0;          // declared text size; 0 without a limit
    };

    // What rows held were read under: the connection's opening, the commits
    // of others and of this connection, the rows it changed (temporary tables
    // too), and the schemas.
    struct TDataStamp {
        std::uint64_t connection = 0;
        std::int64_t dataVersion = -1;
        std::uint32_t fileVersion = 0;
        std::int64_t changes = -1;
        std::int64_t schema = -1;
        std::int64_t tempSchema = -1;
        bool operator==(const TDataStamp&) const = default;
    };
    struct TKeptRows;
    struct TPendingRead;

    sqlite3* Database() const;
    // False when no stamp taken now can prove the rows current later.
    bool Stamp(sqlite3* db, TDataStamp& stamp) const;
    // Reads the result of sql (translated already) into the records: its
    // first rows (0: all of them), the statement kept for the rest.
    void ReadRows(sqlite3* db, const std::string& sql, int rows = 0);
    // The sort keys of the order's terms, false when a term names no field.
    bool SortKeysFor(const std::vector<TOrderTerm>& terms, std::vector<TRowSortKey>& keys) const;
    bool KeysHoldStoredValues(const std::vector<TRowSortKey>& keys, const std::vector<unsigned char>& exact) const;
    std::vector<std::string> FieldSignature() const;
    bool TakeKeptRows(const TOrderClause& clause, const TDataStamp& stamp);
    void KeepRows();
    void DropKeptRows();
    void CheckTextLengths() const;
    // The database's row number of the record at position, found by key or by the values read.
    std::int64_t LocateRow(int position);
    void ReadBack(std::int64_t rowId);

    TADOConnection* connection_ = nullptr;
    core::TStringList sql_;
    TCursorType cursorType_ = ctStatic;
    int rowsAffected_ = 0;
    std::string updateTable_;
    std::vector<Binding> bindings_; // per field
    int keyColumn_ = -1;            // the result column holding the rowid, -1 when none
    // Per field: every value read is held as the database stores it, so
    // that the rows can be put in order by it.
    std::vector<unsigned char> exact_;
    // The rows held may be kept at Close: read under clause_ and stamp_.
    bool keepable_ = false;
    // The rows are in the order SortRows gave them for clause_ (not the database's).
    bool sortedHere_ = false;
    TOrderClause clause_;
    TDataStamp stamp_;
    std::vector<std::unique_ptr<TKeptRows>> kept_;
    std::unique_ptr<TPendingRead> pending_; // a result read in part
    // Memory of rows given up (by a result taken back in their place), kept
    // for the next reading: memory the process touches for the first time
    // costs far more than reading into memory it has used before.
    TRecordStore spare_;
};

} // namespace data
