#include "number_format.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace common {
namespace {

TEST(FormatGeneral, FifteenSignificantDigitsPlainNoTrailingZeros) {
    struct Case {
        double value;
        const char* text;
    };
    const Case cases[] = {
        {0.0, "0"},
        {-0.0, "0"},
        {90.0, "90"},
        {85.5, "85.5"},
        {10203001.0, "10203001"},
        {0.1, "0.1"},
        {0.1 + 0.2, "0.3"},
        {175.79999999999998, "175.8"},
        {100.0 * 7 / 15, "46.6666666666667"},
        {1.0 / 3, "0.333333333333333"},
        {-2.5, "-2.5"},
        {123456789012345678.0, "123456789012346000"},
        {1e-7, "0.0000001"},
        {0.000123456789012345678, "0.000123456789012346"},
        {999999999999999.9, "1000000000000000"},
        {std::numeric_limits<double>::infinity(), "#NUM!"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(formatGeneral(c.value), c.text);
    }
}

TEST(FormatGeneral, RoundGeneralIsTheNumberOfTheText) {
    EXPECT_EQ(roundGeneral(175.79999999999998), 175.8);
    EXPECT_EQ(roundGeneral(85.5), 85.5);
    EXPECT_EQ(roundGeneral(1.0 / 3), 0.333333333333333);
}

TEST(FormatFixed, FifteenDigitsThenHalvesAwayFromZero) {
    struct Case {
        double value;
        int decimals;
        const char* text;
    };
    const Case cases[] = {
        {85.25, 1, "85.3"},
        {74.15, 1, "74.2"},   // 74.150000000000006 in binary, 74.1500000000000 at 15 digits
        {74.125, 1, "74.1"},
        {74.05, 1, "74.1"},   // 74.049999999999997 in binary, but 74.0500000000000 at 15 digits
        {14.0, 1, "14.0"},
        {0.0, 1, "0.0"},
        {0.04, 1, "0.0"},
        {0.05, 1, "0.1"},
        {9.96, 1, "10.0"},
        {99.95, 1, "100.0"},
        {100.0 * 7 / 15, 1, "46.7"},
        {60.0, 0, "60"},
        {40.5, 0, "41"},
        {0.4, 0, "0"},
        {0.5, 0, "1"},
        {-2.5, 0, "-3"},
        {-0.04, 1, "0.0"},
        {1234567.25, 1, "1234567.3"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(formatFixed(c.value, c.decimals), c.text);
    }
}

TEST(FormatFixed, RoundFixedIsTheNumberOfTheText) {
    EXPECT_EQ(roundFixed(74.15, 1), 74.2);
    EXPECT_EQ(roundFixed(74.125, 1), 74.1);
    EXPECT_EQ(roundFixed(14.0, 1), 14.0);
    EXPECT_EQ(roundFixed(40.5, 0), 41.0);
}

} // namespace
} // namespace common
