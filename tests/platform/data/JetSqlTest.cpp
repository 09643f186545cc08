// Jet SQL on its way to SQLite, and the LIKE matcher.

#include "TestDatabase.h"

#include "platform/data/DataError.h"
#include "platform/data/JetSql.h"
#include "platform/data/SqlFunctions.h"
#include "platform/data/TextOrder.h"

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
        EXPECT_EQ(e.Message(), "Chyba syntaxe v datu ve výrazu dotazu '#2010/13/45#'.");
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

TEST(JetSql, OrderByTermsSortTextsAsJetDoes)
{
    EXPECT_EQ(TranslateJetSql("SELECT * FROM t ORDER BY datum_konverze DESC"),
              "SELECT * FROM t ORDER BY datum_konverze COLLATE JETTEXT DESC");
    EXPECT_EQ(TranslateJetSql("SELECT * FROM t\r\n\r\nORDER BY oznaceni_vstupu ASC"),
              "SELECT * FROM t\r\n\r\nORDER BY oznaceni_vstupu COLLATE JETTEXT ASC");
    EXPECT_EQ(TranslateJetSql("select a from t order by a, b desc,c"),
              "select a from t order by a COLLATE JETTEXT, b COLLATE JETTEXT desc,c COLLATE JETTEXT");
    // Terms with parentheses, a term that names its own collation, a subquery's order, comments after the last term.
    EXPECT_EQ(TranslateJetSql("ORDER BY max(a, (b)) ASC, c COLLATE BINARY, d -- last\n"),
              "ORDER BY max(a, (b)) COLLATE JETTEXT ASC, c COLLATE BINARY, d COLLATE JETTEXT -- last\n");
    EXPECT_EQ(TranslateJetSql("SELECT x FROM (SELECT x FROM t ORDER BY x) WHERE x > 1"),
              "SELECT x FROM (SELECT x FROM t ORDER BY x COLLATE JETTEXT) WHERE x > 1");
    EXPECT_EQ(TranslateJetSql("SELECT x FROM t ORDER BY x LIMIT 3"),
              "SELECT x FROM t ORDER BY x COLLATE JETTEXT LIMIT 3");
    // Words that only look like it stay as they are.
    EXPECT_EQ(TranslateJetSql("SELECT [order by x], 'ORDER BY y', order_by FROM t"),
              "SELECT [order by x], 'ORDER BY y', order_by FROM t");
}

TEST(JetSql, ColumnsThatHoldNoTextKeepTheirOwnOrder)
{
    // Left as they are, an index on the column can give the rows in order.
    const TNonTextColumns nonText{"datum_konverze", "id"};
    EXPECT_EQ(TranslateJetSql("SELECT * FROM konverze ORDER BY datum_konverze DESC", &nonText),
              "SELECT * FROM konverze ORDER BY datum_konverze DESC");
    EXPECT_EQ(TranslateJetSql("ORDER BY k.Datum_Konverze, [ID] DESC, oznaceni_vstupu", &nonText),
              "ORDER BY k.Datum_Konverze, [ID] DESC, oznaceni_vstupu COLLATE JETTEXT");
    // An expression over such a column may well be a text.
    EXPECT_EQ(TranslateJetSql("ORDER BY datum_konverze || 'x', YEAR(datum_konverze), id + 1", &nonText),
              "ORDER BY datum_konverze || 'x' COLLATE JETTEXT, CAST(YEAR(datum_konverze) AS INTEGER) COLLATE JETTEXT, "
              "id + 1 COLLATE JETTEXT");
}

TEST(JetTextOrder, CzechAlphabetIgnoringLetterCaseAtFirst)
{
    // Case and accents decide only between texts that are otherwise the same.
    EXPECT_LT(CompareJetText("abc", "Abd"), 0);
    EXPECT_GT(CompareJetText("Zebra", "ábel"), 0); // not by bytes
    EXPECT_LT(CompareJetText("abc", "ABC"), 0);
    EXPECT_EQ(CompareJetText("abc", "abc"), 0);
    EXPECT_LT(CompareJetText("", "a"), 0);
    EXPECT_LT(CompareJetText("a", "ab"), 0);
    // č, ř, š, ž and ch are letters of their own, after c, r, s, z and h.
    EXPECT_LT(CompareJetText("Cvrček", "čáp"), 0);
    EXPECT_LT(CompareJetText("rys", "řeka"), 0);
    EXPECT_LT(CompareJetText("sup", "šek"), 0);
    EXPECT_LT(CompareJetText("zvon", "žába"), 0);
    EXPECT_LT(CompareJetText("hrad", "chata"), 0);
    EXPECT_LT(CompareJetText("chata", "ibis"), 0);
    EXPECT_GT(CompareJetText("Schůze", "Sd"), 0); // s-ch after s-d
    // Accented vowels and ď, ť, ň sort with their letter; the accent decides last.
    EXPECT_LT(CompareJetText("dáma", "dav"), 0);
    EXPECT_LT(CompareJetText("dama", "dáma"), 0);
    EXPECT_LT(CompareJetText("tělo", "ťuk"), 0);
    EXPECT_GT(CompareJetText("kůň", "kun"), 0);
    // Digits and blanks before letters; other scripts after them.
    EXPECT_LT(CompareJetText("12 C", "A"), 0);
    EXPECT_LT(CompareJetText("a b", "ab"), 0);
    EXPECT_LT(CompareJetText("žluť", "Ωmega"), 0);
    // Texts that share their beginning: a "c" there may start a "ch", a shared lead byte a letter.
    EXPECT_LT(CompareJetText("Baci", "Bach"), 0);
    EXPECT_GT(CompareJetText("Bach", "Baci"), 0);
    EXPECT_LT(CompareJetText("aſ", "aź"), 0); // s before z, though the second bytes say otherwise
    EXPECT_LT(CompareJetText("Rozsudek č. 2", "Rozsudek čj. 1"), 0);
    // A total order: texts equal but for the bytes still differ.
    EXPECT_NE(CompareJetText("a\xff", "a\xfe"), 0);
}
