#pragma once

#include <string>
#include <vector>

#include "standins/CompanyRecords.h"
#include "standins/RecordText.h"

namespace vantrell::standins {

// Full records as the accounting system returns them, nested aggregates included, each written
// whole to `out`.

// EmployeeRet: list core, name and its parts, type, and payroll information with one
// earnings line per wage item in `wageItems`.
void writeEmployeeRet(RecordText& out, const ListRecord& employee,
                      const std::vector<ListRecord>& wageItems);

// PayrollItemWageRet with its wage type and expense account.
void writeWageItemRet(RecordText& out, const ListRecord& wageItem,
                      const std::string& expenseAccountListId);

// PayrollItemNonWageRet: every payroll item of this company file that is not a wage item is an
// addition.
void writeNonWageItemRet(RecordText& out, const ListRecord& item);

// TimeTrackingRet of a posted ticket as qbXML `version` ("major.minor") defines it: from 6.0 on
// its billable status as BillableStatus; before that as IsBillable and, from 2.0, IsBilled.
void writeTimeTrackingRet(RecordText& out, const PostedTicket& posted, const std::string& version);

}  // namespace vantrell::standins
