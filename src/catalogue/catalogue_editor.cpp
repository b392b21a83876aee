#include "catalogue_editor.h"

#include "statements.h"

#include "common/messages.h"
#include "common/text.h"

#include <array>

namespace catalogue {

namespace {

// What each level is made of, in the order its fields are written.
struct LevelDef {
    const char* key;
    // The key fields of the parents, school first, as they are set when a row is appended.
    std::vector<const char*> parentKeys;
    // The fields taken from Edit11, Edit12 and (class, subject) Edit13; also the sub-items of an item.
    std::vector<const char*> entryFields;
    // The parent key the uniqueness statements and the filter of this level use.
    const char* parentKey;
    const char* selectMessage;
    std::array<const char*, 3> requiredMessages;
    const char* takenMessage;
    const char* inUseMessage;
    const char* takenStatement;
    const char* takenByOtherStatement;
};

const LevelDef& levelDef(Level level) {
    static const std::array<LevelDef, 4> defs{{
        {"XXID",
         {},
         {"XXBH", "XXMC"},
         nullptr,
         messages::kSelectSchool,
         {messages::kEnterCode, messages::kEnterSchoolName, nullptr},
         messages::kCodeExists,
         messages::kSchoolInUse,
         statements::kSchoolCodeTaken,
         statements::kSchoolCodeTakenByOther},
        {"NJID",
         {"XXID"},
         {"NJBH", "NJMC"},
         "XXID",
         messages::kSelectGrade,
         {messages::kEnterCode, messages::kEnterGradeName, nullptr},
         messages::kCodeExists,
         messages::kGradeInUse,
         statements::kGradeCodeTaken,
         statements::kGradeCodeTakenByOther},
        {"BJID",
         {"XXID", "NJID"},
         {"BJBH", "BJMC", "CPRS"},
         "NJID",
         messages::kSelectClass,
         {messages::kEnterCode, messages::kEnterClassName, nullptr},
         messages::kCodeExists,
         messages::kClassInUse,
         statements::kClassCodeTaken,
         statements::kClassCodeTakenByOther},
        {"BKID",
         {"XXID", "NJID", "BJID"},
         {"KMMC", "RKJS", "KMZF"},
         "BJID",
         messages::kSelectSubject,
         {messages::kEnterSubjectName, messages::kEnterTeacher, messages::kEnterFullMarks},
         messages::kSubjectNameExists,
         nullptr,
         statements::kSubjectNameTaken,
         statements::kSubjectNameTakenByOther},
    }};
    return defs[static_cast<std::size_t>(level)];
}

Level parentOf(Level level) {
    return static_cast<Level>(static_cast<int>(level) - 1);
}
Level childOf(Level level) {
    return static_cast<Level>(static_cast<int>(level) + 1);
}

// Class and subject rows carry a whole number typed into Edit13.
bool hasNumberEntry(Level level) {
    return level == Level::Class || level == Level::Subject;
}

// The query, used in its one order; it is closed again whatever happens.
int countRows(catalogue::Query& query, const char* statement, const std::vector<Value>& parameters) {
    static constexpr std::array<const char*, 3> kNames{"Param1", "Param2", "Param3"};
    struct Closer {
        catalogue::Query& query;
        ~Closer() { query.close(); }
    };
    query.close();
    query.clearSql();
    query.addSql(statement);
    for (std::size_t i = 0; i < parameters.size(); ++i) {
        query.setParameter(kNames[i], parameters[i]);
    }
    const Closer closer{query};
    query.open();
    return query.recordCount();
}

// Edit13's value: an empty box stores 0 (only the participation count can be empty by then).
std::int64_t numberEntry(const std::string& text) {
    return text.empty() ? 0 : common::toInt32(text);
}

} // namespace

Table& CatalogueEditor::table(Level level) {
    switch (level) {
    case Level::School:
        return m_dm.XXTable();
    case Level::Grade:
        return m_dm.NJTable();
    case Level::Class:
        return m_dm.BJTable();
    case Level::Subject:
        break;
    }
    return m_dm.BKTable();
}

Table& CatalogueEditor::rowAt(Level level, int position) {
    Table& rows = table(level);
    rows.first();
    rows.moveBy(position);
    return rows;
}

ListItem CatalogueEditor::itemOfCurrentRow(Level level, int position) {
    const Table& rows = table(level);
    ListItem item{std::to_string(position + 1), {}};
    for (const char* field : levelDef(level).entryFields) {
        item.subItems.push_back(rows.fieldByName(field).asString());
    }
    return item;
}

void CatalogueEditor::fillList(Level list) {
    m_view.clearList(list);
    Table& rows = table(list);
    int position = 0;
    for (rows.first(); !rows.eof(); rows.next()) {
        m_view.appendItem(list, itemOfCurrentRow(list, position++));
    }
}

void CatalogueEditor::selectionChanged(Level list) {
    if (list == Level::Subject) {
        return;
    }
    const std::optional<int> selected = m_view.selectedItem(list);
    if (!selected) {
        return;
    }
    // The row of an item is found by its position: list and table hold the same rows in the same
    // order, and a position stays right even where two rows share a code.
    Table& rows = rowAt(list, *selected);
    const std::int64_t key = rows.fieldByName(levelDef(list).key).asInteger();
    const Level next = childOf(list);
    Table& children = table(next);
    try {
        children.setFilter(std::string(levelDef(list).key) + "=" + std::to_string(key));
        if (!children.filtered()) {
            children.setFiltered(true);
        }
    } catch (...) {
        // The next table still holds the rows the next list shows; without the selection the window
        // is in the state of a click on the empty part of the list, which is a sound one.
        m_view.clearSelection(list);
        throw;
    }
    fillList(next);
    for (int further = static_cast<int>(next) + 1; further <= static_cast<int>(Level::Subject); ++further) {
        m_view.clearList(static_cast<Level>(further));
    }
}

std::optional<int> CatalogueEditor::requireSelection(Level list) {
    const std::optional<int> selected = m_view.selectedItem(list);
    if (!selected) {
        m_view.selectionRequest(levelDef(list).selectMessage);
    }
    return selected;
}

bool CatalogueEditor::requireEntries(Level mode) {
    const LevelDef& def = levelDef(mode);
    const int boxes = mode == Level::Subject ? 3 : 2;
    for (int box = 0; box < boxes; ++box) {
        if (common::isBlank(m_view.entryText(box))) {
            m_view.warning(def.requiredMessages[static_cast<std::size_t>(box)]);
            return false;
        }
    }
    return true;
}

bool CatalogueEditor::isTaken(Level mode, const std::string& text, std::int64_t parent,
                              std::optional<std::int64_t> self) {
    const LevelDef& def = levelDef(mode);
    std::vector<Value> parameters;
    if (mode != Level::School) {
        parameters.emplace_back(parent);
    }
    parameters.emplace_back(text);
    if (self) {
        parameters.emplace_back(*self);
    }
    const char* statement = self ? def.takenByOtherStatement : def.takenStatement;
    return countRows(m_dm.Query(), statement, parameters) > 0;
}

void CatalogueEditor::storeEntries(Level mode, Table& rows, const std::vector<std::string>& entries) {
    const LevelDef& def = levelDef(mode);
    rows.setFieldValue(def.entryFields[0], entries[0]);
    rows.setFieldValue(def.entryFields[1], entries[1]);
    if (hasNumberEntry(mode)) {
        rows.setFieldValue(def.entryFields[2], numberEntry(entries[2]));
    }
}

void CatalogueEditor::add(Level mode) {
    const LevelDef& def = levelDef(mode);
    // The parent keys come from the row of the selected parent item, so a class takes its grade's
    // school even after another school was added (adding never moves a selection).
    std::vector<std::int64_t> parentKeys;
    if (mode != Level::School) {
        const Level parent = parentOf(mode);
        const std::optional<int> selected = requireSelection(parent);
        if (!selected) {
            return;
        }
        const Table& parentRow = rowAt(parent, *selected);
        for (const char* field : levelDef(parent).parentKeys) {
            parentKeys.push_back(parentRow.fieldByName(field).asInteger());
        }
        parentKeys.push_back(parentRow.fieldByName(levelDef(parent).key).asInteger());
    }
    if (!requireEntries(mode)) {
        return;
    }
    const std::vector<std::string> entries{common::trimmed(m_view.entryText(0)), common::trimmed(m_view.entryText(1)),
                                           common::trimmed(m_view.entryText(2))};
    if (isTaken(mode, entries[0], parentKeys.empty() ? 0 : parentKeys.back(), std::nullopt)) {
        m_view.warning(def.takenMessage);
        return;
    }
    if (hasNumberEntry(mode)) {
        numberEntry(entries[2]); // refuses a text that is no number before a row is begun
    }

    Table& rows = table(mode);
    rows.append();
    for (std::size_t i = 0; i < parentKeys.size(); ++i) {
        rows.setFieldValue(def.parentKeys[i], parentKeys[i]);
    }
    storeEntries(mode, rows, entries);
    rows.post();

    m_view.appendItem(mode, itemOfCurrentRow(mode, m_view.itemCount(mode)));
    m_view.setEntryText(0, "");
    m_view.setEntryText(1, "");
    if (hasNumberEntry(mode)) {
        m_view.setEntryText(2, "");
    }
    m_view.focusFirstEntry();
}

void CatalogueEditor::modify(Level mode) {
    const std::optional<int> selected = requireSelection(mode);
    if (!selected) {
        return;
    }
    const Table& row = rowAt(mode, *selected);
    const std::vector<const char*>& fields = levelDef(mode).entryFields;
    for (std::size_t box = 0; box < fields.size(); ++box) {
        m_view.setEntryText(static_cast<int>(box), row.fieldByName(fields[box]).asString());
    }
}

void CatalogueEditor::save(Level mode) {
    const LevelDef& def = levelDef(mode);
    const std::optional<int> selected = requireSelection(mode);
    if (!selected || !requireEntries(mode)) {
        return;
    }
    const std::vector<std::string> entries{common::trimmed(m_view.entryText(0)), common::trimmed(m_view.entryText(1)),
                                           common::trimmed(m_view.entryText(2))};
    Table& row = rowAt(mode, *selected);
    const std::int64_t parent = def.parentKey != nullptr ? row.fieldByName(def.parentKey).asInteger() : 0;
    const std::int64_t self = row.fieldByName(def.key).asInteger();
    if (isTaken(mode, entries[0], parent, self)) {
        m_view.warning(def.takenMessage);
        return;
    }
    if (hasNumberEntry(mode)) {
        numberEntry(entries[2]);
    }
    row.edit();
    storeEntries(mode, row, entries);
    row.post();
    m_view.replaceItem(mode, *selected, itemOfCurrentRow(mode, *selected));
}

void CatalogueEditor::remove(Level mode) {
    const LevelDef& def = levelDef(mode);
    const std::optional<int> selected = requireSelection(mode);
    if (!selected) {
        return;
    }
    if (m_view.askYesNo(messages::kConfirmDelete)) {
        Table& row = rowAt(mode, *selected);
        if (mode != Level::Subject) {
            const std::int64_t key = row.fieldByName(def.key).asInteger();
            if (table(childOf(mode)).locate(def.key, {Value{key}})) {
                m_view.warning(def.inUseMessage);
                return;
            }
        }
        // The row goes first: if the database refuses, the list keeps its item and its numbers.
        row.deleteRecord();
        const int count = m_view.itemCount(mode);
        for (int position = *selected + 1; position < count; ++position) {
            m_view.setItemCaption(mode, position, std::to_string(position));
        }
        m_view.removeItem(mode, *selected);
        if (row.recordCount() > 0) {
            m_view.selectItem(mode, row.recNo() - 1);
            m_view.focusList(mode);
        }
    }
    for (int box = 0; box < 3; ++box) {
        m_view.setEntryText(box, "");
    }
}

} // namespace catalogue
