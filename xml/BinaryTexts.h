#pragma once
// Binary data in XML text: base64 (RFC 4648, padded, no line breaks) and
// hexadecimal, and the breaking of long texts into lines.

#include <cstdint>
#include <string>
#include <string_view>

namespace xml {

// Empty for count <= 0.
std::string EncodeBase64(const void* bytes, std::int64_t count);
// Decodes count bytes from text (without blanks). Raises EFilerError "missing
// data in binary stream" when (length div 4) * 3 < count. Padding and
// characters outside the alphabet count as zero bits.
void DecodeBase64(std::string_view text, void* bytes, std::int64_t count);
// Decodes count bytes from 2 * count hexadecimal digits of either case; raises
// EFilerError "missing data in binary stream" when the text is shorter. At the
// first character that is no hexadecimal digit decoding stops and the bytes
// left are set to zero.
void DecodeHex(std::string_view text, void* bytes, std::int64_t count);

// breakText before every run of lineLength characters and after the last one;
// text unchanged when breakText is empty or lineLength is 0 or less.
std::string BreakLines(std::string_view text, std::string_view breakText, int lineLength);

} // namespace xml
