#include "main_window.h"

#include "catalogue_list.h"
#include "scripted_dialogs.h"
#include "sentence_radio_button.h"
#include "startup.h"

#include "catalogue/demo.h"
#include "catalogue/schema.h"
#include "common/messages.h"
#include "support/temp_dir.h"

#include <QApplication>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

#include <gtest/gtest.h>

namespace app {
namespace {

using catalogue::Level;
using testing_support::TempDir;

std::string warning(const char* text) {
    return std::string("警告:") + text;
}
std::string request(const char* text) {
    return std::string("确认:") + text;
}

// The real window on a catalogue file of its own, started as the program starts it.
class Window : public ::testing::Test {
protected:
    enum class Catalogue { Empty, Demo, DemoWithEmptySchool };

    void start(Catalogue catalogue) {
        const std::string path = dir.file("Data.mdb");
        if (catalogue == Catalogue::Empty) {
            catalogue::createCatalogue(path);
        } else {
            catalogue::createDemoCatalogue(path);
        }
        if (catalogue == Catalogue::DemoWithEmptySchool) {
            catalogue::TDM dm(path);
            dm.XXTable().append();
            dm.XXTable().setFieldValue("XXBH", std::string("03"));
            dm.XXTable().setFieldValue("XXMC", std::string("第三中学"));
            dm.XXTable().post();
        }
        program = startProgram(dialogs, path);
        ASSERT_TRUE(program);
        form().show();
        form().activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&form()));
    }

    TMainForm& form() { return program->mainForm(); }

    template <typename Widget> Widget* control(const QString& name) {
        auto* widget = form().findChild<Widget*>(name);
        EXPECT_NE(widget, nullptr) << name.toStdString();
        return widget;
    }
    CatalogueList* listView(int number) { return control<CatalogueList>(QStringLiteral("ListView%1").arg(number)); }
    QLineEdit* editBox(const char* name) { return control<QLineEdit>(QString::fromLatin1(name)); }
    QPushButton* pushButton(const char* name) { return control<QPushButton>(QString::fromLatin1(name)); }

    // "caption:sub-item 1" of each item.
    std::vector<std::string> items(int number) {
        CatalogueList* list = listView(number);
        std::vector<std::string> result;
        for (int row = 0; row < list->rowCount(); ++row) {
            result.push_back((list->item(row, 0)->text() + QLatin1Char(':') + list->subItem(row, 0)).toStdString());
        }
        return result;
    }
    std::optional<int> selected(int number) { return listView(number)->selectedRow(); }

    void clickRow(int number, int row) {
        CatalogueList* list = listView(number);
        QTest::mouseClick(list->viewport(), Qt::LeftButton, Qt::NoModifier,
                          list->visualRect(list->model()->index(row, 1)).center());
    }
    void doubleClickRow(int number, int row) {
        CatalogueList* list = listView(number);
        const QPoint at = list->visualRect(list->model()->index(row, 1)).center();
        QTest::mouseClick(list->viewport(), Qt::LeftButton, Qt::NoModifier, at);
        QTest::mouseDClick(list->viewport(), Qt::LeftButton, Qt::NoModifier, at);
    }
    void clickEmptyArea(int number) {
        CatalogueList* list = listView(number);
        QTest::mouseClick(list->viewport(), Qt::LeftButton, Qt::NoModifier, QPoint(10, list->viewport()->height() - 5));
    }
    void click(const char* name) { QTest::mouseClick(control<QWidget>(QString::fromLatin1(name)), Qt::LeftButton); }
    std::string focusName() {
        return QApplication::focusWidget() != nullptr ? QApplication::focusWidget()->objectName().toStdString() : "";
    }
    void typeRow(const std::array<const char*, 3>& texts) {
        editBox("Edit11")->setText(QString::fromUtf8(texts[0]));
        editBox("Edit12")->setText(QString::fromUtf8(texts[1]));
        editBox("Edit13")->setText(QString::fromUtf8(texts[2]));
    }
    std::array<std::string, 3> entries() {
        return {editBox("Edit11")->text().toStdString(), editBox("Edit12")->text().toStdString(),
                editBox("Edit13")->text().toStdString()};
    }
    std::string entryCaption() { return control<QGroupBox>(QStringLiteral("GroupBox11"))->title().toStdString(); }

