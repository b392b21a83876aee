#include "text.h"

#include "errors.h"

#include <gtest/gtest.h>

#include <limits>

namespace common {
namespace {

TEST(Trimmed, RemovesBlanksAndControlCharactersButNotFullWidthSpace) {
    EXPECT_EQ(trimmed("  a1 \t\r\n"), "a1");
    EXPECT_EQ(trimmed("\x01\x1f x y \x7f"), "x y \x7f");
    EXPECT_EQ(trimmed("\u3000"), "\u3000");
    EXPECT_EQ(trimmed(" \u3000语文 "), "\u3000语文");
    EXPECT_TRUE(isBlank(" \t "));
    EXPECT_TRUE(isBlank(""));
    EXPECT_FALSE(isBlank("\u3000"));
}

TEST(Characters, CountsCodePointsAndIsEmptyBeyondTheEnd) {
    EXPECT_EQ(characters("010203001", 1, 2), "01");
    EXPECT_EQ(characters("010203001", 3, 2), "02");
    EXPECT_EQ(characters("010203001", 5, 2), "03");
    EXPECT_EQ(characters("0102", 5, 2), "");
    EXPECT_EQ(characters("01020", 5, 2), "0");
    EXPECT_EQ(characters("一中初一甲班", 3, 2), "初一");
    EXPECT_EQ(characters("一中初一甲班", 5, 2), "甲班");
    EXPECT_EQ(characters("a一b", 2, 1), "一");
    EXPECT_EQ(characters("", 1, 2), "");
}

TEST(CaseInsensitive, FoldsAsciiLettersOnly) {
    EXPECT_TRUE(equalsIgnoringCase("a1", "A1"));
    EXPECT_TRUE(equalsIgnoringCase("语文", "语文"));
    EXPECT_FALSE(equalsIgnoringCase("a1", "a2"));
    EXPECT_FALSE(equalsIgnoringCase("a", "a "));
    EXPECT_EQ(asciiLower("AbC一"), "abc一");
}

TEST(Int32, AcceptsSignAndDigitsWithinRange) {
    struct Case {
        const char* text;
        std::optional<std::int32_t> value;
    };
    const Case cases[] = {
        {"0", 0},
        {"60", 60},
        {"007", 7},
        {"+5", 5},
        {"-5", -5},
        {"2147483647", std::numeric_limits<std::int32_t>::max()},
        {"-2147483648", std::numeric_limits<std::int32_t>::min()},
        {"2147483648", std::nullopt},
        {"99999999999999999999", std::nullopt},
        {"", std::nullopt},
        {"-", std::nullopt},
        {"1a", std::nullopt},
        {" 1", std::nullopt},
        {"1.0", std::nullopt},
        {"５", std::nullopt},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(parseInt32(c.text), c.value);
    }
}

TEST(Int32, ConversionFailureCarriesTheText) {
    try {
        toInt32("12x");
        FAIL() << "no exception";
    } catch (const Refusal& e) {
        EXPECT_STREQ(e.what(), "'12x' 不是一个有效的整形值");
    }
}

TEST(Decimal, AcceptsTheNumberGrammarOnly) {
    struct Case {
        const char* text;
        std::optional<double> value;
    };
    const Case cases[] = {
        {"0", 0.0},
        {"150", 150.0},
        {"85.5", 85.5},
        {"-1", -1.0},
        {"+2.25", 2.25},
        {"1e2", 100.0},
        {"1.5E-1", 0.15},
        {"7.", 7.0},
        {".5", 0.5},
        {"", std::nullopt},
        {".", std::nullopt},
        {"e5", std::nullopt},
        {"1e", std::nullopt},
        {"1e+", std::nullopt},
        {"abc", std::nullopt},
        {"inf", std::nullopt},
        {"nan", std::nullopt},
        {"0x10", std::nullopt},
        {"1,5", std::nullopt},
        {"１", std::nullopt},
        {"1 ", std::nullopt},
        {"++1", std::nullopt},
        {"1e999", std::nullopt},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(parseDecimal(c.text), c.value);
    }
}

TEST(Decimal, ConversionFailureCarriesTheText) {
    try {
        toDouble("");
        FAIL() << "no exception";
    } catch (const Refusal& e) {
        EXPECT_STREQ(e.what(), "'' is 不是一个有效的浮点值");
    }
}

} // namespace
} // namespace common
