#pragma once
// The adaptive prefix coder of stored pages: a splay-tree code over the 256
// byte values. Each byte's code is its path from the root to its leaf (0 for
// a left step, 1 for a right one); after each byte its leaf is semi-splayed
// toward the root, on both sides alike. Bits fill each byte from its least
// significant bit up. One coder serves one page and starts from the same
// complete tree, so pages end on a byte boundary and decode independently.

#include "platform/core/Streams.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace report {

class TRpCompress {
public:
    // compressMode true writes codes to stream, false reads them back.
    TRpCompress(core::TStream& stream, bool compressMode);
    // Finishes the coder when Finish was not called (errors are swallowed here).
    ~TRpCompress();
    TRpCompress(const TRpCompress&) = delete;
    TRpCompress& operator=(const TRpCompress&) = delete;

    void CompressByte(std::uint8_t value);
    void CompressBytes(const void* data, std::size_t count);
    // The next byte of the code; raises core::EReadError when the stream ends.
    std::uint8_t ExpandByte();
    void ExpandBytes(void* data, std::size_t count);

    // Compressing: writes the pending partial byte (its unused high bits 0).
    // Expanding: puts the stream back right after the last byte used.
    void Finish();

private:
    void InitializeTree();
    void Splay(std::uint8_t value);
    std::uint8_t ReadByte();
    void WriteByte(std::uint8_t value);
    void FlushOutput();

    std::uint8_t BitPos = 0;
    bool CompressMode;
    std::uint16_t InByte = 0;
    std::array<std::uint16_t, 256> Left{};
    std::array<std::uint16_t, 256> Right{};
    std::uint16_t OutByte = 0;
    core::TStream* Stream;
    // Parents of nodes 1 to 512 (the root 0 has none).
    std::array<std::uint8_t, 513> Up{};

    // Bytes move to and from the stream in blocks.
    std::array<std::uint8_t, 4096> buffer_{};
    std::size_t bufferUsed_ = 0;
    std::size_t bufferRead_ = 0;
    bool finished_ = false;
};

// Whole buffers through a fresh coder each, for callers that hold the bytes.
std::string CompressBuffer(std::string_view bytes);
std::string ExpandBuffer(std::string_view code, std::size_t length);

} // namespace report
