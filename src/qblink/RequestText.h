#pragma once

#include <string>
#include <vector>

namespace vantrell {

// The system identifier of both requests' document type: the vendor's developer site. The
// accounting system never fetches it.
inline constexpr const char* kQbxmlSystemIdentifier = "'http://developer.intuit.com'";

// The resolution request: all employees and all wage payroll items, document type 1.0. The
// text is fixed, single-quoted attribute values with a space each side of every equals sign.
std::string resolveQueryRequest();

// What stands before the element tree of the time-tracking request: the declaration with the
// double-quoted version and the document type 1.1 with the system identifier.
std::string timeTrackingProlog();

// The qbXML version of the requests that go past what the export needs: the lowest that the
// vendor documents time-ticket queries and transaction deletes in.
inline constexpr const char* kPostedCheckVersion = "2.0";

// Asks for every time ticket dated from `fromDate` to `toDate` (both yyyy-mm-dd), in a
// message of its own. The dates are written as given, unchecked, escaped as element text.
std::string postedTicketQueryRequest(const std::string& fromDate, const std::string& toDate);

// The qbXML version of the paged check of the tickets already posted: the lowest in which the
// vendor documents both query iterators (5.0) and IncludeRetElement (4.0).
inline constexpr const char* kPagedCheckVersion = "5.0";

// One page of the time tickets dated from `fromDate` to `toDate` (both yyyy-mm-dd), in a
// message of its own (requestID 1): the first page, starting an iterator, when `iteratorId` is
// empty; else the next page of that iterator. At most `maxReturned` tickets, each with only
// TxnID, TxnDate, EntityRef, PayrollItemWageRef and Duration. The filter goes with every page,
// as the accounting system asks. Values are written as given, unchecked, escaped.
std::string postedTicketPageRequest(const std::string& fromDate, const std::string& toDate,
                                    int maxReturned, const std::string& iteratorId);

// Ends the iterator `iteratorId` before its last page, so that the accounting system lets it go.
std::string postedTicketIteratorStopRequest(const std::string& iteratorId);

// The qbXML version of the question behind the hints under missing names: the lowest in which
// the vendor documents the query of payroll items that are not wage items (2.0 lacks it).
// ActiveStatus, which the question needs for all three lists, is there from 2.0 on.
inline constexpr const char* kNameHintVersion = "5.0";

// Asks, in a message of its own that goes on past a refused request, for every employee, wage
// item and other payroll item, active or not (requestIDs 1, 2 and 3).
std::string nameHintQueryRequest();

// Deletes the time tickets of these transaction ids, one request each (requestID the
// position from 1), continuing past a refused one. Each id is written as given, escaped as
// element text; no ids give a message without requests.
std::string timeTicketDeleteRequest(const std::vector<std::string>& txnIds);

// Asks for the time ticket of each transaction id, one query each (requestID the position from
// 1), continuing past a refused one: an id the accounting system does not hold refuses only its
// own query. Each id is written as given, escaped as element text.
std::string timeTicketByIdQueryRequest(const std::vector<std::string>& txnIds);

}  // namespace vantrell
