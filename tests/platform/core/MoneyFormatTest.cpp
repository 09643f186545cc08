// Money amounts by the currency conventions of a format record, and format
// strings with a single floating argument.
#include "platform/core/Exceptions.h"
#include "platform/core/MoneyFormat.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

using namespace core;

namespace {

const std::string kNbsp = "\u00A0";

TFormatSettings Dollars()
{
    TFormatSettings s = TFormatSettings::Czech();
    s.CurrencyString = "$";
    s.CurrencyFormat = 0;
    s.NegCurrFormat = 0;
    s.ThousandSeparator = ",";
    s.DecimalSeparator = ".";
    return s;
}

} // namespace

TEST(MoneyFormatTest, CzechAmountsWithSeparatorsAndCurrencyAfter)
{
    const TFormatSettings cz = TFormatSettings::Czech();
    EXPECT_EQ(CurrToStrF(1234.5, -1, cz), "1" + kNbsp + "234,50 Kč");
    EXPECT_EQ(CurrToStrF(-1234.5, -1, cz), "-1" + kNbsp + "234,50 Kč");
    EXPECT_EQ(CurrToStrF(0, -1, cz), "0,00 Kč");
    EXPECT_EQ(CurrToStrF(1234567.125, 0, cz), "1" + kNbsp + "234" + kNbsp + "567 Kč");
    EXPECT_EQ(CurrToStrF(0.125, 2, cz), "0,13 Kč"); // halves away from zero
    EXPECT_EQ(CurrToStrF(-0.001, 2, cz), "0,00 Kč"); // no sign on nothing
}

TEST(MoneyFormatTest, EveryPlacementOfTheCurrency)
{
    TFormatSettings s = Dollars();
    const char* positive[] = {"$1,234.50", "1,234.50$", "$ 1,234.50", "1,234.50 $"};
    for (int f = 0; f < 4; ++f) {
        s.CurrencyFormat = f;
        EXPECT_EQ(CurrToStrF(1234.5, -1, s), positive[f]) << f;
    }
    const char* negative[] = {"($1.50)", "-$1.50", "$-1.50", "$1.50-", "(1.50$)", "-1.50$",
                              "1.50-$", "1.50$-", "-1.50 $", "-$ 1.50", "1.50 $-", "$ 1.50-",
                              "$ -1.50", "1.50- $", "($ 1.50)", "(1.50 $)"};
    for (int f = 0; f < 16; ++f) {
        s.NegCurrFormat = f;
        EXPECT_EQ(CurrToStrF(-1.5, -1, s), negative[f]) << f;
    }
    s.CurrencyDecimals = 0;
    s.CurrencyFormat = 0;
    EXPECT_EQ(CurrToStrF(2.5, -1, s), "$3");
    EXPECT_EQ(CurrToStrF(std::numeric_limits<double>::infinity(), -1, s), "INF");
}

TEST(MoneyFormatTest, FormatStringsPutTheValueInPlace)
{
    const TFormatSettings cz = TFormatSettings::Czech();
    EXPECT_EQ(FormatFloatArgument("Celkem: %m", 1500, cz), "Celkem: 1" + kNbsp + "500,00 Kč");
    EXPECT_EQ(FormatFloatArgument("%.0m", 1500.5, cz), "1" + kNbsp + "501 Kč");
    EXPECT_EQ(FormatFloatArgument("[%12m]", 5, cz), "[     5,00 Kč]");
    EXPECT_EQ(FormatFloatArgument("[%-8m]", 5, cz), "[5,00 Kč ]");
    EXPECT_EQ(FormatFloatArgument("%0:m = %0:n", 1234.5, cz), "1" + kNbsp + "234,50 Kč = 1" + kNbsp + "234,50");
    EXPECT_EQ(FormatFloatArgument("100%% %M", 1, cz), "100% 1,00 Kč");
    EXPECT_EQ(FormatFloatArgument("%.3f", -2.0005, cz), "-2,001");
    EXPECT_EQ(FormatFloatArgument("%f", 2, cz), "2,00");
    EXPECT_EQ(FormatFloatArgument("%e", 1234.5, cz), "1,23450000000000E+003");
    EXPECT_EQ(FormatFloatArgument("%.3e", -0.00123456, cz), "-1,23E-003");
    EXPECT_EQ(FormatFloatArgument("%g", 0.5, cz), "0,5");
    EXPECT_EQ(FormatFloatArgument("%.3g", 3.14159, cz), "3,14");
    EXPECT_EQ(FormatFloatArgument("no places", 1, cz), "no places");
}

TEST(MoneyFormatTest, SpecifiersThatCannotTakeTheValueRaise)
{
    const TFormatSettings cz = TFormatSettings::Czech();
    auto message = [&](const char* format) {
        try {
            FormatFloatArgument(format, 1, cz);
        } catch (const EConvertError& e) {
            return std::string(e.what());
        }
        return std::string("no error");
    };
    EXPECT_EQ(message("%d"), "Format '%d' invalid or incompatible with argument");
    EXPECT_EQ(message("a %s b"), "Format '%s' invalid or incompatible with argument");
    EXPECT_EQ(message("%*m"), "Format '%*m' invalid or incompatible with argument");
    EXPECT_EQ(message("ends in %"), "Format '%' invalid or incompatible with argument");
    EXPECT_EQ(message("%.2"), "Format '%.2' invalid or incompatible with argument");
    EXPECT_EQ(message("%m %m"), "No argument for format '%m'");
    EXPECT_EQ(message("%1:m"), "No argument for format '%1:m'");
}
