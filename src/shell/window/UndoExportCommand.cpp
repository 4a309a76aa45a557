#include "shell/window/UndoExportCommand.h"

#include "diag/Guard.h"

namespace vantrell {

std::optional<std::vector<UndoLine>> runUndoExportCommand(modErrorLog& log, ExportHistory& history,
                                                          YesNoQuestion& question,
                                                          MainWindowSteps& steps,
                                                          WindowControls& controls) {
    const ExportReceipt* receipt = history.receipt();
    if (receipt == nullptr) {
        return std::nullopt;
    }
    bool yes = false;
    guard(log, "UndoExport",
          [&] { yes = question.ask(receipt->undoConfirmation(), ExportHistory::kCaption); });
    if (!yes) {
        return std::nullopt;
    }
    guard(log, "UndoExport", [&] { controls.setMousePointer(MousePointer::Hourglass); });
    std::vector<UndoLine> lines = history.undoSelected(log, steps.logic().link());
    guard(log, "UndoExport", [&] { controls.setMousePointer(MousePointer::Default); });
    // The undone tickets are no longer in QuickBooks: the activation stages them again and the
    // main window lists what an Export would now post.
    steps.activate();
    guard(log, "ExportHistory", [&] { history.reload(); });
    return lines;
}

}  // namespace vantrell
