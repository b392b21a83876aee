#include "participation.h"

#include "common/errors.h"

#include <gtest/gtest.h>

namespace reports {
namespace {

ParticipationInput percentage(const char* p) {
    ParticipationInput input;
    input.mode = ParticipationMode::Percentage;
    input.percentage = p;
    return input;
}

ParticipationInput rule(const char* t1, const char* c, const char* t2, const char* q) {
    ParticipationInput input;
    input.mode = ParticipationMode::Rule;
    input.threshold = t1;
    input.fixedCount = c;
    input.smallBelow = t2;
    input.smallPercentage = q;
    return input;
}

TEST(CheckParticipationParameters, BlankParametersOfTheModeInForceAreRefused) {
    struct Case {
        const char* name;
        ParticipationInput input;
        bool refused;
    };
    ParticipationInput catalogueMode = rule("", "", "", "");
    catalogueMode.mode = ParticipationMode::CatalogueCount;
    catalogueMode.percentage = " ";
    ParticipationInput percentageWithBlankRule = percentage("90");
    percentageWithBlankRule.threshold = "";
    const Case cases[] = {
        {"mode 1 with spaces only", percentage("   "), true},
        {"mode 1 empty", percentage(""), true},
        {"mode 1 filled", percentage("90"), false},
        {"mode 1 ignores blank mode-3 boxes", percentageWithBlankRule, false},
        {"mode 3 with only T2 blank", rule("60", "60", " ", "90"), true},
        {"mode 3 with only q blank", rule("60", "60", "60", "\t"), true},
        {"mode 3 filled", rule("60", "60", "60", "90"), false},
        {"mode 2 looks at no box", catalogueMode, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        if (c.refused) {
            try {
                CheckParticipationParameters(c.input);
                ADD_FAILURE() << "accepted";
            } catch (const common::Warning& e) {
                EXPECT_STREQ(e.what(), "对不起，请先输入参评人数定义参数！");
            }
        } else {
            EXPECT_NO_THROW(CheckParticipationParameters(c.input));
        }
    }
}

TEST(CheckParticipationParameters, TextThatIsNoWholeNumberIsRefusedWithTheConversionMessage) {
    struct Case {
        ParticipationInput input;
        const char* text;
    };
    const Case cases[] = {
        {percentage(" 9x "), "'9x' 不是一个有效的整形值"},
        {percentage("99999999999"), "'99999999999' 不是一个有效的整形值"},
        {rule("60", "sixty", "60", "90"), "'sixty' 不是一个有效的整形值"},
        {rule("60", "60", "60", "2147483648"), "'2147483648' 不是一个有效的整形值"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        try {
            CheckParticipationParameters(c.input);
            ADD_FAILURE() << "accepted";
        } catch (const common::Refusal& e) {
            EXPECT_STREQ(e.what(), c.text);
        }
    }
    EXPECT_EQ(CheckParticipationParameters(rule(" 50 ", "40", "30", "80")).fixedCount, 40);
}

TEST(ParticipationCount, TheThreeModes) {
    struct Case {
        const char* name;
        ParticipationInput input;
        std::int64_t examinees;
        std::int64_t catalogueCount;
        std::int64_t count;
    };
    ParticipationInput catalogueMode;
    catalogueMode.mode = ParticipationMode::CatalogueCount;
    const Case cases[] = {
        {"p 100 takes everybody", percentage("100"), 37, 0, 37},
        {"p 0 takes nobody", percentage("0"), 45, 10, 0},
        {"p 90 of 45 is 40.5, rounded up", percentage("90"), 45, 0, 41},
        {"p 85 of 45 is 38.25", percentage("85"), 45, 0, 38},
        {"p 150 of 40 is 60", percentage("150"), 40, 0, 60},
        {"p of a huge count in 64 bits", percentage("2147483647"), 65535, 0, (65535LL * 2147483647 + 50) / 100},
        {"mode 2, fewer examinees", catalogueMode, 30, 45, 45},
        {"mode 2, more examinees", catalogueMode, 50, 45, 45},
        {"defaults, n = 60", rule("60", "60", "60", "90"), 60, 0, 60},
        {"defaults, n = 75", rule("60", "60", "60", "90"), 75, 0, 60},
        {"defaults, n = 59", rule("60", "60", "60", "90"), 59, 0, 53},
        {"defaults, n = 0", rule("60", "60", "60", "90"), 0, 0, 0},
        {"both tests hold: the percentage wins", rule("50", "50", "55", "90"), 52, 0, 47},
        {"fixed count above the class size", rule("50", "60", "50", "90"), 52, 0, 60},
        {"gap between T2 and T1 takes all examinees", rule("70", "60", "40", "90"), 50, 7, 50},
        {"below the gap", rule("70", "60", "40", "90"), 39, 7, 35},
        {"above the gap", rule("70", "60", "40", "90"), 70, 7, 60},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(ParticipationCount(CheckParticipationParameters(c.input), c.examinees, c.catalogueCount), c.count);
    }
}

} // namespace
} // namespace reports
