#pragma once
// The SQL functions a Jet-style query expects, registered on each SQLite
// connection: YEAR, MONTH and DAY over date-time values (REAL days since
// 1899-12-30), LIKE with % and _ that ignores letter case for every Czech
// letter (the platform's own case folding), replacing SQLite's like(), and
// the collation of Jet's text order (TextOrder.h) that ORDER BY terms get.

#include <string>
#include <string_view>
#include <vector>

struct sqlite3;

namespace data {

// A compiled LIKE pattern: % any run of characters, _ one character, the
// escape character (if any) makes the next character literal. Matching folds
// both sides to lower case character by character.
class TLikePattern {
public:
    explicit TLikePattern(std::string_view pattern, char32_t escape = 0);
    bool Matches(std::string_view text) const;
    char32_t Escape() const noexcept { return escape_; }

private:
    char32_t escape_;
    // Patterns made only of literal text and % match as folded pieces of
    // text found in order; the others as folded characters with wildcards.
    bool piecewise_ = true;
    std::vector<std::string> pieces_;
    std::vector<char32_t> tokens_;
};

// Registers YEAR, MONTH, DAY, like() and the text order on the connection; raises EADOError on failure.
void RegisterJetFunctions(sqlite3* db);

} // namespace data
