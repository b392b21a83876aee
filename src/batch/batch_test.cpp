#include "batch.h"

#include "spreadsheet/worksheet_reader.h"
#include "support/catalogue_builder.h"
#include "support/score_workbook.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>

namespace batch {
namespace {

using testing_support::WorkbookCell;

class Batch : public ::testing::Test {
protected:
    void SetUp() override {
        const auto s = catalogue.school("01", "一中");
        const auto g = catalogue.grade(s, "02", "初二");
        for (const char* code : {"01", "A2"}) {
            const auto c = catalogue.schoolClass(s, g, code, std::string(code) + "班", 1);
            catalogue.subject(s, g, c, "语文", "王老师", 100);
        }
        catalogue.dm().closeConnection();
        workbook = catalogue.dir().file("scores.xls");
        const auto text = [](const char* t) { return WorkbookCell(std::string(t)); };
        testing_support::writeWorkbook(workbook, {{text("考号"), text("姓名"), text("语文")},
                                                  {text("010201001"), text("甲"), 90.0},
                                                  {text("010201002"), text("乙"), 70.0},
                                                  {text("0102A2001"), text("丙"), 80.0}});
    }

    int runWith(std::vector<std::string> arguments) {
        out.str("");
        err.str("");
        return run(arguments, out, err, false);
    }

    std::string file(const char* name) const { return catalogue.dir().file(name); }

    testing_support::CatalogueBuilder catalogue;
    std::string workbook;
    std::ostringstream out;
    std::ostringstream err;
};

TEST_F(Batch, WritesTheRequestedReportsAndPrintsTheWindowsMessages) {
    ASSERT_EQ(runWith({"--scores", workbook, "--db", catalogue.path(), "--catalogue-count", "--class-report",
                       file("class.xls"), "--teacher-report", file("teacher.xls"), "--student-report",
                       "01" "02" "a2=" + file("student.xls")}),
              0)
        << err.str();
    EXPECT_EQ(out.str(), "年级成绩数据导入成功！\n班级评估表导出成功！\n教师评估表导出成功！\n学生成绩表导出成功！\n");
    EXPECT_EQ(err.str(), "");
    const spreadsheet::Worksheet classReport = spreadsheet::Worksheet::open(file("class.xls"));
    EXPECT_EQ(classReport.text(1, 1), "初二班级评估表");
    EXPECT_EQ(classReport.text(4, 3), "1") << "the catalogue count of class 01";
    EXPECT_EQ(classReport.text(4, 4), "90") << "its best student only";
    const spreadsheet::Worksheet student = spreadsheet::Worksheet::open(file("student.xls"));
    EXPECT_EQ(student.text(1, 1), "一中初二A2班学生成绩表") << "names from the catalogue, codes case-blind";
    EXPECT_EQ(student.text(3, 1), "0102A2001");
    EXPECT_TRUE(std::filesystem::exists(file("teacher.xls")));
}

TEST_F(Batch, ExitStatusesForRefusalsErrorsAndUsage) {
    struct Case {
        const char* name;
        std::vector<std::string> arguments;
        int status;
        const char* errorText;
    };
    const std::string db = catalogue.path();
    const Case cases[] = {
        {"no arguments", {}, 2, "--scores"},
        {"unknown option", {"--scores", workbook, "--frobnicate"}, 2, "--frobnicate"},
        {"missing value", {"--scores"}, 2, "--scores"},
        {"two participation modes", {"--scores", workbook, "--percent", "90", "--catalogue-count"}, 2, "--percent"},
        {"rule with three numbers", {"--scores", workbook, "--rule", "60,60,60"}, 2, "T1,C,T2,Q"},
        {"student report without codes", {"--scores", workbook, "--student-report", "010201"}, 2, "SSGGCC=FILE"},
        {"missing catalogue", {"--scores", workbook, "--db", file("none.mdb")}, 1, "找不到目录数据库文件"},
        {"missing workbook", {"--scores", file("none.xls"), "--db", db}, 1, "无法打开工作簿"},
        {"blank percentage", {"--scores", workbook, "--db", db, "--percent", " ", "--class-report", file("c.xls")}, 1,
         "对不起，请先输入参评人数定义参数！"},
        {"percentage no number", {"--scores", workbook, "--db", db, "--percent", "9x", "--class-report", file("c.xls")},
         1, "'9x' 不是一个有效的整形值"},
        {"class not in the catalogue",
         {"--scores", workbook, "--db", db, "--student-report", "010209=" + file("s.xls")}, 1, "010209"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(runWith(c.arguments), c.status);
        EXPECT_NE(err.str().find(c.errorText), std::string::npos) << err.str();
        if (c.status == 2) {
            EXPECT_NE(err.str().find("usage"), std::string::npos) << "the usage follows";
        }
    }
    EXPECT_FALSE(std::filesystem::exists(file("c.xls")));
    EXPECT_FALSE(std::filesystem::exists(file("s.xls")));
}

TEST_F(Batch, HelpExplainsEveryOptionInBothLanguages) {
    EXPECT_EQ(runWith({"--help"}), 0);
    for (const char* option : {"--scores", "--db", "--percent", "--catalogue-count", "--rule", "--class-report",
                               "--teacher-report", "--student-report", "--help"}) {
        EXPECT_NE(out.str().find(option), std::string::npos) << option;
    }
    EXPECT_NE(out.str().find("参评人数"), std::string::npos);
    EXPECT_NE(out.str().find("participation count"), std::string::npos);
}

} // namespace
} // namespace batch
