#include "shell/window/ExportButton.h"

#include <string>

#include "diag/Guard.h"
#include "shell/window/IssueList.h"

namespace vantrell {

void cmdExport_Click(modErrorLog& log, QuickBooksLink& link, WindowControls& controls,
                     ListedNames& listed) {
    using Ending = QuickBooksLink::ExportOutcome::Ending;
    guard(log, "cmdExport_Click", [&] {
        controls.setMousePointer(MousePointer::Hourglass);
        const QuickBooksLink::ExportOutcome outcome = link.ExportStagedTickets();
        if (outcome.ending == Ending::StoppedByCheck) {
            listed = outcome.issues.nameLines;
            listIssues(log, controls, outcome.issues);
        } else if (outcome.ending == Ending::Finished) {
            controls.setButtonEnabled(WindowButton::Export, false);
            controls.addListLine("");
            controls.addListLine("Export complete.");
            for (const std::string& line : outcome.ticketsLeft) {
                controls.addListLine(line);
            }
        }
    });
    // The exit step runs on every path; a pointer that cannot be reset is logged, not thrown
    // into the window's event loop.
    guard(log, "cmdExport_Click", [&] { controls.setMousePointer(MousePointer::Default); });
}

void cmdExport_Click(modErrorLog& log, QuickBooksLink& link, WindowControls& controls) {
    ListedNames ignored;
    cmdExport_Click(log, link, controls, ignored);
}

}  // namespace vantrell
