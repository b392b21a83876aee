#include "class_report.h"

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

// School 一中 with classes 01, 02, 03 and school 二中 (its name stored with blanks) with class A1, all
// in grade 02 with one subject 语文 of full marks 100: pass line 60, excellence line 80.
class ClassReport : public ::testing::Test {
protected:
    void SetUp() override {
        const auto s1 = catalogue.school("01", "一中");
        const auto s2 = catalogue.school("02", " 二中 ");
        const auto g1 = catalogue.grade(s1, "02", "初二");
        const auto g2 = catalogue.grade(s2, "02", "初二");
        const std::pair<std::int64_t, std::int64_t> parents[] = {{s1, g1}, {s1, g1}, {s1, g1}, {s2, g2}};
        const char* codes[] = {"01", "02", "03", "A1"};
        const std::int64_t counts[] = {40, 0, 0, 0};
        for (int c = 0; c < 4; ++c) {
            const auto id = catalogue.schoolClass(parents[c].first, parents[c].second, codes[c], "班", counts[c]);
            catalogue.subject(parents[c].first, parents[c].second, id, "语文", "师", 100);
        }
        // Class 01: 80, 85, 86, 90 (average 85.25); classes 02 and 03: 100 and 50 (a tie);
        // class A1: seven of 60 and eight of 0 (pass rate 7/15).
        students = {{"010201001", {86}}, {"010202001", {100}}, {"010201002", {80}}, {"010203001", {50}},
                    {"010201003", {90}}, {"010202002", {50}},  {"010203002", {100}}, {"010201004", {85}}};
        for (int i = 0; i < 15; ++i) {
            students.push_back({"0202A1" + std::to_string(100 + i), {i < 7 ? 60.0 : 0.0}});
        }
    }

    spreadsheet::Sheet run(const ParticipationRule& rule) {
        data = buildData(catalogue, {"语文"}, students);
        spreadsheet::Sheet sheet;
        writeClassReport(data, rule, "初二班级评估表", sheet, progress);
        return sheet;
    }

    CatalogueBuilder catalogue;
    std::vector<testing::Student> students;
    scores::GradeDataSet data;
    RecordingProgress progress;
};

TEST_F(ClassReport, FiguresRanksAndRowsInCatalogueOrder) {
    progress.reset(100);
    const spreadsheet::Sheet sheet = run(testing::percentRule("100"));
    using Row = std::vector<std::string>;
    EXPECT_EQ(shownRow(sheet, 4, 14),
              (Row{"一中", "1", "4", "341.0", "85.3", "42.6", "4", "100.0", "30.0", "4", "100.0", "20.0", "92.6", "1"}));
    EXPECT_EQ(shownRow(sheet, 5, 14),
              (Row{"一中", "2", "2", "150.0", "75.0", "37.5", "1", "50.0", "15.0", "1", "50.0", "10.0", "62.5", "2"}));
    EXPECT_EQ(shownRow(sheet, 6, 14),
              (Row{"一中", "3", "2", "150.0", "75.0", "37.5", "1", "50.0", "15.0", "1", "50.0", "10.0", "62.5", "2"}));
    EXPECT_EQ(shownRow(sheet, 7, 14),
              (Row{"二中", "A1", "15", "420.0", "28.0", "14.0", "7", "46.7", "14.0", "0", "0.0", "0.0", "28.0", "4"}));
    EXPECT_EQ(sheet.lastRow(), 7);

    EXPECT_EQ(sheet.value(4, 2).kind, spreadsheet::CellKind::Number) << "a digit code is a number";
    EXPECT_EQ(sheet.value(4, 2).number, 1.0);
    EXPECT_EQ(sheet.value(7, 2).kind, spreadsheet::CellKind::Text);
    EXPECT_EQ(sheet.value(4, 5).number, 85.3) << "stored as the rounded value";
    EXPECT_EQ(sheet.value(4, 5).format, spreadsheet::NumberFormat::OneDecimal);
    EXPECT_EQ(sheet.value(4, 3).format, spreadsheet::NumberFormat::Whole);
    EXPECT_EQ(sheet.value(4, 7).format, spreadsheet::NumberFormat::General);

    // The evaluation table is left sorted by composite score, its weighted scores exact.
    const scores::Table& evaluation = data.ClassEvalArray;
    EXPECT_EQ(evaluation.text(1, 1), "01");
    EXPECT_EQ(evaluation.text(4, 1), "A1");
    EXPECT_EQ(evaluation.number(1, 4), 85.25);
    EXPECT_EQ(evaluation.number(1, 5), 42.625);
    EXPECT_EQ(evaluation.number(1, 12), 92.625);
    EXPECT_EQ(evaluation.number(4, 7), 7.0 / 15 * 100);
    EXPECT_EQ(evaluation.number(4, 8), 14.0) << "13.999... rounded once to four places";
    EXPECT_EQ(evaluation.number(4, 12), 28.0);
    EXPECT_EQ(evaluation.integer(2, 13), 2);
    EXPECT_EQ(evaluation.integer(3, 13), 2);
    EXPECT_EQ(evaluation.integer(4, 13), 4);

    EXPECT_EQ(progress.advances, 2 * 4 + 4);
    EXPECT_EQ(data.StudentArray.text(1, 1), "010202001") << "the students stay sorted by total";
}

