#include "interfacedb/Catalog.h"

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
    const int rc =
        sqlite3_open_v2(path.c_str(), &raw, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr);
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
        const auto& column = table.columns[i];
        sql += (i == 0 ? "" : ", ") + detail::quoteIdentifier(column.name) + " " +
               declaredTypeFor(column.typeCode, column.definedSize);
        // Text compares without regard to letter case, as the Jet engine and the accounting
        // system compare names.
        if (columnTypeFromDeclared(declaredTypeFor(column.typeCode, column.definedSize)).kind ==
            ColumnType::Kind::Text) {
            sql += " COLLATE NOCASE";
        }
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

}  // namespace vantrell::db
