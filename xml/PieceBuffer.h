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
        if (style == lbLF)
            return Put(text);
        const std::string_view lineBreak = LineBreakText(style);
        const char* p = text.data();
        const char* const end = p + text.size();
        for (;;) {
            const char* lf = FindByte(p, end, '\n');
            Put(std::string_view(p, static_cast<std::size_t>(lf - p)));
            if (lf == end)
                return;
            Put(lineBreak);
            p = lf + 1;
        }
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
