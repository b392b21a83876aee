#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <variant>

struct sqlite3;
struct sqlite3_stmt;

namespace catalogue {

// A field value as the catalogue holds it: nothing (NULL), a whole number or a text.
using Value = std::variant<std::monostate, std::int64_t, std::string>;

// Turns an SQLite result code into a common::Failure whose text says, in the user's terms, what
// went wrong (read-only file, locked file, full disk, ...). Codes that mean success pass.
void check(int rc, sqlite3* db);

class Statement;

// One SQLite connection. Move-only; closes the connection when destroyed.
class Database {
public:
    // Opens an existing database file for reading and writing; never creates one. Throws
    // common::Failure (with `path` in the text) when SQLite cannot open it.
    static Database openExisting(const std::string& path);

    Database(Database&& other) noexcept;
    Database& operator=(Database&& other) noexcept;
    Database(const Database&) = delete;
    Database& operator=(const Database&) = delete;
    ~Database();

    bool isOpen() const { return m_db != nullptr; }
    void close();
    // Runs statements that return no rows.
    void exec(const std::string& sql);
    Statement prepare(std::string_view sql);
    std::int64_t lastInsertRowid() const;
    sqlite3* handle() const { return m_db; }

private:
    explicit Database(sqlite3* db) : m_db(db) {}
    sqlite3* m_db = nullptr;
};

// A prepared statement of a Database. Move-only.
class Statement {
public:
    Statement(sqlite3* db, std::string_view sql);
    Statement(Statement&& other) noexcept;
    Statement& operator=(Statement&&) = delete;
    Statement(const Statement&) = delete;
    Statement& operator=(const Statement&) = delete;
    ~Statement();

    // Binds a value to the parameter at 1-based `index`, or to the named parameter (":Param1").
    void bind(int index, const Value& value);
    void bind(std::string_view name, const Value& value);
    int parameterCount() const;
    // Executes up to the next row; false when the statement is done.
    bool step();
    int columnCount() const;
    std::string columnName(int column) const;
    Value column(int column) const;

private:
    sqlite3* m_db = nullptr;
    sqlite3_stmt* m_stmt = nullptr;
};

} // namespace catalogue
