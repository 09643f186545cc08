#pragma once
// The order of texts in the register database, as Jet sorts them: by the
// Czech alphabet first (a, b, c, č, d, ... h, ch, i, ... r, ř, s, š, ... z,
// ž), where letter case and the accents of á, é, ě, í, ó, ú, ů, ý, ď, ť, ň
// (and of the other Latin letters) do not count; then by those accents;
// then lower case before upper case; last by the bytes, so that only equal
// texts compare equal. Blanks, digits and ASCII punctuation come before the
// letters, other scripts after them.
//
// The SQL translator gives every ORDER BY term this collation by its name;
// numbers and dates are not texts and keep their own order.

#include <cstddef>
#include <string>
#include <string_view>

namespace data {

inline constexpr const char* JetTextCollation = "JETTEXT";

// Negative, 0 or positive as a sorts before, with or after b.
int CompareJetText(std::string_view a, std::string_view b);

// Appends the text's letters as bytes whose order (byte by byte, a shorter
// run first) is the order of the first level above, the alphabet alone:
// texts whose keys differ compare as their keys do; texts with equal keys
// differ at most in accents, letter case or bytes (CompareJetText decides).
// Sorting many texts by such keys spares the comparison its letter-by-letter work.
void AppendJetTextKey(std::string_view text, std::string& key);

// The same key written at out, which has room for JetTextKeyRoom(text)
// bytes (a byte of the text gives at most four); answers the bytes written.
std::size_t WriteJetTextKey(std::string_view text, char* out);
constexpr std::size_t JetTextKeyRoom(std::string_view text) { return 4 * text.size(); }

} // namespace data
