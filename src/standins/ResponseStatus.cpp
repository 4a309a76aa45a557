#include "standins/ResponseStatus.h"

namespace vantrell::standins {

const char* ResponseStatus::severity() const {
    if (code < 500) {
        return "Info";
    }
    return code < 1000 ? "Warn" : "Error";
}

ResponseStatus statusOk() {
    return {0, "Status OK"};
}

ResponseStatus noMatchingObject() {
    return {1, "A query request did not find a matching object in QuickBooks"};
}

ResponseStatus notProcessed() {
    return {3231, "The request has not been processed."};
}

ResponseStatus internalError() {
    return {1000, "There has been an internal error when processing the request."};
}

// Two spaces after each full stop, as the accounting system writes this message.
ResponseStatus invalidReference(const std::string& objectWord, const std::string& name) {
    return {3140, "There is an invalid reference to QuickBooks " + objectWord + " \"" + name +
                      "\" in the TimeTracking.  QuickBooks error message: Invalid argument.  The "
                      "specified record does not exist in the list."};
}

ResponseStatus elementNotFound(const std::string& value) {
    return {500,
            "The query request has not been fully completed. There was a required element "
            "(\"" +
                value + "\") that could not be found in QuickBooks."};
}

ResponseStatus objectNotFound(const std::string& listId) {
    return {3120, "Object \"" + listId +
                      "\" specified in the request cannot be found.  QuickBooks error message: "
                      "Invalid argument.  The specified record does not exist in the list."};
}

ResponseStatus invalidDate(const std::string& value, const std::string& field) {
    return {3020, "There was an error when converting the date value \"" + value +
                      "\" in the field \"" + field + "\"."};
}

ResponseStatus invalidDateRange() {
    return {3030, "Invalid date range: From date is greater than To date."};
}

ResponseStatus invalidBoolean(const std::string& value, const std::string& field) {
    return {3010, "There was an error when converting the boolean value \"" + value +
                      "\" in the field \"" + field + "\"."};
}

ResponseStatus invalidTimeInterval(const std::string& value, const std::string& field) {
    return {3035, "There was an error when converting the time interval value \"" + value +
                      "\" in the field \"" + field + "\"."};
}

// The code and text as the accounting system reported them to a program whose iterator it no
// longer held; the text is attested, the severity follows from the code's range.
ResponseStatus invalidIterator(const std::string& iteratorId) {
    return {3391, "The iteratorID \"" + iteratorId + "\" is not valid."};
}

ResponseStatus stringTooLong(const std::string& field, int limit) {
    return {3070, "The string in the field \"" + field + "\" is too long; at most " +
                      std::to_string(limit) + " characters are allowed."};
}

}  // namespace vantrell::standins
