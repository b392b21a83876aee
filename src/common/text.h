#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

// Text helpers of the core. All text is UTF-8.
namespace common {

// The text without its leading and trailing characters up to U+0020 (blanks and control
// characters); a full-width space U+3000 stays.
std::string_view trimmedView(std::string_view text);
std::string trimmed(std::string_view text);
// True when nothing is left after trimming.
bool isBlank(std::string_view text);

// Characters first to first+count-1 (1-based, counted in Unicode code points) of `text`; the part
// beyond the end of the text is empty, so characters(text, 5, 2) of a four-character text is "".
std::string_view characters(std::string_view text, std::size_t first, std::size_t count);

// Letter case is ignored for the ASCII letters, as the catalogue's comparisons do.
std::string asciiLower(std::string_view text);
bool equalsIgnoringCase(std::string_view a, std::string_view b);

// True for a non-empty text of the ASCII digits 0-9 only.
bool isAsciiDigits(std::string_view text);

// A whole number: an optional sign and decimal digits, nothing else, within the signed 32-bit range.
std::optional<std::int32_t> parseInt32(std::string_view text);
// As parseInt32; throws Refusal with "'%s' 不是一个有效的整形值" when the text does not convert.
std::int32_t toInt32(std::string_view text);

// A decimal number: an optional sign, digits with an optional "." and further digits (at least one
// digit in all), and an optional exponent ("e" or "E", an optional sign, digits); nothing else, the
// empty text included. Values beyond the range of a double do not convert.
std::optional<double> parseDecimal(std::string_view text);
// As parseDecimal; throws Refusal with "'%s' is 不是一个有效的浮点值" when the text does not convert.
double toDouble(std::string_view text);

} // namespace common
