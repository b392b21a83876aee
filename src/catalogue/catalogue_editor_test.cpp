#include "catalogue_editor.h"

#include "schema.h"

#include "common/errors.h"
#include "common/messages.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>
#include <sqlite3.h>

#include <array>
#include <deque>

namespace catalogue {
namespace {

using testing_support::TempDir;

constexpr Level kLevels[] = {Level::School, Level::Grade, Level::Class, Level::Subject};

std::size_t at(Level level) {
    return static_cast<std::size_t>(level);
}

std::string warning(const char* text) {
    return std::string("警告:") + text;
}
std::string request(const char* text) {
    return std::string("确认:") + text;
}
std::string question() {
    return std::string("问题:") + messages::kConfirmDelete;
}

// The window as the editor sees it, kept in plain containers. It behaves like the real lists: a
// selection made by the editor is reported back to the editor as the cascade.
class FakeView : public EditorView {
public:
    std::array<std::string, 3> entries;
    std::array<std::vector<ListItem>, 4> lists;
    std::array<std::optional<int>, 4> selection;
    std::vector<std::string> shown;
    std::vector<std::string> focus;
    std::deque<bool> answers;
    CatalogueEditor* editor = nullptr;

    std::string entryText(int box) const override { return entries.at(static_cast<std::size_t>(box)); }
    void setEntryText(int box, std::string_view text) override { entries.at(static_cast<std::size_t>(box)) = text; }
    std::optional<int> selectedItem(Level list) const override { return selection[at(list)]; }
    int itemCount(Level list) const override { return static_cast<int>(lists[at(list)].size()); }
    void clearList(Level list) override {
        lists[at(list)].clear();
        selection[at(list)].reset();
    }
    void appendItem(Level list, const ListItem& item) override { lists[at(list)].push_back(item); }
    void replaceItem(Level list, int position, const ListItem& item) override {
        lists[at(list)].at(static_cast<std::size_t>(position)) = item;
    }
    void setItemCaption(Level list, int position, std::string_view caption) override {
        lists[at(list)].at(static_cast<std::size_t>(position)).caption = caption;
    }
    void removeItem(Level list, int position) override {
        auto& items = lists[at(list)];
        items.erase(items.begin() + position);
        auto& selected = selection[at(list)];
        if (selected == position) {
            selected.reset();
        } else if (selected && *selected > position) {
            --*selected;
        }
    }
    void selectItem(Level list, int position) override {
        selection[at(list)] = position;
        editor->selectionChanged(list);
    }
    void clearSelection(Level list) override { selection[at(list)].reset(); }
    void focusList(Level list) override { focus.push_back("list " + std::to_string(at(list) + 1)); }
    void focusFirstEntry() override { focus.push_back("Edit11"); }
    void warning(const std::string& text) override { shown.push_back("警告:" + text); }
    void selectionRequest(const std::string& text) override { shown.push_back("确认:" + text); }
    bool askYesNo(const std::string& text) override {
        shown.push_back("问题:" + text);
        if (answers.empty()) {
            ADD_FAILURE() << "unexpected question " << text;
            return false;
        }
        const bool answer = answers.front();
        answers.pop_front();
        return answer;
    }
};

std::vector<std::string> queryRows(Database& db, const std::string& sql) {
    std::vector<std::string> rows;
    Statement statement = db.prepare(sql);
    while (statement.step()) {
        std::string row;
        for (int column = 0; column < statement.columnCount(); ++column) {
            row += (column == 0 ? "" : "|") + FieldValue(statement.column(column)).asString();
        }
        rows.push_back(row);
    }
    return rows;
}

// Everything a refused operation must leave as it was.
struct Snapshot {
    std::array<std::string, 3> entries;
    std::array<std::vector<ListItem>, 4> lists;
    std::array<std::optional<int>, 4> selection;
    std::vector<std::string> rows;
    bool operator==(const Snapshot&) const = default;
};

// A catalogue built through the editor itself, as a user builds it:
//   schools s1 一中, s2 二中; grades of s1: g1 初一, g2 初二; classes of g1: c1 一班 (40), c2 二班 (0);
//   subjects of c1: Math 张老师 150, 语文 李老师 120. Selected: s1, g1, c1; no subject.
class Editor : public ::testing::Test {
protected:
    void SetUp() override { build(); }

