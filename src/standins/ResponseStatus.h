#pragma once

#include <string>

namespace vantrell::standins {

// The status a response element carries.
struct ResponseStatus {
    int code = 0;
    std::string message;

    // "Info" below 500, "Warn" below 1000, "Error" from 1000 on.
    const char* severity() const;
    // True when the request was refused: the severity is "Error".
    bool isError() const { return code >= 1000; }
};

// The accounting system's statuses, with its own texts where they are known; the values given
// are quoted in the text as they are. None of these throws.

// 0: the request was processed.
ResponseStatus statusOk();
// 1: a query found nothing.
ResponseStatus noMatchingObject();
// 3231: a request after a refused one under stopOnError.
ResponseStatus notProcessed();
// 1000: the company file failed while the request was processed.
ResponseStatus internalError();
// 3140: the `objectWord` ("Employee", "Customer", ...) named `name` is not in its list.
ResponseStatus invalidReference(const std::string& objectWord, const std::string& name);
// 500: a name that a query asked for is not in the list.
ResponseStatus elementNotFound(const std::string& value);
// 3120: no object has the ListID or TxnID `listId`.
ResponseStatus objectNotFound(const std::string& listId);
// 3020: `value` of the element `field` is not a date.
ResponseStatus invalidDate(const std::string& value, const std::string& field);
// 3030: a date range that ends before it begins.
ResponseStatus invalidDateRange();
// 3010: `value` of the element `field` is not "true" or "false".
ResponseStatus invalidBoolean(const std::string& value, const std::string& field);
// 3035: `value` of the element `field` is not a duration.
ResponseStatus invalidTimeInterval(const std::string& value, const std::string& field);
// 3391: no iterator of this session has the iteratorID `iteratorId` (never started, stopped,
// run to its end, or of a session that has ended).
ResponseStatus invalidIterator(const std::string& iteratorId);
// 3070: the text of the element `field` is longer than `limit` characters.
ResponseStatus stringTooLong(const std::string& field, int limit);

}  // namespace vantrell::standins
