#include "shell/window/ExportHistory.h"

#include <algorithm>
#include <stdexcept>

#include "diag/Failure.h"
#include "diag/FileSystem.h"
#include "diag/Guard.h"
#include "shell/window/TabSeparated.h"

namespace vantrell {

namespace {

db::Connection& journalOf(ProgramState& state) {
    if (!state.interfaceDb.cnInterface) {
        throw Failure("The interface database is not open.");
    }
    return *state.interfaceDb.cnInterface;
}

std::string noteOf(const stage::ExportSummary& summary) {
    if (!summary.damage.empty()) {
        return "damaged: " + summary.damage;
    }
    if (summary.damaged > 0) {
        return std::to_string(summary.damaged) +
               (summary.damaged == 1 ? " ticket row damaged" : " ticket rows damaged");
    }
    return {};
}

}  // namespace

const std::array<const char*, ExportHistory::kColumnCount> ExportHistory::kTitles = {
    "ID", "Started", "Finished", "Company file", "Posted", "Undone", "Unconfirmed", "Note"};

ExportHistory::ExportHistory(ProgramState& state) : state_(state) {
    reload();
}

void ExportHistory::reload() {
    const std::optional<std::int64_t> selectedId =
        receipt_ ? std::optional<std::int64_t>(receipt_->summary().id) : std::nullopt;
    db::Connection& cn = journalOf(state_);
    std::vector<stage::ExportSummary> exports = stage::listExports(cn);
    // Newest first: the journal lists by ID, the damaged rows (which have none) last; they
    // stay last, where they cannot pass for the newest export.
    const auto sound = std::stable_partition(
        exports.begin(), exports.end(),
        [](const stage::ExportSummary& summary) { return summary.damage.empty(); });
    std::reverse(exports.begin(), sound);
    exports_ = std::move(exports);
    settledLine_ = settledByCheckLine(stage::settledByCheckCount(cn));
    selected_.reset();
    receipt_.reset();
    if (selectedId) {
        for (std::size_t row = 0; row < exports_.size(); ++row) {
            if (exports_[row].damage.empty() && exports_[row].id == *selectedId) {
                select(row);
                break;
            }
        }
    }
}

std::string ExportHistory::text(std::size_t row, std::size_t column) const {
    const stage::ExportSummary& summary = exports_.at(row);
    const bool damaged = !summary.damage.empty();
    switch (column) {
        case 0:
            return damaged ? "(damaged)" : std::to_string(summary.id);
        case 1:
            return summary.started ? summary.started->toStorageText() : std::string();
        case 2:
            return summary.finished ? summary.finished->toStorageText() : std::string();
        case 3:
            return summary.companyFile;
        case 4:
            return damaged ? std::string() : std::to_string(summary.posted);
        case 5:
            return damaged ? std::string() : std::to_string(summary.undone);
        case 6:
            return damaged ? std::string() : std::to_string(summary.unconfirmed);
        case 7:
            return noteOf(summary);
        default:
            throw std::out_of_range("no such column of the export history");
    }
}

bool ExportHistory::numeric(std::size_t column) const {
    return column == 0 || (column >= 4 && column <= 6);
}

void ExportHistory::select(std::optional<std::size_t> row) {
    selected_.reset();
    receipt_.reset();
    if (!row) {
        return;
    }
    const stage::ExportSummary& summary = exports_.at(*row);
    selected_ = row;
    if (!summary.damage.empty()) {
        return;  // a damaged row has no usable ID: no tickets can be said to be its own
    }
    try {
        std::optional<ExportReceipt> read = ExportReceipt::read(journalOf(state_), summary.id);
        if (read) {
            receipt_ = std::make_unique<ExportReceipt>(std::move(*read));
        }
    } catch (...) {
        selected_.reset();
        throw;
    }
}

std::vector<UndoLine> ExportHistory::undoSelected(modErrorLog& log, QuickBooksLink& link) {
    if (!receipt_) {
        return {{"Select an export first.", false}};
    }
    const stage::ExportSummary summary = receipt_->summary();
    const std::string id = std::to_string(summary.id);
    // An export is undone only in the company file it was posted to: its transaction ids name
    // nothing, or other tickets, anywhere else.
    if (!summary.companyFile.empty() &&
        !namesSameFile(utf8ToPath(summary.companyFile), utf8ToPath(link.sessionCompanyFile()))) {
        return {{"Export " + id + " was posted to the company file \"" + summary.companyFile +
                     "\", not to \"" + link.sessionCompanyFile() +
                     "\", which Vantrell is working with; it can be undone only there. Nothing "
                     "was deleted.",
                 false}};
    }
    if (!link.blnQBConnected) {
        return {
            {"Vantrell has no session with QuickBooks (see VantrellLog.txt); nothing was "
             "deleted.",
             false}};
    }
    std::optional<QuickBooksLink::UndoOutcome> outcome;
    guard(log, "UndoExport", [&] { outcome = link.UndoExport(summary.id); });
    std::vector<UndoLine> lines;
    if (!outcome) {
        lines.push_back({"Export " + id +
                             " could not be undone (see VantrellLog.txt); undo it "
                             "again once QuickBooks answers.",
                         false});
    } else {
        lines = undoOutcomeLines(summary.id, *outcome, "undo of export " + id);
    }
    // The history says what the journal holds now, whatever the undo managed.
    guard(log, "ExportHistory", [&] { reload(); });
    return lines;
}

std::unique_ptr<ExportHistory> openExportHistory(modErrorLog& log, ProgramState& state) {
    std::unique_ptr<ExportHistory> history;
    guard(log, "ExportHistory", [&] { history = std::make_unique<ExportHistory>(state); });
    return history;
}

std::vector<std::string> receiptAsTabSeparatedLines(const ExportReceipt& receipt) {
    std::vector<std::string> lines = receipt.summaryLines();
    for (std::string& line : tabSeparatedLines(receipt.table(), totalsRows(receipt.totals()))) {
        lines.push_back(std::move(line));
    }
    return lines;
}

}  // namespace vantrell
