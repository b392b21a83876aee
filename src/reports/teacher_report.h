#pragma once

#include "participation.h"

#include "common/progress.h"
#include "import/grade_data_set.h"
#include "spreadsheet/sheet.h"

#include <string>

namespace reports {

// The body of the teacher evaluation report (教师评估表). For every class row of ClassSumArray and
// every subject column j of the workbook, one row of SubjectStatArray: the class's top score in the
// subject, and over its participating group in that subject (its N best students by that score)
// the pass and excellence rates (score at least 6/10 and 8/10 of the class's full marks for the
// subject, found in the catalogue by the class's keys and the exact subject name; no such record
// gives lines of 0 and an empty teacher cell), the average score ScoreSum / N and the weighted
// score (average x 0.5 + pass rate x 0.3 + excellence rate x 0.2, each product rounded once to four
// places, halves to even). The rows are sorted by weighted score with the exchange order and every
// subject column is ranked on its own (competition ranks), also where two columns share a name.
// The sheet gets the title over SubjectCount x 6 + 3 columns, the header rows, width 6 and
// centring, merged school blocks in column 1 and one row per class: school name, class code, N,
// and per subject teacher, average, pass rate, excellence rate, weighted score and rank. The
// students' order in StudentArray is not changed. Advances `progress` 2 x ClassCount + 2 times.
void writeTeacherReport(scores::GradeDataSet& data, const ParticipationRule& rule, const std::string& title,
                        spreadsheet::Sheet& sheet, common::Progress& progress);

} // namespace reports
