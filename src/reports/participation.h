#pragma once

#include <cstdint>
#include <string>

// How many of a class's best students a report evaluates (the participation count N), chosen on
// the window in "参评人数定义" or with the batch command's options.
namespace reports {

enum class ParticipationMode {
    Percentage = 1,     // 参考人数 * p %
    CatalogueCount = 2, // 参评人数指定到班: the class's count in the catalogue
    Rule = 3,           // 参考人数 >= T1: C; 参考人数 < T2: 参考人数 * q %
};

// The mode in force and the texts of its parameter boxes, as typed.
struct ParticipationInput {
    ParticipationMode mode = ParticipationMode::Percentage;
    std::string percentage = "100"; // Edit21: p
    std::string threshold = "60";   // Edit31: T1
    std::string fixedCount = "60";  // Edit32: C
    std::string smallBelow = "60";  // Edit33: T2
    std::string smallPercentage = "90"; // Edit34: q
};

// The checked parameters of the mode in force (those of the other modes are 0).
struct ParticipationRule {
    ParticipationMode mode = ParticipationMode::Percentage;
    std::int32_t percentage = 0;
    std::int32_t threshold = 0;
    std::int32_t fixedCount = 0;
    std::int32_t smallBelow = 0;
    std::int32_t smallPercentage = 0;
};

// Checks the parameters of the mode in force; those of the other modes are never looked at.
// A blank parameter gives common::Warning "对不起，请先输入参评人数定义参数！"; a parameter that is
// not blank but no whole number in the signed 32-bit range gives common::Refusal
// "'%s' 不是一个有效的整形值" (the trimmed text in place of %s).
ParticipationRule CheckParticipationParameters(const ParticipationInput& input);

// The participation count N of a class with `examinees` students in the workbook and
// `catalogueCount` as its count in the catalogue, in 64-bit whole-number arithmetic:
// mode 1: (n * p + 50) div 100; mode 2: the catalogue count; mode 3: C when n >= T1, then
// (n * q + 50) div 100 when n < T2 (this second test wins when both hold), and n itself when
// neither holds (T2 <= n < T1). div truncates toward zero. N may exceed n and may be 0.
std::int64_t ParticipationCount(const ParticipationRule& rule, std::int64_t examinees, std::int64_t catalogueCount);

} // namespace reports
