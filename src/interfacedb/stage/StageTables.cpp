#include "interfacedb/stage/StageTables.h"

#include "interfacedb/ColumnType.h"

namespace vantrell::stage {

namespace {

constexpr int kText = static_cast<int>(db::DataTypeCode::VarWChar);
constexpr int kInteger = static_cast<int>(db::DataTypeCode::Integer);
constexpr int kDateTime = static_cast<int>(db::DataTypeCode::Date);
constexpr int kSingle = static_cast<int>(db::DataTypeCode::Single);
constexpr int kBoolean = static_cast<int>(db::DataTypeCode::Boolean);

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

}  // namespace

std::vector<db::TableDefinition> stageTableDefinitions() {
    db::TableDefinition punch{kPunch, {}};
    appendTicketColumns(punch);
    punch.appendColumn(kPosted, kBoolean);
    punch.appendColumn(kError, kText, 255);

    // One row per export that sent a message.
    db::TableDefinition run{kExportRun, {}};
    run.appendColumn("ID", kInteger);
    run.appendColumn("Started", kDateTime);
    run.appendColumn("Finished", kDateTime);

    // One row per ticket an export posted: the staged values and the accounting system's id.
    db::TableDefinition ticket{kExportTicket, {}};
    ticket.appendColumn("ExportID", kInteger);
    appendTicketColumns(ticket);
    ticket.appendColumn("TxnID", kText, kTxnIdWidth);
    ticket.appendColumn("Undone", kBoolean);

    return {nameTable(kEmployee), nameTable(kPayType), std::move(punch), std::move(run),
            std::move(ticket)};
}

std::vector<std::pair<const char*, const char*>> stageLookupColumns() {
    return {
        {kPunch, kSequence}, {kEmployee, kName}, {kPayType, kName}, {kExportTicket, "ExportID"}};
}

}  // namespace vantrell::stage
