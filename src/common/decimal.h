#pragma once

#include <compare>
#include <cstdint>

namespace common {

// A decimal fixed-point number with four places, held as a whole number of ten-thousandths, so that
// sums and comparisons are exact. The weighted scores of the evaluation reports are of this kind.
class Fixed4 {
public:
    constexpr Fixed4() = default;
    static constexpr Fixed4 fromUnits(std::int64_t units) { return Fixed4(units); }

    // The exact product of `figure` (the double as it is, every binary digit counted) and the
    // decimal weight tenths/10, rounded once to four places, halves to the even neighbour:
    // weighted(80.0625, 5) is 40.0312, weighted(100.0 * 7 / 15, 3) is 14.0000.
    // `tenths` is 0 to 10. Throws std::overflow_error when the product exceeds the 64-bit range.
    static Fixed4 weighted(double figure, int tenths);

    constexpr std::int64_t units() const { return m_units; }
    // The double nearest to the decimal value (74.1250 gives 74.125).
    double toDouble() const;

    constexpr Fixed4 operator+(Fixed4 other) const { return Fixed4(m_units + other.m_units); }
    constexpr auto operator<=>(const Fixed4&) const = default;

private:
    constexpr explicit Fixed4(std::int64_t units) : m_units(units) {}
    std::int64_t m_units = 0;
};

} // namespace common
