#include "standins/CompanyFile.h"

#include <sqlite3.h>

#include <algorithm>
#include <charconv>
#include <iterator>
#include <map>
#include <set>
#include <string_view>
#include <system_error>
#include <utility>
#include <variant>

#include "diag/FileSystem.h"
#include "diag/Utf8.h"

namespace vantrell::standins {

namespace {

// "QBSW" in the file header: what makes a SQLite file a company file.
constexpr int kApplicationId = 0x51425357;
constexpr int kFormat = 1;

// Queries read tickets by TxnDate in TxnDate order. Files written before the index existed
// get it when opened; without it they are still read, only more slowly.
constexpr const char* kTicketDateIndex =
    "create index if not exists time_tracking_by_date on time_tracking (txn_date)";

// Payroll items that are not wage items. Files written before the table existed get it when
// opened; one that cannot be changed then reads as holding none.
constexpr const char* kNonWageItemTable =
    "create table if not exists nonwage_item (list_id text primary key,"
    " name text not null collate nocase unique, is_active integer not null,"
    " time_created integer not null, time_modified integer not null)";

// Settings of the simulated accounting system itself. Files written before the table existed
// get it when opened; one that cannot be changed then reads as holding none.
constexpr const char* kSettingTable =
    "create table if not exists setting (name text primary key, value text not null)";

constexpr const char* kHighestVersionSetting = "highest_qbxml_version";

const char* const kSchema[] = {
    "create table company (id integer primary key check (id = 1),"
    " next_list_number integer not null, expense_account_list_id text not null,"
    " time_created integer not null)",
    "create table employee (list_id text primary key, name text not null collate nocase unique,"
    " is_active integer not null, time_created integer not null,"
    " time_modified integer not null)",
    "create table wage_item (list_id text primary key, name text not null collate nocase unique,"
    " is_active integer not null, wage_type text not null default 'HourlyRegular',"
    " time_created integer not null, time_modified integer not null)",
    "create table time_tracking (txn_number integer primary key autoincrement,"
    " time_created integer not null, txn_date text not null,"
    " employee_list_id text not null references employee (list_id),"
    " wage_item_list_id text references wage_item (list_id),"
    " duration_seconds integer not null, notes text, billable_status text not null)",
    kTicketDateIndex,
    kNonWageItemTable,
    kSettingTable,
};

using Statement = db::SqliteStatement;

[[noreturn]] void storageFailure(sqlite3* db) {
    throw CompanyFileError(
        CompanyFileError::Reason::Storage,
        std::string("The company file could not be used: ") + sqlite3_errmsg(db));
}

Statement prepare(sqlite3* db, const char* sql) {
    sqlite3_stmt* raw = nullptr;
    if (sqlite3_prepare_v2(db, sql, -1, &raw, nullptr) != SQLITE_OK) {
        storageFailure(db);
    }
    return Statement(raw);
}

void bind(sqlite3* db, sqlite3_stmt* s, int index, const std::string& text) {
    if (sqlite3_bind_text(s, index, text.data(), static_cast<int>(text.size()), SQLITE_TRANSIENT) !=
        SQLITE_OK) {
        storageFailure(db);
    }
}

void bind(sqlite3* db, sqlite3_stmt* s, int index, std::int64_t value) {
    if (sqlite3_bind_int64(s, index, value) != SQLITE_OK) {
        storageFailure(db);
    }
}

void bindOptional(sqlite3* db, sqlite3_stmt* s, int index, const std::optional<std::string>& text) {
    if (text) {
        bind(db, s, index, *text);
    } else if (sqlite3_bind_null(s, index) != SQLITE_OK) {
        storageFailure(db);
    }
}

// Steps a statement that returns no rows.
void run(sqlite3* db, sqlite3_stmt* s) {
    if (sqlite3_step(s) != SQLITE_DONE) {
        storageFailure(db);
    }
}

// Steps to the next row: true when there is one.
bool nextRow(sqlite3* db, sqlite3_stmt* s) {
    const int rc = sqlite3_step(s);
    if (rc == SQLITE_ROW) {
        return true;
    }
    if (rc != SQLITE_DONE) {
        storageFailure(db);
    }
    return false;
}

// Resets a cached statement and clears its values when its use ends, however it ends.
class ResetAfterUse {
  public:
    explicit ResetAfterUse(sqlite3_stmt* statement) : statement_(statement) {}
    ~ResetAfterUse() {
        sqlite3_reset(statement_);
        sqlite3_clear_bindings(statement_);
    }
    ResetAfterUse(const ResetAfterUse&) = delete;
    ResetAfterUse& operator=(const ResetAfterUse&) = delete;

