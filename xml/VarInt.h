#pragma once
// Variable-length unsigned integers: seven bits a byte, the least significant
// group first, the top bit set on every byte but the last; one to five bytes
// for a 32-bit value. Every reader raises "invalid cardinal reader" at a sixth
// group. And raw string bytes on streams.

#include "platform/core/Streams.h"

#include <cstdint>
#include <string>
#include <string_view>

namespace xml {

void WriteVarUInt(core::TStream& stream, std::uint32_t value);
void AppendVarUInt(std::string& bytes, std::uint32_t value);
// Stops at the first byte whose top bit is clear, or where the stream ends
// (with the groups read so far).
std::uint32_t ReadVarUInt(core::TStream& stream);
// Decodes the value that begins at at, among the bytes up to end, and moves
// at past it. False when the bytes end inside the value (at is end then).
bool DecodeVarUInt(const std::uint8_t*& at, const std::uint8_t* end, std::uint32_t& value);

// The same coding under the names of the text routines.
inline void WriteCardinal(core::TStream& stream, std::uint32_t value) { WriteVarUInt(stream, value); }
inline std::uint32_t ReadCardinal(core::TStream& stream) { return ReadVarUInt(stream); }

// The bytes of text; nothing at all (no length, no terminator) when it is
// empty. Raises the stream's write error when the stream takes fewer. Every
// text the library writes to a stream goes through here.
void WriteStringBytes(core::TStream& stream, std::string_view text);
inline void WriteStringToStream(core::TStream& stream, std::string_view text) { WriteStringBytes(stream, text); }
// count bytes; raises the stream's read error when fewer are left.
std::string ReadStringFromStream(core::TStream& stream, std::int64_t count);

} // namespace xml
