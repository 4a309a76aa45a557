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
    SqliteFile(const std::filesystem::path& path, int flags);
    SqliteFile(const SqliteFile&) = delete;
    SqliteFile& operator=(const SqliteFile&) = delete;

    void exec(const std::string& sql);

    using Statement = db::SqliteStatement;
    Statement prepare(std::string_view sql);

    // Steps a statement that returns no rows, then resets it for the next use.
    void run(sqlite3_stmt* statement);

    sqlite3* handle() const { return db_.get(); }

  private:
    [[noreturn]] void fail(std::string_view what) const;
    db::SqliteDatabase db_;
};

void bindText(sqlite3_stmt* statement, int index, const std::string& text);

}  // namespace vantrell::bench