  private:
    sqlite3_stmt* statement_;
};

// A column's text as SQLite holds it, until the statement moves on; empty for Null.
std::string_view columnView(sqlite3_stmt* s, int column) {
    const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(s, column));
    return text ? std::string_view(text, static_cast<std::size_t>(sqlite3_column_bytes(s, column)))
                : std::string_view();
}

std::string columnText(sqlite3_stmt* s, int column) {
    return std::string(columnView(s, column));
}

const char* tableOf(ListKind kind) {
    switch (kind) {
        case ListKind::Employee:
            return "employee";
        case ListKind::WageItem:
            return "wage_item";
        case ListKind::NonWageItem:
            return "nonwage_item";
    }
    return "employee";
}
const char* wordFor(ListKind kind) {
    switch (kind) {
        case ListKind::Employee:
            return "employee";
        case ListKind::WageItem:
            return "wage item";
        case ListKind::NonWageItem:
            return "payroll item";
    }
    return "employee";
}

// Wage items and the other payroll items share one list of names, as payroll items do.
std::optional<ListKind> sharesNamesWith(ListKind kind) {
    switch (kind) {
        case ListKind::WageItem:
            return ListKind::NonWageItem;
        case ListKind::NonWageItem:
            return ListKind::WageItem;
        case ListKind::Employee:
            break;
    }
    return std::nullopt;
}

std::string quoted(const std::string& name) {
    return "\"" + name + "\"";
}

[[noreturn]] void refuseName(const std::string& description) {
    throw CompanyFileError(CompanyFileError::Reason::NameRefused, description);
}

void checkName(ListKind kind, const std::string& name) {
    const auto decoded = decodeUtf8(name);
    if (name.empty()) {
        refuseName(std::string(kind == ListKind::Employee ? "An " : "A ") + wordFor(kind) +
                   " name cannot be empty.");
    }
    if (!decoded) {
        refuseName(std::string("The ") + wordFor(kind) + " name " + quoted(name) +
                   " is not valid UTF-8 text.");
    }
    for (const char32_t c : *decoded) {
        if (c < 0x20 || !isXmlChar(c)) {
            refuseName(std::string("The ") + wordFor(kind) + " name " + quoted(name) +
                       " holds a control character.");
        }
    }
    const std::size_t limit = kind == ListKind::Employee ? CompanyFile::kEmployeeNameLimit
                                                         : CompanyFile::kWageItemNameLimit;
    if (decoded->size() > limit) {
        refuseName(std::string("The ") + wordFor(kind) + " name " + quoted(name) + " has " +
                   std::to_string(decoded->size()) + " characters; at most " +
                   std::to_string(limit) + " are allowed.");
    }
}

ListRecord readListRecord(sqlite3_stmt* s) {
    ListRecord record;
    record.listId = columnText(s, 0);
    record.name = columnText(s, 1);
    record.active = sqlite3_column_int(s, 2) != 0;
    record.timeCreated = sqlite3_column_int64(s, 3);
    record.timeModified = sqlite3_column_int64(s, 4);
    return record;
}

// A ticket with its employee and wage item; the statements that read tickets add their own
// condition and order.
constexpr const char* kTicketColumns =
    "select t.txn_number, t.time_created, t.txn_date, t.duration_seconds, t.notes,"
    " t.billable_status, e.list_id, e.name, e.is_active, e.time_created, e.time_modified,"
    " w.list_id, w.name, w.is_active, w.time_created, w.time_modified"
    " from time_tracking t join employee e on e.list_id = t.employee_list_id"
    " left join wage_item w on w.list_id = t.wage_item_list_id";

// Writes the TxnID of a ticket into `out`, reusing its room: the transaction number in
// hexadecimal capitals, "-", and the moment created in decimal.
void writeTxnId(std::string& out, std::int64_t txnNumber, std::int64_t timeCreated) {
    char buffer[48];
    char* end =
        std::to_chars(buffer, buffer + 24, static_cast<unsigned long long>(txnNumber), 16).ptr;
    for (char* c = buffer; c != end; ++c) {
        if (*c >= 'a') {
            *c = static_cast<char>(*c - 'a' + 'A');
        }
    }
    *end++ = '-';
    end = std::to_chars(end, buffer + sizeof buffer, timeCreated).ptr;
    out.assign(buffer, end);
}

std::string txnIdOf(std::int64_t txnNumber, std::int64_t timeCreated) {
    std::string txnId;
    writeTxnId(txnId, txnNumber, timeCreated);
    return txnId;
}

// The transaction number a TxnID starts with (hexadecimal digits before the "-"); nothing when
// the text does not have that form.
std::optional<std::int64_t> txnNumberOf(const std::string& txnId) {
    const std::size_t dash = txnId.find('-');
    if (dash == 0 || dash == std::string::npos || dash > 15) {
        return std::nullopt;
    }
    std::int64_t number = 0;
    for (std::size_t i = 0; i < dash; ++i) {
        const char c = txnId[i];
        int digit = 0;
        if (c >= '0' && c <= '9') {
            digit = c - '0';
        } else if (c >= 'A' && c <= 'F') {
            digit = c - 'A' + 10;
        } else {
            return std::nullopt;
        }
        number = number * 16 + digit;
    }
    return number;
}

// Reads a row of kTicketColumns.
PostedTicket readTicket(sqlite3_stmt* s) {
    PostedTicket posted;
    posted.txnNumber = sqlite3_column_int64(s, 0);
    posted.timeCreated = sqlite3_column_int64(s, 1);
    posted.txnId = txnIdOf(posted.txnNumber, posted.timeCreated);
    posted.ticket.txnDate = columnText(s, 2);
    posted.ticket.durationSeconds = sqlite3_column_int64(s, 3);
    if (sqlite3_column_type(s, 4) != SQLITE_NULL) {
        posted.ticket.notes = columnText(s, 4);
    }
    posted.ticket.billableStatus = columnText(s, 5);
    posted.ticket.employee.listId = columnText(s, 6);
    posted.ticket.employee.name = columnText(s, 7);
    posted.ticket.employee.active = sqlite3_column_int(s, 8) != 0;
    posted.ticket.employee.timeCreated = sqlite3_column_int64(s, 9);
    posted.ticket.employee.timeModified = sqlite3_column_int64(s, 10);
    if (sqlite3_column_type(s, 11) != SQLITE_NULL) {
        ListRecord wage;
        wage.listId = columnText(s, 11);
        wage.name = columnText(s, 12);
        wage.active = sqlite3_column_int(s, 13) != 0;
        wage.timeCreated = sqlite3_column_int64(s, 14);
        wage.timeModified = sqlite3_column_int64(s, 15);
        posted.ticket.wageItem = std::move(wage);
    }
    return posted;
}

// A ticket's own columns, its employee and wage item by ListID alone: reading them together
// with the entries they name would join two lists by their text keys for every ticket.
constexpr const char* kTicketOwnColumns =
    "select t.txn_number, t.time_created, t.txn_date, t.duration_seconds, t.notes,"
    " t.billable_status, t.employee_list_id, t.wage_item_list_id from time_tracking t";

// Reads a row of kTicketOwnColumns into `posted`, reusing the room of its texts; false for a
// ticket whose employee the file does not hold, which a reading of whole records leaves out.
template <class FindEmployee, class FindWageItem>
bool readOwnTicket(sqlite3_stmt* s, FindEmployee findEmployee, FindWageItem findWageItem,
                   PostedTicket& posted) {
    if (!findEmployee(columnView(s, 6), posted.ticket.employee)) {
        return false;
    }
    std::optional<ListRecord>& wageItem = posted.ticket.wageItem;
    if (sqlite3_column_type(s, 7) == SQLITE_NULL) {
        wageItem.reset();
    } else {
        if (!wageItem) {
            wageItem.emplace();
        }
        if (!findWageItem(columnView(s, 7), *wageItem)) {
            wageItem.reset();
        }
    }
    posted.txnNumber = sqlite3_column_int64(s, 0);
    posted.timeCreated = sqlite3_column_int64(s, 1);
    writeTxnId(posted.txnId, posted.txnNumber, posted.timeCreated);
    posted.ticket.txnDate.assign(columnView(s, 2));
    posted.ticket.durationSeconds = sqlite3_column_int64(s, 3);
    if (sqlite3_column_type(s, 4) == SQLITE_NULL) {
        posted.ticket.notes.reset();
    } else {
        if (!posted.ticket.notes) {
            posted.ticket.notes.emplace();
        }
        posted.ticket.notes->assign(columnView(s, 4));
    }
    posted.ticket.billableStatus.assign(columnView(s, 5));
    return true;
}

}  // namespace

