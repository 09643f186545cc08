// Jet SQL on its way to SQLite, and the LIKE matcher.

#include "TestDatabase.h"

#include "platform/data/DataError.h"
#include "platform/data/JetSql.h"
#include "platform/data/SqlFunctions.h"

#include <gtest/gtest.h>

using namespace data;

TEST(JetSql, DateLiteralsBecomeDaysSince1899)
{
    EXPECT_EQ(TranslateJetSql("WHERE (datum_konverze < #2010/05/13#) and (datum_konverze > #2010/05/11#)"),
              "WHERE (datum_konverze < 40311.0) and (datum_konverze > 40309.0)");
    EXPECT_EQ(TranslateJetSql("x >= #1899/12/30#"), "x >= 0.0");
    // Before 1899-12-30 the value is negative and comes in parentheses, so "x-#...#" never reads as a comment.
    EXPECT_EQ(TranslateJetSql("x-#1899/12/29#"), "x-(-1.0)");

    double v = 0;
    ASSERT_TRUE(ParseJetDateLiteral("2010/05/31 23:59:59", v));
    EXPECT_DOUBLE_EQ(v, DateTimeOf(2010, 5, 31, 23, 59, 59));
    ASSERT_TRUE(ParseJetDateLiteral(" 5/31/2010 11:59:59 PM ", v));
    EXPECT_DOUBLE_EQ(v, DateTimeOf(2010, 5, 31, 23, 59, 59));
    ASSERT_TRUE(ParseJetDateLiteral("2010-06-01 00:00", v));
    EXPECT_DOUBLE_EQ(v, DateTimeOf(2010, 6, 1));
    ASSERT_TRUE(ParseJetDateLiteral("12:00:00", v));
    EXPECT_DOUBLE_EQ(v, 0.5);
    ASSERT_TRUE(ParseJetDateLiteral("2/29/12", v));
    EXPECT_DOUBLE_EQ(v, DateTimeOf(2012, 2, 29));
    EXPECT_FALSE(ParseJetDateLiteral("2011/02/29", v));
    EXPECT_FALSE(ParseJetDateLiteral("2010/05", v));
    EXPECT_FALSE(ParseJetDateLiteral("2010/05/12 25:00", v));
    EXPECT_FALSE(ParseJetDateLiteral("", v));

    // The translated text reads back to the exact value of the literal.
    const std::string sql = TranslateJetSql("#2010/05/31 23:59:59#");
    EXPECT_DOUBLE_EQ(std::stod(sql), DateTimeOf(2010, 5, 31, 23, 59, 59));
}

TEST(JetSql, BadDateLiteralIsAnErrorNamingIt)
{
    try {
        TranslateJetSql("WHERE d < #2010/13/45# ORDER BY d");
        FAIL();
    } catch (const EDatabaseError& e) {
        EXPECT_EQ(e.Message(), "Syntax error in date in query expression '#2010/13/45#'.");
    }
    EXPECT_THROW(TranslateJetSql("WHERE d < #2010/01/01"), EDatabaseError);
}

TEST(JetSql, LiteralsNamesAndCommentsAreNeverTouched)
{
    const std::string untouched =
        "SELECT [year (#1#)], `day(` FROM t WHERE a = '#2010/01/01# year(x) ''#' -- #x# year(\n/* #y# */";
    EXPECT_EQ(TranslateJetSql(untouched), untouched);
    // Jet's double-quoted literal becomes an SQL one, apostrophes doubled.
    EXPECT_EQ(TranslateJetSql("WHERE a = \"O'Brien \"\"x\"\"\""), "WHERE a = 'O''Brien \"x\"'");
    EXPECT_EQ(TranslateJetSql("SELECT year, month FROM t"), "SELECT year, month FROM t");
}

TEST(JetSql, DatePartsCompareAsNumbers)
{
    EXPECT_EQ(TranslateJetSql("WHERE YEAR(datum_konverze)='2010'"),
              "WHERE CAST(YEAR(datum_konverze) AS INTEGER)='2010'");
    EXPECT_EQ(TranslateJetSql("month (max(d, (1)))=day(e)"),
              "CAST(month (max(d, (1))) AS INTEGER)=CAST(day(e) AS INTEGER)");
}

TEST(LikePattern, PercentAndUnderscoreIgnoringCzechLetterCase)
{
    EXPECT_TRUE(TLikePattern("%čj%").Matches("Rozsudek ČJ. 12"));
    EXPECT_TRUE(TLikePattern("%ŘÍJEN%").Matches("ze dne 1. října... říjen"));
    EXPECT_FALSE(TLikePattern("%čj%").Matches("Rozsudek cj. 12")); // č is not c
    EXPECT_TRUE(TLikePattern("%o'brien%").Matches("Smlouva s O'Brienem"));
    EXPECT_TRUE(TLikePattern("abc").Matches("ABC"));
    EXPECT_FALSE(TLikePattern("abc").Matches("abcd"));
    EXPECT_TRUE(TLikePattern("a%").Matches("a"));
    EXPECT_FALSE(TLikePattern("a%b").Matches("ba"));
    EXPECT_TRUE(TLikePattern("%a%b%c%").Matches("xaxbxc"));
    EXPECT_FALSE(TLikePattern("%a%b%c%").Matches("xcxbxa"));
    EXPECT_FALSE(TLikePattern("ab%ba").Matches("aba")); // the two ends may not overlap
    EXPECT_TRUE(TLikePattern("").Matches(""));
    EXPECT_TRUE(TLikePattern("%").Matches(""));
    EXPECT_TRUE(TLikePattern("_").Matches("ž")); // one character, two bytes
    EXPECT_FALSE(TLikePattern("__").Matches("ž"));
    EXPECT_TRUE(TLikePattern("%Č_%").Matches("xčyz"));
    EXPECT_TRUE(TLikePattern("%a_c%").Matches("zzabbcabc"));
    EXPECT_TRUE(TLikePattern("100!%", U'!').Matches("100%"));
    EXPECT_FALSE(TLikePattern("100!%", U'!').Matches("1000"));
    EXPECT_TRUE(TLikePattern("%[1]%").Matches("a[1]b")); // brackets are plain characters
}
