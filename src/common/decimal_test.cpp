#include "decimal.h"

#include <gtest/gtest.h>

namespace common {
namespace {

TEST(Fixed4, ProductOfTheExactBinaryValueRoundedHalfToEven) {
    struct Case {
        const char* name;
        double figure;
        int tenths;
        std::int64_t units;
    };
    const Case cases[] = {
        {"80.0625 x 0.5 = 40.03125, half to even", 80.0625, 5, 400312},
        {"80.1875 x 0.5 = 40.09375, half to even upward", 80.1875, 5, 400938},
        {"100 x 7 / 15 x 0.3 = 13.99999...", 100.0 * 7 / 15, 3, 140000},
        {"80.25 x 0.5", 80.25, 5, 401250},
        {"90 x 0.3", 90.0, 3, 270000},
        {"35 x 0.2", 35.0, 2, 70000},
        {"91 x 0.3 (27.3)", 91.0, 3, 273000},
        {"33 x 0.2 (6.6)", 33.0, 2, 66000},
        {"0.00005 x 1: the binary value lies above the half", 0.00005, 10, 1},
        {"0.00015 x 1: the binary value lies below the half", 0.00015, 10, 1},
        {"zero", 0.0, 5, 0},
        {"negative", -80.0625, 5, -400312},
        {"tiny", 1e-300, 5, 0},
        {"150 x 0.5", 150.0, 5, 750000},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(Fixed4::weighted(c.figure, c.tenths).units(), c.units);
    }
}

TEST(Fixed4, SumsAndComparesExactly) {
    const Fixed4 a = Fixed4::weighted(80.25, 5) + Fixed4::weighted(90.0, 3) + Fixed4::weighted(35.0, 2);
    EXPECT_EQ(a.units(), 741250);
    EXPECT_EQ(a.toDouble(), 74.125);
    const Fixed4 b = Fixed4::weighted(80.5, 5) + Fixed4::weighted(91.0, 3) + Fixed4::weighted(33.0, 2);
    EXPECT_EQ(b.units(), 741500);
    EXPECT_LT(a, b);
    EXPECT_EQ(Fixed4::fromUnits(741500), b);
}

} // namespace
} // namespace common
