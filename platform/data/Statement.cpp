#include "platform/data/Statement.h"

#include "platform/data/DataError.h"
#include "platform/data/EngineError.h"

namespace data {

TStatement::TStatement(sqlite3* db, std::string_view sql) : db_(db)
{
    const char* tail = nullptr;
    const int rc = sqlite3_prepare_v2(db, sql.data(), static_cast<int>(sql.size()), &stmt_, &tail);
    if (rc != SQLITE_OK) {
        sqlite3_finalize(stmt_);
        stmt_ = nullptr;
        throw EADOError(EngineErrorText(db_, rc));
    }
    if (stmt_ == nullptr) // nothing but blanks
        throw EADOError("Příkaz SQL je prázdný.");
    // One statement only: what follows it may be blanks and semicolons.
    for (const char* p = tail; p != nullptr && p < sql.data() + sql.size(); ++p)
        if (*p != ' ' && *p != ';' && *p != '\r' && *p != '\n' && *p != '\t') {
            sqlite3_finalize(stmt_);
            stmt_ = nullptr;
            throw EADOError("Za koncem příkazu SQL následují další znaky.");
        }
}

TStatement& TStatement::operator=(TStatement&& other) noexcept
{
    if (this != &other) {
        sqlite3_finalize(stmt_);
        db_ = other.db_;
        stmt_ = other.stmt_;
        other.stmt_ = nullptr;
    }
    return *this;
}

void TStatement::Fail(int resultCode) const { throw EADOError(EngineErrorText(db_, resultCode)); }

void TStatement::Bind(int index, const Variant& value)
{
    int rc = SQLITE_OK;
    switch (value.VarType()) {
    case varNull: rc = sqlite3_bind_null(stmt_, index); break;
    case varInteger: rc = sqlite3_bind_int64(stmt_, index, value.AsInt64()); break;
    case varBoolean: rc = sqlite3_bind_int(stmt_, index, value.AsBoolean() ? 1 : 0); break;
    case varDouble:
    case varDate: rc = sqlite3_bind_double(stmt_, index, value.AsFloat()); break;
    case varString: {
        const std::string text = value.AsString();
        rc = sqlite3_bind_text(stmt_, index, text.data(), static_cast<int>(text.size()), SQLITE_TRANSIENT);
        break;
    }
    }
    if (rc != SQLITE_OK)
        Fail(rc);
}

bool TStatement::Step()
{
    const int rc = sqlite3_step(stmt_);
    if (rc == SQLITE_ROW)
        return true;
    if (rc == SQLITE_DONE)
        return false;
    // The statement's own error; reset keeps the statement usable.
    const std::string message = EngineErrorText(db_, rc);
    sqlite3_reset(stmt_);
    throw EADOError(message);
}

void TStatement::Run()
{
    while (Step()) {
    }
}

std::string QuoteName(std::string_view name)
{
    std::string out = "\"";
    for (char c : name) {
        if (c == '"')
            out += '"';
        out += c;
    }
    out += '"';
    return out;
}

} // namespace data
