#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "interfacedb/Connection.h"
#include "interfacedb/DateTime.h"

namespace vantrell::stage {

// The posting journal: which export posted which ticket under which transaction id of the
// accounting system, so that an export can be listed and undone. Every function throws
// DbError when the journal cannot be read or written.

// One export as the journal holds it, its counts taken from its ticket rows.
struct ExportSummary {
    std::int64_t id = 0;
    std::optional<db::DateTime> started;
    std::optional<db::DateTime> finished;  // nothing while the export's answer is not applied
    std::int64_t posted = 0;               // tickets the export posted
    std::int64_t undone = 0;               // of those, the ones deleted again since
};

// One ticket an export posted, with the staged values it was sent with. A field the row
// leaves empty reads as 0, the empty text, nothing (date) or false (undone).
struct JournalTicket {
    std::int32_t sequence = 0;
    std::string name;
    std::optional<db::DateTime> date;
    float hours = 0;
    std::string payType;
    std::string txnId;
    bool undone = false;
};

// Records a new export started at `now`, its ID one above the highest so far (1 for the
// first), and returns the ID. The ID is chosen and recorded in one transaction.
std::int64_t beginExport(db::Connection& cn, const db::DateTime& now);

// Records that export `id` finished at `now`; an ID the journal does not hold changes nothing.
void finishExport(db::Connection& cn, std::int64_t id, const db::DateTime& now);

// Every export, oldest first, with its counts.
std::vector<ExportSummary> listExports(db::Connection& cn);

// The export of this ID, or nothing when there is none.
std::optional<ExportSummary> findExport(db::Connection& cn, std::int64_t id);

// The tickets export `id` posted, in Sequence order; none for an ID the journal does not hold.
std::vector<JournalTicket> exportTickets(db::Connection& cn, std::int64_t id);

// Marks the tickets of export `id` with these transaction ids undone, all in one transaction:
// all are marked or none is. An id the export did not post changes nothing; no ids, nothing.
void markUndone(db::Connection& cn, std::int64_t id, const std::vector<std::string>& txnIds);

}  // namespace vantrell::stage
