#pragma once

#include <string>
#include <utility>
#include <vector>

#include "interfacedb/Catalog.h"

namespace vantrell::stage {

// The interface database's tables: the stage (Punch, Employee, PayType, and PunchSource for
// the tickets a map entry renamed), the posting journal (ExportRun, ExportTicket) and the name
// map (NameMap). Names are matched exactly, with case, when
// the set-up looks for them.
inline constexpr const char* kPunch = "Punch";
inline constexpr const char* kEmployee = "Employee";
inline constexpr const char* kPayType = "PayType";
inline constexpr const char* kExportRun = "ExportRun";
inline constexpr const char* kExportTicket = "ExportTicket";
inline constexpr const char* kNameMap = "NameMap";
inline constexpr const char* kPunchSource = "PunchSource";

// The Punch columns, in their order: the staged time ticket.
inline constexpr const char* kSequence = "Sequence";
inline constexpr const char* kName = "Name";
inline constexpr const char* kDate = "Date";
inline constexpr const char* kHours = "Hours";
inline constexpr const char* kPayTypeColumn = "PayType";
inline constexpr const char* kPosted = "Posted";
inline constexpr const char* kError = "Error";

// The names the time-and-attendance system gave a staged ticket whose Name or PayType a map
// entry replaced: in PunchSource (by Sequence) and in the journal's ticket rows.
inline constexpr const char* kChronelName = "ChronelName";
inline constexpr const char* kChronelPayType = "ChronelPayType";

// The journal's columns beyond the ticket's own.
inline constexpr const char* kExportId = "ExportID";
inline constexpr const char* kTxnId = "TxnID";
inline constexpr const char* kUndone = "Undone";
inline constexpr const char* kState = "State";
inline constexpr const char* kCompanyFile = "CompanyFile";
// The accounting system's status message for a ticket it refused, as Punch's Error holds it.
inline constexpr const char* kMessage = "Message";

// The definition of each table, by name, in the order the set-up creates missing ones.
std::vector<db::TableDefinition> stageTableDefinitions();

// The tables whose columns the set-up checks when they are present (the journal, the name map
// and the names a ticket was staged from: a column they lack or one of another type would lose
// what was posted or chosen), and the columns of theirs that a file made before them lacks and
// that the set-up adds.
bool isCheckedTable(const std::string& table);
bool isAddedLater(const std::string& table, const std::string& column);

// The columns that single rows are found by: a ticket by its Sequence when the accounting
// system answers, a name when it knows it, an export's tickets by its ID. Without an index
// each such statement reads the whole table, and an export grows with the square of its
// tickets.
std::vector<std::pair<const char*, const char*>> stageLookupColumns();

}  // namespace vantrell::stage
