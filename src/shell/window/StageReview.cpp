#include "shell/window/StageReview.h"

#include "diag/Guard.h"
#include "interfacedb/stage/Stage.h"
#include "shell/window/TabSeparated.h"
#include "shell/window/TableCsv.h"

namespace vantrell {

namespace {

std::vector<TicketRow> stagedRows(db::Connection& cn) {
    std::vector<stage::StagedTicket> staged = stage::readStagedTickets(cn);
    std::vector<TicketRow> rows;
    rows.reserve(staged.size());
    for (stage::StagedTicket& ticket : staged) {
        TicketRow row;
        row.employee = std::move(ticket.name);
        row.date = ticket.date;
        row.hours = ticket.hours;
        row.wageItem = std::move(ticket.payType);
        row.message = std::move(ticket.error);
        rows.push_back(std::move(row));
    }
    return rows;
}

std::string ticketCount(std::int64_t count) {
    return count == 1 ? "1 time ticket" : std::to_string(count) + " time tickets";
}

}  // namespace

StageReview::StageReview(db::Connection& cn, const QuickBooksLink::PostedCheck& check)
    : table_(kStagedTicketColumns, stagedRows(cn)),
      totals_(totalTickets(table_.rowsAsGiven())),
      check_(check) {}

std::vector<std::string> StageReview::summaryLines() const {
    std::vector<std::string> lines;
    const TicketTotal& all = totals_.overall;
    if (all.tickets == 0) {
        lines.push_back("No time ticket is staged.");
    } else {
        lines.push_back(ticketCount(all.tickets) + (all.tickets == 1 ? " is" : " are") +
                        " staged, " + totalHoursText(all.hours) + " hours in all.");
    }
    if (!check_.made) {
        lines.push_back(
            "The check for time tickets already in QuickBooks was not made (see the main "
            "window's list).");
    } else if (check_.alreadyPosted == 0) {
        lines.push_back("The check found no staged time ticket in QuickBooks already.");
    } else {
        lines.push_back("The check found " + ticketCount(check_.alreadyPosted) +
                        " in QuickBooks already and took " +
                        (check_.alreadyPosted == 1 ? "it" : "them") + " out of the stage.");
    }
    return lines;
}

std::unique_ptr<StageReview> openStageReview(modErrorLog& log, ProgramState& state,
                                             const QuickBooksLink& link) {
    std::unique_ptr<StageReview> review;
    guard(log, "ReviewStage", [&] {
        if (!state.interfaceDb.cnInterface) {
            throw Failure("The interface database is not open.");
        }
        review = std::make_unique<StageReview>(*state.interfaceDb.cnInterface, link.postedCheck());
    });
    return review;
}

bool StageReview::saveAsCsv(modErrorLog& log, FileSaveDialog& dialog) const {
    return saveTableAsCsv(log, dialog, table_, kCsvName);
}

std::vector<std::string> reviewAsTabSeparatedLines(const StageReview& review) {
    std::vector<std::string> lines = review.summaryLines();
    for (std::string& line : tabSeparatedLines(review.table(), totalsRows(review.totals()))) {
        lines.push_back(std::move(line));
    }
    return lines;
}

}  // namespace vantrell
