#include "qblink/PostedTicketAnswer.h"

#include <optional>

#include <pugixml.hpp>

#include "diag/Failure.h"
#include "qblink/XmlReading.h"

namespace vantrell {

namespace {

void loadAnswer(pugi::xml_document& document, const std::string& response) {
    if (const std::optional<std::string> failure = loadXmlStrict(document, response)) {
        throw Failure("The answer of QuickBooks could not be read: " + *failure);
    }
}

std::string childText(const pugi::xml_node& node, const char* path) {
    pugi::xml_node current = node;
    std::string_view rest = path;
    while (!rest.empty() && current) {
        const std::size_t slash = rest.find('/');
        const std::string name(rest.substr(0, slash));
        current = current.child(name.c_str());
        rest = slash == std::string_view::npos ? std::string_view() : rest.substr(slash + 1);
    }
    return current ? elementText(current) : std::string();
}

}  // namespace

std::vector<PostedTimeTicket> readPostedTickets(std::string response) {
    pugi::xml_document document;
    if (const std::optional<std::string> failure = loadXmlStrictInPlace(document, response)) {
        throw Failure("The answer of QuickBooks could not be read: " + *failure);
    }
    const std::vector<pugi::xml_node> answers = elementsByTagName(document, "TimeTrackingQueryRs");
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
            PostedTimeTicket ticket;
            ticket.txnId = childText(record, "TxnID");
            ticket.employee = childText(record, "EntityRef/FullName");
            ticket.date = childText(record, "TxnDate");
            ticket.wageItem = childText(record, "PayrollItemWageRef/FullName");
            ticket.minutes = durationMinutes(childText(record, "Duration"));
            tickets.push_back(std::move(ticket));
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
