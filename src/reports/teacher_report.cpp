#include "teacher_report.h"

#include "evaluation.h"
#include "report_layout.h"

#include "common/decimal.h"
#include "common/text.h"
#include "import/exchange_order.h"

#include <algorithm>
#include <cmath>
#include <functional>
#include <optional>

namespace reports {

using common::Fixed4;
using spreadsheet::NumberFormat;
using spreadsheet::Range;

namespace {

// The subject record (row of SubjectArray) of a class: the first row with the class's school, grade
// and class keys whose subject name equals `subject` exactly.
std::optional<int> subjectRecord(const scores::GradeDataSet& data, const scores::ClassKeys& keys,
                                 const std::string& subject) {
    const scores::Table& records = data.SubjectArray;
    for (int row = 1; row <= records.lastRow(); ++row) {
        if (records.integer(row, 2) == keys.schoolId && records.integer(row, 3) == keys.gradeId &&
            records.integer(row, 4) == keys.classId && records.text(row, 5) == subject) {
            return row;
        }
    }
    return std::nullopt;
}

} // namespace

void writeTeacherReport(scores::GradeDataSet& data, const ParticipationRule& rule, const std::string& title,
                        spreadsheet::Sheet& sheet, common::Progress& progress) {
    const int cc = data.ClassCount;
    const int sc = data.SubjectCount;
    const scores::Table& sums = data.ClassSumArray;
    const scores::Table& students = data.StudentArray;
    scores::Table& stats = data.SubjectStatArray;
    const ClassMembers members(data);

    std::vector<Fixed4> weighted(static_cast<std::size_t>(cc) * static_cast<std::size_t>(sc));
    std::vector<std::optional<int>> records(weighted.size());
    std::vector<double> classScores;
    for (int i = 1; i <= cc; ++i) {
        const scores::ClassKeys& keys = data.classKeys[static_cast<std::size_t>(i - 1)];
        const std::int64_t n = ParticipationCount(rule, sums.integer(i, 2), sums.integer(i, 3));
        for (int j = 1; j <= sc; ++j) {
            const int k = (i - 1) * sc + j;
            const std::string& subject = students.text(0, 2 + j);
            // The group is the class's n best students in this subject, added up best first as the
            // exchange sort would order them. Students with equal scores add the same to every
            // figure, so their order among themselves does not matter; and where every score is a
            // multiple of 1/1024 (halves and quarters are) the sum is exact in any order, so only
            // the choice of the n best is needed, not their order.
            classScores.clear();
            bool exactSum = true;
            for (int student : members.of(i)) {
                const double value = scores::numberOf(students.row(student)[static_cast<std::size_t>(j + 1)]);
                exactSum = exactSum && std::fabs(value) < 1024 &&
                           value * 1024 == static_cast<double>(static_cast<std::int64_t>(value * 1024));
                classScores.push_back(value);
            }
            const double topScore =
                std::max(0.0, classScores.empty() ? 0.0 : *std::max_element(classScores.begin(), classScores.end()));
            const auto admitted = static_cast<std::size_t>(
                std::clamp<std::int64_t>(n, 0, static_cast<std::int64_t>(classScores.size())));
            const auto chosen = classScores.begin() + static_cast<std::ptrdiff_t>(admitted);
            if (!exactSum) {
                std::partial_sort(classScores.begin(), chosen, classScores.end(), std::greater<>());
            } else if (admitted < classScores.size()) {
                std::nth_element(classScores.begin(), chosen, classScores.end(), std::greater<>());
            }

            const std::optional<int> record = subjectRecord(data, keys, subject);
            records[static_cast<std::size_t>(k - 1)] = record;
            const std::int64_t fullMarks = record ? data.SubjectArray.integer(*record, 7) : 0;
            const double pass = record ? passLine(fullMarks) : 0.0;
            const double excellent = record ? excellentLine(fullMarks) : 0.0;

            GroupTally group{pass, excellent};
            for (std::size_t a = 0; a < admitted; ++a) {
                group.add(classScores[a]);
            }
            const double scoreSum = group.sum;
            const std::int64_t passed = group.passed;
            const std::int64_t excellentCount = group.excellent;
            double passRate = 0;
            double excellentRate = 0;
            double average = 0;
            Fixed4 score;
            if (n > 0) {
                const auto divisor = static_cast<double>(n);
                passRate = percentOf(passed, n);
                excellentRate = percentOf(excellentCount, n);
                average = scoreSum / divisor;
                score = Fixed4::weighted(average, 5) + Fixed4::weighted(passRate, 3) +
                        Fixed4::weighted(excellentRate, 2);
            }
            weighted[static_cast<std::size_t>(k - 1)] = score;
            stats.at(k, -1) = sums.text(i, -1);
            stats.at(k, 0) = sums.text(i, 0);
            stats.at(k, 1) = sums.text(i, 1);
            stats.at(k, 2) = subject;
            stats.at(k, 3) = topScore;
            stats.at(k, 4) = passRate;
            stats.at(k, 5) = excellentRate;
            stats.at(k, 6) = average;
            stats.at(k, 7) = score.toDouble();
            stats.at(k, 8) = std::int64_t{0};
        }
        progress.advance();
    }

    // Sort the pairs by weighted score; rowOfPair tells where each pair's row went.
    const std::vector<std::size_t> pairOrder = scores::exchangeOrder(weighted);
    stats.reorderDataRows(pairOrder);
    std::vector<int> rowOfPair(weighted.size());
    for (std::size_t position = 0; position < pairOrder.size(); ++position) {
        rowOfPair[pairOrder[position]] = static_cast<int>(position) + 1;
    }
    progress.advance();
    // Ranks within each subject column, over the sorted rows of that column.
    for (int j = 1; j <= sc; ++j) {
        std::vector<Fixed4> keys;
        std::vector<int> rows;
        for (std::size_t position = 0; position < pairOrder.size(); ++position) {
            if (static_cast<int>(pairOrder[position] % static_cast<std::size_t>(sc)) == j - 1) {
                keys.push_back(weighted[pairOrder[position]]);
                rows.push_back(static_cast<int>(position) + 1);
            }
        }
        const std::vector<std::int64_t> ranks = competitionRanks(keys);
        for (std::size_t r = 0; r < rows.size(); ++r) {
            stats.at(rows[r], 8) = ranks[r];
        }
    }
    progress.advance();

    const int lastColumn = sc * 6 + 3;
    putTitleRow(sheet, lastColumn, title);
    putMergedBlock(sheet, Range::cells(2, 1, 3, 1), "学校");
    putMergedBlock(sheet, Range::cells(2, 2, 3, 2), "班级");
    putMergedBlock(sheet, Range::cells(2, 3, 3, 3), "参评人数");
    constexpr const char* kSubjectHeaders[] = {"任课教师", "平均分", "合格率", "优生率", "得分", "位次"};
    for (int j = 1; j <= sc; ++j) {
        putMergedBlock(sheet, Range::cells(2, 6 * j - 2, 2, 6 * j + 3), students.text(0, 2 + j));
        for (int h = 0; h < 6; ++h) {
            sheet.putText(3, 6 * j - 2 + h, kSubjectHeaders[h]);
        }
    }
    setUpEvaluationColumns(sheet, lastColumn);
    // School blocks by school code, before any data row.
    putSchoolBlocks(sheet, data);
    // Data rows; after each, runs of equal school names in column 1 are merged as well, so schools
    // shown under one name stand in one block.
    int runStart = 0;
    std::string runName;
    for (int i = 1; i <= cc; ++i) {
        const int r = i + 3;
        const std::string school = lastSchoolName(data, sums.text(i, -1));
        sheet.putText(r, 1, school);
        sheet.putCode(r, 2, sums.text(i, 1));
        const std::int64_t n = ParticipationCount(rule, sums.integer(i, 2), sums.integer(i, 3));
        sheet.putNumber(r, 3, static_cast<double>(n), NumberFormat::Whole);
        for (int j = 1; j <= sc; ++j) {
            const std::size_t pair = static_cast<std::size_t>((i - 1) * sc + j - 1);
            const int row = rowOfPair[pair];
            if (const std::optional<int> record = records[pair]) {
                sheet.putText(r, 6 * j - 2, common::trimmed(data.SubjectArray.text(*record, 6)));
            }
            sheet.putNumber(r, 6 * j - 1, stats.number(row, 6), NumberFormat::OneDecimal);
            sheet.putNumber(r, 6 * j, stats.number(row, 4), NumberFormat::OneDecimal);
            sheet.putNumber(r, 6 * j + 1, stats.number(row, 5), NumberFormat::OneDecimal);
            sheet.putNumber(r, 6 * j + 2, stats.number(row, 7), NumberFormat::OneDecimal);
            sheet.putNumber(r, 6 * j + 3, stats.number(row, 8));
        }
        if (runStart == 0) {
            runStart = r;
            runName = school;
        } else if (school != runName) {
            putMergedBlock(sheet, Range::cells(runStart, 1, r - 1, 1), std::nullopt);
            runStart = r;
            runName = school;
        }
        progress.advance();
    }
    if (runStart != 0) {
        putMergedBlock(sheet, Range::cells(runStart, 1, cc + 3, 1), std::nullopt);
    }
}

} // namespace reports
