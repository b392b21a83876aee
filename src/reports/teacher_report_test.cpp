#include "teacher_report.h"

#include "report_test_support.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace reports {
namespace {

using spreadsheet::Range;
using testing::buildData;
using testing::shown;
using testing::shownRow;
using testing_support::CatalogueBuilder;
using testing_support::RecordingProgress;
using Row = std::vector<std::string>;

// Grade 02 of 一中 (classes 01 to 04) and of 二中 (class 01); subjects 语文 (full marks 150: lines 90
// and 120) and 数学 (100: lines 60 and 80), except that class 02 calls its 数学 "算术".
class TeacherReport : public ::testing::Test {
protected:
    void SetUp() override {
        const auto s1 = catalogue.school("01", "一中");
        const auto s2 = catalogue.school("02", "二中");
        const auto g1 = catalogue.grade(s1, "02", "初二");
        const auto g2 = catalogue.grade(s2, "02", "初二");
        struct ClassRow {
            std::int64_t school, grade;
            const char* code;
            const char* chinese;
            const char* mathsName;
            const char* mathsTeacher;
            std::int64_t count;
        };
        const ClassRow classes[] = {{s1, g1, "01", "王老师", "数学", " 李老师 ", 40}, {s1, g1, "02", "赵老师", "算术", "钱老师", 0},
                                    {s1, g1, "03", "孙老师", "数学", "周老师", 0},    {s1, g1, "04", "吴老师", "数学", "郑老师", 0},
                                    {s2, g2, "01", "冯老师", "数学", "陈老师", 0}};
        for (const ClassRow& c : classes) {
            const auto id = catalogue.schoolClass(c.school, c.grade, c.code, "班", c.count);
            catalogue.subject(c.school, c.grade, id, "语文", c.chinese, 150);
            catalogue.subject(c.school, c.grade, id, c.mathsName, c.mathsTeacher, 100);
        }
        // Class 0101: 语文 all 90; 数学 7 x 100, 10 x 72, 66, 2 x 59.5 (average 80.25, pass 90 %,
        // excellence 35 %: 40.125 + 27 + 7 = 74.125).
        for (int i = 0; i < 20; ++i) {
            const double maths = i < 7 ? 100 : i < 17 ? 72 : i == 17 ? 66 : 59.5;
            students.push_back({"010201" + std::to_string(100 + i), {90, maths}});
        }
        students.push_back({"010202001", {120, 50}});
        students.push_back({"010202002", {60, 30}});
        students.push_back({"010203001", {150, 100}});
        students.push_back({"010204001", {0, 40}});
        students.push_back({"020201001", {90, 60}});
    }

    spreadsheet::Sheet run(const ParticipationRule& rule) {
        data = buildData(catalogue, {"语文", "数学"}, students);
        spreadsheet::Sheet sheet;
        writeTeacherReport(data, rule, "初二教师评估表", sheet, progress);
        return sheet;
    }

