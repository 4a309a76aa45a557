#pragma once

#include <windows.h>

#include "shell/win32/ReportDialog.h"
#include "shell/win32/resource.h"
#include "shell/window/FrontEnd.h"

namespace vantrell::win32 {

// The dialog "Map to a QuickBooks name" (dialog resource IDD_FRMNAMECHOICE), modal over the
// window active when it opens (the main window, or the name map's): what is mapped, a filter box
// that narrows the list as it is typed (Up and Down there move in the list), the names in the
// order the choice gives, OK (Enter, a double click) and Cancel (Esc, the close box). Laid out in
// twips at the screen's resolution, in the main window's dialog font.
class Win32NameChoiceDialog final : public NameChoiceHost, public ReportDialog {
  public:
    // NameChoiceHost: throws Failure when the window cannot be created.
    void showModal(NameChoice& choice) override;

  private:
    void onInitDialog() override;
    // Esc and the close box cancel; there is no Close button.
    int closeButton() const override { return IDCANCEL; }
    void onClosing() override;
    bool onButton(int id) override;
    INT_PTR onNotify(const NMHDR&, LPARAM) override { return FALSE; }
    // The filter's and the list's notifications.
    INT_PTR onMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
    // Fills the list with the choices shown now, the selected one selected, and sets OK.
    void showChoices();
    void okClicked();

    NameChoice* choice_ = nullptr;
};

}  // namespace vantrell::win32
