#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "standins/CompanyRecords.h"

namespace vantrell::standins {

// A reference to a list entry by ListID, full name or both, as a request writes it.
struct ListReference {
    std::optional<std::string> listId;
    std::optional<std::string> fullName;
};

enum class ActiveStatus { ActiveOnly, InactiveOnly, All };
enum class MatchCriterion { StartsWith, Contains, EndsWith };

struct NameFilter {
    MatchCriterion criterion = MatchCriterion::StartsWith;
    std::string name;
};

struct NameRange {
    std::optional<std::string> fromName;
    std::optional<std::string> toName;
};

// EmployeeQueryRq, PayrollItemWageQueryRq or PayrollItemNonWageQueryRq: either ListIDs, or
// full names, or the filters.
struct ListQueryRequest {
    ListKind kind = ListKind::Employee;
    std::optional<std::string> requestId;
    std::vector<std::string> listIds;
    std::vector<std::string> fullNames;
    std::optional<std::int64_t> maxReturned;
    ActiveStatus activeStatus = ActiveStatus::ActiveOnly;
    std::optional<std::string> fromModifiedDate;
    std::optional<std::string> toModifiedDate;
    std::optional<NameFilter> nameFilter;
    std::optional<NameRange> nameRange;
    std::vector<std::string> includeRetElements;
};

// TimeTrackingAddRq. Values are kept as written; they are converted when the request is
// processed, where a bad one is refused for this request alone.
struct TimeTrackingAddRequest {
    std::optional<std::string> requestId;
    std::optional<std::string> txnDate;
    ListReference entity;
    std::optional<ListReference> customer;
    std::optional<ListReference> itemService;
    std::string duration;
    std::optional<ListReference> classRef;
    std::optional<ListReference> wageItem;
    std::optional<std::string> notes;
    std::optional<std::string> isBillable;
    std::optional<std::string> billableStatus;
    std::vector<std::string> includeRetElements;
};

enum class MetaData { NoMetaData, MetaDataOnly, MetaDataAndResponseData };

// A query's iterator attribute (qbXML 5.0 on): none asks for the whole answer at once.
enum class IteratorMode { None, Start, Continue, Stop };

// TimeTrackingQueryRq: either TxnIDs, or the filters (all optional). Dates are kept as written
// and converted when the request is processed. Continue and Stop name the iterator by
// `iteratorId` (empty when the request gave none).
struct TimeTrackingQueryRequest {
    std::optional<std::string> requestId;
    MetaData metaData = MetaData::NoMetaData;
    IteratorMode iterator = IteratorMode::None;
    std::string iteratorId;
    std::vector<std::string> txnIds;
    std::optional<std::int64_t> maxReturned;
    std::optional<std::string> fromModifiedDate;
    std::optional<std::string> toModifiedDate;
    std::optional<std::string> fromTxnDate;
    std::optional<std::string> toTxnDate;
    std::vector<std::string> entityListIds;
    std::vector<std::string> entityFullNames;
    std::vector<std::string> includeRetElements;
};

// TxnDelRq: the kind of transaction (one of the kinds the accounting system names) and its id.
struct TxnDelRequest {
    std::optional<std::string> requestId;
    std::string txnDelType;
    std::string txnId;
};

using QbxmlRequest =
    std::variant<ListQueryRequest, TimeTrackingAddRequest, TimeTrackingQueryRequest, TxnDelRequest>;

enum class OnError { StopOnError, ContinueOnError };

// Where one request of a message is: read already (`requests[index]`), or a time ticket's
// request still as the text of the message from `begin` to `end`, read when it is answered.
struct RequestEntry {
    bool isText = false;
    std::size_t index = 0;
    std::size_t begin = 0;
    std::size_t end = 0;
};

// One request message: its declared version, what to do after a refused request, whether
// records are returned, and its requests in document order (`entries`; takeRequest gives each).
// A message of many time tickets keeps them as text until each is answered, so that a message
// of a whole payroll is never held read all at once.
struct QbxmlMessage {
    std::string version;
    OnError onError = OnError::StopOnError;
    bool includeResponseData = true;
    std::vector<RequestEntry> entries;
    std::vector<QbxmlRequest> requests;
    std::string_view text;  // the message, for the entries held as text
};

}  // namespace vantrell::standins
