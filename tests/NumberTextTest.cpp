#include "workflow/NumberText.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <random>

namespace zq {
namespace {

TEST(ToNumber, IgnoresSurroundingWhiteSpaceAndReadsSignedDecimals) {
    EXPECT_EQ(ToNumber(" 370370367036 \r\n"), 370370367036.0);
    EXPECT_EQ(ToNumber("0"), 0.0);
    EXPECT_EQ(ToNumber("012345678901"), 12345678901.0);  // leading zeros carry no value
    EXPECT_EQ(ToNumber("-12345678901"), -12345678901.0);
    EXPECT_EQ(ToNumber("+7"), 7.0);
    EXPECT_EQ(ToNumber("\t2.5\t"), 2.5);
    EXPECT_EQ(ToNumber("1E3"), 1000.0);
    EXPECT_EQ(ToNumber("1.5e-1"), 0.15);
    EXPECT_EQ(ToNumber(".5"), 0.5);
}

TEST(ToNumber, RefusesTextThatIsNotOneNumber) {
    for (const char* text : {"", " ", "\r\n", "12345678901a", "abc", "1 2", "3\r\n4", "-", "+",
                             ".", "1e", "e5", "--1", "1,5", "inf", "nan", "0x10", "1e999",
                             "- 1", "1-"}) {
        EXPECT_FALSE(ToNumber(text).has_value()) << '"' << text << '"';
    }
}

TEST(ToText, GivesPlainDigitsForIntegralValuesBelowTenToTheFifteen) {
    EXPECT_EQ(ToText(0), "0");
    EXPECT_EQ(ToText(-0.0), "0");
    EXPECT_EQ(ToText(4), "4");
    EXPECT_EQ(ToText(123456789012), "123456789012");
    EXPECT_EQ(ToText(-12345678901), "-12345678901");
    EXPECT_EQ(ToText(999999999999999), "999999999999999");
}

TEST(ToText, GivesFifteenSignificantDigitsOtherwise) {
    EXPECT_EQ(ToText(4.0 / 3), "1.33333333333333");
    EXPECT_EQ(ToText(0.5), "0.5");
    EXPECT_EQ(ToText(1e15), "1E+15");
    EXPECT_EQ(ToText(-2.5e20), "-2.5E+20");
}

TEST(PrintNumber, WritesSignMagnitudeSpaceAndCrLf) {
    EXPECT_EQ(PrintNumber(370370367036), " 370370367036 \r\n");
    EXPECT_EQ(PrintNumber(0), " 0 \r\n");
    EXPECT_EQ(PrintNumber(-5), "-5 \r\n");
    EXPECT_EQ(PrintNumber(3), " 3 \r\n");
}

TEST(PrintNumber, ReadsBackToTheSameValue) {
    std::mt19937_64 random(20261208);
    std::uniform_int_distribution<long long> integers(-999999999999999, 999999999999999);
    for (int i = 0; i < 20000; ++i) {
        const double x = static_cast<double>(integers(random));
        ASSERT_EQ(ToNumber(PrintNumber(x)), x) << PrintNumber(x);
    }
    for (const double x : {0.1, 1.0 / 3, 2.0 / 3 * 1e-300, 1e15, 123456789012345678.0,
                           std::numeric_limits<double>::max(), -std::numeric_limits<double>::min()}) {
        ASSERT_EQ(ToNumber(PrintNumber(x)), x) << PrintNumber(x);
    }
}

TEST(ArithmeticTest, OverflowAndInvalidResultsAreFailures) {
    EXPECT_EQ(CheckedResult(2.0), 2.0);
    EXPECT_FALSE(CheckedResult(*ToNumber("1e308") * 3).has_value());
    EXPECT_FALSE(CheckedResult(std::nan("")).has_value());
}

TEST(ArithmeticTest, TwelveDigitNumbersSurviveTimesThreeAndBack) {
    for (const double n : {123456789012.0, 999999999999.0, 100000000000.0, -99999999999.0}) {
        const double stored = *ToNumber(PrintNumber(n * 3));
        EXPECT_EQ(ToText(stored / 3), ToText(n));
    }
}

}  // namespace
}  // namespace zq