TEST_F(ClassReport, TitleHeadersColumnsAndSchoolBlocks) {
    const spreadsheet::Sheet sheet = run(testing::percentRule("100"));
    EXPECT_EQ(sheet.value(1, 1).text, "初二班级评估表");
    EXPECT_TRUE(testing::hasMerge(sheet, Range::cells(1, 1, 1, 14)));
    EXPECT_EQ(sheet.format(1, 1).fontName, "黑体");
    EXPECT_EQ(sheet.format(1, 1).fontSize, 12);
    EXPECT_EQ(sheet.format(1, 1).horizontal, HorizontalAlignment::Center);
    struct Header {
        Range cells;
        const char* text;
    };
    const Header merged[] = {{Range::cells(2, 1, 3, 1), "学校"},    {Range::cells(2, 2, 3, 2), "班级"},
                             {Range::cells(2, 3, 3, 3), "参评人数"}, {Range::cells(2, 4, 3, 4), "总分"},
                             {Range::cells(2, 5, 2, 6), "平均"},     {Range::cells(2, 7, 2, 9), "合格"},
                             {Range::cells(2, 10, 2, 12), "优生"},   {Range::cells(2, 13, 2, 14), "评估"}};
    for (const Header& header : merged) {
        SCOPED_TRACE(header.text);
        EXPECT_TRUE(testing::hasMerge(sheet, header.cells));
        EXPECT_EQ(sheet.value(header.cells.firstRow, header.cells.firstColumn).text, header.text);
    }
    const std::vector<std::string> row3{"",   "",    "",    "",       "成绩",   "评估得分", "人数",
                                        "合格率", "评估得分", "人数", "优生率", "评估得分", "综合得分", "综合位次"};
    EXPECT_EQ(shownRow(sheet, 3, 14), row3);
    for (int column = 1; column <= 14; ++column) {
        EXPECT_EQ(sheet.columnWidth(column), 6) << column;
        EXPECT_EQ(sheet.format(5, column).vertical, VerticalAlignment::Center) << column;
        EXPECT_EQ(sheet.format(5, column).horizontal, HorizontalAlignment::Center) << column;
    }
    EXPECT_EQ(sheet.format(1, 1).fontName, "黑体") << "centring the columns keeps the title font";
    EXPECT_TRUE(testing::hasMerge(sheet, Range::cells(4, 1, 6, 1))) << "one block for the three classes of 一中";
    EXPECT_EQ(sheet.merges().size(), 10u) << "title, eight header blocks, one school block";
}

struct ParticipationCase {
    const char* name;
    ParticipationRule rule;
    std::vector<std::string> counts; // column 3 of the four rows
    std::string firstAverage;        // column 5 of class 01
    std::vector<std::string> ranks;  // column 14
};

void PrintTo(const ParticipationCase& c, std::ostream* os) { *os << c.name; }

class ClassReportParticipation : public ClassReport, public ::testing::WithParamInterface<ParticipationCase> {};

