#include <string>

#include "diag/Guard.h"
#include "diag/TraceFile.h"
#include "interfacedb/stage/Stage.h"
#include "qblink/PostedTicketAnswer.h"
#include "qblink/PostedTicketMatch.h"
#include "qblink/QuickBooksLink.h"
#include "qblink/RequestText.h"
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
        // Without a dated ticket nothing staged can be one the accounting system holds.
        if (const auto range = stage::stagedDateRange(cn)) {
            const std::string request =
                postedTicketQueryRequest(range->first.dateText(), range->second.dateText());
            SaveTextFile(log_.folder(), "CheckReq.txt", request);
            std::string response = processor().ProcessRequest(ticket, request);
            SaveTextFile(log_.folder(), "CheckResp.txt", response);

            const std::vector<PostedTimeTicket> posted = readPostedTickets(std::move(response));
            // The usual first export: nothing there, nothing to pair.
            if (!posted.empty()) {
                const TicketMatch match = matchPostedTickets(stage::readStagedTickets(cn), posted);
                stage::removeStagedTickets(cn, match.alreadyPosted);
                postedCheck_.alreadyPosted = static_cast<std::int64_t>(match.alreadyPosted.size());
                for (const ChangedTicket& changed : match.changed) {
                    postedCheck_.issueLines.push_back(changedLine(changed));
                }
            }
        }
        postedCheck_.made = true;
        exportSent_ = false;
    });
    if (!checked) {
        postedCheck_ = {};
        postedCheck_.issueLines.push_back(kCheckFailed);
    }
}

void QuickBooksLink::beginActivation() {
    postedCheck_ = {};
    exportSent_ = false;
    namesChecked_.reset();
    employeeHints_.clear();
    payTypeHints_.clear();
}

// After an export whose message went out, what the accounting system took is settled by the
// check before anything is sent again. True when the export may go on; otherwise the check's
// issues are to be listed.
bool QuickBooksLink::settleEarlierExport() {
    if (!exportSent_) {
        return true;
    }
    CheckPostedTickets();
    return postedCheck_.made && postedCheck_.issueLines.empty();
}

}  // namespace vantrell
