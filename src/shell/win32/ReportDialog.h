#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "shell/win32/DialogLayout.h"
#include "shell/window/TicketTable.h"

namespace vantrell::win32 {

// What the modal windows (the review, the history, the name map and its choice) share: the dialog
// resource shown over an owner, its messages routed to the window object, a hook that tests
// drive it through, and the lay-out of its controls and lists in twips at the screen's
// resolution. A window derives from it, lays itself out in onInitDialog, and answers its
// buttons in onButton and its lists' notifications in onNotify; Esc, the close box and the
// window's Close button close it, and the context menu of its sortable list sorts it.
class ReportDialog {
  public:
    ReportDialog() = default;
    ReportDialog(const ReportDialog&) = delete;
    ReportDialog& operator=(const ReportDialog&) = delete;

    // Called with the window once it has opened; lets tests drive it.
    void setOpenedHook(void (*hook)(HWND window, void* context), void* context) {
        openedHook_ = hook;
        hookContext_ = context;
    }

  protected:
    ~ReportDialog() = default;

    // Shows dialog resource `resource` over `owner` and returns when it has closed (the list-view
    // class registered first). Throws Failure with `failure` when it cannot be created.
    void runModal(HWND owner, int resource, const char* failure);

    // Sets the caption and places the controls in a client area of `width` x `height` twips;
    // returns the screen's resolution, which the lists are set up at.
    int layOut(const std::string& caption, int width, int height, const TwipsRect* controls,
               int count);
    // Sets up the list `control` for `table`'s columns (each as wide as `widthsTwips` says for
    // its TicketColumn) and `rowCount` of its rows.
    void setUpTicketList(int control, const TicketTable& table, const int* widthsTwips,
                         std::size_t rowCount, int dotsPerInch);
    // Sets up the list `control` for the totals' columns (kTotalsTitles, each as wide as
    // `widthsTwips` says) and `rowCount` rows.
    void setUpTotalsList(int control, const int* widthsTwips, std::size_t rowCount,
                         int dotsPerInch);

    // The window's first message: the controls are there, the window is not shown yet.
    virtual void onInitDialog() = 0;
    // The window's Close button, which closes it as Esc and the close box do, and what the
    // window does as it closes so.
    virtual int closeButton() const = 0;
    virtual void onClosing() {}
    // A click on the button `id` (not Close); false when `id` is none of the window's buttons.
    virtual bool onButton(int id) = 0;
    // A list's notification, as a dialog procedure answers it.
    virtual INT_PTR onNotify(const NMHDR& header, LPARAM lParam) = 0;
    // The list whose context menu sorts it (menu key, Shift+F10, right click), 0 for none, and
    // that menu at the screen point (x, y), or at the list's corner for -1, -1.
    virtual int sortableList() const { return 0; }
    virtual void showSortMenu(int /*x*/, int /*y*/) {}
    // Every other message, as a dialog procedure answers it.
    virtual INT_PTR onMessage(UINT /*message*/, WPARAM /*wParam*/, LPARAM /*lParam*/) {
        return FALSE;
    }

    HWND window_ = nullptr;

  private:
    static INT_PTR CALLBACK dialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    // Every message after the first, to the handler above that answers it.
    INT_PTR route(UINT message, WPARAM wParam, LPARAM lParam);

    void (*openedHook_)(HWND, void*) = nullptr;
    void* hookContext_ = nullptr;
};

// The lines as one text of a static control, CR LF between them.
std::string joinLines(const std::vector<std::string>& lines);

}  // namespace vantrell::win32
