#include "text/DecimalText.h"

#include <gtest/gtest.h>

using rovex::readDecimal;

TEST(DecimalText, ReadsSignAndDigitsOnly)
{
    EXPECT_EQ(readDecimal("22"), 22);
    EXPECT_EQ(readDecimal("+443"), 443);
    EXPECT_EQ(readDecimal("-1"), -1);
    EXPECT_EQ(readDecimal("007"), 7);
    for (const char* text : {"", "+", "-", " 22", "22 ", "22:", "0x16", "2 2", "++1", "1e3", "٣"})
        EXPECT_FALSE(readDecimal(text).has_value()) << '"' << text << '"';
}

TEST(DecimalText, OutOfRangeDoesNotRead)
{
    EXPECT_EQ(readDecimal("9223372036854775807"), INT64_MAX);
    EXPECT_EQ(readDecimal("-9223372036854775808"), INT64_MIN);
    EXPECT_FALSE(readDecimal("9223372036854775808").has_value());
    EXPECT_FALSE(readDecimal("-9223372036854775809").has_value());
    EXPECT_FALSE(readDecimal("99999999999999999999999").has_value());
}
