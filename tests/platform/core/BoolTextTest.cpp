#include "platform/core/BoolText.h"
#include "platform/core/Exceptions.h"

#include <gtest/gtest.h>

using namespace core;

TEST(BoolText, WordsInAnyCaseAndNumbers)
{
    EXPECT_TRUE(StrToBool("true"));
    EXPECT_TRUE(StrToBool("TRUE"));
    EXPECT_FALSE(StrToBool("False"));
    EXPECT_FALSE(StrToBool("0"));
    EXPECT_TRUE(StrToBool("1"));
    EXPECT_TRUE(StrToBool(" -2.5 "));
    EXPECT_FALSE(StrToBool("0.0"));
}

TEST(BoolText, OtherTextsFail)
{
    bool value = true;
    EXPECT_FALSE(TryStrToBool("", value));
    EXPECT_FALSE(TryStrToBool("yes", value));
    EXPECT_FALSE(TryStrToBool("1x", value));
    EXPECT_TRUE(value) << "a failed conversion leaves the value alone";
    EXPECT_TRUE(StrToBoolDef("maybe", true));
    try {
        StrToBool("maybe");
        FAIL();
    } catch (const EConvertError& e) {
        EXPECT_EQ(e.Message(), "'maybe' is not a valid boolean value");
    }
}
