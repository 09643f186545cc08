#include "report/pages/RpCompress.h"

#include "platform/core/Exceptions.h"

namespace report {

TRpCompress::TRpCompress(core::TStream& stream, bool compressMode) : CompressMode(compressMode), Stream(&stream)
{
    InitializeTree();
    BitPos = compressMode ? 0 : 7;
    OutByte = 0;
}

TRpCompress::~TRpCompress()
{
    if (finished_)
        return;
    try {
        Finish();
    } catch (...) {
        // A destructor must not throw; callers that care call Finish themselves.
    }
}

void TRpCompress::InitializeTree()
{
    for (int i = 1; i <= 512; ++i)
        Up[static_cast<std::size_t>(i)] = static_cast<std::uint8_t>((i - 1) / 2);
    for (int j = 0; j <= 255; ++j) {
        Left[static_cast<std::size_t>(j)] = static_cast<std::uint16_t>(2 * j + 1);
        Right[static_cast<std::size_t>(j)] = static_cast<std::uint16_t>(2 * j + 2);
    }
}

void TRpCompress::Splay(std::uint8_t value)
{
    unsigned a = value + 256u;
    do {
        const unsigned c = Up[a];
        if (c != 0) {
            const unsigned d = Up[c];
            unsigned b = Left[d];
            if (c == b) {
                b = Right[d];
                Right[d] = static_cast<std::uint16_t>(a);
            } else {
                Left[d] = static_cast<std::uint16_t>(a);
            }
            if (a == Left[c])
                Left[c] = static_cast<std::uint16_t>(b);
            else
                Right[c] = static_cast<std::uint16_t>(b);
            Up[a] = static_cast<std::uint8_t>(d);
            Up[b] = static_cast<std::uint8_t>(c);
            a = d;
        } else {
            a = c;
        }
    } while (a != 0);
}

void TRpCompress::WriteByte(std::uint8_t value)
{
    buffer_[bufferUsed_++] = value;
    if (bufferUsed_ == buffer_.size())
        FlushOutput();
}

void TRpCompress::FlushOutput()
{
    if (bufferUsed_ > 0)
        Stream->WriteBuffer(buffer_.data(), static_cast<std::int64_t>(bufferUsed_));
    bufferUsed_ = 0;
}

std::uint8_t TRpCompress::ReadByte()
{
    if (bufferRead_ == bufferUsed_) {
        const std::int64_t n = Stream->Read(buffer_.data(), static_cast<std::int64_t>(buffer_.size()));
        if (n <= 0)
            throw core::EReadError("Stream read error");
        bufferUsed_ = static_cast<std::size_t>(n);
        bufferRead_ = 0;
    }
    return buffer_[bufferRead_++];
}

void TRpCompress::CompressByte(std::uint8_t value)
{
    // The path from the leaf up to the root; a splayed tree is never deeper
    // than its 256 inner nodes.
    std::uint8_t path[257];
    int n = 0;
    for (unsigned a = value + 256u; a != 0;) {
        const unsigned c = Up[a];
        path[n++] = a == Right[c] ? 1 : 0;
        a = c;
    }
    // Emitted from the root down, up to 56 bits at a time: the pending bits
    // and a chunk fit one 64-bit word, bits filling each byte from its lowest.
    while (n > 0) {
        const int chunk = n < 56 ? n : 56;
        std::uint64_t code = 0;
        for (int k = 0; k < chunk; ++k)
            code |= static_cast<std::uint64_t>(path[n - 1 - k]) << k;
        n -= chunk;
        std::uint64_t pending = OutByte | code << BitPos;
        unsigned bits = BitPos + static_cast<unsigned>(chunk);
        while (bits >= 8) {
            WriteByte(static_cast<std::uint8_t>(pending));
            pending >>= 8;
            bits -= 8;
        }
        OutByte = static_cast<std::uint16_t>(pending);
        BitPos = static_cast<std::uint8_t>(bits);
    }
    Splay(value);
}

void TRpCompress::CompressBytes(const void* data, std::size_t count)
{
    const auto* bytes = static_cast<const std::uint8_t*>(data);
    for (std::size_t i = 0; i < count; ++i)
        CompressByte(bytes[i]);
}

std::uint8_t TRpCompress::ExpandByte()
{
    unsigned node = 0;
    do {
        if (BitPos == 7) {
            InByte = ReadByte();
            BitPos = 0;
        } else {
            ++BitPos;
        }
        node = (InByte & (1u << BitPos)) != 0 ? Right[node] : Left[node];
    } while (node <= 255);
    // Leaf 512 has no byte; only damaged input reaches it.
    const auto value = static_cast<std::uint8_t>(node - 256);
    Splay(value);
    return value;
}

void TRpCompress::ExpandBytes(void* data, std::size_t count)
{
    auto* bytes = static_cast<std::uint8_t*>(data);
    for (std::size_t i = 0; i < count; ++i)
        bytes[i] = ExpandByte();
}

void TRpCompress::Finish()
{
    if (finished_)
        return;
    finished_ = true;
    if (CompressMode) {
        if (BitPos != 0)
            WriteByte(static_cast<std::uint8_t>(OutByte));
        FlushOutput();
    } else if (bufferRead_ < bufferUsed_) {
        // Give back what was read ahead.
        Stream->Seek(-static_cast<std::int64_t>(bufferUsed_ - bufferRead_), core::TSeekOrigin::soCurrent);
        bufferUsed_ = bufferRead_ = 0;
    }
}

std::string CompressBuffer(std::string_view bytes)
{
    core::TMemoryStream out;
    {
        TRpCompress coder(out, true);
        coder.CompressBytes(bytes.data(), bytes.size());
        coder.Finish();
    }
    return out.DataString();
}

std::string ExpandBuffer(std::string_view code, std::size_t length)
{
    core::TMemoryStream in;
    in.WriteBuffer(code.data(), static_cast<std::int64_t>(code.size()));
    in.SetPosition(0);
    std::string out(length, '\0');
    TRpCompress coder(in, false);
    coder.ExpandBytes(out.data(), length);
    coder.Finish();
    return out;
}

} // namespace report
