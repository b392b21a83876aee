#pragma once

#include "participation.h"

#include "common/progress.h"
#include "import/grade_data_set.h"
#include "spreadsheet/sheet.h"

#include <string>

namespace reports {

// The body of the class evaluation report (班级评估表). Computes, for every class row of
// ClassSumArray, over its participating group (its N best students by total, N from
// ParticipationCount): the sum of their totals, the average score ScoreSum / N / SubjectCount,
// the pass and excellence counts (total at least 6/10 and 8/10 of the class's full marks) and rates
// (count / N x 100), the three weighted scores (average x 0.5, pass rate x 0.3, excellence rate x 0.2,
// each rounded once to four places, halves to even) and their exact sum, the composite score; a
// class with N = 0 gets 0 in every figure. The rows of ClassEvalArray are then sorted by composite
// score with the exchange order and ranked (competition ranks). The sheet gets the title over 14
// columns, the two header rows, width 6 and centring, one merged block in column 1 per run of
// classes of one school, and one row per class in ClassSumArray order (each class row gives
// exactly one data row with its own figures). Advances `progress` 2 x ClassCount + 4 times.
void writeClassReport(scores::GradeDataSet& data, const ParticipationRule& rule, const std::string& title,
                      spreadsheet::Sheet& sheet, common::Progress& progress);

} // namespace reports
