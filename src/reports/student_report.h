#pragma once

#include "common/progress.h"
#include "import/grade_data_set.h"
#include "spreadsheet/sheet.h"

#include <optional>
#include <string>
#include <string_view>

namespace reports {

// The class a student score report is for: its codes, as the catalogue holds them, and the names
// of its school, grade and class.
struct SelectedClass {
    std::string schoolCode;
    std::string schoolName;
    std::string gradeCode;
    std::string gradeName;
    std::string classCode;
    std::string className;
};

// The class of the imported grade's catalogue snapshot whose school, grade and class codes equal
// these, letter case ignored, with the codes as stored and the names of its rows; std::nullopt when
// the snapshot has no such class.
std::optional<SelectedClass> findClassByCodes(const scores::GradeDataSet& data, std::string_view schoolCode,
                                              std::string_view gradeCode, std::string_view classCode);

// The body of the student score report (学生成绩表) of one class: totals and the student order
// (SortStudentsByTotal), 级次 (competition rank over every student of the workbook) and 班次
// (competition rank within the class) written into StudentArray, then the title row over columns
// 1 to SubjectCount + 5, the column titles in row 2 and one row per student of the class, best
// total first: exam number and name as text, scores, total and both ranks as numbers. A student
// belongs to the class when the codes of its exam number equal the class's codes exactly.
// Advances `progress` four times. Returns the last row of the grid: the last student row (row 2
// when the class has no student in the workbook).
int writeStudentReport(scores::GradeDataSet& data, const SelectedClass& selected, const std::string& title,
                       spreadsheet::Sheet& sheet, common::Progress& progress);

} // namespace reports
