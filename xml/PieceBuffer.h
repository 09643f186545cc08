#pragma once
// Collects the small pieces of text in which an element's subtree is written
// (indents, brackets, names, attribute values, texts) and hands them to the
// stream in large writes. A piece is never split between two writes, so a
// writer that converts each write on its own always gets whole characters.

#include "xml/ByteScan.h"
#include "xml/Layout.h"

#include "platform/core/Streams.h"

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string_view>

namespace xml {

class TxPieceBuffer {
public:
    explicit TxPieceBuffer(core::TStream& stream) : stream_(stream) {}
    TxPieceBuffer(const TxPieceBuffer&) = delete;
    TxPieceBuffer& operator=(const TxPieceBuffer&) = delete;

    core::TStream& Stream() noexcept { return stream_; }

    void Put(std::string_view piece)
    {
        const std::size_t n = piece.size();
        if (n > kSize - fill_)
            return PutLarge(piece);
        char* to = buffer_ + fill_;
        const char* from = piece.data();
        // Names, values and brackets are short: two overlapping moves copy
        // them without a call. Nothing outside the piece is read.
        if (n >= 8 && n <= 16) {
            const std::uint64_t head = Load64(from), tail = Load64(from + n - 8);
            std::memcpy(to, &head, 8);
            std::memcpy(to + n - 8, &tail, 8);
        } else if (n >= 4 && n < 8) {
            const std::uint32_t head = Load32(from), tail = Load32(from + n - 4);
            std::memcpy(to, &head, 4);
            std::memcpy(to + n - 4, &tail, 4);
        } else if (n > 0 && n < 4) {
            to[0] = from[0];
            to[n / 2] = from[n / 2];
            to[n - 1] = from[n - 1];
        } else if (n > 16) {
            std::memcpy(to, from, n);
        }
        fill_ += n;
    }
    void Put(char c)
    {
        if (fill_ == kSize)
            Flush();
        buffer_[fill_++] = c;
    }
    // Stored text (LF line ends) with each LF written as style's line break.
    void PutWithLineBreaks(std::string_view text, TxLineBreakStyle style)
    {
        if (style == lbLF)
            return Put(text);
        const std::string_view lineBreak = style == lbCRLF ? std::string_view("\r\n", 2) : std::string_view("\r", 1);
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
    // Writes what waits to the stream.
    void Flush();

private:
    static constexpr std::size_t kSize = 16 * 1024;

    void PutLarge(std::string_view piece);

    core::TStream& stream_;
    std::size_t fill_ = 0;
    char buffer_[kSize];
};

} // namespace xml
