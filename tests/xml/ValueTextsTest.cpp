#include "xml/ValueTexts.h"

#include "platform/core/Exceptions.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

using namespace xml;

TEST(ValueTexts, BooleansAndIntegers)
{
    EXPECT_EQ(BoolToXmlText(false), "false");
    EXPECT_EQ(BoolToXmlText(true), "true");
    EXPECT_EQ(IntToXmlText(-2147483647 - 1), "-2147483648");
    EXPECT_EQ(Int64ToXmlText(9007199254740993LL), "9007199254740993");

    std::int32_t v = 0;
    EXPECT_TRUE(TryXmlTextToInt("$001F", v));
    EXPECT_EQ(v, 31);
    EXPECT_TRUE(TryXmlTextToInt(" -42", v));
    EXPECT_EQ(v, -42);
    EXPECT_TRUE(TryXmlTextToInt("$FFFFFFFF", v));
    EXPECT_EQ(v, -1) << "hexadecimal fills the 32 bits";
    EXPECT_FALSE(TryXmlTextToInt("12a", v));
    EXPECT_FALSE(TryXmlTextToInt("$100000000", v));
    EXPECT_FALSE(TryXmlTextToInt("2147483648", v));
}

TEST(ValueTexts, FloatsWithSixSignificantDigits)
{
    EXPECT_EQ(FloatToXmlText(6, true, 1.5), "1.5");
    EXPECT_EQ(FloatToXmlText(6, true, 100), "100");
    EXPECT_EQ(FloatToXmlText(6, true, 0.05), ".05");
    EXPECT_EQ(FloatToXmlText(6, true, 0.5), ".5");
    EXPECT_EQ(FloatToXmlText(6, true, 0.005), "5E-3");
    EXPECT_EQ(FloatToXmlText(6, true, 1e8), "1.00000E8");
    EXPECT_EQ(FloatToXmlText(6, true, 12345678), "12345700");
    EXPECT_EQ(FloatToXmlText(6, true, 123456789), "1.23457E8");
    EXPECT_EQ(FloatToXmlText(6, true, -2.25), "-2.25");
    EXPECT_EQ(FloatToXmlText(6, true, 0), "0");
    EXPECT_EQ(FloatToXmlText(6, true, -0.0), "0");
    EXPECT_EQ(FloatToXmlText(6, true, 999999.7), "1000000") << "rounding carries into a new digit";
    EXPECT_EQ(FloatToXmlText(6, true, 1.23e-20), "1.23E-20");
}

TEST(ValueTexts, FloatsWithOtherDigitsAndWithoutExponent)
{
    EXPECT_EQ(FloatToXmlText(3, true, 2.0 / 3.0), ".667");
    EXPECT_EQ(FloatToXmlText(3, true, 1234.5), "1230");
    EXPECT_EQ(FloatToXmlText(9, true, 1.0 / 3.0), ".333333333");
    EXPECT_EQ(FloatToXmlText(1, true, 2.5), "2") << "halves go to the even digit";
    EXPECT_EQ(FloatToXmlText(1, true, 3.5), "4");
    EXPECT_EQ(FloatToXmlText(2, true, 0.125), ".12");
    EXPECT_EQ(FloatToXmlText(6, false, 0.005), ".005");
    EXPECT_EQ(FloatToXmlText(6, false, 1e8), "100000000");
}

TEST(ValueTexts, FloatSpecialValuesAndDigitRange)
{
    EXPECT_EQ(FloatToXmlText(6, true, std::numeric_limits<double>::infinity()), "INF");
    EXPECT_EQ(FloatToXmlText(6, true, -std::numeric_limits<double>::infinity()), "-INF");
    EXPECT_EQ(FloatToXmlText(6, true, std::nan("")), "NaN");
    for (int digits : {0, 10}) {
        try {
            FloatToXmlText(digits, true, 1);
            FAIL();
        } catch (const core::Exception& e) {
            EXPECT_EQ(e.Message(), "significant digits out of range");
        }
    }
}

TEST(ValueTexts, FloatsReadBackWithAPointOnly)
{
    double v = 0;
    EXPECT_TRUE(TryXmlTextToFloat("1.5", v));
    EXPECT_EQ(v, 1.5);
    EXPECT_TRUE(TryXmlTextToFloat(" 2.5E3 ", v));
    EXPECT_EQ(v, 2500);
    EXPECT_TRUE(TryXmlTextToFloat(".05", v));
    EXPECT_EQ(v, 0.05);
    EXPECT_TRUE(TryXmlTextToFloat("5E-3", v));
    EXPECT_EQ(v, 0.005);
    EXPECT_FALSE(TryXmlTextToFloat("1,5", v));
    EXPECT_FALSE(TryXmlTextToFloat("abc", v));
    EXPECT_FALSE(TryXmlTextToFloat("", v));
    EXPECT_TRUE(TryXmlTextToFloat("INF", v));
    EXPECT_TRUE(std::isinf(v) && v > 0);
    EXPECT_TRUE(TryXmlTextToFloat("-INF", v));
    EXPECT_TRUE(std::isinf(v) && v < 0);
    EXPECT_TRUE(TryXmlTextToFloat("NaN", v));
    EXPECT_TRUE(std::isnan(v));
    for (double x : {1.5, 0.05, 0.005, 1e8, 12345678.0, -2.25, 1.23e-20}) {
        ASSERT_TRUE(TryXmlTextToFloat(FloatToXmlText(6, true, x), v));
        EXPECT_NEAR(v, x, std::fabs(x) * 1e-5);
    }
}

TEST(ValueTexts, FixedFormatRecord)
{
    const core::TFormatSettings& s = XmlFormatSettings();
    EXPECT_EQ(s.DecimalSeparator, ".");
    EXPECT_EQ(s.ThousandSeparator, ",");
    EXPECT_EQ(s.DateSeparator, "/");
    EXPECT_EQ(s.TimeSeparator, ":");
    EXPECT_EQ(s.ListSeparator, ",");
    EXPECT_EQ(s.CurrencyDecimals, 0);
    EXPECT_EQ(s.ShortDateFormat, "m/d/yy");
    EXPECT_EQ(s.LongDateFormat, "mmmm d, yyyy");
    EXPECT_EQ(s.TimeAMString, "am");
    EXPECT_EQ(s.ShortTimeFormat, "h:mm AMPM");
    EXPECT_EQ(s.LongTimeFormat, "h:mm:ss AMPM");
    EXPECT_EQ(s.LongMonthNames[0], "");
    EXPECT_EQ(&s, &XmlFormatSettings()) << "filled once";
}
