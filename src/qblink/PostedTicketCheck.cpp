#include <string>
#include <unordered_set>
#include <utility>

#include "diag/Guard.h"
#include "interfacedb/stage/CheckInputs.h"
#include "interfacedb/stage/PostingJournal.h"
#include "interfacedb/stage/Stage.h"
#include "qblink/PostedTicketMatch.h"
#include "qblink/QuickBooksLink.h"
#include "qblink/ValueFormat.h"

namespace vantrell {

namespace {

constexpr const char* kCheckFailed =
    "Could not check which time tickets QuickBooks already holds; see VantrellLog.txt.";

std::string minutesText(const std::optional<std::int64_t>& minutes) {
    return minutes ? hoursText(*minutes) : std::string("unreadable");
}

std::string changedLine(const ChangedTicket& changed) {
    std::string posted;
    for (const auto& minutes : changed.postedMinutes) {
        posted += (posted.empty() ? "" : " or ") + minutesText(minutes);
    }
    const std::string date = changed.staged.date ? changed.staged.date->dateText() : std::string();
    return "Ticket changed in QuickBooks: " + changed.staged.name + " on " + date + ", " +
           changed.staged.payType + ": " + minutesText(changed.stagedMinutes) + " hours staged, " +
           posted + " hours in QuickBooks";
}

}  // namespace

void QuickBooksLink::CheckPostedTickets() {
    postedCheck_ = {};
    const bool checked = guard(log_, "CheckPostedTickets", [&] {
        db::Connection& cn = interfaceConnection();
        // The staged dates, and those of tickets an earlier export sent without learning their
        // fate: the same answer settles both.
        std::optional<std::pair<db::DateTime, db::DateTime>> range = stage::stagedDateRange(cn);
        const std::vector<stage::JournalTicket> unconfirmed =
            stage::unconfirmedTickets(cn, sessionCompanyFile_);
        for (const stage::JournalTicket& sent : unconfirmed) {
            const db::DateTime day = *sent.date;
            if (!range) {
                range.emplace(day, day);
            } else if (day.dateText() < range->first.dateText()) {
                range->first = day;
            } else if (day.dateText() > range->second.dateText()) {
                range->second = day;
            }
        }
        // Without a dated ticket nothing staged can be one the accounting system holds.
        if (range) {
            // What the answer is paired with is read while the accounting system answers, once
            // there is something to pair: the usual first export finds nothing there and
            // nothing sent unconfirmed, and reads neither the journal nor the stage.
            stage::CheckInputsReading inputs(cn, sessionCompanyFile_);
            if (!unconfirmed.empty()) {
                inputs.start();
            }
            std::vector<PostedTimeTicket> posted = askPostedTickets(
                range->first.dateText(), range->second.dateText(), [&inputs] { inputs.start(); });
            if (!posted.empty() || !unconfirmed.empty()) {
                settlePostedTickets(std::move(posted), unconfirmed, inputs.take());
            }
        }
        postedCheck_.made = true;
    });
    if (!checked) {
        postedCheck_ = {};
        postedCheck_.issueLines.push_back(kCheckFailed);
    }
}

// Pairs what the accounting system holds with the journal's unconfirmed tickets and with the
// stage, and applies all of it in one transaction: a sent ticket found posted is confirmed with
// the TxnID read, one not found is recorded as not posted; a staged ticket found posted leaves
// Punch, with a journal row of its own when no export recorded it.
void QuickBooksLink::settlePostedTickets(std::vector<PostedTimeTicket> posted,
                                         const std::vector<stage::JournalTicket>& unconfirmed,
                                         stage::CheckInputs inputs) {
    db::Connection& cn = interfaceConnection();
    // The posted tickets the journal holds, with the names they were staged from: read once for
    // the pairing and for what it settles.
    const JournalNames& journal = inputs.journal;
    std::unordered_set<std::string> recordedNow;  // by this settlement
    const auto recorded = [&](const std::string& txnId) {
        return journal.contains(txnId) || recordedNow.contains(txnId);
    };
    stage::CheckSettlement settlement;

    if (!unconfirmed.empty()) {
        std::vector<PostedTimeTicket> unrecorded;
        for (const PostedTimeTicket& held : posted) {
            if (!recorded(held.txnId)) {
                unrecorded.push_back(held);
            }
        }
        // The sent tickets in the staged form that the pairing takes, numbered by position.
        std::vector<stage::StagedTicket> sent;
        for (std::size_t i = 0; i < unconfirmed.size(); ++i) {
            const stage::JournalTicket& row = unconfirmed[i];
            sent.push_back({static_cast<std::int32_t>(i),
                            row.name,
                            row.date,
                            row.hours,
                            row.payType,
                            {},
                            row.name,
                            row.payType});
        }
        const TicketMatch match = matchPostedTickets(sent, unrecorded);
        std::vector<bool> confirmed(unconfirmed.size(), false);
        for (std::size_t k = 0; k < match.alreadyPosted.size(); ++k) {
            const auto position = static_cast<std::size_t>(match.alreadyPosted[k]);
            confirmed[position] = true;
            settlement.confirmed.emplace_back(unconfirmed[position].row,
                                              match.alreadyPostedTxnIds[k]);
            recordedNow.insert(match.alreadyPostedTxnIds[k]);
        }
        for (std::size_t i = 0; i < unconfirmed.size(); ++i) {
            if (!confirmed[i]) {
                settlement.notPosted.push_back(unconfirmed[i].row);
            }
        }
    }

    // A posted ticket that already stands for a ticket gone from this stage pairs with no other.
    if (!pairedTxnIds_.empty()) {
        std::erase_if(posted, [&](const PostedTimeTicket& held) {
            return pairedTxnIds_.contains(held.txnId);
        });
    }
    TicketMatch match = matchPostedTickets(inputs.staged, posted, journal);
    for (std::size_t k = 0; k < match.alreadyPosted.size(); ++k) {
        const std::string& txnId = match.alreadyPostedTxnIds[k];
        if (recorded(txnId)) {
            settlement.recorded.push_back(match.alreadyPosted[k]);
        } else {
            settlement.settled.emplace_back(match.alreadyPosted[k], txnId);
            recordedNow.insert(txnId);
        }
    }
    // What was read is dropped before the settlement is written: a large stage's tickets, the
    // answer's and the journal's would otherwise be held beside what the writing takes.
    inputs = {};
    posted = {};
    stage::settleCheck(cn, settlement);
    postedCheck_.alreadyPosted = static_cast<std::int64_t>(match.alreadyPosted.size());
    pairedTxnIds_.reserve(pairedTxnIds_.size() + match.alreadyPostedTxnIds.size());
    for (std::string& txnId : match.alreadyPostedTxnIds) {
        if (!txnId.empty()) {
            pairedTxnIds_.insert(std::move(txnId));
        }
    }
    for (const ChangedTicket& changed : match.changed) {
        postedCheck_.issueLines.push_back(changedLine(changed));
    }
}

void QuickBooksLink::beginActivation() {
    postedCheck_ = {};
    answered_.clear();
    messageSent_ = false;
    pairedTxnIds_.clear();
    namesChecked_.reset();
    employeeHints_.clear();
    payTypeHints_.clear();
}

}  // namespace vantrell
