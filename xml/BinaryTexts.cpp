#include "xml/BinaryTexts.h"

#include "platform/core/FilerError.h"

#include <array>

namespace xml {

namespace {

constexpr char kAlphabet[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";

constexpr std::array<std::uint8_t, 256> MakeReverse()
{
    std::array<std::uint8_t, 256> reverse{}; // anything else counts as zero bits
    for (std::uint8_t i = 0; i < 64; ++i)
        reverse[static_cast<unsigned char>(kAlphabet[i])] = i;
    return reverse;
}

constexpr std::array<std::uint8_t, 256> kReverse = MakeReverse();

int HexValue(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

[[noreturn]] void MissingData() { throw core::EFilerError("missing data in binary stream"); }

} // namespace

std::string EncodeBase64(const void* bytes, std::int64_t count)
{
    if (count <= 0)
        return {};
    const auto* in = static_cast<const std::uint8_t*>(bytes);
    const auto n = static_cast<std::size_t>(count);
    std::string out((n + 2) / 3 * 4, '=');
    std::size_t o = 0, i = 0;
    for (; i + 3 <= n; i += 3) {
        const std::uint32_t group = (in[i] << 16) | (in[i + 1] << 8) | in[i + 2];
        out[o++] = kAlphabet[group >> 18];
        out[o++] = kAlphabet[(group >> 12) & 63];
        out[o++] = kAlphabet[(group >> 6) & 63];
        out[o++] = kAlphabet[group & 63];
    }
    if (i < n) { // one or two bytes left; the missing ones count as zero
        const std::uint32_t group = (in[i] << 16) | (i + 1 < n ? in[i + 1] << 8 : 0);
        out[o++] = kAlphabet[group >> 18];
        out[o++] = kAlphabet[(group >> 12) & 63];
        if (i + 1 < n)
            out[o++] = kAlphabet[(group >> 6) & 63];
    }
    return out;
}

void DecodeBase64(std::string_view text, void* bytes, std::int64_t count)
{
    if (count <= 0)
        return;
    if (static_cast<std::int64_t>(text.size() / 4) * 3 < count)
        MissingData();
    auto* out = static_cast<std::uint8_t*>(bytes);
    std::int64_t o = 0;
    for (std::size_t i = 0; o < count; i += 4) {
        const std::uint32_t group = (kReverse[static_cast<unsigned char>(text[i])] << 18) |
                                    (kReverse[static_cast<unsigned char>(text[i + 1])] << 12) |
                                    (kReverse[static_cast<unsigned char>(text[i + 2])] << 6) |
                                    kReverse[static_cast<unsigned char>(text[i + 3])];
        out[o++] = static_cast<std::uint8_t>(group >> 16);
        if (o < count)
            out[o++] = static_cast<std::uint8_t>(group >> 8);
        if (o < count)
            out[o++] = static_cast<std::uint8_t>(group);
    }
}

void DecodeHex(std::string_view text, void* bytes, std::int64_t count)
{
    if (count <= 0)
        return;
    if (static_cast<std::int64_t>(text.size()) < 2 * count)
        MissingData();
    auto* out = static_cast<std::uint8_t*>(bytes);
    std::int64_t o = 0;
    for (; o < count; ++o) {
        const int high = HexValue(text[static_cast<std::size_t>(2 * o)]);
        const int low = HexValue(text[static_cast<std::size_t>(2 * o + 1)]);
        if (high < 0 || low < 0)
            break;
        out[o] = static_cast<std::uint8_t>((high << 4) | low);
    }
    for (; o < count; ++o)
        out[o] = 0;
}

std::string BreakLines(std::string_view text, std::string_view breakText, int lineLength)
{
    if (breakText.empty() || lineLength <= 0 || text.empty())
        return std::string(text);
    std::string out;
    out.reserve(text.size() + (text.size() / static_cast<std::size_t>(lineLength) + 2) * breakText.size());
    const auto length = static_cast<std::size_t>(lineLength);
    std::size_t characters = 0; // counted in characters, so no UTF-8 sequence is cut
    for (char c : text) {
        if ((static_cast<unsigned char>(c) & 0xC0) != 0x80 && characters++ % length == 0)
            out.append(breakText);
        out.push_back(c);
    }
    out.append(breakText);
    return out;
}

} // namespace xml
