#pragma once

#include "dialogs.h"

#include <deque>
#include <string>
#include <vector>

namespace app {

// Dialogs for tests: every box and dialog is recorded as "caption:text" ("警告:…", "信息:…",
// "确认:…", "问题:…" for a Yes/No question, "错误:…", "出错:…" for the general error box,
// "打开:filter", "保存:filter|file name"), questions and file dialogs take their answers from the
// queues, and beeps are counted. A question or file dialog without a queued answer is recorded in
// `unanswered` and answered No or cancelled.
class ScriptedDialogs final : public Dialogs {
public:
    std::vector<std::string> shown;
    std::deque<bool> answers;
    std::deque<std::optional<std::string>> fileNames;
    std::vector<std::string> unanswered;
    int beeps = 0;

    void warning(const std::string& text) override { shown.push_back("警告:" + text); }
    void information(const std::string& text) override { shown.push_back("信息:" + text); }
    void confirmation(const std::string& text) override { shown.push_back("确认:" + text); }
    bool question(const std::string& text) override;
    void error(const std::string& text) override { shown.push_back("错误:" + text); }
    void generalError(const std::string& text) override { shown.push_back("出错:" + text); }
    std::optional<std::string> openFileName(const std::string& filter) override;
    std::optional<std::string> saveFileName(const std::string& filter, const std::string& fileName) override;
    void beep() override { ++beeps; }

private:
    std::optional<std::string> nextFileName(const std::string& record);
};

} // namespace app
