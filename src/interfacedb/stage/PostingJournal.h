#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <unordered_map>
#include <unordered_set>
#include <utility>
#include <vector>

#include "interfacedb/Connection.h"
#include "interfacedb/DateTime.h"

namespace vantrell::stage {

// The posting journal: every ticket an export sent, what became of it and the accounting
// system's transaction id once known, so that no posted ticket is ever out of reach of the
// undo. Table ExportRun holds one row per export (with the company file it was posted to),
// ExportTicket one row per ticket. Every function throws DbError when the journal cannot be
// read or written.

// What became of a ticket of the journal.
enum class TicketState {
    Sent,       // in a message whose answer was not applied: posted or not, nobody knows yet
    Confirmed,  // posted: the answer (or a later check) gave its transaction id
    Refused,    // the answer refused it: not posted
    NotPosted,  // not processed, or a later check found the accounting system without it
    Settled,    // not sent by any export: the check found it posted (keyed by hand, or posted
                // before the journal existed) and took it off the stage
};

// The journal's text for a state, as stored in ExportTicket.State.
const char* stateText(TicketState state);

// The export ID under which tickets settled by the check are recorded: no export has it.
inline constexpr std::int64_t kSettledByCheck = 0;

// One export as the journal holds it, its counts taken from its ticket rows.
struct ExportSummary {
    std::int64_t id = 0;
    std::int64_t row = 0;  // the row's number in ExportRun, for a message about a damaged row
    std::optional<db::DateTime> started;
    std::optional<db::DateTime> finished;  // nothing while the export's answer is not applied
    std::string companyFile;       // the company file it was posted to; empty for one recorded
                                   // before the journal held it
    std::int64_t posted = 0;       // tickets confirmed posted, the undone ones included
    std::int64_t undone = 0;       // of those, the ones deleted again since
    std::int64_t unconfirmed = 0;  // tickets sent whose fate is not known yet
    std::int64_t damaged = 0;      // ticket rows that do not read (counted in none of the above)
    std::string damage;            // why the export's own row cannot be used (its ID is Null, say);
                                   // empty when it is sound. A damaged row has no usable ID.
};

// One ticket row of the journal, with the staged values it was sent with.
struct JournalTicket {
    std::int64_t row = 0;  // the row's number in ExportTicket
    std::int64_t exportId = 0;
    std::int32_t sequence = 0;
    std::string name;
    std::optional<db::DateTime> date;
    float hours = 0;
    std::string payType;
    std::string chronelName;     // the time-and-attendance system's names, when a map entry
    std::string chronelPayType;  // replaced them; as Name and PayType without one; empty for a
                                 // row recorded before the journal held them
    std::string txnId;           // empty while not confirmed
    TicketState state = TicketState::Confirmed;  // a row written before states were: Confirmed
    bool undone = false;
    // The accounting system's message for a refused ticket; empty for the others and for a
    // row recorded before the journal kept it.
    std::string message;
    std::string damage;  // why the row cannot be used, naming the export and the row; empty
                         // when it is sound (the other fields then hold what could be read)
};

// Records a new export to `companyFile` started at `now`, its ID one above the highest so far
// (1 for the first), and a Sent row for every ticket of Punch, in one transaction with nothing
// else: a message goes out only after its tickets are recorded. Returns the ID. Throws DbError
// naming the row when an export's ID is not a whole number or the highest leaves no next one.
std::int64_t recordSentExport(db::Connection& cn, const db::DateTime& now,
                              const std::string& companyFile);

// Records that export `id` finished at `now`; an ID the journal does not hold changes nothing.
void finishExport(db::Connection& cn, std::int64_t id, const db::DateTime& now);

// Every export, oldest first (by ID; damaged rows last), with its counts. A damaged row is
// listed with its `damage`, never failing the whole list.
std::vector<ExportSummary> listExports(db::Connection& cn);

// The export of this ID, or nothing when there is none.
std::optional<ExportSummary> findExport(db::Connection& cn, std::int64_t id);

// How many tickets the check found posted that no export had sent.
std::int64_t settledByCheckCount(db::Connection& cn);

// The ticket rows of export `id`, in Sequence order; none for an ID the journal does not hold.
std::vector<JournalTicket> exportTickets(db::Connection& cn, std::int64_t id);

// Marks the confirmed tickets of export `id` with these transaction ids undone, all in one
// transaction: all are marked or none is. An id the export did not post changes nothing.
void markUndone(db::Connection& cn, std::int64_t id, const std::vector<std::string>& txnIds);

// The answer of export `exportId` for its ticket `sequence`: Refused or NotPosted, with the
// accounting system's `message` (Sent and Confirmed rows are written elsewhere). A Sequence
// without a Sent row changes nothing.
void markSentTicket(db::Connection& cn, std::int64_t exportId, std::int32_t sequence,
                    TicketState state, const std::string& message);

// --- For the check of what the accounting system already holds ---

// Every sound Sent row of the exports to `companyFile` (or to an unrecorded file): a check of
// another company file cannot tell what became of them.
std::vector<JournalTicket> unconfirmedTickets(db::Connection& cn, const std::string& companyFile);

// The transaction ids of the tickets the journal holds as posted in `companyFile` and not
// undone (confirmed by an export to that file, or settled by a check). An undone ticket is
// deleted: an id of it met again is another ticket's, as is one of another company file.
std::unordered_set<std::string> recordedTxnIds(db::Connection& cn, const std::string& companyFile);

// The names the time-and-attendance system gave a posted ticket.
struct ChronelNames {
    std::string name;
    std::string payType;
};

// For each transaction id of recordedTxnIds(), the time-and-attendance names its ticket was
// staged from (the staged names for a row recorded before the journal held them): a staged
// ticket is that posted one whatever the name map has made of those names since.
std::unordered_map<std::string, ChronelNames> recordedChronelNames(db::Connection& cn,
                                                                   const std::string& companyFile);

// What one check settled, applied by settleCheck() in one transaction.
struct CheckSettlement {
    // Sent rows (by row number) found posted, with the transaction id the check read.
    std::vector<std::pair<std::int64_t, std::string>> confirmed;
    // Sent rows the accounting system does not hold.
    std::vector<std::int64_t> notPosted;
    // Staged tickets (by Sequence) posted under a transaction id no row holds: each leaves
    // Punch with a Settled row.
    std::vector<std::pair<std::int32_t, std::string>> settled;
    // Staged tickets (by Sequence) whose posted ticket the journal holds already: they leave
    // Punch.
    std::vector<std::int32_t> recorded;
};

// Applies `settlement` in one transaction: either all of it is kept or none of it.
void settleCheck(db::Connection& cn, const CheckSettlement& settlement);

}  // namespace vantrell::stage