    TempDir dir;
    ScriptedDialogs dialogs;
    std::unique_ptr<Program> program;
};

struct Placed {
    const char* name;
    const char* parent;
    QRect geometry;
    const char* text;
};

TEST_F(Window, EveryControlSitsInItsPlaceWithItsText) {
    start(Catalogue::Empty);
    EXPECT_EQ(form().windowTitle().toStdString(), messages::mainWindowCaption());
    EXPECT_EQ(form().windowTitle(), QStringLiteral("睿衡达成绩评估系统V2.0-[睿衡达项目组]"));
    EXPECT_EQ(form().size(), QSize(783, 504));
    EXPECT_EQ(form().minimumSize(), form().maximumSize());
    EXPECT_TRUE(form().windowFlags().testFlag(Qt::WindowMinimizeButtonHint));
    EXPECT_FALSE(form().windowFlags().testFlag(Qt::WindowMaximizeButtonHint));
    EXPECT_EQ(form().font().pixelSize(), 12);
    EXPECT_EQ(form().font().families().value(0), QStringLiteral("宋体"));

    const Placed table[] = {
        {"Panel1", "MainForm", {0, 0, 783, 469}, nullptr},
        {"Image1", "Panel1", {7, 9, 101, 452}, nullptr},
        {"Bevel1", "Panel1", {7, 8, 101, 453}, nullptr},
        {"GroupBox01", "Panel1", {114, 3, 147, 215}, "学校列表"},
        {"ListView1", "GroupBox01", {6, 14, 136, 193}, nullptr},
        {"GroupBox02", "Panel1", {259, 3, 147, 215}, "年级列表"},
        {"ListView2", "GroupBox02", {6, 14, 136, 193}, nullptr},
        {"GroupBox03", "Panel1", {404, 3, 189, 215}, "班级列表"},
        {"ListView3", "GroupBox03", {6, 14, 178, 193}, nullptr},
        {"GroupBox04", "Panel1", {591, 3, 186, 215}, "科目列表"},
        {"ListView4", "GroupBox04", {6, 14, 175, 193}, nullptr},
        {"GroupBox11", "Panel1", {114, 219, 663, 40}, "学校录入"},
        {"Label11", "GroupBox11", {20, 16, 60, 12}, "编    号："},
        {"Edit11", "GroupBox11", {78, 12, 123, 20}, ""},
        {"Label12", "GroupBox11", {212, 16, 60, 12}, "学校名称："},
        {"Edit12", "GroupBox11", {270, 12, 91, 20}, ""},
        {"Label13", "GroupBox11", {372, 16, 60, 12}, "参评人数："},
        {"Edit13", "GroupBox11", {430, 12, 91, 20}, ""},
        {"GroupBox21", "Panel1", {114, 259, 663, 46}, ""},
        {"AddBtn", "GroupBox21", {133, 13, 84, 25}, "增加"},
        {"ModiBtn", "GroupBox21", {237, 13, 84, 25}, "修改"},
        {"SaveBtn", "GroupBox21", {341, 13, 84, 25}, "保存"},
        {"DeleBtn", "GroupBox21", {446, 13, 84, 25}, "删除"},
        {"GroupBox31", "Panel1", {114, 307, 663, 87}, "参评人数定义"},
        {"RadioButton1", "GroupBox31", {19, 21, 126, 17}, "参考人数*       %"},
        {"RadioButton2", "GroupBox31", {171, 21, 126, 17}, "参评人数指定到班"},
        {"RadioButton3",
         "GroupBox31",
         {19, 53, 494, 17},
         "参考人数>=      ，参评人数=      ；参考人数<      ，参评人数=参考人数*       %"},
        {"GroupBox41", "Panel1", {114, 395, 663, 46}, ""},
        {"IDataBtn", "GroupBox41", {113, 13, 94, 25}, "导入年级数据"},
        {"EXSBtn", "GroupBox41", {227, 13, 94, 25}, "导出学生成绩表"},
        {"EBJBtn", "GroupBox41", {341, 13, 94, 25}, "导出班级评估表"},
        {"EJSBtn", "GroupBox41", {456, 13, 94, 25}, "导出教师评估表"},
        {"ProgressBar1", "Panel1", {114, 445, 663, 16}, nullptr},
        {"AboutBtn", "MainForm", {306, 475, 75, 25}, "关于(&A)"},
        {"CloseBtn", "MainForm", {402, 475, 75, 25}, "退出(&C)"},
    };
    for (const Placed& row : table) {
        SCOPED_TRACE(row.name);
        QWidget* widget = control<QWidget>(QString::fromLatin1(row.name));
        ASSERT_NE(widget, nullptr);
        EXPECT_EQ(widget->parentWidget()->objectName().toStdString(), row.parent);
        EXPECT_EQ(widget->geometry(), row.geometry);
        if (row.text == nullptr) {
            continue;
        }
        QString text;
        if (auto* label = qobject_cast<QLabel*>(widget)) {
            text = label->text();
        } else if (auto* group = qobject_cast<QGroupBox*>(widget)) {
            text = group->title();
        } else if (auto* button = qobject_cast<QAbstractButton*>(widget)) {
            text = button->text();
        } else if (auto* line = qobject_cast<QLineEdit*>(widget)) {
            text = line->text();
        }
        EXPECT_EQ(text.toStdString(), row.text);
    }
    EXPECT_FALSE(control<QWidget>(QStringLiteral("Label13"))->isVisible());
    EXPECT_FALSE(editBox("Edit13")->isVisible());
    EXPECT_TRUE(control<QRadioButton>(QStringLiteral("RadioButton1"))->isChecked());
    EXPECT_EQ(control<QProgressBar>(QStringLiteral("ProgressBar1"))->value(), 0);
    EXPECT_EQ(control<QProgressBar>(QStringLiteral("ProgressBar1"))->maximum(), 100);
}

