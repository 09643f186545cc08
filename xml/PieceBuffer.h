#pragma once
// Collects the small pieces of text in which an element's subtree is written
// (indents, brackets, names, attribute values, texts) and hands them to the
// stream in large writes. A piece is never split between two writes, so a
// writer that converts each write on its own always gets whole characters.

#include "xml/ByteScan.h"
#include "xml/Layout.h"

#include "platform/core/Streams.h"

#include <cstddef>
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
        if (piece.size() > kSize - fill_)
            return PutLarge(piece);
        std::memcpy(buffer_ + fill_, piece.data(), piece.size());
        fill_ += piece.size();
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
        const std::string_view lineBreak = style == lbCRLF ? "\r\n" : "\r";
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
