#pragma once

#include <memory>

#include "diag/modErrorLog.h"
#include "qblink/QuickBooksLink.h"
#include "qblink/RequestProcessor.h"
#include "shell/window/FrontEnd.h"
#include "shell/window/IssueList.h"
#include "shell/window/ProgramState.h"
#include "shell/window/frmLocateCHdata.h"

namespace vantrell {

// What the main window's logic needs from the front end that shows it.
struct MainWindowServices {
    WindowControls& controls;
    SettingsStore& settings;
    LocateDialogHost& locateHost;
    FileOpenDialog& fileDialog;
    WindowPrinter& printer;
    RequestProcessorFactory processorFactory;
};

// The main window's logic, the same for every front end: load, activate, unload and the three
// buttons. The front end calls these from its own events and closes its window once
// isUnloaded() is true.
class frmVantrell {
  public:
    static constexpr const char* kCaption = "RerovIrida Zoz Uvodi (Payroll Export)";

    // The logic over `services`, which must outlive it; failures are logged to `log`.
    frmVantrell(modErrorLog& log, ProgramState& state, MainWindowServices services);

    // Sets the buttons, has both files located (asking the clerk when a stored location is
    // gone), opens the databases and the accounting system's connection. Unloads the window
    // when a file is not found or the connection cannot be opened; a failure is logged.
    void Form_Load();
    // Reads and stages the hours, resolves the names with the accounting system, checks the
    // tickets already posted and lists the issues, enabling Export when there are none. A
    // failure is logged and ends the step; nothing throws but an order to end the program.
    void Form_Activate();
    // Runs the unload sequence once; later calls do nothing.
    void Form_Unload();

    // The three buttons: Close unloads the window; Export posts the staged tickets (see
    // ExportButton.h); Print prints the window, logging a failure.
    void cmdClose_Click() { Form_Unload(); }
    void cmdExport_Click();
    void cmdPrint_Click();

    // True once the unload sequence has run; the front end then closes its window.
    bool isUnloaded() const { return unloaded_; }
    // The accounting-system side of the window, for the front ends' own commands.
    QuickBooksLink& link() { return link_; }
    // The missing name that line `line` of the list (counted from 0) is about, for "Map to a
    // QuickBooks name…"; null for any other line, and while no issue list is shown.
    const QuickBooksLink::MissingNameLine* missingNameAt(std::size_t line) const {
        return vantrell::missingNameAt(listedNames_, line);
    }

  private:
    modErrorLog& log_;
    ProgramState& state_;
    MainWindowServices services_;
    QuickBooksLink link_;
    ListedNames listedNames_;
    bool unloaded_ = false;
};

}  // namespace vantrell
