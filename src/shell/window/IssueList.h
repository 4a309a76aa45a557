#pragma once

#include <cstddef>
#include <vector>

#include "diag/modErrorLog.h"
#include "qblink/QuickBooksLink.h"
#include "shell/window/FrontEnd.h"

namespace vantrell {

// The lines of the window's list that are about a missing name, as the list was made last
// from an issue report (whose lines start the list).
using ListedNames = std::vector<QuickBooksLink::MissingNameLine>;

// The missing name the list's line `line` is about, or null when it is about none.
const QuickBooksLink::MissingNameLine* missingNameAt(const ListedNames& listed, std::size_t line);

// Shows `report` in the window's list, replacing what it held, and sets the buttons: when no
// issue is left, "Click Export to post your time tickets in QuickBooks." with Export and Close
// enabled; otherwise an empty line and "There are N issues requiring resolution." with Close
// and Print enabled. Ends with an empty line and how many tickets the check found posted
// already, when any. A report that is not complete gets its lines only and Export disabled,
// the other buttons left as they are. A control's failure is logged under "ShowIssues" and ends the
// listing.
void listIssues(modErrorLog& log, WindowControls& controls,
                const QuickBooksLink::IssueReport& report);

// The issues `link` finds now, listed as listIssues() lists them.
void ShowIssues(modErrorLog& log, QuickBooksLink& link, WindowControls& controls);

// Appends the lines the link's answers left for the list (taking them from the link); a
// control's failure is logged under `step`.
void listAnswerNotes(modErrorLog& log, QuickBooksLink& link, WindowControls& controls,
                     const char* step);

}  // namespace vantrell
