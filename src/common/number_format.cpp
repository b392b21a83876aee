#include "number_format.h"

#include <array>
#include <charconv>
#include <cmath>
#include <cstdlib>
#include <string_view>

namespace common {

namespace {

// A finite value as sign, significant digits d1 d2 ... dn (d1 non-zero, no trailing zeros) and the
// decimal exponent e of d1, so that value = d1.d2...dn x 10^e. Zero has no digits.
struct Digits {
    bool negative = false;
    std::string digits;
    int exponent = 0;
};

Digits fifteenDigits(double value) {
    Digits result;
    if (value == 0) {
        return result;
    }
    result.negative = std::signbit(value);
    std::array<char, 64> buffer{};
    // The shortest text that reads back as the value is already the correctly rounded 15-digit text
    // when it has at most 15 digits: a double's half unit in the last place is smaller than half a
    // unit of the 15th digit. Only longer texts need the rounding to 15 digits.
    char* const first = buffer.data();
    char* last = std::to_chars(first, first + buffer.size(), std::fabs(value), std::chars_format::scientific).ptr;
    std::string_view text(first, static_cast<std::size_t>(last - first));
    const std::size_t mark = text.find('e');
    const std::size_t mantissaDigits = mark > 1 ? mark - 1 : mark;
    if (mantissaDigits > 15) {
        last = std::to_chars(first, first + buffer.size(), std::fabs(value), std::chars_format::scientific, 14).ptr;
        text = std::string_view(first, static_cast<std::size_t>(last - first));
    }
    const std::size_t e = text.find('e');
    for (std::size_t i = 0; i < e; ++i) {
        if (text[i] != '.') {
            result.digits += text[i];
        }
    }
    std::from_chars(text.data() + e + 1 + (text[e + 1] == '+' ? 1 : 0), text.data() + text.size(),
                    result.exponent);
    while (!result.digits.empty() && result.digits.back() == '0') {
        result.digits.pop_back();
    }
    return result;
}

// Plain decimal text of sign, digits and exponent with exactly `decimals` places, or with as many
// as the digits need when decimals is negative.
std::string plainText(const Digits& number, int decimals) {
    const int length = static_cast<int>(number.digits.size());
    if (length == 0) {
        return decimals > 0 ? "0." + std::string(static_cast<std::size_t>(decimals), '0') : "0";
    }
    std::string text;
    if (number.negative) {
        text += '-';
    }
    const int integerDigits = number.exponent + 1;
    if (integerDigits <= 0) {
        text += '0';
    } else {
        for (int i = 0; i < integerDigits; ++i) {
            text += i < length ? number.digits[static_cast<std::size_t>(i)] : '0';
        }
    }
    const int fractionDigits = decimals >= 0 ? decimals : std::max(0, length - integerDigits);
    if (fractionDigits > 0) {
        text += '.';
        for (int i = 0; i < fractionDigits; ++i) {
            const int index = integerDigits + i;
            text += (index >= 0 && index < length) ? number.digits[static_cast<std::size_t>(index)] : '0';
        }
    }
    return text;
}

double readBack(const std::string& text) {
    double value = 0;
    std::from_chars(text.data(), text.data() + text.size(), value);
    return value;
}

} // namespace

std::string formatGeneral(double value) {
    if (!std::isfinite(value)) {
        return "#NUM!";
    }
    return plainText(fifteenDigits(value), -1);
}

double roundGeneral(double value) {
    if (!std::isfinite(value)) {
        return value;
    }
    return readBack(formatGeneral(value));
}

std::string formatFixed(double value, int decimals) {
    if (!std::isfinite(value)) {
        return "#NUM!";
    }
    Digits number = fifteenDigits(value);
    // Keep the digits down to the place 10^-decimals; the first dropped digit decides, halves away
    // from zero.
    const int kept = number.exponent + 1 + decimals;
    const int length = static_cast<int>(number.digits.size());
    if (kept < length) {
        const bool roundUp = kept >= 0 && number.digits[static_cast<std::size_t>(kept)] >= '5';
        number.digits.resize(static_cast<std::size_t>(std::max(kept, 0)));
        if (roundUp) {
            int i = kept - 1;
            while (i >= 0 && number.digits[static_cast<std::size_t>(i)] == '9') {
                number.digits[static_cast<std::size_t>(i)] = '0';
                --i;
            }
            if (i >= 0) {
                ++number.digits[static_cast<std::size_t>(i)];
            } else {
                number.digits.insert(number.digits.begin(), '1');
                ++number.exponent;
            }
        }
        while (!number.digits.empty() && number.digits.back() == '0') {
            number.digits.pop_back();
        }
    }
    if (number.digits.empty()) {
        number.negative = false;
    }
    return plainText(number, decimals);
}

double roundFixed(double value, int decimals) {
    if (!std::isfinite(value)) {
        return value;
    }
    return readBack(formatFixed(value, decimals));
}

} // namespace common
