#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "qblink/PostedTicketMatch.h"

namespace vantrell {

// The tickets of a time-ticket query's answer, trusted whole or not at all. Status 1 (nothing
// found) without records gives none. Throws Failure, saying why, when the text does not load as
// a strict XML document, holds no TimeTrackingQueryRs, carries any other status or status 1 with
// records, says that records are left to fetch (iteratorRemainingCount above 0) or gives a
// retCount other than the records it holds, or holds a record without its TxnID, TxnDate,
// EntityRef/FullName, PayrollItemWageRef/FullName or Duration, with a date that is not
// yyyy-mm-dd or a duration that does not read. A record without any PayrollItemWageRef is time
// that is not payroll (a customer's or a vendor's), none of the program's own: it is left out.
// The answer is parsed where it lies: it is taken, not copied.
std::vector<PostedTimeTicket> readPostedTickets(std::string response);

// One page of a paged time-ticket query: its tickets, read by the same rules as a whole
// answer's, and where the iterator stands.
struct PostedTicketPage {
    std::vector<PostedTimeTicket> tickets;
    std::size_t records = 0;      // TimeTrackingRet elements on the page, non-payroll ones included
    std::string iteratorId;       // empty on a page that found nothing
    std::uint64_t remaining = 0;  // tickets the iterator still holds after this page
    bool iteratorGone = false;    // status 3391: the accounting system no longer knows the
                                  // iterator (expired, or never begun); nothing else is read
};

// The page that `response` answers, trusted whole or not at all. Status 1 without records is
// an empty last page. Throws Failure, saying why, when the text does not load as a strict XML
// document, holds not exactly one TimeTrackingQueryRs, carries a status other than 0, 1 or
// 3391, status 1 with records, a status 0 without iteratorID or iteratorRemainingCount, a
// retCount other than the records it holds, or a record that readPostedTickets would refuse.
// The page is parsed where it lies and its tree dropped before the return.
PostedTicketPage readPostedTicketPage(std::string response);

// One answer to a request of a message: its requestID, status and record; an attribute the
// answer lacks is the empty text.
struct RequestAnswer {
    std::string requestId;
    std::string statusCode;
    std::string statusMessage;
};

// The answers named `responseElement` of a message, in document order, at any depth; none
// when it holds no such element. Throws Failure when the text does not load as a strict XML
// document.
std::vector<RequestAnswer> readRequestAnswers(const std::string& response,
                                              const std::string& responseElement);

// One answer to a query of a message asking for one transaction id: its requestID and status,
// and the ticket its first record gives, when it holds one.
struct QueriedTicket {
    std::string requestId;
    std::string statusCode;
    std::string statusMessage;
    std::optional<PostedTimeTicket> ticket;
};

// The TimeTrackingQueryRs answers of a message, in document order, outermost ones only. Throws
// Failure when the text does not load as a strict XML document.
std::vector<QueriedTicket> readQueriedTickets(const std::string& response);

}  // namespace vantrell
