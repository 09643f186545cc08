#pragma once
// What the database engine reports, in the words a Czech user reads, as the
// engine's own messages are on a Czech system: the result codes of SQLite
// that a user can meet (a locked or read-only database, a file that is no
// database, a full disk) each get a sentence of their own; an error in the
// SQL itself keeps SQLite's detail after a Czech lead.

#include <sqlite3.h>

#include <string>

namespace data {

// The message of a failed call on db that returned resultCode (extended or primary).
std::string EngineErrorText(sqlite3* db, int resultCode);

} // namespace data
