#include <cstdlib>
#include <string>
#include <vector>

#include "diag/Failure.h"
#include "diag/TraceFile.h"
#include "interfacedb/stage/PostingJournal.h"
#include "qblink/PostedTicketAnswer.h"
#include "qblink/QuickBooksLink.h"
#include "qblink/RequestText.h"
#include "qblink/ValueFormat.h"

namespace vantrell {

namespace {

// The accounting system's status for a transaction it does not hold: the ticket is gone.
constexpr const char* kNoSuchTransaction = "3120";

std::string describe(const stage::JournalTicket& ticket) {
    const std::string date = ticket.date ? ticket.date->dateText() : std::string();
    return ticket.name + " on " + date + ", " + ticket.payType + ", " +
           hoursText(hoursToMinutes(ticket.hours).value_or(0)) + " hours (" + ticket.txnId + ")";
}

}  // namespace

QuickBooksLink::UndoOutcome QuickBooksLink::UndoExport(std::int64_t exportId) {
    db::Connection& cn = interfaceConnection();
    UndoOutcome outcome{UndoOutcome::Kind::UnknownExport, 0, {}};
    if (!stage::findExport(cn, exportId)) {
        return outcome;
    }
    std::vector<stage::JournalTicket> left;
    for (stage::JournalTicket& journaled : stage::exportTickets(cn, exportId)) {
        if (!journaled.undone) {
            left.push_back(std::move(journaled));
        }
    }
    if (left.empty()) {
        outcome.kind = UndoOutcome::Kind::NothingLeft;
        return outcome;
    }

    // A ticket whose answer carried no id cannot be named to the accounting system.
    std::erase_if(left, [&](const stage::JournalTicket& journaled) {
        if (!journaled.txnId.empty()) {
            return false;
        }
        outcome.refusals.push_back("Not deleted: " + describe(journaled) +
                                   ": no transaction id was recorded for it");
        return true;
    });
    if (left.empty()) {
        outcome.kind = UndoOutcome::Kind::SomeRemain;
        return outcome;
    }
    std::vector<std::string> txnIds;
    for (const stage::JournalTicket& journaled : left) {
        txnIds.push_back(journaled.txnId);
    }
    const std::string request = timeTicketDeleteRequest(txnIds);
    SaveTextFile(log_.folder(), "UndoReq.txt", request);
    const std::string response = processor().ProcessRequest(ticket, request);
    SaveTextFile(log_.folder(), "UndoResp.txt", response);

    // Each answer names its request by position; one that is missing leaves its ticket as it
    // was, counted among those that remain.
    std::vector<const RequestAnswer*> answerFor(left.size(), nullptr);
    const std::vector<RequestAnswer> answers = readRequestAnswers(response, "TxnDelRs");
    for (const RequestAnswer& answer : answers) {
        const std::size_t position = std::strtoul(answer.requestId.c_str(), nullptr, 10);
        if (position >= 1 && position <= left.size() &&
            answer.requestId == std::to_string(position)) {
            answerFor[position - 1] = &answer;
        }
    }
    std::vector<std::string> gone;
    for (std::size_t i = 0; i < left.size(); ++i) {
        const RequestAnswer* answer = answerFor[i];
        if (answer != nullptr &&
            (answer->statusCode == "0" || answer->statusCode == kNoSuchTransaction)) {
            gone.push_back(left[i].txnId);
        } else {
            outcome.refusals.push_back(
                "Not deleted: " + describe(left[i]) + ": " +
                (answer != nullptr ? answer->statusMessage : std::string("no answer")));
        }
    }
    stage::markUndone(cn, exportId, gone);
    outcome.deleted = static_cast<std::int64_t>(gone.size());
    outcome.kind =
        outcome.refusals.empty() ? UndoOutcome::Kind::AllGone : UndoOutcome::Kind::SomeRemain;
    return outcome;
}

}  // namespace vantrell