TEST_F(Window, ParticipationBoxesFillTheGapsOfTheirSentences) {
    start(Catalogue::Empty);
    const struct {
        const char* radio;
        std::vector<std::pair<const char*, const char*>> blanks; // name, start text
        QRect place;                                             // of the first box
    } sentences[] = {
        {"RadioButton1", {{"Edit21", "100"}}, {98, 19, 33, 20}},
        {"RadioButton3", {{"Edit31", "60"}, {"Edit32", "60"}, {"Edit33", "60"}, {"Edit34", "90"}}, {98, 51, 33, 20}},
    };
    for (const auto& sentence : sentences) {
        SCOPED_TRACE(sentence.radio);
        auto* radio = control<SentenceRadioButton>(QString::fromLatin1(sentence.radio));
        ASSERT_NE(radio, nullptr);
        const auto spans = radio->pieceSpans();
        ASSERT_EQ(spans.size(), sentence.blanks.size() + 1);
        for (std::size_t i = 0; i < sentence.blanks.size(); ++i) {
            QLineEdit* box = editBox(sentence.blanks[i].first);
            EXPECT_EQ(box->text().toStdString(), sentence.blanks[i].second);
            EXPECT_EQ(box->parentWidget(), radio->parentWidget());
            // The box keeps its place unless the text before it needs the room, and the sentence goes
            // on after it: piece i ends before the box, piece i + 1 starts after it.
            const QRect place = box->geometry().translated(-radio->x(), 0);
            if (i == 0) {
                EXPECT_GE(box->x(), sentence.place.x());
                EXPECT_EQ(box->geometry().size(), sentence.place.size());
                EXPECT_EQ(box->y(), sentence.place.y());
            }
            EXPECT_LT(spans[i].second, place.left());
            EXPECT_GT(spans[i + 1].first, place.right());
            EXPECT_LT(box->geometry().right(), radio->parentWidget()->width());
        }
        EXPECT_LT(radio->x() + spans.back().second, radio->parentWidget()->width());
    }
    EXPECT_LT(editBox("Edit21")->geometry().right(), control<QWidget>(QStringLiteral("RadioButton2"))->x());
}

