#include "SqliteFile.h"

#include <stdexcept>

namespace vantrell::bench {

SqliteFile::SqliteFile(const std::filesystem::path& path, int flags) {
    sqlite3* raw = nullptr;
    const int rc = sqlite3_open_v2(path.c_str(), &raw, flags, nullptr);
    db_.reset(raw);
    if (rc != SQLITE_OK) {
        throw std::runtime_error("cannot open " + path.string() + ": " +
                                 (raw != nullptr ? sqlite3_errmsg(raw) : "out of memory"));
    }
}

void SqliteFile::fail(std::string_view what) const {
    throw std::runtime_error(std::string(what) + ": " + sqlite3_errmsg(db_.get()));
}

void SqliteFile::exec(const std::string& sql) {
    if (sqlite3_exec(db_.get(), sql.c_str(), nullptr, nullptr, nullptr) != SQLITE_OK) {
        fail(sql);
    }
}

SqliteFile::Statement SqliteFile::prepare(std::string_view sql) {
    sqlite3_stmt* raw = nullptr;
    if (sqlite3_prepare_v2(db_.get(), sql.data(), static_cast<int>(sql.size()), &raw, nullptr) !=
        SQLITE_OK) {
        fail(sql);
    }
    return Statement(raw);
}

void SqliteFile::run(sqlite3_stmt* statement) {
    if (sqlite3_step(statement) != SQLITE_DONE) {
        fail(sqlite3_sql(statement));
    }
    sqlite3_reset(statement);
}

void bindText(sqlite3_stmt* statement, int index, const std::string& text) {
    sqlite3_bind_text(statement, index, text.data(), static_cast<int>(text.size()), SQLITE_STATIC);
}

}  // namespace vantrell::bench
