#include "standins/RecordWriter.h"

#include <algorithm>

#include "diag/Utf8.h"
#include "qblink/XmlWriting.h"
#include "standins/QbxmlProlog.h"
#include "standins/QbxmlValues.h"
#include "standins/ResponseDocument.h"

namespace vantrell::standins {

namespace {

constexpr std::size_t kNamePartLimit = 25;

void appendListCore(pugi::xml_node record, const ListRecord& entry) {
    appendTextElement(record, "ListID", entry.listId);
    appendTextElement(record, "TimeCreated", formatTimestamp(entry.timeCreated));
    appendTextElement(record, "TimeModified", formatTimestamp(entry.timeModified));
    appendTextElement(record, "EditSequence", std::to_string(entry.timeModified));
}

void appendReference(pugi::xml_node parent, const char* name, const std::string& listId,
                     const std::string& fullName) {
    auto reference = parent.append_child(name);
    appendTextElement(reference, "ListID", listId);
    appendTextElement(reference, "FullName", fullName);
}

void appendAccrual(pugi::xml_node parent, const char* name, const ListRecord& employee) {
    const std::string none = formatDuration(0);
    auto hours = parent.append_child(name);
    appendTextElement(hours, "HoursAvailable", none);
    appendTextElement(hours, "AccrualPeriod", "EveryPaycheck");
    appendTextElement(hours, "HoursAccrued", none);
    appendTextElement(hours, "MaximumHours", none);
    appendTextElement(hours, "IsResettingHoursEachNewYear", "false");
    appendTextElement(hours, "HoursUsed", none);
    appendTextElement(hours, "AccrualStartDate", formatDay(employee.timeCreated));
}

}  // namespace

void appendEmployeeRet(pugi::xml_node parent, const ListRecord& employee,
                       const std::vector<ListRecord>& wageItems) {
    auto record = parent.append_child("EmployeeRet");
    appendListCore(record, employee);
    appendTextElement(record, "Name", employee.name);
    appendTextElement(record, "IsActive", employee.active ? "true" : "false");
    // The name parts are the words before and after the last space of the name.
    const std::size_t space = employee.name.rfind(' ');
    if (space != std::string::npos && space > 0) {
        appendTextElement(record, "FirstName",
                          firstCharacters(employee.name.substr(0, space), kNamePartLimit));
    }
    appendTextElement(record, "LastName",
                      firstCharacters(space == std::string::npos ? employee.name
                                                                 : employee.name.substr(space + 1),
                                      kNamePartLimit));
    appendTextElement(record, "PrintAs", employee.name);
    appendTextElement(record, "EmployeeType", "Regular");
    auto payroll = record.append_child("EmployeePayrollInfo");
    appendTextElement(payroll, "PayPeriod", "Weekly");
    for (const auto& wageItem : wageItems) {
        auto earnings = payroll.append_child("Earnings");
        appendReference(earnings, "PayrollItemWageRef", wageItem.listId, wageItem.name);
    }
    appendTextElement(payroll, "UseTimeDataToCreatePaychecks", "UseTimeData");
    appendAccrual(payroll, "SickHours", employee);
    appendAccrual(payroll, "VacationHours", employee);
}

void appendWageItemRet(pugi::xml_node parent, const ListRecord& wageItem,
                       const std::string& expenseAccountListId) {
    auto record = parent.append_child("PayrollItemWageRet");
    appendListCore(record, wageItem);
    appendTextElement(record, "Name", wageItem.name);
    appendTextElement(record, "IsActive", wageItem.active ? "true" : "false");
    appendTextElement(record, "WageType", "HourlyRegular");
    appendReference(record, "ExpenseAccountRef", expenseAccountListId, "Payroll Expenses");
}

void appendNonWageItemRet(pugi::xml_node parent, const ListRecord& item) {
    auto record = parent.append_child("PayrollItemNonWageRet");
    appendListCore(record, item);
    appendTextElement(record, "Name", item.name);
    appendTextElement(record, "IsActive", item.active ? "true" : "false");
    appendTextElement(record, "NonWageType", "Addition");
}

void appendTimeTrackingRet(pugi::xml_node parent, const PostedTicket& posted,
                           const std::string& version) {
    const NewTicket& ticket = posted.ticket;
    auto record = parent.append_child("TimeTrackingRet");
    appendTextElement(record, "TxnID", posted.txnId);
    appendTextElement(record, "TimeCreated", formatTimestamp(posted.timeCreated));
    appendTextElement(record, "TimeModified", formatTimestamp(posted.timeCreated));
    appendTextElement(record, "EditSequence", std::to_string(posted.timeCreated));
    appendTextElement(record, "TxnNumber", std::to_string(posted.txnNumber));
    appendTextElement(record, "TxnDate", ticket.txnDate);
    appendReference(record, "EntityRef", ticket.employee.listId, ticket.employee.name);
    appendTextElement(record, "Duration", formatDuration(ticket.durationSeconds));
    if (ticket.wageItem) {
        appendReference(record, "PayrollItemWageRef", ticket.wageItem->listId,
                        ticket.wageItem->name);
    }
    if (ticket.notes) {
        appendTextElement(record, "Notes", *ticket.notes);
    }
    if (versionAtLeast(version, 6, 0)) {
        appendTextElement(record, "BillableStatus", ticket.billableStatus);
    } else {
        // Billed time was billable time; IsBilled is not known before 2.0.
        const bool billed = ticket.billableStatus == "HasBeenBilled";
        appendTextElement(record, "IsBillable",
                          billed || ticket.billableStatus == "Billable" ? "true" : "false");
        if (versionAtLeast(version, 2, 0)) {
            appendTextElement(record, "IsBilled", billed ? "true" : "false");
        }
    }
}

void keepOnlyElements(pugi::xml_node record, const std::vector<std::string>& names) {
    if (names.empty()) {
        return;
    }
    for (auto child = record.first_child(); child;) {
        const auto next = child.next_sibling();
        if (std::find(names.begin(), names.end(), child.name()) == names.end()) {
            record.remove_child(child);
        }
        child = next;
    }
}

}  // namespace vantrell::standins
