#pragma once

#include <array>
#include <cstddef>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "diag/modErrorLog.h"
#include "interfacedb/stage/PostingJournal.h"
#include "qblink/QuickBooksLink.h"
#include "shell/window/ExportReceipt.h"
#include "shell/window/ProgramState.h"
#include "shell/window/UndoOutcomeText.h"

namespace vantrell {

// The history of exports, the same for every front end: one row per export of the posting
// journal, newest first, and the tickets of the export selected. The undo of the selected
// export runs here; the window then runs the activation again so that its list is current.
class ExportHistory {
  public:
    static constexpr const char* kCaption = "Export history";
    static constexpr std::size_t kColumnCount = 8;
    static const std::array<const char*, kColumnCount> kTitles;

    // Reads the journal through `state`'s interface database, which must stay open while the
    // history is shown. Throws DbError (or Failure when it is not open) when it cannot be read.
    explicit ExportHistory(ProgramState& state);

    std::size_t rowCount() const { return exports_.size(); }
    // The text of a cell: the ID, start and finish (yyyy-mm-dd hh:mm:ss), the company file, the
    // tickets posted, undone and unconfirmed, then a note on damaged rows. A damaged export's
    // row says "(damaged)" in place of its ID and why in its note. Throws std::out_of_range
    // outside the table.
    std::string text(std::size_t row, std::size_t column) const;
    bool numeric(std::size_t column) const;
    const stage::ExportSummary& exportAt(std::size_t row) const { return exports_.at(row); }
    // The line under the list on the tickets the check settled; "" for none.
    const std::string& settledLine() const { return settledLine_; }

    // Shows the tickets of the export at `row` (nothing: none). Throws DbError when the
    // journal cannot be read; the selection is then nothing.
    void select(std::optional<std::size_t> row);
    std::optional<std::size_t> selected() const { return selected_; }
    // The selected export's receipt, or null when none is selected or its row is damaged.
    ExportReceipt* receipt() { return receipt_.get(); }
    const ExportReceipt* receipt() const { return receipt_.get(); }

    // Undoes the selected export through `link`, whose session must be on the company file it
    // was posted to, and reads the history again (the same export stays selected). Returns
    // the lines that say what happened; a failure is logged under "UndoExport" and said in them.
    std::vector<UndoLine> undoSelected(modErrorLog& log, QuickBooksLink& link);

    // Reads the journal again, keeping the selected export selected when it is still there.
    void reload();

  private:
    ProgramState& state_;
    std::vector<stage::ExportSummary> exports_;
    std::string settledLine_;
    std::optional<std::size_t> selected_;
    std::unique_ptr<ExportReceipt> receipt_;
};

// The history that `state` holds now; nothing when the journal cannot be read (logged under
// "ExportHistory", which shows it).
std::unique_ptr<ExportHistory> openExportHistory(modErrorLog& log, ProgramState& state);

// One export's receipt as tab-separated lines for a terminal: its summary lines, the table's
// header and rows, an empty line, then the totals' header and rows.
std::vector<std::string> receiptAsTabSeparatedLines(const ExportReceipt& receipt);

}  // namespace vantrell
