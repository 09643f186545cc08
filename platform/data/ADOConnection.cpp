#include "platform/data/ADOConnection.h"

#include "platform/core/Letters.h"
#include "platform/data/ADOQuery.h"
#include "platform/data/DataError.h"
#include "platform/data/EngineError.h"
#include "platform/data/JetSql.h"
#include "platform/data/SqlFunctions.h"
#include "platform/data/Statement.h"

#include <sqlite3.h>

#include <algorithm>
#include <string_view>
#include <unordered_set>
#include <sys/stat.h>

namespace data {

namespace {

std::string Trim(const std::string& text)
{
    const std::size_t first = text.find_first_not_of(" \t");
    if (first == std::string::npos)
        return {};
    const std::size_t last = text.find_last_not_of(" \t");
    return text.substr(first, last - first + 1);
}

} // namespace

TADOConnection::TADOConnection(core::TComponent* owner) : core::TComponent(owner) {}

TADOConnection::~TADOConnection()
{
    // The data sets outlive us only as closed ones without a connection.
    while (!dataSets_.empty())
        dataSets_.back()->SetConnection(nullptr);
    if (db_ != nullptr)
        sqlite3_close_v2(db_);
}

std::vector<std::pair<std::string, std::string>> TADOConnection::ParseConnectionString(const std::string& text)
{
    std::vector<std::pair<std::string, std::string>> pairs;
    std::size_t i = 0;
    while (i < text.size()) {
        const std::size_t eq = text.find('=', i);
        const std::size_t semi = text.find(';', i);
        if (eq == std::string::npos || (semi != std::string::npos && semi < eq)) {
            // A piece without "=": nothing to read in it.
            if (semi == std::string::npos)
                break;
            i = semi + 1;
            continue;
        }
        std::string key = Trim(text.substr(i, eq - i));
        std::size_t j = eq + 1;
        while (j < text.size() && (text[j] == ' ' || text[j] == '\t'))
            ++j;
        std::string value;
        if (j < text.size() && (text[j] == '"' || text[j] == '\'')) {
            // A quoted value may hold ";"; the quote itself is doubled inside.
            const char quote = text[j++];
            while (j < text.size()) {
                if (text[j] == quote) {
                    if (j + 1 < text.size() && text[j + 1] == quote) {
                        value += quote;
                        j += 2;
                        continue;
                    }
                    ++j;
                    break;
                }
                value += text[j++];
            }
            const std::size_t next = text.find(';', j);
            i = next == std::string::npos ? text.size() : next + 1;
        } else {
            const std::size_t end = text.find(';', j);
            value = Trim(text.substr(j, end == std::string::npos ? std::string::npos : end - j));
            i = end == std::string::npos ? text.size() : end + 1;
        }
        if (!key.empty())
            pairs.emplace_back(std::move(key), std::move(value));
    }
    return pairs;
}

void TADOConnection::SetConnectionString(const std::string& text)
{
    if (Connected())
        DatabaseError("Operation is not allowed when the object is open.", this);
    connectionString_ = text;
}

void TADOConnection::SetMode(TConnectMode mode)
{
    if (Connected())
        DatabaseError("Operation is not allowed when the object is open.", this);
    mode_ = mode;
}

void TADOConnection::SetBusyTimeout(int milliseconds)
{
    busyTimeout_ = std::max(0, milliseconds);
    if (db_ != nullptr)
        sqlite3_busy_timeout(db_, busyTimeout_);
}

void TADOConnection::SetConnected(bool connected)
{
    if (connected)
        Open();
    else
        Close();
}

void TADOConnection::Open()
{
    if (Connected())
        return;
    if (BeforeConnect)
        BeforeConnect(this);

    std::string provider, file;
    bool hasProvider = false;
    for (const auto& [key, value] : ParseConnectionString(connectionString_)) {
        if (core::SameText(key, "Provider")) {
            provider = value;
            hasProvider = true;
        } else if (core::SameText(key, "Data Source")) {
            file = value;
        }
    }
    if (!hasProvider)
        throw EADOError("Připojovací řetězec neuvádí poskytovatele (Provider).");
    if (!core::SameText(provider, kProvider))
        throw EADOError("Poskytovatel '" + provider + "' nebyl nalezen. Možná není správně nainstalován.");
    if (file.empty())
        throw EADOError("Připojovací řetězec neuvádí databázový soubor (Data Source).");
    struct stat st {};
    if (::stat(file.c_str(), &st) != 0 || !S_ISREG(st.st_mode))
        throw EADOError("Databázový soubor '" + file + "' nebyl nalezen.");

    // Never SQLITE_OPEN_CREATE: a missing file must stay missing.
    const int flags = (mode_ == cmRead ? SQLITE_OPEN_READONLY : SQLITE_OPEN_READWRITE) | SQLITE_OPEN_NOMUTEX;
    sqlite3* db = nullptr;
    const int rc = sqlite3_open_v2(file.c_str(), &db, flags, nullptr);
    auto fail = [&](const std::string& message) {
        sqlite3_close_v2(db);
        throw EADOError(message);
    };
    if (rc != SQLITE_OK)
        fail("Databázi '" + file + "' nelze otevřít. " + EngineErrorText(db, rc));
    sqlite3_extended_result_codes(db, 1);
    sqlite3_busy_timeout(db, busyTimeout_);
    try {
        RegisterJetFunctions(db);
        // Sorting a large register stays in memory; reading the schema here
        // also proves the file is a database at all.
        TStatement(db, "PRAGMA temp_store = MEMORY").Run();
        TStatement(db, "PRAGMA cache_size = -32768").Run();
        if (mode_ == cmShareExclusive)
            TStatement(db, "PRAGMA locking_mode = EXCLUSIVE").Run();
        TStatement(db, "SELECT count(*) FROM sqlite_master").Run();
    } catch (const EADOError& e) {
        fail("Databázi '" + file + "' nelze otevřít. " + e.Message());
    }
    static std::uint64_t openings = 0;
    db_ = db;
    openSerial_ = ++openings;
    fileName_ = file;
    if (AfterConnect)
        AfterConnect(this);
}

void TADOConnection::Close()
{
    if (!Connected())
        return;
    if (BeforeDisconnect)
        BeforeDisconnect(this);
    const std::vector<TADOQuery*> sets = dataSets_;
    for (TADOQuery* q : sets)
        q->Close();
    sqlite3_close_v2(db_);
    db_ = nullptr;
    nonTextColumns_.clear();
    schemaVersion_ = -1;
    fileName_.clear();
    if (AfterDisconnect)
        AfterDisconnect(this);
}

int TADOConnection::Execute(const std::string& sql)
{
    Open();
    TStatement statement(db_, TranslateSql(sql));
    statement.Run();
    return sqlite3_changes(db_);
}

namespace {

// A declared type SQLite gives numeric affinity (INTEGER, REAL, NUMERIC):
// the column stores numbers, dates and Booleans, never text the program wrote.
bool DeclaredTypeHoldsNoText(std::string_view declared)
{
    const std::string type = core::UpperCase(declared);
    const auto has = [&](const char* part) { return type.find(part) != std::string::npos; };
    if (has("INT"))
        return true;
    if (type.empty() || has("CHAR") || has("CLOB") || has("TEXT") || has("BLOB"))
        return false;
    return true;
}

} // namespace

std::string TADOConnection::TranslateSql(std::string_view sql)
{
    Open();
    TStatement version(db_, "PRAGMA schema_version");
    const int schemaVersion = version.Step() ? sqlite3_column_int(version.Handle(), 0) : -1;
    if (schemaVersion != schemaVersion_) {
        // A name counts only when no table holds text under it.
        nonTextColumns_.clear();
        std::unordered_set<std::string> textColumns;
        TStatement columns(db_, "SELECT lower(c.name), c.type FROM sqlite_schema AS t, pragma_table_info(t.name) AS c "
                                "WHERE t.type = 'table'");
        while (columns.Step()) {
            const auto* name = reinterpret_cast<const char*>(sqlite3_column_text(columns.Handle(), 0));
            const auto* type = reinterpret_cast<const char*>(sqlite3_column_text(columns.Handle(), 1));
            if (name == nullptr)
                continue;
            if (DeclaredTypeHoldsNoText(type != nullptr ? type : ""))
                nonTextColumns_.insert(name);
            else
                textColumns.insert(name);
        }
        for (const std::string& name : textColumns)
            nonTextColumns_.erase(name);
        schemaVersion_ = schemaVersion;
    }
    return TranslateJetSql(sql, &nonTextColumns_);
}

void TADOConnection::AddDataSet(TADOQuery* dataSet) { dataSets_.push_back(dataSet); }

void TADOConnection::RemoveDataSet(TADOQuery* dataSet)
{
    dataSets_.erase(std::remove(dataSets_.begin(), dataSets_.end(), dataSet), dataSets_.end());
}

} // namespace data
