#include "standins/TimeTrackingQueryAnswer.h"

#include <algorithm>
#include <optional>
#include <set>
#include <vector>

#include "standins/QbxmlValues.h"
#include "standins/RecordWriter.h"

namespace vantrell::standins {

namespace {

constexpr const char* kResponseName = "TimeTrackingQueryRs";

// The filters of a query, converted.
struct TicketFilter {
    TicketSelection selection;
    std::optional<std::set<std::string>> employees;  // ListIDs; absent selects every employee
    std::optional<std::int64_t> maxReturned;
};

// An optional date bound as "YYYY-MM-DD"; an empty one bounds nothing.
std::optional<ResponseStatus> convertDate(const std::optional<std::string>& text, const char* field,
                                          std::optional<std::string>& date) {
    if (!text || text->empty()) {
        return std::nullopt;
    }
    date = parseDate(*text);
    return date ? std::nullopt : std::optional<ResponseStatus>(invalidDate(*text, field));
}

std::optional<ResponseStatus> convertMoment(const std::optional<std::string>& text,
                                            const char* field, bool endOfDay,
                                            std::optional<std::int64_t>& moment) {
    if (!text || text->empty()) {
        return std::nullopt;
    }
    moment = parseDateTimeBound(*text, endOfDay);
    return moment ? std::nullopt : std::optional<ResponseStatus>(invalidDate(*text, field));
}

// Converts the filters into `filter`; the refusal when one cannot be.
std::optional<ResponseStatus> convertFilter(const TimeTrackingQueryRequest& query,
                                            const CompanyFile& file, TicketFilter& filter) {
    TicketSelection& selection = filter.selection;
    for (auto refusal :
         {convertDate(query.fromTxnDate, "FromTxnDate", selection.fromTxnDate),
          convertDate(query.toTxnDate, "ToTxnDate", selection.toTxnDate),
          convertMoment(query.fromModifiedDate, "FromModifiedDate", false, selection.fromModified),
          convertMoment(query.toModifiedDate, "ToModifiedDate", true, selection.toModified)}) {
        if (refusal) {
            return refusal;
        }
    }
    if ((selection.fromTxnDate && selection.toTxnDate &&
         *selection.fromTxnDate > *selection.toTxnDate) ||
        (selection.fromModified && selection.toModified &&
         *selection.fromModified > *selection.toModified)) {
        return invalidDateRange();
    }
    // An employee the file does not hold has no tickets: it selects nothing.
    if (!query.entityListIds.empty()) {
        filter.employees.emplace(query.entityListIds.begin(), query.entityListIds.end());
    } else if (!query.entityFullNames.empty()) {
        filter.employees.emplace();
        for (const auto& name : query.entityFullNames) {
            if (const auto employee = file.findByName(ListKind::Employee, name)) {
                filter.employees->insert(employee->listId);
            }
        }
    }
    filter.maxReturned = query.maxReturned;
    return std::nullopt;
}

// Calls `visit` with each ticket the filter selects, in order, until it returns false.
template <class Visit>
void forEachSelected(const CompanyFile& file, const TicketFilter& filter, Visit visit) {
    std::int64_t count = 0;
    file.forEachTicket(filter.selection, [&](const PostedTicket& posted) {
        if (filter.employees && filter.employees->count(posted.ticket.employee.listId) == 0) {
            return true;
        }
        ++count;
        return visit(posted) && (!filter.maxReturned || count < *filter.maxReturned);
    });
}

// Writes the records of an answer to the message text one by one, as they are read.
class RecordStream {
  public:
    RecordStream(ResponseDocument& response, pugi::xml_node element,
                 const TimeTrackingQueryRequest& query, const std::string& version)
        : response_(response), element_(element), query_(query), records_(version) {}

    void add(const PostedTicket& posted) {
        RecordText record(response_.recordText(element_), query_.includeRetElements);
        records_.write(record, posted);
    }

