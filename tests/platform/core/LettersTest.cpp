#include "platform/core/Letters.h"

#include <gtest/gtest.h>

using namespace core;

TEST(Letters, AnsiCaseFoldsEveryCzechLetter)
{
    EXPECT_EQ(AnsiUpperCase("příliš žluťoučký kůň úpěl ďábelské ódy"),
              "PŘÍLIŠ ŽLUŤOUČKÝ KŮŇ ÚPĚL ĎÁBELSKÉ ÓDY");
    EXPECT_EQ(AnsiLowerCase("PŘÍLIŠ ŽLUŤOUČKÝ KŮŇ ÚPĚL ĎÁBELSKÉ ÓDY"),
              "příliš žluťoučký kůň úpěl ďábelské ódy");
    EXPECT_EQ(AnsiUpperCase("äöüßÿ"), "ÄÖÜßŸ");
    EXPECT_EQ(AnsiLowerCase("ĹĽŃŇŔŘŚŠŹŽ"), "ĺľńňŕřśšźž");
    EXPECT_EQ(AnsiUpperCase("×÷"), "×÷");
    EXPECT_EQ(AnsiUpperCase("日本 α"), "日本 α"); // letters beyond Latin Extended-A are left alone
}

TEST(Letters, AnsiCompareIgnoresCase)
{
    EXPECT_TRUE(AnsiSameText("Čj. 12", "čJ. 12"));
    EXPECT_TRUE(AnsiSameText("D:Oznaceni_Vstupu", "d:oznaceni_vstupu"));
    EXPECT_FALSE(AnsiSameText("č", "c"));
    EXPECT_LT(AnsiCompareText("abc", "ABD"), 0);
    EXPECT_GT(AnsiCompareText("abcd", "ABC"), 0);
    EXPECT_NE(AnsiCompareStr("a", "A"), 0);
}

TEST(Letters, AsciiFamilyLeavesOtherLettersAlone)
{
    EXPECT_EQ(UpperCase("čaj"), "čAJ");
    EXPECT_EQ(LowerCase("ČAJ"), "Čaj");
    EXPECT_TRUE(SameText("Nastaveni", "NASTAVENI"));
    EXPECT_FALSE(SameText("Č", "č"));
    EXPECT_EQ(CompareText("a", "B"), -1);
}