TEST_F(Window, ListsAreReportsWithTheirColumns) {
    start(Catalogue::Empty);
    const std::vector<std::vector<std::pair<const char*, int>>> columns = {
        {{"序号", 36}, {"编号", 36}, {"学校名称", 60}},
        {{"序号", 36}, {"编号", 36}, {"年级名称", 60}},
        {{"序号", 36}, {"编号", 36}, {"班级名称", 60}, {"参评人数", 60}},
        {{"序号", 36}, {"科目名称", 60}, {"任课教师", 60}, {"总分", 40}},
    };
    for (int number = 1; number <= 4; ++number) {
        SCOPED_TRACE(number);
        CatalogueList* list = listView(number);
        const auto& expected = columns[static_cast<std::size_t>(number - 1)];
        ASSERT_EQ(list->columnCount(), static_cast<int>(expected.size()));
        for (int column = 0; column < list->columnCount(); ++column) {
            EXPECT_EQ(list->horizontalHeaderItem(column)->text().toStdString(),
                      expected[static_cast<std::size_t>(column)].first);
            EXPECT_EQ(list->columnWidth(column), expected[static_cast<std::size_t>(column)].second);
        }
        EXPECT_TRUE(list->showGrid());
        EXPECT_EQ(list->selectionBehavior(), QAbstractItemView::SelectRows);
        EXPECT_EQ(list->selectionMode(), QAbstractItemView::SingleSelection);
        EXPECT_EQ(list->editTriggers(), QAbstractItemView::NoEditTriggers);
        EXPECT_EQ(list->toolTip(), QStringLiteral("双击修改"));
        EXPECT_EQ(list->palette().color(QPalette::Inactive, QPalette::Highlight),
                  list->palette().color(QPalette::Active, QPalette::Highlight));
    }
}

TEST_F(Window, TabOrderFollowsTheLayout) {
    start(Catalogue::Empty);
    const std::vector<std::string> expected{
        "ListView1", "ListView2", "ListView3",    "ListView4", "Edit11",       "Edit12",       "AddBtn",   "ModiBtn",
        "SaveBtn",   "DeleBtn",   "RadioButton1", "Edit21",    "RadioButton2", "RadioButton3", "Edit31",   "Edit32",
        "Edit33",    "Edit34",    "IDataBtn",     "EXSBtn",    "EBJBtn",       "EJSBtn",       "AboutBtn", "CloseBtn"};
    std::vector<std::string> order;
    QWidget* widget = listView(1);
    do {
        if (widget->isVisibleTo(&form()) && (widget->focusPolicy() & Qt::TabFocus) == Qt::TabFocus &&
            widget->window() == &form()) {
            order.push_back(widget->objectName().toStdString());
        }
        widget = widget->nextInFocusChain();
    } while (widget != listView(1) && order.size() < 60);
    EXPECT_EQ(order, expected);
}

TEST_F(Window, StartsWithAnEmptyCatalogueInSchoolMode) {
    start(Catalogue::Empty);
    for (int number = 1; number <= 4; ++number) {
        EXPECT_EQ(listView(number)->rowCount(), 0);
    }
    EXPECT_EQ(focusName(), "ListView1");
    EXPECT_EQ(form().entryMode(), Level::School);
    EXPECT_EQ(entryCaption(), "学校录入");
    EXPECT_TRUE(dialogs.shown.empty());
}

