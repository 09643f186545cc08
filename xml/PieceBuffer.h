#pragma once
// Collects the small pieces of text in which an element's subtree is written
// (indents, brackets, names, attribute values, texts) and hands them to the
// stream in large writes. A piece is never split between two writes, so a
// writer that converts each write on its own always gets whole characters.
//
// When the stream is a buffered writer that passes bytes unchanged (UTF-8
// output), the pieces go straight into the writer's waiting chunk: the text
// is copied once on its way to the target, and the target still gets whole
// chunks. Pieces may be split between chunks then, which nobody converts.

#include "xml/ByteScan.h"
#include "xml/FastStreams.h"
#include "xml/Layout.h"

#include "platform/core/Streams.h"

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string_view>

namespace xml {

class TxPieceBuffer {
public:
    explicit TxPieceBuffer(core::TStream& stream);
    TxPieceBuffer(const TxPieceBuffer&) = delete;
    TxPieceBuffer& operator=(const TxPieceBuffer&) = delete;

    // The stream, for writing to it directly after a Flush.
    core::TStream& Stream() noexcept { return stream_; }

    void Put(std::string_view piece)
    {
        const std::size_t n = piece.size();
        if (n > static_cast<std::size_t>(end_ - at_))
            return PutLarge(piece);
        CopyShort(at_, piece.data(), n);
        at_ += n;
    }
    void Put(char c)
    {
        if (at_ == end_)
            return PutLarge(std::string_view(&c, 1));
        *at_++ = c;
    }
    // Stored text (LF line ends) with each LF written as style's line break.
    void PutWithLineBreaks(std::string_view text, TxLineBreakStyle style)
    {
        // Most texts are short and hold no LF: the words that the copy moves
        // are looked at for one first, without a search loop.
        if (style == lbLF || (text.size() <= 16 && !HasLineFeed(text.data(), text.size())))
            return Put(text);
        PutBreaking(text, LineBreakText(style));
    }
    // Passes what waits on to the stream.
    void Flush();

private:
    static constexpr std::size_t kSize = 16 * 1024;

    // Names, values and brackets are short: overlapping moves of whole words
    // copy them without a call. Nothing outside [from, from + n) is read and
    // nothing outside [to, to + n) written.
    static void CopyShort(char* to, const char* from, std::size_t n) noexcept
    {
        if (n > 32) {
            std::memcpy(to, from, n);
        } else if (n > 16) {
            char head[16], tail[16];
            std::memcpy(head, from, 16);
            std::memcpy(tail, from + n - 16, 16);
            std::memcpy(to, head, 16);
            std::memcpy(to + n - 16, tail, 16);
        } else if (n >= 8) {
            const std::uint64_t head = Load64(from), tail = Load64(from + n - 8);
            std::memcpy(to, &head, 8);
            std::memcpy(to + n - 8, &tail, 8);
        } else if (n >= 4) {
            const std::uint32_t head = Load32(from), tail = Load32(from + n - 4);
            std::memcpy(to, &head, 4);
            std::memcpy(to + n - 4, &tail, 4);
        } else if (n > 0) {
            to[0] = from[0];
            to[n / 2] = from[n / 2];
            to[n - 1] = from[n - 1];
        }
    }
    // Whether the n (at most 16) bytes at p hold an LF; a word with one has a
    // zero byte after the exclusive or.
    static bool HasLineFeed(const char* p, std::size_t n) noexcept
    {
        constexpr std::uint64_t kOnes = 0x0101010101010101ull, kHighs = 0x8080808080808080ull,
                                kFeeds = 0x0A0A0A0A0A0A0A0Aull;
        const auto hasZero = [](std::uint64_t v) { return ((v - kOnes) & ~v & kHighs) != 0; };
        if (n >= 8)
            return hasZero(Load64(p) ^ kFeeds) || hasZero(Load64(p + n - 8) ^ kFeeds);
        if (n >= 4)
            return hasZero((std::uint64_t(Load32(p)) << 32 | Load32(p + n - 4)) ^ kFeeds);
        for (std::size_t i = 0; i < n; ++i)
            if (p[i] == '\n')
                return true;
        return false;
    }
    // Text with an LF, or a long one: its lines with lineBreak between them.
    void PutBreaking(std::string_view text, std::string_view lineBreak);
    // A piece larger than the room left.
    void PutLarge(std::string_view piece);

    core::TStream& stream_;
    TxBufferWriter* chunks_ = nullptr; // the writer whose chunk the pieces go into, if any
    // The bytes not yet passed on are [base_, at_); end_ ends the room. In
    // our own buffer, or in the writer's chunk (there all three stand at
    // buffer_, no room, until the next piece asks for it).
    char* base_;
    char* at_;
    char* end_;
    char buffer_[kSize];
};

} // namespace xml
