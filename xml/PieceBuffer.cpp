#include "xml/PieceBuffer.h"

#include "xml/VarInt.h"

#include <algorithm>

namespace xml {

TxPieceBuffer::TxPieceBuffer(core::TStream& stream) : stream_(stream)
{
    auto* writer = dynamic_cast<TxBufferWriter*>(&stream);
    if (writer != nullptr && writer->PassesBytesUnchanged()) {
        chunks_ = writer;
        base_ = at_ = end_ = buffer_; // no room until the first piece asks for it
        return;
    }
    base_ = at_ = buffer_;
    end_ = buffer_ + kSize;
}

void TxPieceBuffer::Flush()
{
    const auto n = static_cast<std::size_t>(at_ - base_);
    if (chunks_ != nullptr) {
        // The bytes are in the writer's chunk already; it counts them and may
        // hand the chunk on. Room is asked for again, as the stream may be
        // written to directly before the next piece.
        base_ = at_ = end_ = buffer_;
        if (n > 0)
            chunks_->ChunkFilled(static_cast<std::int32_t>(n));
        return;
    }
    if (n == 0)
        return;
    at_ = buffer_; // nothing is written twice, even when the stream raises
    WriteStringBytes(stream_, std::string_view(buffer_, n));
}

void TxPieceBuffer::PutBreaking(std::string_view text, std::string_view lineBreak)
{
    const char* p = text.data();
    const char* const end = p + text.size();
    if (2 * text.size() <= static_cast<std::size_t>(end_ - at_)) {
        // Room for the worst case, every byte a line break of two: the text
        // is copied sixteen bytes at a time and each LF replaced on the way.
        // The room left stays at least twice the text left, so a whole block
        // may always be stored.
        char* to = at_;
        char breakBytes[2] = {lineBreak[0], lineBreak.size() > 1 ? lineBreak[1] : '\0'};
        const std::size_t breakSize = lineBreak.size();
        for (;;) {
            p = CopyUpToByte(p, end, to, '\n');
            if (p == end)
                break;
            std::memcpy(to, breakBytes, 2);
            to += breakSize;
            ++p;
        }
        at_ = to;
        return;
    }
    for (;;) {
        const char* lf = FindByte(p, end, '\n');
        Put(std::string_view(p, static_cast<std::size_t>(lf - p)));
        if (lf == end)
            return;
        Put(lineBreak);
        p = lf + 1;
    }
}

void TxPieceBuffer::PutLarge(std::string_view piece)
{
    if (chunks_ != nullptr) {
        // Fill the chunk to its end, let the writer hand it on, go on in the next.
        for (;;) {
            const std::size_t part = std::min(piece.size(), static_cast<std::size_t>(end_ - at_));
            if (part > 0) {
                std::memcpy(at_, piece.data(), part);
                at_ += part;
                piece.remove_prefix(part);
            }
            if (piece.empty())
                return;
            Flush();
            std::int32_t room = 0;
            base_ = at_ = chunks_->ChunkRoom(room);
            end_ = at_ + room;
        }
    }
    Flush();
    if (piece.size() >= kSize / 2) {
        WriteStringBytes(stream_, piece); // a large piece goes as it is
        return;
    }
    std::memcpy(buffer_, piece.data(), piece.size());
    at_ = buffer_ + piece.size();
}

} // namespace xml
