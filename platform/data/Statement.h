#pragma once
// A prepared SQLite statement that finalizes itself, and the binding of our
// variants to its parameters. Errors become EADOError with the engine's
// message in Czech (EngineErrorText).

#include "platform/data/Variant.h"

#include <sqlite3.h>

#include <string>
#include <string_view>

namespace data {

class TStatement {
public:
    TStatement() = default;
    TStatement(sqlite3* db, std::string_view sql);
    TStatement(TStatement&& other) noexcept : db_(other.db_), stmt_(other.stmt_) { other.stmt_ = nullptr; }
    TStatement& operator=(TStatement&& other) noexcept;
    ~TStatement() { sqlite3_finalize(stmt_); }

    sqlite3_stmt* Handle() const noexcept { return stmt_; }
    explicit operator bool() const noexcept { return stmt_ != nullptr; }
    // Binds parameter index (from 1).
    void Bind(int index, const Variant& value);
    // True while a row is available; false when done.
    bool Step();
    // Runs a statement that returns no rows.
    void Run();
    void Reset() { sqlite3_reset(stmt_); }

private:
    [[noreturn]] void Fail(int resultCode) const;

    sqlite3* db_ = nullptr;
    sqlite3_stmt* stmt_ = nullptr;
};

// Quotes a name of a table or column for SQL: "name", with inner quotes doubled.
std::string QuoteName(std::string_view name);

} // namespace data
