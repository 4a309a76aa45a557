#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "diag/modErrorLog.h"
#include "interfacedb/Connection.h"
#include "interfacedb/stage/PostingJournal.h"
#include "shell/window/FrontEnd.h"
#include "shell/window/TicketTable.h"
#include "shell/window/TicketTotals.h"

namespace vantrell {

// The tickets one export sent, as the journal holds them: the receipt a clerk files with the
// payroll. Each ticket with the accounting system's transaction id and what became of it; a
// damaged journal row shows as damaged, with why, and counts in no total.
class ExportReceipt {
  public:
    // The columns of an export's tickets.
    static const std::vector<TicketColumn> kColumns;

    ExportReceipt(stage::ExportSummary summary, const std::vector<stage::JournalTicket>& tickets);

    // The receipt of export `id` read through `cn`, or nothing when the journal has no such
    // export. Throws DbError when the journal cannot be read.
    static std::optional<ExportReceipt> read(db::Connection& cn, std::int64_t id);

    const stage::ExportSummary& summary() const { return summary_; }
    TicketTable& table() { return table_; }
    const TicketTable& table() const { return table_; }
    // The totals of the tickets the export left in QuickBooks (posted and not undone).
    const TicketTotals& totals() const { return totals_; }

    // The lines over the table: the export, its company file, then what became of its tickets.
    std::vector<std::string> summaryLines() const;

    // Whether an undo has anything to do: tickets posted and not undone, or sent without an
    // answer (the undo then says so).
    bool canUndo() const;
    // The question the undo asks first, naming the tickets it deletes, their hours and the
    // company file.
    std::string undoConfirmation() const;

    // "Export 3.csv".
    std::string csvName() const;
    // Asks `dialog` for a file and writes the table there as CSV, in the order shown. True
    // when written; false when the clerk cancelled or it failed (logged under "SaveCsv",
    // naming the path, which shows it to the clerk).
    bool saveAsCsv(modErrorLog& log, FileSaveDialog& dialog) const;

  private:
    stage::ExportSummary summary_;
    TicketTable table_;
    TicketTotals totals_;
    std::int64_t toUndo_ = 0;   // sound tickets posted and not undone
    double hoursToUndo_ = 0;    // their hours
    std::int64_t refused_ = 0;  // refused or not posted
    std::int64_t damagedRows_ = 0;
};

// What the receipt's State column says of a journal ticket: "posted", "undone", "unconfirmed",
// "refused", "not posted", "settled" or "damaged".
std::string receiptStateText(const stage::JournalTicket& ticket);

}  // namespace vantrell
