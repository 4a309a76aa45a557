#include "standins/RecordWriter.h"

#include <string_view>

#include "diag/Utf8.h"
#include "standins/QbxmlProlog.h"
#include "standins/QbxmlValues.h"

namespace vantrell::standins {

namespace {

constexpr std::size_t kNamePartLimit = 25;

void writeListCore(RecordText& out, const ListRecord& entry) {
    out.text("ListID", entry.listId);
    out.text("TimeCreated", formatTimestamp(entry.timeCreated));
    out.text("TimeModified", formatTimestamp(entry.timeModified));
    out.text("EditSequence", std::to_string(entry.timeModified));
}

void writeReference(RecordText& out, const char* name, const std::string& listId,
                    const std::string& fullName) {
    out.open(name);
    out.text("ListID", listId);
    out.text("FullName", fullName);
    out.close(name);
}

void writeAccrual(RecordText& out, const char* name, const ListRecord& employee) {
    const std::string none = formatDuration(0);
    out.open(name);
    out.text("HoursAvailable", none);
    out.text("AccrualPeriod", "EveryPaycheck");
    out.text("HoursAccrued", none);
    out.text("MaximumHours", none);
    out.text("IsResettingHoursEachNewYear", "false");
    out.text("HoursUsed", none);
    out.text("AccrualStartDate", formatDay(employee.timeCreated));
    out.close(name);
}

}  // namespace

void writeEmployeeRet(RecordText& out, const ListRecord& employee,
                      const std::vector<ListRecord>& wageItems) {
    EmployeeRetWriter(wageItems).write(out, employee);
}

EmployeeRetWriter::EmployeeRetWriter(const std::vector<ListRecord>& wageItems) {
    RecordText earnings(earnings_);
    for (const auto& wageItem : wageItems) {
        earnings.open("Earnings");
        writeReference(earnings, "PayrollItemWageRef", wageItem.listId, wageItem.name);
        earnings.close("Earnings");
    }
}

void EmployeeRetWriter::write(RecordText& out, const ListRecord& employee) const {
    out.open("EmployeeRet");
    writeListCore(out, employee);
    out.text("Name", employee.name);
    out.text("IsActive", employee.active ? "true" : "false");
    // The name parts are the words before and after the last space of the name.
    const std::string_view name = employee.name;
    const std::size_t space = name.rfind(' ');
    if (space != std::string_view::npos && space > 0) {
        out.text("FirstName", firstCharacters(name.substr(0, space), kNamePartLimit));
    }
    out.text("LastName",
             firstCharacters(space == std::string_view::npos ? name : name.substr(space + 1),
                             kNamePartLimit));
    out.text("PrintAs", employee.name);
    out.text("EmployeeType", "Regular");
    out.open("EmployeePayrollInfo");
    out.text("PayPeriod", "Weekly");
    out.elements(earnings_);
    out.text("UseTimeDataToCreatePaychecks", "UseTimeData");
    writeAccrual(out, "SickHours", employee);
    writeAccrual(out, "VacationHours", employee);
    out.close("EmployeePayrollInfo");
    out.close("EmployeeRet");
}

void writeWageItemRet(RecordText& out, const ListRecord& wageItem,
                      const std::string& expenseAccountListId) {
    out.open("PayrollItemWageRet");
    writeListCore(out, wageItem);
    out.text("Name", wageItem.name);
    out.text("IsActive", wageItem.active ? "true" : "false");
    out.text("WageType", "HourlyRegular");
    writeReference(out, "ExpenseAccountRef", expenseAccountListId, "Payroll Expenses");
    out.close("PayrollItemWageRet");
}

void writeNonWageItemRet(RecordText& out, const ListRecord& item) {
    out.open("PayrollItemNonWageRet");
    writeListCore(out, item);
    out.text("Name", item.name);
    out.text("IsActive", item.active ? "true" : "false");
    out.text("NonWageType", "Addition");
    out.close("PayrollItemNonWageRet");
}

TimeTrackingRetWriter::TimeTrackingRetWriter(const std::string& version)
    : billableStatus_(versionAtLeast(version, 6, 0)), isBilled_(versionAtLeast(version, 2, 0)) {}

void TimeTrackingRetWriter::write(RecordText& out, const PostedTicket& posted) {
    const NewTicket& ticket = posted.ticket;
    // An answer limited by IncludeRetElement makes only the values it keeps: a check of every
    // ticket in a period asks for a few of them.
    const bool created = out.keeps("TimeCreated");
    const bool modified = out.keeps("TimeModified");
    const bool editSequence = out.keeps("EditSequence");
    if ((created || modified || editSequence) &&
        (momentText_.empty() || posted.timeCreated != moment_)) {
        moment_ = posted.timeCreated;
        momentText_ = formatTimestamp(moment_);
        editSequence_ = std::to_string(moment_);
    }
    out.open("TimeTrackingRet");
    out.text("TxnID", posted.txnId);
    // A posted ticket is never modified: created and modified are the same moment.
    if (created) {
        out.text("TimeCreated", momentText_);
    }
    if (modified) {
        out.text("TimeModified", momentText_);
    }
    if (editSequence) {
        out.text("EditSequence", editSequence_);
    }
    if (out.keeps("TxnNumber")) {
        out.text("TxnNumber", std::to_string(posted.txnNumber));
    }
    out.text("TxnDate", ticket.txnDate);
    writeReference(out, "EntityRef", ticket.employee.listId, ticket.employee.name);
    if (out.keeps("Duration")) {
        out.text("Duration", formatDuration(ticket.durationSeconds));
    }
    if (ticket.wageItem) {
        writeReference(out, "PayrollItemWageRef", ticket.wageItem->listId, ticket.wageItem->name);
    }
    if (ticket.notes) {
        out.text("Notes", *ticket.notes);
    }
    if (billableStatus_) {
        out.text("BillableStatus", ticket.billableStatus);
    } else if (out.keeps("IsBillable") || out.keeps("IsBilled")) {
        // Billed time was billable time; IsBilled is not known before 2.0.
        const bool billed = ticket.billableStatus == "HasBeenBilled";
        out.text("IsBillable", billed || ticket.billableStatus == "Billable" ? "true" : "false");
        if (isBilled_) {
            out.text("IsBilled", billed ? "true" : "false");
        }
    }
    out.close("TimeTrackingRet");
}

}  // namespace vantrell::standins
