#pragma once
// Conversions between UTF-8, UTF-16 and code points. Text inside the program
// is UTF-8; a malformed byte sequence becomes U+FFFD and costs exactly the
// bytes that were malformed, never the byte after them.

#include <cstddef>
#include <string>
#include <string_view>

namespace core {

inline constexpr char32_t kReplacementChar = 0xFFFD;

// Reads one code point at pos and advances pos past it.
char32_t NextUtf8(std::string_view text, std::size_t& pos);
// Appends the UTF-8 form of cp (surrogates and values past U+10FFFF become U+FFFD).
void AppendUtf8(std::string& out, char32_t cp);

std::u32string Utf8ToUtf32(std::string_view text);
std::string Utf32ToUtf8(std::u32string_view text);
// Characters outside the basic plane become surrogate pairs.
std::u16string Utf8ToUtf16(std::string_view text);
// Pairs of surrogates become one character; a lone surrogate becomes U+FFFD.
std::string Utf16ToUtf8(std::u16string_view text);

// Length in characters, not bytes.
std::size_t Utf8Length(std::string_view text);
// The characters from index start (0-based) on, at most count of them.
std::string Utf8Copy(std::string_view text, std::size_t start, std::size_t count = std::string::npos);
// True when text is well-formed UTF-8.
bool IsValidUtf8(std::string_view text);

} // namespace core
