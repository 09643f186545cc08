#pragma once
// Turns SQL as the program writes it for the Jet engine into SQL that SQLite
// runs with the same meaning. A small tokenizer walks the text; the insides of
// string literals, bracketed names and comments are never touched.
//
// - #yyyy/mm/dd# and #yyyy/mm/dd hh:nn[:ss]# (also #m/d/yyyy#, "-" between
//   the date parts, a time alone, AM/PM) become the REAL number of days since
//   1899-12-30 that the database stores for that local date and time.
// - YEAR(x), MONTH(x), DAY(x) are wrapped as CAST(YEAR(x) AS INTEGER): the
//   cast gives the result numeric affinity, so YEAR(d)='2010' compares as Jet
//   compares, number with number. The functions themselves are registered on
//   the connection (SqlFunctions.h).
// - "text" in double quotes is a string literal in Jet; it becomes 'text'.
// - Every ORDER BY term that names no collation gets Jet's text order
//   ("x DESC" becomes "x COLLATE JETTEXT DESC", TextOrder.h); numbers and
//   dates keep their own order. A term that is only the name of a column
//   holding no text (nonText, names in lower case) is left as it is, so that
//   an index can still give the rows in that order without a sort.
//
// A malformed date literal raises EDatabaseError naming it.

#include <string>
#include <string_view>
#include <unordered_set>

namespace data {

using TNonTextColumns = std::unordered_set<std::string>;

std::string TranslateJetSql(std::string_view sql, const TNonTextColumns* nonText = nullptr);

// The value of the inside of a date literal (without the # marks); false when
// it is not a date.
bool ParseJetDateLiteral(std::string_view text, double& value);

} // namespace data
