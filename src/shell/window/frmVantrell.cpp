#include "shell/window/frmVantrell.h"

#include "diag/Guard.h"
#include "extract/Extraction.h"
#include "interfacedb/modDataDef.h"
#include "shell/window/ExportButton.h"
#include "shell/window/IssueList.h"
#include "shell/window/LocationStep.h"

namespace vantrell {

frmVantrell::frmVantrell(modErrorLog& log, ProgramState& state, MainWindowServices services)
    : log_(log),
      state_(state),
      services_(std::move(services)),
      link_(log, state.interfaceDb, state.extraction.outcome, state.strQBdata,
            services_.processorFactory) {}

void frmVantrell::Form_Load() {
    guard(log_, "Form_Load", [&] {
        services_.controls.setButtonEnabled(WindowButton::Export, false);
        services_.controls.setButtonEnabled(WindowButton::Close, true);
        services_.controls.setButtonEnabled(WindowButton::Print, false);

        if (!runLocationStep(log_, state_, services_.settings, services_.locateHost,
                             services_.fileDialog, "CHprog", state_.strCHprog, kChronelFilter)) {
            Form_Unload();
            return;
        }
        if (!runLocationStep(log_, state_, services_.settings, services_.locateHost,
                             services_.fileDialog, "QBdata", state_.strQBdata, kCompanyFilter)) {
            Form_Unload();
            return;
        }
        blnOpenConnection(log_, state_.interfaceDb.cnInterface, state_.interfaceDb.strInterfaceDB);
        blnOpenConnection(log_, state_.extraction.cnChronel, state_.strCHprog);
        if (!link_.blnQBConnected && !link_.OpenQBConnection()) {
            Form_Unload();
        }
    });
}

void frmVantrell::Form_Activate() {
    // The list's lines are not yet those of this activation's issues.
    listedNames_.clear();
    guard(log_, "Form_Activate", [&] {
        link_.beginActivation();
        GetChronelData(log_, state_.interfaceDb, state_.extraction);
        link_.ResolveWithQB();
        // What the answers said of a query that found nothing or failed, listed as it comes;
        // the issues then take the list's place.
        listAnswerNotes(log_, link_, services_.controls, "ResolveWithQB");
        // Before anything is offered for export: what the accounting system holds already.
        link_.CheckPostedTickets();
        // Last, as it only adds reasons under names already known to be missing.
        link_.ExplainMissingNames();
        QuickBooksLink::IssueReport report = link_.FindIssues();
        listedNames_ = report.nameLines;
        listIssues(log_, services_.controls, report);
    });
}

void frmVantrell::Form_Unload() {
    if (unloaded_) {
        return;
    }
    unloaded_ = true;
    guard(log_, "Form_Unload", [&] {
        if (link_.blnQBConnected) {
            link_.CloseQBConnection();
        }
        blnCloseConnection(log_, state_.interfaceDb.cnInterface);
        blnCloseConnection(log_, state_.extraction.cnChronel);
    });
}

void frmVantrell::cmdExport_Click() {
    vantrell::cmdExport_Click(log_, link_, services_.controls, listedNames_);
}

void frmVantrell::cmdPrint_Click() {
    guard(log_, "cmdPrint_Click", [&] { services_.printer.printWindowImage(); });
}

}  // namespace vantrell