// A message of many tickets runs the same few statements for every ticket.
struct CompanyFile::StatementCache {
    std::map<std::string, Statement, std::less<>> statements;
};

sqlite3_stmt* CompanyFile::cached(const std::string& sql) const {
    auto& statements = statements_->statements;
    auto found = statements.find(sql);
    if (found == statements.end()) {
        found = statements.emplace(sql, prepare(db_.get(), sql.c_str())).first;
    }
    return found->second.get();
}

void CompanyFile::create(const std::filesystem::path& path, std::int64_t now) {
    std::error_code error;
    const bool exists = std::filesystem::exists(path, error);
    if (error) {
        throw CompanyFileError(CompanyFileError::Reason::Storage,
                               "The company file " + quoted(pathToUtf8(path)) +
                                   " could not be created: " + error.message());
    }
    if (exists) {
        throw CompanyFileError(CompanyFileError::Reason::AlreadyExists,
                               "The file " + quoted(pathToUtf8(path)) + " already exists.");
    }
    sqlite3* raw = nullptr;
    const int rc = sqlite3_open_v2(
        pathToUtf8(path).c_str(), &raw,
        SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE | db::kOneThreadPerConnection, nullptr);
    db::SqliteDatabase db(raw);
    const auto fail = [&]() {
        const std::string reason = raw ? sqlite3_errmsg(raw) : "out of memory";
        db.reset();
        std::filesystem::remove(path, error);
        throw CompanyFileError(
            CompanyFileError::Reason::Storage,
            "The company file " + quoted(pathToUtf8(path)) + " could not be created: " + reason);
    };
    if (rc != SQLITE_OK) {
        fail();
    }
    std::string script = "begin;";
    for (const char* statement : kSchema) {
        script += statement;
        script += ";";
    }
    const std::string firstListId = "80000001-" + std::to_string(now);
    script +=
        "insert into company values (1, 2, '" + firstListId + "', " + std::to_string(now) + ");";
    script += "pragma application_id = " + std::to_string(kApplicationId) + ";";
    script += "pragma user_version = " + std::to_string(kFormat) + ";commit;";
    if (sqlite3_exec(raw, script.c_str(), nullptr, nullptr, nullptr) != SQLITE_OK) {
        fail();
    }
}

