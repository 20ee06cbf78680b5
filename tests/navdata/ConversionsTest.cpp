// The readers' number conversions: leading numbers like stream extraction, 0 for anything else.
#include <climits>
#include <gtest/gtest.h>

#include "ui/Utils.h"

namespace {

TEST(ConversionsTest, LeadingNumbersAreReadAndTheRestIgnored)
{
    EXPECT_EQ(Utils::stringToInt("09L"), 9);
    EXPECT_EQ(Utils::stringToInt("  +17 x"), 17);
    EXPECT_EQ(Utils::stringToInt("1.5"), 1);
    EXPECT_EQ(Utils::stringToInt(std::string("-3")), -3);
    EXPECT_DOUBLE_EQ(Utils::stringToDouble("-122.30912345\r\n"), -122.30912345);
    EXPECT_DOUBLE_EQ(Utils::stringToDouble(".5"), 0.5);
    EXPECT_FLOAT_EQ(Utils::stringToFloat("47.4638889"), 47.4638889f);
    EXPECT_EQ(Utils_SpanToInt("290020", 3), 290);
    EXPECT_EQ(Utils::stringToDoubleCut5Digits("123455", true), 12345); // a frequency cut only when asked
    EXPECT_EQ(Utils::stringToDoubleCut5Digits("123455", false), 123455);
    EXPECT_EQ(Utils::stringToDoubleCut5Digits("12345.9", true), 12345);
}

TEST(ConversionsTest, GarbageOverflowAndNonNumbersGiveZero)
{
    for (const char *text : {"", "abc", "+-5", "nan", "inf", "x1"}) {
        EXPECT_EQ(Utils::stringToDouble(text), 0) << text;
        EXPECT_EQ(Utils::stringToInt(text), 0) << text;
        EXPECT_EQ(Utils::stringToFloat(text), 0) << text;
    }
    EXPECT_EQ(Utils::stringToInt("99999999999"), INT_MAX); // clamped, as stream extraction stores it
    EXPECT_EQ(Utils::stringToDouble("1e999"), 0);
    EXPECT_EQ(Utils::stringToFloat("1e39"), 0);
    EXPECT_EQ(Utils::stringToInt(nullptr), 0);
    EXPECT_EQ(Utils::stringToDoubleCut5Digits("TWR", true), 0);
    double value = 7;
    EXPECT_FALSE(Utils_ParseDouble("47.1N", &value));
    EXPECT_FALSE(Utils_ParseDouble("nan", &value));
    EXPECT_FALSE(Utils_ParseDouble("5+", &value));
    EXPECT_EQ(value, 7);
    EXPECT_TRUE(Utils_ParseDouble(" -33.5\r\n", &value));
    EXPECT_EQ(value, -33.5);
}

} // namespace
