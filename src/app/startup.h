#pragma once

#include "dialogs.h"
#include "main_window.h"

#include "catalogue/data_module.h"

#include <memory>
#include <string>

class QApplication;

namespace app {

// What the program sets before its first window: the application title "睿衡达成绩评估系统", the
// widget style and the font.
void initialiseApplication(QApplication& application);

// The objects of a running program, in the order they are made: the main window, the data module,
// the About dialog (owned by the main window).
class Program {
public:
    Program(std::unique_ptr<TMainForm> mainForm, std::unique_ptr<catalogue::TDM> dm);
    ~Program();
    Program(const Program&) = delete;
    Program& operator=(const Program&) = delete;

    TMainForm& mainForm() { return *m_mainForm; }
    catalogue::TDM& dataModule() { return *m_dm; }

private:
    std::unique_ptr<catalogue::TDM> m_dm; // outlives the window that uses it
    std::unique_ptr<TMainForm> m_mainForm;
};

// Start-up up to the message loop: the main window (which touches no database), the data module on
// `cataloguePath`, the About dialog. When the catalogue cannot be opened the error is shown in the
// general error box and nothing is returned; the main window was never shown.
std::unique_ptr<Program> startProgram(Dialogs& dialogs, const std::string& cataloguePath);

} // namespace app
