// The catalogue lists and the editing buttons of the main window: the window side of the catalogue
// editing, which holds the rules.
#include "main_window.h"

#include "qt_text.h"

#include <QLineEdit>

namespace app {

using catalogue::Level;

void TMainForm::AddBtnClick() {
    guard([this] { editor().add(m_mode); });
}

void TMainForm::ModiBtnClick() {
    guard([this] { editor().modify(m_mode); });
}

void TMainForm::SaveBtnClick() {
    guard([this] { editor().save(m_mode); });
}

void TMainForm::DeleBtnClick() {
    guard([this] { editor().remove(m_mode); });
}

std::string TMainForm::entryText(int box) const {
    return toStdString(entry(box)->text());
}

void TMainForm::setEntryText(int box, std::string_view text) {
    entry(box)->setText(toQString(text));
}

std::optional<int> TMainForm::selectedItem(Level level) const {
    return list(level)->selectedRow();
}

int TMainForm::itemCount(Level level) const {
    return list(level)->rowCount();
}

void TMainForm::clearList(Level level) {
    list(level)->setRowCount(0);
}

void TMainForm::appendItem(Level level, const catalogue::ListItem& item) {
    list(level)->appendItem(item);
}

void TMainForm::replaceItem(Level level, int position, const catalogue::ListItem& item) {
    list(level)->replaceItem(position, item);
}

void TMainForm::setItemCaption(Level level, int position, std::string_view caption) {
    list(level)->setCaption(position, toQString(caption));
}

void TMainForm::removeItem(Level level, int position) {
    list(level)->removeRow(position);
}

// Selecting the row emits the list's selection signal, which runs the cascade.
void TMainForm::selectItem(Level level, int position) {
    list(level)->selectRow(position);
}

void TMainForm::clearSelection(Level level) {
    list(level)->clearSelection();
}

void TMainForm::focusList(Level level) {
    CatalogueList* view = list(level);
    const bool hadFocus = view->hasFocus();
    view->setFocus(Qt::OtherFocusReason);
    // The list sets its mode as the focus arrives; where the focus does not move (the list has it
    // already, or the window is not active yet) the mode is set here.
    if (hadFocus || !view->hasFocus()) {
        ListViewEnter(level);
    }
}

void TMainForm::focusFirstEntry() {
    m_edit11->setFocus(Qt::OtherFocusReason);
}

void TMainForm::warning(const std::string& text) {
    m_dialogs.warning(text);
}

void TMainForm::selectionRequest(const std::string& text) {
    m_dialogs.confirmation(text);
}

bool TMainForm::askYesNo(const std::string& text) {
    return m_dialogs.question(text);
}

} // namespace app
