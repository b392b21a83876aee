#include "student_report.h"

#include "report_layout.h"

#include "common/text.h"
#include "import/score_import.h"

namespace reports {

using spreadsheet::HorizontalAlignment;
using spreadsheet::Range;
using spreadsheet::VerticalAlignment;

namespace {

bool inClass(const scores::GradeDataSet& data, int student, const SelectedClass& selected) {
    const scores::ExamCodes codes = scores::examCodes(data.StudentArray.text(student, 1));
    return codes.school == selected.schoolCode && codes.grade == selected.gradeCode &&
           codes.schoolClass == selected.classCode;
}

} // namespace

std::optional<SelectedClass> findClassByCodes(const scores::GradeDataSet& data, std::string_view schoolCode,
                                              std::string_view gradeCode, std::string_view classCode) {
    const scores::Table& schools = data.SchoolArray;
    const scores::Table& grades = data.GradeArray;
    const scores::Table& classes = data.ClassArray;
    for (int s = 1; s <= schools.lastRow(); ++s) {
        if (!common::equalsIgnoringCase(schools.text(s, 2), schoolCode)) {
            continue;
        }
        for (int g = 1; g <= grades.lastRow(); ++g) {
            if (grades.integer(g, 2) != schools.integer(s, 1) || !common::equalsIgnoringCase(grades.text(g, 3), gradeCode)) {
                continue;
            }
            for (int c = 1; c <= classes.lastRow(); ++c) {
                if (classes.integer(c, 3) == grades.integer(g, 1) &&
                    common::equalsIgnoringCase(classes.text(c, 4), classCode)) {
                    return SelectedClass{schools.text(s, 2), schools.text(s, 3), grades.text(g, 3),
                                         grades.text(g, 4), classes.text(c, 4), classes.text(c, 5)};
                }
            }
        }
    }
    return std::nullopt;
}

int writeStudentReport(scores::GradeDataSet& data, const SelectedClass& selected, const std::string& title,
                       spreadsheet::Sheet& sheet, common::Progress& progress) {
    scores::SortStudentsByTotal(data, progress);
    scores::Table& students = data.StudentArray;
    const int st = data.StudentCount;
    const int total = data.totalColumn();

    // Competition ranks over the sorted rows: equal totals share the rank of the first of them.
    if (st > 0) {
        double kept = students.number(1, total);
        std::int64_t rank = 1;
        for (int i = 1; i <= st; ++i) {
            if (students.number(i, total) != kept) {
                kept = students.number(i, total);
                rank = i;
            }
            students.at(i, data.gradeRankColumn()) = rank;
        }
    }
    progress.advance();

    std::int64_t members = 0;
    std::int64_t rank = 0;
    double kept = 0;
    for (int i = 1; i <= st; ++i) {
        if (!inClass(data, i, selected)) {
            continue;
        }
        ++members;
        if (rank == 0) {
            kept = students.number(i, total);
            rank = 1;
        }
        if (students.number(i, total) != kept) {
            kept = students.number(i, total);
            rank = members;
        }
        students.at(i, data.classRankColumn()) = rank;
    }
    progress.advance();

    const int lastColumn = data.SubjectCount + 5;
    putTitleRow(sheet, lastColumn, title);
    for (int column = 1; column <= lastColumn; ++column) {
        sheet.setVerticalAlignment(Range::column(column), VerticalAlignment::Center);
        sheet.setHorizontalAlignment(Range::column(column), HorizontalAlignment::Center);
        sheet.putText(2, column, students.text(0, column));
    }
    int row = 2;
    for (int i = 1; i <= st; ++i) {
        if (!inClass(data, i, selected)) {
            continue;
        }
        ++row;
        sheet.putEntry(row, 1, "'" + students.text(i, 1));
        sheet.putText(row, 2, students.text(i, 2));
        for (int column = 3; column <= lastColumn; ++column) {
            sheet.putNumber(row, column, students.number(i, column));
        }
    }
    return row;
}

} // namespace reports
