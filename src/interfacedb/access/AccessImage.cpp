#include "interfacedb/access/AccessImage.h"

#include <set>

#include "diag/Utf8.h"
#include "interfacedb/DbError.h"
#include "interfacedb/Sqlite.h"

namespace vantrell::db::access {

namespace {

constexpr std::string_view kNoSuchTable = "no such table: ";
constexpr std::string_view kNoSuchColumn = "no such column: ";
constexpr std::string_view kNotAuthorized = "not authorized";

// SQLite matches names without regard to case for ASCII letters only.
bool sameForSqlite(std::string_view a, std::string_view b) {
    return equalsIgnoringAsciiCase(a, b);
}

// Loads the tables of one Access file into the in-memory database as statements name them,
// and keeps every other statement from changing what was loaded.
class AccessTableSource final : public detail::TableSource {
  public:
    AccessTableSource(std::string path, std::unique_ptr<TableReader> reader)
        : path_(std::move(path)),
          refusal_("The Access database '" + path_ +
                   "' is only read: statements that change data are refused."),
          reader_(std::move(reader)) {}

    const std::string& refusal() const { return refusal_; }

    bool supply(sqlite3* db, const std::string& message) override {
        const std::string_view text = message;
        if (text.starts_with(kNoSuchTable)) {
            return supplyTable(db, std::string(text.substr(kNoSuchTable.size())));
        }
        if (text.starts_with(kNoSuchColumn)) {
            throw DbError("Could not find column '" +
                          std::string(text.substr(kNoSuchColumn.size())) +
                          "' in the Access database '" + path_ + "'.");
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
                return static_cast<AccessTableSource*>(self)->loading_ ? SQLITE_OK : SQLITE_DENY;
        }
    }

  private:
    bool supplyTable(sqlite3* db, const std::string& name) {
        // A name supplied once that is still missing has nothing more to be had.
        if (asked_.contains(name)) {
            return false;
        }
        const FoundObject object = reader_->find(name);
        switch (object.kind) {
            case FoundObject::Kind::Missing:
                throw DbError("Could not find table '" + name + "' in the Access database '" +
                              path_ + "'.");
            case FoundObject::Kind::SavedQuery:
                throw DbError("'" + name + "' in the Access database '" + path_ +
                              "' is a saved query, which this engine does not run.");
            case FoundObject::Kind::LinkedTable:
                throw DbError("'" + name + "' in the Access database '" + path_ +
                              "' is linked to a table of another database, which this engine "
                              "does not follow.");
            case FoundObject::Kind::Table:
                break;
        }
        const Loading loading(*this);
        if (!loaded_.contains(object.name)) {
            reader_->load(object.name, db);
            loaded_.insert(object.name);
        }
        // Access found the table without regard to case where SQLite would not: let this
        // spelling name it too.
        if (!sameForSqlite(name, object.name)) {
            const std::string view = "CREATE VIEW " + detail::quoteIdentifier(name) +
                                     " AS SELECT * FROM " + detail::quoteIdentifier(object.name);
            detail::check(sqlite3_exec(db, view.c_str(), nullptr, nullptr, nullptr), db);
        }
        asked_.insert(name);
        return true;
    }

    // Lets the loader write for as long as it lives.
    struct Loading {
        explicit Loading(AccessTableSource& source) : source_(source) { source_.loading_ = true; }
        ~Loading() { source_.loading_ = false; }
        Loading(const Loading&) = delete;
        Loading& operator=(const Loading&) = delete;
        AccessTableSource& source_;
    };

    std::string path_;
    std::string refusal_;
    std::unique_ptr<TableReader> reader_;
    bool loading_ = false;
    std::set<std::string> asked_;   // names as statements wrote them
    std::set<std::string> loaded_;  // names as the file holds them
};

}  // namespace

std::shared_ptr<detail::Database> openAccessImage(const std::string& path,
                                                  std::unique_ptr<TableReader> reader) {
    // The copy is private to this connection, used by one thread at a time: no locking needed.
    sqlite3* raw = nullptr;
    const int rc =
        sqlite3_open_v2(":memory:", &raw,
                        SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE | SQLITE_OPEN_NOMUTEX, nullptr);
    auto database = std::make_shared<detail::Database>(raw, path);
    if (rc != SQLITE_OK) {
        throw DbError("Could not open '" + path + "': " + sqlite3_errstr(rc), rc);
    }
    auto source = std::make_unique<AccessTableSource>(path, std::move(reader));
    sqlite3_set_authorizer(raw, &AccessTableSource::authorize, source.get());
    const std::string refusal = source->refusal();
    database->setTableSource(std::move(source), refusal);
    return database;
}

}  // namespace vantrell::db::access
