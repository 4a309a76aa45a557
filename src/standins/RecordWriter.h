#pragma once

#include <pugixml.hpp>

#include <string>
#include <vector>

#include "standins/CompanyRecords.h"

namespace vantrell::standins {

// Full records as the accounting system returns them, nested aggregates included.

// EmployeeRet: list core, name and its parts, type, and payroll information with one
// earnings line per wage item in `wageItems`.
void appendEmployeeRet(pugi::xml_node parent, const ListRecord& employee,
                       const std::vector<ListRecord>& wageItems);

// PayrollItemWageRet with its wage type and expense account.
void appendWageItemRet(pugi::xml_node parent, const ListRecord& wageItem,
                       const std::string& expenseAccountListId);

// PayrollItemNonWageRet: every payroll item of this company file that is not a wage item is an
// addition.
void appendNonWageItemRet(pugi::xml_node parent, const ListRecord& item);

// TimeTrackingRet of a posted ticket as qbXML `version` ("major.minor") defines it: from 6.0 on
// its billable status as BillableStatus; before that as IsBillable and, from 2.0, IsBilled.
void appendTimeTrackingRet(pugi::xml_node parent, const PostedTicket& posted,
                           const std::string& version);

// Keeps only the direct children of `record` named in `names`; an empty list keeps all.
void keepOnlyElements(pugi::xml_node record, const std::vector<std::string>& names);

}  // namespace vantrell::standins
