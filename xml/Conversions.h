#pragma once
// Conversions between UTF-8 (the library's text), UTF-16 and 8-bit code pages.
//
// The buffer forms write into the caller's buffer, which must be large enough
// (see each), and return what they produced. Those that read external text
// fold line ends: a CR becomes LF and sets the caller's folding flag, an LF
// right after it (in this call or, by the flag, at the start of the next) is
// dropped, so CR LF and a lone CR both become one LF across chunk borders.
//
// Characters outside the basic plane are UTF-16 surrogate pairs; a malformed
// UTF-8 sequence or a lone surrogate becomes U+FFFD and costs only its own bytes.
// Code page 0 is the ANSI code page (Windows-1250); 65001 is UTF-8. A code page
// the program does not know converts its upper half to U+FFFD and back to "?".

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace xml {

inline constexpr int kCodePageUtf8 = 65001;

// Folds line ends: a CR in wide becomes LF.
std::string WideToUtf8(std::u16string_view wide);
std::u16string Utf8ToWide(std::string_view text);

// Up to 3 output bytes per unit.
std::size_t Utf16ToUtf8Buffer(const char16_t* units, char* out, std::size_t count, bool& folding);
// The same over raw bytes, two per unit, in either byte order (no alignment needed).
std::size_t Utf16BytesToUtf8Buffer(const std::uint8_t* bytes, char* out, std::size_t unitCount, bool& folding,
                                   bool bigEndian);
// The units that can be decoded without the next chunk: all but a high
// surrogate at the end, whose partner has not arrived yet.
std::size_t Utf16CompleteUnits(const char16_t* units, std::size_t count);

// Up to count output units.
std::size_t Utf8ToUtf16Buffer(const char* bytes, char16_t* out, std::size_t count);

// Folds line ends.
std::string AnsiToUtf8(std::string_view text, int codePage);
// Up to 3 output bytes per input byte.
std::size_t AnsiToUtf8Buffer(const char* bytes, char* out, int codePage, bool& folding, std::size_t count);
// Copies UTF-8 as it is, folding line ends; up to count output bytes.
std::size_t Utf8CopyBuffer(const char* bytes, char* out, std::size_t count, bool& folding);

// One byte per character; "?" for a character the code page lacks.
std::string Utf8ToAnsi(std::string_view text, int codePage);
// Up to count output bytes; substitution is set when any "?" was put in.
std::size_t Utf8ToAnsiBuffer(const char* bytes, char* out, int codePage, bool& substitution, std::size_t count);

// The length 1 to 4 of the sequence at bytes (available bytes at most): the
// lead's length when the continuation bytes follow, else 1.
int Utf8SequenceLength(const char* bytes, std::size_t available);

// The length 1 to 4 of the well-formed UTF-8 character at bytes (available > 0
// bytes there); 0 when the bytes are no character (a stray continuation
// byte, an overlong form, a surrogate, a value past U+10FFFF); -1 when the
// bytes so far begin a character but available ends before it does.
int Utf8CharacterLength(const char* bytes, std::size_t available);

} // namespace xml
