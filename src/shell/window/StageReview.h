#pragma once

#include <memory>
#include <string>
#include <vector>

#include "diag/modErrorLog.h"
#include "interfacedb/Connection.h"
#include "qblink/QuickBooksLink.h"
#include "shell/window/FrontEnd.h"
#include "shell/window/ProgramState.h"
#include "shell/window/TicketTable.h"
#include "shell/window/TicketTotals.h"

namespace vantrell {

// The review of the stage, the same for every front end: every ticket the activation left
// staged, the totals, and what the check of the tickets already posted settled. It reads the
// stage and changes nothing.
class StageReview {
  public:
    static constexpr const char* kCaption = "Review staged tickets";
    static constexpr const char* kCsvName = "Staged tickets.csv";

    // Reads Punch through `cn` and takes what `check` found. Throws DbError when the stage
    // cannot be read; nothing is changed either way.
    StageReview(db::Connection& cn, const QuickBooksLink::PostedCheck& check);

    // The tickets in a table a click on a column's title sorts.
    TicketTable& table() { return table_; }
    const TicketTable& table() const { return table_; }
    const TicketTotals& totals() const { return totals_; }

    // The lines over the table: the count of tickets and hours, then how many tickets the
    // check found posted already (or that it was not made).
    std::vector<std::string> summaryLines() const;

    // Asks `dialog` for a file and writes the table there as CSV, in the order shown. True
    // when written; false when the clerk cancelled or it failed: a failure is logged under
    // "SaveCsv" naming the path, which shows it to the clerk.
    bool saveAsCsv(modErrorLog& log, FileSaveDialog& dialog) const;

  private:
    TicketTable table_;
    TicketTotals totals_;
    QuickBooksLink::PostedCheck check_;
};

// The review of the stage that `state` holds now, with what `link`'s last check found; the step
// every front end runs to open the review. Nothing when the stage cannot be read (or the
// interface database is not open): that is logged under "ReviewStage", which shows it.
std::unique_ptr<StageReview> openStageReview(modErrorLog& log, ProgramState& state,
                                             const QuickBooksLink& link);

// The review as tab-separated lines for a terminal: the summary lines, the table's header and
// rows, an empty line, then the totals' header and rows. A tab or line break inside a name
// becomes a space, so that each ticket stays one line of fields.
std::vector<std::string> reviewAsTabSeparatedLines(const StageReview& review);

}  // namespace vantrell
