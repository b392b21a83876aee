// The score import and the exports as the user drives them in the window.
#include "main_window.h"

#include "catalogue_list.h"
#include "scripted_dialogs.h"
#include "startup.h"

#include "catalogue/demo.h"
#include "spreadsheet/worksheet_reader.h"
#include "support/score_workbook.h"
#include "support/temp_dir.h"

#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

#include <gtest/gtest.h>

#include <filesystem>

namespace app {
namespace {

using testing_support::TempDir;
using testing_support::WorkbookCell;
using testing_support::WorkbookRows;

WorkbookCell text(const char* value) { return std::string(value); }

// The demonstration catalogue (schools 01 and 02, grade 02, classes 01-03) and two workbooks: a
// good one of grade 02 and one whose score cell is blank.
class ReportsWindow : public ::testing::Test {
protected:
    void SetUp() override {
        catalogue::createDemoCatalogue(dir.file("Data.mdb"));
        WorkbookRows rows{{text("考号"), text("姓名"), text("语文"), text("数学")}};
        const char* numbers[] = {"010201001", "010201002", "010202001", "020201001", "020203001"};
        double score = 80;
        for (const char* number : numbers) {
            rows.push_back({text(number), text("生"), score, score / 2});
            score += 5;
        }
        testing_support::writeWorkbook(dir.file("good.xls"), rows);
        testing_support::writeWorkbook(dir.file("blank.xls"), {{text("考号"), text("姓名"), text("语文")},
                                                               {text("010201001"), text("甲"), WorkbookCell{}}});
        testing_support::writeWorkbook(dir.file("none.xls"), {{text("考号"), text("姓名"), text("语文")}});
        program = startProgram(dialogs, dir.file("Data.mdb"));
        ASSERT_TRUE(program);
        form().show();
        form().activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&form()));
    }

    TMainForm& form() { return program->mainForm(); }
    template <typename Widget> Widget* control(const char* name) {
        auto* widget = form().findChild<Widget*>(QString::fromLatin1(name));
        EXPECT_NE(widget, nullptr) << name;
        return widget;
    }
    void click(const char* name) { QTest::mouseClick(control<QPushButton>(name), Qt::LeftButton); }
    void clickRow(int list, int row) {
        auto* view = control<CatalogueList>(list == 1 ? "ListView1" : list == 2 ? "ListView2" : "ListView3");
        QTest::mouseClick(view->viewport(), Qt::LeftButton, Qt::NoModifier,
                          view->visualRect(view->model()->index(row, 1)).center());
    }
    void clickEmptyArea(int list) {
        auto* view = control<CatalogueList>(list == 1 ? "ListView1" : "ListView2");
        QTest::mouseClick(view->viewport(), Qt::LeftButton, Qt::NoModifier, QPoint(10, view->viewport()->height() - 5));
    }
    void importWorkbook(const char* name) {
        dialogs.fileNames.push_back(dir.file(name));
        click("IDataBtn");
    }
    QProgressBar* bar() { return control<QProgressBar>("ProgressBar1"); }

    TempDir dir;
    ScriptedDialogs dialogs;
    std::unique_ptr<Program> program;
};

TEST_F(ReportsWindow, ImportReplacesTheDataSetOnlyWhenItSucceeds) {
    click("IDataBtn"); // cancelled: the dialog gets no file name
    EXPECT_EQ(dialogs.shown, (std::vector<std::string>{"打开:Microsoft Excel 成绩工作簿(*.xls)|*.xls"}));
    EXPECT_EQ(form().gradeData(), nullptr);

    dialogs.shown.clear();
    importWorkbook("good.xls");
    EXPECT_EQ(dialogs.shown.back(), "信息:年级成绩数据导入成功！");
    ASSERT_NE(form().gradeData(), nullptr);
    EXPECT_EQ(form().gradeData()->StudentCount, 5);
    EXPECT_EQ(form().gradeData()->ClassCount, 6);
    EXPECT_EQ(bar()->maximum(), 5);
    EXPECT_EQ(bar()->value(), 5);

    const struct {
        const char* file;
        const char* shown;
    } refusals[] = {
        {"none.xls", "警告:对不起，成绩记录数为0，不能导入！"},
        {"blank.xls", "出错:'' is 不是一个有效的浮点值"},
        {"missing.xls", "出错:无法打开工作簿"},
    };
    for (const auto& refusal : refusals) {
        SCOPED_TRACE(refusal.file);
        importWorkbook(refusal.file);
        EXPECT_EQ(dialogs.shown.back().rfind(refusal.shown, 0), 0u) << dialogs.shown.back();
        ASSERT_NE(form().gradeData(), nullptr);
        EXPECT_EQ(form().gradeData()->StudentCount, 5) << "the first grade's data stays";
        EXPECT_EQ(form().gradeData()->SubjectCount, 2);
    }
}

