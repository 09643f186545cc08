#include "platform/data/TextOrder.h"

#include "platform/core/Letters.h"
#include "platform/core/Unicode.h"

#include <algorithm>
#include <array>
#include <cstdint>

namespace data {

namespace {

// Primary weights: ASCII other than letters keeps its code (blanks, digits
// and punctuation before every letter); the 31 letters of the Czech alphabet
// follow; characters of other scripts come last, by their code.
constexpr std::uint32_t kLetters = 0x100;
constexpr std::uint32_t kOthers = 0x1000;

// The alphabet's place of each ASCII letter: a b c č d e f g h ch i j k l m n o p q r ř s š t u v w x y z ž.
constexpr std::uint8_t kAsciiPlace[26] = {0,  1,  2,  4,  5,  6,  7,  8,  10, 11, 12, 13, 14,
                                          15, 16, 17, 18, 19, 21, 23, 24, 25, 26, 27, 28, 29};
constexpr std::uint32_t kPlaceCh = 9;

// The plain letter of each character from U+00C0 to U+017F ('\0' for × and ÷).
constexpr char kBaseLetter[] =
    "aaaaaaaceeeeiiiidnooooo\0ouuuuyts"  // U+00C0..U+00DF
    "aaaaaaaceeeeiiiidnooooo\0ouuuuyty"  // U+00E0..U+00FF
    "aaaaaacccccccc"                     // U+0100..U+010D
    "dddd"                               // U+010E..U+0111
    "eeeeeeeeee"                         // U+0112..U+011B
    "gggggggg"                           // U+011C..U+0123
    "hhhh"                               // U+0124..U+0127
    "iiiiiiiiiiii"                       // U+0128..U+0133
    "jjkkk"                              // U+0134..U+0138
    "llllllllll"                         // U+0139..U+0142
    "nnnnnnnnn"                          // U+0143..U+014B
    "oooooooo"                           // U+014C..U+0153
    "rrrrrr"                             // U+0154..U+0159
    "ssssssss"                           // U+015A..U+0161
    "tttttt"                             // U+0162..U+0167
    "uuuuuuuuuuuu"                       // U+0168..U+0173
    "wwyyy"                              // U+0174..U+0178
    "zzzzzzs";                           // U+0179..U+017F
static_assert(sizeof kBaseLetter == 0x180 - 0xC0 + 1);

// The primary weight of a lower-case character ("ch" aside).
std::uint32_t PrimaryOf(char32_t lower)
{
    if (lower < 0x80)
        return lower < 'a' || lower > 'z' ? lower : kLetters + kAsciiPlace[lower - 'a'];
    switch (lower) {
    case U'č': return kLetters + 3;
    case U'ř': return kLetters + 20;
    case U'š': return kLetters + 22;
    case U'ž': return kLetters + 30;
    default: break;
    }
    if (lower >= 0xC0 && lower < 0x180 && kBaseLetter[lower - 0xC0] != '\0')
        return kLetters + kAsciiPlace[kBaseLetter[lower - 0xC0] - 'a'];
    return kOthers + lower;
}

struct Element {
    std::uint32_t Primary = 0;
    // 0 for a plain letter, else the accented letter's (lower-case) code.
    std::uint32_t Secondary = 0;
    // Letter case: 0 lower; a digraph counts each of its letters.
    std::uint32_t Tertiary = 0;
};

// The collation elements of a text, one by one: a character, or "ch".
class Elements {
public:
    explicit Elements(std::string_view text) : text_(text) {}

    bool Next(Element& e)
    {
        if (pos_ >= text_.size())
            return false;
        const char32_t cp = Read();
        const char32_t lower = core::FoldLower(cp);
        e.Secondary = 0;
        e.Tertiary = lower != cp ? 1 : 0;
        if (lower == 'c' && IsNextH(e.Tertiary)) {
            e.Primary = kLetters + kPlaceCh;
            return true;
        }
        e.Primary = PrimaryOf(lower);
        // Accented forms of the plain letters keep their accent for the second level.
        if (lower >= 0xC0 && lower < 0x180 && e.Primary != kLetters + 3 && e.Primary != kLetters + 20 &&
            e.Primary != kLetters + 22 && e.Primary != kLetters + 30 && e.Primary < kOthers)
            e.Secondary = lower;
        return true;
    }

private:
    char32_t Read()
    {
        const unsigned char b = static_cast<unsigned char>(text_[pos_]);
        if (b < 0x80) {
            ++pos_;
            return b;
        }
        return core::NextUtf8(text_, pos_);
    }

    // After a "c": takes an "h" that follows, adding its case to the digraph's.
    bool IsNextH(std::uint32_t& tertiary)
    {
        if (pos_ >= text_.size() || (text_[pos_] != 'h' && text_[pos_] != 'H'))
            return false;
        tertiary = tertiary * 2 + (text_[pos_] == 'H' ? 1 : 0);
        ++pos_;
        return true;
    }

