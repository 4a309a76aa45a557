#pragma once

#include <string>

namespace vantrell::standins {

// The status a response element carries.
struct ResponseStatus {
    int code = 0;
    std::string message;

    // "Info" below 500, "Warn" below 1000, "Error" from 1000 on.
    const char* severity() const;
    bool isError() const { return code >= 1000; }
};

// The accounting system's statuses, with its own texts where they are known.
ResponseStatus statusOk();
ResponseStatus noMatchingObject();
ResponseStatus notProcessed();
ResponseStatus internalError();
ResponseStatus invalidReference(const std::string& objectWord, const std::string& name);
ResponseStatus elementNotFound(const std::string& value);
ResponseStatus objectNotFound(const std::string& listId);
ResponseStatus invalidDate(const std::string& value, const std::string& field);
ResponseStatus invalidDateRange();
ResponseStatus invalidBoolean(const std::string& value, const std::string& field);
ResponseStatus invalidTimeInterval(const std::string& value, const std::string& field);
ResponseStatus stringTooLong(const std::string& field, int limit);

}  // namespace vantrell::standins
