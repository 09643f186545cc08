#pragma once
// Readers and writers of the class library's binary property stream, as far
// as objects with defined properties need them: an object names a property
// with DefineProperty and supplies the procedures that read and write its
// value; the writer writes the property's name and calls the writer
// procedure, the reader calls the reader procedure when it meets the name.
//
// Encoding: a property name is a length byte and that many bytes; every value
// starts with its type byte (TValueType), integers and lengths are
// little-endian, a float is the 10-byte extended-precision value, a list is
// vaList, its values, and vaNull.

#include "platform/core/Streams.h"

#include <cstdint>
#include <functional>
#include <string>

namespace core {

enum class TValueType : std::uint8_t {
    vaNull = 0,
    vaList = 1,
    vaInt8 = 2,
    vaInt16 = 3,
    vaInt32 = 4,
    vaExtended = 5,
    vaString = 6,
    vaIdent = 7,
    vaFalse = 8,
    vaTrue = 9,
    vaBinary = 10,
    vaSet = 11,
    vaLString = 12,
    vaNil = 13,
    vaCollection = 14,
    vaSingle = 15,
    vaCurrency = 16,
    vaDate = 17,
    vaWString = 18,
    vaInt64 = 19,
    vaUTF8String = 20,
    vaDouble = 21,
};

class TReader;
class TWriter;

using TReaderProc = std::function<void(TReader& reader)>;
using TWriterProc = std::function<void(TWriter& writer)>;

class TFiler {
public:
    explicit TFiler(TStream& stream) : stream_(stream) {}
    virtual ~TFiler() = default;
    TFiler(const TFiler&) = delete;
    TFiler& operator=(const TFiler&) = delete;

    // A property whose value the object reads and writes itself; hasData
    // false leaves it out of what is written.
    virtual void DefineProperty(const std::string& name, TReaderProc readData, TWriterProc writeData,
                                bool hasData) = 0;
    TStream& Stream() { return stream_; }

private:
    TStream& stream_;
};

class TWriter : public TFiler {
public:
    using TFiler::TFiler;

    void DefineProperty(const std::string& name, TReaderProc readData, TWriterProc writeData,
                        bool hasData) override;

    // At most 255 bytes; a longer name raises EWriteError.
    void WritePropName(const std::string& name);
    void WriteValue(TValueType type);
    void WriteListBegin() { WriteValue(TValueType::vaList); }
    void WriteListEnd() { WriteValue(TValueType::vaNull); }
    void WriteFloat(long double value);
    // In the smallest integer type that holds the value.
    void WriteInteger(std::int64_t value);
    void WriteBoolean(bool value);
    // UTF-8 text.
    void WriteString(const std::string& value);
    void WriteIdent(const std::string& ident);
};

class TReader : public TFiler {
public:
    using TFiler::TFiler;

    // Reads the property when it is the one now being read.
    void DefineProperty(const std::string& name, TReaderProc readData, TWriterProc writeData,
                        bool hasData) override;

    // Reads the next property name and lets defineProperties define the
    // properties it knows; raises EReadError when none of them has the name.
    void ReadProperty(const std::function<void(TFiler& filer)>& defineProperties);

    std::string ReadPropName();
    // The type of the next value, without reading it.
    TValueType NextValue();
    TValueType ReadValue();
    void ReadListBegin() { CheckValue(TValueType::vaList); }
    void ReadListEnd() { CheckValue(TValueType::vaNull); }
    // True when the next value ends a list.
    bool EndOfList() { return NextValue() == TValueType::vaNull; }
    // Any float or integer value.
    long double ReadFloat();
    std::int64_t ReadInteger();
    bool ReadBoolean();
    std::string ReadString();
    std::string ReadIdent();

private:
    void CheckValue(TValueType expected);
    [[noreturn]] static void InvalidValue();

    std::string propName_;
    bool propRead_ = false;
};

} // namespace core
