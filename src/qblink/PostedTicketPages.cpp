#include <algorithm>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "diag/Failure.h"
#include "diag/Guard.h"
#include "diag/TraceFile.h"
#include "qblink/PostedTicketAnswer.h"
#include "qblink/QuickBooksLink.h"
#include "qblink/RequestText.h"

namespace vantrell {

namespace {

// The most tickets the check makes room for before they come.
constexpr std::uint64_t kRoomAnnounced = 4'000'000;

// One pass of the iterator ended because the accounting system no longer knew it.
struct IteratorLost {};

}  // namespace

std::vector<PostedTimeTicket> QuickBooksLink::askPostedTickets(
    const std::string& fromDate, const std::string& toDate,
    const std::function<void()>& ticketsFound) {
    if (!pagedCheckRefused_) {
        if (std::optional<std::vector<PostedTimeTicket>> posted =
                askPostedTicketPages(fromDate, toDate, ticketsFound)) {
            return std::move(*posted);
        }
        // Remembered for the session: the next check asks the older way at once.
        pagedCheckRefused_ = true;
        log_.RecordLogNote("CheckPostedTickets",
                           std::string("QuickBooks does not take qbXML ") + kPagedCheckVersion +
                               ": the posted time tickets are asked for in one answer of qbXML " +
                               kPostedCheckVersion + ".");
    }
    const std::string request = postedTicketQueryRequest(fromDate, toDate);
    SaveTextFile(log_.folder(), "CheckReq.txt", request);
    std::string response = processor().ProcessRequest(ticket, request);
    SaveTextFile(log_.folder(), "CheckResp.txt", response);
    return readPostedTickets(std::move(response));
}

// Every page's tickets are gathered before any is paired: the pairing settles the journal and
// takes tickets off the stage, which a page failing later must not leave half done. The
// records kept are the five fields each, far less than a page's text, whose tree is dropped
// with the page.
std::optional<std::vector<PostedTimeTicket>> QuickBooksLink::askPostedTicketPages(
    const std::string& fromDate, const std::string& toDate,
    const std::function<void()>& ticketsFound) {
    int pages = 0;
    // An iterator the accounting system lost (it expires them) is begun again once.
    for (int pass = 1;; ++pass) {
        std::vector<PostedTimeTicket> posted;
        std::string iteratorId;
        bool open = false;  // the iterator has pages left that the accounting system holds
        try {
            std::optional<std::uint64_t> before;  // tickets left after the previous page
            for (;;) {
                const std::string request =
                    postedTicketPageRequest(fromDate, toDate, checkPageSize, iteratorId);
                SaveTextFile(log_.folder(), "CheckReq.txt", request);
                std::string response;
                try {
                    response = processor().ProcessRequest(ticket, request);
                } catch (const ProcessorFailure& failure) {
                    if (pages == 0 && failure.code() == kUnsupportedQbxmlVersion) {
                        return std::nullopt;
                    }
                    throw;
                }
                SaveTextFile(log_.folder(), "CheckResp.txt", response);
                ++pages;
                PostedTicketPage page = readPostedTicketPage(std::move(response));
                if (page.iteratorGone) {
                    throw IteratorLost{};
                }
                if (!iteratorId.empty() && !page.iteratorId.empty() &&
                    page.iteratorId != iteratorId) {
                    throw Failure("A page of QuickBooks names the iterator " + page.iteratorId +
                                  " instead of " + iteratorId + ".");
                }
                // Each page must bring tickets and leave fewer, or the pages would never end.
                if (page.remaining > 0 &&
                    (page.records == 0 || (before && page.remaining >= *before))) {
                    throw Failure("The pages of QuickBooks do not advance: " +
                                  std::to_string(page.remaining) + " time tickets left after " +
                                  std::to_string(page.records) + ".");
                }
                if (!page.iteratorId.empty()) {
                    iteratorId = page.iteratorId;
                }
                open = page.remaining > 0;
                before = page.remaining;
                if (!page.tickets.empty()) {
                    ticketsFound();
                }
                // Room for the tickets the first page announces, so that a large check does
                // not leave a third of its records' room unused; a count past any company's
                // is not taken at its word.
                if (posted.empty()) {
                    posted.reserve(page.tickets.size() +
                                   static_cast<std::size_t>(
                                       std::min<std::uint64_t>(page.remaining, kRoomAnnounced)));
                }
                for (PostedTimeTicket& held : page.tickets) {
                    posted.push_back(std::move(held));
                }
                if (!open) {
                    break;
                }
            }
        } catch (const IteratorLost&) {
            if (pass > 1) {
                throw Failure(
                    "QuickBooks lost the iterator of the check again after it was "
                    "begun anew.");
            }
            log_.RecordLogNote("CheckPostedTickets",
                               "QuickBooks no longer knew the iterator of the check after " +
                                   std::to_string(pages) + " pages; it is begun anew.");
            continue;
        } catch (...) {
            if (open) {
                stopIterator(iteratorId);
            }
            throw;
        }
        if (pages > 1) {
            log_.RecordLogNote("CheckPostedTickets",
                               "Read " + std::to_string(posted.size()) +
                                   " posted time tickets in " + std::to_string(pages) +
                                   " pages of qbXML " + kPagedCheckVersion + ".");
        }
        return posted;
    }
}

// Lets the accounting system free an iterator the check leaves unfinished. The check has
// failed already; a failure here is only logged.
void QuickBooksLink::stopIterator(const std::string& iteratorId) {
    guard(log_, "CheckPostedTickets", "stop the iterator " + iteratorId,
          [&] { processor().ProcessRequest(ticket, postedTicketIteratorStopRequest(iteratorId)); });
}

}  // namespace vantrell
