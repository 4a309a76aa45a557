#include "standins/TimeTrackingPosting.h"

#include "diag/Utf8.h"
#include "standins/QbxmlValues.h"

namespace vantrell::standins {

namespace {

constexpr std::size_t kNotesLimit = 4095;

// How the reference is shown in a refusal: by its ListID when it gives one.
std::string shownAs(const ListReference& reference) {
    return reference.listId ? *reference.listId : reference.fullName.value_or("");
}

// The active entry the reference names; a ListID takes precedence over a full name.
std::optional<ListRecord> resolve(const CompanyFile& file, ListKind kind,
                                  const ListReference& reference) {
    std::optional<ListRecord> record;
    if (reference.listId) {
        record = file.findByListId(kind, *reference.listId);
    } else if (reference.fullName) {
        record = file.findByName(kind, *reference.fullName);
    }
    if (record && !record->active) {
        return std::nullopt;
    }
    return record;
}

}  // namespace

PostingResult postTimeTracking(const TimeTrackingAddRequest& request, CompanyFile& file,
                               std::int64_t now) {
    NewTicket ticket;
    if (request.txnDate && !request.txnDate->empty()) {
        const auto date = parseDate(*request.txnDate);
        if (!date) {
            return {invalidDate(*request.txnDate, "TxnDate"), std::nullopt};
        }
        ticket.txnDate = *date;
    } else {
        ticket.txnDate = formatDay(now);
    }
    const auto duration = parseDuration(request.duration);
    if (!duration) {
        return {invalidTimeInterval(request.duration, "Duration"), std::nullopt};
    }
    ticket.durationSeconds = *duration;
    if (request.isBillable && !request.isBillable->empty()) {
        const auto billable = parseBoolean(*request.isBillable);
        if (!billable) {
            return {invalidBoolean(*request.isBillable, "IsBillable"), std::nullopt};
        }
        ticket.billableStatus = *billable ? "Billable" : "NotBillable";
    }
    if (request.billableStatus) {
        ticket.billableStatus = *request.billableStatus;
    }
    if (request.notes) {
        if (characterCount(*request.notes) > kNotesLimit) {
            return {stringTooLong("Notes", static_cast<int>(kNotesLimit)), std::nullopt};
        }
        ticket.notes = request.notes;
    }

    const auto employee = resolve(file, ListKind::Employee, request.entity);
    if (!employee) {
        return {invalidReference("Employee", shownAs(request.entity)), std::nullopt};
    }
    ticket.employee = *employee;
    // The company file keeps no customers, service items or classes.
    if (request.customer) {
        return {invalidReference("Customer", shownAs(*request.customer)), std::nullopt};
    }
    if (request.itemService) {
        return {invalidReference("Item", shownAs(*request.itemService)), std::nullopt};
    }
    if (request.classRef) {
        return {invalidReference("Class", shownAs(*request.classRef)), std::nullopt};
    }
    if (request.wageItem) {
        const auto wageItem = resolve(file, ListKind::WageItem, *request.wageItem);
        if (!wageItem) {
            return {invalidReference("Payroll Item", shownAs(*request.wageItem)), std::nullopt};
        }
        ticket.wageItem = *wageItem;
    }
    return {statusOk(), file.post(ticket, now)};
}

}  // namespace vantrell::standins
