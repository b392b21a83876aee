// The three report workbooks as an independent reader (python3-xlrd) sees them: merges, fonts,
// borders, widths, alignments, number formats and cell kinds.
#include "export_frame.h"

#include "report_test_support.h"

#include "support/temp_dir.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstdio>
#include <memory>

namespace reports {
namespace {

using testing_support::CatalogueBuilder;
using testing_support::TempDir;

std::vector<std::string> describe(const std::string& path) {
    const std::string command = "/usr/bin/python3 '" SCORE_SOURCE_DIR "/src/reports/tests/describe_workbook.py' '" +
                                path + "'";
    std::unique_ptr<FILE, int (*)(FILE*)> pipe(popen(command.c_str(), "r"), pclose);
    std::vector<std::string> lines;
    std::array<char, 4096> buffer{};
    std::string line;
    while (pipe && fgets(buffer.data(), static_cast<int>(buffer.size()), pipe.get()) != nullptr) {
        line += buffer.data();
        if (!line.empty() && line.back() == '\n') {
            line.pop_back();
            lines.push_back(line);
            line.clear();
        }
    }
    return lines;
}

void expectLines(const std::vector<std::string>& lines, const std::vector<std::string>& expected) {
    for (const std::string& want : expected) {
        EXPECT_NE(std::find(lines.begin(), lines.end(), want), lines.end()) << "missing: " << want;
    }
}

std::size_t countStarting(const std::vector<std::string>& lines, const std::string& prefix) {
    return static_cast<std::size_t>(
        std::count_if(lines.begin(), lines.end(), [&prefix](const std::string& l) { return l.rfind(prefix, 0) == 0; }));
}

class ReportWorkbook : public ::testing::Test {
protected:
    void SetUp() override {
        const auto s1 = catalogue.school("01", "一中");
        const auto s2 = catalogue.school("02", "二中");
        const auto g1 = catalogue.grade(s1, "02", "初二");
        const auto g2 = catalogue.grade(s2, "02", "初二");
        for (const auto& [school, grade, code] : {std::tuple{s1, g1, "01"}, {s1, g1, "02"}, {s2, g2, "B5"}}) {
            const auto c = catalogue.schoolClass(school, grade, code, "班");
            catalogue.subject(school, grade, c, "语文", "王老师", 100);
        }
        data = testing::buildData(catalogue, {"语文"},
                                  {{"010201001", {85.25}, "甲"}, {"010201002", {90}, "乙"}, {"010202001", {70.5}},
                                   {"0202B5001", {60}}});
    }

    std::vector<std::string> exported(ReportKind kind) {
        host.fileName = dir.file("report.xls");
        exportReport(kind, &data, host);
        return describe(*host.fileName);
    }

    TempDir dir;
    CatalogueBuilder catalogue;
    scores::GradeDataSet data;
    testing::RecordingHost host;
};

const std::string kGridCell = " font=宋体/9 border=1,1,1,1 h=center v=center";

TEST_F(ReportWorkbook, ClassEvaluationLayout) {
    const std::vector<std::string> lines = exported(ReportKind::Class);
    expectLines(lines, {"sheet 初二班级评估表", "merge 1 1 1 14", "merge 2 1 3 1", "merge 2 5 2 6", "merge 2 13 2 14",
                        "merge 4 1 5 1", "width 1 6", "width 14 6",
                        "cell 1 1 text 初二班级评估表 fmt=General font=黑体/12 border=0,0,0,0 h=center v=center",
                        "cell 2 1 text 学校 fmt=General" + kGridCell, "cell 3 14 text 综合位次 fmt=General" + kGridCell,
                        "cell 4 1 text 一中 fmt=General" + kGridCell, "cell 4 2 number 1.0 fmt=General" + kGridCell,
                        "cell 4 3 number 2.0 fmt=0" + kGridCell, "cell 4 4 number 175.3 fmt=0.0" + kGridCell,
                        "cell 4 5 number 87.6 fmt=0.0" + kGridCell, "cell 4 7 number 2.0 fmt=General" + kGridCell,
                        "cell 6 2 text B5 fmt=General" + kGridCell, "cell 6 14 number 3.0 fmt=General" + kGridCell});
    EXPECT_EQ(countStarting(lines, "merge "), 10u);
    EXPECT_EQ(countStarting(lines, "width "), 14u);
    EXPECT_EQ(countStarting(lines, "cell 7 "), 0u) << "nothing below the grid";
}

TEST_F(ReportWorkbook, TeacherEvaluationLayout) {
    const std::vector<std::string> lines = exported(ReportKind::Teacher);
    expectLines(lines, {"sheet 初二教师评估表", "merge 1 1 1 9", "merge 2 4 2 9", "merge 4 1 5 1", "width 9 6",
                        "cell 1 1 text 初二教师评估表 fmt=General font=黑体/12 border=0,0,0,0 h=center v=center",
                        "cell 2 4 text 语文 fmt=General" + kGridCell, "cell 3 9 text 位次 fmt=General" + kGridCell,
                        "cell 4 4 text 王老师 fmt=General" + kGridCell, "cell 4 5 number 87.6 fmt=0.0" + kGridCell,
                        "cell 4 3 number 2.0 fmt=0" + kGridCell, "cell 4 9 number 1.0 fmt=General" + kGridCell,
                        "cell 6 2 text B5 fmt=General" + kGridCell});
    EXPECT_EQ(countStarting(lines, "merge "), 6u);
}

TEST_F(ReportWorkbook, StudentScoreLayout) {
    const std::vector<std::string> lines = exported(ReportKind::Student);
    const std::string plain = " font=宋体/9 border=1,1,1,1 h=center v=center";
    expectLines(lines, {"sheet 学生成绩表", "merge 1 1 1 6",
                        "cell 1 1 text 一中初二一班学生成绩表 fmt=General font=黑体/12 border=0,0,0,0 h=center v=center",
                        "cell 2 1 text 考号 fmt=General" + plain, "cell 2 6 text 级次 fmt=General" + plain,
                        "cell 3 1 text 010201002 fmt=General" + plain, "cell 3 3 number 90.0 fmt=General" + plain,
                        "cell 4 3 number 85.25 fmt=General" + plain, "cell 4 5 number 2.0 fmt=General" + plain});
    EXPECT_EQ(countStarting(lines, "merge "), 1u);
    for (const char* line : {"width 1 8", "width 6 8"}) {
        EXPECT_NE(std::find(lines.begin(), lines.end(), line), lines.end()) << "no width is set: " << line;
    }
    EXPECT_EQ(countStarting(lines, "cell 5 "), 0u);
}

} // namespace
} // namespace reports
