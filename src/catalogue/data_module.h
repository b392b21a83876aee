#pragma once

#include "database.h"
#include "schema.h"

#include <cstdint>
#include <initializer_list>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace catalogue {

// A field read from a row: a whole number, a text, or nothing.
class FieldValue {
public:
    explicit FieldValue(Value value) : m_value(std::move(value)) {}
    // Numbers as decimal text, nothing as the empty text.
    std::string asString() const;
    // Texts converted as whole numbers (common::Failure when they are none), nothing as 0.
    std::int64_t asInteger() const;

private:
    Value m_value;
};

// The reusable parameterised query of the data module. It is used in one order: close; clear the
// statement; add one statement; set the parameters Param1, Param2, Param3; open; read the row count
// (or walk the rows); close. Opening runs the statement and holds all its rows.
class Query {
public:
    explicit Query(Database& db) : m_db(db) {}

    void close();
    void clearSql();
    void addSql(std::string_view text);
    // `name` without the colon: "Param1".
    void setParameter(std::string_view name, Value value);
    void open();
    bool active() const { return m_active; }

    int recordCount() const;
    const std::vector<std::string>& fieldNames() const { return m_fieldNames; }
    void first();
    void next();
    bool eof() const;
    FieldValue fieldByName(std::string_view name) const;

private:
    Database& m_db;
    std::string m_sql;
    std::vector<std::pair<std::string, Value>> m_parameters;
    bool m_active = false;
    std::vector<std::string> m_fieldNames;
    std::vector<std::vector<Value>> m_rows;
    std::size_t m_current = 0;
};

// A table component over one catalogue table: the rows of the table under its filter, in key order,
// with a current row (a static snapshot, brought up to date by the component's own posts and
// deletions). Every post and deletion is stored at once. Database errors are common::Failure; after
// one the component is back in browse state and its rows are as before the failed operation.
class Table {
public:
    Table(Database& db, const TableDef& def) : m_db(db), m_def(def) {}

    const TableDef& def() const { return m_def; }
    // Loads the rows under the filter (if it is switched on); the first row becomes current.
    void open();
    void close();
    bool active() const { return m_active; }

    // The filter text has the form "FIELD=number" ("XXID=3"); it applies while filtering is on.
    // Changing either reloads the rows of an open table.
    void setFilter(std::string_view text);
    void setFiltered(bool on);
    const std::string& filter() const { return m_filter; }
    bool filtered() const { return m_filtered; }

    // Walking the rows in key order.
    void first();
    void next();
    bool eof() const;
    // From the current row, n rows forward (clamped to the end).
    void moveBy(int n);
    // 1-based position of the current row; 0 when there is none.
    int recNo() const;
    int recordCount() const;

    // A field of the current row (of the row being appended or edited, in those states). Throws
    // std::logic_error for an unknown field name or when there is no current row.
    FieldValue fieldByName(std::string_view name) const;
    // Sets a field of the row being appended or edited.
    void setFieldValue(std::string_view name, Value value);

    // Makes the first row (key order, under the filter) whose named fields ("XXID;NJBH") equal the
    // values current, letter case ignored for texts; false, and the current row unchanged, if none.
    bool locate(std::string_view fieldNames, const std::vector<Value>& values);

    // append (or edit), set fields, post: inserts (or changes) the row in the database at once.
    // After posting an appended row it is the current row and its key is readable.
    void append();
    void edit();
    void post();
    void cancel();
    // Removes the current row from the database; the row after it becomes current, or the new
    // last row when it was the last.
    void deleteRecord();

private:
    enum class State { Browse, Insert, Edit };
    struct FilterState {
        std::string text;
        bool on = false;
        std::optional<std::pair<std::size_t, std::int64_t>> condition;
    };
    void reloadOrRestore(const FilterState& previous);
    std::size_t fieldIndex(std::string_view name) const;
    std::vector<Value> readRow(std::int64_t key) const;
    bool matchesFilter(const std::vector<Value>& row) const;
    void reload();

    Database& m_db;
    const TableDef& m_def;
    bool m_active = false;
    std::string m_filter;
    bool m_filtered = false;
    std::optional<std::pair<std::size_t, std::int64_t>> m_filterCondition;
    std::vector<std::vector<Value>> m_rows;
    std::size_t m_current = 0;
    State m_state = State::Browse;
    std::vector<Value> m_buffer;
    std::vector<bool> m_assigned;
};

// Appends a row holding these fields to the table, posts it and returns its key (the new row is
// then the table's current row).
std::int64_t appendRow(Table& table, std::initializer_list<std::pair<const char*, Value>> fields);

// The data module: the connection to the catalogue file, the reusable query and the four table
// components, all open from its creation until closeConnection().
class TDM {
public:
    // Opens the existing catalogue file `path` read-write and checks it: it must exist, must not be
    // a legacy Access database, must be an SQLite database and must hold the four tables with all
    // their fields. Throws common::Failure with a text naming the file and the problem; nothing is
    // written to a file that fails a check.
    explicit TDM(const std::string& path = "Data.mdb");

    Database& connection() { return m_db; }
    catalogue::Query& Query() { return m_query; }
    Table& XXTable() { return m_schools; }
    Table& NJTable() { return m_grades; }
    Table& BJTable() { return m_classes; }
    Table& BKTable() { return m_subjects; }
    const std::string& path() const { return m_path; }

    void closeConnection();

private:
    std::string m_path;
    Database m_db;
    catalogue::Query m_query;
    Table m_schools;
    Table m_grades;
    Table m_classes;
    Table m_subjects;
};

} // namespace catalogue
