// Access files on Windows: read through ODBC into the same in-memory database as on Linux, so
// that the statements of the extraction run on them unchanged.
#include <algorithm>
#include <cctype>
#include <optional>
#include <set>
#include <vector>

#include "interfacedb/DbError.h"
#include "interfacedb/Sqlite.h"
#include "interfacedb/access/AccessDatabase.h"
#include "interfacedb/access/AccessNames.h"
#include "interfacedb/odbc/OdbcAccessFile.h"
#include "interfacedb/odbc/OdbcTableLoader.h"

namespace vantrell::db::access {

namespace {

constexpr std::string_view kNoSuchTable = "no such table: ";
constexpr std::string_view kNoSuchColumn = "no such column: ";
constexpr std::string_view kNotAuthorized = "not authorized";

// SQLite matches names without regard to case for ASCII letters only.
bool sameForSqlite(std::string_view a, std::string_view b) {
    return std::equal(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
        return std::tolower(static_cast<unsigned char>(x)) ==
               std::tolower(static_cast<unsigned char>(y));
    });
}

// Loads the tables of one Access file into the in-memory database as statements name them,
// and keeps every other statement from changing what was loaded.
class OdbcTableSource final : public detail::TableSource {
  public:
    OdbcTableSource(std::unique_ptr<odbc::AccessFile> file, std::string refusal)
        : file_(std::move(file)), refusal_(std::move(refusal)) {}

    bool supply(sqlite3* db, const std::string& message) override {
        const std::string_view text = message;
        if (text.starts_with(kNoSuchTable)) {
            return supplyTable(db, std::string(text.substr(kNoSuchTable.size())));
        }
        if (text.starts_with(kNoSuchColumn)) {
            throw DbError("Could not find column '" +
                          std::string(text.substr(kNoSuchColumn.size())) +
                          "' in the Access database '" + file_->path() + "'.");
        }
        if (text.starts_with(kNotAuthorized)) {
            throw DbError(refusal_);
        }
        return false;
    }

    // SQLite's authorizer: statements only read, except while a table is being loaded.
    static int authorize(void* self, int action, const char*, const char*, const char*,
                         const char*) {
        switch (action) {
            case SQLITE_SELECT:
            case SQLITE_READ:
            case SQLITE_FUNCTION:
            case SQLITE_RECURSIVE:
                return SQLITE_OK;
            default:
                return static_cast<OdbcTableSource*>(self)->loading_ ? SQLITE_OK : SQLITE_DENY;
        }
    }

  private:
    // The file's object of that name as Access finds it, without regard to case; an exact
    // match comes first.
    const odbc::CatalogObject* findObject(const std::string& name) {
        if (!catalog_) {
            catalog_ = file_->catalog();
        }
        const odbc::CatalogObject* folded = nullptr;
        for (const auto& object : *catalog_) {
            if (object.name == name) {
                return &object;
            }
            if (folded == nullptr && foldCase(object.name) == foldCase(name)) {
                folded = &object;
            }
        }
        return folded;
    }

    bool supplyTable(sqlite3* db, const std::string& name) {
        // A name supplied once that is still missing has nothing more to be had.
        if (asked_.contains(name)) {
            return false;
        }
        const odbc::CatalogObject* object = findObject(name);
        if (object == nullptr || object->type == "SYSTEM TABLE") {
            throw DbError("Could not find table '" + name + "' in the Access database '" +
                          file_->path() + "'.");
        }
        if (object->type == "VIEW") {
            throw DbError("'" + name + "' in the Access database '" + file_->path() +
                          "' is a saved query, which this engine does not run.");
        }
        if (object->type != "TABLE") {
            throw DbError("'" + name + "' in the Access database '" + file_->path() +
                          "' is linked to a table of another database, which this engine "
                          "does not follow.");
        }
        const std::string stored = object->name;
        const Loading loading(*this);
        if (!loaded_.contains(stored)) {
            odbc::loadTable(*file_, stored, db);
            loaded_.insert(stored);
        }
        // Access found the table without regard to case where SQLite would not: let this
        // spelling name it too.
        if (!sameForSqlite(name, stored)) {
            const std::string view = "CREATE VIEW " + detail::quoteIdentifier(name) +
                                     " AS SELECT * FROM " + detail::quoteIdentifier(stored);
            detail::check(sqlite3_exec(db, view.c_str(), nullptr, nullptr, nullptr), db);
        }
        asked_.insert(name);
        return true;
    }

    // Lets the loader write for as long as it lives.
    struct Loading {
        explicit Loading(OdbcTableSource& source) : source_(source) { source_.loading_ = true; }
        ~Loading() { source_.loading_ = false; }
        Loading(const Loading&) = delete;
        Loading& operator=(const Loading&) = delete;
        OdbcTableSource& source_;
    };

    std::unique_ptr<odbc::AccessFile> file_;
    std::string refusal_;
    bool loading_ = false;
    std::optional<std::vector<odbc::CatalogObject>> catalog_;
    std::set<std::string> asked_;   // names as statements wrote them
    std::set<std::string> loaded_;  // names as the file holds them
};

}  // namespace

std::shared_ptr<detail::Database> openAccessDatabase(const std::string& path) {
    auto file = std::make_unique<odbc::AccessFile>(path);
    sqlite3* raw = nullptr;
    const int rc =
        sqlite3_open_v2(":memory:", &raw, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr);
    auto database = std::make_shared<detail::Database>(raw, path);
    if (rc != SQLITE_OK) {
        throw DbError("Could not open '" + path + "': " + sqlite3_errstr(rc), rc);
    }
    const std::string refusal =
        "The Access database '" + path + "' is only read: statements that change data are refused.";
    auto source = std::make_unique<OdbcTableSource>(std::move(file), refusal);
    sqlite3_set_authorizer(raw, &OdbcTableSource::authorize, source.get());
    database->setTableSource(std::move(source), refusal);
    return database;
}

}  // namespace vantrell::db::access
