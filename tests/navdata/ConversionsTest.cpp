// The readers' number conversions on garbage: 0 (the readers' tests read the numbers of real rows).
#include <climits>
#include <gtest/gtest.h>

#include "ui/Utils.h"

namespace {

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
