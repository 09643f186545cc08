#pragma once
// Character data as it stands in XML: escaping and unescaping of references,
// line ends, blanks; and the comparison by which names are matched.

#include "xml/Layout.h"

#include <string>
#include <string_view>

namespace xml {

// -1, 0 or 1, ignoring letter case for ASCII, Latin-1 and Latin Extended-A
// letters (every Czech letter), the same on every machine.
int CompareTextLocale(std::string_view a, std::string_view b);
// CompareTextLocale(a, b) == 0, with a byte-wise fast path for the usual case.
bool SameName(std::string_view a, std::string_view b);

// ASCII letters in lower case, other bytes as they are.
constexpr char AsciiLower(char c) noexcept { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c + 32) : c; }

// The five characters & < > ' " as &amp; &lt; &gt; &apos; &quot;.
std::string EscapeText(std::string_view text);
// Resolves the five references and numeric character references (decimal, or
// hexadecimal after "x"); a reference to CR gives LF. Unknown references, a
// "&" without ";" before the next "&", and references to no character
// (0, surrogates, beyond U+10FFFF) stay as they are.
std::string UnescapeText(std::string_view text);
// The number in the body of a numeric character reference (what stands
// between "&#" and ";": decimal digits, or "x" and hexadecimal digits), or -1
// when it is no such number. A number beyond U+10FFFF, however long, gives
// kBeyondUnicode.
inline constexpr long kBeyondUnicode = 0x110000;
long CharacterReferenceValue(std::string_view body);
// Whether that number names a character (0, surrogates and kBeyondUnicode do not).
constexpr bool NamesCharacter(long value) noexcept
{
    return value > 0 && (value < 0xD800 || value > 0xDFFF) && value < kBeyondUnicode;
}

// CR LF and a lone CR become LF.
std::string NormalizeLineBreaks(std::string_view text);
// Each LF becomes the style's line break.
std::string ApplyLineBreakStyle(std::string_view text, TxLineBreakStyle style);

// Blanks here are the bytes below 33.
std::string TrimBlanks(std::string_view text);
inline std::string_view TrimmedView(std::string_view text);
std::string TrimBlanksFlag(std::string_view text, bool& trimmed);

struct TxSplitText {
    std::string_view Leading;
    std::string_view Core;
    std::string_view Trailing;
};
// Leading blanks, the core, trailing blanks; a text of blanks only is all leading.
TxSplitText SplitBlanksSlow(std::string_view text);
inline TxSplitText SplitBlanks(std::string_view text)
{
    // Most texts and names begin and end with no blank: no call for them.
    if (!text.empty() && static_cast<unsigned char>(text.front()) > 32 && static_cast<unsigned char>(text.back()) > 32)
        return {text.substr(0, 0), text, text.substr(text.size())};
    return SplitBlanksSlow(text);
}
// Whether blanks are the one space that separates by default; any other run
// of blanks in a tag is reported as "non-default chardata".
constexpr bool IsSingleSpace(std::string_view blanks) noexcept { return blanks.size() == 1 && blanks[0] == ' '; }

inline std::string_view TrimmedView(std::string_view text) { return SplitBlanks(text).Core; }

// Without any tab, LF, CR or space.
std::string RemoveBlanks(std::string_view text);
// Every "," as ".".
std::string CommaToPoint(std::string_view text);

} // namespace xml
