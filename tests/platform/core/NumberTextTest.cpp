#include "ProcessFormatSettings.h"

#include "platform/core/Exceptions.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

using namespace core;

namespace {

using NumberTextTest = ProcessFormatSettings;

// Point and comma, so the pictures read as they are written.
TFormatSettings PointSettings()
{
    TFormatSettings s = TFormatSettings::Czech();
    s.DecimalSeparator = ".";
    s.ThousandSeparator = ",";
    return s;
}

std::string ConvertError(auto call)
{
    try {
        call();
    } catch (const EConvertError& e) {
        return e.Message();
    }
    return "no error";
}

} // namespace

TEST_F(NumberTextTest, FloatToStrGivesFifteenSignificantDigits)
{
    EXPECT_EQ(FloatToStr(1.5), "1,5");
    EXPECT_EQ(FloatToStr(-2.5), "-2,5");
    EXPECT_EQ(FloatToStr(0.1), "0,1");
    EXPECT_EQ(FloatToStr(100), "100");
    EXPECT_EQ(FloatToStr(0), "0");
    EXPECT_EQ(FloatToStr(-0.0), "0");
    EXPECT_EQ(FloatToStr(1.0 / 3), "0,333333333333333");
    EXPECT_EQ(FloatToStr(2.0 / 3), "0,666666666666667");
    EXPECT_EQ(FloatToStr(0.1 + 0.2), "0,3");
    EXPECT_EQ(FloatToStr(123456789012345.0), "123456789012345");
    EXPECT_EQ(FloatToStr(1e15), "1E15");
    EXPECT_EQ(FloatToStr(1e20), "1E20");
    EXPECT_EQ(FloatToStr(0.0001), "0,0001");
    EXPECT_EQ(FloatToStr(0.00001), "1E-5");
    EXPECT_EQ(FloatToStr(-1.5e-7), "-1,5E-7");
    EXPECT_EQ(FloatToStr(1.5, PointSettings()), "1.5");
    EXPECT_EQ(FloatToStr(std::nan("")), "NAN");
    EXPECT_EQ(FloatToStr(-std::numeric_limits<double>::infinity()), "-INF");
}

TEST_F(NumberTextTest, StrToFloatReadsTheRecordsDecimalSeparator)
{
    EXPECT_EQ(StrToFloat("1,5"), 1.5);
    EXPECT_EQ(StrToFloat(" -2,25E2 "), -225);
    EXPECT_EQ(StrToFloat(",5"), 0.5);
    EXPECT_EQ(StrToFloat("5,"), 5);
    EXPECT_EQ(StrToFloat("+7e-1"), 0.7);
    EXPECT_EQ(StrToFloat("1.5", PointSettings()), 1.5);
    for (double v : {0.1, 123.456, -98765.4321, 1e-300, 6.02214076e23})
        EXPECT_EQ(StrToFloat(FloatToStr(v)), v) << FloatToStr(v);
    for (const char* text : {"1.5", "", " ", "1,5x", "1e", ",", "-", "1 000", "1e999", "0x10"}) {
        double value = 3;
        EXPECT_FALSE(TryStrToFloat(text, value)) << text;
        EXPECT_EQ(value, 3);
    }
    EXPECT_EQ(ConvertError([] { StrToFloat("1.5"); }), "'1.5' is not a valid floating point value");
    EXPECT_EQ(StrToFloatDef("x", 9), 9);
}

TEST_F(NumberTextTest, PicturesOfTheClassLibrary)
{
    const TFormatSettings s = PointSettings();
    struct Row {
        const char* picture;
        const char* positive; // 1234
        const char* negative; // -1234
        const char* half;     // 0.5
        const char* zero;     // 0
    };
    const Row rows[] = {
        {"", "1234", "-1234", "0.5", "0"},
        {"0", "1234", "-1234", "1", "0"},
        {"0.00", "1234.00", "-1234.00", "0.50", "0.00"},
        {"#.##", "1234", "-1234", ".5", ""},
        {"#,##0.00", "1,234.00", "-1,234.00", "0.50", "0.00"},
        {"#,##0.00;(#,##0.00)", "1,234.00", "(1,234.00)", "0.50", "0.00"},
        {"#,##0.00;;Zero", "1,234.00", "-1,234.00", "0.50", "Zero"},
        {"0.000E+00", "1.234E+03", "-1.234E+03", "5.000E-01", "0.000E+00"},
        {"#.###E-0", "1.234E3", "-1.234E3", "5E-1", "0E0"},
    };
    for (const Row& row : rows) {
        EXPECT_EQ(FormatFloat(row.picture, 1234, s), row.positive) << row.picture;
        EXPECT_EQ(FormatFloat(row.picture, -1234, s), row.negative) << row.picture;
        EXPECT_EQ(FormatFloat(row.picture, 0.5, s), row.half) << row.picture;
        EXPECT_EQ(FormatFloat(row.picture, 0, s), row.zero) << row.picture;
    }
}

