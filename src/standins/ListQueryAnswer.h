#pragma once

#include <vector>

#include "standins/CompanyFile.h"
#include "standins/QbxmlRequests.h"
#include "standins/ResponseStatus.h"

namespace vantrell::standins {

struct ListQueryAnswer {
    ResponseStatus status;
    std::vector<ListRecord> records;
};

// Answers an employee or payroll-item query from the company file. Without ListIDs or full names
// the filters apply, active entries only unless ActiveStatus says otherwise, in name order;
// nothing found is status 1. Full names that are not found give the warning 500 with the
// entries that were found; a ListID that is not found gives the error 3120. A bad modified
// date gives 3020, a range that ends before it begins 3030.
ListQueryAnswer answerListQuery(const ListQueryRequest& query, const CompanyFile& file);

}  // namespace vantrell::standins
