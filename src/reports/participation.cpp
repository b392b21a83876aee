#include "participation.h"

#include "common/errors.h"
#include "common/messages.h"
#include "common/text.h"

#include <vector>

namespace reports {

namespace {

std::int64_t percentOf(std::int64_t examinees, std::int32_t percentage) {
    return (examinees * percentage + 50) / 100;
}

} // namespace

ParticipationRule CheckParticipationParameters(const ParticipationInput& input) {
    ParticipationRule rule;
    rule.mode = input.mode;
    if (input.mode == ParticipationMode::CatalogueCount) {
        return rule;
    }
    const std::vector<const std::string*> texts =
        input.mode == ParticipationMode::Percentage
            ? std::vector<const std::string*>{&input.percentage}
            : std::vector<const std::string*>{&input.threshold, &input.fixedCount, &input.smallBelow,
                                              &input.smallPercentage};
    // Every blank box is found before any conversion, so a blank one always gives the warning.
    for (const std::string* text : texts) {
        if (common::isBlank(*text)) {
            throw common::Warning(messages::kEnterParticipation);
        }
    }
    if (input.mode == ParticipationMode::Percentage) {
        rule.percentage = common::toInt32(common::trimmedView(input.percentage));
    } else {
        rule.threshold = common::toInt32(common::trimmedView(input.threshold));
        rule.fixedCount = common::toInt32(common::trimmedView(input.fixedCount));
        rule.smallBelow = common::toInt32(common::trimmedView(input.smallBelow));
        rule.smallPercentage = common::toInt32(common::trimmedView(input.smallPercentage));
    }
    return rule;
}

std::int64_t ParticipationCount(const ParticipationRule& rule, std::int64_t examinees, std::int64_t catalogueCount) {
    switch (rule.mode) {
    case ParticipationMode::Percentage:
        return percentOf(examinees, rule.percentage);
    case ParticipationMode::CatalogueCount:
        return catalogueCount;
    case ParticipationMode::Rule:
        break;
    }
    if (examinees < rule.smallBelow) {
        return percentOf(examinees, rule.smallPercentage);
    }
    if (examinees >= rule.threshold) {
        return rule.fixedCount;
    }
    // Between the two thresholds (T2 <= n < T1) the rule names no count: the class is evaluated on
    // all its examinees.
    return examinees;
}

} // namespace reports
