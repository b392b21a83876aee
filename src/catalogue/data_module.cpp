#include "data_module.h"

#include "common/errors.h"
#include "common/messages.h"
#include "common/text.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <set>
#include <stdexcept>

namespace catalogue {

namespace {

std::string textOf(const Value& value) {
    if (const auto* number = std::get_if<std::int64_t>(&value)) {
        return std::to_string(*number);
    }
    if (const auto* text = std::get_if<std::string>(&value)) {
        return *text;
    }
    return {};
}

std::optional<std::int64_t> integerOf(const Value& value) {
    if (const auto* number = std::get_if<std::int64_t>(&value)) {
        return *number;
    }
    if (const auto* text = std::get_if<std::string>(&value)) {
        const std::string_view digits = common::trimmedView(*text);
        bool negative = !digits.empty() && digits.front() == '-';
        const std::string_view magnitude = negative ? digits.substr(1) : digits;
        if (!common::isAsciiDigits(magnitude) || magnitude.size() > 18) {
            return std::nullopt;
        }
        std::int64_t result = 0;
        for (char c : magnitude) {
            result = result * 10 + (c - '0');
        }
        return negative ? -result : result;
    }
    return 0;
}

// Values of a locate or a filter: whole numbers compare as numbers, texts without regard to case.
bool sameValue(const Value& stored, const Value& wanted, FieldType type) {
    if (type == FieldType::Integer) {
        const auto a = integerOf(stored);
        const auto b = integerOf(wanted);
        return a && b && *a == *b;
    }
    return common::equalsIgnoringCase(textOf(stored), textOf(wanted));
}

std::vector<std::string_view> splitFieldNames(std::string_view names) {
    std::vector<std::string_view> parts;
    while (!names.empty()) {
        const std::size_t semicolon = names.find(';');
        parts.push_back(names.substr(0, semicolon));
        if (semicolon == std::string_view::npos) {
            break;
        }
        names.remove_prefix(semicolon + 1);
    }
    return parts;
}

// The checks made before SQLite is given the file, so that a foreign file is never touched.
Database openCheckedFile(const std::string& path) {
    std::error_code error;
    const std::filesystem::file_status status = std::filesystem::status(path, error);
    if (!std::filesystem::exists(status)) {
        throw common::Failure(messages::catalogueMissing(path));
    }
    if (!std::filesystem::is_regular_file(status)) {
        throw common::Failure(messages::catalogueNotSqlite(path));
    }
    std::ifstream file(path, std::ios::binary);
    if (!file) {
        throw common::Failure(messages::catalogueUnreadable(path, "没有读取该文件的权限"));
    }
    std::array<char, 20> head{};
    file.read(head.data(), head.size());
    const auto size = static_cast<std::size_t>(file.gcount());
    // Jet 3/4 and ACE databases carry their signature at byte 4.
    if (size == head.size() && (std::memcmp(head.data() + 4, "Standard Jet DB", 15) == 0 ||
                                std::memcmp(head.data() + 4, "Standard ACE DB", 15) == 0)) {
        throw common::Failure(messages::catalogueIsAccess(path));
    }
    // An empty file is an empty SQLite database (it then lacks the tables); anything else must
    // begin with SQLite's header.
    if (size > 0 && (size < 16 || std::memcmp(head.data(), "SQLite format 3", 16) != 0)) {
        throw common::Failure(messages::catalogueNotSqlite(path));
    }
    return Database::openExisting(path);
}

void checkTables(Database& db, const std::string& path) {
    for (const TableDef* def : catalogueTableDefs()) {
        std::set<std::string, std::less<>> columns;
        try {
            Statement info = db.prepare(std::string("PRAGMA table_info(") + def->name + ")");
            while (info.step()) {
                columns.insert(common::asciiLower(textOf(info.column(1))));
            }
        } catch (const common::Failure&) {
            throw common::Failure(messages::catalogueNotSqlite(path));
        }
        if (columns.empty()) {
            throw common::Failure(messages::catalogueLacksTable(path, def->name));
        }
        for (const FieldDef& field : def->fields) {
            if (!columns.contains(common::asciiLower(field.name))) {
                throw common::Failure(messages::catalogueLacksField(path, def->name, field.name));
            }
        }
    }
}

} // namespace

std::string FieldValue::asString() const {
    return textOf(m_value);
}

std::int64_t FieldValue::asInteger() const {
    if (const auto number = integerOf(m_value)) {
        return *number;
    }
    throw common::Failure(messages::catalogueOperationFailed(messages::notAnInteger(textOf(m_value))));
}

// ---- Query

void Query::close() {
    m_active = false;
    m_fieldNames.clear();
    m_rows.clear();
    m_current = 0;
}

void Query::clearSql() {
    m_sql.clear();
    m_parameters.clear();
}

void Query::addSql(std::string_view text) {
    if (!m_sql.empty()) {
        m_sql += '\n';
    }
    m_sql += text;
}

void Query::setParameter(std::string_view name, Value value) {
    for (auto& [parameter, stored] : m_parameters) {
        if (parameter == name) {
            stored = std::move(value);
            return;
        }
    }
    m_parameters.emplace_back(std::string(name), std::move(value));
}

void Query::open() {
    close();
    Statement statement = m_db.prepare(m_sql);
    for (const auto& [name, value] : m_parameters) {
        statement.bind(":" + name, value);
    }
    for (int column = 0; column < statement.columnCount(); ++column) {
        m_fieldNames.push_back(statement.columnName(column));
    }
    while (statement.step()) {
        std::vector<Value> row;
        row.reserve(m_fieldNames.size());
        for (int column = 0; column < statement.columnCount(); ++column) {
            row.push_back(statement.column(column));
        }
        m_rows.push_back(std::move(row));
    }
    m_active = true;
}

int Query::recordCount() const {
    return static_cast<int>(m_rows.size());
}

void Query::first() {
    m_current = 0;
}

void Query::next() {
    if (m_current < m_rows.size()) {
        ++m_current;
    }
}

bool Query::eof() const {
    return m_current >= m_rows.size();
}

FieldValue Query::fieldByName(std::string_view name) const {
    if (eof()) {
        throw std::logic_error("Query: no current row");
    }
    for (std::size_t i = 0; i < m_fieldNames.size(); ++i) {
        if (common::equalsIgnoringCase(m_fieldNames[i], name)) {
            return FieldValue(m_rows[m_current][i]);
        }
    }
    throw std::logic_error("Query: no field " + std::string(name));
}

// ---- Table

std::size_t Table::fieldIndex(std::string_view name) const {
    for (std::size_t i = 0; i < m_def.fields.size(); ++i) {
        if (common::equalsIgnoringCase(m_def.fields[i].name, name)) {
            return i;
        }
    }
    throw std::logic_error(std::string(m_def.name) + ": no field " + std::string(name));
}

std::vector<Value> Table::readRow(std::int64_t key) const {
    std::string sql = "SELECT ";
    for (std::size_t i = 0; i < m_def.fields.size(); ++i) {
        sql += (i == 0 ? "" : ", ");
        sql += m_def.fields[i].name;
    }
    sql += std::string(" FROM ") + m_def.name + " WHERE " + m_def.key() + " = ?1";
    Statement statement = m_db.prepare(sql);
    statement.bind(1, Value{key});
    std::vector<Value> row;
    if (statement.step()) {
        for (std::size_t i = 0; i < m_def.fields.size(); ++i) {
            row.push_back(statement.column(static_cast<int>(i)));
        }
    }
    return row;
}

bool Table::matchesFilter(const std::vector<Value>& row) const {
    if (!m_filtered || !m_filterCondition) {
        return true;
    }
    const auto value = integerOf(row[m_filterCondition->first]);
    return value && *value == m_filterCondition->second;
}

void Table::reload() {
    std::string sql = "SELECT ";
    for (std::size_t i = 0; i < m_def.fields.size(); ++i) {
        sql += (i == 0 ? "" : ", ");
        sql += m_def.fields[i].name;
    }
    sql += std::string(" FROM ") + m_def.name;
    if (m_filtered && m_filterCondition) {
        sql += std::string(" WHERE ") + m_def.fields[m_filterCondition->first].name + " = ?1";
    }
    sql += std::string(" ORDER BY ") + m_def.key();
    Statement statement = m_db.prepare(sql);
    if (m_filtered && m_filterCondition) {
        statement.bind(1, Value{m_filterCondition->second});
    }
    std::vector<std::vector<Value>> rows;
    while (statement.step()) {
        std::vector<Value> row;
        row.reserve(m_def.fields.size());
        for (std::size_t i = 0; i < m_def.fields.size(); ++i) {
            row.push_back(statement.column(static_cast<int>(i)));
        }
        rows.push_back(std::move(row));
    }
    m_rows = std::move(rows);
    m_current = 0;
    m_state = State::Browse;
}

void Table::open() {
    reload();
    m_active = true;
}

void Table::close() {
    m_rows.clear();
    m_current = 0;
    m_active = false;
    m_state = State::Browse;
}

void Table::setFilter(std::string_view text) {
    const FilterState previous{m_filter, m_filtered, m_filterCondition};
    m_filter = std::string(text);
    m_filterCondition.reset();
    const std::size_t equals = text.find('=');
    if (equals != std::string_view::npos) {
        const std::string_view field = common::trimmedView(text.substr(0, equals));
        const auto key = integerOf(Value{std::string(common::trimmedView(text.substr(equals + 1)))});
        if (!key) {
            throw std::logic_error("Table filter needs a whole number: " + m_filter);
        }
        m_filterCondition = std::make_pair(fieldIndex(field), *key);
    } else if (!common::isBlank(text)) {
        throw std::logic_error("Table filter not understood: " + m_filter);
    }
    if (m_active && m_filtered) {
        reloadOrRestore(previous);
    }
}

void Table::setFiltered(bool on) {
    const FilterState previous{m_filter, m_filtered, m_filterCondition};
    m_filtered = on;
    if (m_active) {
        reloadOrRestore(previous);
    }
}

// A reload that fails (a locked file) leaves the rows as they were, so the filter must go back too:
// otherwise rows of the old filter would be taken for rows of the new one.
void Table::reloadOrRestore(const FilterState& previous) {
    try {
        reload();
    } catch (...) {
        m_filter = previous.text;
        m_filtered = previous.on;
        m_filterCondition = previous.condition;
        throw;
    }
}

void Table::first() {
    m_current = 0;
}

void Table::next() {
    if (m_current < m_rows.size()) {
        ++m_current;
    }
}

bool Table::eof() const {
    return m_current >= m_rows.size();
}

void Table::moveBy(int n) {
    const auto target = static_cast<std::int64_t>(m_current) + n;
    m_current = static_cast<std::size_t>(std::clamp<std::int64_t>(target, 0, static_cast<std::int64_t>(m_rows.size())));
    if (m_current == m_rows.size() && !m_rows.empty() && n > 0) {
        // Moving past the end leaves the last row current, as a dataset cursor does.
        m_current = m_rows.size() - 1;
    }
}

int Table::recNo() const {
    return eof() ? 0 : static_cast<int>(m_current) + 1;
}

int Table::recordCount() const {
    return static_cast<int>(m_rows.size());
}

FieldValue Table::fieldByName(std::string_view name) const {
    const std::size_t index = fieldIndex(name);
    if (m_state != State::Browse) {
        return FieldValue(m_buffer[index]);
    }
    if (eof()) {
        throw std::logic_error(std::string(m_def.name) + ": no current row");
    }
    return FieldValue(m_rows[m_current][index]);
}

void Table::setFieldValue(std::string_view name, Value value) {
    if (m_state == State::Browse) {
        throw std::logic_error(std::string(m_def.name) + ": not in append or edit state");
    }
    const std::size_t index = fieldIndex(name);
    m_buffer[index] = std::move(value);
    m_assigned[index] = true;
}

bool Table::locate(std::string_view fieldNames, const std::vector<Value>& values) {
    const std::vector<std::string_view> names = splitFieldNames(fieldNames);
    if (names.size() != values.size()) {
        throw std::logic_error("Table::locate: fields and values differ in number");
    }
    std::vector<std::size_t> indexes;
    for (std::string_view name : names) {
        indexes.push_back(fieldIndex(name));
    }
    for (std::size_t row = 0; row < m_rows.size(); ++row) {
        bool all = true;
        for (std::size_t i = 0; i < indexes.size() && all; ++i) {
            all = sameValue(m_rows[row][indexes[i]], values[i], m_def.fields[indexes[i]].type);
        }
        if (all) {
            m_current = row;
            return true;
        }
    }
    return false;
}

void Table::append() {
    m_state = State::Insert;
    m_buffer.assign(m_def.fields.size(), Value{});
    m_assigned.assign(m_def.fields.size(), false);
}

void Table::edit() {
    if (eof()) {
        throw std::logic_error(std::string(m_def.name) + ": no current row to edit");
    }
    m_state = State::Edit;
    m_buffer = m_rows[m_current];
    m_assigned.assign(m_def.fields.size(), false);
}

void Table::cancel() {
    m_state = State::Browse;
    m_buffer.clear();
    m_assigned.clear();
}

void Table::post() {
    if (m_state == State::Browse) {
        return;
    }
    // Whatever happens, the component goes back to browsing; on failure its rows stay as they were.
    const State state = m_state;
    std::vector<Value> buffer = std::move(m_buffer);
    const std::vector<bool> assigned = std::move(m_assigned);
    cancel();

    std::vector<std::size_t> fields;
    for (std::size_t i = 1; i < m_def.fields.size(); ++i) {
        if (assigned[i]) {
            fields.push_back(i);
        }
    }
    std::string sql;
    if (state == State::Insert) {
        sql = std::string("INSERT INTO ") + m_def.name;
        if (fields.empty()) {
            sql += " DEFAULT VALUES";
        } else {
            std::string names;
            std::string placeholders;
            for (std::size_t i = 0; i < fields.size(); ++i) {
                names += (i == 0 ? "" : ", ");
                names += m_def.fields[fields[i]].name;
                placeholders += (i == 0 ? "?" : ", ?");
            }
            sql += " (" + names + ") VALUES (" + placeholders + ")";
        }
    } else {
        if (fields.empty()) {
            return;
        }
        sql = std::string("UPDATE ") + m_def.name + " SET ";
        for (std::size_t i = 0; i < fields.size(); ++i) {
            sql += (i == 0 ? "" : ", ");
            sql += std::string(m_def.fields[fields[i]].name) + " = ?";
        }
        sql += std::string(" WHERE ") + m_def.key() + " = ?";
    }
    Statement statement = m_db.prepare(sql);
    int parameter = 1;
    for (std::size_t field : fields) {
        statement.bind(parameter++, buffer[field]);
    }
    const std::int64_t key = state == State::Insert ? 0 : *integerOf(buffer[0]);
    if (state == State::Edit) {
        statement.bind(parameter, Value{key});
    }
    statement.step();

    const std::int64_t storedKey = state == State::Insert ? m_db.lastInsertRowid() : key;
    std::vector<Value> stored = readRow(storedKey);
    if (stored.empty()) {
        return;
    }
    if (state == State::Edit) {
        if (matchesFilter(stored)) {
            m_rows[m_current] = std::move(stored);
        } else {
            m_rows.erase(m_rows.begin() + static_cast<std::ptrdiff_t>(m_current));
        }
        return;
    }
    if (!matchesFilter(stored)) {
        return;
    }
    // Keys only grow, so the new row normally goes at the end; the search keeps key order anyway.
    const auto position =
        std::upper_bound(m_rows.begin(), m_rows.end(), storedKey, [](std::int64_t k, const std::vector<Value>& row) {
            return k < integerOf(row[0]).value_or(0);
        });
    // The insertion may move the rows, so the position is taken from the iterator it returns.
    const auto inserted = m_rows.insert(position, std::move(stored));
    m_current = static_cast<std::size_t>(inserted - m_rows.begin());
}

void Table::deleteRecord() {
    if (eof()) {
        throw std::logic_error(std::string(m_def.name) + ": no current row to delete");
    }
    cancel();
    Statement statement = m_db.prepare(std::string("DELETE FROM ") + m_def.name + " WHERE " + m_def.key() + " = ?1");
    statement.bind(1, m_rows[m_current][0]);
    statement.step();
    m_rows.erase(m_rows.begin() + static_cast<std::ptrdiff_t>(m_current));
    if (m_current >= m_rows.size() && !m_rows.empty()) {
        m_current = m_rows.size() - 1;
    }
}

std::int64_t appendRow(Table& table, std::initializer_list<std::pair<const char*, Value>> fields) {
    table.append();
    for (const auto& [name, value] : fields) {
        table.setFieldValue(name, value);
    }
    table.post();
    return table.fieldByName(table.def().key()).asInteger();
}

// ---- TDM

TDM::TDM(const std::string& path)
    : m_path(std::filesystem::absolute(path).string()), m_db(openCheckedFile(m_path)), m_query(m_db),
      m_schools(m_db, schoolTableDef()), m_grades(m_db, gradeTableDef()), m_classes(m_db, classTableDef()),
      m_subjects(m_db, subjectTableDef()) {
    checkTables(m_db, m_path);
    m_schools.open();
    m_grades.open();
    m_classes.open();
    m_subjects.open();
}

void TDM::closeConnection() {
    m_query.close();
    m_schools.close();
    m_grades.close();
    m_classes.close();
    m_subjects.close();
    m_db.close();
}

} // namespace catalogue
