#include "xml/VarInt.h"

#include "platform/core/Exceptions.h"
#include "xml/FastStreams.h"

namespace xml {

namespace {

[[noreturn]] void TooLong() { throw core::Exception("invalid cardinal reader"); }

} // namespace

void WriteVarUInt(core::TStream& stream, std::uint32_t value)
{
    std::uint8_t bytes[5];
    int n = 0;
    while (value >= 0x80) {
        bytes[n++] = static_cast<std::uint8_t>(value | 0x80);
        value >>= 7;
    }
    bytes[n++] = static_cast<std::uint8_t>(value);
    stream.WriteBuffer(bytes, n);
}

std::uint32_t ReadVarUInt(core::TStream& stream)
{
    std::uint32_t value = 0;
    for (int shift = 0;; shift += 7) {
        std::uint8_t byte = 0;
        if (stream.Read(&byte, 1) != 1)
            return value;
        if (shift > 28)
            TooLong();
        value |= static_cast<std::uint32_t>(byte & 0x7F) << shift;
        if ((byte & 0x80) == 0)
            return value;
    }
}

std::uint32_t ReadVarUInt(TxFastMemStream& stream)
{
    const char* memory = stream.Memory();
    const std::int64_t size = stream.SizeInUse();
    std::int64_t pos = stream.CurrentPosition();
    if (pos < 0)
        return 0;
    std::uint32_t value = 0;
    for (int shift = 0; pos < size; shift += 7) {
        const auto byte = static_cast<std::uint8_t>(memory[pos++]);
        if (shift > 28) {
            stream.Seek(pos, core::TSeekOrigin::soBeginning);
            TooLong();
        }
        value |= static_cast<std::uint32_t>(byte & 0x7F) << shift;
        if ((byte & 0x80) == 0)
            break;
    }
    stream.Seek(pos, core::TSeekOrigin::soBeginning);
    return value;
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
