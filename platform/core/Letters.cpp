#include "platform/core/Letters.h"

#include "platform/core/Unicode.h"

namespace core {

char32_t FoldUpper(char32_t c)
{
    if (c < 0x80)
        return (c >= 'a' && c <= 'z') ? c - 32 : c;
    if (c >= 0xE0 && c <= 0xFE && c != 0xF7)
        return c - 0x20;
    if (c == 0xFF)
        return 0x178;
    if (c >= 0x100 && c <= 0x137 && c != 0x131)
        return c & ~char32_t(1); // pairs: even upper, odd lower
    if (c >= 0x139 && c <= 0x148)
        return (c & 1) ? c : c - 1; // odd upper, even lower
    if (c >= 0x14A && c <= 0x177)
        return c & ~char32_t(1);
    if (c >= 0x179 && c <= 0x17E)
        return (c & 1) ? c : c - 1;
    return c; // ß, ĸ, ŉ, ſ, dotless i and everything beyond keep their form
}

char32_t FoldLower(char32_t c)
{
    if (c < 0x80)
        return (c >= 'A' && c <= 'Z') ? c + 32 : c;
    if (c >= 0xC0 && c <= 0xDE && c != 0xD7)
        return c + 0x20;
    if (c == 0x178)
        return 0xFF;
    if (c >= 0x100 && c <= 0x137 && c != 0x130)
        return c | 1;
    if (c >= 0x139 && c <= 0x148)
        return (c & 1) ? c + 1 : c;
    if (c >= 0x14A && c <= 0x177)
        return c | 1;
    if (c >= 0x179 && c <= 0x17E)
        return (c & 1) ? c + 1 : c;
    return c;
}

namespace {

template <char32_t (*Fold)(char32_t)>
std::string MapLetters(std::string_view text)
{
    std::string out;
    out.reserve(text.size());
    for (std::size_t pos = 0; pos < text.size();) {
        const unsigned char b = static_cast<unsigned char>(text[pos]);
        if (b < 0x80) {
            out.push_back(static_cast<char>(Fold(b)));
            ++pos;
            continue;
        }
        const std::size_t start = pos;
        const char32_t cp = NextUtf8(text, pos);
        if (cp == kReplacementChar)
            out.append(text.substr(start, pos - start)); // keep bytes we cannot read
        else
            AppendUtf8(out, Fold(cp));
    }
    return out;
}

char AsciiUpper(char c) { return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 32) : c; }

} // namespace

std::string UpperCase(std::string_view text)
{
    std::string out(text);
    for (char& c : out)
        c = AsciiUpper(c);
    return out;
}

std::string LowerCase(std::string_view text)
{
    std::string out(text);
    for (char& c : out)
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c + 32);
    return out;
}

int CompareText(std::string_view a, std::string_view b)
{
    const std::size_t n = std::min(a.size(), b.size());
    for (std::size_t i = 0; i < n; ++i) {
        const unsigned char x = static_cast<unsigned char>(AsciiUpper(a[i]));
        const unsigned char y = static_cast<unsigned char>(AsciiUpper(b[i]));
        if (x != y)
            return x < y ? -1 : 1;
    }
    return a.size() == b.size() ? 0 : (a.size() < b.size() ? -1 : 1);
}

bool SameText(std::string_view a, std::string_view b)
{
    return a.size() == b.size() && CompareText(a, b) == 0;
}

std::string AnsiUpperCase(std::string_view text) { return MapLetters<FoldUpper>(text); }
std::string AnsiLowerCase(std::string_view text) { return MapLetters<FoldLower>(text); }

namespace {

template <char32_t (*Fold)(char32_t)>
int CompareCodePoints(std::string_view a, std::string_view b)
{
    std::size_t i = 0, j = 0;
    while (i < a.size() && j < b.size()) {
        const char32_t x = Fold(NextUtf8(a, i));
        const char32_t y = Fold(NextUtf8(b, j));
        if (x != y)
            return x < y ? -1 : 1;
    }
    if (i < a.size())
        return 1;
    if (j < b.size())
        return -1;
    return 0;
}

char32_t Same(char32_t c) { return c; }

} // namespace

int AnsiCompareText(std::string_view a, std::string_view b) { return CompareCodePoints<FoldLower>(a, b); }
bool AnsiSameText(std::string_view a, std::string_view b) { return AnsiCompareText(a, b) == 0; }
int AnsiCompareStr(std::string_view a, std::string_view b) { return CompareCodePoints<Same>(a, b); }

} // namespace core
