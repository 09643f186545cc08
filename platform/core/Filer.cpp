#include "platform/core/Filer.h"

#include "platform/core/Exceptions.h"
#include "platform/core/Letters.h"

#include <cstring>
#include <limits>

namespace core {

namespace {

static_assert(std::numeric_limits<long double>::digits == 64, "floats are stored as 80-bit extended values");
constexpr int kExtendedSize = 10;

void WriteLittle(TStream& stream, std::uint64_t value, int bytes)
{
    std::uint8_t buffer[8];
    for (int i = 0; i < bytes; ++i)
        buffer[i] = static_cast<std::uint8_t>(value >> (8 * i));
    stream.WriteBuffer(buffer, bytes);
}

std::uint64_t ReadLittle(TStream& stream, int bytes)
{
    std::uint8_t buffer[8];
    stream.ReadBuffer(buffer, bytes);
    std::uint64_t value = 0;
    for (int i = bytes - 1; i >= 0; --i)
        value = value << 8 | buffer[i];
    return value;
}

std::string ReadBytes(TStream& stream, std::uint64_t count)
{
    // A length beyond the rest of the stream is damage, not a reason to allocate.
    if (count > static_cast<std::uint64_t>(stream.Size() - stream.Position()))
        throw EReadError("Stream read error");
    std::string bytes(static_cast<std::size_t>(count), '\0');
    stream.ReadBuffer(bytes.data(), static_cast<std::int64_t>(count));
    return bytes;
}

} // namespace

// ---- TWriter ----

void TWriter::DefineProperty(const std::string& name, TReaderProc, TWriterProc writeData, bool hasData)
{
    if (!hasData || !writeData)
        return;
    WritePropName(name);
    writeData(*this);
}

void TWriter::WritePropName(const std::string& name)
{
    if (name.size() > 255)
        throw EWriteError("Property name too long: " + name.substr(0, 32) + "...");
    WriteLittle(Stream(), name.size(), 1);
    Stream().WriteBuffer(name.data(), static_cast<std::int64_t>(name.size()));
}

void TWriter::WriteValue(TValueType type)
{
    WriteLittle(Stream(), static_cast<std::uint8_t>(type), 1);
}

void TWriter::WriteFloat(long double value)
{
    WriteValue(TValueType::vaExtended);
    std::uint8_t bytes[sizeof(long double)] = {};
    std::memcpy(bytes, &value, sizeof value);
    Stream().WriteBuffer(bytes, kExtendedSize);
}

void TWriter::WriteInteger(std::int64_t value)
{
    auto bits = static_cast<std::uint64_t>(value);
    if (value >= -128 && value <= 127) {
        WriteValue(TValueType::vaInt8);
        WriteLittle(Stream(), bits, 1);
    } else if (value >= -32768 && value <= 32767) {
        WriteValue(TValueType::vaInt16);
        WriteLittle(Stream(), bits, 2);
    } else if (value >= std::numeric_limits<std::int32_t>::min() && value <= std::numeric_limits<std::int32_t>::max()) {
        WriteValue(TValueType::vaInt32);
        WriteLittle(Stream(), bits, 4);
    } else {
        WriteValue(TValueType::vaInt64);
        WriteLittle(Stream(), bits, 8);
    }
}

void TWriter::WriteBoolean(bool value)
{
    WriteValue(value ? TValueType::vaTrue : TValueType::vaFalse);
}

void TWriter::WriteString(const std::string& value)
{
    WriteValue(TValueType::vaUTF8String);
    WriteLittle(Stream(), value.size(), 4);
    Stream().WriteBuffer(value.data(), static_cast<std::int64_t>(value.size()));
}

void TWriter::WriteIdent(const std::string& ident)
{
    if (ident.size() > 255)
        throw EWriteError("Identifier too long");
    WriteValue(TValueType::vaIdent);
    WriteLittle(Stream(), ident.size(), 1);
    Stream().WriteBuffer(ident.data(), static_cast<std::int64_t>(ident.size()));
}

// ---- TReader ----

void TReader::DefineProperty(const std::string& name, TReaderProc readData, TWriterProc, bool)
{
    if (propRead_ || !SameText(name, propName_) || !readData)
        return;
    readData(*this);
    propRead_ = true;
}

void TReader::ReadProperty(const std::function<void(TFiler& filer)>& defineProperties)
{
    propName_ = ReadPropName();
    propRead_ = false;
    if (defineProperties)
        defineProperties(*this);
    if (!propRead_)
        throw EReadError("Property " + propName_ + " does not exist");
}

std::string TReader::ReadPropName()
{
    std::uint64_t length = ReadLittle(Stream(), 1);
    return ReadBytes(Stream(), length);
}

TValueType TReader::NextValue()
{
    TValueType type = ReadValue();
    Stream().Seek(-1, TSeekOrigin::soCurrent);
    return type;
}

TValueType TReader::ReadValue()
{
    return static_cast<TValueType>(ReadLittle(Stream(), 1));
}

void TReader::InvalidValue()
{
    throw EReadError("Invalid property value");
}

void TReader::CheckValue(TValueType expected)
{
    if (ReadValue() != expected)
        InvalidValue();
}

long double TReader::ReadFloat()
{
    switch (NextValue()) {
    case TValueType::vaExtended: {
        ReadValue();
        std::uint8_t bytes[sizeof(long double)] = {};
        Stream().ReadBuffer(bytes, kExtendedSize);
        long double value = 0;
        std::memcpy(&value, bytes, sizeof value);
        return value;
    }
    case TValueType::vaDouble: {
        ReadValue();
        std::uint64_t bits = ReadLittle(Stream(), 8);
        double value = 0;
        std::memcpy(&value, &bits, sizeof value);
        return value;
    }
    case TValueType::vaSingle: {
        ReadValue();
        auto bits = static_cast<std::uint32_t>(ReadLittle(Stream(), 4));
        float value = 0;
        std::memcpy(&value, &bits, sizeof value);
        return value;
    }
    default:
        return static_cast<long double>(ReadInteger());
    }
}

std::int64_t TReader::ReadInteger()
{
    switch (ReadValue()) {
    case TValueType::vaInt8: return static_cast<std::int8_t>(ReadLittle(Stream(), 1));
    case TValueType::vaInt16: return static_cast<std::int16_t>(ReadLittle(Stream(), 2));
    case TValueType::vaInt32: return static_cast<std::int32_t>(ReadLittle(Stream(), 4));
    case TValueType::vaInt64: return static_cast<std::int64_t>(ReadLittle(Stream(), 8));
    default: InvalidValue();
    }
}

bool TReader::ReadBoolean()
{
    switch (ReadValue()) {
    case TValueType::vaTrue: return true;
    case TValueType::vaFalse: return false;
    default: InvalidValue();
    }
}

std::string TReader::ReadString()
{
    switch (ReadValue()) {
    case TValueType::vaString: return ReadBytes(Stream(), ReadLittle(Stream(), 1));
    case TValueType::vaLString:
    case TValueType::vaUTF8String: return ReadBytes(Stream(), ReadLittle(Stream(), 4));
    default: InvalidValue();
    }
}

std::string TReader::ReadIdent()
{
    if (ReadValue() != TValueType::vaIdent)
        InvalidValue();
    return ReadBytes(Stream(), ReadLittle(Stream(), 1));
}

} // namespace core
