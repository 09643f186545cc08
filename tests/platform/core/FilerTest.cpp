// The property stream's writer and reader: the exact bytes of names, floats,
// integers and lists, defined properties written and read back, and the
// errors of damaged or unexpected input.
#include "platform/core/Exceptions.h"
#include "platform/core/Filer.h"

#include <gtest/gtest.h>

#include <string>

using namespace core;

namespace {

std::string Bytes(TMemoryStream& stream) { return stream.DataString(); }

std::string Hex(const std::string& bytes)
{
    static const char* digits = "0123456789ABCDEF";
    std::string text;
    for (unsigned char c : bytes) {
        if (!text.empty())
            text += ' ';
        text += digits[c >> 4];
        text += digits[c & 15];
    }
    return text;
}

} // namespace

TEST(FilerTest, FloatsAreTenByteExtendedValues)
{
    TMemoryStream stream;
    TWriter writer(stream);
    writer.WriteFloat(1.0L);
    writer.WriteFloat(2.5L);
    writer.WriteFloat(-0.1L);
    EXPECT_EQ(Hex(Bytes(stream)), "05 00 00 00 00 00 00 00 80 FF 3F "
                                  "05 00 00 00 00 00 00 00 A0 00 40 "
                                  "05 CD CC CC CC CC CC CC CC FB BF");
    stream.SetPosition(0);
    TReader reader(stream);
    EXPECT_EQ(reader.ReadFloat(), 1.0L);
    EXPECT_EQ(reader.ReadFloat(), 2.5L);
    EXPECT_EQ(reader.ReadFloat(), -0.1L);
}

TEST(FilerTest, IntegersTakeTheSmallestType)
{
    TMemoryStream stream;
    TWriter writer(stream);
    writer.WriteInteger(100);
    writer.WriteInteger(-200);
    writer.WriteInteger(70000);
    writer.WriteInteger(1LL << 40);
    EXPECT_EQ(Hex(Bytes(stream)), "02 64 03 38 FF 04 70 11 01 00 13 00 00 00 00 00 01 00 00");
    stream.SetPosition(0);
    TReader reader(stream);
    EXPECT_EQ(reader.ReadInteger(), 100);
    EXPECT_EQ(reader.ReadInteger(), -200);
    EXPECT_EQ(reader.ReadFloat(), 70000.0L); // an integer reads as a float too
    EXPECT_EQ(reader.ReadInteger(), 1LL << 40);
}

TEST(FilerTest, TextsBooleansAndIdentifiersRoundTrip)
{
    TMemoryStream stream;
    TWriter writer(stream);
    writer.WriteString("Žluťoučký");
    writer.WriteBoolean(true);
    writer.WriteBoolean(false);
    writer.WriteIdent("poLandscape");
    stream.SetPosition(0);
    EXPECT_EQ(Hex(Bytes(stream).substr(0, 5)), "14 0D 00 00 00");
    TReader reader(stream);
    EXPECT_EQ(reader.ReadString(), "Žluťoučký");
    EXPECT_TRUE(reader.ReadBoolean());
    EXPECT_FALSE(reader.ReadBoolean());
    EXPECT_EQ(reader.ReadIdent(), "poLandscape");
}

TEST(FilerTest, DefinedPropertiesAreWrittenUnderTheirNames)
{
    TMemoryStream stream;
    TWriter writer(stream);
    auto define = [](TFiler& filer, long double& a, long double& b, bool hasData) {
        filer.DefineProperty(
            "Values",
            [&](TReader& r) {
                r.ReadListBegin();
                a = r.ReadFloat();
                b = r.ReadFloat();
                r.ReadListEnd();
            },
            [&](TWriter& w) {
                w.WriteListBegin();
                w.WriteFloat(a);
                w.WriteFloat(b);
                w.WriteListEnd();
            },
            hasData);
    };
    long double a = 2.5L, b = 1.0L;
    define(writer, a, b, false);
    EXPECT_EQ(stream.Size(), 0);
    define(writer, a, b, true);
    EXPECT_EQ(Hex(Bytes(stream)), "06 56 61 6C 75 65 73 01 "
                                  "05 00 00 00 00 00 00 00 A0 00 40 "
                                  "05 00 00 00 00 00 00 00 80 FF 3F 00");

    stream.SetPosition(0);
    TReader reader(stream);
    long double x = 0, y = 0;
    // Names are matched without regard to case; only the named property reads.
    reader.ReadProperty([&](TFiler& filer) {
        filer.DefineProperty("Other", [](TReader&) { FAIL(); }, nullptr, true);
        define(filer, x, y, true);
    });
    EXPECT_EQ(x, 2.5L);
    EXPECT_EQ(y, 1.0L);
    EXPECT_EQ(stream.Position(), stream.Size());
}

TEST(FilerTest, DamagedOrUnexpectedInputIsAReadError)
{
    {
        TMemoryStream stream;
        TWriter writer(stream);
        writer.WritePropName("Margins");
        writer.WriteInteger(1);
        stream.SetPosition(0);
        TReader reader(stream);
        try {
            reader.ReadProperty([](TFiler& filer) { filer.DefineProperty("Values", [](TReader&) {}, nullptr, true); });
            FAIL();
        } catch (const EReadError& e) {
            EXPECT_EQ(e.Message(), "Property Margins does not exist");
        }
    }
    {
        TMemoryStream stream;
        TWriter writer(stream);
        writer.WriteString("x");
        stream.SetPosition(0);
        TReader reader(stream);
        EXPECT_EQ(reader.NextValue(), TValueType::vaUTF8String);
        try {
            reader.ReadFloat();
            FAIL();
        } catch (const EReadError& e) {
            EXPECT_EQ(e.Message(), "Invalid property value");
        }
    }
    {
        // A float cut short, and a text longer than the stream.
        TMemoryStream stream;
        const unsigned char cut[] = {5, 0, 0, 0};
        stream.WriteBuffer(cut, sizeof cut);
        stream.SetPosition(0);
        TReader reader(stream);
        EXPECT_THROW(reader.ReadFloat(), EReadError);
    }
    {
        TMemoryStream stream;
        const unsigned char longText[] = {20, 0xFF, 0xFF, 0xFF, 0x7F, 'a'};
        stream.WriteBuffer(longText, sizeof longText);
        stream.SetPosition(0);
        TReader reader(stream);
        EXPECT_THROW(reader.ReadString(), EReadError);
    }
    {
        TMemoryStream stream;
        TWriter writer(stream);
        writer.WriteListBegin();
        writer.WriteFloat(1);
        writer.WriteListEnd();
        stream.SetPosition(0);
        TReader reader(stream);
        reader.ReadListBegin();
        EXPECT_FALSE(reader.EndOfList());
        reader.ReadFloat();
        EXPECT_TRUE(reader.EndOfList());
        reader.ReadListEnd();
        EXPECT_THROW(reader.ReadListEnd(), EReadError);
    }
    TMemoryStream stream;
    TWriter writer(stream);
    EXPECT_THROW(writer.WritePropName(std::string(256, 'a')), EWriteError);
}