TEST_F(Window, StartsWithTheSchoolsListedAndNothingSelected) {
    start(Catalogue::Demo);
    EXPECT_EQ(items(1), (std::vector<std::string>{"1:01", "2:02"}));
    EXPECT_EQ(listView(1)->subItem(0, 1), QStringLiteral("第一中学"));
    EXPECT_FALSE(listView(1)->item(0, 0)->icon().isNull());
    EXPECT_EQ(selected(1), std::nullopt);
    for (int number = 2; number <= 4; ++number) {
        EXPECT_EQ(listView(number)->rowCount(), 0);
    }
    EXPECT_EQ(focusName(), "ListView1");
    EXPECT_TRUE(dialogs.shown.empty());
    const QRect screen = form().screen()->geometry();
    EXPECT_EQ(form().frameGeometry().left(), (screen.width() - form().frameGeometry().width()) / 2);
}

TEST_F(Window, SelectionCascadesToTheRight) {
    start(Catalogue::DemoWithEmptySchool);
    clickRow(1, 0);
    EXPECT_EQ(items(2), std::vector<std::string>{"1:02"});
    EXPECT_EQ(selected(2), std::nullopt);
    clickRow(2, 0);
    EXPECT_EQ(items(3), (std::vector<std::string>{"1:01", "2:02", "3:03"}));
    EXPECT_EQ(listView(3)->subItem(0, 2), QStringLiteral("40"));
    clickRow(3, 1);
    EXPECT_EQ(items(4), (std::vector<std::string>{"1:语文", "2:数学", "3:英语", "4:物理", "5:化学"}));
    EXPECT_EQ(listView(4)->subItem(3, 2), QStringLiteral("100"));
    EXPECT_EQ(form().selectedSubItems(Level::Class), (std::vector<std::string>{"02", "二班", "40"}));

    // A new grade selection refills the classes and empties the subjects.
    clickRow(2, 0);
    EXPECT_EQ(listView(3)->rowCount(), 3);
    clickRow(3, 0);
    ASSERT_EQ(listView(4)->rowCount(), 5);

    // A click below the schools removes the selection and leaves the lists to the right alone.
    clickEmptyArea(1);
    EXPECT_EQ(selected(1), std::nullopt);
    EXPECT_EQ(form().selectedSubItems(Level::School), std::nullopt);
    EXPECT_EQ(items(2), std::vector<std::string>{"1:02"});
    EXPECT_EQ(listView(3)->rowCount(), 3);
    EXPECT_EQ(listView(4)->rowCount(), 5);

    // The school without grades empties every list to the right.
    clickRow(1, 2);
    EXPECT_EQ(form().selectedSubItems(Level::School), (std::vector<std::string>{"03", "第三中学"}));
    for (int number = 2; number <= 4; ++number) {
        EXPECT_EQ(listView(number)->rowCount(), 0);
    }
    clickRow(1, 1); // the other school with the same grade code
    EXPECT_EQ(items(2), std::vector<std::string>{"1:02"});
    EXPECT_TRUE(dialogs.shown.empty());
}

