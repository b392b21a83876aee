#include "student_report.h"

#include "report_test_support.h"

#include <gtest/gtest.h>

namespace reports {
namespace {

using spreadsheet::HorizontalAlignment;
using spreadsheet::Range;
using spreadsheet::VerticalAlignment;
using testing::buildData;
using testing::shown;
using testing::shownRow;
using testing_support::CatalogueBuilder;
using testing_support::RecordingProgress;
using Row = std::vector<std::string>;

SelectedClass selectedClass(const char* school, const char* grade, const char* schoolClass) {
    return {school, "一中", grade, "初二", schoolClass, "一班"};
}

// Four subjects; class 0101 has totals 480, 470, 470, 460; class 0102, 二中 and a student of grade
// 03 take part in the grade rank.
class StudentReport : public ::testing::Test {
protected:
    void SetUp() override {
        const auto s1 = catalogue.school("01", "一中");
        const auto s2 = catalogue.school("02", "二中");
        const auto g1 = catalogue.grade(s1, "02", "初二");
        const auto g2 = catalogue.grade(s2, "02", "初二");
        catalogue.schoolClass(s1, g1, "01", "一班");
        catalogue.schoolClass(s1, g1, "02", "二班");
        catalogue.schoolClass(s2, g2, "01", "一班");
        data = buildData(catalogue, {"语文", "数学", "英语", "物理"},
                         {{"010201001", {120, 120, 120, 120}, "甲"},
                          {"010201002", {120, 120, 120, 110}, "乙"},
                          {"010201003", {117.5, 117.5, 117.5, 117.5}, "丙"},
                          {"010201004", {115, 115, 115, 115}, "丁"},
                          {"010202001", {100, 120, 125, 125}, "戊"},
                          {"020201001", {125, 125, 125, 125}, "己"},
                          {"010301001", {116.25, 116.25, 116.25, 116.25}, "庚"}});
    }