    // A fresh catalogue file and view; table-driven tests start each case with it.
    void build() {
        editor.reset();
        dm.reset();
        dir = std::make_unique<TempDir>();
        view = FakeView{};
        createCatalogue(dir->file("Data.mdb"));
        dm = std::make_unique<TDM>(dir->file("Data.mdb"));
        editor = std::make_unique<CatalogueEditor>(*dm, view);
        view.editor = editor.get();
        editor->fillList(Level::School);
        addRow(Level::School, "s1", "一中");
        addRow(Level::School, "s2", "二中");
        view.selectItem(Level::School, 0);
        addRow(Level::Grade, "g1", "初一");
        addRow(Level::Grade, "g2", "初二");
        view.selectItem(Level::Grade, 0);
        addRow(Level::Class, "c1", "一班", "40");
        addRow(Level::Class, "c2", "二班");
        view.selectItem(Level::Class, 0);
        addRow(Level::Subject, "Math", "张老师", "150");
        addRow(Level::Subject, "语文", "李老师", "120");
        view.focus.clear();
    }

    void type(const std::array<const char*, 3>& texts) {
        for (std::size_t box = 0; box < 3; ++box) {
            view.entries[box] = texts[box];
        }
    }

    void addRow(Level mode, const char* a, const char* b, const char* c = "") {
        type({a, b, c});
        view.shown.clear();
        editor->add(mode);
        ASSERT_TRUE(view.shown.empty()) << view.shown.front();
    }

    std::vector<std::string> codes(Level list) const {
        std::vector<std::string> result;
        for (const ListItem& item : view.lists[at(list)]) {
            result.push_back(item.caption + ":" + item.subItems.at(0));
        }
        return result;
    }

    std::vector<std::string> stored(const std::string& sql) { return queryRows(dm->connection(), sql); }

    Snapshot snapshot() {
        Snapshot s{view.entries, view.lists, view.selection, {}};
        for (const TableDef* def : catalogueTableDefs()) {
            for (const std::string& row : stored(std::string("SELECT * FROM ") + def->name + " ORDER BY 1")) {
                s.rows.push_back(std::string(def->name) + ":" + row);
            }
        }
        return s;
    }

    // Runs an operation that must be refused with exactly `expected` and change nothing.
    template <typename Operation> void expectRefused(Operation operation, const std::vector<std::string>& expected) {
        const Snapshot before = snapshot();
        view.shown.clear();
        view.focus.clear();
        operation();
        EXPECT_EQ(view.shown, expected);
        EXPECT_TRUE(snapshot() == before) << "state changed";
        EXPECT_TRUE(view.focus.empty());
    }