TEST_F(Window, FocusOnAListSetsItsEntryMode) {
    start(Catalogue::Demo);
    clickRow(1, 0);
    clickRow(2, 0);
    const struct {
        int list;
        const char* caption;
        const char* labels[3];
        bool numberBox;
    } modes[] = {
        {3, "班级录入", {"编    号：", "班级名称：", "参评人数："}, true},
        {4, "科目录入", {"科目名称：", "任课教师：", "总    分："}, true},
        {2, "年级录入", {"编    号：", "年级名称：", "参评人数："}, false},
        {1, "学校录入", {"编    号：", "学校名称：", "参评人数："}, false},
    };
    for (const auto& mode : modes) {
        SCOPED_TRACE(mode.caption);
        typeRow({"a", "b", "1"});
        listView(mode.list)->setFocus(Qt::TabFocusReason);
        EXPECT_EQ(entryCaption(), mode.caption);
        EXPECT_EQ(form().entryMode(), static_cast<Level>(mode.list - 1));
        for (int i = 0; i < 3; ++i) {
            EXPECT_EQ(control<QLabel>(QStringLiteral("Label1%1").arg(i + 1))->text().toStdString(), mode.labels[i]);
        }
        EXPECT_EQ(control<QLabel>(QStringLiteral("Label13"))->isVisible(), mode.numberBox);
        EXPECT_EQ(editBox("Edit13")->isVisible(), mode.numberBox);
        EXPECT_EQ(entries(), (std::array<std::string, 3>{}));
    }
    // Moving on to an edit box or a button keeps the mode, and so do the boxes' texts.
    clickRow(3, 0);
    typeRow({"01", "y", "7"});
    click("Edit11");
    EXPECT_EQ(form().entryMode(), Level::Class);
    click("AddBtn"); // class 01 exists: refused, mode and boxes kept
    EXPECT_EQ(form().entryMode(), Level::Class);
    EXPECT_EQ(entryCaption(), "班级录入");
    EXPECT_EQ(entries(), (std::array<std::string, 3>{"01", "y", "7"}));
    EXPECT_EQ(dialogs.shown, std::vector<std::string>{warning(messages::kCodeExists)});
}

TEST_F(Window, EnterLeadsThroughTheEntryPanelToAdd) {
    start(Catalogue::Demo);
    // School mode: Edit13 is hidden, so Enter in Edit12 goes to "增加".
    QTest::keyClick(listView(1), Qt::Key_Return);
    EXPECT_EQ(focusName(), "Edit11");
    QTest::keyClicks(editBox("Edit11"), "03");
    QTest::keyClick(editBox("Edit11"), Qt::Key_Return);
    EXPECT_EQ(focusName(), "Edit12");
    QTest::keyClicks(editBox("Edit12"), "san");
    QTest::keyClick(editBox("Edit12"), Qt::Key_Enter);
    EXPECT_EQ(focusName(), "AddBtn");
    QTest::keyClick(pushButton("AddBtn"), Qt::Key_Return);
    EXPECT_EQ(items(1), (std::vector<std::string>{"1:01", "2:02", "3:03"}));
    EXPECT_EQ(focusName(), "Edit11");
    EXPECT_EQ(entries(), (std::array<std::string, 3>{}));

    // Class mode: Edit13 is shown and takes its turn.
    clickRow(1, 0);
    clickRow(2, 0);
    clickRow(3, 0);
    QTest::keyClick(listView(3), Qt::Key_Return);
    QTest::keyClicks(editBox("Edit11"), "04");
    QTest::keyClick(editBox("Edit11"), Qt::Key_Return);
    QTest::keyClicks(editBox("Edit12"), "si");
    QTest::keyClick(editBox("Edit12"), Qt::Key_Return);
    EXPECT_EQ(focusName(), "Edit13");
    QTest::keyClicks(editBox("Edit13"), "42");
    QTest::keyClick(editBox("Edit13"), Qt::Key_Return);
    EXPECT_EQ(focusName(), "AddBtn");
    QTest::keyClick(pushButton("AddBtn"), Qt::Key_Return);
    EXPECT_EQ(items(3).back(), "4:04");
    EXPECT_EQ(listView(3)->subItem(3, 2), QStringLiteral("42"));
    EXPECT_EQ(selected(3), 0);
    // Other keys are left to the boxes.
    QTest::keyClick(editBox("Edit11"), Qt::Key_Tab);
    EXPECT_EQ(focusName(), "Edit12");
    EXPECT_TRUE(dialogs.shown.empty());
}

