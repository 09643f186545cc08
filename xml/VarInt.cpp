#include "xml/VarInt.h"

#include "platform/core/Exceptions.h"

namespace xml {

namespace {

constexpr int kMaxGroups = 5;

[[noreturn]] void TooLong() { throw core::Exception("invalid cardinal reader"); }

// The bytes of value; returns how many.
int EncodeVarUInt(std::uint32_t value, std::uint8_t (&bytes)[kMaxGroups])
{
    int n = 0;
    while (value >= 0x80) {
        bytes[n++] = static_cast<std::uint8_t>(value | 0x80);
        value >>= 7;
    }
    bytes[n++] = static_cast<std::uint8_t>(value);
    return n;
}

// Adds one byte's group at the group-th place; true when the value goes on.
bool AddGroup(std::uint32_t& value, int group, std::uint8_t byte)
{
    if (group >= kMaxGroups)
        TooLong();
    value |= static_cast<std::uint32_t>(byte & 0x7F) << (7 * group);
    return (byte & 0x80) != 0;
}

} // namespace

void WriteVarUInt(core::TStream& stream, std::uint32_t value)
{
    std::uint8_t bytes[kMaxGroups];
    stream.WriteBuffer(bytes, EncodeVarUInt(value, bytes));
}

void AppendVarUInt(std::string& bytes, std::uint32_t value)
{
    std::uint8_t encoded[kMaxGroups];
    bytes.append(reinterpret_cast<const char*>(encoded), static_cast<std::size_t>(EncodeVarUInt(value, encoded)));
}

std::uint32_t ReadVarUInt(core::TStream& stream)
{
    std::uint32_t value = 0;
    std::uint8_t byte = 0;
    for (int group = 0; stream.Read(&byte, 1) == 1; ++group)
        if (!AddGroup(value, group, byte))
            break;
    return value;
}

bool DecodeVarUInt(const std::uint8_t*& at, const std::uint8_t* end, std::uint32_t& value)
{
    value = 0;
    for (int group = 0; at != end; ++group)
        if (!AddGroup(value, group, *at++))
            return true;
    return false;
}

void WriteStringBytes(core::TStream& stream, std::string_view text)
{
    if (!text.empty())
        stream.WriteBuffer(text.data(), static_cast<std::int64_t>(text.size()));
}

std::string ReadStringFromStream(core::TStream& stream, std::int64_t count)
{
    if (count <= 0)
        return {};
    std::string text(static_cast<std::size_t>(count), '\0');
    stream.ReadBuffer(text.data(), count);
    return text;
}

} // namespace xml
