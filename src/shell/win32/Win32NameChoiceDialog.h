#pragma once

#include <windows.h>

#include "shell/win32/ReportDialog.h"
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
    INT_PTR onMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
    INT_PTR onCommand(WPARAM wParam);
    // Fills the list with the choices shown now, the selected one selected, and sets OK.
    void showChoices();
    void okClicked();

    NameChoice* choice_ = nullptr;
};

}  // namespace vantrell::win32
