#include "qblink/PostedTicketAnswer.h"

#include <optional>

#include <pugixml.hpp>

#include "diag/Failure.h"
#include "qblink/StrictXmlLoader.h"
#include "qblink/XmlReading.h"

namespace vantrell {

namespace {

void loadAnswer(pugi::xml_document& document, const std::string& response) {
    if (const std::optional<std::string> failure = loadXmlStrict(document, response)) {
        throw Failure("The answer of QuickBooks could not be read: " + *failure);
    }
}

// The text of the element at `first`/`second` below `record` ("" when absent), in the usual
// case of an element that holds its text itself without a walk.
std::string fieldText(const pugi::xml_node& record, const char* first,
                      const char* second = nullptr) {
    pugi::xml_node node = record.child(first);
    if (second != nullptr) {
        node = node.child(second);
    }
    if (node && !node.first_child()) {
        return node.value();
    }
    return node ? elementText(node) : std::string();
}

PostedTimeTicket ticketOf(const pugi::xml_node& record) {
    PostedTimeTicket ticket;
    ticket.txnId = fieldText(record, "TxnID");
    ticket.employee = fieldText(record, "EntityRef", "FullName");
    ticket.date = fieldText(record, "TxnDate");
    ticket.wageItem = fieldText(record, "PayrollItemWageRef", "FullName");
    ticket.minutes = durationMinutes(fieldText(record, "Duration"));
    return ticket;
}

}  // namespace

std::vector<PostedTimeTicket> readPostedTickets(std::string response) {
    pugi::xml_document document;
    if (const std::optional<std::string> failure = loadXmlStrictInPlace(document, response)) {
        throw Failure("The answer of QuickBooks could not be read: " + *failure);
    }
    // A query answer inside another is no answer of the query sent: its records are not read.
    const std::vector<pugi::xml_node> answers =
        outermostElementsByTagName(document, "TimeTrackingQueryRs");
    if (answers.empty()) {
        throw Failure("The answer of QuickBooks holds no TimeTrackingQueryRs.");
    }
    std::vector<PostedTimeTicket> tickets;
    for (const pugi::xml_node& answer : answers) {
        const std::string status = answer.attribute("statusCode").value();
        if (status == "1") {
            continue;
        }
        if (status != "0") {
            throw Failure("QuickBooks refused the query of its time tickets: status " + status +
                          ", " + answer.attribute("statusMessage").value());
        }
        for (const pugi::xml_node& record : answer.children("TimeTrackingRet")) {
            tickets.push_back(ticketOf(record));
        }
    }
    return tickets;
}

std::vector<RequestAnswer> readRequestAnswers(const std::string& response,
                                              const std::string& responseElement) {
    pugi::xml_document document;
    loadAnswer(document, response);
    std::vector<RequestAnswer> answers;
    for (const pugi::xml_node& element : elementsByTagName(document, responseElement)) {
        answers.push_back({element.attribute("requestID").value(),
                           element.attribute("statusCode").value(),
                           element.attribute("statusMessage").value()});
    }
    return answers;
}

}  // namespace vantrell

namespace vantrell {

std::vector<QueriedTicket> readQueriedTickets(const std::string& response) {
    pugi::xml_document document;
    loadAnswer(document, response);
    std::vector<QueriedTicket> answers;
    for (const pugi::xml_node& element :
         outermostElementsByTagName(document, "TimeTrackingQueryRs")) {
        QueriedTicket answer{element.attribute("requestID").value(),
                             element.attribute("statusCode").value(),
                             element.attribute("statusMessage").value(), std::nullopt};
        if (const pugi::xml_node record = element.child("TimeTrackingRet")) {
            answer.ticket = ticketOf(record);
        }
        answers.push_back(std::move(answer));
    }
    return answers;
}

}  // namespace vantrell
