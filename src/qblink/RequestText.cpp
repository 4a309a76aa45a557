#include "qblink/RequestText.h"

#include <pugixml.hpp>

#include <iterator>
#include <utility>

#include "qblink/XmlWriting.h"

namespace vantrell {

std::string resolveQueryRequest() {
    std::string text = "<?xml version='1.0' ?>";
    text += "<!DOCTYPE QBXML PUBLIC '-//INTUIT//DTD QBXML QBD 1.0//EN' ";
    text += kQbxmlSystemIdentifier;
    text += ">";
    text += "<QBXML>";
    text += "<QBXMLMsgsRq onError = 'stopOnError'>";
    text += "<EmployeeQueryRq requestID = 'Employee' />";
    text += "<PayrollItemWageQueryRq requestID = 'PayTypes' />";
    text += "</QBXMLMsgsRq>";
    text += "</QBXML>";
    return text;
}

std::string timeTrackingProlog() {
    std::string text = "<?xml version=\"1.0\" ?>";
    text += "<!DOCTYPE QBXML PUBLIC '-//INTUIT//DTD QBXML QBD 1.1//EN' ";
    text += kQbxmlSystemIdentifier;
    text += ">";
    return text;
}

namespace {

// The declaration and the instruction of `version`, then the message as `build` fills it.
template <class Build>
std::string versionedRequest(const char* version, const char* onError, Build&& build) {
    pugi::xml_document document;
    pugi::xml_node messages = document.append_child("QBXML").append_child("QBXMLMsgsRq");
    messages.append_attribute("onError").set_value(onError);
    build(messages);
    std::string text = "<?xml version=\"1.0\" ?><?qbxml version=\"";
    text += version;
    text += "\"?>";
    StringWriter writer(text);
    document.save(writer, "", pugi::format_raw | pugi::format_no_declaration, pugi::encoding_utf8);
    return text;
}

template <class Build>
std::string versionTwoRequest(const char* onError, Build&& build) {
    return versionedRequest(kPostedCheckVersion, onError, std::forward<Build>(build));
}

}  // namespace

std::string postedTicketQueryRequest(const std::string& fromDate, const std::string& toDate) {
    return versionTwoRequest("stopOnError", [&](pugi::xml_node messages) {
        pugi::xml_node query = messages.append_child("TimeTrackingQueryRq");
        query.append_attribute("requestID").set_value("1");
        pugi::xml_node range = query.append_child("TxnDateRangeFilter");
        appendTextElement(range, "FromTxnDate", fromDate);
        appendTextElement(range, "ToTxnDate", toDate);
    });
}

namespace {

// The elements of a ticket that the check pairs on.
constexpr const char* kPagedCheckElements[] = {"TxnID", "TxnDate", "EntityRef",
                                               "PayrollItemWageRef", "Duration"};

// A paged check's query: requestID 1 and the iterator attributes.
pugi::xml_node pagedQuery(pugi::xml_node messages, const char* iterator,
                          const std::string& iteratorId) {
    pugi::xml_node query = messages.append_child("TimeTrackingQueryRq");
    query.append_attribute("requestID").set_value("1");
    query.append_attribute("iterator").set_value(iterator);
    if (!iteratorId.empty()) {
        query.append_attribute("iteratorID").set_value(iteratorId.c_str());
    }
    return query;
}

}  // namespace

std::string postedTicketPageRequest(const std::string& fromDate, const std::string& toDate,
                                    int maxReturned, const std::string& iteratorId) {
    return versionedRequest(kPagedCheckVersion, "stopOnError", [&](pugi::xml_node messages) {
        pugi::xml_node query =
            pagedQuery(messages, iteratorId.empty() ? "Start" : "Continue", iteratorId);
        appendTextElement(query, "MaxReturned", std::to_string(maxReturned));
        pugi::xml_node range = query.append_child("TxnDateRangeFilter");
        appendTextElement(range, "FromTxnDate", fromDate);
        appendTextElement(range, "ToTxnDate", toDate);
        for (const char* element : kPagedCheckElements) {
            appendTextElement(query, "IncludeRetElement", element);
        }
    });
}

std::string postedTicketIteratorStopRequest(const std::string& iteratorId) {
    return versionedRequest(kPagedCheckVersion, "stopOnError", [&](pugi::xml_node messages) {
        pagedQuery(messages, "Stop", iteratorId);
    });
}

std::string nameHintQueryRequest() {
    return versionedRequest(kNameHintVersion, "continueOnError", [](pugi::xml_node messages) {
        const char* const queries[] = {"EmployeeQueryRq", "PayrollItemWageQueryRq",
                                       "PayrollItemNonWageQueryRq"};
        for (std::size_t i = 0; i < std::size(queries); ++i) {
            pugi::xml_node query = messages.append_child(queries[i]);
            query.append_attribute("requestID").set_value(std::to_string(i + 1).c_str());
            appendTextElement(query, "ActiveStatus", "All");
        }
    });
}

std::string timeTicketDeleteRequest(const std::vector<std::string>& txnIds) {
    return versionTwoRequest("continueOnError", [&](pugi::xml_node messages) {
        for (std::size_t i = 0; i < txnIds.size(); ++i) {
            pugi::xml_node request = messages.append_child("TxnDelRq");
            request.append_attribute("requestID").set_value(std::to_string(i + 1).c_str());
            appendTextElement(request, "TxnDelType", "TimeTracking");
            appendTextElement(request, "TxnID", txnIds[i]);
        }
    });
}

std::string timeTicketByIdQueryRequest(const std::vector<std::string>& txnIds) {
    return versionTwoRequest("continueOnError", [&](pugi::xml_node messages) {
        for (std::size_t i = 0; i < txnIds.size(); ++i) {
            pugi::xml_node query = messages.append_child("TimeTrackingQueryRq");
            query.append_attribute("requestID").set_value(std::to_string(i + 1).c_str());
            appendTextElement(query, "TxnID", txnIds[i]);
        }
    });
}

}  // namespace vantrell
