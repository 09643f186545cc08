#pragma once
// The final ORDER BY of a statement, read so that the data layer can order
// rows it already holds as the database would.

#include <string>
#include <string_view>
#include <vector>

namespace data {

struct TOrderTerm {
    std::string Column;      // the name the term gives (after its table's, if any)
    bool JetText = false;    // COLLATE JETTEXT (TextOrder.h); else the database's own order
    bool Descending = false;
    bool operator==(const TOrderTerm&) const = default;
};

struct TOrderClause {
    std::string Head;              // the statement before its ORDER BY
    std::vector<TOrderTerm> Terms; // empty for a statement without one
};

// Splits SQL as the translator gives it (JetSql.h) at its last ORDER BY
// outside parentheses, literals and comments. False when that clause is
// anything but column names, each with at most COLLATE JETTEXT and ASC or
// DESC, or when anything follows it (LIMIT, OFFSET, ";").
bool SplitOrderClause(std::string_view sql, TOrderClause& clause);

} // namespace data