CompanyFile::CompanyFile(const std::filesystem::path& path)
    : path_(path), statements_(std::make_unique<StatementCache>()) {
    const std::string shown = quoted(pathToUtf8(path));
    std::error_code error;
    if (!std::filesystem::is_regular_file(path, error)) {
        throw CompanyFileError(CompanyFileError::Reason::Missing,
                               "There is no company file " + shown + ".");
    }
    const auto notCompanyFile = [&]() {
        return CompanyFileError(CompanyFileError::Reason::NotACompanyFile,
                                shown + " is not a company file.");
    };
    sqlite3* raw = nullptr;
    const int rc = sqlite3_open_v2(pathToUtf8(path).c_str(), &raw,
                                   SQLITE_OPEN_READWRITE | db::kOneThreadPerConnection, nullptr);
    db_.reset(raw);
    if (rc != SQLITE_OK) {
        throw notCompanyFile();
    }
    sqlite3_busy_timeout(raw, 5000);
    sqlite3_extended_result_codes(raw, 1);
    // A file that is not SQLite at all fails on its first read.
    int applicationId = 0;
    int format = 0;
    {
        sqlite3_stmt* s = nullptr;
        if (sqlite3_prepare_v2(raw, "pragma application_id", -1, &s, nullptr) != SQLITE_OK) {
            throw notCompanyFile();
        }
        Statement guard(s);
        if (sqlite3_step(s) != SQLITE_ROW) {
            throw notCompanyFile();
        }
        applicationId = sqlite3_column_int(s, 0);
    }
    if (applicationId != kApplicationId) {
        throw notCompanyFile();
    }
    {
        Statement s = prepare(raw, "pragma user_version");
        if (!nextRow(raw, s.get())) {
            throw notCompanyFile();
        }
        format = sqlite3_column_int(s.get(), 0);
    }
    if (format > kFormat) {
        throw CompanyFileError(CompanyFileError::Reason::NewerFormat,
                               shown + " was written by a later version of this program.");
    }
    if (format < kFormat) {
        throw notCompanyFile();
    }
    exec("pragma foreign_keys = on");
    // A message's commits are appended to a write-ahead log and synced only when it is copied
    // back, as a program that stores thousands of records a minute would: what was committed
    // survives the end of any process, only not a power cut. A file that cannot take the log
    // (read-only, say) is kept as it is.
    sqlite3_exec(db_.get(), "pragma journal_mode = wal", nullptr, nullptr, nullptr);
    sqlite3_exec(db_.get(), "pragma synchronous = normal", nullptr, nullptr, nullptr);
    // What a message keeps aside to undo a step, and the spill of a sort, stay in memory.
    sqlite3_exec(db_.get(), "pragma temp_store = memory", nullptr, nullptr, nullptr);
    addMissingIndex();
    addMissingNonWageTable();
    addMissingSettingTable();
}

