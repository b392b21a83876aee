#include "class_report.h"

#include "evaluation.h"
#include "report_layout.h"

#include "common/decimal.h"
#include "import/exchange_order.h"
#include "import/score_import.h"

namespace reports {

using common::Fixed4;
using spreadsheet::NumberFormat;
using spreadsheet::Range;

namespace {

struct HeaderCell {
    Range cells;
    bool merged;
    const char* text;
};

// The two header rows, made in this order.
const HeaderCell kHeader[] = {
    {Range::cells(2, 1, 3, 1), true, "学校"},     {Range::cells(2, 2, 3, 2), true, "班级"},
    {Range::cells(2, 3, 3, 3), true, "参评人数"}, {Range::cells(2, 4, 3, 4), true, "总分"},
    {Range::cells(2, 5, 2, 6), true, "平均"},     {Range::cell(3, 5), false, "成绩"},
    {Range::cell(3, 6), false, "评估得分"},       {Range::cells(2, 7, 2, 9), true, "合格"},
    {Range::cell(3, 7), false, "人数"},           {Range::cell(3, 8), false, "合格率"},
    {Range::cell(3, 9), false, "评估得分"},       {Range::cells(2, 10, 2, 12), true, "优生"},
    {Range::cell(3, 10), false, "人数"},          {Range::cell(3, 11), false, "优生率"},
    {Range::cell(3, 12), false, "评估得分"},      {Range::cells(2, 13, 2, 14), true, "评估"},
    {Range::cell(3, 13), false, "综合得分"},      {Range::cell(3, 14), false, "综合位次"},
};

constexpr int kLastColumn = 14;

} // namespace

void writeClassReport(scores::GradeDataSet& data, const ParticipationRule& rule, const std::string& title,
                      spreadsheet::Sheet& sheet, common::Progress& progress) {
    scores::SortStudentsByTotal(data, progress);
    const int cc = data.ClassCount;
    const scores::Table& sums = data.ClassSumArray;
    const scores::Table& students = data.StudentArray;
    scores::Table& evaluation = data.ClassEvalArray;
    const ClassMembers members(data);

    std::vector<Fixed4> composite(static_cast<std::size_t>(cc));
    for (int i = 1; i <= cc; ++i) {
        const std::int64_t n = ParticipationCount(rule, sums.integer(i, 2), sums.integer(i, 3));
        const std::int64_t fullMarks = sums.integer(i, 4);
        GroupTally group{passLine(fullMarks), excellentLine(fullMarks)};
        for (int student : members.of(i)) {
            if (group.admitted >= n) {
                break;
            }
            group.add(students.number(student, data.totalColumn()));
        }
        const double scoreSum = group.sum;
        const std::int64_t passed = group.passed;
        const std::int64_t excellentCount = group.excellent;
        double average = 0;
        double passRate = 0;
        double excellentRate = 0;
        Fixed4 averageScore;
        Fixed4 passScore;
        Fixed4 excellentScore;
        if (n > 0) {
            const auto divisor = static_cast<double>(n);
            average = scoreSum / divisor / data.SubjectCount;
            passRate = percentOf(passed, n);
            excellentRate = percentOf(excellentCount, n);
            averageScore = Fixed4::weighted(average, 5);
            passScore = Fixed4::weighted(passRate, 3);
            excellentScore = Fixed4::weighted(excellentRate, 2);
        }
        composite[static_cast<std::size_t>(i - 1)] = averageScore + passScore + excellentScore;
        evaluation.at(i, -1) = sums.text(i, -1);
        evaluation.at(i, 0) = sums.text(i, 0);
        evaluation.at(i, 1) = sums.text(i, 1);
        evaluation.at(i, 2) = n;
        evaluation.at(i, 3) = scoreSum;
        evaluation.at(i, 4) = average;
        evaluation.at(i, 5) = averageScore.toDouble();
        evaluation.at(i, 6) = passed;
        evaluation.at(i, 7) = passRate;
        evaluation.at(i, 8) = passScore.toDouble();
        evaluation.at(i, 9) = excellentCount;
        evaluation.at(i, 10) = excellentRate;
        evaluation.at(i, 11) = excellentScore.toDouble();
        evaluation.at(i, 12) = composite[static_cast<std::size_t>(i - 1)].toDouble();
        evaluation.at(i, 13) = std::int64_t{0};
        progress.advance();
    }

    // Sort the evaluation rows by composite score; rowOfClass tells where each class's row went.
    const std::vector<std::size_t> order = scores::exchangeOrder(composite);
    evaluation.reorderDataRows(order);
    std::vector<int> rowOfClass(static_cast<std::size_t>(cc));
    std::vector<Fixed4> sortedComposite(static_cast<std::size_t>(cc));
    for (std::size_t position = 0; position < order.size(); ++position) {
        rowOfClass[order[position]] = static_cast<int>(position) + 1;
        sortedComposite[position] = composite[order[position]];
    }
    progress.advance();
    const std::vector<std::int64_t> ranks = competitionRanks(sortedComposite);
    for (int row = 1; row <= cc; ++row) {
        evaluation.at(row, 13) = ranks[static_cast<std::size_t>(row - 1)];
    }
    progress.advance();

    putTitleRow(sheet, kLastColumn, title);
    for (const HeaderCell& header : kHeader) {
        if (header.merged) {
            putMergedBlock(sheet, header.cells, header.text);
        } else {
            sheet.putText(header.cells.firstRow, header.cells.firstColumn, header.text);
        }
    }
    setUpEvaluationColumns(sheet, kLastColumn);
    putSchoolBlocks(sheet, data);
    for (int k = 1; k <= cc; ++k) {
        const int e = rowOfClass[static_cast<std::size_t>(k - 1)];
        const int r = k + 3;
        sheet.putText(r, 1, firstSchoolName(data, sums.text(k, -1)));
        sheet.putCode(r, 2, sums.text(k, 1));
        sheet.putNumber(r, 3, evaluation.number(e, 2), NumberFormat::Whole);
        for (int column = 4; column <= 13; ++column) {
            const bool count = column == 7 || column == 10;
            sheet.putNumber(r, column, evaluation.number(e, column - 1),
                            count ? NumberFormat::General : NumberFormat::OneDecimal);
        }
        sheet.putNumber(r, 14, evaluation.number(e, 13));
        progress.advance();
    }
}

} // namespace reports
