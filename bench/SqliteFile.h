#pragma once

#include <sqlite3.h>

#include <cstdint>
#include <filesystem>
#include <memory>
#include <string>
#include <string_view>

#include "interfacedb/SqliteHandles.h"

namespace vantrell::bench {

// A bare SQLite handle for the floors: the library alone, none of the program's engine.
// Every failure throws std::runtime_error naming the statement.
class SqliteFile {
  public:
    // Opens `path` with SQLite's open `flags` (SQLITE_OPEN_READONLY and so on).
    SqliteFile(const std::filesystem::path& path, int flags);
    SqliteFile(const SqliteFile&) = delete;
    SqliteFile& operator=(const SqliteFile&) = delete;

    // Runs every statement of `sql`, rows discarded.
    void exec(const std::string& sql);

    using Statement = db::SqliteStatement;
    // The first statement of `sql`, prepared; text after it is ignored.
    Statement prepare(std::string_view sql);

    // Steps a statement that returns no rows, then resets it for the next use. A step that
    // does not finish throws before the reset.
    void run(sqlite3_stmt* statement);

    // The handle, still owned by this object.
    sqlite3* handle() const { return db_.get(); }

  private:
    [[noreturn]] void fail(std::string_view what) const;
    db::SqliteDatabase db_;
};

// Binds `text` to parameter `index` (from 1) without a copy: it must live, unchanged, until
// the statement has run. SQLite's result is dropped.
void bindText(sqlite3_stmt* statement, int index, const std::string& text);

}  // namespace vantrell::bench
