#include "platform/data/ADOQuery.h"

#include "platform/core/Letters.h"
#include "platform/core/Unicode.h"
#include "platform/data/ADOConnection.h"
#include "platform/core/FormatSettings.h"
#include "platform/data/DataError.h"
#include "platform/data/JetSql.h"
#include "platform/data/Statement.h"

#include <sqlite3.h>

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdlib>

namespace data {

namespace {

// A row that was read but is no longer in the table as it was read.
const char* const kRowLost =
    "Řádek nelze v databázi najít: jiný uživatel nebo program ho mezitím změnil nebo smazal.";

struct ColumnInfo {
    std::string name;
    std::string declType; // upper case, empty for a computed column
    std::string table;    // the table the column comes from, empty when computed
    std::string origin;   // its name in that table
};

bool Has(const std::string& text, const char* part) { return text.find(part) != std::string::npos; }

// The field type for a declared column type, or ftUnknown when the declaration says nothing.
TFieldType TypeOfDeclaration(const std::string& decl)
{
    if (decl.empty())
        return ftUnknown;
    if (Has(decl, "BOOL") || Has(decl, "BIT") || Has(decl, "YESNO") || Has(decl, "LOGICAL"))
        return ftBoolean;
    if (Has(decl, "DATE") || Has(decl, "TIME"))
        return ftDateTime;
    if (Has(decl, "BIGINT") || Has(decl, "INT8"))
        return ftLargeint;
    if (Has(decl, "INT") || Has(decl, "COUNTER") || (Has(decl, "LONG") && !Has(decl, "LONGTEXT")))
        return ftInteger;
    if (Has(decl, "MEMO") || Has(decl, "LONGTEXT") || Has(decl, "CLOB"))
        return ftWideMemo;
    if (Has(decl, "CHAR") || Has(decl, "TEXT") || Has(decl, "STRING"))
        return ftWideString;
    if (Has(decl, "REAL") || Has(decl, "FLOA") || Has(decl, "DOUB") || Has(decl, "NUM") || Has(decl, "DEC") ||
        Has(decl, "CURRENCY") || Has(decl, "MONEY") || Has(decl, "SINGLE"))
        return ftFloat;
    return ftUnknown;
}

// The size in parentheses of a text declaration, VARCHAR(255) -> 255; 0 when none.
int DeclaredSize(const std::string& decl)
{
    const std::size_t open = decl.find('(');
    if (open == std::string::npos)
        return 0;
    return std::max(0, std::atoi(decl.c_str() + open + 1));
}

TFieldType TypeOfValue(int sqliteType)
{
    switch (sqliteType) {
    case SQLITE_INTEGER: return ftInteger;
    case SQLITE_FLOAT: return ftFloat;
    default: return ftWideString;
    }
}

const char* FieldTypeName(TFieldType type)
{
    switch (type) {
    case ftString: return "String";
    case ftWideString: return "WideString";
    case ftWideMemo: return "WideMemo";
    case ftInteger: return "Integer";
    case ftLargeint: return "Largeint";
    case ftAutoInc: return "AutoInc";
    case ftFloat: return "Float";
    case ftBoolean: return "Boolean";
    case ftDateTime: return "DateTime";
    case ftUnknown: break;
    }
    return "Unknown";
}

bool IsTextType(TFieldType type) { return type == ftString || type == ftWideString || type == ftWideMemo; }

// A number written as text in the database: digits with a point, whatever the user's locale.
bool SqlNumber(std::string_view text, double& value)
{
    while (!text.empty() && text.front() == ' ')
        text.remove_prefix(1);
    while (!text.empty() && text.back() == ' ')
        text.remove_suffix(1);
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    return !text.empty() && ec == std::errc() && end == text.data() + text.size();
}

std::string_view ValueText(sqlite3_value* v)
{
    const auto* p = reinterpret_cast<const char*>(sqlite3_value_text(v));
    return p == nullptr ? std::string_view() : std::string_view(p, static_cast<std::size_t>(sqlite3_value_bytes(v)));
}

// Reads one column of the current row as a value of the given kind and hands
// it to the sink: Null(), Int(i), Real(d), Text(view). A value that cannot be
// read as that kind (a word in a date column) is Null. Going through the
// column's value object costs a third of the column functions' time.
template <class Sink>
void ReadValue(sqlite3_value* v, int stored, TVarType type, Sink& sink)
{
    double d;
    switch (type) {
    case varString:
        sink.Text(ValueText(v));
        return;
    case varInteger:
        if (stored == SQLITE_INTEGER)
            sink.Int(sqlite3_value_int64(v));
        else if (stored == SQLITE_FLOAT)
            sink.Int(static_cast<std::int64_t>(std::nearbyint(sqlite3_value_double(v))));
        else if (SqlNumber(ValueText(v), d) && std::fabs(d) < 9.2e18)
            sink.Int(static_cast<std::int64_t>(std::nearbyint(d)));
        else
            sink.Null();
        return;
    case varBoolean:
        // Jet writes true as -1; anything but 0 reads as true.
        if (stored == SQLITE_INTEGER || stored == SQLITE_FLOAT) {
            sink.Int(sqlite3_value_double(v) != 0 ? 1 : 0);
        } else {
            const std::string_view t = ValueText(v);
            if (core::SameText(t, "true"))
                sink.Int(1);
            else if (core::SameText(t, "false"))
                sink.Int(0);
            else if (SqlNumber(t, d))
                sink.Int(d != 0 ? 1 : 0);
            else
                sink.Null();
        }
        return;
    case varDouble:
    case varDate:
        if (stored == SQLITE_INTEGER || stored == SQLITE_FLOAT) {
            sink.Real(sqlite3_value_double(v));
        } else {
            const std::string_view t = ValueText(v);
            const bool ok = type == varDate ? ParseJetDateLiteral(t, d) || core::TryStrToDateTime(t, d)
                                            : SqlNumber(t, d);
            if (ok)
                sink.Real(d);
            else
                sink.Null();
        }
        return;
    case varNull: sink.Null(); return;
    }
}

// Answers the value's storage class.
template <class Sink>
int ReadColumn(sqlite3_stmt* s, int column, TVarType type, Sink& sink)
{
    sqlite3_value* v = sqlite3_column_value(s, column);
    const int stored = sqlite3_value_type(v);
    if (stored == SQLITE_NULL) {
        sink.Null();
        return stored;
    }
    ReadValue(v, stored, type, sink);
    return stored;
}

// Whether a value of that storage class is held as stored by a field of the
// given kind: as the database would order it.
bool HeldAsStored(sqlite3_value* v, int stored, TVarType type)
{
    switch (stored) {
    case SQLITE_NULL: return true;
    case SQLITE_TEXT: return type == varString;
    case SQLITE_FLOAT: return type == varDouble || type == varDate;
    case SQLITE_INTEGER: {
        const std::int64_t i = sqlite3_value_int64(v);
        if (type == varInteger)
            return true;
        if (type == varBoolean)
            return i == 0 || i == 1;
        return (type == varDouble || type == varDate) && i >= -(std::int64_t{1} << 53) && i <= (std::int64_t{1} << 53);
    }
    default: return false;
    }
}

// Functions whose result differs between two runs on the same data.
bool GivesTheSameRowsEachTime(const std::string& sql)
{
    const std::string lower = core::LowerCase(sql);
    for (const char* name : {"random", "now(", "current_", "julianday", "strftime", "date(", "time(", "unixepoch",
                             "changes(", "last_insert_rowid"})
        if (lower.find(name) != std::string::npos)
            return false;
    return true;
}

// Writes into the last row of a record store.
struct StoreSink {
    TRecordStore& store;
    int column;
    void Null() {}
    void Int(std::int64_t v) { store.SetLastInt(column, v); }
    void Real(double v) { store.SetLastReal(column, v); }
    void Text(std::string_view v) { store.SetLastText(column, v); }
};

// Makes a variant of the field's kind.
struct VariantSink {
    TVarType type;
    Variant value;
    void Null() { value = Variant(); }
    void Int(std::int64_t v) { value = type == varBoolean ? Variant(v != 0) : Variant(v); }
    void Real(double v) { value = type == varDate ? Variant::FromDateTime(v) : Variant(v); }
    void Text(std::string_view v) { value = Variant(std::string(v)); }
};

} // namespace

TADOQuery::TADOQuery(core::TComponent* owner) : TDataSet(owner)
{
    sql_.OnChange = [this](core::TObject*) { SqlChanged(); };
}

TADOQuery::~TADOQuery()
{
    ShutDown();
    if (connection_ != nullptr) {
        connection_->RemoveDataSet(this);
        connection_->RemoveFreeNotification(this);
    }
}

void TADOQuery::SetConnection(TADOConnection* connection)
{
    if (connection == connection_)
        return;
    Close();
    if (connection_ != nullptr) {
        connection_->RemoveDataSet(this);
        connection_->RemoveFreeNotification(this);
    }
    connection_ = connection;
    if (connection_ != nullptr) {
        connection_->AddDataSet(this);
        connection_->FreeNotification(this);
    }
}

void TADOQuery::Notification(core::TComponent* component, core::TOperation operation)
{
    TDataSet::Notification(component, operation);
    if (operation == core::TOperation::opRemove && component == connection_)
        connection_ = nullptr;
}

void TADOQuery::SqlChanged() { Close(); }

sqlite3* TADOQuery::Database() const
{
    if (connection_ == nullptr)
        Error("Missing Connection or ConnectionString");
    connection_->Open();
    return connection_->Handle();
}

int TADOQuery::ExecSQL()
{
    sqlite3* db = Database();
    TStatement statement(db, connection_->TranslateSql(sql_.Text()));
    statement.Run();
    rowsAffected_ = sqlite3_changes(db);
    return rowsAffected_;
}

bool TADOQuery::CanWrite() const
{
    return connection_ != nullptr && connection_->Connected() && connection_->Mode() != cmRead &&
           !updateTable_.empty();
}

bool TADOQuery::CanWriteField(const TField* field) const
{
    const int index = field->Index();
    return index >= 0 && index < static_cast<int>(bindings_.size()) &&
           !bindings_[static_cast<std::size_t>(index)].tableColumn.empty();
}

// Rows read once and kept at hand after the query was closed.
struct TADOQuery::TKeptRows {
    TRecordStore rows;
    TOrderClause clause;
    TDataStamp stamp;
    std::vector<std::string> fields;
    std::vector<Binding> bindings;
    std::string updateTable;
    int keyColumn = -1;
    std::vector<unsigned char> exact;
    bool sortedHere = false;
};

// The statement of a result read in part, on its next row, and the kinds its fields read.
struct TADOQuery::TPendingRead {
    TStatement statement;
    std::vector<TVarType> types;
};

namespace {

// The kept results of a query besides its open one: the largest stay.
constexpr std::size_t kKeptResults = 2;

// Whether the order is the other one with every term turned the other way.
bool IsTurned(const std::vector<TOrderTerm>& other, const std::vector<TOrderTerm>& order)
{
    return !order.empty() && std::equal(order.begin(), order.end(), other.begin(), other.end(),
                                        [](const TOrderTerm& a, const TOrderTerm& b) {
                                            return a.Column == b.Column && a.JetText == b.JetText &&
                                                   a.Descending != b.Descending;
                                        });
}

} // namespace

void TADOQuery::CloseCursor()
{
    // A result read in part is not the whole result: it is not kept.
    if (pending_ != nullptr) {
        pending_.reset();
        keepable_ = false;
    }
    KeepRows();
    bindings_.clear();
    updateTable_.clear();
    keyColumn_ = -1;
    exact_.clear();
}

void TADOQuery::RefreshCursor()
{
    // A refresh is there to show what others changed: no kept rows serve it.
    DropKeptRows();
    // A refresh that fails leaves the rows as they were, and with them what
    // is known of their columns.
    const std::vector<Binding> bindings = bindings_;
    const std::string updateTable = updateTable_;
    const int keyColumn = keyColumn_;
    const std::vector<unsigned char> exact = exact_;
    const bool sortedHere = sortedHere_;
    CloseCursor();
    try {
        OpenCursor();
    } catch (...) {
        pending_.reset();
        keepable_ = false;
        bindings_ = bindings;
        updateTable_ = updateTable;
        keyColumn_ = keyColumn;
        exact_ = exact;
        sortedHere_ = sortedHere;
        throw;
    }
}

// Two equal stamps prove that the database holds what it held:
// "PRAGMA data_version" begins a read and changes when the read finds a
// commit of any other connection, of this process or another, since this one
// last read (by the file's change counter with a rollback journal, by the
// log's index in WAL mode); the file's data version changes with each commit
// to it, this connection's own included; the count of changed rows takes in
// this connection's temporary tables; the schema versions take in tables
// made, altered or dropped, a temporary one that hides another of the same
// name too. No stamp is taken inside a transaction (rows read there may be
// rolled back under them, and no count goes back with it) nor while another
// database is attached (its changes are in no stamp). The stamp is taken
// before the rows are read: a commit in between makes the stamp older than
// the rows, never newer.
bool TADOQuery::Stamp(sqlite3* db, TDataStamp& stamp) const
{
    if (sqlite3_get_autocommit(db) == 0 || sqlite3_db_name(db, 2) != nullptr)
        return false;
    const auto number = [db](const char* pragma) {
        TStatement statement(db, pragma);
        return statement.Step() ? sqlite3_column_int64(statement.Handle(), 0) : -1;
    };
    stamp.connection = connection_->OpenSerial();
    stamp.dataVersion = number("PRAGMA data_version");
    unsigned int fileVersion = 0;
    const bool known = sqlite3_file_control(db, "main", SQLITE_FCNTL_DATA_VERSION, &fileVersion) == SQLITE_OK;
    stamp.fileVersion = fileVersion;
    stamp.schema = number("PRAGMA main.schema_version");
    stamp.tempSchema = number("PRAGMA temp.schema_version");
    stamp.changes = sqlite3_total_changes64(db);
    return known && stamp.dataVersion >= 0 && stamp.schema >= 0 && stamp.tempSchema >= 0;
}

std::vector<std::string> TADOQuery::FieldSignature() const
{
    std::vector<std::string> signature;
    for (int k = 0; k < FieldCount(); ++k) {
        const TField* f = Fields()->Fields(k);
        signature.push_back(f->FieldName() + "/" + std::to_string(static_cast<int>(f->DataType())));
    }
    return signature;
}

bool TADOQuery::SortKeysFor(const std::vector<TOrderTerm>& terms, std::vector<TRowSortKey>& keys) const
{
    keys.clear();
    for (const TOrderTerm& term : terms) {
        const TField* field = FindField(term.Column);
        if (field == nullptr || field->Index() < 0)
            return false;
        keys.push_back({field->Index(), term.JetText, term.Descending});
    }
    return true;
}

bool TADOQuery::KeysHoldStoredValues(const std::vector<TRowSortKey>& keys,
                                     const std::vector<unsigned char>& exact) const
{
    return std::all_of(keys.begin(), keys.end(), [&](const TRowSortKey& key) {
        return key.Column < static_cast<int>(exact.size()) && exact[static_cast<std::size_t>(key.Column)] != 0;
    });
}

void TADOQuery::KeepRows()
{
    // Only the whole result as it was read: never rows inserted, posted or
    // deleted since, nor an emptied cursor.
    const bool keep = keepable_ && RecordsAsRead();
    keepable_ = false;
    if (!keep)
        return;
    auto kept = std::make_unique<TKeptRows>();
    kept->rows = std::move(Records());
    Records().Reset(0);
    kept->clause = std::move(clause_);
    kept->stamp = stamp_;
    kept->fields = FieldSignature();
    kept->bindings = bindings_;
    kept->updateTable = updateTable_;
    kept->keyColumn = keyColumn_;
    kept->exact = exact_;
    kept->sortedHere = sortedHere_;
    // One result per statement; over the limit the smallest goes: it is the quickest to read again.
    std::erase_if(kept_, [&](const std::unique_ptr<TKeptRows>& k) { return k->clause.Head == kept->clause.Head; });
    kept_.push_back(std::move(kept));
    if (kept_.size() > kKeptResults) {
        const auto smallest = std::min_element(kept_.begin(), kept_.end(), [](const auto& a, const auto& b) {
            return a->rows.Count() < b->rows.Count();
        });
        // Its memory serves the next reading.
        Records().Recycle(std::move((*smallest)->rows));
        kept_.erase(smallest);
    }
}

void TADOQuery::DropKeptRows()
{
    for (const std::unique_ptr<TKeptRows>& kept : kept_)
        spare_.Recycle(std::move(kept->rows));
    kept_.clear();
}

bool TADOQuery::TakeKeptRows(const TOrderClause& clause, const TDataStamp& stamp)
{
    // Rows read before the database changed are of no use any more; their memory serves the next reading.
    std::erase_if(kept_, [&](const std::unique_ptr<TKeptRows>& k) {
        if (k->stamp == stamp)
            return false;
        Records().Recycle(std::move(k->rows));
        return true;
    });
    const std::vector<std::string> fields = FieldSignature();
    const auto found = std::find_if(kept_.begin(), kept_.end(), [&](const std::unique_ptr<TKeptRows>& k) {
        return k->clause.Head == clause.Head && k->fields == fields;
    });
    if (found == kept_.end())
        return false;
    TKeptRows& kept = **found;
    const bool sameOrder = kept.clause.Terms == clause.Terms;
    std::vector<TRowSortKey> keys;
    if (!sameOrder && !(SortKeysFor(clause.Terms, keys) && KeysHoldStoredValues(keys, kept.exact)))
        return false;
    spare_.Recycle(std::move(Records()));
    Records() = std::move(kept.rows);
    bindings_ = std::move(kept.bindings);
    updateTable_ = std::move(kept.updateTable);
    keyColumn_ = kept.keyColumn;
    exact_ = std::move(kept.exact);
    sortedHere_ = kept.sortedHere;
    const bool turned = sortedHere_ && IsTurned(kept.clause.Terms, clause.Terms);
    kept_.erase(found);
    if (!sameOrder) {
        // The same order turned round needs no sort of rows sorted here.
        if (turned)
            TurnRows(Records(), keys);
        else
            SortRows(Records(), keys);
        sortedHere_ = true;
    }
    return true;
}

void TADOQuery::OpenCursor()
{
    sqlite3* db = Database();
    const std::string sql = connection_->TranslateSql(sql_.Text());
    keepable_ = false;
    // Rows of a statement with persistent fields and no changing parts may be
    // kept, taken back, and put in order here.
    TOrderClause clause;
    const bool canOrder = !DefaultFields() && FieldCount() > 0 && SplitOrderClause(sql, clause);
    TDataStamp stamp;
    const bool canKeep = canOrder && KeepsRows() && GivesTheSameRowsEachTime(sql) && Stamp(db, stamp);
    if (!canOrder) {
        ReadRows(db, sql, FirstRows());
    } else if (!canKeep || !TakeKeptRows(clause, stamp)) {
        // The database sorts in Jet's text order a comparison at a time; here
        // each text's key is made once.
        std::vector<TRowSortKey> keys;
        const bool sortHere =
            std::any_of(clause.Terms.begin(), clause.Terms.end(), [](const TOrderTerm& t) { return t.JetText; }) &&
            SortKeysFor(clause.Terms, keys);
        ReadRows(db, sortHere ? clause.Head : sql, sortHere ? 0 : FirstRows());
        sortedHere_ = false;
        if (sortHere) {
            if (KeysHoldStoredValues(keys, exact_)) {
                SortRows(Records(), keys);
                sortedHere_ = true;
            } else {
                ReadRows(db, sql);
            }
        }
    }
    if (!canKeep)
        return;
    clause_ = std::move(clause);
    stamp_ = stamp;
    keepable_ = true;
}

void TADOQuery::ReadRows(sqlite3* db, const std::string& sql, int rows)
{
    pending_.reset();
    updateTable_.clear();
    keyColumn_ = -1;
    TStatement statement(db, sql);
    BindParameters(statement);
    sqlite3_stmt* s = statement.Handle();
    const int columnCount = sqlite3_column_count(s);
    if (columnCount == 0)
        Error("CommandText does not return a result set");

    std::vector<ColumnInfo> columns(static_cast<std::size_t>(columnCount));
    std::vector<std::string> names;
    for (int i = 0; i < columnCount; ++i) {
        ColumnInfo& c = columns[static_cast<std::size_t>(i)];
        c.name = sqlite3_column_name(s, i);
        if (const char* d = sqlite3_column_decltype(s, i))
            c.declType = core::UpperCase(d);
        const char* database = sqlite3_column_database_name(s, i);
        const char* table = sqlite3_column_table_name(s, i);
        const char* origin = sqlite3_column_origin_name(s, i);
        if (database != nullptr && std::string_view(database) == "main" && table && origin) {
            c.table = table;
            c.origin = origin;
            if (updateTable_.empty())
                updateTable_ = table;
        }
        names.push_back(c.name);
    }

    // The update table's integer primary key is its rowid: the key of a record.
    std::string keyName;
    bool keyAutoInc = false;
    if (!updateTable_.empty()) {
        TStatement info(db, "PRAGMA table_info(" + QuoteName(updateTable_) + ")");
        int keys = 0;
        std::string keyType;
        while (info.Step()) {
            if (sqlite3_column_int(info.Handle(), 5) > 0) {
                ++keys;
                keyName = reinterpret_cast<const char*>(sqlite3_column_text(info.Handle(), 1));
                const char* type = reinterpret_cast<const char*>(sqlite3_column_text(info.Handle(), 2));
                keyType = type ? type : "";
            }
        }
        if (keys != 1 || !core::SameText(keyType, "INTEGER"))
            keyName.clear();
        if (!keyName.empty()) {
            int autoinc = 0;
            sqlite3_table_column_metadata(db, "main", updateTable_.c_str(), keyName.c_str(), nullptr, nullptr,
                                          nullptr, nullptr, &autoinc);
            keyAutoInc = autoinc != 0;
        }
    }
    for (int i = 0; i < columnCount && keyColumn_ < 0; ++i) {
        const ColumnInfo& c = columns[static_cast<std::size_t>(i)];
        if (!keyName.empty() && c.table == updateTable_ && core::SameText(c.origin, keyName))
            keyColumn_ = i;
    }

    // A computed column's type shows in its first value.
    bool hasRow = statement.Step();

    auto create = [&](int column) -> TField* {
        const ColumnInfo& c = columns[static_cast<std::size_t>(column)];
        TFieldType type = TypeOfDeclaration(c.declType);
        if (type == ftUnknown)
            type = hasRow ? TypeOfValue(sqlite3_column_type(s, column)) : ftWideString;
        if (column == keyColumn_ && keyAutoInc)
            type = ftAutoInc;
        TField* f = CreateField(type, this);
        if (type == ftWideString) {
            const int size = DeclaredSize(c.declType);
            f->SetSize(size > 0 ? size : 255);
        }
        if (c.table != updateTable_ || c.table.empty())
            f->SetReadOnly(true);
        return f;
    };
    const std::vector<int> fieldColumns = BindFields(names, create);

    const int fieldCount = static_cast<int>(fieldColumns.size());
    bindings_.assign(static_cast<std::size_t>(fieldCount), Binding());
    std::vector<TVarType> types;
    for (int k = 0; k < fieldCount; ++k) {
        TField* f = Fields()->Fields(k);
        const int column = fieldColumns[static_cast<std::size_t>(k)];
        const ColumnInfo& c = columns[static_cast<std::size_t>(column)];
        const TFieldType declared = TypeOfDeclaration(c.declType);
        if (declared != ftUnknown && IsTextType(declared) != IsTextType(f->DataType()) && f->DataType() != ftUnknown)
            Error("Type mismatch for field '" + f->FieldName() + "', expecting: " + FieldTypeName(f->DataType()) +
                  " actual: " + FieldTypeName(declared));
        Binding& b = bindings_[static_cast<std::size_t>(k)];
        b.column = column;
        if (!c.table.empty() && c.table == updateTable_)
            b.tableColumn = c.origin;
        if (declared == ftWideString)
            b.maxChars = DeclaredSize(c.declType);
        types.push_back(f->ValueType());
    }

    Records().Reset(fieldCount);
    Records().Recycle(std::move(spare_));
    exact_.assign(static_cast<std::size_t>(fieldCount), 1);
    if (!hasRow)
        return;
    pending_ = std::make_unique<TPendingRead>(TPendingRead{std::move(statement), std::move(types)});
    FetchRecords(rows);
}

void TADOQuery::FetchRecords(int rows)
{
    if (pending_ == nullptr)
        return;
    TRecordStore& records = Records();
    sqlite3_stmt* s = pending_->statement.Handle();
    const std::vector<TVarType>& types = pending_->types;
    const int fieldCount = static_cast<int>(types.size());
    bool hasRow = true;
    try {
        for (int read = 0; hasRow && (rows <= 0 || read < rows); ++read) {
            records.AppendRow();
            for (int k = 0; k < fieldCount; ++k) {
                StoreSink sink{records, k};
                const TVarType type = types[static_cast<std::size_t>(k)];
                sqlite3_value* v = sqlite3_column_value(s, bindings_[static_cast<std::size_t>(k)].column);
                const int stored = sqlite3_value_type(v);
                if (stored == SQLITE_NULL)
                    continue; // the row's cells start empty
                ReadValue(v, stored, type, sink);
                if (exact_[static_cast<std::size_t>(k)] != 0 && !HeldAsStored(v, stored, type))
                    exact_[static_cast<std::size_t>(k)] = 0;
            }
            if (keyColumn_ >= 0)
                records.SetLastRowId(sqlite3_column_int64(s, keyColumn_));
            hasRow = pending_->statement.Step();
        }
    } catch (...) {
        // The rows read stay; the result is no longer read on.
        pending_.reset();
        keepable_ = false;
        throw;
    }
    if (!hasRow)
        pending_.reset();
}

void TADOQuery::CheckTextLengths() const
{
    for (int k = 0; k < static_cast<int>(bindings_.size()); ++k) {
        const Binding& b = bindings_[static_cast<std::size_t>(k)];
        const Variant& value = BufferValue(k);
        if (b.tableColumn.empty() || b.maxChars <= 0 || !BufferChanged(k) || value.VarType() != varString)
            continue;
        const std::size_t length = core::Utf8Length(value.AsString());
        if (length > static_cast<std::size_t>(b.maxChars))
            throw EADOError(TextTooLongMessage(Fields()->Fields(k)->DisplayLabel(), length,
                                               static_cast<std::size_t>(b.maxChars)));
    }
}

std::int64_t TADOQuery::LocateRow(int position)
{
    const std::int64_t known = Records().RowId(position);
    if (known != TRecordStore::kNoRowId)
        return known;
    // No key: the row whose columns hold the values read.
    std::string where;
    std::vector<Variant> values;
    for (int k = 0; k < static_cast<int>(bindings_.size()); ++k) {
        const Binding& b = bindings_[static_cast<std::size_t>(k)];
        if (b.tableColumn.empty())
            continue;
        const TVarType type = Fields()->Fields(k)->ValueType();
        if (!where.empty())
            where += " AND ";
        // A Boolean read as true may be stored as 1 or -1.
        where += type == varBoolean ? "(" + QuoteName(b.tableColumn) + " <> 0) IS ?" : QuoteName(b.tableColumn) + " IS ?";
        values.push_back(Records().Get(position, k, type));
    }
    if (where.empty())
        throw EADOError(kRowLost);
    TStatement find(Database(), "SELECT rowid FROM " + QuoteName(updateTable_) + " WHERE " + where + " LIMIT 1");
    for (std::size_t i = 0; i < values.size(); ++i)
        find.Bind(static_cast<int>(i + 1), values[i]);
    if (!find.Step())
        throw EADOError(kRowLost);
    const std::int64_t rowId = sqlite3_column_int64(find.Handle(), 0);
    Records().SetRowId(position, rowId);
    return rowId;
}

void TADOQuery::ReadBack(std::int64_t rowId)
{
    std::string list;
    std::vector<int> fields;
    for (int k = 0; k < static_cast<int>(bindings_.size()); ++k) {
        const Binding& b = bindings_[static_cast<std::size_t>(k)];
        if (b.tableColumn.empty())
            continue;
        list += (list.empty() ? "" : ", ") + QuoteName(b.tableColumn);
        fields.push_back(k);
    }
    if (fields.empty())
        return;
    TStatement read(Database(), "SELECT " + list + " FROM " + QuoteName(updateTable_) + " WHERE rowid = ?");
    read.Bind(1, Variant(rowId));
    if (!read.Step())
        return;
    for (std::size_t i = 0; i < fields.size(); ++i) {
        VariantSink sink{Fields()->Fields(fields[i])->ValueType(), Variant()};
        ReadColumn(read.Handle(), static_cast<int>(i), sink.type, sink);
        SetBufferValue(fields[i], sink.value);
    }
}

void TADOQuery::WriteRecord(int position, bool inserting)
{
    CheckTextLengths();
    sqlite3* db = Database();
    std::vector<int> changed;
    for (int k = 0; k < static_cast<int>(bindings_.size()); ++k)
        if (!bindings_[static_cast<std::size_t>(k)].tableColumn.empty() && BufferChanged(k))
            changed.push_back(k);
    const std::string table = QuoteName(updateTable_);

    std::int64_t rowId;
    if (inserting) {
        std::string sql = "INSERT INTO " + table;
        if (changed.empty()) {
            sql += " DEFAULT VALUES";
        } else {
            std::string names, marks;
            for (int k : changed) {
                names += (names.empty() ? "" : ", ") + QuoteName(bindings_[static_cast<std::size_t>(k)].tableColumn);
                marks += marks.empty() ? "?" : ", ?";
            }
            sql += " (" + names + ") VALUES (" + marks + ")";
        }
        TStatement insert(db, sql);
        for (std::size_t i = 0; i < changed.size(); ++i)
            insert.Bind(static_cast<int>(i + 1), BufferValue(changed[i]));
        insert.Run();
        rowId = sqlite3_last_insert_rowid(db);
        Records().SetRowId(position, rowId);
    } else {
        if (changed.empty())
            return;
        rowId = LocateRow(position);
        std::string sets;
        for (int k : changed)
            sets += (sets.empty() ? "" : ", ") + QuoteName(bindings_[static_cast<std::size_t>(k)].tableColumn) + " = ?";
        TStatement update(db, "UPDATE " + table + " SET " + sets + " WHERE rowid = ?");
        for (std::size_t i = 0; i < changed.size(); ++i)
            update.Bind(static_cast<int>(i + 1), BufferValue(changed[i]));
        update.Bind(static_cast<int>(changed.size() + 1), Variant(rowId));
        update.Run();
        if (sqlite3_changes(db) == 0)
            throw EADOError(kRowLost);
    }
    // The values as stored: the new key, defaults, the column's own conversions.
    ReadBack(rowId);
}

void TADOQuery::RemoveRecord(int position)
{
    const std::int64_t rowId = LocateRow(position);
    TStatement remove(Database(), "DELETE FROM " + QuoteName(updateTable_) + " WHERE rowid = ?");
    remove.Bind(1, Variant(rowId));
    remove.Run();
    if (sqlite3_changes(Database()) == 0)
        throw EADOError(kRowLost);
}

} // namespace data
