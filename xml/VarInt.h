#pragma once
// Variable-length unsigned integers on streams: seven bits a byte, the least
// significant group first, the top bit set on every byte but the last; one to
// five bytes for a 32-bit value. And raw string bytes on streams.

#include "platform/core/Streams.h"

#include <cstdint>
#include <string>
#include <string_view>

namespace xml {

class TxFastMemStream;

void WriteVarUInt(core::TStream& stream, std::uint32_t value);
// Stops at the first byte whose top bit is clear, or where the stream ends
// (with the groups read so far). A sixth group raises "invalid cardinal reader".
std::uint32_t ReadVarUInt(core::TStream& stream);
// The same on a memory stream, reading its block directly.
std::uint32_t ReadVarUInt(TxFastMemStream& stream);

// The same coding under the names of the text routines.
inline void WriteCardinal(core::TStream& stream, std::uint32_t value) { WriteVarUInt(stream, value); }
inline std::uint32_t ReadCardinal(core::TStream& stream) { return ReadVarUInt(stream); }

// The bytes of text; nothing at all (no length, no terminator) when it is empty.
void WriteStringBytes(core::TStream& stream, std::string_view text);
inline void WriteStringToStream(core::TStream& stream, std::string_view text) { WriteStringBytes(stream, text); }
// count bytes; raises the stream's read error when fewer are left.
std::string ReadStringFromStream(core::TStream& stream, std::int64_t count);

} // namespace xml
