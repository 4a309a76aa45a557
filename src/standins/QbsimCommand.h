#pragma once

#include <ostream>
#include <string>
#include <vector>

#include "standins/RequestHandler.h"

namespace vantrell::standins {

// The qbsim tool without its process: `args` are the words after the program name. Writes
// results to `out` and refusals, failures and the usage text to `err`. Returns the exit
// status: 0 done, 1 refused or failed (nothing changed), 2 not a valid command line.
//   qbsim create FILE                   a new, empty company file
//   qbsim add-employee FILE NAME...     employees, active
//   qbsim add-wage-item FILE NAME...    wage payroll items, active
//   qbsim set-inactive FILE NAME...     employees or wage items of these names made inactive
//   qbsim list-time FILE                posted tickets: TxnDate, employee, duration, wage item
//   qbsim add-time FILE DATE EMPLOYEE DURATION ITEM
//                                       one ticket as if keyed by hand; prints its TxnID
int runQbsim(const std::vector<std::string>& args, std::ostream& out, std::ostream& err,
             const UnixClock& clock = systemUnixSeconds);

}  // namespace vantrell::standins
