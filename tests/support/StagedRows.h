#pragma once

#include <string>

#include "interfacedb/Connection.h"
#include "interfacedb/DateTime.h"

namespace vantrell::testing {

// Adds one unposted Punch row, as the extraction stages a ticket.
void addPunchRow(db::Connection& cn, int sequence, const std::string& name, db::DateTime date,
                 float hours, const std::string& payType);

}  // namespace vantrell::testing
