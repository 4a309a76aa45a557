#pragma once

#include <windows.h>

#include <functional>
#include <optional>
#include <vector>

#include "diag/modErrorLog.h"
#include "shell/win32/ReportDialog.h"
#include "shell/win32/resource.h"
#include "shell/window/ExportHistory.h"
#include "shell/window/FrontEnd.h"

namespace vantrell::win32 {

// The history of exports (dialog resource IDD_FRMHISTORY), modal over its owner: the exports
// newest first, the tickets of the one selected (sorted by a click on a column's title) with
// their totals, "Undo export…", "Save as CSV…" (the receipt) and Close, and the lines an undo
// leaves. Esc and the close box close it. Laid out in twips at the screen's resolution, in the
// main window's dialog font; every list is virtual.
class Win32HistoryWindow final : public ReportDialog {
  public:
    // Runs the undo of the history's selected export (asking first) and returns its lines, or
    // nothing when nothing was done.
    using UndoRunner = std::function<std::optional<std::vector<UndoLine>>(ExportHistory&)>;

    // The window over `history`; `log` and `saveDialog` must outlive it.
    Win32HistoryWindow(ExportHistory& history, modErrorLog& log, FileSaveDialog& saveDialog,
                       UndoRunner undo)
        : history_(history), log_(log), saveDialog_(saveDialog), undo_(std::move(undo)) {}

    // Shows the window over `owner` and returns when it has closed. Throws Failure when the
    // window cannot be created.
    void showModal(HWND owner);

  private:
    void onInitDialog() override;
    int closeButton() const override { return IDC_HISTORYCLOSE; }
    bool onButton(int id) override;
    INT_PTR onNotify(const NMHDR& header, LPARAM lParam) override;
    // Shows the tickets, totals and lines of the export selected now.
    void showSelected();
    void undoClicked();

    ExportHistory& history_;
    modErrorLog& log_;
    FileSaveDialog& saveDialog_;
    UndoRunner undo_;
    std::vector<TotalsRow> totals_;
};

// Opens the history of exports that `state` holds over `owner` and returns when it has
// closed; a journal that cannot be read is logged under "ExportHistory" and opens nothing.
void showExportHistory(modErrorLog& log, ProgramState& state, FileSaveDialog& saveDialog,
                       Win32HistoryWindow::UndoRunner undo, HWND owner,
                       void (*openedHook)(HWND, void*) = nullptr, void* hookContext = nullptr);

}  // namespace vantrell::win32
