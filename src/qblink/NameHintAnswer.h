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

}  // namespace vantrell
