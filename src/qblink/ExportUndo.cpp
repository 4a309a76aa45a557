#include <string>
#include <vector>

#include "diag/Failure.h"
#include "diag/TraceFile.h"
#include "diag/Utf8.h"
#include "interfacedb/DbError.h"
#include "interfacedb/stage/PostingJournal.h"
#include "qblink/PostedTicketAnswer.h"
#include "qblink/QuickBooksLink.h"
#include "qblink/RequestText.h"
#include "qblink/ValueFormat.h"

namespace vantrell {

namespace {

// The accounting system's status for a transaction it does not hold: the ticket is gone.
constexpr const char* kNoSuchTransaction = "3120";
// A query that found nothing.
constexpr const char* kNothingFound = "1";

std::string describe(const stage::JournalTicket& ticket) {
    const std::string date = ticket.date ? ticket.date->dateText() : std::string();
    return ticket.name + " on " + date + ", " + ticket.payType + ", " +
           hoursText(hoursToMinutes(ticket.hours).value_or(0)) + " hours (" + ticket.txnId + ")";
}

std::string describe(const PostedTimeTicket& ticket) {
    return ticket.employee + " on " + ticket.date + ", " + ticket.wageItem + ", " +
           (ticket.minutes ? hoursText(*ticket.minutes) : std::string("unreadable")) + " hours";
}

// The position (from 0) that a requestID names among `count` requests numbered from 1, or
// nothing. Only the number exactly as it was sent counts: "0", "01", "1x" or " 1" name no
// request, so that an answer cannot reach a ticket it was not given for.
std::optional<std::size_t> positionOf(const std::string& requestId, std::size_t count) {
    if (requestId.empty() || requestId.size() > 18 || requestId.front() == '0') {
        return std::nullopt;
    }
    std::size_t number = 0;
    for (const char c : requestId) {
        if (c < '0' || c > '9') {
            return std::nullopt;
        }
        number = number * 10 + static_cast<std::size_t>(c - '0');
    }
    if (number < 1 || number > count) {
        return std::nullopt;
    }
    return number - 1;
}

// Each request's answer by position; a request answered twice counts as unanswered, as two
// answers cannot both be believed.
template <class Answer>
std::vector<const Answer*> answersByPosition(const std::vector<Answer>& answers,
                                             std::size_t count) {
    std::vector<const Answer*> byPosition(count, nullptr);
    std::vector<int> seen(count, 0);
    for (const Answer& answer : answers) {
        if (const auto position = positionOf(answer.requestId, count)) {
            byPosition[*position] = &answer;
            ++seen[*position];
        }
    }
    for (std::size_t i = 0; i < count; ++i) {
        if (seen[i] > 1) {
            byPosition[i] = nullptr;
        }
    }
    return byPosition;
}

// The posted ticket is the one the journal row records: same employee and wage item (without
// letter case, as the accounting system compares names), date and whole minutes.
bool sameTicket(const stage::JournalTicket& journaled, const PostedTimeTicket& posted) {
    return journaled.date && posted.txnId == journaled.txnId &&
           posted.date == journaled.date->dateText() &&
           equalsIgnoringAsciiCase(posted.employee, journaled.name) &&
           equalsIgnoringAsciiCase(posted.wageItem, journaled.payType) && posted.minutes &&
           posted.minutes == hoursToMinutes(journaled.hours);
}

}  // namespace

QuickBooksLink::UndoOutcome QuickBooksLink::UndoExport(std::int64_t exportId) {
    db::Connection& cn = interfaceConnection();
    UndoOutcome outcome{UndoOutcome::Kind::UnknownExport, 0, 0, 0, {}, false};
    if (!stage::findExport(cn, exportId)) {
        return outcome;
    }
    std::vector<stage::JournalTicket> left;
    for (stage::JournalTicket& journaled : stage::exportTickets(cn, exportId)) {
        if (!journaled.damage.empty()) {
            outcome.kept.push_back("Not undone: the journal's " + journaled.damage +
                                   "; that row cannot be used until it is mended.");
        } else if (journaled.state == stage::TicketState::Sent) {
            ++outcome.unconfirmed;
        } else if (journaled.state != stage::TicketState::Confirmed || journaled.undone) {
            continue;
        } else if (journaled.txnId.empty()) {
            outcome.kept.push_back("Not undone: " + describe(journaled) +
                                   ": no transaction id was recorded for it");
        } else {
            left.push_back(std::move(journaled));
        }
    }
    const auto finish = [&] {
        outcome.kind = outcome.kept.empty() && outcome.unconfirmed == 0 && !outcome.notRecorded
                           ? UndoOutcome::Kind::AllGone
                           : UndoOutcome::Kind::SomeRemain;
        return outcome;
    };
    if (left.empty()) {
        if (outcome.kept.empty() && outcome.unconfirmed == 0) {
            outcome.kind = UndoOutcome::Kind::NothingLeft;
            return outcome;
        }
        return finish();
    }

    // First what the accounting system holds under those ids: a ticket is deleted only when
    // it is the one the journal recorded, never another that the id names in this file.
    std::vector<std::string> txnIds;
    for (const stage::JournalTicket& journaled : left) {
        txnIds.push_back(journaled.txnId);
    }
    const std::string query = timeTicketByIdQueryRequest(txnIds);
    SaveTextFile(log_.folder(), "UndoCheckReq.txt", query);
    const std::string held = processor().ProcessRequest(ticket, query);
    SaveTextFile(log_.folder(), "UndoCheckResp.txt", held);
    const std::vector<QueriedTicket> found = readQueriedTickets(held);
    const std::vector<const QueriedTicket*> foundFor = answersByPosition(found, left.size());

    std::vector<std::string> gone;
    std::vector<const stage::JournalTicket*> toDelete;
    for (std::size_t i = 0; i < left.size(); ++i) {
        const QueriedTicket* answer = foundFor[i];
        if (answer == nullptr) {
            outcome.kept.push_back("Not deleted: " + describe(left[i]) +
                                   ": QuickBooks gave no answer to the question whether it "
                                   "holds it");
        } else if (answer->statusCode == kNoSuchTransaction ||
                   (answer->statusCode == kNothingFound && !answer->ticket)) {
            gone.push_back(left[i].txnId);
            ++outcome.alreadyGone;
        } else if (answer->statusCode != "0" || !answer->ticket) {
            outcome.kept.push_back(
                "Not deleted: " + describe(left[i]) +
                ": QuickBooks did not say whether it holds it: " + answer->statusMessage);
        } else if (!sameTicket(left[i], *answer->ticket)) {
            outcome.kept.push_back("Not deleted: " + describe(left[i]) +
                                   ": QuickBooks holds another ticket under that id (" +
                                   describe(*answer->ticket) + "); it is left alone");
        } else {
            toDelete.push_back(&left[i]);
        }
    }

    if (!toDelete.empty()) {
        std::vector<std::string> deleteIds;
        for (const stage::JournalTicket* journaled : toDelete) {
            deleteIds.push_back(journaled->txnId);
        }
        const std::string request = timeTicketDeleteRequest(deleteIds);
        SaveTextFile(log_.folder(), "UndoReq.txt", request);
        const std::string response = processor().ProcessRequest(ticket, request);
        SaveTextFile(log_.folder(), "UndoResp.txt", response);
        const std::vector<RequestAnswer> answers = readRequestAnswers(response, "TxnDelRs");
        const std::vector<const RequestAnswer*> answerFor =
            answersByPosition(answers, toDelete.size());
        for (std::size_t i = 0; i < toDelete.size(); ++i) {
            const RequestAnswer* answer = answerFor[i];
            if (answer != nullptr && answer->statusCode == "0") {
                gone.push_back(toDelete[i]->txnId);
                ++outcome.deleted;
            } else if (answer != nullptr && answer->statusCode == kNoSuchTransaction) {
                // Gone between the question and the delete: not deleted by this undo.
                gone.push_back(toDelete[i]->txnId);
                ++outcome.alreadyGone;
            } else {
                outcome.kept.push_back(
                    "Not deleted: " + describe(*toDelete[i]) + ": " +
                    (answer != nullptr ? answer->statusMessage : std::string("no answer")));
            }
        }
    }
    try {
        stage::markUndone(cn, exportId, gone);
    } catch (const db::DbError& e) {
        // What the accounting system no longer holds stays so: the next undo finds it gone.
        log_.WriteLogEntry("ERROR", "UndoExport",
                           "The undo of export " + std::to_string(exportId) +
                               " could not be recorded in Vantrell.mdb: " + e.what());
        outcome.notRecorded = true;
    }
    return finish();
}

}  // namespace vantrell