void CompanyFile::addMissingSettingTable() {
    // A file that cannot be changed now reads as without settings.
    sqlite3_exec(db_.get(), kSettingTable, nullptr, nullptr, nullptr);
}

std::optional<std::string> CompanyFile::highestQbxmlVersion() const {
    sqlite3* db = db_.get();
    sqlite3_stmt* raw = nullptr;
    if (sqlite3_prepare_v2(db, "select value from setting where name = ?", -1, &raw, nullptr) !=
        SQLITE_OK) {
        // No settings table: a file that could not be given one.
        return std::nullopt;
    }
    Statement s(raw);
    const std::string name = kHighestVersionSetting;
    bind(db, s.get(), 1, name);
    if (!nextRow(db, s.get())) {
        return std::nullopt;
    }
    return columnText(s.get(), 0);
}

void CompanyFile::setHighestQbxmlVersion(const std::optional<std::string>& version) {
    sqlite3* db = db_.get();
    const std::string name = kHighestVersionSetting;
    Statement s = prepare(db, version ? "insert or replace into setting (name, value) values (?, ?)"
                                      : "delete from setting where name = ?");
    bind(db, s.get(), 1, name);
    if (version) {
        bind(db, s.get(), 2, *version);
    }
    run(db, s.get());
}

void CompanyFile::addMissingNonWageTable() {
    sqlite3* db = db_.get();
    // Only the other payroll items are lost when the file cannot be changed now.
    sqlite3_exec(db, kNonWageItemTable, nullptr, nullptr, nullptr);
    Statement s = prepare(db,
                          "select count(*) from sqlite_master where type = 'table'"
                          " and name = 'nonwage_item'");
    hasNonWageTable_ = nextRow(db, s.get()) && sqlite3_column_int(s.get(), 0) != 0;
}

bool CompanyFile::holds(ListKind kind) const {
    return kind != ListKind::NonWageItem || hasNonWageTable_;
}

void CompanyFile::addMissingIndex() {
    sqlite3* db = db_.get();
    bool present = false;
    {
        Statement s = prepare(db,
                              "select count(*) from sqlite_master where type = 'index'"
                              " and name = 'time_tracking_by_date'");
        present = nextRow(db, s.get()) && sqlite3_column_int(s.get(), 0) != 0;
    }
    if (!present) {
        // Only speed is lost when the file cannot be changed now, so a failure is let be.
        sqlite3_exec(db, kTicketDateIndex, nullptr, nullptr, nullptr);
    }
}

CompanyFile::~CompanyFile() = default;

void CompanyFile::exec(const char* sql) {
    if (sqlite3_exec(db_.get(), sql, nullptr, nullptr, nullptr) != SQLITE_OK) {
        storageFailure(db_.get());
    }
}

void CompanyFile::keepCurrent(NamedEntries& entries) const {
    sqlite3* db = db_.get();
    sqlite3_stmt* s = cached("pragma data_version");
    const ResetAfterUse reset(s);
    const std::int64_t version = nextRow(db, s) ? sqlite3_column_int64(s, 0) : -1;
    if (version < 0 || version != entries.dataVersion || listChanges_ != entries.listChanges) {
        entries.employees.clear();
        entries.wageItems.clear();
    }
    entries.dataVersion = version;
    entries.listChanges = listChanges_;
}

void CompanyFile::forgetFoundNames() {
    for (auto& found : foundByName_) {
        found.clear();
    }
}

