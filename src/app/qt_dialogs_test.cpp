#include "qt_dialogs.h"

#include "scripted_dialogs.h"

#include "common/messages.h"

#include <QPushButton>

#include <gtest/gtest.h>

namespace app {
namespace {

TEST(QtDialogs, EachKindHasItsCaptionIconAndButtons) {
    const struct {
        BoxKind kind;
        const char* caption;
        QMessageBox::Icon icon;
        std::vector<const char*> buttons;
        const char* text;
    } cases[] = {
        {BoxKind::Warning, "警告", QMessageBox::Warning, {"确定"}, "请输入'编号'！"},
        {BoxKind::Information, "信息", QMessageBox::Information, {"确定"}, "请输入'编号'！"},
        {BoxKind::Confirmation, "确认", QMessageBox::Question, {"确定"}, "请输入'编号'！"},
        {BoxKind::Question, "确认", QMessageBox::Question, {"是[&Y]", "否[&N]"}, "请输入'编号'！"},
        {BoxKind::Error, "错误", QMessageBox::Critical, {"确定"}, "请输入'编号'！"},
        {BoxKind::GeneralError, "睿衡达成绩评估系统", QMessageBox::Critical, {"确定"}, "请输入'编号'！."},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.caption);
        const auto box = makeMessageBox(c.kind, "请输入'编号'！", nullptr);
        EXPECT_EQ(box->windowTitle().toStdString(), c.caption);
        EXPECT_EQ(box->icon(), c.icon);
        EXPECT_EQ(box->text().toStdString(), c.text);
        const QList<QAbstractButton*> buttons = box->buttons();
        ASSERT_EQ(buttons.size(), static_cast<qsizetype>(c.buttons.size()));
        for (std::size_t i = 0; i < c.buttons.size(); ++i) {
            EXPECT_EQ(buttons[static_cast<qsizetype>(i)]->text().toStdString(), c.buttons[i]);
        }
        EXPECT_EQ(box->defaultButton(), buttons.front());
        EXPECT_EQ(box->escapeButton(), buttons.back());
    }
}

TEST(QtDialogs, FiltersBecomeQtNameFilters) {
    EXPECT_EQ(qtFileFilter(messages::kOpenScoresFilter), QStringLiteral("Microsoft Excel 成绩工作簿(*.xls)"));
    EXPECT_EQ(qtFileFilter("文本|*.txt;*.csv|所有文件(*.*)|*.*"), QStringLiteral("文本 (*.txt;*.csv);;所有文件(*.*)"));
}

TEST(ScriptedDialogs, RecordsEveryBoxAndAnswersFromItsQueues) {
    ScriptedDialogs dialogs;
    dialogs.answers = {true};
    dialogs.fileNames = {std::string("/tmp/a.xls")};
    Dialogs& shown = dialogs;
    shown.warning("w");
    EXPECT_TRUE(shown.question("q1"));
    EXPECT_FALSE(shown.question("q2"));
    EXPECT_EQ(shown.openFileName("F|*.xls"), std::optional<std::string>("/tmp/a.xls"));
    EXPECT_EQ(shown.saveFileName("F|*.xls", "班级评估表"), std::nullopt);
    shown.generalError("g");
    shown.beep();
    EXPECT_EQ(dialogs.shown, (std::vector<std::string>{"警告:w", "问题:q1", "问题:q2", "打开:F|*.xls",
                                                       "保存:F|*.xls|班级评估表", "出错:g"}));
    EXPECT_EQ(dialogs.unanswered, (std::vector<std::string>{"问题:q2", "保存:F|*.xls|班级评估表"}));
    EXPECT_EQ(dialogs.beeps, 1);
}

} // namespace
} // namespace app
