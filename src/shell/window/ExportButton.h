#pragma once

#include "diag/modErrorLog.h"
#include "qblink/QuickBooksLink.h"
#include "shell/window/FrontEnd.h"
#include "shell/window/IssueList.h"

namespace vantrell {

// The Export button: posts the staged tickets through `link` with the hourglass shown
// meanwhile. When the export finished, Export is disabled and the list gets an empty line,
// "Export complete." and the tickets the accounting system left staged; when the check before
// it stopped it, the list shows the issues (see listIssues). The pointer is reset on every
// path. A control's failure is logged under "cmdExport_Click"; nothing throws. `listed` is
// replaced by the missing names of the issues listed, when the list is made anew.
void cmdExport_Click(modErrorLog& log, QuickBooksLink& link, WindowControls& controls,
                     ListedNames& listed);
// The same for a caller that keeps no list of missing names.
void cmdExport_Click(modErrorLog& log, QuickBooksLink& link, WindowControls& controls);

}  // namespace vantrell
