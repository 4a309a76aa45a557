#include "interfacedb/stage/StageTables.h"

#include "interfacedb/ColumnType.h"

namespace vantrell::stage {

namespace {

constexpr int kText = static_cast<int>(db::DataTypeCode::VarWChar);
constexpr int kInteger = static_cast<int>(db::DataTypeCode::Integer);
constexpr int kDateTime = static_cast<int>(db::DataTypeCode::Date);
constexpr int kSingle = static_cast<int>(db::DataTypeCode::Single);
constexpr int kBoolean = static_cast<int>(db::DataTypeCode::Boolean);
constexpr int kLongText = static_cast<int>(db::DataTypeCode::LongVarWChar);

// The accounting system's transaction ids are short; 50 leaves room for any of its forms.
constexpr int kTxnIdWidth = 50;

db::TableDefinition nameTable(const char* name) {
    db::TableDefinition table{name, {}};
    table.appendColumn(kName, kText, 50);
    return table;
}

// The staged ticket's own columns, shared by Punch and the journal's ticket rows.
void appendTicketColumns(db::TableDefinition& table) {
    table.appendColumn(kSequence, kInteger);
    table.appendColumn(kName, kText, 50);
    table.appendColumn(kDate, kDateTime);
    table.appendColumn(kHours, kSingle);
    table.appendColumn(kPayTypeColumn, kText, 50);
}

// What the time-and-attendance system called the ticket's employee and pay type.
void appendChronelColumns(db::TableDefinition& table) {
    table.appendColumn(kChronelName, kText, 50);
    table.appendColumn(kChronelPayType, kText, 50);
}

}  // namespace

std::vector<db::TableDefinition> stageTableDefinitions() {
    db::TableDefinition punch{kPunch, {}};
    appendTicketColumns(punch);
    punch.appendColumn(kPosted, kBoolean);
    punch.appendColumn(kError, kText, 255);

    // One row per export that sent a message, with the company file it went to (a path may
    // be longer than a text column holds).
    db::TableDefinition run{kExportRun, {}};
    run.appendColumn("ID", kInteger);
    run.appendColumn("Started", kDateTime);
    run.appendColumn("Finished", kDateTime);
    run.appendColumn(kCompanyFile, kLongText);

    // One row per ticket an export sent (or the check found posted without an export): the
    // staged values, the accounting system's id once known, and what became of it.
    db::TableDefinition ticket{kExportTicket, {}};
    ticket.appendColumn(kExportId, kInteger);
    appendTicketColumns(ticket);
    ticket.appendColumn(kTxnId, kText, kTxnIdWidth);
    ticket.appendColumn(kUndone, kBoolean);
    ticket.appendColumn(kState, kText, 20);
    appendChronelColumns(ticket);
    ticket.appendColumn(kMessage, kText, 255);

    // The time-and-attendance names of each staged ticket that a map entry renamed; Punch keeps
    // its own columns.
    db::TableDefinition source{kPunchSource, {}};
    source.appendColumn(kSequence, kInteger);
    appendChronelColumns(source);

    // The clerk's map of names: kind "employee" or "pay type", the time-and-attendance
    // system's name and the accounting system's.
    db::TableDefinition map{kNameMap, {}};
    map.appendColumn("Kind", kText, 20);
    map.appendColumn(kChronelName, kText, 50);
    map.appendColumn("QuickBooksName", kText, 50);

    return {nameTable(kEmployee), nameTable(kPayType), std::move(punch), std::move(run),
            std::move(ticket),    std::move(source),   std::move(map)};
}

bool isCheckedTable(const std::string& table) {
    return table == kExportRun || table == kExportTicket || table == kNameMap ||
           table == kPunchSource;
}

bool isAddedLater(const std::string& table, const std::string& column) {
    return (table == kExportRun && column == kCompanyFile) ||
           (table == kExportTicket && column == kState) ||
           (table == kExportTicket &&
            (column == kChronelName || column == kChronelPayType || column == kMessage));
}

std::vector<std::pair<const char*, const char*>> stageLookupColumns() {
    // The journal's rows are also found by Sequence (an answer confirming its ticket), by
    // TxnID (the check asking whether a posted ticket is recorded) and by State (the tickets
    // sent and not yet confirmed).
    return {{kPunch, kSequence},        {kEmployee, kName},         {kPayType, kName},
            {kExportTicket, kExportId}, {kExportTicket, kSequence}, {kExportTicket, kTxnId},
            {kExportTicket, kState},    {kNameMap, kChronelName},   {kPunchSource, kSequence}};
}

}  // namespace vantrell::stage
