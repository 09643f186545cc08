#include "xml/PieceBuffer.h"

#include "xml/VarInt.h"

namespace xml {

void TxPieceBuffer::Flush()
{
    if (fill_ == 0)
        return;
    const std::size_t n = fill_;
    fill_ = 0; // nothing is written twice, even when the stream raises
    WriteStringBytes(stream_, std::string_view(buffer_, n));
}

void TxPieceBuffer::PutLarge(std::string_view piece)
{
    Flush();
    if (piece.size() >= kSize / 2) {
        WriteStringBytes(stream_, piece); // a large piece goes as it is
        return;
    }
    std::memcpy(buffer_, piece.data(), piece.size());
    fill_ = piece.size();
}

} // namespace xml