TEST_F(Window, NumberBoxesTakeDigitsOnlyAndBeepOtherwise) {
    start(Catalogue::Demo);
    clickRow(1, 0);
    clickRow(2, 0);
    listView(3)->setFocus(Qt::TabFocusReason); // Edit13 shown
    for (const char* name : {"Edit13", "Edit21", "Edit31", "Edit32", "Edit33", "Edit34"}) {
        SCOPED_TRACE(name);
        QLineEdit* box = editBox(name);
        box->setFocus();
        box->end(false);
        const QString before = box->text();
        const int beeps = dialogs.beeps;
        QTest::keyClick(box, Qt::Key_A);
        EXPECT_EQ(box->text(), before);
        EXPECT_EQ(dialogs.beeps, beeps + 1);
        QTest::keyClicks(box, "%-. ");
        EXPECT_EQ(box->text(), before);
        EXPECT_EQ(dialogs.beeps, beeps + 5);
        QTest::keyClick(box, Qt::Key_5);
        EXPECT_EQ(box->text(), before + QLatin1Char('5'));
        QTest::keyClick(box, Qt::Key_Backspace);
        EXPECT_EQ(box->text(), before);
        EXPECT_EQ(dialogs.beeps, beeps + 5);
    }
    // The code and name boxes take any text.
    QTest::keyClicks(editBox("Edit11"), "a%");
    EXPECT_EQ(editBox("Edit11")->text(), QStringLiteral("a%"));
    EXPECT_EQ(dialogs.beeps, 30);
}

TEST_F(Window, EditingWorksInEveryModeThroughTheButtons) {
    start(Catalogue::Empty);
    const struct {
        int list;
        std::array<const char*, 3> row;
        const char* shown; // sub-item 0 and 1 of the new item
    } rows[] = {
        {1, {"01", "一中", ""}, "01 一中"},
        {2, {"01", "初一", ""}, "01 初一"},
        {3, {"01", "一班", "45"}, "01 一班"},
        {4, {"语文", "张老师", "150"}, "语文 张老师"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.list);
        if (row.list > 1) {
            clickRow(row.list - 1, 0);
        }
        listView(row.list)->setFocus(Qt::TabFocusReason);
        typeRow(row.row);
        click("AddBtn");
        CatalogueList* list = listView(row.list);
        ASSERT_EQ(list->rowCount(), 1);
        EXPECT_EQ((list->subItem(0, 0) + QLatin1Char(' ') + list->subItem(0, 1)).toStdString(), row.shown);
        EXPECT_EQ(focusName(), "Edit11");

        // Double click: the list's mode first (boxes emptied), then the row in the boxes.
        click("Edit11");
        doubleClickRow(row.list, 0);
        EXPECT_EQ(form().entryMode(), static_cast<Level>(row.list - 1));
        EXPECT_EQ(editBox("Edit11")->text().toStdString(), row.row[0]);
        EXPECT_EQ(editBox("Edit12")->text().toStdString(), row.row[1]);

        editBox("Edit12")->setText(QStringLiteral("改名"));
        click("SaveBtn");
        EXPECT_EQ(list->subItem(0, 1), QStringLiteral("改名"));
        EXPECT_EQ(editBox("Edit12")->text(), QStringLiteral("改名"));
    }
    // Deleting from the right: the question first, then the in-use check of the level above.
    for (int number = 4; number >= 1; --number) {
        SCOPED_TRACE(number);
        clickRow(number, 0);
        if (number > 1) {
            dialogs.answers = {true};
            listView(number - 1)->setFocus(Qt::TabFocusReason);
            clickRow(number - 1, 0);
            click("DeleBtn");
            const char* inUse[] = {messages::kSchoolInUse, messages::kGradeInUse, messages::kClassInUse};
            EXPECT_EQ(dialogs.shown.back(), warning(inUse[number - 2]));
            EXPECT_EQ(listView(number - 1)->rowCount(), 1);
            clickRow(number, 0);
        }
        dialogs.answers = {true};
        dialogs.shown.clear();
        click("DeleBtn");
        EXPECT_EQ(dialogs.shown, std::vector<std::string>{std::string("问题:") + messages::kConfirmDelete});
        EXPECT_EQ(listView(number)->rowCount(), 0);
        EXPECT_EQ(selected(number), std::nullopt);
    }
    EXPECT_TRUE(dialogs.unanswered.empty());
}

