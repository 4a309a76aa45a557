#include "standins/RecordWriter.h"

#include <algorithm>

#include "diag/Utf8.h"
#include "standins/QbxmlProlog.h"
#include "standins/QbxmlValues.h"
#include "standins/ResponseDocument.h"

namespace vantrell::standins {

namespace {

constexpr std::size_t kNamePartLimit = 25;

void appendListCore(pugi::xml_node record, const ListRecord& entry) {
    appendLeaf(record, "ListID", entry.listId);
    appendLeaf(record, "TimeCreated", formatTimestamp(entry.timeCreated));
    appendLeaf(record, "TimeModified", formatTimestamp(entry.timeModified));
    appendLeaf(record, "EditSequence", std::to_string(entry.timeModified));
}

void appendReference(pugi::xml_node parent, const char* name, const std::string& listId,
                     const std::string& fullName) {
    auto reference = parent.append_child(name);
    appendLeaf(reference, "ListID", listId);
    appendLeaf(reference, "FullName", fullName);
}

void appendAccrual(pugi::xml_node parent, const char* name, const ListRecord& employee) {
    const std::string none = formatDuration(0);
    auto hours = parent.append_child(name);
    appendLeaf(hours, "HoursAvailable", none);
    appendLeaf(hours, "AccrualPeriod", "EveryPaycheck");
    appendLeaf(hours, "HoursAccrued", none);
    appendLeaf(hours, "MaximumHours", none);
    appendLeaf(hours, "IsResettingHoursEachNewYear", "false");
    appendLeaf(hours, "HoursUsed", none);
    appendLeaf(hours, "AccrualStartDate", formatDay(employee.timeCreated));
}

}  // namespace

void appendEmployeeRet(pugi::xml_node parent, const ListRecord& employee,
                       const std::vector<ListRecord>& wageItems) {
    auto record = parent.append_child("EmployeeRet");
    appendListCore(record, employee);
    appendLeaf(record, "Name", employee.name);
    appendLeaf(record, "IsActive", employee.active ? "true" : "false");
    // The name parts are the words before and after the last space of the name.
    const std::size_t space = employee.name.rfind(' ');
    if (space != std::string::npos && space > 0) {
        appendLeaf(record, "FirstName",
                   firstCharacters(employee.name.substr(0, space), kNamePartLimit));
    }
    appendLeaf(record, "LastName",
               firstCharacters(
                   space == std::string::npos ? employee.name : employee.name.substr(space + 1),
                   kNamePartLimit));
    appendLeaf(record, "PrintAs", employee.name);
    appendLeaf(record, "EmployeeType", "Regular");
    auto payroll = record.append_child("EmployeePayrollInfo");
    appendLeaf(payroll, "PayPeriod", "Weekly");
    for (const auto& wageItem : wageItems) {
        auto earnings = payroll.append_child("Earnings");
        appendReference(earnings, "PayrollItemWageRef", wageItem.listId, wageItem.name);
    }
    appendLeaf(payroll, "UseTimeDataToCreatePaychecks", "UseTimeData");
    appendAccrual(payroll, "SickHours", employee);
    appendAccrual(payroll, "VacationHours", employee);
}

void appendWageItemRet(pugi::xml_node parent, const ListRecord& wageItem,
                       const std::string& expenseAccountListId) {
    auto record = parent.append_child("PayrollItemWageRet");
    appendListCore(record, wageItem);
    appendLeaf(record, "Name", wageItem.name);
    appendLeaf(record, "IsActive", wageItem.active ? "true" : "false");
    appendLeaf(record, "WageType", "HourlyRegular");
    appendReference(record, "ExpenseAccountRef", expenseAccountListId, "Payroll Expenses");
}

void appendNonWageItemRet(pugi::xml_node parent, const ListRecord& item) {
    auto record = parent.append_child("PayrollItemNonWageRet");
    appendListCore(record, item);
    appendLeaf(record, "Name", item.name);
    appendLeaf(record, "IsActive", item.active ? "true" : "false");
    appendLeaf(record, "NonWageType", "Addition");
}

void appendTimeTrackingRet(pugi::xml_node parent, const PostedTicket& posted,
                           const std::string& version) {
    const NewTicket& ticket = posted.ticket;
    auto record = parent.append_child("TimeTrackingRet");
    appendLeaf(record, "TxnID", posted.txnId);
    appendLeaf(record, "TimeCreated", formatTimestamp(posted.timeCreated));
    appendLeaf(record, "TimeModified", formatTimestamp(posted.timeCreated));
    appendLeaf(record, "EditSequence", std::to_string(posted.timeCreated));
    appendLeaf(record, "TxnNumber", std::to_string(posted.txnNumber));
    appendLeaf(record, "TxnDate", ticket.txnDate);
    appendReference(record, "EntityRef", ticket.employee.listId, ticket.employee.name);
    appendLeaf(record, "Duration", formatDuration(ticket.durationSeconds));
    if (ticket.wageItem) {
        appendReference(record, "PayrollItemWageRef", ticket.wageItem->listId,
                        ticket.wageItem->name);
    }
    if (ticket.notes) {
        appendLeaf(record, "Notes", *ticket.notes);
    }
    if (versionAtLeast(version, 6, 0)) {
        appendLeaf(record, "BillableStatus", ticket.billableStatus);
    } else {
        // Billed time was billable time; IsBilled is not known before 2.0.
        const bool billed = ticket.billableStatus == "HasBeenBilled";
        appendLeaf(record, "IsBillable",
                   billed || ticket.billableStatus == "Billable" ? "true" : "false");
        if (versionAtLeast(version, 2, 0)) {
            appendLeaf(record, "IsBilled", billed ? "true" : "false");
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
