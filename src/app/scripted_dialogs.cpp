#include "scripted_dialogs.h"

namespace app {

bool ScriptedDialogs::question(const std::string& text) {
    shown.push_back("问题:" + text);
    if (answers.empty()) {
        unanswered.push_back(shown.back());
        return false;
    }
    const bool answer = answers.front();
    answers.pop_front();
    return answer;
}

std::optional<std::string> ScriptedDialogs::nextFileName(const std::string& record) {
    shown.push_back(record);
    if (fileNames.empty()) {
        unanswered.push_back(record);
        return std::nullopt;
    }
    std::optional<std::string> name = fileNames.front();
    fileNames.pop_front();
    return name;
}

std::optional<std::string> ScriptedDialogs::openFileName(const std::string& filter) {
    return nextFileName("打开:" + filter);
}

std::optional<std::string> ScriptedDialogs::saveFileName(const std::string& filter, const std::string& fileName) {
    return nextFileName("保存:" + filter + "|" + fileName);
}

} // namespace app