    CatalogueBuilder catalogue;
    scores::GradeDataSet data;
    RecordingProgress progress;
};

TEST_F(StudentReport, ClassRowsBestFirstWithClassAndGradeRanks) {
    spreadsheet::Sheet sheet;
    progress.reset(100);
    const int lastRow =
        writeStudentReport(data, selectedClass("01", "02", "01"), "一中初二一班学生成绩表", sheet, progress);
    EXPECT_EQ(lastRow, 6);
    EXPECT_EQ(progress.advances, 4);
    EXPECT_EQ(shownRow(sheet, 2, 9), (Row{"考号", "姓名", "语文", "数学", "英语", "物理", "总分", "班次", "级次"}));
    EXPECT_EQ(shownRow(sheet, 3, 9), (Row{"010201001", "甲", "120", "120", "120", "120", "480", "1", "2"}));
    EXPECT_EQ(shownRow(sheet, 4, 9), (Row{"010201003", "丙", "117.5", "117.5", "117.5", "117.5", "470", "2", "3"}));
    EXPECT_EQ(shownRow(sheet, 5, 9), (Row{"010201002", "乙", "120", "120", "120", "110", "470", "2", "3"}));
    EXPECT_EQ(shownRow(sheet, 6, 9), (Row{"010201004", "丁", "115", "115", "115", "115", "460", "4", "7"}));
    EXPECT_EQ(sheet.lastRow(), 6);
    EXPECT_EQ(sheet.value(3, 1).kind, spreadsheet::CellKind::Text) << "the exam number keeps its leading zero";
    EXPECT_EQ(sheet.value(3, 7).kind, spreadsheet::CellKind::Number);

    // Grade ranks over every student: 己 500, 甲 480, 丙 戊 乙 470, 庚 465, 丁 460.
    const scores::Table& students = data.StudentArray;
    const Row order{"020201001", "010201001", "010201003", "010202001", "010201002", "010301001", "010201004"};
    const std::vector<std::int64_t> gradeRanks{1, 2, 3, 3, 3, 6, 7};
    for (int i = 1; i <= 7; ++i) {
        EXPECT_EQ(students.text(i, 1), order[static_cast<std::size_t>(i - 1)]);
        EXPECT_EQ(students.integer(i, 9), gradeRanks[static_cast<std::size_t>(i - 1)]);
    }
    EXPECT_EQ(students.integer(4, 8), 0) << "students of other classes keep their class rank";

    EXPECT_EQ(sheet.value(1, 1).text, "一中初二一班学生成绩表");
    EXPECT_TRUE(testing::hasMerge(sheet, Range::cells(1, 1, 1, 9)));
    EXPECT_EQ(sheet.format(1, 1).fontName, "黑体");
    for (int column = 1; column <= 9; ++column) {
        EXPECT_EQ(sheet.format(4, column).horizontal, HorizontalAlignment::Center);
        EXPECT_EQ(sheet.format(4, column).vertical, VerticalAlignment::Center);
        EXPECT_FALSE(sheet.columnWidth(column).has_value());
    }
}

TEST_F(StudentReport, AnotherClassGetsItsOwnClassRanksAndTheSameGradeRanks) {
    spreadsheet::Sheet first;
    writeStudentReport(data, selectedClass("01", "02", "01"), "t", first, progress);
    spreadsheet::Sheet second;
    EXPECT_EQ(writeStudentReport(data, selectedClass("01", "02", "02"), "t", second, progress), 3);
    EXPECT_EQ(shownRow(second, 3, 9), (Row{"010202001", "戊", "100", "120", "125", "125", "470", "1", "3"}));
}

TEST_F(StudentReport, AClassOutsideTheSummaryOrWithoutStudents) {
    spreadsheet::Sheet none;
    EXPECT_EQ(writeStudentReport(data, selectedClass("01", "03", "05"), "t", none, progress), 2);
    EXPECT_EQ(none.lastRow(), 2);
    spreadsheet::Sheet outside;
    EXPECT_EQ(writeStudentReport(data, selectedClass("01", "03", "01"), "t", outside, progress), 3)
        << "a class of grade 03, not in the summary: the rows written";
    EXPECT_EQ(shown(outside, 3, 1), "010301001");
    EXPECT_EQ(shown(outside, 3, 3), "116.25");
}

TEST(StudentReportColumns, OneSubjectGivesSixColumns) {
    CatalogueBuilder catalogue;
    scores::GradeDataSet data = buildData(catalogue, {"语文"}, {{"010201001", {92.5}, "甲"}, {"010201002", {90}, "乙"}});
    spreadsheet::Sheet sheet;
    RecordingProgress progress;
    writeStudentReport(data, selectedClass("01", "02", "01"), "t", sheet, progress);
    EXPECT_TRUE(testing::hasMerge(sheet, Range::cells(1, 1, 1, 6)));
    EXPECT_EQ(shownRow(sheet, 2, 6), (Row{"考号", "姓名", "语文", "总分", "班次", "级次"}));
    EXPECT_EQ(shownRow(sheet, 3, 6), (Row{"010201001", "甲", "92.5", "92.5", "1", "1"}));
    EXPECT_EQ(shownRow(sheet, 4, 6), (Row{"010201002", "乙", "90", "90", "2", "2"}));
    EXPECT_EQ(sheet.lastColumn(), 6);
}

} // namespace
} // namespace reports

namespace reports {
namespace {

TEST(FindClassByCodes, IgnoresLetterCaseAndGivesTheStoredCodesAndNames) {
    testing_support::CatalogueBuilder catalogue;
    const auto s = catalogue.school("a1", "一中");
    const auto g = catalogue.grade(s, "02", "初二");
    catalogue.schoolClass(s, g, "B3", "三班");
    const scores::GradeDataSet data = testing::buildData(catalogue, {"语文"}, {{"a102B3001", {1}}});
    const auto found = findClassByCodes(data, "A1", "02", "b3");
    ASSERT_TRUE(found.has_value());
    EXPECT_EQ(found->schoolCode, "a1");
    EXPECT_EQ(found->classCode, "B3");
    EXPECT_EQ(found->schoolName + found->gradeName + found->className, "一中初二三班");
    EXPECT_FALSE(findClassByCodes(data, "A1", "03", "B3").has_value());
}

} // namespace
} // namespace reports
