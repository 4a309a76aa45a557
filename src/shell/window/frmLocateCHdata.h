#pragma once

#include <string>

#include "diag/modErrorLog.h"
#include "shell/window/FrontEnd.h"
#include "shell/window/ProgramState.h"

namespace vantrell {

// The filters of the two files the program asks for: the time-and-attendance program's
// database and the accounting system's company file.
inline constexpr const char* kChronelFilter = "Chronel Application (ChronelV7.mde)|ChronelV7.mde";
inline constexpr const char* kCompanyFilter = "QuickBooks Data (*.qbw)|*.qbw";

// The locate dialog's logic: which file it asks for, its label, and its two buttons. The
// dialog writes the chosen name straight into strCHprog or strQBdata.
class frmLocateCHdata {
  public:
    // The dialog's logic; failures are logged to `log`, the chosen name is stored in `state`.
    frmLocateCHdata(modErrorLog& log, ProgramState& state, FileOpenDialog& fileDialog)
        : log_(log), state_(state), fileDialog_(fileDialog) {}

    std::string strFilter;

    static constexpr const char* kCaption = "LOCATE CHDATA";

    // Sets the label for the file that strFilter asks for.
    void Form_Load();
    // The label's text, set by Form_Load.
    const std::string& lblLocate() const { return lblLocate_; }

    // Runs the file-open dialog and stores its answer (empty on cancel). The dialog closes,
    // unless the step failed: then the failure is logged and the dialog stays open.
    void cmdOK_Click();
    // Closes the dialog without choosing a file.
    void cmdClose_Click() { closed_ = true; }

    // True once a button has closed the dialog; the host then ends its modal loop.
    bool closed() const { return closed_; }

  private:
    bool asksForCompanyFile() const;

    modErrorLog& log_;
    ProgramState& state_;
    FileOpenDialog& fileDialog_;
    std::string lblLocate_;
    bool closed_ = false;
};

}  // namespace vantrell
