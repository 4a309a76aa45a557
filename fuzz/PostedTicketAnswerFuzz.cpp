// readPostedTickets over any answer. The check removes from the stage what the answer holds, so
// an answer is trusted whole or refused: when it is read, every record of every outermost
// TimeTrackingQueryRs of the document is a ticket with all it is matched by (TxnID, employee,
// wage item, a yyyy-mm-dd date, minutes), and a document that does not load is never read.
#include <cstdint>
#include <string>
#include <vector>

#include "FuzzSupport.h"
#include "diag/Failure.h"
#include "interfacedb/DateTime.h"
#include "qblink/PostedTicketAnswer.h"
#include "qblink/StrictXmlLoader.h"
#include "qblink/XmlReading.h"

namespace vantrell::fuzzing {
namespace {

// The records the document holds where the check reads them; nothing when it does not load.
std::optional<std::size_t> recordsIn(std::string_view input) {
    pugi::xml_document document;
    if (loadXmlStrict(document, input)) {
        return std::nullopt;
    }
    std::size_t records = 0;
    for (const pugi::xml_node& answer :
         outermostElementsByTagName(document, "TimeTrackingQueryRs")) {
        for (const pugi::xml_node& record : answer.children("TimeTrackingRet")) {
            // Time that is not payroll is left out.
            if (record.child("PayrollItemWageRef")) {
                ++records;
            }
        }
    }
    return records;
}

void check(std::string_view input) {
    std::vector<PostedTimeTicket> tickets;
    try {
        tickets = readPostedTickets(std::string(input));
    } catch (const Failure&) {
        return;
    }
    const std::optional<std::size_t> records = recordsIn(input);
    if (!records) {
        violated("an answer that does not load was read", input);
    }
    if (*records != tickets.size()) {
        violated("read " + std::to_string(tickets.size()) + " tickets of " +
                     std::to_string(*records) + " records",
                 input);
    }
    for (const PostedTimeTicket& ticket : tickets) {
        const auto date = db::DateTime::parse(ticket.date);
        if (ticket.txnId.empty() || ticket.employee.empty() || ticket.wageItem.empty() ||
            !ticket.minutes || !date || date->dateText() != ticket.date) {
            violated("a ticket read without all its key fields: " + ticket.txnId + "|" +
                         ticket.employee + "|" + ticket.date + "|" + ticket.wageItem,
                     input);
        }
    }
}

}  // namespace
}  // namespace vantrell::fuzzing

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    vantrell::fuzzing::check(std::string_view(reinterpret_cast<const char*>(data), size));
    return 0;
}
