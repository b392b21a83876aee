#pragma once

#include "dialogs.h"

#include <QMessageBox>
#include <QPointer>

#include <memory>
#include <string_view>

namespace app {

enum class BoxKind { Warning, Information, Confirmation, Question, Error, GeneralError };

// The message box of a kind, ready to be shown: caption, icon, buttons and text as Dialogs describes.
std::unique_ptr<QMessageBox> makeMessageBox(BoxKind kind, const std::string& text, QWidget* parent);

// "Description(*.xls)|*.xls|Other|*.txt" as a Qt name filter ("Description(*.xls);;Other (*.txt)").
QString qtFileFilter(std::string_view filter);

// Dialogs shown with Qt's message boxes and file dialogs, modal to the parent widget.
class QtDialogs final : public Dialogs {
public:
    explicit QtDialogs(QWidget* parent = nullptr) : m_parent(parent) {}
    void setParentWidget(QWidget* parent) { m_parent = parent; }

    void warning(const std::string& text) override;
    void information(const std::string& text) override;
    void confirmation(const std::string& text) override;
    bool question(const std::string& text) override;
    void error(const std::string& text) override;
    void generalError(const std::string& text) override;
    std::optional<std::string> openFileName(const std::string& filter) override;
    std::optional<std::string> saveFileName(const std::string& filter, const std::string& fileName) override;
    void beep() override;

private:
    int show(BoxKind kind, const std::string& text);
    QPointer<QWidget> m_parent;
};

} // namespace app
