#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "qblink/QuickBooksLink.h"

namespace vantrell {

// One line of what an undo did. `keptTicket` marks the line of a ticket left in place (the
// accounting system's message, other values, a damaged journal row), which the terminal puts
// on standard error and a window shows among the others.
struct UndoLine {
    std::string text;
    bool keptTicket = false;
};

// What the undo of export `id` did, in the words every front end uses: deleted now, already
// gone, each ticket kept and how many remain, the unconfirmed ones, and a record that could
// not be written. `againCommand` is how the clerk runs the undo again ("--undo-export 3", or
// "Undo export").
std::vector<UndoLine> undoOutcomeLines(std::int64_t id, const QuickBooksLink::UndoOutcome& outcome,
                                       const std::string& againCommand);

// "1 time ticket", "3 time tickets".
std::string timeTicketsText(std::int64_t count);

// The line on the tickets the check found in QuickBooks that no export had sent, or "" for none.
std::string settledByCheckLine(std::int64_t count);

}  // namespace vantrell
