#include "xml/CodePages.h"
#include "xml/TextEncoding.h"

#include <gtest/gtest.h>

using namespace xml;

TEST(CodePages, NamesToCodePages)
{
    EXPECT_EQ(CodepageInfos().size(), 143u);
    EXPECT_EQ(CodePageFromName("windows-1250", 0), 1250);
    EXPECT_EQ(CodePageFromName("WINDOWS-1250", 0), 1250);
    EXPECT_EQ(CodePageFromName("Iso-8859-2", 0), 28592);
    EXPECT_EQ(CodePageFromName("klingon", 77), 77);
    EXPECT_EQ(CodePageFromName("", 65001), 65001);
    EXPECT_EQ(CodePageFromName("iso-2022-jp", 0), 50220) << "the first of two rows wins";
    EXPECT_EQ(CodePageFromName("euc-jp", 0), 20932);
    EXPECT_EQ(CodePageFromName("utf-8", 0), 65001);
    // Only ASCII letters fold: a dotted capital I is no "i".
    EXPECT_EQ(CodePageFromName("\xC4\xB0" "BM437", 0), 0);
}

TEST(CodePages, EncodingsFromNames)
{
    EXPECT_EQ(EncodingFromName(""), seUtf8);
    EXPECT_EQ(EncodingFromName("UTF-8"), seUtf8);
    EXPECT_EQ(EncodingFromName("utf-16"), seUtf16LE);
    EXPECT_EQ(EncodingFromName("unicodeFFFE"), seUtf16BE);
    EXPECT_EQ(EncodingFromName("windows-1250"), seAnsi);
    EXPECT_EQ(EncodingFromName("utf-32"), seAnsi) << "refused later as ansi of an unknown page";
    EXPECT_EQ(EncodingFromName("nonsense"), seUtf8);
}

TEST(CodePages, EncodingNamesAndSignatures)
{
    EXPECT_STREQ(EncodingNames[seUtf16BE], "unicodeFFFE");
    EXPECT_STREQ(EncodingNames[seUtf16LE], "utf-16");
    EXPECT_STREQ(EncodingNames[seEbcdic], "ebcdic");
    const TxEncodingSignature& be = EncodingSignatures[kSignatureUtf16BE];
    EXPECT_EQ(be.Length, 2);
    EXPECT_EQ(be.Pattern[0], 0xFE);
    EXPECT_EQ(be.Pattern[1], 0xFF);
    EXPECT_EQ(be.Encoding, seUtf16BE);
    EXPECT_EQ(be.MarkPresent, 1);
    const TxEncodingSignature& le = EncodingSignatures[kSignatureUtf16LE];
    EXPECT_EQ(le.Pattern[0], 0xFF);
    EXPECT_EQ(le.Pattern[1], 0xFE);
    EXPECT_EQ(le.Encoding, seUtf16LE);
    EXPECT_EQ(EncodingSignatures[0].Encoding, seAnsi) << "\"<?xm\" is read as ansi first";
    EXPECT_EQ(EncodingSignatures[1].Length, 3);
}
