#pragma once
// 8-bit code pages to and from UTF-8. The program's ANSI code page is
// Windows-1250. A character that a code page lacks becomes "?".

#include <array>
#include <string>
#include <string_view>

namespace core {

inline constexpr unsigned CP_ACP = 0;        // the ANSI code page: Windows-1250 here
inline constexpr unsigned CP_ANSI = 1250;
inline constexpr unsigned CP_UTF8 = 65001;

// One single-byte code page: the first 128 bytes are ASCII, the upper half comes from a table.
class TSingleByteCodePage {
public:
    explicit TSingleByteCodePage(unsigned codePage, const char16_t (&upperHalf)[128]);

    unsigned CodePage() const { return codePage_; }
    char32_t ToUnicode(unsigned char byte) const { return byte < 0x80 ? byte : upper_[byte - 0x80]; }
    // The byte for cp, or -1 when the code page lacks it.
    int FromUnicode(char32_t cp) const;

    std::string ToUtf8(std::string_view bytes) const;
    // substitutions, when given, counts the characters that became "?".
    std::string FromUtf8(std::string_view text, std::size_t* substitutions = nullptr) const;

private:
    unsigned codePage_;
    std::array<char16_t, 128> upper_{};
};

// The single-byte code page with that number (0 means the ANSI code page),
// or nullptr when the program does not know it.
const TSingleByteCodePage* FindCodePage(unsigned codePage);
// Makes a further code page known; the table stays owned by the caller.
void RegisterCodePage(const TSingleByteCodePage* table);

// Raise EConvertError for an unknown code page. UTF-8 passes through unchanged.
std::string CodePageToUtf8(std::string_view bytes, unsigned codePage);
std::string Utf8ToCodePage(std::string_view text, unsigned codePage, std::size_t* substitutions = nullptr);

inline std::string AnsiToUtf8(std::string_view bytes) { return CodePageToUtf8(bytes, CP_ACP); }
inline std::string Utf8ToAnsi(std::string_view text) { return Utf8ToCodePage(text, CP_ACP); }

} // namespace core
