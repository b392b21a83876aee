#include "score_import.h"

#include "common/errors.h"
#include "support/catalogue_builder.h"
#include "support/recording_progress.h"
#include "support/score_workbook.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>

namespace scores {
namespace {

using testing_support::CatalogueBuilder;
using testing_support::RecordingProgress;
using testing_support::WorkbookCell;
using testing_support::WorkbookRows;

ScoreSheet sheetOf(std::vector<std::string> subjects,
                   std::vector<std::tuple<std::string, std::string, std::vector<double>>> students) {
    ScoreSheet sheet;
    sheet.subjects = std::move(subjects);
    for (auto& [examNumber, name, scores] : students) {
        sheet.examNumbers.push_back(examNumber);
        sheet.names.push_back(name);
        sheet.scores.insert(sheet.scores.end(), scores.begin(), scores.end());
    }
    return sheet;
}

std::vector<std::string> texts(const Table& table, int column) {
    std::vector<std::string> values;
    for (int row = 1; row <= table.lastRow(); ++row) {
        values.push_back(table.text(row, column));
    }
    return values;
}

std::vector<std::int64_t> integers(const Table& table, int column) {
    std::vector<std::int64_t> values;
    for (int row = 1; row <= table.lastRow(); ++row) {
        values.push_back(table.integer(row, column));
    }
    return values;
}

// Two schools share grade code 02; school 01 also has grade 03; school 02's class 03 has no subject.
class TwoSchools : public ::testing::Test {
protected:
    void SetUp() override {
        const auto s1 = catalogue.school("01", "一中");
        const auto s2 = catalogue.school("02", "二中");
        const auto g1 = catalogue.grade(s1, "02", "初二");
        catalogue.grade(s1, "03", "初三");
        const auto g2 = catalogue.grade(s2, "02", "二中初二");
        const auto c11 = catalogue.schoolClass(s1, g1, "01", "一班", 40);
        const auto c12 = catalogue.schoolClass(s1, g1, "02", "二班", 45);
        const auto c21 = catalogue.schoolClass(s2, g2, "01", "甲班", 50);
        catalogue.schoolClass(s2, g2, "03", "丙班", 0);
        for (const auto c : {c11, c12}) {
            catalogue.subject(s1, g1, c, "语文", "王", 150);
            catalogue.subject(s1, g1, c, "物理", "李", 100);
        }
        catalogue.subject(s2, g2, c21, "语文", "赵", 120);
    }
    CatalogueBuilder catalogue;
};

TEST_F(TwoSchools, BuildsTheClassSummaryOfEverySchoolWithTheGradeCode) {
    const ScoreSheet sheet = sheetOf({"语文", "物理"}, {
                                                         {"010201001", "甲", {90, 80}},
                                                         {"010201002", "乙", {70, 60}},
                                                         {"010202", "丙", {50, 40}},
                                                         {"010202000011", "丁", {100, 99.5}},
                                                         {"020201001", "戊", {10, 20}},
                                                         {"010301001", "己", {1, 2}},
                                                         {"0102", "庚", {3, 4}},
                                                     });
    RecordingProgress progress;
    const GradeDataSet data = BuildGradeDataSet(catalogue.dm(), sheet, progress);

    EXPECT_EQ(data.GradeCode, "02");
    EXPECT_EQ(data.GradeName, "初二") << "the first school's grade";
    EXPECT_EQ(data.ClassCount, 4);
    EXPECT_EQ(data.SubjectCount, 2);
    EXPECT_EQ(data.StudentCount, 7);

    const Table& sums = data.ClassSumArray;
    ASSERT_EQ(sums.lastRow(), 4);
    EXPECT_EQ(sums.firstColumn(), -1);
    EXPECT_EQ(sums.lastColumn(), 4);
    EXPECT_EQ(sums.text(0, -1), "学校");
    EXPECT_EQ(sums.text(0, 4), "总分");
    EXPECT_EQ(texts(sums, -1), (std::vector<std::string>{"01", "01", "02", "02"}));
    EXPECT_EQ(texts(sums, 0), (std::vector<std::string>{"02", "02", "02", "02"}));
    EXPECT_EQ(texts(sums, 1), (std::vector<std::string>{"01", "02", "01", "03"}));
    EXPECT_EQ(integers(sums, 2), (std::vector<std::int64_t>{2, 2, 1, 0})) << "examinees by exam-number codes";
    EXPECT_EQ(integers(sums, 3), (std::vector<std::int64_t>{40, 45, 50, 0}));
    EXPECT_EQ(integers(sums, 4), (std::vector<std::int64_t>{250, 250, 120, 0})) << "full marks of the class";

    const Table& students = data.StudentArray;
    ASSERT_EQ(students.lastRow(), 7);
    EXPECT_EQ(students.lastColumn(), 8);
    const std::vector<std::string> titles{"考号", "姓名", "语文", "物理", "总分", "班次", "级次", "班数"};
    for (int column = 1; column <= 8; ++column) {
        EXPECT_EQ(students.text(0, column), titles[static_cast<std::size_t>(column - 1)]);
    }
    EXPECT_EQ(students.text(4, 1), "010202000011");
    EXPECT_EQ(students.text(4, 2), "丁");
    EXPECT_EQ(students.number(4, 4), 99.5);
    EXPECT_EQ(students.number(4, 5), 0.0) << "no total before a report";
    EXPECT_EQ(students.integer(4, 6), 0);
    EXPECT_EQ(students.integer(4, 7), 0);
    EXPECT_EQ(texts(students, 8), (std::vector<std::string>{"01", "01", "02", "02", "01", "01", ""}));

    EXPECT_EQ(data.SubjectStatArray.lastRow(), 8);
    EXPECT_EQ(data.SubjectStatArray.firstColumn(), -1);
    EXPECT_EQ(data.SubjectStatArray.lastColumn(), 8);
    EXPECT_EQ(data.SubjectStatArray.text(0, 8), "位次");
    EXPECT_EQ(data.SubjectStatArray.text(8, 2), "");
    EXPECT_EQ(data.SubjectStatArray.number(8, 3), 0.0);
    EXPECT_EQ(data.ClassEvalArray.lastRow(), 4);
    EXPECT_EQ(data.ClassEvalArray.lastColumn(), 13);
    EXPECT_EQ(data.ClassEvalArray.text(0, 13), "评估综合位次");
    EXPECT_EQ(data.ClassEvalArray.text(4, -1), "");
    EXPECT_EQ(data.ClassEvalArray.number(4, 12), 0.0);

    EXPECT_EQ(data.SchoolArray.lastRow(), 2);
    EXPECT_EQ(data.SchoolArray.text(0, 1), "XXID");
    EXPECT_EQ(data.SchoolArray.text(2, 3), "二中");
    EXPECT_EQ(data.GradeArray.lastRow(), 3);
    EXPECT_EQ(data.ClassArray.lastRow(), 4);
    EXPECT_EQ(data.ClassArray.integer(2, 6), 45);
    EXPECT_EQ(data.SubjectArray.lastRow(), 5);
    EXPECT_EQ(data.SubjectArray.text(0, 7), "KMZF");

    EXPECT_EQ(progress.resets, 1);
    EXPECT_EQ(progress.maximum, 7);
    EXPECT_EQ(progress.advances, 7) << "one step per student";
}

TEST_F(TwoSchools, NoGradeWithTheCodeLeavesOnlyTitleRows) {
    RecordingProgress progress;
    const GradeDataSet data = BuildGradeDataSet(catalogue.dm(), sheetOf({"语文"}, {{"019901", "甲", {1}}}), progress);
    EXPECT_EQ(data.GradeCode, "99");
    EXPECT_EQ(data.GradeName, "");
    EXPECT_EQ(data.ClassCount, 0);
    EXPECT_EQ(data.ClassSumArray.lastRow(), 0);
    EXPECT_EQ(data.SubjectStatArray.lastRow(), 0);
    EXPECT_EQ(data.ClassEvalArray.lastRow(), 0);
    EXPECT_EQ(data.StudentArray.lastRow(), 1);
}

TEST(BuildGradeDataSet, AGradeWhoseSchoolIsMissingAddsNoClass) {
    CatalogueBuilder catalogue;
    const auto s1 = catalogue.school("01", "一中");
    const auto g1 = catalogue.grade(s1, "02", "初二");
    catalogue.schoolClass(s1, g1, "01", "一班");
    const auto orphan = catalogue.grade(s1 + 100, "02", "无校年级");
    catalogue.schoolClass(s1 + 100, orphan, "01", "孤班");
    RecordingProgress progress;
    const GradeDataSet data = BuildGradeDataSet(catalogue.dm(), sheetOf({"语文"}, {{"010201", "甲", {1}}}), progress);
    EXPECT_EQ(data.ClassCount, 1);
    ASSERT_EQ(data.ClassSumArray.lastRow(), 1);
    EXPECT_EQ(data.ClassSumArray.integer(1, 2), 1);
    EXPECT_EQ(data.ClassEvalArray.lastRow(), 1);
}

TEST(SortStudentsByTotal, TotalsInColumnOrderThenTheExchangeOrder) {
    CatalogueBuilder catalogue;
    // Totals A 7, B 5, C 9, D 5 end as C, A, B, D.
    const ScoreSheet sheet = sheetOf({"语文", "数学"}, {{"A", "a", {3, 4}}, {"B", "b", {2.5, 2.5}},
                                                        {"C", "c", {4.5, 4.5}}, {"D", "d", {5, 0}}});
    RecordingProgress progress;
    GradeDataSet data = BuildGradeDataSet(catalogue.dm(), sheet, progress);
    progress.reset(10);
    SortStudentsByTotal(data, progress);
    EXPECT_EQ(progress.advances, 2);
    EXPECT_EQ(texts(data.StudentArray, 1), (std::vector<std::string>{"C", "A", "B", "D"}));
    EXPECT_EQ(data.StudentArray.number(1, 5), 9.0);
    EXPECT_EQ(data.StudentArray.number(4, 5), 5.0);
    EXPECT_EQ(data.StudentArray.number(4, 3), 5.0) << "whole rows move";
    SortStudentsByTotal(data, progress);
    EXPECT_EQ(texts(data.StudentArray, 1), (std::vector<std::string>{"C", "A", "B", "D"}))
        << "a second sort of sorted rows changes nothing";
}

// ---- Reading score workbooks

WorkbookCell txt(const char* text) { return std::string(text); }
WorkbookCell num(double number) { return number; }
const WorkbookCell kEmpty{};

struct SheetCase {
    const char* name;
    WorkbookRows rows;
    // Expected outcome: counts, or the exact refusal text and whether it is a warning.
    int subjects = 0;
    int students = 0;
    const char* refusal = nullptr;
    bool warning = false;
};

void PrintTo(const SheetCase& c, std::ostream* os) { *os << c.name; }

class ReadScoreSheet : public ::testing::TestWithParam<SheetCase> {};

TEST_P(ReadScoreSheet, CountsChecksAndRefuses) {
    const SheetCase& c = GetParam();
    testing_support::TempDir dir;
    const std::string path = dir.file("scores.xls");
    testing_support::writeWorkbook(path, c.rows);
    CatalogueBuilder catalogue;
    RecordingProgress progress;
    try {
        const GradeDataSet data = importScores(path, catalogue.dm(), progress);
        ASSERT_EQ(c.refusal, nullptr) << "imported";
        EXPECT_EQ(data.SubjectCount, c.subjects);
        EXPECT_EQ(data.StudentCount, c.students);
    } catch (const common::Warning& e) {
        ASSERT_NE(c.refusal, nullptr) << e.what();
        EXPECT_TRUE(c.warning) << e.what();
        EXPECT_STREQ(e.what(), c.refusal);
    } catch (const common::Refusal& e) {
        ASSERT_NE(c.refusal, nullptr) << e.what();
        EXPECT_FALSE(c.warning) << e.what();
        EXPECT_STREQ(e.what(), c.refusal);
    }
    if (c.refusal != nullptr) {
        EXPECT_EQ(progress.resets, 0) << "a refused workbook builds nothing";
    }
}

INSTANTIATE_TEST_SUITE_P(
    Import, ReadScoreSheet,
    ::testing::Values(
        SheetCase{"gap in the header row ends the subjects",
                  {{txt("考号"), txt("姓名"), txt("语文"), txt("数学"), kEmpty, txt("英语")},
                   {txt("010201001"), txt("甲"), num(1), num(2), kEmpty, txt("x")}},
                  2, 1},
        SheetCase{"blank exam number ends the students",
                  {{txt("考号"), txt("姓名"), txt("语文")}, {txt("010201001"), txt("甲"), num(1)},
                   {txt("010201002"), txt("乙"), num(2)}, {txt("  "), txt("丙"), num(3)}, {txt("010201004"), txt("丁"), txt("bad")}},
                  1, 2},
        SheetCase{"full-width space header is a subject",
                  {{txt("考号"), txt("姓名"), txt("语文"), txt("\u3000")}, {txt("010201001"), kEmpty, num(1), num(2)}}, 2, 1},
        SheetCase{"0 and 150 pass, text numbers too",
                  {{txt("考号"), txt("姓名"), txt("语文"), txt("数学")}, {txt("010201001"), txt("甲"), num(0), num(150)},
                   {txt("010201002"), txt("乙"), txt(" 150 "), txt("0.0")}},
                  2, 2},
        SheetCase{"no subject", {{txt("考号"), txt("姓名"), txt(" ")}, {txt("010201001"), txt("甲"), num(1)}}, 0, 0,
                  "对不起，科目数量为0，不能导入！", true},
        SheetCase{"no student", {{txt("考号"), txt("姓名"), txt("语文")}, {kEmpty, txt("甲"), num(1)}}, 0, 0,
                  "对不起，成绩记录数为0，不能导入！", true},
        SheetCase{"150.5 refused with its row and column",
                  {{txt("考号"), txt("姓名"), txt("语文"), txt("数学")}, {txt("010201001"), txt("甲"), num(1), num(2)},
                   {txt("010201002"), txt("乙"), num(3), num(150.5)}, {txt("010201003"), txt("丙"), num(-1), num(2)}},
                  0, 0, "对不起，第3行第4列数据错误，不能导入！", true},
        SheetCase{"-1 refused: the first bad cell in row order wins",
                  {{txt("考号"), txt("姓名"), txt("语文"), txt("数学")}, {txt("010201001"), txt("甲"), num(1), num(-1)},
                   {txt("010201002"), txt("乙"), num(-1), num(2)}},
                  0, 0, "对不起，第2行第4列数据错误，不能导入！", true},
        SheetCase{"blank score is a conversion error",
                  {{txt("考号"), txt("姓名"), txt("语文"), txt("数学")}, {txt("010201001"), txt("甲"), num(1), kEmpty}}, 0, 0,
                  "'' is 不是一个有效的浮点值"},
        SheetCase{"text score is a conversion error with the trimmed text",
                  {{txt("考号"), txt("姓名"), txt("语文")}, {txt("010201001"), txt("甲"), txt(" 九十 ")}}, 0, 0,
                  "'九十' is 不是一个有效的浮点值"},
        SheetCase{"a range error before a conversion error wins",
                  {{txt("考号"), txt("姓名"), txt("语文"), txt("数学")}, {txt("010201001"), txt("甲"), num(151), txt("x")}}, 0, 0,
                  "对不起，第2行第3列数据错误，不能导入！", true}));

TEST(ImportScores, ReadsNamesScoresAndCodesFromTheWorkbook) {
    testing_support::TempDir dir;
    const std::string path = dir.file("scores.xls");
    testing_support::writeWorkbook(path, {{txt("考号"), txt("姓名"), txt(" 语文 "), txt("数学")},
                                          {txt(" 010201001 "), txt(""), num(92.5), num(90)},
                                          {num(10201002), txt("乙"), txt("88.25"), num(0.1 + 0.2)}});
    CatalogueBuilder catalogue;
    const auto s = catalogue.school("01", "一中");
    const auto g = catalogue.grade(s, "02", "初二");
    catalogue.schoolClass(s, g, "01", "一班");
    RecordingProgress progress;
    const GradeDataSet data = importScores(path, catalogue.dm(), progress);
    const Table& students = data.StudentArray;
    EXPECT_EQ(students.text(0, 3), "语文");
    EXPECT_EQ(students.text(1, 1), "010201001");
    EXPECT_EQ(students.text(1, 2), "") << "an empty name is imported as it is";
    EXPECT_EQ(students.number(1, 3), 92.5);
    EXPECT_EQ(students.text(2, 1), "10201002") << "a number-cell exam number loses its leading zero";
    EXPECT_EQ(students.text(2, 8), "10");
    EXPECT_EQ(students.number(2, 3), 88.25);
    EXPECT_EQ(students.number(2, 4), 0.3) << "a number is read as its 15-digit text";
    EXPECT_EQ(data.ClassSumArray.integer(1, 2), 1);
}

TEST(ImportScores, AWorkbookTheReaderRefusesIsARefusal) {
    testing_support::TempDir dir;
    testing_support::writeFile(dir.file("scores.xls"), "考号,姓名,语文\n010201001,甲,90\n");
    CatalogueBuilder catalogue;
    RecordingProgress progress;
    EXPECT_THROW(importScores(dir.file("scores.xls"), catalogue.dm(), progress), common::Refusal);
    EXPECT_THROW(importScores(dir.file("missing.xls"), catalogue.dm(), progress), common::Refusal);
}

// ---- The real workbooks written by LibreOffice and Gnumeric

struct FixtureCase {
    const char* file;
    int subjects;
    int students;
    std::vector<double> sums;
    const char* firstExamNumber;
    const char* firstName;
};

void PrintTo(const FixtureCase& c, std::ostream* os) { *os << c.file; }

class RealWorkbook : public ::testing::TestWithParam<FixtureCase> {};

TEST_P(RealWorkbook, ImportsWithTheKnownFigures) {
    const FixtureCase& c = GetParam();
    CatalogueBuilder catalogue;
    const auto s = catalogue.school("01", "一中");
    const auto g = catalogue.grade(s, "02", "初二");
    for (const char* code : {"01", "02", "03"}) {
        catalogue.schoolClass(s, g, code, "班");
    }
    RecordingProgress progress;
    const GradeDataSet data =
        importScores(testing_support::fixture(std::string("workbooks/") + c.file).string(), catalogue.dm(), progress);
    ASSERT_EQ(data.SubjectCount, c.subjects);
    ASSERT_EQ(data.StudentCount, c.students);
    for (int j = 1; j <= c.subjects; ++j) {
        double sum = 0;
        for (int i = 1; i <= c.students; ++i) {
            sum += data.StudentArray.number(i, 2 + j);
        }
        EXPECT_EQ(sum, c.sums[static_cast<std::size_t>(j - 1)]) << "subject " << j;
    }
    EXPECT_EQ(data.StudentArray.text(1, 1), c.firstExamNumber);
    EXPECT_EQ(data.StudentArray.text(1, 2), c.firstName);
    std::int64_t counted = 0;
    for (int k = 1; k <= data.ClassCount; ++k) {
        counted += data.ClassSumArray.integer(k, 2);
    }
    EXPECT_EQ(counted, std::string(c.firstExamNumber).size() == 9 ? c.students : 0);
}

INSTANTIATE_TEST_SUITE_P(
    Import, RealWorkbook,
    ::testing::Values(
        FixtureCase{"lo-biff8-normal.xls", 5, 120, {12052, 12664.5, 12212.5, 8106, 8214.5}, "010201001", "魏玉芬"},
        FixtureCase{"gnumeric-biff8-normal.xls", 5, 120, {12052, 12664.5, 12212.5, 8106, 8214.5}, "010201001",
                    "魏玉芬"},
        FixtureCase{"gnumeric-biff5-gbk-normal.xls", 5, 120, {12052, 12664.5, 12212.5, 8106, 8214.5}, "010201001",
                    "魏玉芬"},
        FixtureCase{"lo-biff8-formula.xls", 3, 30, {3072.5, 2554.5, 3064.5}, "010201001", "梁华"},
        FixtureCase{"gnumeric-biff5-gbk-formula.xls", 3, 30, {3072.5, 2554.5, 3064.5}, "010201001", "梁华"}));

TEST(RealWorkbook, NumberCellExamNumbersShiftTheCodes) {
    CatalogueBuilder catalogue;
    const auto s = catalogue.school("01", "一中");
    const auto g = catalogue.grade(s, "02", "初二");
    catalogue.schoolClass(s, g, "01", "一班");
    RecordingProgress progress;
    const GradeDataSet data = importScores(
        testing_support::fixture("workbooks/lo-biff8-examno-number.xls").string(), catalogue.dm(), progress);
    EXPECT_EQ(data.StudentCount, 90);
    EXPECT_EQ(data.StudentArray.text(1, 1), "10201001");
    EXPECT_EQ(data.GradeCode, "20");
    EXPECT_EQ(data.ClassCount, 0) << "no class of grade 02 gets a student";
}

TEST(RealWorkbook, XlsxIsRefusedAndTheBrokenCodePageNeitherCrashesNorHangs) {
    CatalogueBuilder catalogue;
    RecordingProgress progress;
    EXPECT_THROW(importScores(testing_support::fixture("workbooks/lo-normal.xlsx").string(), catalogue.dm(), progress),
                 common::Refusal);
    try {
        const GradeDataSet data = importScores(
            testing_support::fixture("workbooks/gnumeric-biff5-broken-codepage.xls").string(), catalogue.dm(), progress);
        EXPECT_EQ(data.StudentCount, 40);
        EXPECT_EQ(data.StudentArray.text(1, 1), "010201001") << "exam numbers read fine";
    } catch (const common::Error& e) {
        EXPECT_FALSE(std::string(e.what()).empty());
    }
}

} // namespace
} // namespace scores