    CatalogueBuilder catalogue;
    std::vector<testing::Student> students;
    scores::GradeDataSet data;
    RecordingProgress progress;
};

TEST_F(TeacherReport, FiguresTeachersAndRanksPerSubject) {
    progress.reset(100);
    const spreadsheet::Sheet sheet = run(testing::percentRule("100"));
    EXPECT_EQ(shownRow(sheet, 4, 15), (Row{"一中", "1", "20", "王老师", "90.0", "100.0", "0.0", "75.0", "2", "李老师",
                                           "80.3", "90.0", "35.0", "74.1", "2"}));
    EXPECT_EQ(shownRow(sheet, 5, 15), (Row{"一中", "2", "2", "赵老师", "90.0", "50.0", "50.0", "70.0", "4", "", "40.0",
                                           "100.0", "100.0", "70.0", "3"}))
        << "数学 is spelled 算术 in this class: no teacher, lines 0";
    EXPECT_EQ(shownRow(sheet, 6, 15), (Row{"一中", "3", "1", "孙老师", "150.0", "100.0", "100.0", "125.0", "1",
                                           "周老师", "100.0", "100.0", "100.0", "100.0", "1"}));
    EXPECT_EQ(shownRow(sheet, 7, 15), (Row{"一中", "4", "1", "吴老师", "0.0", "0.0", "0.0", "0.0", "5", "郑老师",
                                           "40.0", "0.0", "0.0", "20.0", "5"}));
    EXPECT_EQ(shownRow(sheet, 8, 15), (Row{"二中", "1", "1", "冯老师", "90.0", "100.0", "0.0", "75.0", "2", "陈老师",
                                           "60.0", "100.0", "0.0", "60.0", "4"}));
    EXPECT_EQ(sheet.value(5, 10).kind, spreadsheet::CellKind::Empty);
    EXPECT_EQ(sheet.lastRow(), 8);
    EXPECT_EQ(progress.advances, 2 * 5 + 2);

    // SubjectStatArray is left sorted by weighted score, with top scores and exact weighted scores.
    const scores::Table& stats = data.SubjectStatArray;
    EXPECT_EQ(stats.lastRow(), 10);
    EXPECT_EQ(stats.text(1, 1), "03");
    EXPECT_EQ(stats.text(1, 2), "语文");
    EXPECT_EQ(stats.number(1, 7), 125.0);
    const auto find = [&stats](const char* schoolClass, const char* subject, const char* school = "01") {
        for (int row = 1; row <= stats.lastRow(); ++row) {
            if (stats.text(row, -1) == school && stats.text(row, 1) == schoolClass && stats.text(row, 2) == subject) {
                return row;
            }
        }
        return 0;
    };
    EXPECT_EQ(stats.number(find("01", "数学"), 7), 74.125);
    EXPECT_EQ(stats.number(find("01", "数学"), 3), 100.0) << "top score";
    EXPECT_EQ(stats.number(find("04", "语文"), 3), 0.0) << "no score above 0";
    EXPECT_EQ(stats.integer(find("01", "数学"), 8), 2);
}

TEST_F(TeacherReport, HeadersAndSchoolBlocks) {
    const spreadsheet::Sheet sheet = run(testing::percentRule("100"));
    EXPECT_EQ(sheet.value(1, 1).text, "初二教师评估表");
    EXPECT_TRUE(testing::hasMerge(sheet, Range::cells(1, 1, 1, 15)));
    EXPECT_TRUE(testing::hasMerge(sheet, Range::cells(2, 1, 3, 1)));
    EXPECT_TRUE(testing::hasMerge(sheet, Range::cells(2, 2, 3, 2)));
    EXPECT_TRUE(testing::hasMerge(sheet, Range::cells(2, 3, 3, 3)));
    EXPECT_TRUE(testing::hasMerge(sheet, Range::cells(2, 4, 2, 9)));
    EXPECT_TRUE(testing::hasMerge(sheet, Range::cells(2, 10, 2, 15)));
    EXPECT_EQ(shownRow(sheet, 2, 15),
              (Row{"学校", "班级", "参评人数", "语文", "", "", "", "", "", "数学", "", "", "", "", ""}));
    EXPECT_EQ(shownRow(sheet, 3, 15), (Row{"", "", "", "任课教师", "平均分", "合格率", "优生率", "得分", "位次",
                                           "任课教师", "平均分", "合格率", "优生率", "得分", "位次"}));
    EXPECT_TRUE(testing::hasMerge(sheet, Range::cells(4, 1, 7, 1)));
    EXPECT_EQ(sheet.merges().size(), 7u);
    for (int column = 1; column <= 15; ++column) {
        EXPECT_EQ(sheet.columnWidth(column), 6) << column;
    }
}

TEST_F(TeacherReport, EachSubjectTakesItsOwnBestStudentsAndRowOrderChangesNothing) {
    const spreadsheet::Sheet half = run(testing::percentRule("50"));
    EXPECT_EQ(shown(half, 4, 3), "10");
    EXPECT_EQ(shown(half, 4, 11), "91.6") << "the ten best in 数学: seven 100 and three 72";
    EXPECT_EQ(shown(half, 4, 5), "90.0");
    const Row before = shownRow(half, 4, 15);
    std::reverse(students.begin(), students.end());
    const spreadsheet::Sheet reversed = run(testing::percentRule("50"));
    EXPECT_EQ(shownRow(reversed, 4, 15), before);
}

TEST_F(TeacherReport, ParticipationCountsDivideTheFigures) {
    const spreadsheet::Sheet counts = run(testing::catalogueRule());
    EXPECT_EQ(shown(counts, 4, 3), "40");
    EXPECT_EQ(shown(counts, 4, 11), "40.1") << "1605 / 40 = 40.125";
    EXPECT_EQ(shown(counts, 4, 12), "45.0") << "18 of 40 passed";
    const spreadsheet::Sheet nobody = run(testing::percentRule("0"));
    for (int row = 4; row <= 8; ++row) {
        EXPECT_EQ(shown(nobody, row, 3), "0");
        EXPECT_EQ(shown(nobody, row, 8), "0.0");
        EXPECT_EQ(shown(nobody, row, 9), "1") << "all share rank 1";
        EXPECT_EQ(shown(nobody, row, 15), "1");
    }
}

TEST(TeacherReportColumns, TwoColumnsWithOneNameAreTwoSubjects) {
    CatalogueBuilder catalogue;
    const auto s = catalogue.school("01", "一中");
    const auto g = catalogue.grade(s, "02", "初二");
    for (const char* code : {"01", "02"}) {
        const auto c = catalogue.schoolClass(s, g, code, "班");
        catalogue.subject(s, g, c, "语文", std::string("师") + code, 100);
    }
    scores::GradeDataSet data = buildData(catalogue, {"语文", "语文"}, {{"010201001", {90, 0}}, {"010202001", {0, 90}}});
    spreadsheet::Sheet sheet;
    RecordingProgress progress;
    writeTeacherReport(data, testing::percentRule("100"), "t", sheet, progress);
    EXPECT_EQ(shownRow(sheet, 4, 15),
              (Row{"一中", "1", "1", "师01", "90.0", "100.0", "100.0", "95.0", "1", "师01", "0.0", "0.0", "0.0", "0.0", "2"}));
    EXPECT_EQ(shownRow(sheet, 5, 15),
              (Row{"一中", "2", "1", "师02", "0.0", "0.0", "0.0", "0.0", "2", "师02", "90.0", "100.0", "100.0", "95.0", "1"}));
}

} // namespace
} // namespace reports

namespace reports {
namespace {

TEST(TeacherReportGroups, ScoresThatAreNoBinaryFractionsAreAddedBestFirst) {
    testing_support::CatalogueBuilder catalogue;
    const auto s = catalogue.school("01", "一中");
    const auto g = catalogue.grade(s, "02", "初二");
    const auto c = catalogue.schoolClass(s, g, "01", "一班", 2);
    catalogue.subject(s, g, c, "语文", "师", 100);
    scores::GradeDataSet data = testing::buildData(
        catalogue, {"语文"}, {{"010201001", {70.1}}, {"010201002", {90.7}}, {"010201003", {85.3}}});
    spreadsheet::Sheet sheet;
    testing_support::RecordingProgress progress;
    writeTeacherReport(data, testing::catalogueRule(), "t", sheet, progress);
    EXPECT_EQ(data.SubjectStatArray.number(1, 6), (90.7 + 85.3) / 2) << "the two best, the best first";
    EXPECT_EQ(testing::shown(sheet, 4, 5), "88.0");
    EXPECT_EQ(data.SubjectStatArray.number(1, 3), 90.7);
}

} // namespace
} // namespace reports
