// score-evaluation-screenshots DEMO_FOLDER EMPTY_FOLDER OUT_FOLDER
//
// Takes the pictures of the documentation from the real main window on a display (Xvfb): in
// DEMO_FOLDER (a demonstration catalogue) the main window with a school, grade and class selected
// (main-window.png) and the About dialog (about.png); in EMPTY_FOLDER (an empty catalogue) the
// window after a school, a grade, two classes and their subjects were entered with the keyboard
// alone (catalogue-editing.png). Every message box the window would show is recorded instead; any
// message ends the tool with status 1.
#include "catalogue_list.h"
#include "scripted_dialogs.h"
#include "startup.h"

#include "about/about_form.h"

#include <QApplication>
#include <QDir>
#include <QPushButton>
#include <QScreen>
#include <QTest>
#include <QTimer>

#include <cstdio>
#include <iostream>

namespace {

using app::CatalogueList;

bool save(QWidget& window, const QString& path) {
    QTest::qWait(300);
    QPixmap shot;
    if (QScreen* screen = window.screen()) {
        shot = screen->grabWindow(window.winId());
    }
    if (shot.isNull()) {
        shot = window.grab();
    }
    if (!shot.save(path)) {
        std::cerr << "cannot write " << path.toStdString() << "\n";
        return false;
    }
    std::cout << "wrote " << path.toStdString() << " (" << shot.width() << " x " << shot.height() << ")\n";
    return true;
}

CatalogueList* listView(QWidget& window, int number) {
    return window.findChild<CatalogueList*>(QStringLiteral("ListView%1").arg(number));
}

void clickRow(CatalogueList* list, int row) {
    const QRect cell = list->visualRect(list->model()->index(row, 1));
    QTest::mouseClick(list->viewport(), Qt::LeftButton, Qt::NoModifier, cell.center());
}

bool reportMessages(const app::ScriptedDialogs& dialogs) {
    for (const std::string& message : dialogs.shown) {
        std::cerr << "the window showed: " << message << "\n";
    }
    return dialogs.shown.empty();
}

std::unique_ptr<app::Program> start(app::ScriptedDialogs& dialogs, const QString& folder) {
    QDir::setCurrent(folder);
    std::unique_ptr<app::Program> program = app::startProgram(dialogs, "Data.mdb");
    if (program) {
        program->mainForm().show();
        program->mainForm().activateWindow();
        if (!QTest::qWaitForWindowActive(&program->mainForm())) {
            std::cerr << "the main window did not become active\n";
        }
    }
    return program;
}

bool mainWindowAndAbout(const QString& folder, const QDir& out) {
    app::ScriptedDialogs dialogs;
    std::unique_ptr<app::Program> program = start(dialogs, folder);
    if (!program) {
        return reportMessages(dialogs);
    }
    QWidget& window = program->mainForm();
    clickRow(listView(window, 1), 0);
    clickRow(listView(window, 2), 0);
    clickRow(listView(window, 3), 0);
    bool ok = save(window, out.filePath(QStringLiteral("main-window.png")));

    // The dialog is shown modally by the button; it is photographed and closed from inside its loop.
    QTimer::singleShot(400, [&] {
        auto* dialog = qobject_cast<about::TAboutForm*>(QApplication::activeModalWidget());
        if (dialog == nullptr) {
            std::cerr << "the About dialog is not shown\n";
            ok = false;
            return;
        }
        ok = save(*dialog, out.filePath(QStringLiteral("about.png"))) && ok;
        QTest::mouseClick(dialog->findChild<QPushButton*>(QStringLiteral("BitBtn1")), Qt::LeftButton);
    });
    QTest::mouseClick(window.findChild<QPushButton*>(QStringLiteral("AboutBtn")), Qt::LeftButton);
    window.close();
    return reportMessages(dialogs) && ok;
}

// The keyboard, as a user presses it: every key goes to the widget that has the focus.
void press(Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
    QTest::keyClick(QApplication::focusWidget(), key, modifiers, 20);
}

void type(const QString& text) {
    for (const QChar c : text) {
        QTest::sendKeyEvent(QTest::Click, QApplication::focusWidget(), Qt::Key_unknown, QString(c), Qt::NoModifier, 20);
    }
}

// Shift+Tab until the list has the focus.
bool backTo(CatalogueList* list) {
    for (int presses = 0; presses < 40 && QApplication::focusWidget() != list; ++presses) {
        press(Qt::Key_Backtab, Qt::ShiftModifier);
    }
    return QApplication::focusWidget() == list;
}

bool catalogueByKeyboard(const QString& folder, const QDir& out) {
    app::ScriptedDialogs dialogs;
    std::unique_ptr<app::Program> program = start(dialogs, folder);
    if (!program) {
        return reportMessages(dialogs);
    }
    QWidget& window = program->mainForm();
    CatalogueList* schools = listView(window, 1);
    CatalogueList* grades = listView(window, 2);
    CatalogueList* classes = listView(window, 3);
    CatalogueList* subjects = listView(window, 4);
    const auto addRows = [](const std::vector<QStringList>& rows) {
        press(Qt::Key_Return); // from the list into Edit11
        for (const QStringList& row : rows) {
            for (const QString& field : row) {
                type(field);
                press(Qt::Key_Return);
            }
            press(Qt::Key_Return); // on "增加": adds the row, the focus goes back to Edit11
        }
    };
    bool ok = QApplication::focusWidget() == schools;
    addRows({{"01", "第一中学"}});
    ok = backTo(schools) && ok;
    press(Qt::Key_Space); // selects the school
    press(Qt::Key_Tab);   // grade mode
    addRows({{"02", "初二年级"}});
    ok = backTo(grades) && ok;
    press(Qt::Key_Space);
    press(Qt::Key_Tab); // class mode
    addRows({{"01", "一班", "45"}, {"02", "二班", "44"}});
    ok = backTo(classes) && ok;
    press(Qt::Key_Space); // class 01
    press(Qt::Key_Tab);   // subject mode
    addRows(
        {{"语文", "王丽华", "150"}, {"数学", "李建国", "150"}, {"英语", "张晓燕", "150"}, {"物理", "刘志强", "100"}});
    ok = backTo(classes) && ok;
    press(Qt::Key_Down); // class 02
    press(Qt::Key_Tab);
    addRows(
        {{"语文", "陈海燕", "150"}, {"数学", "杨文静", "150"}, {"英语", "赵德明", "150"}, {"物理", "黄晓梅", "100"}});
    press(Qt::Key_Backtab, Qt::ShiftModifier); // back to the subject list, its rows in view
    ok = ok && schools->rowCount() == 1 && grades->rowCount() == 1 && classes->rowCount() == 2 &&
         subjects->rowCount() == 4;
    if (!ok) {
        std::cerr << "the keyboard did not build the catalogue as expected\n";
    }
    ok = save(window, out.filePath(QStringLiteral("catalogue-editing.png"))) && ok;
    window.close();
    return reportMessages(dialogs) && ok;
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 4) {
        std::cerr << "usage: score-evaluation-screenshots DEMO_FOLDER EMPTY_FOLDER OUT_FOLDER\n";
        return 2;
    }
    QApplication application(argc, argv);
    app::initialiseApplication(application);
    const QString demo = QDir(QString::fromLocal8Bit(argv[1])).absolutePath();
    const QString empty = QDir(QString::fromLocal8Bit(argv[2])).absolutePath();
    const QDir out(QDir(QString::fromLocal8Bit(argv[3])).absolutePath());
    const bool shown = mainWindowAndAbout(demo, out);
    const bool edited = catalogueByKeyboard(empty, out);
    return shown && edited ? 0 : 1;
}
