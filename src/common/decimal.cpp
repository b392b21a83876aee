#include "decimal.h"

#include <cmath>
#include <limits>
#include <stdexcept>

namespace common {

Fixed4 Fixed4::weighted(double figure, int tenths) {
    if (!std::isfinite(figure) || tenths < 0 || tenths > 10) {
        throw std::overflow_error("weighted score out of range");
    }
    if (figure == 0 || tenths == 0) {
        return Fixed4();
    }
    // figure = mantissa * 2^exponent exactly, with a 53-bit whole mantissa; the product in
    // ten-thousandths is then mantissa * tenths * 1000 * 2^exponent, a whole number times a power of two.
    int binaryExponent = 0;
    const double fraction = std::frexp(std::fabs(figure), &binaryExponent);
    const auto mantissa = static_cast<std::int64_t>(std::ldexp(fraction, 53));
    const int exponent = binaryExponent - 53;
    // 128 bits hold the product (below 2^67) and its shifts; GCC and Clang (MinGW included) have them.
    __extension__ using Wide = __int128;
    const Wide numerator = Wide{mantissa} * tenths * 1000;
    Wide units = 0;
    if (exponent >= 0) {
        if (exponent > 60) {
            throw std::overflow_error("weighted score out of range");
        }
        units = numerator << exponent;
    } else if (-exponent < 120) {
        const int shift = -exponent;
        const Wide quotient = numerator >> shift;
        const Wide remainder = numerator - (quotient << shift);
        const Wide half = Wide{1} << (shift - 1);
        units = quotient;
        if (remainder > half || (remainder == half && (quotient & 1) != 0)) {
            ++units;
        }
    }
    if (units > std::numeric_limits<std::int64_t>::max()) {
        throw std::overflow_error("weighted score out of range");
    }
    const auto magnitude = static_cast<std::int64_t>(units);
    return Fixed4(std::signbit(figure) ? -magnitude : magnitude);
}

double Fixed4::toDouble() const { return static_cast<double>(m_units) / 10000.0; }

} // namespace common
