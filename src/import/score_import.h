#pragma once

#include "grade_data_set.h"

#include "catalogue/data_module.h"
#include "common/progress.h"

#include <string>
#include <vector>

namespace spreadsheet {
class Worksheet;
}

namespace scores {

// The checked content of a score sheet: row 1 holds the subject names from column 3 on, each
// further row one student with exam number, name and a score per subject.
struct ScoreSheet {
    std::vector<std::string> subjects;    // trimmed header texts
    std::vector<std::string> examNumbers; // trimmed, one per student
    std::vector<std::string> names;       // trimmed, may be empty
    std::vector<double> scores;           // student by student: scores[i * subjects + j]

    int subjectCount() const { return static_cast<int>(subjects.size()); }
    int studentCount() const { return static_cast<int>(examNumbers.size()); }
    double score(int student, int subject) const {
        return scores[static_cast<std::size_t>(student) * subjects.size() + static_cast<std::size_t>(subject)];
    }
};

// Reads and checks the first worksheet of a score workbook, every cell taken as its trimmed text:
// - the subjects are the row-1 cells from column 3 up to the first blank one; none gives
//   common::Warning "对不起，科目数量为0，不能导入！";
// - the students are the rows from row 2 up to the first one whose column 1 is blank; none gives
//   common::Warning "对不起，成绩记录数为0，不能导入！";
// - every score, row by row and left to right, must be a decimal number (common::parseDecimal;
//   otherwise common::Refusal "'%s' is 不是一个有效的浮点值" with the trimmed text, an empty cell
//   included) from 0 to 150 (otherwise common::Warning "对不起，第R行第C列数据错误，不能导入！");
//   the first failing cell decides.
// Nothing right of the last subject or below the last student is read.
ScoreSheet readScoreSheet(const spreadsheet::Worksheet& sheet);

// Builds the grade data set from a checked score sheet and a snapshot of the catalogue (the four
// "Select * From ..." statements run through the data module's query): the catalogue snapshots;
// GradeCode (characters 3-4 of the first exam number); the class summary, one row for each class
// of each grade whose code NJBH equals GradeCode, schools in snapshot order, then their grades,
// then the grades' classes (a grade whose school is not in the catalogue is left out), with the
// examinee counts and the classes' full marks; GradeName, the name of the first such grade;
// StudentArray in sheet order with totals and ranks 0; SubjectStatArray and ClassEvalArray with
// their titles and empty rows. Resets `progress` to the student count and advances it once per
// student. Database errors are common::Failure. Nothing outside the returned value is changed.
GradeDataSet BuildGradeDataSet(catalogue::TDM& dm, const ScoreSheet& sheet, common::Progress& progress);

// The whole import of a score workbook: opens it (the reader's refusals are common::Refusal),
// reads and checks it (readScoreSheet) and builds the data set (BuildGradeDataSet). The workbook is
// closed again in every case.
GradeDataSet importScores(const std::string& path, catalogue::TDM& dm, common::Progress& progress);

// Recomputes every student's total (the sum of its scores in column order) and puts the student
// rows in the order the exchange sort by total leaves them, highest first (see exchangeOrder).
// Advances `progress` twice: after the totals and after the sort.
void SortStudentsByTotal(GradeDataSet& data, common::Progress& progress);

} // namespace scores
