#include "shell/window/ExportReceipt.h"

#include <cmath>

#include "shell/window/TableCsv.h"
#include "shell/window/UndoOutcomeText.h"

namespace vantrell {

namespace {

bool inQuickBooks(const stage::JournalTicket& ticket) {
    return ticket.damage.empty() && ticket.state == stage::TicketState::Confirmed && !ticket.undone;
}

TicketRow rowOf(const stage::JournalTicket& ticket) {
    TicketRow row;
    row.employee = ticket.name;
    row.date = ticket.date;
    row.hours = ticket.hours;
    row.wageItem = ticket.payType;
    row.txnId = ticket.txnId;
    row.state = receiptStateText(ticket);
    // A damaged row says why; a refused one keeps the accounting system's message whole.
    row.message = ticket.damage.empty() ? ticket.message : ticket.damage;
    return row;
}

std::string countOf(std::int64_t count, const char* one, const char* many) {
    return std::to_string(count) + " " + (count == 1 ? one : many);
}

}  // namespace

const std::vector<TicketColumn> ExportReceipt::kColumns = {
    TicketColumn::Employee, TicketColumn::Date,  TicketColumn::WageItem, TicketColumn::Hours,
    TicketColumn::TxnId,    TicketColumn::State, TicketColumn::Message};

std::string receiptStateText(const stage::JournalTicket& ticket) {
    if (!ticket.damage.empty()) {
        return "damaged";
    }
    switch (ticket.state) {
        case stage::TicketState::Sent:
            return "unconfirmed";
        case stage::TicketState::Confirmed:
            return ticket.undone ? "undone" : "posted";
        case stage::TicketState::Refused:
            return "refused";
        case stage::TicketState::NotPosted:
            return "not posted";
        case stage::TicketState::Settled:
            return "settled";
    }
    return "unconfirmed";
}

ExportReceipt::ExportReceipt(stage::ExportSummary summary,
                             const std::vector<stage::JournalTicket>& tickets)
    : summary_(std::move(summary)) {
    std::vector<TicketRow> rows;
    std::vector<TicketRow> posted;
    rows.reserve(tickets.size());
    for (const stage::JournalTicket& ticket : tickets) {
        rows.push_back(rowOf(ticket));
        if (!ticket.damage.empty()) {
            ++damagedRows_;
        } else if (inQuickBooks(ticket)) {
            posted.push_back(rows.back());
            ++toUndo_;
            if (std::isfinite(ticket.hours)) {
                hoursToUndo_ += static_cast<double>(ticket.hours);
            }
        } else if (ticket.state == stage::TicketState::Refused ||
                   ticket.state == stage::TicketState::NotPosted) {
            ++refused_;
        }
    }
    table_ = TicketTable(kColumns, std::move(rows));
    totals_ = totalTickets(posted);
}

std::optional<ExportReceipt> ExportReceipt::read(db::Connection& cn, std::int64_t id) {
    std::optional<stage::ExportSummary> summary = stage::findExport(cn, id);
    if (!summary) {
        return std::nullopt;
    }
    return ExportReceipt(std::move(*summary), stage::exportTickets(cn, id));
}

std::vector<std::string> ExportReceipt::summaryLines() const {
    std::vector<std::string> lines;
    if (!summary_.damage.empty()) {
        lines.push_back("This export's row of the posting journal is damaged: " + summary_.damage +
                        ".");
        return lines;
    }
    std::string first = "Export " + std::to_string(summary_.id);
    first += summary_.finished ? ", finished " + summary_.finished->toStorageText()
                               : std::string(", not finished");
    first += summary_.companyFile.empty() ? std::string(", company file not recorded.")
                                          : ", to \"" + summary_.companyFile + "\".";
    lines.push_back(first);
    std::string counts = countOf(summary_.posted, "time ticket", "time tickets") + " posted";
    if (summary_.undone > 0) {
        counts += ", " + std::to_string(summary_.undone) + " of them undone since";
    }
    counts += "; " + timeTicketsText(toUndo_) + " in QuickBooks now, " +
              totalHoursText(hoursToUndo_) + " hours.";
    lines.push_back(counts);
    if (summary_.unconfirmed > 0) {
        const bool one = summary_.unconfirmed == 1;
        lines.push_back(timeTicketsText(summary_.unconfirmed) +
                        " sent without an answer: whether QuickBooks holds " +
                        (one ? "it" : "them") + " is unknown until the next run's check.");
    }
    if (refused_ > 0) {
        lines.push_back(countOf(refused_, "time ticket was", "time tickets were") +
                        " refused or not posted.");
    }
    if (damagedRows_ > 0) {
        lines.push_back(countOf(damagedRows_, "ticket row", "ticket rows") +
                        " of the posting journal cannot be read (marked damaged); they are in "
                        "no total.");
    }
    return lines;
}

bool ExportReceipt::canUndo() const {
    return summary_.damage.empty() && (toUndo_ > 0 || summary_.unconfirmed > 0);
}

std::string ExportReceipt::undoConfirmation() const {
    std::string text =
        "Undo export " + std::to_string(summary_.id) + "? This deletes its " +
        timeTicketsText(toUndo_) + " (" + totalHoursText(hoursToUndo_) +
        " hours) from the company file \"" +
        (summary_.companyFile.empty() ? std::string("(not recorded)") : summary_.companyFile) +
        "\".";
    if (summary_.unconfirmed > 0) {
        text += " " + timeTicketsText(summary_.unconfirmed) + " sent without an answer " +
                (summary_.unconfirmed == 1 ? "is" : "are") + " left alone.";
    }
    if (damagedRows_ > 0) {
        text += " " + countOf(damagedRows_, "damaged journal row is", "damaged journal rows are") +
                " left alone.";
    }
    return text;
}

std::string ExportReceipt::csvName() const {
    return "Export " + std::to_string(summary_.id) + ".csv";
}

bool ExportReceipt::saveAsCsv(modErrorLog& log, FileSaveDialog& dialog) const {
    return saveTableAsCsv(log, dialog, table_, csvName());
}

}  // namespace vantrell
