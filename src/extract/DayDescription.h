#pragma once

#include <string>

#include "interfacedb/Recordset.h"

namespace vantrell {

// How the extraction names a row of the time-and-attendance data in what it reports, so that
// the clerk can find the row there. None of these throws.

// The day in hand: "Worker One on 2024-05-06"; a missing name or day is said so, a day that is
// no date is shown as it stands.
std::string dayOf(const db::Recordset& day);

// `description` (a failure's, which may end in a full stop) followed by ": " and `problem`.
std::string withRow(const std::string& description, const std::string& problem);

// Why the ticket of the day in hand for `payTypeColumn` (whose pay type is `payType`) could
// not be staged, as far as its values tell: a name or pay type too long or empty, a day that
// is no date; otherwise which ticket it was.
std::string ticketProblem(const db::Recordset& day, const std::string& hoursColumn,
                          const std::string& payTypeColumn, const std::string& payType);

// What is wrong with the hours of `hoursColumn` (Reg, OT1 or OT2) of the day in hand.
std::string hoursProblem(const db::Recordset& day, const std::string& hoursColumn);

}  // namespace vantrell