  private:
    ResponseDocument& response_;
    pugi::xml_node element_;
    const TimeTrackingQueryRequest& query_;
    TimeTrackingRetWriter records_;
};

pugi::xml_node addAnswer(ResponseDocument& response, const TimeTrackingQueryRequest& query,
                         const ResponseStatus& status, std::optional<std::size_t> retCount) {
    auto element = response.addResponse(kResponseName, query.requestId, status);
    if (retCount) {
        element.append_attribute("retCount") = static_cast<unsigned long long>(*retCount);
    }
    return element;
}

ResponseStatus answerByTxnId(const TimeTrackingQueryRequest& query, const CompanyFile& file,
                             ResponseDocument& response, const std::string& version,
                             bool includeResponseData) {
    std::vector<PostedTicket> tickets;
    for (const auto& txnId : query.txnIds) {
        auto posted = file.findTicket(txnId);
        if (!posted) {
            const ResponseStatus status = objectNotFound(txnId);
            response.addResponse(kResponseName, query.requestId, status);
            return status;
        }
        tickets.push_back(std::move(*posted));
    }
    std::sort(tickets.begin(), tickets.end(), [](const PostedTicket& a, const PostedTicket& b) {
        return a.ticket.txnDate != b.ticket.txnDate ? a.ticket.txnDate < b.ticket.txnDate
                                                    : a.txnNumber < b.txnNumber;
    });
    // A TxnID given twice returns its ticket once.
    tickets.erase(std::unique(tickets.begin(), tickets.end(),
                              [](const PostedTicket& a, const PostedTicket& b) {
                                  return a.txnNumber == b.txnNumber;
                              }),
                  tickets.end());
    const bool withCount = query.metaData != MetaData::NoMetaData;
    const auto element = addAnswer(response, query, statusOk(),
                                   withCount ? std::optional(tickets.size()) : std::nullopt);
    if (includeResponseData && query.metaData != MetaData::MetaDataOnly) {
        RecordStream stream(response, element, query, version);
        for (const auto& posted : tickets) {
            stream.add(posted);
        }
    }
    return statusOk();
}

ResponseStatus answerByFilter(const TimeTrackingQueryRequest& query, const CompanyFile& file,
                              ResponseDocument& response, const std::string& version,
                              bool includeResponseData) {
    TicketFilter filter;
    if (const auto refusal = convertFilter(query, file, filter)) {
        response.addResponse(kResponseName, query.requestId, *refusal);
        return *refusal;
    }
    // The count comes first because it is an attribute of the element the records go into.
    std::optional<std::size_t> retCount;
    if (query.metaData != MetaData::NoMetaData) {
        retCount = 0;
        forEachSelected(file, filter, [&](const PostedTicket&) {
            ++*retCount;
            return true;
        });
    }
    const bool withRecords = includeResponseData && query.metaData != MetaData::MetaDataOnly;
    // The status is known with the first ticket found; the element is added then.
    std::optional<RecordStream> stream;
    bool found = retCount && *retCount > 0;
    if (withRecords || !retCount) {
        forEachSelected(file, filter, [&](const PostedTicket& posted) {
            found = true;
            if (!withRecords) {
                return false;
            }
            if (!stream) {
                stream.emplace(response, addAnswer(response, query, statusOk(), retCount), query,
                               version);
            }
            stream->add(posted);
            return true;
        });
    }
    const ResponseStatus status = found ? statusOk() : noMatchingObject();
    if (!stream) {
        addAnswer(response, query, status, retCount);
    }
    return status;
}

}  // namespace

ResponseStatus answerTimeTrackingQuery(const TimeTrackingQueryRequest& query,
                                       const CompanyFile& file, ResponseDocument& response,
                                       const std::string& version, bool includeResponseData) {
    if (!query.txnIds.empty()) {
        return answerByTxnId(query, file, response, version, includeResponseData);
    }
    return answerByFilter(query, file, response, version, includeResponseData);
}

}  // namespace vantrell::standins