    std::string_view text_;
    std::size_t pos_ = 0;
};

int Sign(bool less) { return less ? -1 : 1; }

bool IsC(char c) { return c == 'c' || c == 'C'; }

// Where the two texts may first differ in their elements. The bytes before
// the first differing one are the same in both, and so are their elements,
// up to the last ASCII byte before it (after which a character always
// begins) or a "c" there, which may make a "ch" with what follows.
std::size_t CommonStart(std::string_view a, std::string_view b)
{
    const std::size_t n = std::min(a.size(), b.size());
    std::size_t i = 0;
    while (i < n && a[i] == b[i])
        ++i;
    while (i > 0 && static_cast<unsigned char>(a[i - 1]) >= 0x80)
        --i;
    if (i > 0 && IsC(a[i - 1]))
        --i;
    return i;
}

} // namespace

std::size_t WriteJetTextKey(std::string_view text, char* out)
{
    char* const begin = out;
    // One byte for each of blanks, digits, punctuation and the alphabet's
    // letters, in their order; four for a character of another script.
    auto put = [&out](std::uint32_t primary) {
        if (primary < 0x80) {
            *out++ = static_cast<char>(primary + 1);
        } else if (primary >= kLetters && primary < kLetters + 0x40) {
            *out++ = static_cast<char>(0x81 + (primary - kLetters));
        } else {
            *out++ = static_cast<char>(0xF0);
            *out++ = static_cast<char>((primary >> 16) & 0xFF);
            *out++ = static_cast<char>((primary >> 8) & 0xFF);
            *out++ = static_cast<char>(primary & 0xFF);
        }
    };
    // The byte of each character below U+0800 (one or two bytes of UTF-8),
    // looked up rather than worked out; 0 for characters of other scripts
    // (four bytes) and for "c", which may begin a "ch".
    static const auto bytes = [] {
        std::array<unsigned char, 0x800> table{};
        for (char32_t c = 0; c < 0x800; ++c) {
            const std::uint32_t primary = PrimaryOf(core::FoldLower(c));
            if (primary < 0x80)
                table[c] = static_cast<unsigned char>(primary + 1);
            else if (primary >= kLetters && primary < kLetters + 0x40)
                table[c] = static_cast<unsigned char>(0x81 + (primary - kLetters));
        }
        table['c'] = table['C'] = 0;
        return table;
    }();
    const auto* p = reinterpret_cast<const unsigned char*>(text.data());
    const auto* const end = p + text.size();
    while (p < end) {
        // Runs of ASCII other than "c": a byte each, looked up.
        unsigned char byte;
        while (p < end && *p < 0x80 && (byte = bytes[*p]) != 0) {
            *out++ = static_cast<char>(byte);
            ++p;
        }
        if (p == end)
            break;
        if (*p < 0x80) {
            const bool ch = p + 1 < end && (p[1] | 0x20) == 'h';
            put(kLetters + (ch ? kPlaceCh : kAsciiPlace['c' - 'a']));
            p += ch ? 2 : 1;
            continue;
        }
        if (*p >= 0xC2 && *p <= 0xDF && p + 1 < end && (p[1] & 0xC0) == 0x80) {
            if ((byte = bytes[(*p & 0x1Fu) << 6 | (p[1] & 0x3Fu)]) != 0) {
                *out++ = static_cast<char>(byte);
                p += 2;
                continue;
            }
        }
        std::size_t pos = static_cast<std::size_t>(p - reinterpret_cast<const unsigned char*>(text.data()));
        put(PrimaryOf(core::FoldLower(core::NextUtf8(text, pos))));
        p = reinterpret_cast<const unsigned char*>(text.data()) + pos;
    }
    return static_cast<std::size_t>(out - begin);
}

void AppendJetTextKey(std::string_view text, std::string& key)
{
    const std::size_t start = key.size();
    key.resize(start + JetTextKeyRoom(text));
    key.resize(start + WriteJetTextKey(text, key.data() + start));
}

int CompareJetText(std::string_view a, std::string_view b)
{
    const std::size_t start = CommonStart(a, b);
    Elements left(a.substr(start)), right(b.substr(start));
    int accents = 0;
    int cases = 0;
    for (;;) {
        Element x, y;
        const bool hasX = left.Next(x);
        const bool hasY = right.Next(y);
        if (!hasX || !hasY) {
            if (hasX != hasY)
                return hasX ? 1 : -1;
            break;
        }
        if (x.Primary != y.Primary)
            return Sign(x.Primary < y.Primary);
        if (accents == 0 && x.Secondary != y.Secondary)
            accents = Sign(x.Secondary < y.Secondary);
        if (cases == 0 && x.Tertiary != y.Tertiary)
            cases = Sign(x.Tertiary < y.Tertiary);
    }
    if (accents != 0)
        return accents;
    if (cases != 0)
        return cases;
    const int bytes = a.compare(b);
    return bytes == 0 ? 0 : Sign(bytes < 0);
}

} // namespace data