void CompanyFile::begin() {
    exec("begin immediate");
    forgetFoundNames();
    inGroup_ = true;
}
void CompanyFile::commit() {
    exec("commit");
    forgetFoundNames();
    inGroup_ = false;
}
void CompanyFile::rollback() {
    forgetFoundNames();
    inGroup_ = false;
    if (!sqlite3_get_autocommit(db_.get())) {
        sqlite3_exec(db_.get(), "rollback", nullptr, nullptr, nullptr);
    }
}
void CompanyFile::savepoint() {
    sqlite3_stmt* s = cached("savepoint request");
    const ResetAfterUse reset(s);
    run(db_.get(), s);
}
void CompanyFile::releaseSavepoint() {
    sqlite3_stmt* s = cached("release request");
    const ResetAfterUse reset(s);
    run(db_.get(), s);
}
void CompanyFile::rollbackToSavepoint() {
    sqlite3_exec(db_.get(), "rollback to request; release request", nullptr, nullptr, nullptr);
}

std::string CompanyFile::nextListId(std::int64_t now) {
    sqlite3* db = db_.get();
    std::int64_t number = 0;
    {
        Statement s = prepare(db, "select next_list_number from company where id = 1");
        if (!nextRow(db, s.get())) {
            storageFailure(db);
        }
        number = sqlite3_column_int64(s.get(), 0);
    }
    Statement s = prepare(db, "update company set next_list_number = ? where id = 1");
    bind(db, s.get(), 1, number + 1);
    run(db, s.get());
    // A ListID has the form of a TxnID.
    return txnIdOf(0x80000000LL + number, now);
}

void CompanyFile::addNames(ListKind kind, const std::vector<std::string>& names, std::int64_t now) {
    ++listChanges_;
    std::set<std::string> seen;
    const std::optional<ListKind> shared = sharesNamesWith(kind);
    for (const auto& name : names) {
        checkName(kind, name);
        if (!seen.insert(asciiLower(name)).second || findByName(kind, name) ||
            (shared && findByName(*shared, name))) {
            refuseName(std::string("The ") + wordFor(kind) + " name " + quoted(name) +
                       " is already in use.");
        }
    }
    if (!holds(kind)) {
        throw CompanyFileError(CompanyFileError::Reason::Storage,
                               "The company file " + quoted(pathToUtf8(path_)) +
                                   " cannot hold payroll items that are not wage items.");
    }
    sqlite3* db = db_.get();
    begin();
    try {
        for (const auto& name : names) {
            const std::string sql = std::string("insert into ") + tableOf(kind) +
                                    " (list_id, name, is_active, time_created, time_modified)"
                                    " values (?, ?, 1, ?, ?)";
            const std::string listId = nextListId(now);
            Statement s = prepare(db, sql.c_str());
            bind(db, s.get(), 1, listId);
            bind(db, s.get(), 2, name);
            bind(db, s.get(), 3, now);
            bind(db, s.get(), 4, now);
            run(db, s.get());
        }
        commit();
    } catch (...) {
        rollback();
        throw;
    }
}

void CompanyFile::setInactive(const std::vector<std::string>& names, std::int64_t now) {
    ++listChanges_;
    constexpr ListKind kinds[] = {ListKind::Employee, ListKind::WageItem, ListKind::NonWageItem};
    for (const auto& name : names) {
        if (std::none_of(std::begin(kinds), std::end(kinds),
                         [&](ListKind kind) { return findByName(kind, name).has_value(); })) {
            refuseName("No employee or wage item is named " + quoted(name) + ".");
        }
    }
    sqlite3* db = db_.get();
    begin();
    try {
        for (const auto& name : names) {
            for (const ListKind kind : kinds) {
                if (!holds(kind)) {
                    continue;
                }
                const std::string sql = std::string("update ") + tableOf(kind) +
                                        " set is_active = 0, time_modified = ?"
                                        " where name = ? and is_active = 1";
                Statement s = prepare(db, sql.c_str());
                bind(db, s.get(), 1, now);
                bind(db, s.get(), 2, name);
                run(db, s.get());
            }
        }
        commit();
    } catch (...) {
        rollback();
        throw;
    }
}

std::vector<ListRecord> CompanyFile::entries(ListKind kind) const {
    if (!holds(kind)) {
        return {};
    }
    sqlite3* db = db_.get();
    const std::string sql = std::string(
                                "select list_id, name, is_active, time_created,"
                                " time_modified from ") +
                            tableOf(kind) + " order by name, list_id";
    Statement s = prepare(db, sql.c_str());
    std::vector<ListRecord> records;
    while (nextRow(db, s.get())) {
        records.push_back(readListRecord(s.get()));
    }
    return records;
}

