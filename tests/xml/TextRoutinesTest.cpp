#include "xml/TextRoutines.h"

#include "platform/core/Letters.h"
#include "platform/core/Unicode.h"

#include <gtest/gtest.h>

using namespace xml;

TEST(TextRoutines, EscapeTheFiveCharacters)
{
    EXPECT_EQ(EscapeText("Žluťoučký kůň"), "Žluťoučký kůň");
    EXPECT_EQ(EscapeText("&<>'\""), "&amp;&lt;&gt;&apos;&quot;");
    EXPECT_EQ(EscapeText("a<b&c\"d'e>f"), "a&lt;b&amp;c&quot;d&apos;e&gt;f");
    EXPECT_EQ(EscapeText(""), "");
}

TEST(TextRoutines, UnescapeReferences)
{
    // U+11170 lies beyond the basic plane and is a character all the same.
    EXPECT_EQ(UnescapeText("&#65;&#x41;&foo;&amp x&#70000;"), "AA&foo;&amp x\xF0\x91\x85\xB0");
    EXPECT_EQ(UnescapeText("&lt;&gt;&amp;&apos;&quot;"), "<>&'\"");
    EXPECT_EQ(UnescapeText("&LT;"), "&LT;") << "case matters";
    EXPECT_EQ(UnescapeText("a & b"), "a & b");
    EXPECT_EQ(UnescapeText("tail &amp"), "tail &amp");
    EXPECT_EQ(UnescapeText("&#13;&#10;"), "\n\n") << "a reference to CR gives LF";
    EXPECT_EQ(UnescapeText("&#x10D;&#X10c;"), "čČ");
    EXPECT_EQ(UnescapeText("&#;&#x;&#12a;&#-5;"), "&#;&#x;&#12a;&#-5;");
    EXPECT_EQ(UnescapeText("&#xD800;&#1114112;&#99999999999999999999;&#x100000041;"),
              "&#xD800;&#1114112;&#99999999999999999999;&#x100000041;") << "no character: kept as text";
    EXPECT_EQ(UnescapeText("no references"), "no references");
    EXPECT_EQ(UnescapeText(EscapeText("a<b&c\"d'e>f")), "a<b&c\"d'e>f");
}

TEST(TextRoutines, LineBreaks)
{
    EXPECT_EQ(NormalizeLineBreaks("a\r\nb\rc\nd\r"), "a\nb\nc\nd\n");
    EXPECT_EQ(NormalizeLineBreaks("\r\r\n"), "\n\n");
    EXPECT_EQ(ApplyLineBreakStyle("a\nb\n", lbLF), "a\nb\n");
    EXPECT_EQ(ApplyLineBreakStyle("a\nb\n", lbCRLF), "a\r\nb\r\n");
    EXPECT_EQ(ApplyLineBreakStyle("a\nb\n", lbCR), "a\rb\r");
    EXPECT_EQ(ApplyLineBreakStyle("one line", lbCRLF), "one line");
}

TEST(TextRoutines, Blanks)
{
    EXPECT_EQ(TrimBlanks("\t\r\n x y \x01"), "x y");
    bool trimmed = true;
    EXPECT_EQ(TrimBlanksFlag("xy", trimmed), "xy");
    EXPECT_FALSE(trimmed);
    EXPECT_EQ(TrimBlanksFlag(" xy", trimmed), "xy");
    EXPECT_TRUE(trimmed);

    const TxSplitText split = SplitBlanks("\n\t text  here \n");
    EXPECT_EQ(split.Leading, "\n\t ");
    EXPECT_EQ(split.Core, "text  here");
    EXPECT_EQ(split.Trailing, " \n");
    const TxSplitText blank = SplitBlanks(" \n ");
    EXPECT_EQ(blank.Leading, " \n ") << "blanks only are all leading";
    EXPECT_EQ(blank.Core, "");
    EXPECT_EQ(blank.Trailing, "");

    EXPECT_EQ(RemoveBlanks("QU Jh\r\ndG\tU="), "QUJhdGU=");
    EXPECT_EQ(CommaToPoint("1,5;2,25"), "1.5;2.25");
}

TEST(TextRoutines, NamesMatchIgnoringCzechLetterCase)
{
    EXPECT_TRUE(SameName("D:Oznaceni_Vstupu", "d:oznaceni_vstupu"));
    EXPECT_TRUE(SameName("Č", "č"));
    EXPECT_TRUE(SameName("ŽLUŤOUČKÝ kůň", "žluťoučký KŮŇ"));
    EXPECT_FALSE(SameName("č", "ď")) << "the same lead byte, another letter";
    EXPECT_FALSE(SameName("a", "ab"));
    EXPECT_FALSE(SameName("x:a", "x_a"));
    EXPECT_TRUE(SameName("", ""));
    EXPECT_EQ(CompareTextLocale("Čáp", "čáp"), 0);
    EXPECT_EQ(CompareTextLocale("a", "B"), -1);
    EXPECT_EQ(CompareTextLocale("b", "A"), 1);
}

TEST(TextRoutines, FoldedLettersKeepTheirByteLength)
{
    // SameName refuses texts of different byte lengths at once; that is only
    // right while folding never changes the length of a letter's UTF-8 form.
    for (char32_t c = 0x20; c < 0x250; ++c) {
        std::string letter, upper, lower;
        core::AppendUtf8(letter, c);
        core::AppendUtf8(upper, core::FoldUpper(c));
        core::AppendUtf8(lower, core::FoldLower(c));
        EXPECT_EQ(letter.size(), upper.size()) << static_cast<unsigned>(c);
        EXPECT_EQ(letter.size(), lower.size()) << static_cast<unsigned>(c);
        EXPECT_EQ(SameName(letter, upper), core::AnsiSameText(letter, upper));
    }
}
