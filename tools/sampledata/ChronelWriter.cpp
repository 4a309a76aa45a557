#include "sampledata/ChronelWriter.h"

#include <sqlite3.h>

#include <type_traits>

#include "interfacedb/SqliteHandles.h"

namespace vantrell::sampledata {

namespace {

std::string createExportDefinitionTable() {
    std::string sql = "CREATE TABLE EXPORTDFN (ExportName TEXT";
    for (const char* column : kPayTypeColumns) {
        sql += std::string(", ") + column + " TEXT";
    }
    return sql + ")";
}

std::string insertExportDefinition() {
    std::string names = "ExportName";
    std::string marks = "?";
    for (const char* column : kPayTypeColumns) {
        names += std::string(", ") + column;
        marks += ", ?";
    }
    return "INSERT INTO EXPORTDFN (" + names + ") VALUES (" + marks + ")";
}

const std::string kCreateRules = "CREATE TABLE TCRULES (A1TITLE TEXT, A2TITLE TEXT, A3TITLE TEXT)";
const std::string kCreateDays =
    "CREATE TABLE REPORTDATA (\"FULL NAME\" TEXT, ADJUSTEDDATE DATETIME, PST REAL, POT1 REAL, "
    "POT2 REAL, NONWORKED TEXT, USEDIFF INTEGER)";
const std::string kInsertRules = "INSERT INTO TCRULES (A1TITLE, A2TITLE, A3TITLE) VALUES (?, ?, ?)";
const std::string kInsertDay =
    "INSERT INTO REPORTDATA (\"FULL NAME\", ADJUSTEDDATE, PST, POT1, POT2, NONWORKED, USEDIFF) "
    "VALUES (?, ?, ?, ?, ?, ?, ?)";

int bind(sqlite3_stmt* statement, int index, const Cell& cell) {
    return std::visit(
        [&](const auto& v) {
            using T = std::decay_t<decltype(v)>;
            if constexpr (std::is_same_v<T, std::monostate>) {
                return sqlite3_bind_null(statement, index);
            } else if constexpr (std::is_same_v<T, long long>) {
                return sqlite3_bind_int64(statement, index, v);
            } else if constexpr (std::is_same_v<T, double>) {
                return sqlite3_bind_double(statement, index, v);
            } else {
                return sqlite3_bind_text(statement, index, v.data(), static_cast<int>(v.size()),
                                         SQLITE_TRANSIENT);
            }
        },
        cell.value);
}

}  // namespace

// The statements go before the database they were prepared on.
struct ChronelWriter::Handles {
    db::SqliteDatabase db;
    std::map<std::string, db::SqliteStatement, std::less<>> statements;
};

ChronelWriter::ChronelWriter(const std::filesystem::path& path)
    : path_(path), handles_(std::make_unique<Handles>()) {
    std::error_code error;
    if (std::filesystem::exists(std::filesystem::symlink_status(path, error))) {
        throw GeneratorError(path.string() + ": a file of that name already exists");
    }
    sqlite3* raw = nullptr;
    const int rc = sqlite3_open_v2(path.string().c_str(), &raw,
                                   SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr);
    handles_->db.reset(raw);
    if (rc != SQLITE_OK) {
        fail("cannot create the file");
    }
    execute(createExportDefinitionTable());
    execute(kCreateRules);
    execute(kCreateDays);
    commit();
}

ChronelWriter::~ChronelWriter() {
    if (inTransaction_) {
        sqlite3_exec(handles_->db.get(), "ROLLBACK", nullptr, nullptr, nullptr);
    }
}

void ChronelWriter::fail(std::string_view what) const {
    const char* reason = handles_->db ? sqlite3_errmsg(handles_->db.get()) : "out of memory";
    throw GeneratorError(path_.string() + ": " + std::string(what) + ": " + reason);
}

void ChronelWriter::begin() {
    if (!inTransaction_) {
        if (sqlite3_exec(handles_->db.get(), "BEGIN", nullptr, nullptr, nullptr) != SQLITE_OK) {
            fail("cannot begin writing");
        }
        inTransaction_ = true;
    }
}

void ChronelWriter::execute(std::string_view sql) {
    begin();
    const std::string text(sql);
    if (sqlite3_exec(handles_->db.get(), text.c_str(), nullptr, nullptr, nullptr) != SQLITE_OK) {
        fail("statement refused (" + text + ")");
    }
}

void ChronelWriter::commit() {
    if (inTransaction_) {
        if (sqlite3_exec(handles_->db.get(), "COMMIT", nullptr, nullptr, nullptr) != SQLITE_OK) {
            fail("cannot commit");
        }
        inTransaction_ = false;
    }
}

void ChronelWriter::insertRow(const std::string& sql, const std::vector<const Cell*>& cells) {
    begin();
    auto found = handles_->statements.find(sql);
    if (found == handles_->statements.end()) {
        sqlite3_stmt* raw = nullptr;
        if (sqlite3_prepare_v2(handles_->db.get(), sql.c_str(), -1, &raw, nullptr) != SQLITE_OK) {
            fail("statement refused (" + sql + ")");
        }
        found = handles_->statements.emplace(sql, db::SqliteStatement(raw)).first;
    }
    sqlite3_stmt* statement = found->second.get();
    sqlite3_reset(statement);
    for (std::size_t i = 0; i < cells.size(); ++i) {
        if (bind(statement, static_cast<int>(i + 1), *cells[i]) != SQLITE_OK) {
            fail("cannot bind a value");
        }
    }
    if (sqlite3_step(statement) != SQLITE_DONE) {
        fail("row refused");
    }
}

void ChronelWriter::add(const ExportDefinition& definition) {
    static const Cell null;
    std::vector<const Cell*> cells{&definition.exportName};
    for (const char* column : kPayTypeColumns) {
        const auto found = definition.payTypes.find(column);
        cells.push_back(found != definition.payTypes.end() ? &found->second : &null);
    }
    static const std::string sql = insertExportDefinition();
    insertRow(sql, cells);
}

void ChronelWriter::add(const AccrualTitles& titles) {
    insertRow(kInsertRules, {&titles.a1, &titles.a2, &titles.a3});
}

void ChronelWriter::add(const Day& day) {
    insertRow(kInsertDay, {&day.fullName, &day.adjustedDate, &day.pst, &day.pot1, &day.pot2,
                           &day.nonWorked, &day.useDiff});
}

}  // namespace vantrell::sampledata
