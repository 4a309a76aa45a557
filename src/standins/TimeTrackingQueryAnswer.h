#pragma once

#include <string>

#include "standins/CompanyFile.h"
#include "standins/QbxmlRequests.h"
#include "standins/QueryIterators.h"
#include "standins/ResponseDocument.h"
#include "standins/ResponseStatus.h"

namespace vantrell::standins {

// Answers a time-tracking query from the company file: appends its TimeTrackingQueryRs to
// `response` and returns the status given. TxnIDs must each name a posted ticket, else the
// first that does not is refused with 3120; the filters select by modified date or TxnDate (a
// bad date 3020, a range that ends before it begins 3030) and by employee, named by ListID or
// by name regardless of letter case; nothing found is status 1. Tickets come in TxnDate, then
// TxnNumber order, written as `version` defines the record, and are written out as they are
// read, so an answer of any size is never held whole. Throws CompanyFileError when the file
// cannot be read; part of the answer may then be written already.
// With an iterator the answer comes in pages: Start keeps the filters in `iterators` and answers
// the first page of MaxReturned tickets, with iteratorRemainingCount and iteratorID; Continue
// answers the next page of that iterator, Stop ends it; an iteratorID the session does not hold
// (never started, stopped, or run to its end) is refused with 3391.
ResponseStatus answerTimeTrackingQuery(const TimeTrackingQueryRequest& query,
                                       const CompanyFile& file, ResponseDocument& response,
                                       const std::string& version, bool includeResponseData,
                                       QueryIterators& iterators);

}  // namespace vantrell::standins
