#include "xml/Conversions.h"

#include "xml/ByteScan.h"

#include "platform/core/SystemCodePages.h"
#include "platform/core/Unicode.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <memory>
#include <mutex>
#include <utility>
#include <vector>

namespace xml {

namespace {

constexpr char32_t kReplacement = 0xFFFD;

char* PutUtf8(char* o, char32_t cp)
{
    if (cp < 0x80) {
        *o++ = static_cast<char>(cp);
    } else if (cp < 0x800) {
        *o++ = static_cast<char>(0xC0 | (cp >> 6));
        *o++ = static_cast<char>(0x80 | (cp & 0x3F));
    } else if (cp < 0x10000) {
        *o++ = static_cast<char>(0xE0 | (cp >> 12));
        *o++ = static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        *o++ = static_cast<char>(0x80 | (cp & 0x3F));
    } else {
        *o++ = static_cast<char>(0xF0 | (cp >> 18));
        *o++ = static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
        *o++ = static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        *o++ = static_cast<char>(0x80 | (cp & 0x3F));
    }
    return o;
}

// Puts one character of external text, folding line ends: a CR becomes LF
// and sets folding, an LF right after it is dropped, and every other
// character clears folding.
char* PutFolded(char* o, char32_t cp, bool& folding)
{
    if (cp == '\r') {
        *o++ = '\n';
        folding = true;
        return o;
    }
    const bool drop = cp == '\n' && folding;
    folding = false;
    return drop ? o : PutUtf8(o, cp);
}

bool IsHigh(char16_t u) { return u >= 0xD800 && u <= 0xDBFF; }
bool IsLow(char16_t u) { return u >= 0xDC00 && u <= 0xDFFF; }

template <typename LoadUnit>
std::size_t Utf16ToUtf8(LoadUnit unitAt, char* out, std::size_t count, bool& folding)
{
    char* o = out;
    for (std::size_t i = 0; i < count; ++i) {
        const char16_t u = unitAt(i);
        char32_t cp = u;
        if (IsHigh(u) && i + 1 < count && IsLow(unitAt(i + 1)))
            cp = 0x10000 + ((char32_t(u) - 0xD800) << 10) + (char32_t(unitAt(++i)) - 0xDC00);
        else if (IsHigh(u) || IsLow(u))
            cp = kReplacement;
        o = PutFolded(o, cp, folding);
    }
    return static_cast<std::size_t>(o - out);
}

// The reverse of a code page's upper half, sorted by character for binary search.
struct ReverseTable {
    const core::TSingleByteCodePage* page;
    std::array<std::pair<char16_t, std::uint8_t>, 128> entries;
};

const ReverseTable* ReverseOf(const core::TSingleByteCodePage* page)
{
    static std::mutex lock;
    static std::vector<std::unique_ptr<ReverseTable>> tables;
    std::lock_guard guard(lock);
    for (const auto& table : tables)
        if (table->page == page)
            return table.get();
    auto table = std::make_unique<ReverseTable>();
    table->page = page;
    for (int b = 0x80; b <= 0xFF; ++b)
        table->entries[static_cast<std::size_t>(b - 0x80)] = {
            static_cast<char16_t>(page->ToUnicode(static_cast<unsigned char>(b))), static_cast<std::uint8_t>(b)};
    // Equal characters keep the lowest byte first, as a search from the front would find.
    std::stable_sort(table->entries.begin(), table->entries.end(),
                     [](const auto& a, const auto& b) { return a.first < b.first; });
    tables.push_back(std::move(table));
    return tables.back().get();
}

int ReverseLookup(const ReverseTable& table, char32_t cp)
{
    if (cp > 0xFFFF || cp == kReplacement)
        return -1;
    const auto it = std::lower_bound(table.entries.begin(), table.entries.end(), static_cast<char16_t>(cp),
                                     [](const auto& entry, char16_t c) { return entry.first < c; });
    if (it == table.entries.end() || it->first != cp)
        return -1;
    return it->second;
}

const core::TSingleByteCodePage* PageOf(int codePage)
{
    return codePage < 0 ? nullptr : core::SystemCodePage(static_cast<unsigned>(codePage));
}

} // namespace

std::size_t Utf16ToUtf8Buffer(const char16_t* units, char* out, std::size_t count, bool& folding)
{
    return Utf16ToUtf8([units](std::size_t i) { return units[i]; }, out, count, folding);
}

std::size_t Utf16BytesToUtf8Buffer(const std::uint8_t* bytes, char* out, std::size_t unitCount, bool& folding,
                                   bool bigEndian)
{
    if (bigEndian)
        return Utf16ToUtf8(
            [bytes](std::size_t i) { return static_cast<char16_t>((bytes[2 * i] << 8) | bytes[2 * i + 1]); }, out,
            unitCount, folding);
    return Utf16ToUtf8(
        [bytes](std::size_t i) { return static_cast<char16_t>(bytes[2 * i] | (bytes[2 * i + 1] << 8)); }, out,
        unitCount, folding);
}

std::size_t Utf16CompleteUnits(const char16_t* units, std::size_t count)
{
    return count > 0 && IsHigh(units[count - 1]) ? count - 1 : count;
}

std::string WideToUtf8(std::u16string_view wide)
{
    std::string out(wide.size() * 3, '\0');
    bool folding = false;
    out.resize(Utf16ToUtf8Buffer(wide.data(), out.data(), wide.size(), folding));
    return out;
}

std::size_t Utf8ToUtf16Buffer(const char* bytes, char16_t* out, std::size_t count)
{
    char16_t* o = out;
    const std::string_view text(bytes, count);
    for (std::size_t pos = 0; pos < count;) {
        const auto b = static_cast<unsigned char>(bytes[pos]);
        if (b < 0x80) {
            *o++ = b;
            ++pos;
            continue;
        }
        const char32_t cp = core::NextUtf8(text, pos);
        if (cp >= 0x10000) {
            *o++ = static_cast<char16_t>(0xD800 + ((cp - 0x10000) >> 10));
            *o++ = static_cast<char16_t>(0xDC00 + ((cp - 0x10000) & 0x3FF));
        } else {
            *o++ = static_cast<char16_t>(cp);
        }
    }
    return static_cast<std::size_t>(o - out);
}

std::u16string Utf8ToWide(std::string_view text)
{
    std::u16string out(text.size(), u'\0');
    out.resize(Utf8ToUtf16Buffer(text.data(), out.data(), text.size()));
    return out;
}

std::size_t Utf8CopyBuffer(const char* bytes, char* out, std::size_t count, bool& folding)
{
    if (count == 0)
        return 0;
    const char* p = bytes;
    const char* const end = bytes + count;
    char* o = out;
    if (folding && *p == '\n')
        ++p;
    folding = false;
    // Folding only shortens the text, so the blocks of sixteen bytes stored
    // where sixteen are still to be read stay inside out.
    while (p < end) {
        p = CopyUpToByte(p, end, o, '\r');
        if (p == end)
            break;
        *o++ = '\n';
        if (++p == end) {
            folding = true;
            break;
        }
        if (*p == '\n')
            ++p;
    }
    return static_cast<std::size_t>(o - out);
}

std::size_t AnsiToUtf8Buffer(const char* bytes, char* out, int codePage, bool& folding, std::size_t count)
{
    if (codePage == kCodePageUtf8)
        return Utf8CopyBuffer(bytes, out, count, folding);
    const core::TSingleByteCodePage* page = PageOf(codePage);
    char* o = out;
    for (std::size_t i = 0; i < count; ++i) {
        const auto b = static_cast<unsigned char>(bytes[i]);
        o = PutFolded(o, b < 0x80 ? b : (page != nullptr ? page->ToUnicode(b) : kReplacement), folding);
    }
    return static_cast<std::size_t>(o - out);
}

std::string AnsiToUtf8(std::string_view text, int codePage)
{
    std::string out(text.size() * 3, '\0');
    bool folding = false;
    out.resize(AnsiToUtf8Buffer(text.data(), out.data(), codePage, folding, text.size()));
    return out;
}

std::size_t Utf8ToAnsiBuffer(const char* bytes, char* out, int codePage, bool& substitution, std::size_t count)
{
    substitution = false;
    if (codePage == kCodePageUtf8) {
        std::memcpy(out, bytes, count);
        return count;
    }
    const ReverseTable* reverse = nullptr;
    bool looked = false;
    const std::string_view text(bytes, count);
    char* o = out;
    for (std::size_t pos = 0; pos < count;) {
        const auto b = static_cast<unsigned char>(bytes[pos]);
        if (b < 0x80) {
            *o++ = static_cast<char>(b);
            ++pos;
            continue;
        }
        if (!looked) { // pure ASCII never needs the code page
            looked = true;
            if (const core::TSingleByteCodePage* page = PageOf(codePage))
                reverse = ReverseOf(page);
        }
        const char32_t cp = core::NextUtf8(text, pos);
        const int mapped = reverse != nullptr ? ReverseLookup(*reverse, cp) : -1;
        if (mapped < 0) {
            *o++ = '?';
            substitution = true;
        } else {
            *o++ = static_cast<char>(mapped);
        }
    }
    return static_cast<std::size_t>(o - out);
}

std::string Utf8ToAnsi(std::string_view text, int codePage)
{
    std::string out(text.size(), '\0');
    bool substitution = false;
    out.resize(Utf8ToAnsiBuffer(text.data(), out.data(), codePage, substitution, text.size()));
    return out;
}

int Utf8SequenceLength(const char* bytes, std::size_t available)
{
    if (available == 0)
        return 1;
    const auto lead = static_cast<unsigned char>(bytes[0]);
    int length;
    if (lead < 0xC0)
        return 1;
    if ((lead & 0xE0) == 0xC0)
        length = 2;
    else if ((lead & 0xF0) == 0xE0)
        length = 3;
    else if ((lead & 0xF8) == 0xF0)
        length = 4;
    else
        return 1;
    if (static_cast<std::size_t>(length) > available)
        return 1;
    for (int i = 1; i < length; ++i)
        if ((static_cast<unsigned char>(bytes[i]) & 0xC0) != 0x80)
            return 1;
    return length;
}

int Utf8CharacterLength(const char* bytes, std::size_t available)
{
    const auto* b = reinterpret_cast<const unsigned char*>(bytes);
    if (b[0] < 0x80)
        return 1;
    // The second byte's range rules out overlong forms, surrogates and values
    // past U+10FFFF; later bytes are plain continuation bytes.
    std::size_t length;
    unsigned char low = 0x80, high = 0xBF;
    if (b[0] >= 0xC2 && b[0] <= 0xDF) {
        length = 2;
    } else if (b[0] >= 0xE0 && b[0] <= 0xEF) {
        length = 3;
        if (b[0] == 0xE0)
            low = 0xA0;
        else if (b[0] == 0xED)
            high = 0x9F;
    } else if (b[0] >= 0xF0 && b[0] <= 0xF4) {
        length = 4;
        if (b[0] == 0xF0)
            low = 0x90;
        else if (b[0] == 0xF4)
            high = 0x8F;
    } else {
        return 0;
    }
    for (std::size_t i = 1; i < length; ++i) {
        if (i >= available)
            return -1;
        if (i == 1 ? (b[1] < low || b[1] > high) : (b[i] & 0xC0) != 0x80)
            return 0;
    }
    return static_cast<int>(length);
}

} // namespace xml