std::optional<ListRecord> CompanyFile::findByName(ListKind kind, const std::string& name) const {
    if (!holds(kind)) {
        return std::nullopt;
    }
    std::unordered_map<std::string, std::optional<ListRecord>>* found = nullptr;
    std::string key;
    if (inGroup_) {
        found = &foundByName_[static_cast<int>(kind)];
        key = asciiLower(name);
        if (const auto known = found->find(key); known != found->end()) {
            return known->second;
        }
    }
    sqlite3* db = db_.get();
    const std::string sql = std::string(
                                "select list_id, name, is_active, time_created,"
                                " time_modified from ") +
                            tableOf(kind) + " where name = ?";
    sqlite3_stmt* s = cached(sql);
    const ResetAfterUse reset(s);
    bind(db, s, 1, name);
    std::optional<ListRecord> record;
    if (nextRow(db, s)) {
        record = readListRecord(s);
    }
    if (found != nullptr) {
        found->emplace(std::move(key), record);
    }
    return record;
}

std::optional<ListRecord> CompanyFile::findByListId(ListKind kind,
                                                    const std::string& listId) const {
    if (!holds(kind)) {
        return std::nullopt;
    }
    sqlite3* db = db_.get();
    const std::string sql = std::string(
                                "select list_id, name, is_active, time_created,"
                                " time_modified from ") +
                            tableOf(kind) + " where list_id = ?";
    sqlite3_stmt* s = cached(sql);
    const ResetAfterUse reset(s);
    bind(db, s, 1, listId);
    if (!nextRow(db, s)) {
        return std::nullopt;
    }
    return readListRecord(s);
}

std::string CompanyFile::expenseAccountListId() const {
    sqlite3* db = db_.get();
    Statement s = prepare(db, "select expense_account_list_id from company where id = 1");
    if (!nextRow(db, s.get())) {
        storageFailure(db);
    }
    return columnText(s.get(), 0);
}

PostedTicket CompanyFile::post(const NewTicket& ticket, std::int64_t now) {
    sqlite3* db = db_.get();
    sqlite3_stmt* s = cached(
        "insert into time_tracking (time_created, txn_date, employee_list_id,"
        " wage_item_list_id, duration_seconds, notes, billable_status)"
        " values (?, ?, ?, ?, ?, ?, ?)");
    const ResetAfterUse reset(s);
    bind(db, s, 1, now);
    bind(db, s, 2, ticket.txnDate);
    bind(db, s, 3, ticket.employee.listId);
    bindOptional(
        db, s, 4,
        ticket.wageItem ? std::optional<std::string>(ticket.wageItem->listId) : std::nullopt);
    bind(db, s, 5, ticket.durationSeconds);
    bindOptional(db, s, 6, ticket.notes);
    bind(db, s, 7, ticket.billableStatus);
    run(db, s);
    PostedTicket posted;
    posted.txnNumber = sqlite3_last_insert_rowid(db);
    posted.txnId = txnIdOf(posted.txnNumber, now);
    posted.timeCreated = now;
    posted.ticket = ticket;
    return posted;
}

std::vector<PostedTicket> CompanyFile::postedTickets() const {
    sqlite3* db = db_.get();
    Statement s = prepare(db, (std::string(kTicketColumns) + " order by t.txn_number").c_str());
    std::vector<PostedTicket> tickets;
    while (nextRow(db, s.get())) {
        tickets.push_back(readTicket(s.get()));
    }
    return tickets;
}

