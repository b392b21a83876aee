#pragma once

#include "data_module.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace catalogue {

// The four levels of the catalogue, left to right in the main window. The entry mode of the window
// is one of them: the level whose list last received the focus.
enum class Level { School = 0, Grade = 1, Class = 2, Subject = 3 };

// One item of a catalogue list: its caption (the running number) and its sub-items, the field values
// of its row as text (school, grade: code, name; class: code, name, participation count; subject:
// subject name, teacher, full marks).
struct ListItem {
    std::string caption;
    std::vector<std::string> subItems;
    bool operator==(const ListItem&) const = default;
};

// The window as the catalogue editing sees it: three entry boxes, four lists, the message boxes and
// the focus. Positions are 0-based; the item at position i of a list stands for the row at position
// i of its table under the table's filter.
class EditorView {
public:
    virtual ~EditorView() = default;

    // Entry boxes 0, 1, 2 (Edit11, Edit12, Edit13), their text as typed.
    virtual std::string entryText(int box) const = 0;
    virtual void setEntryText(int box, std::string_view text) = 0;

    // The position of the selected item of a list, if one is selected.
    virtual std::optional<int> selectedItem(Level list) const = 0;
    virtual int itemCount(Level list) const = 0;
    virtual void clearList(Level list) = 0;
    virtual void appendItem(Level list, const ListItem& item) = 0;
    virtual void replaceItem(Level list, int position, const ListItem& item) = 0;
    virtual void setItemCaption(Level list, int position, std::string_view caption) = 0;
    virtual void removeItem(Level list, int position) = 0;
    // Selects the item; the view then reports the new selection through
    // CatalogueEditor::selectionChanged, exactly as when the user selects it.
    virtual void selectItem(Level list, int position) = 0;
    // Removes the selection of a list without running the cascade (nothing is selected afterwards).
    virtual void clearSelection(Level list) = 0;

    // Gives a list the focus, which sets its entry mode.
    virtual void focusList(Level list) = 0;
    // Gives the first entry box (Edit11) the focus.
    virtual void focusFirstEntry() = 0;

    // A refusal: warning box "警告" with one "确定" button.
    virtual void warning(const std::string& text) = 0;
    // A request to select a row first: confirmation box "确认" with one "确定" button.
    virtual void selectionRequest(const std::string& text) = 0;
    // The deletion question: confirmation box "确认" with "是[&Y]" and "否[&N]"; true for Yes.
    virtual bool askYesNo(const std::string& text) = 0;
};

// The rules of browsing and editing the catalogue: the selection cascade between the four lists and
// the four editing operations, each in the entry mode given. Every check runs in a fixed order and
// the first that fails shows its message and ends the operation with nothing stored and the entry
// boxes, lists and selections as they were. Typed texts are used trimmed and reach the database only
// as statement parameters.
//
// Errors: a database error is common::Failure and an Edit13 text that is no 32-bit whole number is
// common::Refusal ("'%s' 不是一个有效的整形值"), raised before anything is written. Either way the tables
// and the lists stay in step: a list changes only after its table has stored the change.
class CatalogueEditor {
public:
    CatalogueEditor(TDM& dm, EditorView& view) : m_dm(dm), m_view(view) {}

    // Empties a list and fills it with the rows of its table under the table's filter, in key order.
    void fillList(Level list);
    // The selection of a school, grade or class list changed: with an item selected, its row becomes
    // current, the next table is filtered on its key, the next list is refilled with nothing selected
    // and every list further right is emptied. With none selected nothing changes. When filtering
    // fails, the list loses its selection and the lists to the right keep their content.
    void selectionChanged(Level list);

    // 增加: appends a row under the selected parent, lists it at the end and gives Edit11 the focus.
    void add(Level mode);
    // 修改: copies the selected row of the mode's list into the entry boxes.
    void modify(Level mode);
    // 保存: stores the entry boxes into the selected row of the mode's list and updates its item.
    void save(Level mode);
    // 删除: after the question, deletes the selected row (unless rows of the next level use it),
    // renumbers the list and selects the item standing at the next row.
    void remove(Level mode);

private:
    Table& table(Level level);
    // Moves a table to the row at `position` under its filter.
    Table& rowAt(Level level, int position);
    ListItem itemOfCurrentRow(Level level, int position);
    std::optional<int> requireSelection(Level list);
    bool requireEntries(Level mode);
    bool isTaken(Level mode, const std::string& text, std::int64_t parent, std::optional<std::int64_t> self);
    void storeEntries(Level mode, Table& table, const std::vector<std::string>& entries);

    TDM& m_dm;
    EditorView& m_view;
};

} // namespace catalogue
