#include "platform/core/SystemCodePages.h"

#include <gtest/gtest.h>

using namespace core;

TEST(SystemCodePages, OwnTablesComeFirst)
{
    EXPECT_EQ(SystemCodePage(1250), FindCodePage(1250));
    EXPECT_EQ(SystemCodePage(0)->CodePage(), 1250u) << "code page 0 is the ANSI code page";
}

TEST(SystemCodePages, BuiltFromTheConverterAndRegistered)
{
    const TSingleByteCodePage* latin2 = SystemCodePage(28592);
    ASSERT_NE(latin2, nullptr);
    EXPECT_EQ(latin2->ToUnicode(0xE8), U'\u010D'); // č
    EXPECT_EQ(latin2->ToUnicode(0xA9), U'\u0160'); // Š
    EXPECT_EQ(latin2->ToUnicode('A'), U'A');
    EXPECT_EQ(FindCodePage(28592), latin2) << "registered for everybody";
    EXPECT_EQ(SystemCodePage(28592), latin2) << "built once";

    const TSingleByteCodePage* dos = SystemCodePage(866);
    ASSERT_NE(dos, nullptr);
    EXPECT_EQ(dos->ToUnicode(0x80), U'\u0410'); // А
    EXPECT_EQ(dos->FromUtf8("\xD0\x90"), "\x80");

    const TSingleByteCodePage* ascii = SystemCodePage(20127);
    ASSERT_NE(ascii, nullptr);
    EXPECT_EQ(ascii->ToUnicode(0x81), U'\u0081') << "undefined bytes stand for the C1 control";
}

TEST(SystemCodePages, MultiByteAndUnknownPagesAreRefused)
{
    EXPECT_EQ(SystemCodePage(932), nullptr);
    EXPECT_EQ(SystemCodePage(65001), nullptr);
    EXPECT_EQ(SystemCodePage(12345), nullptr);
    EXPECT_EQ(SystemCodePage(37), nullptr) << "EBCDIC is not ASCII in its lower half";
}
