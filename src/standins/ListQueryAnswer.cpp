#include "standins/ListQueryAnswer.h"

#include <algorithm>

#include "diag/Utf8.h"
#include "standins/QbxmlValues.h"

namespace vantrell::standins {

namespace {

bool contains(const std::vector<ListRecord>& records, const ListRecord& record) {
    return std::any_of(records.begin(), records.end(),
                       [&](const ListRecord& r) { return r.listId == record.listId; });
}

bool activeStatusMatches(ActiveStatus status, const ListRecord& record) {
    switch (status) {
        case ActiveStatus::ActiveOnly:
            return record.active;
        case ActiveStatus::InactiveOnly:
            return !record.active;
        case ActiveStatus::All:
            return true;
    }
    return true;
}

bool nameFilterMatches(const NameFilter& filter, const ListRecord& record) {
    const std::string name = asciiLower(record.name);
    const std::string part = asciiLower(filter.name);
    switch (filter.criterion) {
        case MatchCriterion::StartsWith:
            return name.starts_with(part);
        case MatchCriterion::Contains:
            return name.find(part) != std::string::npos;
        case MatchCriterion::EndsWith:
            return name.ends_with(part);
    }
    return true;
}

bool nameRangeMatches(const NameRange& range, const ListRecord& record) {
    const std::string name = asciiLower(record.name);
    return (!range.fromName || name >= asciiLower(*range.fromName)) &&
           (!range.toName || name <= asciiLower(*range.toName));
}

ListQueryAnswer byListId(const ListQueryRequest& query, const CompanyFile& file) {
    ListQueryAnswer answer;
    for (const auto& listId : query.listIds) {
        const auto record = file.findByListId(query.kind, listId);
        if (!record) {
            return {objectNotFound(listId), {}};
        }
        if (!contains(answer.records, *record)) {
            answer.records.push_back(*record);
        }
    }
    answer.status = statusOk();
    return answer;
}

ListQueryAnswer byFullName(const ListQueryRequest& query, const CompanyFile& file) {
    ListQueryAnswer answer{statusOk(), {}};
    for (const auto& name : query.fullNames) {
        const auto record = file.findByName(query.kind, name);
        if (!record) {
            if (answer.status.code == 0) {
                answer.status = elementNotFound(name);
            }
        } else if (!contains(answer.records, *record)) {
            answer.records.push_back(*record);
        }
    }
    return answer;
}

ListQueryAnswer byFilter(const ListQueryRequest& query, const CompanyFile& file) {
    std::optional<std::int64_t> from;
    std::optional<std::int64_t> to;
    if (query.fromModifiedDate) {
        from = parseDateTimeBound(*query.fromModifiedDate, false);
        if (!from) {
            return {invalidDate(*query.fromModifiedDate, "FromModifiedDate"), {}};
        }
    }
    if (query.toModifiedDate) {
        to = parseDateTimeBound(*query.toModifiedDate, true);
        if (!to) {
            return {invalidDate(*query.toModifiedDate, "ToModifiedDate"), {}};
        }
    }
    if (from && to && *from > *to) {
        return {invalidDateRange(), {}};
    }
    ListQueryAnswer answer;
    for (const auto& record : file.entries(query.kind)) {
        if (query.maxReturned &&
            answer.records.size() >= static_cast<std::size_t>(*query.maxReturned)) {
            break;
        }
        if (activeStatusMatches(query.activeStatus, record) &&
            (!from || record.timeModified >= *from) && (!to || record.timeModified <= *to) &&
            (!query.nameFilter || nameFilterMatches(*query.nameFilter, record)) &&
            (!query.nameRange || nameRangeMatches(*query.nameRange, record))) {
            answer.records.push_back(record);
        }
    }
    answer.status = answer.records.empty() ? noMatchingObject() : statusOk();
    return answer;
}

}  // namespace

ListQueryAnswer answerListQuery(const ListQueryRequest& query, const CompanyFile& file) {
    if (!query.listIds.empty()) {
        return byListId(query, file);
    }
    if (!query.fullNames.empty()) {
        return byFullName(query, file);
    }
    return byFilter(query, file);
}

}  // namespace vantrell::standins
