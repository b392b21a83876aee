// 睿衡达成绩评估系统: the program's start. The catalogue Data.mdb is found in the working folder.
#include "qt_dialogs.h"
#include "startup.h"

#include <QApplication>

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    app::initialiseApplication(application);
    app::QtDialogs dialogs;
    std::unique_ptr<app::Program> program = app::startProgram(dialogs, "Data.mdb");
    if (!program) {
        return 1;
    }
    dialogs.setParentWidget(&program->mainForm());
    program->mainForm().show();
    return QApplication::exec();
}