    std::unique_ptr<TempDir> dir;
    std::unique_ptr<TDM> dm;
    FakeView view;
    std::unique_ptr<CatalogueEditor> editor;
};

TEST_F(Editor, BuildingTheCatalogueKeepsListsAndTablesInStep) {
    EXPECT_EQ(codes(Level::School), (std::vector<std::string>{"1:s1", "2:s2"}));
    EXPECT_EQ(codes(Level::Grade), (std::vector<std::string>{"1:g1", "2:g2"}));
    EXPECT_EQ(codes(Level::Class), (std::vector<std::string>{"1:c1", "2:c2"}));
    EXPECT_EQ(view.lists[3].at(1), (ListItem{"2", {"语文", "李老师", "120"}}));
    EXPECT_EQ(stored("SELECT s.XXBH, g.NJBH, c.BJBH, b.KMMC, b.RKJS, b.KMZF FROM BKTable b JOIN BJTable c "
                     "ON c.BJID = b.BJID AND c.NJID = b.NJID AND c.XXID = b.XXID JOIN NJTable g ON g.NJID = "
                     "c.NJID AND g.XXID = c.XXID JOIN XXTable s ON s.XXID = g.XXID ORDER BY b.BKID"),
              (std::vector<std::string>{"s1|g1|c1|Math|张老师|150", "s1|g1|c1|语文|李老师|120"}));
}

struct AddCase {
    const char* name;
    Level mode;
    std::array<const char*, 3> entries;
    std::vector<std::string> refusal; // empty: the row is added
    std::optional<Level> unselected = std::nullopt;
    ListItem item = {};
    const char* storedRow = ""; // the new row's fields after its keys
};

TEST_F(Editor, AddChecksInOrderAndAppendsTheRow) {
    const AddCase cases[] = {
        {"school", Level::School, {" s3 ", " 三中 ", "9"}, {}, {}, {"3", {"s3", "三中"}}, "s3|三中"},
        {"grade", Level::Grade, {"g3", "初三", ""}, {}, {}, {"3", {"g3", "初三"}}, "1|g3|初三"},
        {"class without count", Level::Class, {"c3", "三班", ""}, {}, {}, {"3", {"c3", "三班", "0"}}, "1|1|c3|三班|0"},
        {"class", Level::Class, {"c3", "三班", " 45 "}, {}, {}, {"3", {"c3", "三班", "45"}}, "1|1|c3|三班|45"},
        {"subject",
         Level::Subject,
         {"英语", "王老师", "0"},
         {},
         {},
         {"3", {"英语", "王老师", "0"}},
         "1|1|1|英语|王老师|0"},
        {"school code taken, case ignored", Level::School, {"S1", "x", ""}, {warning(messages::kCodeExists)}},
        {"grade code taken, trimmed", Level::Grade, {" G1 ", "x", ""}, {warning(messages::kCodeExists)}},
        {"class code taken", Level::Class, {"C2", "x", "1"}, {warning(messages::kCodeExists)}},
        {"subject name taken", Level::Subject, {"MATH", "x", "1"}, {warning(messages::kSubjectNameExists)}},
        {"grade: selection before fields",
         Level::Grade,
         {"", "", ""},
         {request(messages::kSelectSchool)},
         Level::School},
        {"class: selection before fields", Level::Class, {"", "", ""}, {request(messages::kSelectGrade)}, Level::Grade},
        {"subject: selection before fields",
         Level::Subject,
         {"", "", ""},
         {request(messages::kSelectClass)},
         Level::Class},
        {"school code empty", Level::School, {" ", "", ""}, {warning(messages::kEnterCode)}},
        {"school name empty", Level::School, {"s9", " \t", ""}, {warning(messages::kEnterSchoolName)}},
        {"grade code empty", Level::Grade, {"", "x", ""}, {warning(messages::kEnterCode)}},
        {"grade name empty", Level::Grade, {"g9", "", ""}, {warning(messages::kEnterGradeName)}},
        {"class name empty", Level::Class, {"c9", "", "5"}, {warning(messages::kEnterClassName)}},
        {"subject name empty", Level::Subject, {"", "", ""}, {warning(messages::kEnterSubjectName)}},
        {"teacher empty", Level::Subject, {"物理", "", ""}, {warning(messages::kEnterTeacher)}},
        {"full marks empty", Level::Subject, {"物理", "x", "  "}, {warning(messages::kEnterFullMarks)}},
    };
    for (const AddCase& c : cases) {
        SCOPED_TRACE(c.name);
        build();
        if (c.unselected) {
            view.clearSelection(*c.unselected);
        }
        type(c.entries);
        if (!c.refusal.empty()) {
            expectRefused([&] { editor->add(c.mode); }, c.refusal);
            continue;
        }
        const auto selections = view.selection;
        editor->add(c.mode);
        EXPECT_TRUE(view.shown.empty());
        EXPECT_EQ(view.lists[at(c.mode)].back(), c.item);
        EXPECT_EQ(view.selection, selections);
        const bool numberBox = c.mode == Level::Class || c.mode == Level::Subject;
        EXPECT_EQ(view.entries, (std::array<std::string, 3>{"", "", numberBox ? "" : c.entries[2]}));
        EXPECT_EQ(view.focus, std::vector<std::string>{"Edit11"});
        const TableDef* def = catalogueTableDefs()[at(c.mode)];
        std::string columns;
        for (std::size_t i = 1; i < def->fields.size(); ++i) {
            columns += (i == 1 ? "" : ", ") + std::string(def->fields[i].name);
        }
        const auto rows = stored("SELECT " + columns + " FROM " + def->name + " ORDER BY rowid DESC LIMIT 1");
        EXPECT_EQ(rows, std::vector<std::string>{c.storedRow});
    }
}

TEST_F(Editor, CodesAreUniqueUnderTheirParentOnly) {
    view.selectItem(Level::School, 1);
    addRow(Level::Grade, "g1", "二中初一"); // the code of s1's grade, in another school
    view.selectItem(Level::Grade, 0);
    addRow(Level::Class, "c1", "二中一班");
    view.selectItem(Level::Class, 0);
    addRow(Level::Subject, "math", "二中老师", "150"); // a subject name of another class
    type({"MATH", "x", "1"});
    expectRefused([&] { editor->add(Level::Subject); }, {warning(messages::kSubjectNameExists)});
    EXPECT_EQ(stored("SELECT XXID, NJBH FROM NJTable ORDER BY NJID"),
              (std::vector<std::string>{"1|g1", "1|g2", "2|g1"}));
}

TEST_F(Editor, AddedRowTakesItsParentKeysFromTheSelectedItems) {
    addRow(Level::School, "s3", "三中"); // s1, g1, c1 stay selected
    addRow(Level::Class, "c3", "三班", "30");
    addRow(Level::Subject, "物理", "周老师", "100");
    addRow(Level::Grade, "g3", "初三");
    EXPECT_EQ(stored("SELECT XXID, NJID, BJBH FROM BJTable WHERE BJBH = 'c3'"), std::vector<std::string>{"1|1|c3"});
    EXPECT_EQ(stored("SELECT XXID, NJID, BJID FROM BKTable WHERE KMMC = '物理'"), std::vector<std::string>{"1|1|1"});
    EXPECT_EQ(stored("SELECT XXID FROM NJTable WHERE NJBH = 'g3'"), std::vector<std::string>{"1"});
    // Without a selected school the grade still names its own school.
    view.clearSelection(Level::School);
    addRow(Level::Class, "c4", "四班");
    EXPECT_EQ(stored("SELECT XXID, NJID FROM BJTable WHERE BJBH = 'c4'"), std::vector<std::string>{"1|1"});
}

TEST_F(Editor, TypedTextIsStoredTrimmedAndOnlyAsParameters) {
    const char* texts[] = {"x' OR '1'='1", "100%", "'; DROP TABLE XXTable; --", "\"引号\"", "s_", "第三中学"};
    for (const char* text : texts) {
        SCOPED_TRACE(text);
        const std::string padded = std::string(" \t") + text + "  ";
        addRow(Level::School, padded.c_str(), padded.c_str());
        EXPECT_EQ(view.lists[0].back().subItems, (std::vector<std::string>{text, text}));
        EXPECT_EQ(stored(std::string("SELECT XXMC FROM XXTable ORDER BY XXID DESC LIMIT 1")),
                  std::vector<std::string>{text});
        type({padded.c_str(), "x", ""});
        expectRefused([&] { editor->add(Level::School); }, {warning(messages::kCodeExists)});
    }
    EXPECT_EQ(stored("SELECT COUNT(*) FROM XXTable"), std::vector<std::string>{"8"});
}

TEST_F(Editor, NumberThatDoesNotConvertStopsBeforeAnythingIsWritten) {
    const struct {
        const char* name;
        Level mode;
        bool save;
        const char* number;
    } cases[] = {
        {"add class, too many digits", Level::Class, false, "99999999999"},
        {"add subject, pasted text", Level::Subject, false, "150分"},
        {"save class", Level::Class, true, "4294967296"},
        {"save subject", Level::Subject, true, "1 5"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        build();
        if (c.save) {
            view.selectItem(c.mode, 1);
        }
        type({"n9", "名称", c.number});
        const Snapshot before = snapshot();
        try {
            c.save ? editor->save(c.mode) : editor->add(c.mode);
            ADD_FAILURE() << "no refusal";
        } catch (const common::Refusal& refusal) {
            EXPECT_EQ(std::string(refusal.what()), messages::notAnInteger(c.number));
        }
        EXPECT_TRUE(snapshot() == before);
        EXPECT_TRUE(view.shown.empty());
        // The table is browsing again: the next operation works.
        type({"n9", "名称", "7"});
        c.save ? editor->save(c.mode) : editor->add(c.mode);
        EXPECT_TRUE(view.shown.empty());
    }
}

struct ModifyCase {
    const char* name;
    Level mode;
    std::optional<int> select; // selected item of the mode's own list; nullopt: none
    std::array<std::string, 3> entries;
    std::vector<std::string> refusal;
};

TEST_F(Editor, ModifyCopiesTheSelectedRowIntoTheEntryBoxes) {
    const ModifyCase cases[] = {
        {"school", Level::School, 1, {"s2", "二中", "keep"}, {}},
        {"grade", Level::Grade, 1, {"g2", "初二", "keep"}, {}},
        {"class", Level::Class, 0, {"c1", "一班", "40"}, {}},
        {"subject", Level::Subject, 1, {"语文", "李老师", "120"}, {}},
        {"no school selected", Level::School, std::nullopt, {}, {request(messages::kSelectSchool)}},
        {"no grade selected", Level::Grade, std::nullopt, {}, {request(messages::kSelectGrade)}},
        {"no class selected", Level::Class, std::nullopt, {}, {request(messages::kSelectClass)}},
        {"no subject selected", Level::Subject, std::nullopt, {}, {request(messages::kSelectSubject)}},
    };
    for (const ModifyCase& c : cases) {
        SCOPED_TRACE(c.name);
        build();
        if (c.select) {
            view.selectItem(c.mode, *c.select);
        } else {
            view.clearSelection(c.mode);
        }
        type({"a", "b", "keep"});
        if (!c.refusal.empty()) {
            expectRefused([&] { editor->modify(c.mode); }, c.refusal);
            continue;
        }
        const Snapshot before = snapshot();
        editor->modify(c.mode);
        EXPECT_TRUE(view.shown.empty());
        EXPECT_EQ(view.entries, c.entries);
        Snapshot after = snapshot();
        after.entries = before.entries;
        EXPECT_TRUE(after == before);
    }
}

struct SaveCase {
    const char* name;
    Level mode;
    int select;
    std::array<const char*, 3> entries;
    std::vector<std::string> refusal;
    ListItem item = {};
};

TEST_F(Editor, SaveChecksInOrderAndStoresIntoTheSelectedRow) {
    const SaveCase cases[] = {
        {"school unchanged", Level::School, 0, {"s1", "一中", ""}, {}, {"1", {"s1", "一中"}}},
        {"school renamed", Level::School, 1, {" S2 ", " 第二中学 ", ""}, {}, {"2", {"S2", "第二中学"}}},
        {"grade recoded", Level::Grade, 1, {"g9", "初二", ""}, {}, {"2", {"g9", "初二"}}},
        {"class count emptied", Level::Class, 0, {"c1", "一班", ""}, {}, {"1", {"c1", "一班", "0"}}},
        {"subject own name, other case",
         Level::Subject,
         0,
         {"MATH", "赵老师", "140"},
         {},
         {"1", {"MATH", "赵老师", "140"}}},
        {"school code of another", Level::School, 0, {"s2", "x", ""}, {warning(messages::kCodeExists)}},
        {"grade code of another", Level::Grade, 0, {"G2", "x", ""}, {warning(messages::kCodeExists)}},
        {"class code of another", Level::Class, 1, {"c1", "x", ""}, {warning(messages::kCodeExists)}},
        {"subject name of another", Level::Subject, 0, {"语文", "x", "1"}, {warning(messages::kSubjectNameExists)}},
        {"class name empty", Level::Class, 0, {"c1", "", "1"}, {warning(messages::kEnterClassName)}},
        {"full marks empty", Level::Subject, 0, {"Math", "x", ""}, {warning(messages::kEnterFullMarks)}},
    };
    for (const SaveCase& c : cases) {
        SCOPED_TRACE(c.name);
        build();
        view.selectItem(c.mode, c.select);
        type(c.entries);
        if (!c.refusal.empty()) {
            expectRefused([&] { editor->save(c.mode); }, c.refusal);
            continue;
        }
        Snapshot expected = snapshot();
        expected.lists[at(c.mode)].at(static_cast<std::size_t>(c.select)) = c.item;
        editor->save(c.mode);
        EXPECT_TRUE(view.shown.empty());
        Snapshot after = snapshot();
        EXPECT_EQ(after.lists, expected.lists);
        EXPECT_EQ(after.selection, expected.selection);
        EXPECT_EQ(after.entries, expected.entries);
        // A fresh read of the table gives the same item: the row was stored.
        editor->fillList(c.mode);
        EXPECT_EQ(view.lists[at(c.mode)].at(static_cast<std::size_t>(c.select)), c.item);
    }
}

TEST_F(Editor, SaveWithoutSelectionAsksForOneBeforeLookingAtTheBoxes) {
    for (Level mode : kLevels) {
        SCOPED_TRACE(static_cast<int>(mode));
        build();
        view.clearSelection(mode);
        type({"", "", ""});
        const char* messagesOf[] = {messages::kSelectSchool, messages::kSelectGrade, messages::kSelectClass,
                                    messages::kSelectSubject};
        expectRefused([&] { editor->save(mode); }, {request(messagesOf[at(mode)])});
    }
}

struct DeleteCase {
    const char* name;
    Level mode;
    int select;
    bool answer;
    std::vector<std::string> shown;
    std::vector<std::string> codesAfter; // the mode's list after the operation
    std::optional<int> selectedAfter;
    std::vector<std::string> nextAfter; // the list to the right after the operation
    bool entriesEmptied;
};

TEST_F(Editor, DeleteAsksThenChecksUseThenRemovesAndSelectsTheNextRow) {
    const std::string inUse[] = {warning(messages::kSchoolInUse), warning(messages::kGradeInUse),
                                 warning(messages::kClassInUse)};
    const DeleteCase cases[] = {
        {"school in use", Level::School, 0, true, {question(), inUse[0]}, {"1:s1", "2:s2"}, 0, {"1:g1", "2:g2"}, false},
        {"grade in use", Level::Grade, 0, true, {question(), inUse[1]}, {"1:g1", "2:g2"}, 0, {"1:c1", "2:c2"}, false},
        {"class in use",
         Level::Class,
         0,
         true,
         {question(), inUse[2]},
         {"1:c1", "2:c2"},
         0,
         {"1:Math", "2:语文"},
         false},
        {"answer no", Level::School, 1, false, {question()}, {"1:s1", "2:s2"}, 1, {}, true},
        {"last school: new last selected", Level::School, 1, true, {question()}, {"1:s1"}, 0, {"1:g1", "2:g2"}, true},
        {"last grade: cascade for new last", Level::Grade, 1, true, {question()}, {"1:g1"}, 0, {"1:c1", "2:c2"}, true},
        {"last class", Level::Class, 1, true, {question()}, {"1:c1"}, 0, {"1:Math", "2:语文"}, true},
        {"first subject: next renumbered", Level::Subject, 0, true, {question()}, {"1:语文"}, 0, {}, true},
    };
    for (const DeleteCase& c : cases) {
        SCOPED_TRACE(c.name);
        build();
        view.selectItem(c.mode, c.select);
        type({"a", "b", "1"});
        view.shown.clear();
        view.answers = {c.answer};
        const Snapshot before = snapshot();
        editor->remove(c.mode);
        EXPECT_EQ(view.shown, c.shown);
        EXPECT_EQ(codes(c.mode), c.codesAfter);
        EXPECT_EQ(view.selection[at(c.mode)], c.selectedAfter);
        if (c.mode != Level::Subject) {
            EXPECT_EQ(codes(static_cast<Level>(at(c.mode) + 1)), c.nextAfter);
        }
        EXPECT_EQ(view.entries, (c.entriesEmptied ? std::array<std::string, 3>{} : before.entries));
        const bool deleted = c.codesAfter.size() < before.lists[at(c.mode)].size();
        EXPECT_EQ(view.focus, deleted ? std::vector<std::string>{"list " + std::to_string(at(c.mode) + 1)}
                                      : std::vector<std::string>{});
        Snapshot expected = before;
        if (!deleted) {
            expected.entries = view.entries;
            EXPECT_TRUE(snapshot() == expected) << "nothing may change";
        } else {
            EXPECT_EQ(snapshot().rows.size(), before.rows.size() - 1);
        }
    }
}

TEST_F(Editor, DeleteRenumbersTheItemsAfterTheDeletedOne) {
    addRow(Level::School, "s3", "三中");
    addRow(Level::School, "s4", "四中");
    view.selectItem(Level::School, 1);
    view.answers = {true};
    editor->remove(Level::School);
    EXPECT_EQ(codes(Level::School), (std::vector<std::string>{"1:s1", "2:s3", "3:s4"}));
    EXPECT_EQ(view.selection[0], 1);
    // The cascade ran for s3: it has no grades, and the lists further right are empty.
    EXPECT_TRUE(view.lists[1].empty() && view.lists[2].empty() && view.lists[3].empty());
    // A school added after the deletion still sorts last.
    addRow(Level::School, "s5", "五中");
    EXPECT_EQ(stored("SELECT XXBH FROM XXTable ORDER BY XXID"), (std::vector<std::string>{"s1", "s3", "s4", "s5"}));
}

TEST_F(Editor, DeletingTheOnlyItemLeavesTheListEmptyWithoutSelection) {
    view.selectItem(Level::Class, 1); // c2: no subjects
    addRow(Level::Subject, "历史", "钱老师", "100");
    view.selectItem(Level::Subject, 0);
    view.answers = {true};
    view.focus.clear();
    editor->remove(Level::Subject);
    EXPECT_TRUE(view.lists[3].empty());
    EXPECT_EQ(view.selection[3], std::nullopt);
    EXPECT_TRUE(view.focus.empty());
    EXPECT_EQ(stored("SELECT COUNT(*) FROM BKTable WHERE BJID = 2"), std::vector<std::string>{"0"});
}

TEST_F(Editor, DatabaseRefusingWritesLeavesTablesAndListsInStep) {
    const struct {
        const char* name;
        Level mode;
        int select; // -1: nothing to select
        const char* operation;
    } cases[] = {
        {"add school", Level::School, -1, "add"},    {"add subject", Level::Subject, -1, "add"},
        {"save grade", Level::Grade, 1, "save"},     {"delete subject", Level::Subject, 1, "delete"},
        {"delete class", Level::Class, 1, "delete"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        build();
        if (c.select >= 0) {
            view.selectItem(c.mode, c.select);
        }
        type({"n9", "名称", "5"});
        view.answers = {true};
        dm->connection().exec("PRAGMA query_only = ON");
        const Snapshot before = snapshot();
        const std::string operation = c.operation;
        try {
            operation == "add"    ? editor->add(c.mode)
            : operation == "save" ? editor->save(c.mode)
                                  : editor->remove(c.mode);
            ADD_FAILURE() << "no failure";
        } catch (const common::Failure& failure) {
            EXPECT_EQ(std::string(failure.what()), messages::catalogueOperationFailed(messages::kDatabaseReadOnly));
        }
        Snapshot after = snapshot();
        EXPECT_EQ(after.lists, before.lists);
        EXPECT_EQ(after.rows, before.rows);
        // The table still stands for the list: a fresh fill gives the same items.
        dm->connection().exec("PRAGMA query_only = OFF");
        const auto items = view.lists[at(c.mode)];
        editor->fillList(c.mode);
        EXPECT_EQ(view.lists[at(c.mode)], items);
    }
}

class LockedCatalogue : public Editor {
protected:
    void lock(const char* begin) {
        ASSERT_EQ(sqlite3_open(dir->file("Data.mdb").c_str(), &other), SQLITE_OK);
        ASSERT_EQ(sqlite3_exec(other, begin, nullptr, nullptr, nullptr), SQLITE_OK);
    }
    void unlock() {
        sqlite3_exec(other, "ROLLBACK", nullptr, nullptr, nullptr);
        sqlite3_close(other);
        other = nullptr;
    }
    void TearDown() override {
        if (other != nullptr) {
            unlock();
        }
    }
    sqlite3* other = nullptr;
};

TEST_F(LockedCatalogue, AnotherProgramsWriteLockFailsThePostAndNothingIsListed) {
    lock("BEGIN IMMEDIATE");
    const auto items = view.lists[2];
    type({"c9", "九班", "9"});
    EXPECT_THROW(editor->add(Level::Class), common::Failure);
    EXPECT_EQ(view.lists[2], items);
    EXPECT_EQ(view.entries[0], "c9");
    unlock();
    editor->add(Level::Class);
    EXPECT_EQ(codes(Level::Class), (std::vector<std::string>{"1:c1", "2:c2", "3:c9"}));
}

TEST_F(LockedCatalogue, ExclusiveLockDuringTheCascadeDropsTheSelectionAndKeepsTheListsRight) {
    lock("BEGIN EXCLUSIVE");
    const auto grades = view.lists[1];
    const auto classes = view.lists[2];
    EXPECT_THROW(view.selectItem(Level::School, 1), common::Failure);
    EXPECT_EQ(view.selection[0], std::nullopt);
    EXPECT_EQ(view.lists[1], grades);
    EXPECT_EQ(view.lists[2], classes);
    unlock();
    // The grade table still stands for the grade list, filter included: a grade saved now stays in it.
    view.selectItem(Level::Grade, 1);
    type({"g2", "初二改", ""});
    editor->save(Level::Grade);
    editor->fillList(Level::Grade);
    EXPECT_EQ(view.lists[1], (std::vector<ListItem>{{"1", {"g1", "初一"}}, {"2", {"g2", "初二改"}}}));
    view.selectItem(Level::School, 1);
    EXPECT_TRUE(view.lists[1].empty());
}

} // namespace
} // namespace catalogue
