#include "qt_dialogs.h"

#include "qt_text.h"

#include "common/messages.h"

#include <QApplication>
#include <QFileDialog>
#include <QPushButton>

namespace app {

namespace {

struct BoxLook {
    const char* caption; // nullptr: the application title
    QMessageBox::Icon icon;
};

BoxLook lookOf(BoxKind kind) {
    switch (kind) {
    case BoxKind::Warning:
        return {messages::kWarningCaption, QMessageBox::Warning};
    case BoxKind::Information:
        return {messages::kInformationCaption, QMessageBox::Information};
    case BoxKind::Confirmation:
    case BoxKind::Question:
        return {messages::kConfirmationCaption, QMessageBox::Question};
    case BoxKind::Error:
        return {messages::kErrorCaption, QMessageBox::Critical};
    case BoxKind::GeneralError:
        break;
    }
    return {nullptr, QMessageBox::Critical};
}

} // namespace

std::unique_ptr<QMessageBox> makeMessageBox(BoxKind kind, const std::string& text, QWidget* parent) {
    const BoxLook look = lookOf(kind);
    auto box = std::make_unique<QMessageBox>(parent);
    box->setWindowTitle(toQString(look.caption != nullptr ? look.caption : messages::kAppTitle));
    box->setIcon(look.icon);
    box->setTextFormat(Qt::PlainText);
    box->setText(toQString(kind == BoxKind::GeneralError ? text + "." : text));
    if (kind == BoxKind::Question) {
        QPushButton* yes = box->addButton(toQString(messages::kYesButton), QMessageBox::YesRole);
        QPushButton* no = box->addButton(toQString(messages::kNoButton), QMessageBox::NoRole);
        box->setDefaultButton(yes);
        box->setEscapeButton(no);
    } else {
        QPushButton* ok = box->addButton(toQString(messages::kOkButton), QMessageBox::AcceptRole);
        box->setDefaultButton(ok);
        box->setEscapeButton(ok);
    }
    return box;
}

QString qtFileFilter(std::string_view filter) {
    const QStringList parts = toQString(filter).split(QLatin1Char('|'));
    QStringList filters;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        const QString& description = parts[i];
        const QString& patterns = parts[i + 1];
        // Qt reads the patterns from the parentheses at the end of the description.
        const QString tail = QLatin1Char('(') + patterns + QLatin1Char(')');
        filters << (description.endsWith(tail) ? description : description + QLatin1Char(' ') + tail);
    }
    return filters.join(QStringLiteral(";;"));
}

int QtDialogs::show(BoxKind kind, const std::string& text) {
    const std::unique_ptr<QMessageBox> box = makeMessageBox(kind, text, m_parent);
    box->exec();
    return box->buttons().indexOf(box->clickedButton());
}

void QtDialogs::warning(const std::string& text) {
    show(BoxKind::Warning, text);
}
void QtDialogs::information(const std::string& text) {
    show(BoxKind::Information, text);
}
void QtDialogs::confirmation(const std::string& text) {
    show(BoxKind::Confirmation, text);
}
bool QtDialogs::question(const std::string& text) {
    return show(BoxKind::Question, text) == 0;
}
void QtDialogs::error(const std::string& text) {
    show(BoxKind::Error, text);
}
void QtDialogs::generalError(const std::string& text) {
    show(BoxKind::GeneralError, text);
}

std::optional<std::string> QtDialogs::openFileName(const std::string& filter) {
    const QString name = QFileDialog::getOpenFileName(m_parent, QString(), QString(), qtFileFilter(filter));
    if (name.isEmpty()) {
        return std::nullopt;
    }
    return toStdString(name);
}

std::optional<std::string> QtDialogs::saveFileName(const std::string& filter, const std::string& fileName) {
    const QString name = QFileDialog::getSaveFileName(m_parent, QString(), toQString(fileName), qtFileFilter(filter));
    if (name.isEmpty()) {
        return std::nullopt;
    }
    return toStdString(name);
}

void QtDialogs::beep() {
    QApplication::beep();
}

} // namespace app
