#pragma once

#include <cstdint>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

#include "diag/Failure.h"
#include "interfacedb/SqliteHandles.h"
#include "standins/CompanyRecords.h"
#include "standins/ListEntryCache.h"

struct sqlite3;
struct sqlite3_stmt;

namespace vantrell::standins {

// A failure of the company file, with the reason a caller may need to tell apart.
class CompanyFileError : public Failure {
  public:
    enum class Reason {
        Missing,
        NotACompanyFile,
        NewerFormat,
        AlreadyExists,
        NameRefused,
        Storage
    };
    // A failure for `reason` whose what() is `description`.
    CompanyFileError(Reason reason, const std::string& description)
        : Failure(description), reason_(reason) {}
    // Why the company file failed.
    Reason reason() const { return reason_; }

  private:
    Reason reason_;
};

// The simulated accounting system's company file: a SQLite file holding employees, wage
// payroll items, other payroll items and posted time-tracking transactions, marked by its
// application id so that any other file is refused. Names are unique within their list regardless
// of letter case (ASCII), as the accounting system treats them. Every failure throws
// CompanyFileError.
class CompanyFile {
  public:
    static constexpr std::size_t kEmployeeNameLimit = 41;
    // Wage items and the other payroll items alike.
    static constexpr std::size_t kWageItemNameLimit = 31;

    // Creates a new, empty company file at `path`; refuses a path that already exists.
    static void create(const std::filesystem::path& path, std::int64_t now);

    // Opens an existing company file: Missing when there is no such file, NotACompanyFile for
    // any file without the mark, NewerFormat for a later layout than this program knows.
    explicit CompanyFile(const std::filesystem::path& path);
    ~CompanyFile();
    CompanyFile(const CompanyFile&) = delete;
    CompanyFile& operator=(const CompanyFile&) = delete;

    // Adds entries to a list, all or none: a name that is empty, longer than the list allows,
    // not valid text or already used (in the file or earlier in `names`; wage items and other
    // payroll items share their names) refuses the whole call with NameRefused and a message
    // naming it.
    void addNames(ListKind kind, const std::vector<std::string>& names, std::int64_t now);

    // Makes every employee and payroll item of these names inactive, all or none; a name that
    // matches no list refuses the call with NameRefused.
    void setInactive(const std::vector<std::string>& names, std::int64_t now);

    // The list's entries in name order, active and inactive.
    std::vector<ListRecord> entries(ListKind kind) const;
    // The entry of the list with this name, whatever its letter case (ASCII), or with this
    // ListID; nothing when there is none. Inactive entries are found too.
    std::optional<ListRecord> findByName(ListKind kind, const std::string& name) const;
    std::optional<ListRecord> findByListId(ListKind kind, const std::string& listId) const;

    // The expense account that every wage item books to.
    std::string expenseAccountListId() const;

    // Stores a time ticket; returns it as posted, with its transaction number and id.
    PostedTicket post(const NewTicket& ticket, std::int64_t now);

    // Every posted ticket in the order posted.
    std::vector<PostedTicket> postedTickets() const;

    // Calls `visit` with each posted ticket of the selection in TxnDate, then TxnNumber order,
    // one at a time, until it returns false; the file is read as the calls go, so a selection
    // of any size is never held at once. The ticket `visit` is given lasts only until it
    // returns. `visit` must not use this file.
    // The employees and wage items the tickets name are kept in `entries` when given, for the
    // next pages of the same query, and for this call alone otherwise.
    void forEachTicket(const TicketSelection& selection,
                       const std::function<bool(const PostedTicket&)>& visit,
                       NamedEntries* entries = nullptr) const;

    // How many posted tickets the selection holds.
    std::int64_t countTickets(const TicketSelection& selection) const;

    // The posted ticket with this TxnID; nothing when there is none.
    std::optional<PostedTicket> findTicket(const std::string& txnId) const;

    // Deletes the posted ticket with this TxnID; false (and nothing changed) when there is none.
    bool deleteTicket(const std::string& txnId);

    // The highest qbXML version ("major.minor") this company file's accounting system answers,
    // so that a program's fallback for an older accounting system can be tried; nothing when
    // every version the stand-in knows is answered. Set by qbsim set-max-version.
    std::optional<std::string> highestQbxmlVersion() const;
    void setHighestQbxmlVersion(const std::optional<std::string>& version);

    // Groups what follows: changes made between begin and commit are kept together; a
    // savepoint sets apart the changes of one request so that they alone can be undone.
    // rollback and rollbackToSavepoint undo them. Each throws CompanyFileError (Storage) when
    // the file refuses it, for example begin inside a group or commit outside one.
    void begin();
    void commit();
    void rollback();
    void savepoint();
    void releaseSavepoint();
    void rollbackToSavepoint();

  private:
    struct StatementCache;
    db::SqliteDatabase db_;
    std::filesystem::path path_;
    // Declared after db_, so that the statements are finalized before the file is closed.
    std::unique_ptr<StatementCache> statements_;

    // The entries found by name while a group is open (begin to commit or rollback), by list
    // and lower-case name: no other program can change the lists then, and a message of many
    // tickets names the same few entries again and again.
    mutable std::unordered_map<std::string, std::optional<ListRecord>> foundByName_[3];
    bool inGroup_ = false;
    void forgetFoundNames();

    // This program's changes to the lists, counted, so that entries kept from before them are
    // read afresh.
    std::int64_t listChanges_ = 0;
    // Clears `entries` when the lists have changed since they were read.
    void keepCurrent(NamedEntries& entries) const;

    void exec(const char* sql);
    // The statement for `sql`, prepared on first use and kept for the next; the caller resets
    // it after use (ResetAfterUse), so that it holds no lock in between.
    sqlite3_stmt* cached(const std::string& sql) const;
    std::string nextListId(std::int64_t now);
    void addMissingIndex();
    void addMissingNonWageTable();
    void addMissingSettingTable();
    // False only for the other payroll items of a file written before they were kept, which
    // could not be given their table.
    bool holds(ListKind kind) const;
    bool hasNonWageTable_ = false;
};

}  // namespace vantrell::standins
