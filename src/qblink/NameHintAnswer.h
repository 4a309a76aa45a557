#pragma once

#include <string>

#include "qblink/NameHints.h"

namespace vantrell {

// The lists of the hint query's answer: employees, wage items and other payroll items, each
// read from its own query's answers (status 1, nothing found, gives an empty list). A list whose
// answer is missing or carries another status is left empty, so that no hint rests on half a
// list, and why is added to `problems` (space-separated). Throws Failure when the text does not
// load as a strict XML document. The answer is parsed where it lies: it is taken, not copied.
hints::HeldLists readHeldLists(std::string response, std::string& problems);

// Why each list of the hint query's answer could not be read; empty for a list that was read.
struct HeldListProblems {
    std::string employees;
    std::string wageItems;
    std::string otherPayrollItems;
};

// The same, with why each list could not be read kept apart, for a caller that needs one list.
hints::HeldLists readHeldLists(std::string response, HeldListProblems& problems);

}  // namespace vantrell
