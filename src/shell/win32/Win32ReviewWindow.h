#pragma once

#include <windows.h>

#include <memory>

#include "diag/modErrorLog.h"
#include "shell/win32/ReportDialog.h"
#include "shell/win32/resource.h"
#include "shell/window/FrontEnd.h"
#include "shell/window/StageReview.h"

namespace vantrell::win32 {

// The review of the stage (dialog resource IDD_FRMREVIEW), modal over its owner: the summary,
// the tickets in a virtual list-view sorted by a click on a column's title (again: the other
// way; from the keyboard, the list's context menu), the totals, "Save as CSV…" and Close. Esc and
// the close box close it. Laid out in twips at the screen's resolution, in the main window's dialog
// font.
class Win32ReviewWindow final : public ReportDialog {
  public:
    // The window over `review`; `log` and `saveDialog` must outlive it.
    Win32ReviewWindow(StageReview& review, modErrorLog& log, FileSaveDialog& saveDialog)
        : review_(review), log_(log), saveDialog_(saveDialog) {}

    // Shows the window over `owner` and returns when it has closed. Throws Failure when the
    // window cannot be created.
    void showModal(HWND owner);

  private:
    void onInitDialog() override;
    int closeButton() const override { return IDC_REVIEWCLOSE; }
    bool onButton(int id) override;
    INT_PTR onNotify(const NMHDR& header, LPARAM lParam) override;
    int sortableList() const override { return IDC_REVIEWTICKETS; }
    // A command to sort the tickets by each column, for the keyboard.
    void showSortMenu(int x, int y) override;
    // Sorts the tickets by `column` as a click on its title does.
    void sortBy(int column);

    StageReview& review_;
    modErrorLog& log_;
    FileSaveDialog& saveDialog_;
    std::vector<TotalsRow> totals_;
};

// Opens the review of the stage that `state` holds over `owner` and returns when it has
// closed; a stage that cannot be read is logged under "ReviewStage" and opens nothing.
void showStageReview(modErrorLog& log, ProgramState& state, const QuickBooksLink& link,
                     FileSaveDialog& saveDialog, HWND owner,
                     void (*openedHook)(HWND, void*) = nullptr, void* hookContext = nullptr);

}  // namespace vantrell::win32
