#include "database.h"

#include "common/errors.h"
#include "common/messages.h"

#include <sqlite3.h>

#include <utility>

namespace catalogue {

namespace {

const char* reasonOf(int rc) {
    switch (rc & 0xff) {
    case SQLITE_READONLY:
        return messages::kDatabaseReadOnly;
    case SQLITE_BUSY:
    case SQLITE_LOCKED:
        return messages::kDatabaseLocked;
    case SQLITE_FULL:
        return messages::kDatabaseFull;
    case SQLITE_CORRUPT:
    case SQLITE_NOTADB:
        return messages::kDatabaseCorrupt;
    case SQLITE_IOERR:
    case SQLITE_CANTOPEN:
        return messages::kDatabaseIoError;
    default:
        return nullptr;
    }
}

// How long a write waits for another program's lock to go before it gives up.
constexpr int kBusyTimeoutMs = 1000;

} // namespace

void check(int rc, sqlite3* db) {
    if (rc == SQLITE_OK || rc == SQLITE_ROW || rc == SQLITE_DONE) {
        return;
    }
    const char* reason = reasonOf(rc);
    std::string text = reason != nullptr ? reason : (db != nullptr ? sqlite3_errmsg(db) : sqlite3_errstr(rc));
    throw common::Failure(messages::catalogueOperationFailed(text));
}

Database Database::openExisting(const std::string& path) {
    sqlite3* db = nullptr;
    const int rc = sqlite3_open_v2(path.c_str(), &db, SQLITE_OPEN_READWRITE, nullptr);
    if (rc != SQLITE_OK) {
        const char* reason = reasonOf(rc);
        std::string text = reason != nullptr ? reason : sqlite3_errstr(rc);
        sqlite3_close(db);
        throw common::Failure(messages::catalogueUnreadable(path, text));
    }
    sqlite3_busy_timeout(db, kBusyTimeoutMs);
    sqlite3_extended_result_codes(db, 1);
    return Database(db);
}

Database::Database(Database&& other) noexcept : m_db(std::exchange(other.m_db, nullptr)) {}

Database& Database::operator=(Database&& other) noexcept {
    if (this != &other) {
        close();
        m_db = std::exchange(other.m_db, nullptr);
    }
    return *this;
}

Database::~Database() { close(); }

void Database::close() {
    if (m_db != nullptr) {
        sqlite3_close_v2(m_db);
        m_db = nullptr;
    }
}

void Database::exec(const std::string& sql) {
    char* error = nullptr;
    const int rc = sqlite3_exec(m_db, sql.c_str(), nullptr, nullptr, &error);
    sqlite3_free(error);
    check(rc, m_db);
}

Statement Database::prepare(std::string_view sql) { return Statement(m_db, sql); }

std::int64_t Database::lastInsertRowid() const { return sqlite3_last_insert_rowid(m_db); }

Statement::Statement(sqlite3* db, std::string_view sql) : m_db(db) {
    check(sqlite3_prepare_v2(db, sql.data(), static_cast<int>(sql.size()), &m_stmt, nullptr), db);
}

Statement::Statement(Statement&& other) noexcept
    : m_db(other.m_db), m_stmt(std::exchange(other.m_stmt, nullptr)) {}

Statement::~Statement() { sqlite3_finalize(m_stmt); }

void Statement::bind(int index, const Value& value) {
    int rc = SQLITE_OK;
    if (const auto* number = std::get_if<std::int64_t>(&value)) {
        rc = sqlite3_bind_int64(m_stmt, index, *number);
    } else if (const auto* text = std::get_if<std::string>(&value)) {
        rc = sqlite3_bind_text(m_stmt, index, text->data(), static_cast<int>(text->size()), SQLITE_TRANSIENT);
    } else {
        rc = sqlite3_bind_null(m_stmt, index);
    }
    check(rc, m_db);
}

void Statement::bind(std::string_view name, const Value& value) {
    const std::string parameter(name);
    const int index = sqlite3_bind_parameter_index(m_stmt, parameter.c_str());
    if (index == 0) {
        throw common::Failure(messages::catalogueOperationFailed("statement has no parameter " + parameter));
    }
    bind(index, value);
}

int Statement::parameterCount() const { return sqlite3_bind_parameter_count(m_stmt); }

bool Statement::step() {
    const int rc = sqlite3_step(m_stmt);
    check(rc, m_db);
    return rc == SQLITE_ROW;
}

int Statement::columnCount() const { return sqlite3_column_count(m_stmt); }

std::string Statement::columnName(int column) const { return sqlite3_column_name(m_stmt, column); }

Value Statement::column(int column) const {
    switch (sqlite3_column_type(m_stmt, column)) {
    case SQLITE_INTEGER:
        return std::int64_t{sqlite3_column_int64(m_stmt, column)};
    case SQLITE_NULL:
        return std::monostate{};
    case SQLITE_FLOAT:
        return static_cast<std::int64_t>(sqlite3_column_double(m_stmt, column));
    default: {
        const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(m_stmt, column));
        const int size = sqlite3_column_bytes(m_stmt, column);
        return std::string(text != nullptr ? text : "", static_cast<std::size_t>(size));
    }
    }
}

} // namespace catalogue