TEST_P(ClassReportParticipation, CountsDivideTheFigures) {
    const ParticipationCase& c = GetParam();
    const spreadsheet::Sheet sheet = run(c.rule);
    for (int k = 0; k < 4; ++k) {
        EXPECT_EQ(shown(sheet, 4 + k, 3), c.counts[static_cast<std::size_t>(k)]) << "row " << 4 + k;
        EXPECT_EQ(shown(sheet, 4 + k, 14), c.ranks[static_cast<std::size_t>(k)]) << "row " << 4 + k;
    }
    EXPECT_EQ(shown(sheet, 4, 5), c.firstAverage);
}

INSTANTIATE_TEST_SUITE_P(
    Reports, ClassReportParticipation,
    ::testing::Values(
        ParticipationCase{"p 0: nobody, every figure 0, all share rank 1", testing::percentRule("0"),
                          {"0", "0", "0", "0"}, "0.0", {"1", "1", "1", "1"}},
        ParticipationCase{"p 150: more than the class, divided by N", testing::percentRule("150"),
                          {"6", "3", "3", "23"}, "56.8", {"1", "2", "2", "4"}},
        ParticipationCase{"catalogue counts: 40 for class 01, 0 for the others", testing::catalogueRule(),
                          {"40", "0", "0", "0"}, "8.5", {"1", "2", "2", "2"}},
        ParticipationCase{"gap of the threshold rule takes all examinees", testing::thresholdRule("50", "50", "3", "90"),
                          {"4", "2", "2", "15"}, "85.3", {"1", "2", "2", "4"}},
        ParticipationCase{"p 50 takes the best half by total", testing::percentRule("50"), {"2", "1", "1", "8"},
                          "88.0", {"3", "1", "1", "4"}}));

TEST(ClassReportLines, TotalsOnTheLinesCountAsPassedAndExcellent) {
    CatalogueBuilder catalogue;
    const auto s = catalogue.school("01", "一中");
    const auto g = catalogue.grade(s, "02", "初二");
    const auto c = catalogue.schoolClass(s, g, "05", "五班");
    for (const char* subject : {"语文", "数学", "英语", "物理", "化学"}) {
        catalogue.subject(s, g, c, subject, "师", 150); // 750 in all: lines 450 and 600
    }
    scores::GradeDataSet data = buildData(catalogue, {"语文", "数学", "英语", "物理", "化学"},
                                          {{"010205001", {90, 90, 90, 90, 90}},
                                           {"010205002", {90, 90, 90, 90, 89.5}},
                                           {"010205003", {120, 120, 120, 120, 120}},
                                           {"010205004", {120, 120, 120, 120, 119.5}}});
    spreadsheet::Sheet sheet;
    RecordingProgress progress;
    writeClassReport(data, testing::percentRule("100"), "t", sheet, progress);
    EXPECT_EQ(shown(sheet, 4, 7), "3");
    EXPECT_EQ(shown(sheet, 4, 10), "1");
    EXPECT_EQ(shown(sheet, 4, 2), "5") << "the code 05 shows as 5";
}

TEST(ClassReportDuplicates, ClassesSharingAllThreeCodesGiveOneRowEachWithTheirOwnFigures) {
    CatalogueBuilder catalogue;
    const auto s = catalogue.school("01", "一中");
    const auto g = catalogue.grade(s, "02", "初二");
    catalogue.schoolClass(s, g, "01", "一班", 4);
    catalogue.schoolClass(s, g, "01", "一班（重复）", 2);
    scores::GradeDataSet data =
        buildData(catalogue, {"语文"}, {{"010201001", {100}}, {"010201002", {50}}, {"010201003", {70}}});
    spreadsheet::Sheet sheet;
    RecordingProgress progress;
    writeClassReport(data, testing::catalogueRule(), "t", sheet, progress);
    EXPECT_EQ(shown(sheet, 4, 3), "4");
    EXPECT_EQ(shown(sheet, 4, 4), "220.0");
    EXPECT_EQ(shown(sheet, 5, 3), "2");
    EXPECT_EQ(shown(sheet, 5, 4), "170.0") << "the two best of the same three students";
    EXPECT_EQ(sheet.lastRow(), 5) << "no row beyond the two classes";
}

} // namespace
} // namespace reports
