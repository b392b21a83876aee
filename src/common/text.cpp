#include "text.h"

#include "errors.h"
#include "messages.h"

#include <charconv>
#include <limits>
#include <system_error>

namespace common {

namespace {

bool isTrimmedAway(char c) { return static_cast<unsigned char>(c) <= 0x20; }

bool isContinuationByte(char c) { return (static_cast<unsigned char>(c) & 0xC0) == 0x80; }

// Byte offset of character `index` (0-based) of `text`, or text.size() when the text is shorter.
std::size_t offsetOfCharacter(std::string_view text, std::size_t index) {
    std::size_t offset = 0;
    for (std::size_t n = 0; n < index && offset < text.size(); ++n) {
        ++offset;
        while (offset < text.size() && isContinuationByte(text[offset])) {
            ++offset;
        }
    }
    return offset;
}

bool isDigit(char c) { return c >= '0' && c <= '9'; }

} // namespace

std::string_view trimmedView(std::string_view text) {
    std::size_t begin = 0;
    std::size_t end = text.size();
    while (begin < end && isTrimmedAway(text[begin])) {
        ++begin;
    }
    while (end > begin && isTrimmedAway(text[end - 1])) {
        --end;
    }
    return text.substr(begin, end - begin);
}

std::string trimmed(std::string_view text) { return std::string(trimmedView(text)); }

bool isBlank(std::string_view text) { return trimmedView(text).empty(); }

std::string_view characters(std::string_view text, std::size_t first, std::size_t count) {
    if (first == 0) {
        first = 1;
    }
    const std::size_t begin = offsetOfCharacter(text, first - 1);
    const std::size_t end = begin + offsetOfCharacter(text.substr(begin), count);
    return text.substr(begin, end - begin);
}

std::string asciiLower(std::string_view text) {
    std::string lower(text);
    for (char& c : lower) {
        if (c >= 'A' && c <= 'Z') {
            c = static_cast<char>(c - 'A' + 'a');
        }
    }
    return lower;
}

bool equalsIgnoringCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) {
        return false;
    }
    for (std::size_t i = 0; i < a.size(); ++i) {
        char x = a[i];
        char y = b[i];
        if (x >= 'A' && x <= 'Z') {
            x = static_cast<char>(x - 'A' + 'a');
        }
        if (y >= 'A' && y <= 'Z') {
            y = static_cast<char>(y - 'A' + 'a');
        }
        if (x != y) {
            return false;
        }
    }
    return true;
}

bool isAsciiDigits(std::string_view text) {
    if (text.empty()) {
        return false;
    }
    for (char c : text) {
        if (!isDigit(c)) {
            return false;
        }
    }
    return true;
}

std::optional<std::int32_t> parseInt32(std::string_view text) {
    bool negative = false;
    if (!text.empty() && (text.front() == '+' || text.front() == '-')) {
        negative = text.front() == '-';
        text.remove_prefix(1);
    }
    if (!isAsciiDigits(text)) {
        return std::nullopt;
    }
    std::int64_t value = 0;
    for (char c : text) {
        value = value * 10 + (c - '0');
        if (value > std::int64_t{std::numeric_limits<std::int32_t>::max()} + 1) {
            return std::nullopt;
        }
    }
    if (negative) {
        value = -value;
    }
    if (value < std::numeric_limits<std::int32_t>::min() || value > std::numeric_limits<std::int32_t>::max()) {
        return std::nullopt;
    }
    return static_cast<std::int32_t>(value);
}

std::int32_t toInt32(std::string_view text) {
    if (const auto value = parseInt32(text)) {
        return *value;
    }
    throw Refusal(messages::notAnInteger(text));
}

std::optional<double> parseDecimal(std::string_view text) {
    std::string_view rest = text;
    if (!rest.empty() && (rest.front() == '+' || rest.front() == '-')) {
        rest.remove_prefix(1);
    }
    // The grammar is checked here; std::from_chars alone would also take "inf", "nan" and hex forms.
    std::size_t i = 0;
    std::size_t digits = 0;
    while (i < rest.size() && isDigit(rest[i])) {
        ++i;
        ++digits;
    }
    if (i < rest.size() && rest[i] == '.') {
        ++i;
        while (i < rest.size() && isDigit(rest[i])) {
            ++i;
            ++digits;
        }
    }
    if (digits == 0) {
        return std::nullopt;
    }
    if (i < rest.size() && (rest[i] == 'e' || rest[i] == 'E')) {
        ++i;
        if (i < rest.size() && (rest[i] == '+' || rest[i] == '-')) {
            ++i;
        }
        const std::size_t exponentStart = i;
        while (i < rest.size() && isDigit(rest[i])) {
            ++i;
        }
        if (i == exponentStart) {
            return std::nullopt;
        }
    }
    if (i != rest.size()) {
        return std::nullopt;
    }
    // from_chars takes a leading minus but no plus sign.
    const std::string_view number = (!text.empty() && text.front() == '+') ? text.substr(1) : text;
    double value = 0;
    const auto result = std::from_chars(number.data(), number.data() + number.size(), value);
    if (result.ec != std::errc() || result.ptr != number.data() + number.size()) {
        return std::nullopt;
    }
    return value;
}

double toDouble(std::string_view text) {
    if (const auto value = parseDecimal(text)) {
        return *value;
    }
    throw Refusal(messages::notAFloatingPoint(text));
}

} // namespace common
