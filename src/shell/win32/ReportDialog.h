#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "shell/win32/DialogLayout.h"
#include "shell/window/TicketTable.h"

namespace vantrell::win32 {

// What the modal windows with virtual list-views (the review, the history) share: the dialog
// resource shown over an owner, its messages routed to the window object, a hook that tests
// drive it through, and the lay-out of its controls and lists in twips at the screen's
// resolution. A window derives from it, lays itself out in onInitDialog and answers the rest
// in onMessage.
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
    // Every later message, as a dialog procedure answers it.
    virtual INT_PTR onMessage(UINT message, WPARAM wParam, LPARAM lParam) = 0;

    HWND window_ = nullptr;

  private:
    static INT_PTR CALLBACK dialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

    void (*openedHook_)(HWND, void*) = nullptr;
    void* hookContext_ = nullptr;
};

// The lines as one text of a static control, CR LF between them.
std::string joinLines(const std::vector<std::string>& lines);

}  // namespace vantrell::win32