namespace {

// The conditions of `selection` (only those it sets, so that the date index serves a range)
// and their values in the order of their placeholders.
struct SelectionClause {
    std::string where;
    std::vector<std::variant<std::string, std::int64_t>> values;
};

// Which tickets after `selection.after` a clause selects: all of them by one row-value
// comparison, or those of the same day and those of later days apart, each of which the date
// index finds at once (it cannot seek by the row value, so a page would read its day from the
// start).
enum class AfterPart { All, SameDay, LaterDays };

SelectionClause clauseOf(const TicketSelection& selection, AfterPart part = AfterPart::All) {
    SelectionClause clause;
    const auto add = [&](const char* condition) {
        clause.where += clause.where.empty() ? " where " : " and ";
        clause.where += condition;
    };
    if (selection.fromTxnDate) {
        add("t.txn_date >= ?");
        clause.values.emplace_back(*selection.fromTxnDate);
    }
    if (selection.toTxnDate) {
        add("t.txn_date <= ?");
        clause.values.emplace_back(*selection.toTxnDate);
    }
    if (selection.fromModified) {
        add("t.time_created >= ?");
        clause.values.emplace_back(*selection.fromModified);
    }
    if (selection.toModified) {
        add("t.time_created <= ?");
        clause.values.emplace_back(*selection.toModified);
    }
    if (selection.after && part == AfterPart::All) {
        add("(t.txn_date, t.txn_number) > (?, ?)");
        clause.values.emplace_back(selection.after->txnDate);
        clause.values.emplace_back(selection.after->txnNumber);
    } else if (selection.after && part == AfterPart::SameDay) {
        add("t.txn_date = ? and t.txn_number > ?");
        clause.values.emplace_back(selection.after->txnDate);
        clause.values.emplace_back(selection.after->txnNumber);
    } else if (selection.after) {
        add("t.txn_date > ?");
        clause.values.emplace_back(selection.after->txnDate);
    }
    return clause;
}

Statement prepareSelection(sqlite3* db, const std::string& head, const SelectionClause& clause,
                           const char* tail) {
    Statement s = prepare(db, (head + clause.where + tail).c_str());
    int index = 1;
    for (const auto& value : clause.values) {
        std::visit([&](const auto& v) { bind(db, s.get(), index, v); }, value);
        ++index;
    }
    return s;
}

}  // namespace

void CompanyFile::forEachTicket(const TicketSelection& selection,
                                const std::function<bool(const PostedTicket&)>& visit,
                                NamedEntries* entries) const {
    sqlite3* db = db_.get();
    NamedEntries ownEntries;
    NamedEntries& named = entries != nullptr ? *entries : ownEntries;
    keepCurrent(named);
    const auto findEmployee = [&](std::string_view listId, ListRecord& entry) {
        return named.employees.find(
            listId, [&](const std::string& id) { return findByListId(ListKind::Employee, id); },
            entry);
    };
    const auto findWageItem = [&](std::string_view listId, ListRecord& entry) {
        return named.wageItems.find(
            listId, [&](const std::string& id) { return findByListId(ListKind::WageItem, id); },
            entry);
    };
    // One ticket is read into again and again, so that its texts keep their room.
    PostedTicket posted;
    const auto visitAll = [&](const SelectionClause& clause) {
        Statement s =
            prepareSelection(db, kTicketOwnColumns, clause, " order by t.txn_date, t.txn_number");
        while (nextRow(db, s.get())) {
            if (readOwnTicket(s.get(), findEmployee, findWageItem, posted) && !visit(posted)) {
                return false;
            }
        }
        return true;
    };
    if (!selection.after) {
        visitAll(clauseOf(selection));
    } else if (visitAll(clauseOf(selection, AfterPart::SameDay))) {
        visitAll(clauseOf(selection, AfterPart::LaterDays));
    }
}

std::int64_t CompanyFile::countTickets(const TicketSelection& selection) const {
    sqlite3* db = db_.get();
    Statement s =
        prepareSelection(db, "select count(*) from time_tracking t", clauseOf(selection), "");
    if (!nextRow(db, s.get())) {
        storageFailure(db);
    }
    return sqlite3_column_int64(s.get(), 0);
}

std::optional<PostedTicket> CompanyFile::findTicket(const std::string& txnId) const {
    const auto number = txnNumberOf(txnId);
    if (!number) {
        return std::nullopt;
    }
    sqlite3* db = db_.get();
    sqlite3_stmt* s = cached(std::string(kTicketColumns) + " where t.txn_number = ?");
    const ResetAfterUse reset(s);
    bind(db, s, 1, *number);
    if (!nextRow(db, s)) {
        return std::nullopt;
    }
    PostedTicket posted = readTicket(s);
    // The number alone may belong to another ticket of a file created anew.
    if (posted.txnId != txnId) {
        return std::nullopt;
    }
    return posted;
}

bool CompanyFile::deleteTicket(const std::string& txnId) {
    const auto posted = findTicket(txnId);
    if (!posted) {
        return false;
    }
    sqlite3* db = db_.get();
    sqlite3_stmt* s = cached("delete from time_tracking where txn_number = ?");
    const ResetAfterUse reset(s);
    bind(db, s, 1, posted->txnNumber);
    run(db, s);
    return true;
}

}  // namespace vantrell::standins
