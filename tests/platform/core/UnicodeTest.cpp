#include "platform/core/CodePage.h"
#include "platform/core/Exceptions.h"
#include "platform/core/Unicode.h"

#include <gtest/gtest.h>

using namespace core;

TEST(Unicode, Utf16RoundTripWithSurrogatePairs)
{
    const std::string text = "Kůň 😀 α";
    const std::u16string wide = Utf8ToUtf16(text);
    EXPECT_EQ(wide, u"Kůň 😀 α");
    EXPECT_EQ(wide.size(), 8u); // the emoji takes two units
    EXPECT_EQ(Utf16ToUtf8(wide), text);
    EXPECT_EQ(Utf16ToUtf8(std::u16string(1, char16_t(0xD800))), "\xEF\xBF\xBD");
}

TEST(Unicode, MalformedSequenceNeverSwallowsTheNextByte)
{
    // A lead byte without its continuation, then a plain "A".
    EXPECT_EQ(Utf8ToUtf32("\xC4" "A"), (std::u32string{0xFFFD, U'A'}));
    EXPECT_EQ(Utf8ToUtf32("\xE2\x82" "B"), (std::u32string{0xFFFD, U'B'}));
    EXPECT_EQ(Utf8ToUtf32("\xC0\xAF"), (std::u32string{0xFFFD, 0xFFFD})); // over-long
    EXPECT_EQ(Utf8ToUtf32("\xED\xA0\x80"), (std::u32string{0xFFFD}));     // encoded surrogate
    EXPECT_FALSE(IsValidUtf8("\xC4"));
    EXPECT_TRUE(IsValidUtf8("Čj. \xEF\xBF\xBD"));
}

TEST(Unicode, LengthAndCopyCountCharacters)
{
    EXPECT_EQ(Utf8Length("žluťoučký"), 9u);
    EXPECT_EQ(Utf8Copy("žluťoučký", 3, 3), "ťou");
    EXPECT_EQ(Utf8Copy("žluť", 2), "uť");
    EXPECT_EQ(Utf8Copy("ab", 5, 1), "");
}

TEST(CodePage, Windows1250RoundTripOfCzechText)
{
    const std::string text = "Příliš žluťoučký kůň úpěl ďábelské ódy";
    const std::string ansi = Utf8ToAnsi(text);
    EXPECT_EQ(ansi.size(), Utf8Length(text));
    EXPECT_EQ(static_cast<unsigned char>(ansi[1]), 0xF8); // ř
    EXPECT_EQ(AnsiToUtf8(ansi), text);
}

TEST(CodePage, MissingCharacterBecomesQuestionMark)
{
    std::size_t substitutions = 0;
    EXPECT_EQ(Utf8ToCodePage("a α b", 1250, &substitutions), "a ? b");
    EXPECT_EQ(substitutions, 1u);
    EXPECT_EQ(Utf8ToCodePage("€", 1252), "\x80");
    EXPECT_EQ(CodePageToUtf8("\x8A", 1252), "Š");
    EXPECT_EQ(CodePageToUtf8("\x8A", 1250), "Š");
    EXPECT_EQ(CodePageToUtf8("\x9A", 1250), "š");
    EXPECT_THROW(CodePageToUtf8("x", 4242), EConvertError);
}
