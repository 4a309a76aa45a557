#pragma once

#include <memory>

#include "diag/modErrorLog.h"
#include "interfacedb/ProgramState.h"
#include "qblink/QuickBooksLink.h"
#include "qblink/RequestProcessor.h"
#include "qblink/WindowControls.h"
#include "shell/window/SettingsStore.h"
#include "shell/window/frmLocateCHdata.h"

namespace vantrell {

// Sends an image of the window to the default printer, without a dialog. Throws Failure when
// there is no printer or printing fails.
class WindowPrinter {
  public:
    virtual ~WindowPrinter() = default;
    virtual void printWindowImage() = 0;
};

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

    frmVantrell(modErrorLog& log, ProgramState& state, MainWindowServices services);

    void Form_Load();
    void Form_Activate();
    // Runs the unload sequence once; later calls do nothing.
    void Form_Unload();

    void cmdClose_Click() { Form_Unload(); }
    void cmdExport_Click() { link_.cmdExport_Click(); }
    void cmdPrint_Click();

    bool isUnloaded() const { return unloaded_; }
    QuickBooksLink& link() { return link_; }

  private:
    modErrorLog& log_;
    ProgramState& state_;
    MainWindowServices services_;
    QuickBooksLink link_;
    bool unloaded_ = false;
};

}  // namespace vantrell
