#include "qblink/PostedTicketAnswer.h"

#include <charconv>
#include <cstdint>
#include <iterator>
#include <optional>
#include <string_view>

#include <pugixml.hpp>

#include "diag/Failure.h"
#include "interfacedb/DateTime.h"
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

std::size_t recordsOf(const pugi::xml_node& answer) {
    const auto records = answer.children("TimeTrackingRet");
    return static_cast<std::size_t>(std::distance(records.begin(), records.end()));
}

// The count an attribute of the answer gives, or nothing when it has none; a count that is not
// a plain number fails the check.
std::optional<std::uint64_t> countAttribute(const pugi::xml_node& answer, const char* name) {
    const pugi::xml_attribute attribute = answer.attribute(name);
    if (!attribute) {
        return std::nullopt;
    }
    const std::string_view text = attribute.value();
    std::uint64_t count = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), count);
    if (text.empty() || error != std::errc() || end != text.data() + text.size()) {
        throw Failure(std::string("The answer of QuickBooks gives ") + name + " \"" +
                      std::string(text) + "\", which is not a count.");
    }
    return count;
}

// An answer that says it holds more than it does, or that records are left to fetch, is only
// part of what the accounting system holds.
void checkCounts(const pugi::xml_node& answer, std::size_t records) {
    if (const auto remaining = countAttribute(answer, "iteratorRemainingCount");
        remaining && *remaining > 0) {
        throw Failure("The answer of QuickBooks leaves " + std::to_string(*remaining) +
                      " time tickets to fetch: it holds only part of them.");
    }
    if (const auto said = countAttribute(answer, "retCount"); said && *said != records) {
        throw Failure("The answer of QuickBooks says it holds " + std::to_string(*said) +
                      " time tickets but holds " + std::to_string(records) + ".");
    }
}

// The text of a field every record must have, with where it lies for the message.
std::string requiredField(const pugi::xml_node& record, std::size_t number, const char* first,
                          const char* second = nullptr) {
    std::string text = fieldText(record, first, second);
    if (text.empty()) {
        throw Failure("Time ticket " + std::to_string(number) +
                      " of the answer of QuickBooks has no " + first +
                      (second ? std::string("/") + second : std::string()) + ".");
    }
    return text;
}

// One record of the answer, every field it is matched by read, or Failure.
PostedTimeTicket readRecord(const pugi::xml_node& record, std::size_t number) {
    PostedTimeTicket ticket;
    ticket.txnId = requiredField(record, number, "TxnID");
    ticket.employee = requiredField(record, number, "EntityRef", "FullName");
    ticket.date = requiredField(record, number, "TxnDate");
    ticket.wageItem = requiredField(record, number, "PayrollItemWageRef", "FullName");
    const std::optional<db::DateTime> date = db::DateTime::parse(ticket.date);
    if (ticket.date.size() != 10 || !date || date->dateText() != ticket.date) {
        throw Failure("Time ticket " + std::to_string(number) +
                      " of the answer of QuickBooks has the date \"" + ticket.date +
                      "\", which is not a date as yyyy-mm-dd.");
    }
    const std::string duration = requiredField(record, number, "Duration");
    ticket.minutes = durationMinutes(duration);
    if (!ticket.minutes) {
        throw Failure("Time ticket " + std::to_string(number) +
                      " of the answer of QuickBooks has the duration \"" + duration +
                      "\", which does not read.");
    }
    return ticket;
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
    // The check removes from the stage what the answer holds: an answer that is read in part
    // would let a posted ticket go again, so any doubt about it fails the check.
    std::vector<PostedTimeTicket> tickets;
    std::size_t number = 0;  // of the record, for a message
    for (const pugi::xml_node& answer : answers) {
        const std::string status = answer.attribute("statusCode").value();
        const std::size_t records = recordsOf(answer);
        if (status == "1" && records == 0) {
            continue;
        }
        if (status == "1") {
            throw Failure("The answer of QuickBooks says it found no time ticket, yet holds " +
                          std::to_string(records) + ".");
        }
        if (status != "0") {
            throw Failure("QuickBooks refused the query of its time tickets: status " + status +
                          ", " + answer.attribute("statusMessage").value());
        }
        checkCounts(answer, records);
        for (const pugi::xml_node& record : answer.children("TimeTrackingRet")) {
            ++number;
            // Time kept for a customer or by a vendor carries no wage item. Every ticket the
            // program posts names one, so such a record is none of its own and pairs with
            // nothing; a wage item without its name is a damaged record all the same.
            if (record.child("PayrollItemWageRef")) {
                tickets.push_back(readRecord(record, number));
            }
        }
    }
    return tickets;
}

PostedTicketPage readPostedTicketPage(std::string response) {
    PostedTicketPage page;
    pugi::xml_document document;
    if (const std::optional<std::string> failure = loadXmlStrictInPlace(document, response)) {
        throw Failure("The answer of QuickBooks could not be read: " + *failure);
    }
    const std::vector<pugi::xml_node> answers =
        outermostElementsByTagName(document, "TimeTrackingQueryRs");
    if (answers.size() != 1) {
        throw Failure("The page of QuickBooks holds " + std::to_string(answers.size()) +
                      " TimeTrackingQueryRs instead of one.");
    }
    const pugi::xml_node answer = answers.front();
    const std::string status = answer.attribute("statusCode").value();
    page.records = recordsOf(answer);
    if (status == "3391") {
        page.iteratorGone = true;
        return page;
    }
    if (status == "1" && page.records == 0) {
        return page;
    }
    if (status == "1") {
        throw Failure("The answer of QuickBooks says it found no time ticket, yet holds " +
                      std::to_string(page.records) + ".");
    }
    if (status != "0") {
        throw Failure("QuickBooks refused the query of its time tickets: status " + status + ", " +
                      answer.attribute("statusMessage").value());
    }
    const std::optional<std::uint64_t> remaining = countAttribute(answer, "iteratorRemainingCount");
    page.iteratorId = answer.attribute("iteratorID").value();
    if (!remaining || page.iteratorId.empty()) {
        throw Failure("The page of QuickBooks does not say where its iterator stands.");
    }
    page.remaining = *remaining;
    if (const auto said = countAttribute(answer, "retCount"); said && *said != page.records) {
        throw Failure("The answer of QuickBooks says it holds " + std::to_string(*said) +
                      " time tickets but holds " + std::to_string(page.records) + ".");
    }
    std::size_t number = 0;
    for (const pugi::xml_node& record : answer.children("TimeTrackingRet")) {
        ++number;
        // As in a whole answer: time that is not payroll is none of the program's own.
        if (record.child("PayrollItemWageRef")) {
            page.tickets.push_back(readRecord(record, number));
        }
    }
    return page;
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