TEST_F(ReportsWindow, ExportsCheckFirstThenAskForTheFileAndSave) {
    click("EBJBtn");
    EXPECT_EQ(dialogs.shown, (std::vector<std::string>{"警告:对不起，请先导入年级成绩数据！"}));

    importWorkbook("good.xls");
    dialogs.shown.clear();
    control<QLineEdit>("Edit21")->setText(QStringLiteral("  "));
    click("EJSBtn");
    EXPECT_EQ(dialogs.shown, (std::vector<std::string>{"警告:对不起，请先输入参评人数定义参数！"}));

    dialogs.shown.clear();
    control<QRadioButton>("RadioButton3")->setChecked(true);
    control<QLineEdit>("Edit32")->setText(QStringLiteral("6o"));
    click("EBJBtn");
    EXPECT_EQ(dialogs.shown, (std::vector<std::string>{"出错:'6o' 不是一个有效的整形值"})) << "refused before the dialog";

    dialogs.shown.clear();
    control<QLineEdit>("Edit32")->setText(QStringLiteral("60"));
    click("EXSBtn");
    EXPECT_EQ(dialogs.shown, (std::vector<std::string>{"警告:对不起，请先在班级列表中选择相应的班级！"}));

    dialogs.shown.clear();
    dialogs.fileNames.push_back(dir.file("class.xls"));
    click("EBJBtn");
    EXPECT_EQ(dialogs.shown, (std::vector<std::string>{"保存:Microsoft Excel 报表工作簿(*.xls)|*.xls|初二年级班级评估表",
                                                       "信息:班级评估表导出成功！"}));
    EXPECT_EQ(spreadsheet::Worksheet::open(dir.file("class.xls")).text(1, 1), "初二年级班级评估表");
    EXPECT_EQ(bar()->maximum(), 6 + 4);
    EXPECT_EQ(bar()->value(), bar()->maximum());

    dialogs.shown.clear();
    click("EJSBtn"); // cancelled
    EXPECT_EQ(dialogs.shown.size(), 1u);
    EXPECT_EQ(bar()->value(), bar()->maximum()) << "a cancelled export leaves the bar alone";
}

TEST_F(ReportsWindow, StudentReportOfTheSelectedClassAlsoWithoutSchoolAndGradeSelection) {
    importWorkbook("good.xls");
    clickRow(1, 0);
    clickRow(2, 0);
    clickRow(3, 0);
    dialogs.shown.clear();
    dialogs.fileNames.push_back(dir.file("one.xls"));
    click("EXSBtn");
    EXPECT_EQ(dialogs.shown.front(), "保存:Microsoft Excel 报表工作簿(*.xls)|*.xls|第一中学初二年级一班学生成绩表");
    EXPECT_EQ(dialogs.shown.back(), "信息:学生成绩表导出成功！");
    const spreadsheet::Worksheet first = spreadsheet::Worksheet::open(dir.file("one.xls"));
    EXPECT_EQ(first.text(3, 1), "010201002") << "best total first";
    EXPECT_EQ(first.text(4, 1), "010201001");
    EXPECT_EQ(first.text(5, 1), "");

    clickEmptyArea(1);
    clickEmptyArea(2);
    ASSERT_FALSE(control<CatalogueList>("ListView1")->selectedRow().has_value());
    ASSERT_TRUE(control<CatalogueList>("ListView3")->selectedRow().has_value());
    dialogs.shown.clear();
    dialogs.fileNames.push_back(dir.file("two.xls"));
    click("EXSBtn");
    EXPECT_EQ(dialogs.shown.front(), "保存:Microsoft Excel 报表工作簿(*.xls)|*.xls|第一中学初二年级一班学生成绩表")
        << "the names come from the class's own catalogue rows";
    EXPECT_EQ(spreadsheet::Worksheet::open(dir.file("two.xls")).text(3, 1), "010201002");
}

} // namespace
} // namespace app