TEST_F(NumberTextTest, PictureDigitsLiteralsAndRounding)
{
    const TFormatSettings s = PointSettings();
    EXPECT_EQ(FormatFloat("00-00", 1234, s), "12-34");
    EXPECT_EQ(FormatFloat("00-00", 123456, s), "1234-56");
    EXPECT_EQ(FormatFloat("000", 7, s), "007");
    EXPECT_EQ(FormatFloat("#,#", 1234567, s), "1,234,567");
    EXPECT_EQ(FormatFloat("0,000", 5, s), "0,005");
    EXPECT_EQ(FormatFloat(".00", 12.5, s), "12.50");
    EXPECT_EQ(FormatFloat("0.0#", 2.5, s), "2.5");
    EXPECT_EQ(FormatFloat("0.0#", 2.567, s), "2.57");
    EXPECT_EQ(FormatFloat("'Kč' 0;'minus' 0", -5, s), "minus 5");
    EXPECT_EQ(FormatFloat("\"#\"0", 5, s), "#5");
    EXPECT_EQ(FormatFloat("0 %", 45, s), "45 %");
    EXPECT_EQ(FormatFloat("0.00E+00 'm'", 1234.5, s), "1.23E+03 m");
    EXPECT_EQ(FormatFloat("00.0E-000", 0.000123456, s), "12.3E-005");
    // Halves go away from zero on the decimal digits a person sees.
    EXPECT_EQ(FormatFloat("0.0", 2.25, s), "2.3");
    EXPECT_EQ(FormatFloat("0.0", 2.35, s), "2.4");
    EXPECT_EQ(FormatFloat("0.00", 1.005, s), "1.01");
    EXPECT_EQ(FormatFloat("0", 2.5, s), "3");
    EXPECT_EQ(FormatFloat("0", -2.5, s), "-3");
    EXPECT_EQ(FormatFloat("0.00", 999.996, s), "1000.00");
    EXPECT_EQ(FormatFloat("#,##0", 999999.5, s), "1,000,000");
    // A number that rounds to zero takes the zero section, or shows no sign.
    EXPECT_EQ(FormatFloat("0;-0;'nula'", 0.001, s), "nula");
    EXPECT_EQ(FormatFloat("0", -0.4, s), "0");
    EXPECT_EQ(FormatFloat("0.00", std::nan(""), s), "NAN");
}

TEST_F(NumberTextTest, CzechPicturesUseTheRecordsSeparators)
{
    EXPECT_EQ(FormatFloat("#,##0.00 Kč", 1234567.891), "1\u00A0234\u00A0567,89 Kč");
    EXPECT_EQ(FormatFloat("0.0", 0.25), "0,3");
}

TEST_F(NumberTextTest, IntegersInDecimalAndHexadecimal)
{
    EXPECT_EQ(IntToStr(-42), "-42");
    EXPECT_EQ(IntToStr(std::numeric_limits<std::int64_t>::min()), "-9223372036854775808");
    EXPECT_EQ(StrToInt("42"), 42);
    EXPECT_EQ(StrToInt("  -17"), -17);
    EXPECT_EQ(StrToInt("+5"), 5);
    EXPECT_EQ(StrToInt("$FF"), 255);
    EXPECT_EQ(StrToInt("0x10"), 16);
    EXPECT_EQ(StrToInt("-2147483648"), std::numeric_limits<int>::min());
    EXPECT_EQ(StrToInt64("2147483648"), 2147483648LL);
    EXPECT_EQ(StrToInt64("-9223372036854775808"), std::numeric_limits<std::int64_t>::min());
    int value = 1;
    for (const char* text : {"", "12a", "2147483648", "1 ", "--1", "$", "0x", "1.0", "９"})
        EXPECT_FALSE(TryStrToInt(text, value)) << text;
    EXPECT_EQ(value, 1);
    std::int64_t wide;
    EXPECT_FALSE(TryStrToInt64("9223372036854775808", wide));
    EXPECT_EQ(StrToIntDef("x", -1), -1);
    EXPECT_EQ(ConvertError([] { StrToInt("12a"); }), "'12a' is not a valid integer value");
}
