#include "xml/TextRoutines.h"

#include "platform/core/Letters.h"
#include "platform/core/Unicode.h"
#include "xml/Conversions.h"

#include <algorithm>
#include <array>
#include <cstring>

namespace xml {

namespace {

constexpr std::string_view kEntityChars = "&<>'\"";
constexpr std::string_view kEntityRefs[] = {"&amp;", "&lt;", "&gt;", "&apos;", "&quot;"};

constexpr std::array<signed char, 256> MakeEntityIndex()
{
    std::array<signed char, 256> index{};
    for (auto& i : index)
        i = -1;
    for (std::size_t k = 0; k < kEntityChars.size(); ++k)
        index[static_cast<unsigned char>(kEntityChars[k])] = static_cast<signed char>(k);
    return index;
}

constexpr std::array<signed char, 256> kEntityIndex = MakeEntityIndex();

bool IsBlank(char c) { return static_cast<unsigned char>(c) < 33; }

} // namespace

int CompareTextLocale(std::string_view a, std::string_view b)
{
    const int c = core::AnsiCompareText(a, b);
    return c < 0 ? -1 : (c > 0 ? 1 : 0);
}

bool SameName(std::string_view a, std::string_view b)
{
    // Case folding of the letters involved keeps the byte length of their UTF-8 form.
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        const char x = a[i], y = b[i];
        if (x == y)
            continue;
        if ((static_cast<unsigned char>(x) | static_cast<unsigned char>(y)) >= 0x80) {
            // Compare the rest by characters, from the start of the one that differs.
            std::size_t start = i;
            while (start > 0 && (static_cast<unsigned char>(a[start]) & 0xC0) == 0x80)
                --start;
            return core::AnsiSameText(a.substr(start), b.substr(start));
        }
        if (AsciiLower(x) != AsciiLower(y))
            return false;
    }
    return true;
}

std::string EscapeText(std::string_view text)
{
    std::size_t first = 0;
    while (first < text.size() && kEntityIndex[static_cast<unsigned char>(text[first])] < 0)
        ++first;
    if (first == text.size())
        return std::string(text);
    std::string out;
    out.reserve(text.size() + text.size() / 8 + 8);
    out.append(text.substr(0, first));
    for (std::size_t i = first; i < text.size(); ++i) {
        const signed char k = kEntityIndex[static_cast<unsigned char>(text[i])];
        if (k < 0)
            out.push_back(text[i]);
        else
            out.append(kEntityRefs[static_cast<std::size_t>(k)]);
    }
    return out;
}

std::string UnescapeText(std::string_view text)
{
    std::size_t amp = text.find('&');
    if (amp == std::string_view::npos)
        return std::string(text);
    std::string out;
    out.reserve(text.size());
    std::size_t i = 0;
    while (amp != std::string_view::npos) {
        out.append(text.substr(i, amp - i));
        const std::size_t stop = text.find_first_of(";&", amp + 1);
        if (stop == std::string_view::npos || text[stop] == '&') {
            out.push_back('&'); // no reference: the "&" stays
            i = amp + 1;
        } else {
            const std::string_view ref = text.substr(amp, stop - amp + 1);
            bool done = false;
            for (std::size_t k = 0; k < kEntityChars.size() && !done; ++k)
                if (ref == kEntityRefs[k]) {
                    out.push_back(kEntityChars[k]);
                    done = true;
                }
            if (!done && ref.size() > 3 && ref[1] == '#') {
                const long cp = CharacterReferenceValue(ref.substr(2, ref.size() - 3));
                if (NamesCharacter(cp)) {
                    // As a UTF-16 text would be converted: a CR arrives as LF.
                    core::AppendUtf8(out, cp == '\r' ? U'\n' : static_cast<char32_t>(cp));
                    done = true;
                }
            }
            if (!done)
                out.append(ref);
            i = stop + 1;
        }
        amp = text.find('&', i);
    }
    out.append(text.substr(i));
    return out;
}

long CharacterReferenceValue(std::string_view body)
{
    int base = 10;
    if (!body.empty() && (body[0] == 'x' || body[0] == 'X')) {
        base = 16;
        body.remove_prefix(1);
    }
    if (body.empty())
        return -1;
    long value = 0;
    for (char c : body) {
        int d;
        if (c >= '0' && c <= '9')
            d = c - '0';
        else if (base == 16 && c >= 'a' && c <= 'f')
            d = c - 'a' + 10;
        else if (base == 16 && c >= 'A' && c <= 'F')
            d = c - 'A' + 10;
        else
            return -1;
        // Stops growing past the last character, so that no length of digits overflows.
        value = std::min(value * base + d, kBeyondUnicode);
    }
    return value;
}

std::string NormalizeLineBreaks(std::string_view text)
{
    if (text.find('\r') == std::string_view::npos)
        return std::string(text);
    std::string out(text.size(), '\0');
    bool folding = false;
    out.resize(Utf8CopyBuffer(text.data(), out.data(), text.size(), folding));
    return out;
}

std::string ApplyLineBreakStyle(std::string_view text, TxLineBreakStyle style)
{
    if (style == lbLF || text.find('\n') == std::string_view::npos)
        return std::string(text);
    std::string out;
    out.reserve(text.size() + (style == lbCRLF ? std::count(text.begin(), text.end(), '\n') : 0));
    for (char c : text) {
        if (c != '\n') {
            out.push_back(c);
        } else if (style == lbCR) {
            out.push_back('\r');
        } else {
            out.push_back('\r');
            out.push_back('\n');
        }
    }
    return out;
}

std::string TrimBlanks(std::string_view text) { return std::string(TrimmedView(text)); }

std::string TrimBlanksFlag(std::string_view text, bool& trimmed)
{
    const std::string_view core = TrimmedView(text);
    trimmed = core.size() != text.size();
    return std::string(core);
}

TxSplitText SplitBlanksSlow(std::string_view text)
{
    std::size_t begin = 0, end = text.size();
    while (begin < end && IsBlank(text[begin]))
        ++begin;
    while (end > begin && IsBlank(text[end - 1]))
        --end;
    return {text.substr(0, begin), text.substr(begin, end - begin), text.substr(end)};
}

std::string RemoveBlanks(std::string_view text)
{
    std::string out;
    out.reserve(text.size());
    for (char c : text)
        if (c != '\t' && c != '\n' && c != '\r' && c != ' ')
            out.push_back(c);
    return out;
}

std::string CommaToPoint(std::string_view text)
{
    std::string out(text);
    std::replace(out.begin(), out.end(), ',', '.');
    return out;
}

} // namespace xml
