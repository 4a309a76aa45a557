#include "interfacedb/Catalog.h"

#include <algorithm>
#include <filesystem>

#include "diag/FileSystem.h"
#include "interfacedb/ColumnType.h"
#include "interfacedb/Connection.h"
#include "interfacedb/ConnectionString.h"
#include "interfacedb/DbError.h"
#include "interfacedb/Sqlite.h"

namespace vantrell::db {

namespace {

// Marks a file as made by this program's catalog ("VANT").
constexpr const char* kApplicationIdPragma = "PRAGMA application_id=1447121492";

// A column's definition in a statement.
std::string columnSql(const TableDefinition::ColumnDefinition& column) {
    const std::string declared = declaredTypeFor(column.typeCode, column.definedSize);
    std::string sql = detail::quoteIdentifier(column.name) + " " + declared;
    // Text compares without regard to letter case, as the Jet engine and the accounting
    // system compare names.
    if (columnTypeFromDeclared(declared).kind == ColumnType::Kind::Text) {
        sql += " COLLATE NOCASE";
    }
    return sql;
}

}  // namespace

Catalog::Catalog() = default;
Catalog::~Catalog() = default;

void Catalog::create(std::string_view connectionString) {
    const std::string path = dataSourceOf(connectionString);
    std::error_code error;
    if (path.empty()) {
        throw DbError("The connection string names no file.");
    }
    if (std::filesystem::exists(utf8ToPath(path), error)) {
        throw DbError("Database already exists: '" + path + "'.");
    }
    sqlite3* raw = nullptr;
    const int rc = sqlite3_open_v2(
        path.c_str(), &raw, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE | kOneThreadPerConnection,
        nullptr);
    auto database = std::make_shared<detail::Database>(raw, path);
    if (rc != SQLITE_OK) {
        throw DbError("Could not create '" + path + "': " + sqlite3_errstr(rc), rc);
    }
    // Writing the header makes the file exist on disk as a database, not as an empty file.
    detail::check(sqlite3_exec(raw, kApplicationIdPragma, nullptr, nullptr, nullptr), raw);
    database_ = std::move(database);
}

void Catalog::attach(std::string_view connectionString) {
    database_ = openDatabaseFile(dataSourceOf(connectionString));
}

std::vector<std::string> Catalog::tableNames() const {
    if (!database_) {
        throw DbError("Operation is not allowed when the object is closed.");
    }
    auto statement = detail::prepareSingle(
        database_->handle(), "SELECT name FROM sqlite_master WHERE type='table' ORDER BY rowid");
    std::vector<std::string> names;
    int rc = SQLITE_ROW;
    while ((rc = sqlite3_step(statement.get())) == SQLITE_ROW) {
        const auto* name = sqlite3_column_text(statement.get(), 0);
        names.emplace_back(name != nullptr ? reinterpret_cast<const char*>(name) : "");
    }
    detail::check(rc, database_->handle());
    return names;
}

void Catalog::appendTable(const TableDefinition& table) {
    if (!database_) {
        throw DbError("Operation is not allowed when the object is closed.");
    }
    if (table.name.empty() || table.columns.empty()) {
        throw DbError("A table needs a name and at least one column.");
    }
    std::string sql = "CREATE TABLE " + detail::quoteIdentifier(table.name) + " (";
    for (std::size_t i = 0; i < table.columns.size(); ++i) {
        sql += (i == 0 ? "" : ", ") + columnSql(table.columns[i]);
    }
    sql += ")";
    auto statement = detail::prepareSingle(database_->handle(), sql);
    database_->prepareForWrites();
    detail::check(sqlite3_step(statement.get()), database_->handle());
}

void Catalog::appendIndex(std::string_view table, std::string_view column) {
    if (!database_) {
        throw DbError("Operation is not allowed when the object is closed.");
    }
    const std::string name = std::string(table) + "_" + std::string(column);
    const std::string sql = "CREATE INDEX IF NOT EXISTS " + detail::quoteIdentifier(name) + " ON " +
                            detail::quoteIdentifier(table) + " (" +
                            detail::quoteIdentifier(column) + ")";
    auto statement = detail::prepareSingle(database_->handle(), sql);
    database_->prepareForWrites();
    detail::check(sqlite3_step(statement.get()), database_->handle());
}

std::vector<Catalog::ColumnInfo> Catalog::tableColumns(std::string_view table) const {
    if (!database_) {
        throw DbError("Operation is not allowed when the object is closed.");
    }
    // The pragma finds a table in any letter case: the exact name is checked first.
    std::vector<std::string> names = tableNames();
    if (std::find(names.begin(), names.end(), std::string(table)) == names.end()) {
        return {};
    }
    auto statement = detail::prepareSingle(
        database_->handle(), "PRAGMA table_info(" + detail::quoteIdentifier(table) + ")");
    std::vector<ColumnInfo> columns;
    int rc = SQLITE_ROW;
    while ((rc = sqlite3_step(statement.get())) == SQLITE_ROW) {
        const auto* name = sqlite3_column_text(statement.get(), 1);
        const auto* type = sqlite3_column_text(statement.get(), 2);
        columns.push_back({name != nullptr ? reinterpret_cast<const char*>(name) : "",
                           type != nullptr ? reinterpret_cast<const char*>(type) : ""});
    }
    detail::check(rc, database_->handle());
    return columns;
}

void Catalog::appendColumn(std::string_view table,
                           const TableDefinition::ColumnDefinition& column) {
    if (!database_) {
        throw DbError("Operation is not allowed when the object is closed.");
    }
    const std::string sql =
        "ALTER TABLE " + detail::quoteIdentifier(table) + " ADD COLUMN " + columnSql(column);
    auto statement = detail::prepareSingle(database_->handle(), sql);
    database_->prepareForWrites();
    detail::check(sqlite3_step(statement.get()), database_->handle());
}

}  // namespace vantrell::db