TEST_F(Window, DeletionSelectsTheNextItemAndRunsItsCascade) {
    start(Catalogue::Demo);
    clickRow(1, 0);
    clickRow(2, 0);
    clickRow(3, 1);
    clickRow(4, 4); // 化学, the last subject of class 02
    dialogs.answers = {true};
    click("DeleBtn");
    EXPECT_EQ(items(4), (std::vector<std::string>{"1:语文", "2:数学", "3:英语", "4:物理"}));
    EXPECT_EQ(selected(4), 3);
    EXPECT_EQ(focusName(), "ListView4");
    dialogs.answers = {false};
    typeRow({"x", "y", "1"});
    click("DeleBtn");
    EXPECT_EQ(listView(4)->rowCount(), 4);
    EXPECT_EQ(entries(), (std::array<std::string, 3>{}));
    // Deleting class 01 is refused, and its subjects stay.
    clickRow(3, 0);
    dialogs.answers = {true};
    dialogs.shown.clear();
    click("DeleBtn");
    EXPECT_EQ(dialogs.shown, (std::vector<std::string>{std::string("问题:") + messages::kConfirmDelete,
                                                       warning(messages::kClassInUse)}));
    EXPECT_EQ(listView(3)->rowCount(), 3);
}

TEST_F(Window, SelectionAndRequiredFieldMessagesComeInOrder) {
    start(Catalogue::Demo);
    listView(2)->setFocus(Qt::TabFocusReason); // grade mode, no school selected, empty boxes
    click("AddBtn");
    EXPECT_EQ(dialogs.shown, std::vector<std::string>{request(messages::kSelectSchool)});
    dialogs.shown.clear();
    clickRow(1, 0);
    listView(2)->setFocus(Qt::TabFocusReason);
    click("AddBtn");
    click("ModiBtn");
    EXPECT_EQ(dialogs.shown,
              (std::vector<std::string>{warning(messages::kEnterCode), request(messages::kSelectGrade)}));
}

TEST_F(Window, ErrorsOfTheCatalogueAreShownInTheGeneralErrorBox) {
    start(Catalogue::Demo);
    clickRow(1, 0);
    clickRow(2, 0);
    listView(3)->setFocus(Qt::TabFocusReason);
    typeRow({"09", "九班", "99999999999"});
    click("AddBtn");
    EXPECT_EQ(dialogs.shown, std::vector<std::string>{"出错:" + messages::notAnInteger("99999999999")});
    EXPECT_EQ(listView(3)->rowCount(), 3);

    dialogs.shown.clear();
    program->dataModule().connection().exec("PRAGMA query_only = ON");
    typeRow({"09", "九班", "9"});
    click("AddBtn");
    EXPECT_EQ(dialogs.shown,
              std::vector<std::string>{"出错:" + messages::catalogueOperationFailed(messages::kDatabaseReadOnly)});
    EXPECT_EQ(listView(3)->rowCount(), 3);
    EXPECT_EQ(editBox("Edit11")->text(), QStringLiteral("09"));
}

TEST_F(Window, ClosingClosesTheConnection) {
    start(Catalogue::Demo);
    EXPECT_TRUE(program->dataModule().connection().isOpen());
    click("CloseBtn");
    EXPECT_FALSE(form().isVisible());
    EXPECT_FALSE(program->dataModule().connection().isOpen());
    EXPECT_TRUE(dialogs.shown.empty());
}

TEST_F(Window, ProgressBarIsTheFeedbackOfLongOperations) {
    start(Catalogue::Empty);
    auto* bar = control<QProgressBar>(QStringLiteral("ProgressBar1"));
    form().progress().reset(3);
    EXPECT_EQ(bar->maximum(), 3);
    for (int i = 0; i < 5; ++i) {
        form().progress().advance();
    }
    EXPECT_EQ(bar->value(), 3);
    form().progress().reset(10);
    EXPECT_EQ(bar->value(), 0);
}

} // namespace
} // namespace app
