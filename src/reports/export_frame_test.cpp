#include "export_frame.h"

#include "report_test_support.h"

#include "common/errors.h"
#include "spreadsheet/worksheet_reader.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace reports {
namespace {

using testing_support::CatalogueBuilder;
using testing_support::RecordingProgress;
using testing_support::TempDir;

using FakeHost = testing::RecordingHost;

class ExportFrame : public ::testing::Test {
protected:
    void SetUp() override {
        const auto s = catalogue.school("01", "一中");
        const auto g = catalogue.grade(s, "02", "初二");
        for (const char* code : {"01", "02", "03"}) {
            const auto c = catalogue.schoolClass(s, g, code, "班");
            catalogue.subject(s, g, c, "语文", "师", 150);
        }
        data = testing::buildData(catalogue, {"语文"},
                                  {{"010201001", {90}}, {"010201002", {80}}, {"010202001", {100}}, {"010203001", {70}}});
        host.fileName = dir.file("report.xls");
    }

    std::size_t filesInFolder() const {
        return static_cast<std::size_t>(
            std::distance(std::filesystem::directory_iterator(dir.path()), std::filesystem::directory_iterator{}));
    }

    TempDir dir;
    CatalogueBuilder catalogue;
    scores::GradeDataSet data;
    FakeHost host;
};

TEST_F(ExportFrame, ChecksComeBeforeTheFileDialogInTheirOrder) {
    struct Case {
        const char* name;
        ReportKind kind;
        bool imported;
        ParticipationInput input;
        bool classSelected;
        const char* message;
        bool warning;
    };
    ParticipationInput blankPercentage;
    blankPercentage.percentage = "  ";
    ParticipationInput blankRule;
    blankRule.mode = ParticipationMode::Rule;
    blankRule.smallBelow = "";
    ParticipationInput pastedRule;
    pastedRule.mode = ParticipationMode::Rule;
    pastedRule.fixedCount = "6o";
    const Case cases[] = {
        {"nothing imported, whatever the boxes hold", ReportKind::Class, false, blankPercentage, true,
         "对不起，请先导入年级成绩数据！", true},
        {"blank percentage", ReportKind::Teacher, true, blankPercentage, true, "对不起，请先输入参评人数定义参数！", true},
        {"blank rule box", ReportKind::Student, true, blankRule, false, "对不起，请先输入参评人数定义参数！", true},
        {"pasted text in a rule box", ReportKind::Class, true, pastedRule, true, "'6o' 不是一个有效的整形值", false},
        {"student report without a class", ReportKind::Student, true, ParticipationInput{}, false,
         "对不起，请先在班级列表中选择相应的班级！", true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        host.input = c.input;
        host.offered.clear();
        if (!c.classSelected) {
            host.selected.reset();
        } else {
            host.selected = SelectedClass{"01", "一中", "02", "初二", "01", "一班"};
        }
        try {
            exportReport(c.kind, c.imported ? &data : nullptr, host);
            ADD_FAILURE() << "exported";
        } catch (const common::Warning& e) {
            EXPECT_TRUE(c.warning);
            EXPECT_STREQ(e.what(), c.message);
        } catch (const common::Refusal& e) {
            EXPECT_FALSE(c.warning);
            EXPECT_STREQ(e.what(), c.message);
        }
        EXPECT_TRUE(host.offered.empty()) << "no file dialog";
        EXPECT_EQ(host.bar.resets, 0);
        EXPECT_TRUE(host.messages.empty());
        EXPECT_EQ(filesInFolder(), 0u);
    }
}

TEST_F(ExportFrame, ModeTwoLooksAtNoBoxAndCancellingChangesNothing) {
    host.input.mode = ParticipationMode::CatalogueCount;
    host.input.percentage = "";
    host.input.threshold = "";
    host.fileName.reset();
    host.bar.reset(77);
    host.bar.advance();
    exportReport(ReportKind::Teacher, &data, host);
    exportReport(ReportKind::Student, &data, host);
    EXPECT_EQ(host.offered, (std::vector<std::string>{"初二教师评估表", "一中初二一班学生成绩表"}));
    EXPECT_EQ(host.bar.maximum, 77) << "the bar is left as it was";
    EXPECT_EQ(host.bar.position, 1);
    EXPECT_TRUE(host.messages.empty());
    EXPECT_EQ(filesInFolder(), 0u);
}

TEST_F(ExportFrame, EachReportIsSavedWithItsSheetNameTitleProgressAndMessage) {
    struct Case {
        ReportKind kind;
        const char* offered;
        const char* sheetName;
        const char* message;
        int maximum;
        int advances;
    };
    const Case cases[] = {
        {ReportKind::Student, "一中初二一班学生成绩表", "学生成绩表", "学生成绩表导出成功！", 6, 6},
        {ReportKind::Class, "初二班级评估表", "初二班级评估表", "班级评估表导出成功！", 3 + 4, 2 * 3 + 6},
        {ReportKind::Teacher, "初二教师评估表", "初二教师评估表", "教师评估表导出成功！", 3 + 4, 2 * 3 + 4},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.offered);
        host.offered.clear();
        host.messages.clear();
        host.fileName = dir.file(std::string(c.offered) + ".xls");
        exportReport(c.kind, &data, host);
        EXPECT_EQ(host.offered, (std::vector<std::string>{c.offered}));
        EXPECT_EQ(host.messages, (std::vector<std::string>{c.message}));
        EXPECT_EQ(host.bar.maximum, c.maximum);
        EXPECT_EQ(host.bar.advances, c.advances);
        EXPECT_EQ(host.bar.position, c.maximum) << "the bar stands full";
        const spreadsheet::Worksheet written = spreadsheet::Worksheet::open(*host.fileName);
        EXPECT_EQ(written.name(), c.sheetName);
        EXPECT_EQ(written.text(1, 1), c.offered) << "the title is the offered name";
    }
}

TEST_F(ExportFrame, ExportingTwiceGivesTheSameWorkbook) {
    for (const ReportKind kind : {ReportKind::Class, ReportKind::Teacher, ReportKind::Student}) {
        host.fileName = dir.file("first.xls");
        exportReport(kind, &data, host);
        host.fileName = dir.file("second.xls");
        exportReport(kind, &data, host);
        EXPECT_EQ(testing_support::readFile(dir.file("first.xls")), testing_support::readFile(dir.file("second.xls")));
    }
}

TEST_F(ExportFrame, AFailureAfterTheFileIsChosenLeavesTheOlderFileAndNoMessage) {
    testing_support::writeFile(dir.file("report.xls"), "older report");
    // 43 subjects need 43 x 6 + 3 = 261 columns, more than a sheet holds.
    std::vector<std::string> subjects;
    std::vector<double> marks;
    for (int j = 0; j < 43; ++j) {
        subjects.push_back("科目" + std::to_string(j));
        marks.push_back(1);
    }
    scores::GradeDataSet wide = testing::buildData(catalogue, subjects, {{"010201001", marks}});
    EXPECT_THROW(exportReport(ReportKind::Teacher, &wide, host), common::Refusal);
    EXPECT_TRUE(host.messages.empty());
    EXPECT_EQ(testing_support::readFile(dir.file("report.xls")), "older report");
    EXPECT_EQ(filesInFolder(), 1u) << "no partial file beside it";
}

} // namespace
} // namespace reports
