#include "SqliteFloors.h"

#include <cstdint>

#include "SqliteFile.h"
#include "extract/ExtractionStatements.h"
#include "interfacedb/JournalSettings.h"

namespace vantrell::bench {

namespace {

constexpr int kReadOnly = SQLITE_OPEN_READONLY;
constexpr int kReadWrite = SQLITE_OPEN_READWRITE;
constexpr int kCreate = SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE;

// Kept so that the reads cannot be optimised away.
volatile std::uint64_t sink = 0;

// Reads every column of every row as its stored type gives it.
void readAll(sqlite3_stmt* statement) {
    std::uint64_t sum = 0;
    const int columns = sqlite3_column_count(statement);
    while (sqlite3_step(statement) == SQLITE_ROW) {
        for (int i = 0; i < columns; ++i) {
            switch (sqlite3_column_type(statement, i)) {
                case SQLITE_INTEGER:
                    sum += static_cast<std::uint64_t>(sqlite3_column_int64(statement, i));
                    break;
                case SQLITE_FLOAT:
                    sum += static_cast<std::uint64_t>(sqlite3_column_double(statement, i));
                    break;
                case SQLITE_NULL:
                    break;
                default:
                    sqlite3_column_text(statement, i);
                    sum += static_cast<std::uint64_t>(sqlite3_column_bytes(statement, i));
            }
        }
    }
    sink = sink + sum;
}

void applyEngineSettings(SqliteFile& file) {
    for (const char* pragma : db::kJournalSettings) {
        file.exec(pragma);
    }
}

}  // namespace

Sample readReportData(const std::filesystem::path& chronelFile) {
    SqliteFile file(chronelFile, kReadOnly);
    return measure([&] {
        auto statement = file.prepare(extraction::kDaysQuery);
        readAll(statement.get());
    });
}

Sample insertPunch(const std::filesystem::path& path, const RunData& data, bool oneTransaction) {
    std::filesystem::remove(path);
    SqliteFile file(path, kCreate);
    applyEngineSettings(file);
    for (const auto& statement : data.schema) {
        file.exec(statement);
    }
    // The indexes that finding one row by its key needs, whatever the program's file has.
    file.exec("CREATE INDEX floor_punch ON Punch (Sequence)");
    file.exec("CREATE INDEX floor_employee ON Employee (Name)");
    file.exec("CREATE INDEX floor_pay_type ON PayType (Name)");
    return measure([&] {
        auto insert = file.prepare(
            "INSERT INTO Punch (Sequence, Name, Date, Hours, PayType, Posted, Error) "
            "VALUES (?, ?, ?, ?, ?, ?, ?)");
        sqlite3_stmt* s = insert.get();
        if (oneTransaction) {
            file.exec("BEGIN");
        }
        for (const auto& row : data.punch) {
            sqlite3_bind_int64(s, 1, row.sequence);
            bindText(s, 2, row.name);
            bindText(s, 3, row.date);
            sqlite3_bind_double(s, 4, row.hours);
            bindText(s, 5, row.payType);
            sqlite3_bind_int(s, 6, row.posted ? 1 : 0);
            bindText(s, 7, row.error);
            file.run(s);
        }
        if (oneTransaction) {
            file.exec("COMMIT");
        }
    });
}

Sample readPunch(const std::filesystem::path& path) {
    SqliteFile file(path, kReadOnly);
    return measure([&] {
        auto statement = file.prepare("select * from Punch order by Sequence");
        readAll(statement.get());
    });
}

Sample deletePunchInOneTransaction(const std::filesystem::path& path, const RunData& data) {
    SqliteFile file(path, kReadWrite);
    applyEngineSettings(file);
    return measure([&] {
        auto remove = file.prepare("delete from Punch where Sequence=?");
        file.exec("BEGIN");
        for (const auto& row : data.punch) {
            sqlite3_bind_int64(remove.get(), 1, row.sequence);
            file.run(remove.get());
        }
        file.exec("COMMIT");
    });
}

Sample deleteNames(const std::filesystem::path& path, const RunData& data) {
    SqliteFile file(path, kReadWrite);
    applyEngineSettings(file);
    file.exec("BEGIN");
    for (const auto& [table, names] :
         {std::pair{"Employee", &data.employees}, std::pair{"PayType", &data.payTypes}}) {
        auto insert = file.prepare(std::string("insert into ") + table + " (Name) values (?)");
        for (const auto& name : *names) {
            bindText(insert.get(), 1, name);
            file.run(insert.get());
        }
    }
    file.exec("COMMIT");
    return measure([&] {
        file.exec("BEGIN");
        for (const auto& [table, names] :
             {std::pair{"Employee", &data.employees}, std::pair{"PayType", &data.payTypes}}) {
            auto remove = file.prepare(std::string("delete from ") + table + " where Name=?");
            for (const auto& name : *names) {
                bindText(remove.get(), 1, name);
                file.run(remove.get());
            }
        }
        file.exec("COMMIT");
    });
}

Sample rebuildNames(const std::filesystem::path& path) {
    SqliteFile file(path, kReadWrite);
    applyEngineSettings(file);
    return measure([&] {
        file.exec("BEGIN");
        for (const auto& [table, column] :
             {std::pair{"Employee", "Name"}, std::pair{"PayType", "PayType"}}) {
            file.exec(std::string("delete from ") + table);
            auto groups =
                file.prepare(std::string("select ") + column + " from Punch group by " + column);
            auto insert = file.prepare(std::string("insert into ") + table + " (Name) values (?)");
            while (sqlite3_step(groups.get()) == SQLITE_ROW) {
                sqlite3_bind_value(insert.get(), 1, sqlite3_column_value(groups.get(), 0));
                file.run(insert.get());
            }
        }
        file.exec("COMMIT");
    });
}

Sample recordAndDeletePunch(const std::filesystem::path& path, const RunData& data) {
    SqliteFile file(path, kReadWrite);
    applyEngineSettings(file);
    return measure([&] {
        auto record = file.prepare(
            "insert into ExportTicket (ExportID, Sequence, Name, Date, Hours, PayType, TxnID,"
            " Undone) select 1, Sequence, Name, Date, Hours, PayType, ?, 0 from Punch"
            " where Sequence=?");
        auto remove = file.prepare("delete from Punch where Sequence=?");
        file.exec("BEGIN");
        for (const auto& row : data.punch) {
            // Bound without a copy: the text must live until the statement has run.
            const std::string txnId = std::to_string(row.sequence) + "-1700000000";
            bindText(record.get(), 1, txnId);
            sqlite3_bind_int64(record.get(), 2, row.sequence);
            file.run(record.get());
            sqlite3_bind_int64(remove.get(), 1, row.sequence);
            file.run(remove.get());
        }
        file.exec("COMMIT");
    });
}

Sample readCompanyLists(const std::filesystem::path& companyFile) {
    SqliteFile file(companyFile, kReadOnly);
    return measure([&] {
        for (const char* table : {"employee", "wage_item"}) {
            auto statement = file.prepare(
                std::string("select list_id, name, is_active, time_created, time_modified from ") +
                table + " order by name, list_id");
            readAll(statement.get());
        }
    });
}

Sample lookUpTicketNames(const std::filesystem::path& companyFile, const RunData& data) {
    SqliteFile file(companyFile, kReadOnly);
    return measure([&] {
        auto employee = file.prepare(
            "select list_id, name, is_active, time_created, time_modified from employee "
            "where name = ?");
        auto wageItem = file.prepare(
            "select list_id, name, is_active, time_created, time_modified from wage_item "
            "where name = ?");
        // The simulator answers a whole message inside one transaction.
        file.exec("BEGIN");
        for (const auto& row : data.punch) {
            bindText(employee.get(), 1, row.name);
            readAll(employee.get());
            sqlite3_reset(employee.get());
            bindText(wageItem.get(), 1, row.payType);
            readAll(wageItem.get());
            sqlite3_reset(wageItem.get());
        }
        file.exec("COMMIT");
    });
}

Sample readCompanyTickets(const std::filesystem::path& companyFile, const std::string& fromDate,
                          const std::string& toDate) {
    SqliteFile file(companyFile, kReadOnly);
    return measure([&] {
        auto statement = file.prepare(
            "select t.txn_number, t.time_created, t.txn_date, t.duration_seconds, t.notes,"
            " t.billable_status, e.list_id, e.name, e.is_active, e.time_created,"
            " e.time_modified, w.list_id, w.name, w.is_active, w.time_created, w.time_modified"
            " from time_tracking t join employee e on e.list_id = t.employee_list_id"
            " left join wage_item w on w.list_id = t.wage_item_list_id"
            " where t.txn_date >= ?1 and t.txn_date <= ?2 order by t.txn_date, t.txn_number");
        bindText(statement.get(), 1, fromDate);
        bindText(statement.get(), 2, toDate);
        readAll(statement.get());
    });
}

}  // namespace vantrell::bench
