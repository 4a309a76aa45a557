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

// TimeTrackingRet of a posted ticket.
void appendTimeTrackingRet(pugi::xml_node parent, const PostedTicket& posted);

// Keeps only the direct children of `record` named in `names`; an empty list keeps all.
void keepOnlyElements(pugi::xml_node record, const std::vector<std::string>& names);

}  // namespace vantrell::standins
