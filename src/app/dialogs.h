#pragma once

#include <optional>
#include <string>

namespace app {

// Every message box and file dialog of the program, and its one sound, behind one small interface:
// the window shows them through it, and tests answer them through it. Texts are UTF-8.
class Dialogs {
public:
    virtual ~Dialogs() = default;

    // A refusal: "警告", warning icon, one "确定" button.
    virtual void warning(const std::string& text) = 0;
    // A success: "信息", information icon, one "确定" button.
    virtual void information(const std::string& text) = 0;
    // A request to select a row first: "确认", question icon, one "确定" button.
    virtual void confirmation(const std::string& text) = 0;
    // A question: "确认", question icon, buttons "是[&Y]" and "否[&N]"; true for Yes.
    virtual bool question(const std::string& text) = 0;
    // A failure the program reports itself (no spreadsheet program): "错误", stop icon, one "确定".
    virtual void error(const std::string& text) = 0;
    // An error no handler caught: the application title as caption, stop icon, one OK button, the
    // text followed by a full stop.
    virtual void generalError(const std::string& text) = 0;

    // File dialogs. `filter` pairs a description and a pattern: "Microsoft Excel 成绩工作簿(*.xls)|*.xls".
    // Nothing when the user cancels.
    virtual std::optional<std::string> openFileName(const std::string& filter) = 0;
    // `fileName` is the name the dialog starts with.
    virtual std::optional<std::string> saveFileName(const std::string& filter, const std::string& fileName) = 0;

    // The system beep of a refused key.
    virtual void beep() = 0;
};

} // namespace app
