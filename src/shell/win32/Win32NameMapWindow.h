#pragma once

#include <windows.h>

#include <functional>

#include "shell/win32/ReportDialog.h"
#include "shell/win32/resource.h"
#include "shell/window/NameMapList.h"
#include "shell/window/RowOrder.h"

namespace vantrell::win32 {

// The name map (dialog resource IDD_FRMNAMEMAP), modal over its owner: its entries in a virtual
// list-view sorted by a click on a column's title (again: the other way; from the keyboard, the
// list's context menu), the line saying how many there are, "Change…" (a sound entry: the
// name-choice dialog), "Remove…" (after a question) and Close. Esc and the close box close it.
// Laid out in twips at the screen's resolution, in the main window's dialog font.
class Win32NameMapWindow final : public ReportDialog {
  public:
    // Changes or removes the list's row `row` (counted in the list's own order) and reads the
    // list again; true when the map changed.
    using EntryCommand = std::function<bool(NameMapList& list, std::size_t row)>;

    // The window over `list`, which must outlive it.
    Win32NameMapWindow(NameMapList& list, EntryCommand change, EntryCommand remove)
        : list_(list),
          change_(std::move(change)),
          remove_(std::move(remove)),
          order_([this](std::size_t row, std::size_t column) { return list_.text(row, column); }) {}

    // Shows the window over `owner` and returns when it has closed. Throws Failure when the
    // window cannot be created.
    void showModal(HWND owner);

  private:
    void onInitDialog() override;
    int closeButton() const override { return IDC_NAMEMAPCLOSE; }
    bool onButton(int id) override;
    INT_PTR onNotify(const NMHDR& header, LPARAM lParam) override;
    int sortableList() const override { return IDC_NAMEMAPENTRIES; }
    // A command to sort the entries by each column, for the keyboard.
    void showSortMenu(int x, int y) override;
    // The list's row selected now, in the list's own order.
    std::optional<std::size_t> selectedRow() const;
    // Shows the rows as the list holds them now, `row` selected when given; sets the buttons.
    void showRows(std::optional<std::size_t> row);
    void enableButtons();
    void runOnSelected(const EntryCommand& command);
    void sortBy(int column);

    NameMapList& list_;
    EntryCommand change_;
    EntryCommand remove_;
    RowOrder order_;
};

// Opens the name map that `state` holds over `owner` and returns when it has closed; a map that
// cannot be read is logged and opens nothing.
void showNameMap(modErrorLog& log, ProgramState& state, Win32NameMapWindow::EntryCommand change,
                 Win32NameMapWindow::EntryCommand remove, HWND owner,
                 void (*openedHook)(HWND, void*) = nullptr, void* hookContext = nullptr);

}  // namespace vantrell::win32
