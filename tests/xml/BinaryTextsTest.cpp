#include "xml/BinaryTexts.h"

#include "platform/core/FilerError.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

using namespace xml;

namespace {

void ExpectMissingData(const std::function<void()>& call)
{
    try {
        call();
        FAIL() << "no error";
    } catch (const core::EFilerError& e) {
        EXPECT_EQ(e.Message(), "missing data in binary stream");
    }
}

} // namespace

TEST(Base64, EncodesWithPadding)
{
    EXPECT_EQ(EncodeBase64("\x00", 1), "AA==");
    EXPECT_EQ(EncodeBase64("M", 1), "TQ==");
    EXPECT_EQ(EncodeBase64("Ma", 2), "TWE=");
    EXPECT_EQ(EncodeBase64("Man", 3), "TWFu");
    EXPECT_EQ(EncodeBase64("\xFB\xFF", 2), "+/8=");
    EXPECT_EQ(EncodeBase64("x", 0), "");
    EXPECT_EQ(EncodeBase64("x", -1), "");
}

TEST(Base64, DecodesAndRefusesTooShortTexts)
{
    std::vector<unsigned char> all(256);
    for (int i = 0; i < 256; ++i)
        all[static_cast<std::size_t>(i)] = static_cast<unsigned char>(255 - i);
    const std::string text = EncodeBase64(all.data(), 256);
    std::vector<unsigned char> back(256);
    DecodeBase64(text, back.data(), 256);
    EXPECT_EQ(back, all);

    char two[2];
    DecodeBase64("TWE=", two, 2);
    EXPECT_EQ(std::string(two, 2), "Ma");
    char three[3];
    DecodeBase64("TWE=", three, 3); // the length rule allows three bytes from four characters
    EXPECT_EQ(std::string(three, 3), std::string("Ma\0", 3));
    char four[4];
    ExpectMissingData([&] { DecodeBase64("TWE=", four, 4); });
    ExpectMissingData([&] { DecodeBase64("TWF", four, 1); });
}

TEST(Hex, TwoDigitsPerByteAnyCount)
{
    unsigned char bytes[3] = {9, 9, 9};
    DecodeHex("0AFF", bytes, 2);
    EXPECT_EQ(bytes[0], 0x0A);
    EXPECT_EQ(bytes[1], 0xFF);
    DecodeHex("0aFf7c", bytes, 3);
    EXPECT_EQ(bytes[2], 0x7C) << "an odd count of bytes is fine";
    ExpectMissingData([&] { DecodeHex("0AF", bytes, 2); });
    DecodeHex("12zz34", bytes, 3);
    EXPECT_EQ(bytes[0], 0x12);
    EXPECT_EQ(bytes[1], 0) << "decoding stops at a non-digit, the rest is cleared";
    EXPECT_EQ(bytes[2], 0);
}

TEST(BreakLines, BreaksBeforeEachLineAndAfterTheLast)
{
    const std::string text(100, 'A');
    EXPECT_EQ(BreakLines(text, "\r\n\t", 76), "\r\n\t" + std::string(76, 'A') + "\r\n\t" + std::string(24, 'A') + "\r\n\t");
    EXPECT_EQ(BreakLines(std::string(76, 'B'), "|", 76), "|" + std::string(76, 'B') + "|");
    EXPECT_EQ(BreakLines(text, "", 76), text);
    EXPECT_EQ(BreakLines(text, "|", 0), text);
    EXPECT_EQ(BreakLines("čřž", "|", 2), "|čř|ž|") << "characters, not bytes";
    EXPECT_EQ(BreakLines("abc", "|", 1), "|a|b|c|");
}
