#include "StageSnapshot.h"

#include "SqliteFile.h"
#include "interfacedb/SqlText.h"

namespace vantrell::bench {

namespace {

std::string text(sqlite3_stmt* statement, int column) {
    const auto* p = sqlite3_column_text(statement, column);
    return p != nullptr
               ? std::string(reinterpret_cast<const char*>(p),
                             static_cast<std::size_t>(sqlite3_column_bytes(statement, column)))
               : std::string();
}

template <class Row>
void each(SqliteFile& file, const char* sql, Row row) {
    auto statement = file.prepare(sql);
    while (sqlite3_step(statement.get()) == SQLITE_ROW) {
        row(statement.get());
    }
}

}  // namespace

void snapshotStage(const std::string& interfaceDb, const std::filesystem::path& copy) {
    std::filesystem::remove(copy);
    SqliteFile file(interfaceDb, SQLITE_OPEN_READONLY);
    file.exec("VACUUM INTO '" + db::escapeSqlText(copy.string()) + "'");
}

void restoreStagedTickets(const std::string& interfaceDb, const std::filesystem::path& copy) {
    SqliteFile file(interfaceDb, SQLITE_OPEN_READWRITE);
    // The program's connection is idle, but waits rather than fails should it not be.
    sqlite3_busy_timeout(file.handle(), 10'000);
    file.exec("ATTACH DATABASE '" + db::escapeSqlText(copy.string()) + "' AS staged");
    file.exec("INSERT INTO main.Punch SELECT * FROM staged.Punch");
    file.exec("DETACH DATABASE staged");
}

void readStage(const std::filesystem::path& copy, RunData& data) {
    SqliteFile file(copy, SQLITE_OPEN_READONLY);
    data.schema.clear();
    each(file, "select sql from sqlite_master where type = 'table' order by rowid",
         [&](sqlite3_stmt* s) { data.schema.push_back(text(s, 0)); });
    data.punch.clear();
    each(file,
         "select Sequence, Name, Date, Hours, PayType, Posted, Error from Punch order by rowid",
         [&](sqlite3_stmt* s) {
             data.punch.push_back({sqlite3_column_int64(s, 0), text(s, 1), text(s, 2),
                                   sqlite3_column_double(s, 3), text(s, 4),
                                   sqlite3_column_int(s, 5) != 0, text(s, 6)});
         });
    data.employees.clear();
    each(file, "select Name from Employee",
         [&](sqlite3_stmt* s) { data.employees.push_back(text(s, 0)); });
    data.payTypes.clear();
    each(file, "select Name from PayType",
         [&](sqlite3_stmt* s) { data.payTypes.push_back(text(s, 0)); });
}

}  // namespace vantrell::bench
