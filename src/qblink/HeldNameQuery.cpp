#include <string>
#include <utility>
#include <vector>

#include "diag/Failure.h"
#include "diag/TraceFile.h"
#include "qblink/NameHintAnswer.h"
#include "qblink/QuickBooksLink.h"
#include "qblink/RequestText.h"

namespace vantrell {

std::vector<hints::HeldName> QuickBooksLink::AskHeldNames(stage::NameKind kind) {
    if (!blnQBConnected) {
        throw Failure("There is no session with QuickBooks to ask for its names.");
    }
    // The hint query asks for every list whatever its status, which is what a choice needs.
    const std::string request = nameHintQueryRequest();
    SaveTextFile(log_.folder(), "HintReq.txt", request);
    std::string response = processor().ProcessRequest(ticket, request);
    SaveTextFile(log_.folder(), "HintResp.txt", response);

    HeldListProblems problems;
    hints::HeldLists lists = readHeldLists(std::move(response), problems);
    const bool employees = kind == stage::NameKind::Employee;
    // Half a list would offer the clerk a choice that leaves out the right name.
    if (const std::string& problem = employees ? problems.employees : problems.wageItems;
        !problem.empty()) {
        throw Failure(problem);
    }
    return employees ? std::move(lists.employees) : std::move(lists.wageItems);
}

}  // namespace vantrell
