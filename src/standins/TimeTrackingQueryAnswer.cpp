#include "standins/TimeTrackingQueryAnswer.h"

#include <algorithm>
#include <optional>
#include <set>
#include <vector>

#include "standins/BracedGuid.h"
#include "standins/QbxmlValues.h"
#include "standins/RecordWriter.h"

namespace vantrell::standins {

namespace {

constexpr const char* kResponseName = "TimeTrackingQueryRs";

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

// Calls `visit` with each ticket the filter selects, in order, until it returns false; the
// entries the tickets name are kept in `entries` when given.
template <class Visit>
void forEachSelected(const CompanyFile& file, const TicketFilter& filter, Visit visit,
                     NamedEntries* entries = nullptr) {
    std::int64_t count = 0;
    file.forEachTicket(
        filter.selection,
        [&](const PostedTicket& posted) {
            if (filter.employees && filter.employees->count(posted.ticket.employee.listId) == 0) {
                return true;
            }
            ++count;
            return visit(posted) && (!filter.maxReturned || count < *filter.maxReturned);
        },
        entries);
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

// Where an answer stands in its iterator: the tickets still to come and the iteratorID.
struct IteratorPlace {
    std::int64_t remaining = 0;
    std::string id;
};

pugi::xml_node addAnswer(ResponseDocument& response, const TimeTrackingQueryRequest& query,
                         const ResponseStatus& status, std::optional<std::size_t> retCount,
                         const IteratorPlace* place = nullptr) {
    auto element = response.addResponse(kResponseName, query.requestId, status);
    if (retCount) {
        element.append_attribute("retCount") = static_cast<unsigned long long>(*retCount);
    }
    if (place != nullptr) {
        element.append_attribute("iteratorRemainingCount") =
            static_cast<long long>(place->remaining);
        element.append_attribute("iteratorID") = place->id.c_str();
    }
    return element;
}

ResponseStatus answerByTxnId(const TimeTrackingQueryRequest& query, const CompanyFile& file,
                             ResponseDocument& response, const std::string& version,
                             bool includeResponseData, const IteratorPlace* place) {
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
                                   withCount ? std::optional(tickets.size()) : std::nullopt, place);
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

// How many tickets the filter selects, however many a page may return.
std::int64_t countSelected(const CompanyFile& file, TicketFilter filter) {
    if (!filter.employees) {
        return file.countTickets(filter.selection);
    }
    filter.maxReturned.reset();
    std::int64_t count = 0;
    forEachSelected(file, filter, [&](const PostedTicket&) {
        ++count;
        return true;
    });
    return count;
}

// Answers the next page of the iterator `id`: the tickets after its position, as many as the
// request's MaxReturned (else the one it started with; else all), and moves it past them. The
// count of those still to come is written before the page, so it is taken from the count made
// when the iterator started: exact unless the file changes in between, which the accounting
// system does not promise either. An iterator with nothing left ends.
ResponseStatus answerPage(const TimeTrackingQueryRequest& query, const CompanyFile& file,
                          ResponseDocument& response, const std::string& version,
                          bool includeResponseData, QueryIterators& iterators,
                          const std::string& id) {
    TicketIterator& iterator = *iterators.find(id);
    TicketFilter page = iterator.filter;
    if (query.maxReturned) {
        page.maxReturned = query.maxReturned;
    }
    const std::int64_t expected =
        page.maxReturned ? std::min(*page.maxReturned, iterator.remaining) : iterator.remaining;
    IteratorPlace place{iterator.remaining - expected, id};
    const std::optional<std::size_t> retCount =
        query.metaData != MetaData::NoMetaData
            ? std::optional<std::size_t>(static_cast<std::size_t>(expected))
            : std::nullopt;
    const bool withRecords = includeResponseData && query.metaData != MetaData::MetaDataOnly;
    std::optional<RecordStream> stream;
    std::int64_t read = 0;
    forEachSelected(
        file, page,
        [&](const PostedTicket& posted) {
            ++read;
            iterator.filter.selection.after =
                TicketPosition{posted.ticket.txnDate, posted.txnNumber};
            if (withRecords) {
                if (!stream) {
                    stream.emplace(response,
                                   addAnswer(response, query, statusOk(), retCount, &place), query,
                                   version);
                }
                stream->add(posted);
            }
            return true;
        },
        &iterator.entries);
    // A short page means the selection holds no more, whatever was counted.
    const bool full = page.maxReturned && read == *page.maxReturned;
    iterator.remaining = full ? place.remaining : 0;
    const ResponseStatus status = read > 0 ? statusOk() : noMatchingObject();
    if (!stream) {
        if (read == 0) {
            place.remaining = 0;
        }
        addAnswer(response, query, status, retCount, &place);
    }
    if (iterator.remaining == 0) {
        iterators.stop(id);
    }
    return status;
}

ResponseStatus answerWithIterator(const TimeTrackingQueryRequest& query, const CompanyFile& file,
                                  ResponseDocument& response, const std::string& version,
                                  bool includeResponseData, QueryIterators& iterators) {
    if (query.iterator != IteratorMode::Start) {
        if (iterators.find(query.iteratorId) == nullptr) {
            const ResponseStatus status = invalidIterator(query.iteratorId);
            response.addResponse(kResponseName, query.requestId, status);
            return status;
        }
        if (query.iterator == IteratorMode::Stop) {
            iterators.stop(query.iteratorId);
            const IteratorPlace place{0, query.iteratorId};
            addAnswer(response, query, statusOk(), std::nullopt, &place);
            return statusOk();
        }
        return answerPage(query, file, response, version, includeResponseData, iterators,
                          query.iteratorId);
    }
    if (!query.txnIds.empty()) {
        // A few tickets named one by one: all of them on the first page, none kept for later.
        const IteratorPlace place{0, newBracedGuid()};
        return answerByTxnId(query, file, response, version, includeResponseData, &place);
    }
    TicketIterator iterator;
    if (const auto refusal = convertFilter(query, file, iterator.filter)) {
        response.addResponse(kResponseName, query.requestId, *refusal);
        return *refusal;
    }
    iterator.remaining = countSelected(file, iterator.filter);
    const std::string id = iterators.start(std::move(iterator));
    return answerPage(query, file, response, version, includeResponseData, iterators, id);
}

}  // namespace

ResponseStatus answerTimeTrackingQuery(const TimeTrackingQueryRequest& query,
                                       const CompanyFile& file, ResponseDocument& response,
                                       const std::string& version, bool includeResponseData,
                                       QueryIterators& iterators) {
    if (query.iterator != IteratorMode::None) {
        return answerWithIterator(query, file, response, version, includeResponseData, iterators);
    }
    if (!query.txnIds.empty()) {
        return answerByTxnId(query, file, response, version, includeResponseData, nullptr);
    }
    return answerByFilter(query, file, response, version, includeResponseData);
}

}  // namespace vantrell::standins
