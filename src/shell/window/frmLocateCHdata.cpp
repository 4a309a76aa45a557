#include "shell/window/frmLocateCHdata.h"

#include "diag/Guard.h"

namespace vantrell {

namespace {

constexpr int kHideReadOnly = 4;

}  // namespace

bool frmLocateCHdata::asksForCompanyFile() const {
    return strFilter.find("QuickBooks") != std::string::npos;
}

void frmLocateCHdata::Form_Load() {
    lblLocate_ = asksForCompanyFile()
                     ? "It is necessary to specify your QuickBooks data.  Click OK to locate "
                       "your data."
                     : "It is necessary to specify your Chronel application.  Click OK to locate "
                       "ChronelV7.mde.";
}

void frmLocateCHdata::cmdOK_Click() {
    guard(log_, "cmdOK_Click", [&] {
        const std::string chosen = fileDialog_.showOpen(strFilter, kHideReadOnly);
        (asksForCompanyFile() ? state_.strQBdata : state_.strCHprog) = chosen;
        closed_ = true;
    });
}

}  // namespace vantrell
